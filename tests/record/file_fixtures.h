#pragma once
// Byte-level builders for test and analysis files, written from the documented
// layouts: every field is put at its absolute offset as an explicit
// little-endian value. The offsets below are spelled out here on purpose and
// do not use the program's structs, so a wrong struct offset or a writer that
// drifts from the layout shows up as a test failure instead of agreeing with
// itself.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"
#include "record/test_file_reader.h"

namespace kvd::fixture {

inline constexpr std::size_t kHeaderBytes = 1640;
inline constexpr std::size_t kPointBytes = 152;
inline constexpr std::size_t kRawBytes = 184;
inline constexpr std::size_t kBlockBytes = 3 * kRawBytes;
inline constexpr std::size_t kSnapshotBytes = 68;

inline constexpr double kVersionTest = 2013.1016;
inline constexpr double kVersionAnalysis = 2013.0917;
inline constexpr double kVersionUploadable = 2013.0926;

// File offsets.
inline constexpr std::size_t kAtVersion = 10;
inline constexpr std::size_t kAtKind = 18;
inline constexpr std::size_t kAtAnalysisHeader = 256;
inline constexpr std::size_t kAtPointCount = 1896;
inline constexpr std::size_t kAtPoints = 1900;
inline constexpr std::size_t kAtUnfinished = 256;
inline constexpr std::size_t kAtModCount = 260;
inline constexpr std::size_t kAtLastIndex = 264;
inline constexpr std::size_t kAtTestHeader = 268;
inline constexpr std::size_t kAtTestReadings = 1908;

// TestHeader offsets (from the start of the header).
namespace hdr {
inline constexpr std::size_t kTestTime = 16;
inline constexpr std::size_t kSiteName = 24;
inline constexpr std::size_t kPileNumber = 114;
inline constexpr std::size_t kPlateArea = 148;
inline constexpr std::size_t kTestObject = 156;
inline constexpr std::size_t kPressureUnit = 157;
inline constexpr std::size_t kAveraged = 159;
inline constexpr std::size_t kInUse = 185;
inline constexpr std::size_t kTestPile = 201;
inline constexpr std::size_t kInstrumentNumber = 777;
inline constexpr std::size_t kLoadIntervals = 908;
inline constexpr std::size_t kUnloadIntervals = 932;
inline constexpr std::size_t kLoadSensorType = 995;
inline constexpr std::size_t kDirectionKind = 1008;
inline constexpr std::size_t kXAxisMax = 1016;
inline constexpr std::size_t kSnapshotSize = 1056;
inline constexpr std::size_t kUploadProgress = 1072;
inline constexpr std::size_t kUploadState = 1176;
}  // namespace hdr

// A growable byte image; every put zero-fills up to the field it writes.
class Image {
  public:
    Image() = default;
    explicit Image(std::size_t size) : bytes_(size, 0) {}

    Image& u8(std::size_t at, std::uint8_t v);
    Image& u16(std::size_t at, std::uint16_t v);
    Image& i16(std::size_t at, std::int16_t v);
    Image& i32(std::size_t at, std::int32_t v);
    Image& i64(std::size_t at, std::int64_t v);
    Image& f32(std::size_t at, float v);
    Image& f64(std::size_t at, double v);
    Image& text(std::size_t at, std::string_view s);  // raw bytes, no terminator
    Image& put(std::size_t at, ByteView b);
    Image& append(ByteView b) { return put(bytes_.size(), b); }

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }
    ByteView view() const { return bytes_; }
    // The first n bytes (or all of them).
    ByteView prefix(std::size_t n) const { return view().first(std::min(n, size())); }

  private:
    void put_le(std::size_t at, std::uint64_t v, std::size_t n);
    Bytes bytes_;
};

struct Raw {
    std::int64_t time = 0;
    std::int32_t status = 0;
    std::int32_t loading = 1;
    std::int32_t grade = 0;
    std::int32_t index = 0;
    std::int32_t grade_load = 0;
    std::int32_t load_a = 0;
    std::int32_t load_b = 0;
    std::uint8_t reserved[4] = {};
    double pressure_a = 0;
    double pressure_b = 0;
    double channel[16] = {};
};

