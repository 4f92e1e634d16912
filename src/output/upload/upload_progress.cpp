#include "output/upload/upload_progress.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "base/file_io.h"
#include "base/format.h"
#include "output/upload/upload_messages.h"
#include "output/upload/upload_protocol.h"
#include "record/file_classifier.h"
#include "record/file_format.h"
#include "record/test_file_reader.h"

namespace kvd::upload {
namespace {

constexpr std::size_t kIdentifierBytes = 4;
constexpr std::size_t kCountBytes = 2;

std::string changed_message(const std::string& path) {
    return strprintf("试验文件 %s 已被改动或替换，无法记录上传进度", path.c_str());
}

std::string write_failed_message(const std::string& path, int error_number) {
    return strprintf("无法把上传进度写入试验文件 %s ：%s", path.c_str(),
                     describe_file_error(error_number).c_str());
}

bool same_readings(const std::vector<RawReading>& a, const std::vector<RawReading>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(RawReading)) == 0);
}

void zero_progress(Bytes& identity, std::size_t identifier_offset, std::size_t count_offset) {
    std::memset(identity.data() + identifier_offset, 0, kIdentifierBytes);
    std::memset(identity.data() + count_offset, 0, kCountBytes);
}

}  // namespace

Status TestFileProgress::open(const std::string& path, const std::vector<RawReading>& readings,
                              TestFileProgress& out) {
    Bytes bytes;
    if (Status status = read_whole_file(path, bytes); !status.ok()) return status;
    TestRecord on_disk;
    ReadReport report;
    if (Status status = read_record(bytes, on_disk, report); !status.ok()) return status;
    if (!report.uploadable) return Status::failure(kMessageNotUploadable);
    if (!same_readings(on_disk.raw_readings, readings)) {
        return Status::failure(strprintf(
            "磁盘上的试验文件 %s 与打开的数据不一致（可能已被测试仪改写），请重新打开后再上传。",
            path.c_str()));
    }
    if (on_disk.raw_count() > kMaxUploadRecords) {
        return Status::failure(strprintf("原始数据超过 %d 个，无法上传。", kMaxUploadRecords));
    }

    const FileProbe probe = classify_file(bytes);
    const std::size_t header_at =
        probe.kind == FileKind::kTestFile ? kTestHeaderOffset : kAnalysisHeaderOffset;
    TestFileProgress progress;
    progress.path_ = path;
    progress.size_ = static_cast<off_t>(bytes.size());
    progress.identifier_offset_ = header_at + offsetof(TestHeader, upload_progress);
    progress.count_offset_ = header_at + offsetof(TestHeader, upload_state);
    // The reader has refused a file too short for its header.
    progress.identity_.assign(
        bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(header_at + sizeof(TestHeader)));

    progress.fd_.reset(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    struct stat info {};
    if (!progress.fd_.valid() || ::fstat(progress.fd_.get(), &info) != 0) {
        return Status::failure(write_failed_message(path, errno));
    }
    progress.device_ = info.st_dev;
    progress.inode_ = info.st_ino;

    const std::uint32_t identifier = get_u32(bytes, progress.identifier_offset_);
    const int count = get_u16(bytes, progress.count_offset_);
    zero_progress(progress.identity_, progress.identifier_offset_, progress.count_offset_);
    progress.stored_.identifier = identifier;
    if (identifier != 0) {
        if (count <= on_disk.raw_count()) {
            progress.stored_.uploaded = count;
        } else {
            progress.stored_.notice = strprintf(
                "文件中记录的已上传数据个数（%d）超出原始数据个数（%"
                "d），将从第一个数据起重新上传。",
                count, on_disk.raw_count());
        }
    }
    out = std::move(progress);
    return Status::success();
}

Status TestFileProgress::store_identifier(std::uint32_t identifier) {
    const std::uint8_t zero_count[kCountBytes] = {0, 0};
    if (Status status = write_field(count_offset_, zero_count, true); !status.ok()) return status;
    std::uint8_t bytes[kIdentifierBytes];
    for (std::size_t i = 0; i < kIdentifierBytes; ++i) {
        bytes[i] = static_cast<std::uint8_t>((identifier >> (8 * i)) & 0xFF);
    }
    if (Status status = write_field(identifier_offset_, bytes, false); !status.ok()) return status;
    stored_.identifier = identifier;
    stored_.uploaded = 0;
    return Status::success();
}

Status TestFileProgress::store_uploaded(int uploaded) {
    const auto value = static_cast<std::uint16_t>(uploaded);
    const std::uint8_t bytes[kCountBytes] = {static_cast<std::uint8_t>(value & 0xFF),
                                             static_cast<std::uint8_t>(value >> 8)};
    if (Status status = write_field(count_offset_, bytes, false); !status.ok()) return status;
    stored_.uploaded = uploaded;
    return Status::success();
}

Status TestFileProgress::check_still_the_file() {
    struct stat now {};
    if (::stat(path_.c_str(), &now) != 0)
        return Status::failure(write_failed_message(path_, errno));
    if (now.st_dev != device_ || now.st_ino != inode_) {
        // Replaced (a copy saved over it): the identity check below decides
        // whether the new file is still this test file.
        UniqueFd reopened(::open(path_.c_str(), O_RDWR | O_CLOEXEC));
        struct stat info {};
        if (!reopened.valid() || ::fstat(reopened.get(), &info) != 0) {
            return Status::failure(write_failed_message(path_, errno));
        }
        fd_ = std::move(reopened);
        device_ = info.st_dev;
        inode_ = info.st_ino;
        now = info;
    }
    if (now.st_size != size_) return Status::failure(changed_message(path_));
    Bytes current(identity_.size());
    std::size_t done = 0;
    while (done < current.size()) {
        const ssize_t n = ::pread(fd_.get(), current.data() + done, current.size() - done,
                                  static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Status::failure(write_failed_message(path_, errno));
        if (n == 0) return Status::failure(changed_message(path_));
        done += static_cast<std::size_t>(n);
    }
    zero_progress(current, identifier_offset_, count_offset_);
    if (current != identity_) return Status::failure(changed_message(path_));
    return Status::success();
}

Status TestFileProgress::write_field(std::size_t offset, ByteView bytes, bool sync) {
    if (Status same = check_still_the_file(); !same.ok()) return same;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_.get(), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Status::failure(write_failed_message(path_, n < 0 ? errno : EIO));
        done += static_cast<std::size_t>(n);
    }
    if (sync && ::fdatasync(fd_.get()) != 0) {
        return Status::failure(write_failed_message(path_, errno));
    }
    return Status::success();
}

}  // namespace kvd::upload
