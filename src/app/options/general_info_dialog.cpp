#include "app/options/general_info_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "doc/data_folder.h"

namespace kvd {
CGeneralInfoDialog::CGeneralInfoDialog(OptionSession& options, const DataFolders& defaults,
                                       QWidget* parent)
    : OptionPageWidget(options, parent), defaults_(defaults) {
    QGridLayout* grid = add_group(QStringLiteral("文件位置"));
    QWidget* box = grid->parentWidget();
    struct Row {
        int edit_id;
        int button_id;
        const char* label;
        const char* button;
        QLineEdit** field;
        std::string* stored;
        QString fallback;
    };
    const Row rows[] = {
        {1018, 1009, "率定表文件位置：", "浏  览", &calibration_, &options.calibration_folder(),
         defaults_.calibration},
        {1206, 1205, "数据文件位置：", "浏 览", &tests_, &options.test_folder(), defaults_.tests},
    };
    int line = 0;
    for (const Row& row : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(row.label), box), line, 0, 1, 2);
        auto* field = new QLineEdit(box);
        field->setObjectName(control_name(row.edit_id));
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
        auto* button = new QPushButton(QString::fromUtf8(row.button), box);
        button->setObjectName(control_name(row.button_id));
        button->setAutoDefault(false);
        grid->addWidget(field, line + 1, 0);
        grid->addWidget(button, line + 1, 1);
        *row.field = field;
        connect(field, &QLineEdit::editingFinished, this,
                [this, field, stored = row.stored, fallback = row.fallback] {
                    folder_left(field, *stored, fallback);
                });
        connect(button, &QPushButton::clicked, this,
                [this, field, stored = row.stored, fallback = row.fallback] {
                    browse(field, *stored, fallback);
                });
        line += 2;
    }
    grid->setColumnStretch(0, 1);

    extended_ = new QCheckBox(QStringLiteral("扩充数据显示选项"), this);
    extended_->setObjectName(control_name(1162));
    column()->addWidget(extended_);
    connect(extended_, &QCheckBox::clicked, this,
            [this](bool on) { session().extended_display() = on; });

    restore_ = new QPushButton(QStringLiteral("恢复默认值"), this);
    restore_->setObjectName(control_name(1175));
    restore_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(restore_);
    buttons->addStretch();
    column()->addLayout(buttons);
    column()->addStretch();
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (session().restore_defaults()) emit defaults_restored();
    });
}

void CGeneralInfoDialog::load() {
    calibration_->setText(folder_or_default(session().calibration_folder(), defaults_.calibration));
    tests_->setText(folder_or_default(session().test_folder(), defaults_.tests));
    extended_->setChecked(session().extended_display());
}

void CGeneralInfoDialog::folder_left(QLineEdit* field, std::string& stored,
                                     const QString& fallback) {
    const QString current = folder_or_default(stored, fallback);
    // Only a changed text is a new folder; the question's box takes the
    // focus away, which must not ask again.
    if (asking_ || field->text() == current) return;
    asking_ = true;
    const FolderEdit edit =
        edit_data_folder(session().ui(), field->text().toStdString(), current.toStdString());
    asking_ = false;
    if (QString::fromStdString(edit.folder) != current) stored = edit.folder;
    field->setText(QString::fromStdString(edit.text));
}

void CGeneralInfoDialog::browse(QLineEdit* field, std::string& stored, const QString& fallback) {
    const std::optional<QString> chosen = choose_folder(this, folder_or_default(stored, fallback));
    if (!chosen) return;
    stored = chosen->toStdString();
    field->setText(*chosen);
}

}  // namespace kvd
