#pragma once
// The two data folders the program works in: where test files are looked for
// first (the open dialog) and where calibration tables are kept (the
// calibration tool). The options may name either; one left empty means the
// default, a folder of the user's own — the program's folder, where the
// installer puts the program, is not the user's to write in on Linux:
//
//   test files          <documents>/KVD/测试文件
//   calibration tables  <documents>/KVD/率定表文件
//
// (<documents> is the desktop's documents folder, the home folder without
// one). Nothing is created here; the calibration tool makes its folder when
// it first saves a table.

#include <QString>
#include <optional>
#include <string>

#include "doc/settings_store.h"

class QWidget;

namespace kvd {

QString default_test_file_folder();
QString default_calibration_folder();

// Both defaults, for the options' "常规" page.
struct DataFolders {
    QString tests;
    QString calibration;
};
DataFolders default_data_folders();

// The folder a setting names, or the fallback when it names none.
QString folder_or_default(const std::string& stored, const QString& fallback);

// The chosen folder, or the default when none is chosen.
QString test_file_folder(const DocumentSettings& settings);
QString calibration_folder(const DocumentSettings& settings);

// CFolderDialog: "选择文件夹", a dialog that lists folders only, starting in
// `start`; the chosen folder, or nothing when the user cancelled.
std::optional<QString> choose_folder(QWidget* parent, const QString& start);

}  // namespace kvd
