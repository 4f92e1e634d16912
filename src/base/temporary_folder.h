#pragma once
// TemporaryFolder: a private folder (mode 0700, made by mkdtemp under $TMPDIR
// or /tmp) for files a command needs only while it runs. The folder and
// everything in it are removed when the object goes, whichever way the
// command ends.

#include <optional>
#include <string>

#include "base/status.h"

namespace kvd {

class TemporaryFolder {
public:
    // A new folder named after `purpose` ("kvd-word-XXXXXX"); the failure
    // message is in the user's language.
    static std::optional<TemporaryFolder> create(const std::string& purpose, Status& status);

    TemporaryFolder(TemporaryFolder&& other) noexcept : path_(std::move(other.path_)) {
        other.path_.clear();
    }
    // Removes the folder held so far and takes over the other's.
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
    TemporaryFolder(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    const std::string& path() const { return path_; }

private:
    void remove();
    explicit TemporaryFolder(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

}  // namespace kvd
