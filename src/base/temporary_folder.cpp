#include "base/temporary_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "base/file_io.h"
#include "base/format.h"

namespace kvd {

std::optional<TemporaryFolder> TemporaryFolder::create(const std::string& purpose, Status& status) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = (base && *base ? std::string(base) : std::string("/tmp")) + "/kvd-" +
                          purpose + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        status = Status::failure(strprintf("无法创建临时文件夹 %s ：%s", pattern.c_str(),
                                           describe_file_error(errno).c_str()));
        return std::nullopt;
    }
    status = Status::success();
    return TemporaryFolder(pattern);
}

TemporaryFolder& TemporaryFolder::operator=(TemporaryFolder&& other) noexcept {
    if (this != &other) {
        remove();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

TemporaryFolder::~TemporaryFolder() { remove(); }

void TemporaryFolder::remove() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    path_.clear();
}

}  // namespace kvd
