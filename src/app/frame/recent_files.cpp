#include "app/frame/recent_files.h"

#include <QDir>
#include <QFileInfo>

namespace kvd {
namespace {

// Longest path shown whole in the menu, in characters.
constexpr int kMenuPathLength = 60;

QString absolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

RecentFileList::RecentFileList(const QStringList& files) {
    // Oldest first, so that the most recent ends up in front.
    for (auto it = files.crbegin(); it != files.crend(); ++it) {
        if (!it->isEmpty()) add(*it);
    }
}

void RecentFileList::add(const QString& path) {
    const QString file = absolute(path);
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kSize) files_.removeLast();
}

void RecentFileList::remove(const QString& path) { files_.removeAll(absolute(path)); }

QString RecentFileList::menu_text(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > kMenuPathLength) {
        const int keep = kMenuPathLength - 3;
        shown = shown.left(keep / 3) + QStringLiteral("...") + shown.right(keep - keep / 3);
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace kvd
