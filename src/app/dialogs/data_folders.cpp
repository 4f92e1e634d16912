#include "app/dialogs/data_folders.h"

#include <QDir>
#include <QStandardPaths>

namespace kvd {
namespace {

QString user_folder(const char* name) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return documents + QStringLiteral("/KVD/") + QString::fromUtf8(name);
}

QString chosen_or(const std::string& chosen, QString fallback) {
    return chosen.empty() ? fallback : QString::fromStdString(chosen);
}

}  // namespace

QString default_test_file_folder() {
    return user_folder("测试文件");
}

QString default_calibration_folder() {
    return user_folder("率定表文件");
}

QString test_file_folder(const DocumentSettings& settings) {
    return chosen_or(settings.test_folder, default_test_file_folder());
}

QString calibration_folder(const DocumentSettings& settings) {
    return chosen_or(settings.calibration_folder, default_calibration_folder());
}

}  // namespace kvd
