#pragma once
// The table popup of the detail tables as a Qt menu: the items of
// kTablePopupMenu in order, each action carrying its command identifier as
// data and enabled as the table's menu state allows for its target cell. The
// grid shows it on a right-click; the main window fills its "表格工具(&G)"
// menu with the same items.

class QAction;
class QMenu;

namespace kvd {

class CTestTable;

// Appends the popup's items (separators included) to `menu`.
void fill_table_menu(QMenu& menu, const CTestTable& table);

// The command identifier an action of that menu carries (0 for none).
int table_menu_command(const QAction* action);

}  // namespace kvd
