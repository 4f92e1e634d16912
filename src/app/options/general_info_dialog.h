#pragma once
// CGeneralInfoDialog: the "常规" page of the options dialog — the folders of
// the calibration tables and of the test files (typed, or chosen with
// "浏览"), the extended display switch (taken by the program when the
// dialog is confirmed) and "恢复默认值", which puts every setting of the
// dialog back to its default and tells the dialog to show them.

#include "app/dialogs/data_folders.h"
#include "app/options/option_page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kvd {

class CGeneralInfoDialog : public OptionPageWidget {
    Q_OBJECT

public:
    CGeneralInfoDialog(OptionSession& session, const DataFolders& defaults,
                       QWidget* parent = nullptr);
    void load() override;

signals:
    // "恢复默认值" was confirmed: every page must show the working copies again.
    void defaults_restored();

private:
    // A folder field was left or a folder chosen: the rules of the folder
    // fields, then the folder in use is shown.
    void folder_left(QLineEdit* field, std::string& stored, const QString& fallback);
    void browse(QLineEdit* field, std::string& stored, const QString& fallback);

    DataFolders defaults_;
    QLineEdit* calibration_ = nullptr;  // 1018
    QLineEdit* tests_ = nullptr;        // 1206
    QCheckBox* extended_ = nullptr;     // 1162
    QPushButton* restore_ = nullptr;    // 1175
    bool asking_ = false;
};

}  // namespace kvd
