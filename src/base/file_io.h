#pragma once
// Reading files, whole or piecewise, and atomic replacement. A save writes a
// temporary file in the target's folder, flushes it to disk and renames it
// over the target, so a failed save (full disk, no permission, a crash
// half-way) leaves the previous file exactly as it was.

#include <filesystem>
#include <string>

#include "base/byte_image.h"
#include "base/byte_reader.h"
#include "base/status.h"

namespace kvd {

// Reads a whole file; the failure message is in the user's language.
Status read_whole_file(const std::filesystem::path& path, Bytes& out);

// A regular file open for reading at absolute offsets (pread), for readers
// that take what they need piecewise instead of holding the whole file. Its
// size is the size when it was opened: a file still growing (the tester
// writing it) is read to that size. Nothing is mapped, so a file cut short
// while it is read only makes the reads come back short (the readers treat
// that as a damaged file) and can never fault the program.
class ReadOnlyFile : public ByteSource {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile() override;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens path (closing what was open); a folder or anything but a regular
    // file is refused with the user's words for it.
    Status open(const std::filesystem::path& path);

    std::size_t size() const override { return size_; }
    std::size_t read_at(std::size_t offset, void* out, std::size_t count) override;
    Status read_status() const override;

private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::size_t size_ = 0;
    int read_error_ = 0;  // errno of the first failed read
};

// Replaces target with data atomically (see above).
Status replace_file_atomically(const std::filesystem::path& target, ByteView data);

// The user's words for an errno value of a file operation.
std::string describe_file_error(int error_number);

}  // namespace kvd