struct Point {
    std::int32_t grade = 0;
    std::int32_t loading = 1;
    std::int32_t load = 0;
    std::int32_t minutes = 0;
    double channel[16] = {};
    double settlement = 0;
};

Bytes encode(const Raw& r);    // 184 bytes
Bytes encode(const Point& p);  // 152 bytes

// A distinctive run of bytes for snapshots, so that a shifted or swapped
// snapshot cannot compare equal by chance.
Bytes pattern(int seed, std::size_t size);

// One raw reading as stored: the reading, its block (three images) when it has
// one, then its snapshot bytes (of whatever size the test wants).
struct RawEntry {
    Raw raw;
    std::vector<Raw> block;  // empty, or three images
    Bytes snapshot;
};

// A raw reading with distinctive values derived from n.
Raw sample_raw(int n, std::int32_t grade, std::int32_t status = 0);
// An entry for sample_raw(n, ...) with a block when status is 1 and a 68-byte
// patterned snapshot.
RawEntry sample_entry(int n, std::int32_t grade, std::int32_t status = 0);

// A 1640-byte header: channel 1 in use, on the test pile and averaged, the
// usual interval tables, snapshot size 68, upload fields 1072 = 7, 1176 = 50.
Image make_header();

// The 256-byte prefix with the writer's tag bytes.
Image make_prefix(std::int32_t kind, double version);

// Kind 2 or 3 up to the end of the sample points.
Image analysis_file(std::int32_t kind, double version, const Image& header,
                    const std::vector<Point>& points,
                    std::optional<std::int32_t> stored_count = std::nullopt);
// Appends counts and raw entries (the raw part of kind 3, or of kind 1 after
// its header).
void append_raw_entries(Image& file, const std::vector<RawEntry>& entries);
void append_raw_part(Image& file, std::int32_t mod_count, std::int32_t last_index,
                     const std::vector<RawEntry>& entries);
// Kind 1: prefix, flag, counts, header at 268, readings from 1908.
Image test_file(double version, std::int32_t unfinished, std::int32_t mod_count,
                std::int32_t last_index, const Image& header, const std::vector<RawEntry>& entries);
// Kind 1 with consistent counts.
Image test_file(const Image& header, const std::vector<RawEntry>& entries,
                double version = kVersionTest);
// End offset of each raw entry when the entries start at start.
std::vector<std::size_t> entry_ends(std::size_t start, const std::vector<RawEntry>& entries);

// Old "meyptx" test format: 1428-byte header (count uint16 at 398), 84-byte readings.
struct OldReading {
    std::uint16_t grade = 0;
    std::int16_t flag = 1;
    double date = 0;    // days since 1899-12-30
    std::string clock;  // "HH:MM:SS"
    std::int32_t grade_load = 0;
    std::int32_t measured_load = 0;
    float pressure = 0;
    float channel[12] = {};
};
Image old_format_file(std::uint16_t count, const std::vector<OldReading>& readings);

// Bytes of any record image as the program holds it.
template <class T>
Bytes bytes_of(const T& value) {
    Bytes out(sizeof(T));
    std::memcpy(out.data(), &value, sizeof(T));
    return out;
}

// A sample point whose channels and settlement follow from value.
Point sample_point(std::int32_t grade, std::int32_t load, std::int32_t minutes, double value,
                   std::int32_t loading = 1);
// Entries n = 0, 1, ... with the given statuses, two readings per tester grade.
std::vector<RawEntry> entries_with_statuses(const std::vector<std::int32_t>& statuses);
// Expects the record to hold exactly the readings, blocks and snapshots of the
// first count entries, byte for byte (snapshots cut or zero-padded to 68 bytes).
void expect_raw_prefix(const TestRecord& record, const std::vector<RawEntry>& entries,
                       std::size_t count);

// Reads a file image with the program's reader.
Status read(ByteView bytes, TestRecord& record, ReadReport& report);

}  // namespace kvd::fixture
