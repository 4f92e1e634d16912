#include "output/word/picture_file.h"

#include <cstdint>

namespace kvd::word {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderBytes = 22;
constexpr std::size_t kMetaHeaderBytes = 18;
constexpr std::uint16_t kMetaHeaderWords = 9;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kEndOfFile = 0x0000;

constexpr std::int64_t kEmuPerInch = 914400;
constexpr std::int64_t kEmuPerTenthMillimetre = 3600;  // 36000 per millimetre

// The window extent of the records after the header; nothing when there is none.
std::optional<std::pair<int, int>> window_extent(ByteView records) {
    std::size_t at = 0;
    while (at + 6 <= records.size()) {
        std::uint32_t words = 0;
        std::uint16_t function = 0;
        load_at(records, at, words);
        load_at(records, at + 4, function);
        if (function == kEndOfFile || words < 3 || words > (records.size() - at) / 2) break;
        if (function == kSetWindowExt && words >= 5) {
            std::int16_t y = 0;
            std::int16_t x = 0;
            load_at(records, at + 6, y);  // parameters are stored last first
            load_at(records, at + 8, x);
            return std::pair<int, int>(x, y);
        }
        at += static_cast<std::size_t>(words) * 2;
    }
    return std::nullopt;
}

}  // namespace

std::optional<content::Picture> read_picture(Bytes data) {
    content::Picture picture;
    picture.extension = "wmf";
    picture.content_type = "image/x-wmf";
    const ByteView bytes(data);
    std::uint32_t key = 0;
    if (!load_at(bytes, 0, key)) return std::nullopt;
    if (key == kPlaceableKey) {
        std::int16_t left = 0, top = 0, right = 0, bottom = 0;
        std::uint16_t inch = 0;
        if (bytes.size() < kPlaceableHeaderBytes + kMetaHeaderBytes) return std::nullopt;
        load_at(bytes, 6, left);
        load_at(bytes, 8, top);
        load_at(bytes, 10, right);
        load_at(bytes, 12, bottom);
        load_at(bytes, 14, inch);
        if (inch == 0) return std::nullopt;
        picture.width_emu = (static_cast<std::int64_t>(right) - left) * kEmuPerInch / inch;
        picture.height_emu = (static_cast<std::int64_t>(bottom) - top) * kEmuPerInch / inch;
    } else {
        std::uint16_t type = 0;
        std::uint16_t header_words = 0;
        load_at(bytes, 0, type);
        load_at(bytes, 2, header_words);
        if ((type != 1 && type != 2) || header_words != kMetaHeaderWords) return std::nullopt;
        if (bytes.size() < kMetaHeaderBytes) return std::nullopt;
        const auto extent = window_extent(bytes.subspan(kMetaHeaderBytes));
        if (!extent) return std::nullopt;
        picture.width_emu = static_cast<std::int64_t>(extent->first) * kEmuPerTenthMillimetre;
        picture.height_emu = static_cast<std::int64_t>(extent->second) * kEmuPerTenthMillimetre;
    }
    // Pictures drawn with y up have a negative height; the size is its magnitude.
    if (picture.width_emu < 0) picture.width_emu = -picture.width_emu;
    if (picture.height_emu < 0) picture.height_emu = -picture.height_emu;
    if (picture.width_emu == 0 || picture.height_emu == 0) return std::nullopt;
    picture.data = std::move(data);
    return picture;
}

}  // namespace kvd::word
