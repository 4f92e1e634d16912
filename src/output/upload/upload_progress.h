#pragma once
// TestFileProgress: the upload progress kept in the test file on disk, which
// is the truth about what the station has acknowledged (the open record
// clears its copy when the file is read).
//
//   field                    file kind 1   kind 3   width
//   station test identifier  1340          1328     32-bit, 0 = nothing sent yet
//   records acknowledged     1444          1432     16-bit
//
// The progress is written in place: exactly those bytes, after checking that
// the file at the path is still the test file that was read when the upload
// started (same size, same prefix and header apart from the progress bytes;
// a file replaced by a copy of itself is followed to the new copy). Nothing
// else in the file ever changes. The file is opened for writing when the
// progress is read, so a file that cannot take the progress is refused
// before anything is sent.

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"
#include "output/upload/unique_fd.h"
#include "record/raw_reading.h"

namespace kvd::upload {

struct StoredProgress {
    std::uint32_t identifier = 0;  // 0: the station has not given one yet
    int uploaded = 0;              // records the station acknowledged
    std::string notice;            // what was wrong with the stored count; empty when nothing
};

class TestFileProgress {
public:
    // Reads the file and checks that it may be uploaded and holds exactly the
    // raw readings of the open record. The stored identifier 0 means nothing
    // was sent, whatever the count field holds (the tester writes 50 there);
    // a count beyond the raw readings is taken as 0, with a notice.
    static Status open(const std::string& path, const std::vector<RawReading>& readings,
                       TestFileProgress& out);

    const StoredProgress& stored() const { return stored_; }
    const std::string& path() const { return path_; }
    std::size_t identifier_offset() const { return identifier_offset_; }
    std::size_t count_offset() const { return count_offset_; }

    // The identifier the station gave: the count is set to 0 and made durable
    // first, so that the file never names an identifier together with a count
    // left from before.
    Status store_identifier(std::uint32_t identifier);
    // The number of records the station has acknowledged.
    Status store_uploaded(int uploaded);

private:
    Status write_field(std::size_t offset, ByteView bytes, bool sync);
    Status check_still_the_file();

    std::string path_;
    UniqueFd fd_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    Bytes identity_;  // the file's prefix and header as read, progress bytes zeroed
    off_t size_ = 0;
    std::size_t identifier_offset_ = 0;
    std::size_t count_offset_ = 0;
    StoredProgress stored_;
};

inline constexpr char kMessageNotUploadable[] =
    "该文件不能上传：只有 2013.0926 及以后版本、至少有两个原始数据的测试文件才能上传到质检站。";

}  // namespace kvd::upload
