#pragma once
// RecentFileList: the most recently opened or saved files (4), most recent
// first, each once, as the File menu lists them.

#include <QString>
#include <QStringList>

namespace kvd {

class RecentFileList {
public:
    static constexpr int kSize = 4;

    explicit RecentFileList(const QStringList& files = {});

    // Puts a file first (removing an earlier entry for the same file) and
    // drops the oldest beyond kSize. Paths are kept absolute.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& files() const { return files_; }

    // The menu text of entry `index` (from 0): "&1 " and the path, shortened
    // in the middle when long.
    static QString menu_text(int index, const QString& path);

private:
    QStringList files_;
};

}  // namespace kvd
