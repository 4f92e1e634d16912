#include "app/tables/table_menu.h"

#include <QAction>
#include <QMenu>

#include "tables/test_table.h"

namespace kvd {

void fill_table_menu(QMenu& menu, const CTestTable& table) {
    for (const TablePopupItem& item : kTablePopupMenu) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        action->setData(item.id);
        action->setEnabled(table.enabled(item.id));
    }
}

int table_menu_command(const QAction* action) {
    return action ? action->data().toInt() : 0;
}

}  // namespace kvd
