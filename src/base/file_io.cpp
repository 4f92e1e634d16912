#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/format.h"

namespace kvd {
namespace {

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close (which may flush) succeeded.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool write_all(int fd, ByteView data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string describe_file_error(int error_number) {
    switch (error_number) {
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EACCES:
        case EPERM:
            return "没有访问权限";
        case ENOENT:
            return "文件或文件夹不存在";
        case EROFS:
            return "磁盘为只读";
        case EISDIR:
            return "这是一个文件夹";
        case EIO:
            return "磁盘读写错误";
        case ESPIPE:
            return "不是普通文件";
        default:
            return std::strerror(error_number);
    }
}

Status read_whole_file(const std::filesystem::path& path, Bytes& out) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return Status::failure(
            strprintf("无法打开文件 %s ：%s", path.c_str(), describe_file_error(errno).c_str()));
    }
    // Read straight into a buffer of the file's size. A file that is still
    // growing (the tester writing it) is read to its current end: whether
    // there is more is asked with a small read, so that a file of the size
    // expected is never copied into a larger buffer (twice its size at once).
    out.clear();
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        out.resize(static_cast<std::size_t>(info.st_size));
    }
    std::size_t filled = 0;
    std::uint8_t more[4096];
    for (;;) {
        const bool full = filled == out.size();
        ssize_t n = full ? ::read(fd.get(), more, sizeof more)
                         : ::read(fd.get(), out.data() + filled, out.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Status::failure(strprintf("读取文件 %s 出错：%s", path.c_str(),
                                             describe_file_error(errno).c_str()));
        }
        if (n == 0) break;
        if (full) out.insert(out.end(), more, more + n);
        filled += static_cast<std::size_t>(n);
    }
    out.resize(filled);
    return Status::success();
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

Status ReadOnlyFile::open(const std::filesystem::path& path) {
    if (fd_ >= 0) ::close(fd_);
    path_ = path;
    size_ = 0;
    read_error_ = 0;
    // Non-blocking only so that opening a pipe by mistake cannot wait for a
    // writer; it changes nothing for a regular file.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    auto refuse = [&](int error_number) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return Status::failure(strprintf("无法打开文件 %s ：%s", path.c_str(),
                                         describe_file_error(error_number).c_str()));
    };
    if (fd_ < 0) return refuse(errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return refuse(errno);
    if (S_ISDIR(info.st_mode)) return refuse(EISDIR);
    // Pipes and devices have no size to check counts against.
    if (!S_ISREG(info.st_mode)) return refuse(ESPIPE);
    size_ = static_cast<std::size_t>(info.st_size);
    return Status::success();
}

std::size_t ReadOnlyFile::read_at(std::size_t offset, void* out, std::size_t count) {
    if (fd_ < 0 || read_error_ != 0 || offset >= size_) return 0;
    count = std::min(count, size_ - offset);
    auto* target = static_cast<std::uint8_t*>(out);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(fd_, target + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) read_error_ = errno;
        if (n <= 0) break;  // an error, or the file was cut short
        done += static_cast<std::size_t>(n);
    }
    return done;
}

Status ReadOnlyFile::read_status() const {
    if (read_error_ == 0) return Status::success();
    return Status::failure(
        strprintf("读取文件 %s 出错：%s", path_.c_str(), describe_file_error(read_error_).c_str()));
}

Status replace_file_atomically(const std::filesystem::path& target, ByteView data) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // A short fixed name, so that any target name that fits the folder does too.
    std::string pattern = (folder / ".kvd-save-XXXXXX").string();
    auto fail = [&](const char* what, int error_number) {
        return Status::failure(strprintf("无法保存文件 %s ：%s（%s）", target.c_str(),
                                         describe_file_error(error_number).c_str(), what));
    };

    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) return fail("创建临时文件", errno);
    std::string temporary = pattern;
    auto discard = [&](const char* what) {
        int error_number = errno;
        ::unlink(temporary.c_str());
        return fail(what, error_number);
    };

    // Keep the permissions of the file being replaced; a new file gets the
    // usual 0666 less the umask rather than mkstemp's 0600.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(fd.get(), existing.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd.get(), 0666 & ~mask);
    }

    if (!write_all(fd.get(), data)) return discard("写入");
    if (::fsync(fd.get()) != 0) return discard("写入磁盘");
    if (!fd.close()) return discard("关闭");
    if (::rename(temporary.c_str(), target.c_str()) != 0) return discard("替换原文件");

    // Make the rename itself durable.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return Status::success();
}

}  // namespace kvd
