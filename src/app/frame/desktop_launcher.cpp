#include "app/frame/desktop_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kvd {

bool SystemLauncher::open_url(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool SystemLauncher::start_program(const QString& program, const QStringList& arguments,
                                   int& error_code) {
    const QString found = program.contains(QLatin1Char('/'))
                              ? (QFileInfo(program).isFile() ? program : QString())
                              : QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        error_code = kLaunchFileNotFound;
        return false;
    }
    if (!QFileInfo(found).isExecutable()) {
        error_code = kLaunchAccessDenied;
        return false;
    }
    if (!QProcess::startDetached(found, arguments)) {
        error_code = kLaunchBadFormat;
        return false;
    }
    return true;
}

}  // namespace kvd
