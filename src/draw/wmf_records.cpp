#include "draw/wmf_records.h"

#include <algorithm>
#include <cassert>

namespace kvd::wmf {

std::int16_t clamp16(int value) {
    return static_cast<std::int16_t>(std::clamp(value, kMinCoordinate, kMaxCoordinate));
}

Params& Params::i16(int value) {
    return u16(static_cast<std::uint16_t>(clamp16(value)));
}

Params& Params::u16(std::uint16_t value) {
    data_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    data_.push_back(static_cast<std::uint8_t>(value >> 8));
    return *this;
}

Params& Params::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value & 0xFFFF));
    return u16(static_cast<std::uint16_t>(value >> 16));
}

Params& Params::u8(std::uint8_t value) {
    data_.push_back(value);
    return *this;
}

Params& Params::bytes_padded(std::string_view bytes) {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    if (bytes.size() % 2 != 0) data_.push_back(0);
    return *this;
}

Params& Params::fixed_bytes(std::string_view bytes, std::size_t size) {
    const std::size_t kept = std::min(bytes.size(), size);
    data_.insert(data_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    data_.insert(data_.end(), size - kept, 0);
    return *this;
}

void RecordWriter::add(std::uint16_t function, const Params& params) {
    const Bytes& data = params.data();
    const auto words = static_cast<std::uint32_t>(kRecordHeadWords + (data.size() + 1) / 2);
    ByteWriter out(body_);
    out.write(words);
    out.write(function);
    out.write_bytes(data.data(), data.size());
    if (data.size() % 2 != 0) out.write(std::uint8_t{0});
    max_record_words_ = std::max(max_record_words_, words);
    ++record_count_;
}

Bytes RecordWriter::bytes(int object_count) const {
    Bytes file;
    file.reserve(kHeaderBytes + body_.size() + 2 * kRecordHeadWords);
    const auto total_words =
        static_cast<std::uint32_t>((kHeaderBytes + body_.size()) / 2 + kRecordHeadWords);
    ByteWriter out(file);
    out.write(kMemoryMetafile);
    out.write(kHeaderWords);
    out.write(kVersion300);
    out.write(total_words);
    out.write(static_cast<std::uint16_t>(std::clamp(object_count, 0, 0xFFFF)));
    out.write(max_record_words_);
    out.write(std::uint16_t{0});
    assert(file.size() == kHeaderBytes);
    out.write_bytes(body_.data(), body_.size());
    out.write(kRecordHeadWords);
    out.write(kEof);
    return file;
}

int ObjectTable::create() {
    const auto free_slot = std::find(used_.begin(), used_.end(), false);
    const auto slot = static_cast<int>(free_slot - used_.begin());
    if (free_slot == used_.end()) {
        used_.push_back(true);
    } else {
        *free_slot = true;
    }
    return slot;
}

void ObjectTable::remove(int slot) {
    if (slot >= 0 && slot < peak()) used_[static_cast<std::size_t>(slot)] = false;
}

int ObjectTable::alive() const {
    return static_cast<int>(std::count(used_.begin(), used_.end(), true));
}

}  // namespace kvd::wmf
