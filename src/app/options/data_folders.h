#pragma once
// The data folders while the settings name none, and the folder picker.
//
// The test-file folder is where the open dialog starts: "测试文件" beside the
// program when the installation has one, else the user's home. Calibration
// tables are written by the user, so their folder is "率定表文件" in the
// user's data folder: the program's own folder is not writable on Linux.

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace kvd {

struct DataFolders {
    QString tests;
    QString calibration;
};

DataFolders default_data_folders();

// The folder a setting names, or the default when it names none.
QString folder_or_default(const std::string& stored, const QString& fallback);

// CFolderDialog: "选择文件夹", a dialog that lists folders only, starting in
// `start`; the chosen folder, or nothing when the user cancelled.
std::optional<QString> choose_folder(QWidget* parent, const QString& start);

}  // namespace kvd
