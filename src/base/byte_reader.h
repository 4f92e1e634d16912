#pragma once
// Sequential reading of little-endian byte images, from bytes in memory or
// piecewise from a ByteSource (an open file). A reader over a source keeps one
// small buffer and refills it as it goes, so a reader never holds a second
// whole copy of a large file: the bytes go from the buffer straight into the
// arrays they belong to. ByteReader never reads past its data: every read says
// whether the bytes were there.

#include <cstddef>
#include <cstring>

#include "base/byte_image.h"
#include "base/status.h"

namespace kvd {

// Bytes at absolute offsets. A file's size is taken when it is opened; if the
// file is cut short or fails afterwards, reads deliver fewer bytes and
// read_status() says whether that was a failure (a file cut short is not).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t size() const = 0;
    // Copies up to count bytes from offset into out and returns how many were
    // copied; fewer than count only where the data ends.
    virtual std::size_t read_at(std::size_t offset, void* out, std::size_t count) = 0;
    // Success while no read has failed, else the user's words for the failure.
    virtual Status read_status() const { return Status::success(); }
};

// Bytes in memory as a source: lets tests and the fuzzer drive the piecewise
// path of ByteReader over the same bytes as the in-memory path.
class ByteViewSource : public ByteSource {
public:
    explicit ByteViewSource(ByteView data) : data_(data) {}
    std::size_t size() const override { return data_.size(); }
    std::size_t read_at(std::size_t offset, void* out, std::size_t count) override;

private:
    ByteView data_;
};

// The first count bytes of a source (fewer when it is shorter).
Bytes read_head(ByteSource& source, std::size_t count);

class ByteReader {
public:
    // Buffer of a reader over a source: large enough that refills cost little,
    // small enough to stay in the processor's cache.
    static constexpr std::size_t kBufferBytes = 256 * 1024;

    explicit ByteReader(ByteView data)
        : size_(data.size()), window_(data.data()), window_size_(data.size()) {}
    explicit ByteReader(ByteSource& source, std::size_t buffer_bytes = kBufferBytes);
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    // The data's size; shrinks to where a source's data ended when it ended
    // before its promised size.
    std::size_t size() const { return size_; }
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return size_ - offset_; }
    // True when a source delivered less than its size promised (a file cut
    // short or failing while it was read).
    bool cut_short() const { return cut_short_; }

    // Moves to an absolute offset; false (and no move) past the end.
    bool seek(std::size_t offset) {
        if (offset > size_) return false;
        offset_ = offset;
        return true;
    }
    // Ends the data at end (when it is shorter than the data): what lies
    // beyond, such as a trailing block read apart, is never read as part of it.
    void end_before(std::size_t end) {
        if (end < size_) size_ = end;
        if (offset_ > size_) offset_ = size_;
    }
    bool skip(std::size_t count) {
        if (count > remaining()) return false;
        offset_ += count;
        return true;
    }

    // Copies the next sizeof(T) bytes into out; false when fewer remain (the
    // position is then unchanged; out too, unless a source ended early).
    template <ByteImage T>
    bool read(T& out) {
        return read_bytes(&out, sizeof(T));
    }

    bool read_bytes(void* out, std::size_t count) {
        // Unsigned: an offset before the window wraps to a large value.
        const std::size_t at = offset_ - window_start_;
        if (at <= window_size_ && count <= window_size_ - at) {
            if (count > 0) std::memcpy(out, window_ + at, count);
            offset_ += count;
            return true;
        }
        return read_from_source(out, count);
    }

private:
    bool read_from_source(void* out, std::size_t count);
    // The source ended at end, before its size: nothing lies beyond.
    void end_at(std::size_t end);

    ByteSource* source_ = nullptr;
    std::size_t size_ = 0;
    std::size_t offset_ = 0;
    bool cut_short_ = false;
    // The bytes [window_start_, window_start_ + window_size_) of the data:
    // all of it in memory, or the buffer's contents.
    const std::uint8_t* window_ = nullptr;
    std::size_t window_start_ = 0;
    std::size_t window_size_ = 0;
    Bytes buffer_;
};

}  // namespace kvd
