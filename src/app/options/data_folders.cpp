#include "app/options/data_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/dialogs/dialog_support.h"

namespace kvd {

DataFolders default_data_folders() {
    DataFolders folders;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/测试文件");
    folders.tests = QFileInfo(beside).isDir() ? beside : QDir::homePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    folders.calibration =
        (data.isEmpty() ? QDir::homePath() : data) + QStringLiteral("/率定表文件");
    return folders;
}

QString folder_or_default(const std::string& stored, const QString& fallback) {
    return stored.empty() ? fallback : QString::fromStdString(stored);
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
