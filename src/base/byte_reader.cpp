#include "base/byte_reader.h"

#include <algorithm>

namespace kvd {

std::size_t ByteViewSource::read_at(std::size_t offset, void* out, std::size_t count) {
    if (offset >= data_.size()) return 0;
    const std::size_t n = std::min(count, data_.size() - offset);
    std::memcpy(out, data_.data() + offset, n);
    return n;
}

Bytes read_head(ByteSource& source, std::size_t count) {
    Bytes head(std::min(count, source.size()));
    head.resize(source.read_at(0, head.data(), head.size()));
    return head;
}

ByteReader::ByteReader(ByteSource& source, std::size_t buffer_bytes)
    : source_(&source), size_(source.size()), buffer_(std::max<std::size_t>(buffer_bytes, 1)) {
    window_ = buffer_.data();
}

void ByteReader::end_at(std::size_t end) {
    cut_short_ = true;
    size_ = std::max(end, offset_);
}

bool ByteReader::read_from_source(void* out, std::size_t count) {
    if (count > remaining() || source_ == nullptr) return false;
    auto* target = static_cast<std::uint8_t*>(out);
    std::size_t at = offset_;
    std::size_t done = 0;
    while (done < count) {
        const std::size_t in_window = at - window_start_;
        if (in_window < window_size_) {
            const std::size_t n = std::min(count - done, window_size_ - in_window);
            std::memcpy(target + done, window_ + in_window, n);
            done += n;
            at += n;
            continue;
        }
        const std::size_t wanted = count - done;
        if (wanted >= buffer_.size()) {
            // A run larger than the buffer goes straight to its destination.
            const std::size_t n = source_->read_at(at, target + done, wanted);
            if (n < wanted) {
                end_at(at + n);
                return false;
            }
            done += n;
            at += n;
            continue;
        }
        const std::size_t asked = std::min(buffer_.size(), size_ - at);
        window_start_ = at;
        window_size_ = source_->read_at(at, buffer_.data(), asked);
        if (window_size_ < asked) end_at(at + window_size_);
        if (window_size_ < wanted) return false;
    }
    offset_ = at;
    return true;
}

}  // namespace kvd
