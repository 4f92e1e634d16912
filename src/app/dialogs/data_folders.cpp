#include "app/dialogs/data_folders.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "app/dialogs/dialog_support.h"

namespace kvd {
namespace {

QString user_folder(const char* name) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return documents + QStringLiteral("/KVD/") + QString::fromUtf8(name);
}

}  // namespace

QString folder_or_default(const std::string& stored, const QString& fallback) {
    return stored.empty() ? fallback : QString::fromStdString(stored);
}

QString default_test_file_folder() {
    return user_folder("测试文件");
}

QString default_calibration_folder() {
    return user_folder("率定表文件");
}

DataFolders default_data_folders() {
    return {default_test_file_folder(), default_calibration_folder()};
}

QString test_file_folder(const DocumentSettings& settings) {
    return folder_or_default(settings.test_folder, default_test_file_folder());
}

QString calibration_folder(const DocumentSettings& settings) {
    return folder_or_default(settings.calibration_folder, default_calibration_folder());
}

std::optional<QString> choose_folder(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QStringLiteral("选择文件夹"), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    set_file_dialog_texts(&dialog);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("选择"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

}  // namespace kvd
