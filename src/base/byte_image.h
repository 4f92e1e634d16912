#pragma once
// Little-endian byte images. The record structs of the file formats are laid out
// exactly as on disk and copied whole; that is only correct on a little-endian
// host, which the static_assert below guarantees. Reading them in sequence is
// ByteReader's (base/byte_reader.h).

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace kvd {

static_assert(std::endian::native == std::endian::little,
              "file images are copied as little-endian memory");

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

template <class T>
concept ByteImage = std::is_trivially_copyable_v<T> && std::is_standard_layout_v<T>;

// Appending writer with absolute padding, for building file images.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : out_(out) {}

    template <ByteImage T>
    void write(const T& value) {
        write_bytes(&value, sizeof(T));
    }
    void write_bytes(const void* data, std::size_t count) {
        auto* p = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), p, p + count);
    }
    // Pads with zero bytes up to an absolute offset (no-op when already past it).
    void pad_to(std::size_t offset) {
        if (out_.size() < offset) out_.resize(offset, 0);
    }
    std::size_t size() const { return out_.size(); }

private:
    Bytes& out_;
};

// Value of type T at an absolute offset; nullopt-free variant for fixed
// prefixes: returns false when the bytes are not all there.
template <ByteImage T>
bool load_at(ByteView data, std::size_t offset, T& out) {
    if (offset > data.size() || sizeof(T) > data.size() - offset) return false;
    std::memcpy(&out, data.data() + offset, sizeof(T));
    return true;
}

}  // namespace kvd
