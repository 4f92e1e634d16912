#pragma once
// Reading Windows metafiles back in tests, from the documented layout: an
// 18-byte header, then records of (size in words u32, function u16, words).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_image.h"

namespace kvd::test {

struct WmfRecord {
    std::uint32_t words = 0;  // record size in words, head included
    std::uint16_t function = 0;
    Bytes params;

    std::int16_t i16(std::size_t index) const {
        std::int16_t value = 0;
        if (2 * index + 2 <= params.size()) std::memcpy(&value, params.data() + 2 * index, 2);
        return value;
    }
    std::uint16_t u16(std::size_t index) const { return static_cast<std::uint16_t>(i16(index)); }
    // `count` signed words from word `first` on.
    std::vector<int> words_from(std::size_t first, std::size_t count) const {
        std::vector<int> values;
        for (std::size_t i = first; i < first + count; ++i) values.push_back(i16(i));
        return values;
    }
    std::uint32_t u32_at_word(std::size_t index) const {
        return u16(index) | static_cast<std::uint32_t>(u16(index + 1)) << 16;
    }
    std::string bytes_at(std::size_t byte_offset, std::size_t count) const {
        if (byte_offset + count > params.size()) return {};
        return std::string(params.begin() + static_cast<std::ptrdiff_t>(byte_offset),
                           params.begin() + static_cast<std::ptrdiff_t>(byte_offset + count));
    }
};

struct WmfFile {
    std::uint16_t type = 0;
    std::uint16_t header_words = 0;
    std::uint16_t version = 0;
    std::uint32_t size_words = 0;
    std::uint16_t objects = 0;
    std::uint32_t max_record_words = 0;
    std::uint16_t members = 0;
    std::vector<WmfRecord> records;
    bool complete = false;  // every record fitted and the last one is the end record

    std::vector<WmfRecord> of(std::uint16_t function) const {
        std::vector<WmfRecord> found;
        for (const WmfRecord& r : records) {
            if (r.function == function) found.push_back(r);
        }
        return found;
    }
};

inline WmfFile parse_wmf(const Bytes& data) {
    WmfFile file;
    if (!load_at(data, 0, file.type) || !load_at(data, 2, file.header_words) ||
        !load_at(data, 4, file.version) || !load_at(data, 6, file.size_words) ||
        !load_at(data, 10, file.objects) || !load_at(data, 12, file.max_record_words) ||
        !load_at(data, 16, file.members)) {
        return file;
    }
    std::size_t offset = 18;
    while (offset + 6 <= data.size()) {
        WmfRecord record;
        load_at(data, offset, record.words);
        load_at(data, offset + 4, record.function);
        if (record.words < 3 || record.words > (data.size() - offset) / 2) return file;
        record.params.assign(data.begin() + static_cast<std::ptrdiff_t>(offset + 6),
                             data.begin() + static_cast<std::ptrdiff_t>(offset + 2 * record.words));
        offset += 2 * record.words;
        file.records.push_back(std::move(record));
        if (file.records.back().function == 0) {
            file.complete = offset == data.size();
            return file;
        }
    }
    return file;
}

}  // namespace kvd::test
