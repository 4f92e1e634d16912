#include "record/file_fixtures.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace kvd::fixture {

void Image::put_le(std::size_t at, std::uint64_t v, std::size_t n) {
    if (bytes_.size() < at + n) bytes_.resize(at + n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        bytes_[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xff);
    }
}

Image& Image::u8(std::size_t at, std::uint8_t v) {
    put_le(at, v, 1);
    return *this;
}
Image& Image::u16(std::size_t at, std::uint16_t v) {
    put_le(at, v, 2);
    return *this;
}
Image& Image::i16(std::size_t at, std::int16_t v) {
    put_le(at, static_cast<std::uint16_t>(v), 2);
    return *this;
}
Image& Image::i32(std::size_t at, std::int32_t v) {
    put_le(at, static_cast<std::uint32_t>(v), 4);
    return *this;
}
Image& Image::i64(std::size_t at, std::int64_t v) {
    put_le(at, static_cast<std::uint64_t>(v), 8);
    return *this;
}
Image& Image::f32(std::size_t at, float v) {
    put_le(at, std::bit_cast<std::uint32_t>(v), 4);
    return *this;
}
Image& Image::f64(std::size_t at, double v) {
    put_le(at, std::bit_cast<std::uint64_t>(v), 8);
    return *this;
}
Image& Image::text(std::size_t at, std::string_view s) {
    return put(at, ByteView(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}
Image& Image::put(std::size_t at, ByteView b) {
    if (bytes_.size() < at + b.size()) bytes_.resize(at + b.size(), 0);
    if (!b.empty()) std::memcpy(bytes_.data() + at, b.data(), b.size());
    return *this;
}

Bytes encode(const Raw& r) {
    Image out(kRawBytes);
    out.i64(0, r.time).i32(8, r.status).i32(12, r.loading).i32(16, r.grade).i32(20, r.index);
    out.i32(24, r.grade_load).i32(28, r.load_a).i32(32, r.load_b);
    out.put(36, ByteView(r.reserved, 4));
    out.f64(40, r.pressure_a).f64(48, r.pressure_b);
    for (std::size_t j = 0; j < 16; ++j) out.f64(56 + 8 * j, r.channel[j]);
    return out.bytes();
}

Bytes encode(const Point& p) {
    Image out(kPointBytes);
    out.i32(0, p.grade).i32(4, p.loading).i32(8, p.load).i32(12, p.minutes);
    for (std::size_t j = 0; j < 16; ++j) out.f64(16 + 8 * j, p.channel[j]);
    out.f64(144, p.settlement);
    return out.bytes();
}

Bytes pattern(int seed, std::size_t size) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] =
            static_cast<std::uint8_t>((static_cast<std::size_t>(seed) * 37 + i * 11 + 1) & 0xff);
    }
    return out;
}

Raw sample_raw(int n, std::int32_t grade, std::int32_t status) {
    Raw r;
    r.time = 1'380'000'000 + 600LL * n;
    r.status = status;
    r.loading = 1;
    r.grade = grade;
    r.index = n % 5;
    r.grade_load = 100 * grade + n;
    r.load_a = 1000 + n;
    r.load_b = 2000 + n;
    r.reserved[0] = static_cast<std::uint8_t>(n);
    r.reserved[3] = 0xA5;
    r.pressure_a = 1.5 + n;
    r.pressure_b = 2.25 + n;
    for (int j = 0; j < 16; ++j) r.channel[j] = n + j / 100.0 + 0.001;
    return r;
}

RawEntry sample_entry(int n, std::int32_t grade, std::int32_t status) {
    RawEntry e;
    e.raw = sample_raw(n, grade, status);
    if (status == 1) {
        for (int k = 0; k < 3; ++k) e.block.push_back(sample_raw(500 + 3 * n + k, grade, 0));
    }
    e.snapshot = pattern(n, kSnapshotBytes);
    return e;
}

Image make_header() {
    Image h(kHeaderBytes);
    h.i64(hdr::kTestTime, 1'380'000'000);
    h.text(hdr::kSiteName, "Site A");
    h.text(hdr::kPileNumber, "P-7");
    h.u8(hdr::kAveraged, 1).u8(hdr::kInUse, 1).u8(hdr::kTestPile, 1);
    const std::uint16_t load[12] = {0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30};
    const std::uint16_t unload[12] = {0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 180};
    for (std::size_t i = 0; i < 12; ++i) {
        h.u16(hdr::kLoadIntervals + 2 * i, load[i]);
        h.u16(hdr::kUnloadIntervals + 2 * i, unload[i]);
    }
    h.i32(hdr::kDirectionKind, 1);
    h.i32(hdr::kSnapshotSize, 68);
    h.i32(hdr::kUploadProgress, 7);
    h.u16(hdr::kUploadState, 50);
    return h;
}

Image make_prefix(std::int32_t kind, double version) {
    Image file(256);
    const std::uint8_t tag[10] = {'V', 'X', 'R', 'A', 'C', 0, 0, 0, 0x18, 0x95};
    file.put(0, ByteView(tag, 10));
    file.f64(kAtVersion, version).i32(kAtKind, kind);
    return file;
}

Image analysis_file(std::int32_t kind, double version, const Image& header,
                    const std::vector<Point>& points, std::optional<std::int32_t> stored_count) {
    Image file = make_prefix(kind, version);
    file.put(kAtAnalysisHeader, header.view());
    file.i32(kAtPointCount, stored_count.value_or(static_cast<std::int32_t>(points.size())));
    for (std::size_t i = 0; i < points.size(); ++i) {
        file.put(kAtPoints + i * kPointBytes, encode(points[i]));
    }
    return file;
}

void append_raw_entries(Image& file, const std::vector<RawEntry>& entries) {
    for (const RawEntry& e : entries) {
        file.append(encode(e.raw));
        for (const Raw& b : e.block) file.append(encode(b));
        file.append(e.snapshot);
    }
}

void append_raw_part(Image& file, std::int32_t mod_count, std::int32_t last_index,
                     const std::vector<RawEntry>& entries) {
    const std::size_t at = file.size();
    file.i32(at, mod_count).i32(at + 4, last_index);
    append_raw_entries(file, entries);
}

Image test_file(double version, std::int32_t unfinished, std::int32_t mod_count,
                std::int32_t last_index, const Image& header,
                const std::vector<RawEntry>& entries) {
    Image file = make_prefix(1, version);
    file.i32(kAtUnfinished, unfinished).i32(kAtModCount, mod_count).i32(kAtLastIndex, last_index);
    file.put(kAtTestHeader, header.view());
    append_raw_entries(file, entries);
    return file;
}

Image test_file(const Image& header, const std::vector<RawEntry>& entries, double version) {
    std::int32_t blocks = 0;
    for (const RawEntry& e : entries) blocks += e.block.empty() ? 0 : 1;
    return test_file(version, 0, 3 * blocks, static_cast<std::int32_t>(entries.size()) - 1, header,
                     entries);
}

std::vector<std::size_t> entry_ends(std::size_t start, const std::vector<RawEntry>& entries) {
    std::vector<std::size_t> ends;
    std::size_t at = start;
    for (const RawEntry& e : entries) {
        at += kRawBytes + e.block.size() * kRawBytes + e.snapshot.size();
        ends.push_back(at);
    }
    return ends;
}

Image old_format_file(std::uint16_t count, const std::vector<OldReading>& readings) {
    constexpr std::size_t kOldHeader = 1428;
    constexpr std::size_t kOldReading = 84;
    Image file(kOldHeader);
    file.text(0, "meyptx");
    file.u16(398, count);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const OldReading& r = readings[i];
        const std::size_t at = kOldHeader + i * kOldReading;
        file.u16(at, r.grade).i16(at + 2, r.flag).f64(at + 4, r.date);
        file.text(at + 12, r.clock.substr(0, 8));
        file.i32(at + 24, r.grade_load).i32(at + 28, r.measured_load).f32(at + 32, r.pressure);
        for (std::size_t j = 0; j < 12; ++j) file.f32(at + 36 + 4 * j, r.channel[j]);
        file.u8(at + kOldReading - 1, 0);  // the reading's full 84 bytes exist
    }
    return file;
}

Point sample_point(std::int32_t grade, std::int32_t load, std::int32_t minutes, double value,
                   std::int32_t loading) {
    Point p;
    p.grade = grade;
    p.loading = loading;
    p.load = load;
    p.minutes = minutes;
    for (int j = 0; j < 16; ++j) p.channel[j] = value + j;
    p.settlement = value + 0.5;
    return p;
}

std::vector<RawEntry> entries_with_statuses(const std::vector<std::int32_t>& statuses) {
    std::vector<RawEntry> entries;
    for (std::size_t n = 0; n < statuses.size(); ++n) {
        entries.push_back(
            sample_entry(static_cast<int>(n), static_cast<std::int32_t>(n / 2 + 1), statuses[n]));
    }
    return entries;
}

void expect_raw_prefix(const TestRecord& record, const std::vector<RawEntry>& entries,
                       std::size_t count) {
    ASSERT_EQ(record.raw_readings.size(), count);
    ASSERT_EQ(record.param_snapshots.size(), count);
    std::size_t entry = 0;
    for (std::size_t r = 0; r < count; ++r) {
        EXPECT_EQ(bytes_of(record.raw_readings[r]), encode(entries[r].raw)) << "reading " << r;
        Bytes snapshot = entries[r].snapshot;
        snapshot.resize(kSnapshotBytes, 0);
        EXPECT_EQ(bytes_of(record.param_snapshots[r]), snapshot) << "snapshot " << r;
        for (const Raw& b : entries[r].block) {
            ASSERT_LT(entry, record.mod_blocks.size());
            EXPECT_EQ(bytes_of(record.mod_blocks[entry]), encode(b)) << "block entry " << entry;
            ++entry;
        }
    }
    EXPECT_EQ(record.mod_blocks.size(), entry);
    EXPECT_EQ(record.instrument_params.reading_count, static_cast<int>(count));
    EXPECT_EQ(record.instrument_params.mod_count, static_cast<int>(entry));
}

namespace {

template <class T>
bool same_images(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// What the two ways of reading must agree on, byte for byte.
void expect_same_reading(const Status& status, const TestRecord& record, const ReadReport& report,
                         const Status& again_status, const TestRecord& again,
                         const ReadReport& again_report, std::size_t buffer_bytes) {
    SCOPED_TRACE("read piecewise through a buffer of " + std::to_string(buffer_bytes) + " bytes");
    ASSERT_EQ(again_status.ok(), status.ok());
    EXPECT_EQ(again_status.message(), status.message());
    EXPECT_EQ(again_report.damaged, report.damaged);
    EXPECT_EQ(again_report.claimed_readings, report.claimed_readings);
    EXPECT_EQ(again_report.recovered_readings, report.recovered_readings);
    EXPECT_EQ(again_report.uploadable, report.uploadable);
    EXPECT_EQ(again_report.notices, report.notices);
    if (!status.ok()) return;
    EXPECT_EQ(again.opened_kind, record.opened_kind);
    EXPECT_EQ(again.save_kind, record.save_kind);
    EXPECT_EQ(bytes_of(again.header), bytes_of(record.header));
    EXPECT_TRUE(same_images(again.raw_readings, record.raw_readings));
    EXPECT_TRUE(same_images(again.param_snapshots, record.param_snapshots));
    EXPECT_TRUE(same_images(again.mod_blocks, record.mod_blocks));
    EXPECT_EQ(again.instrument_params.reading_count, record.instrument_params.reading_count);
    EXPECT_EQ(again.instrument_params.mod_count, record.instrument_params.mod_count);
    ASSERT_EQ(again.grades.grade_count(), record.grades.grade_count());
    for (int g = 0; g < record.grades.grade_count(); ++g) {
        const auto a = again.grades.grade(g)->points();
        const auto b = record.grades.grade(g)->points();
        EXPECT_TRUE(a.size() == b.size() &&
                    (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0))
            << "grade " << g;
    }
}

}  // namespace

Status read(ByteView bytes, TestRecord& record, ReadReport& report) {
    const Status status = read_record(bytes, record, report);
    // The same bytes read piecewise, as from an open file, must give the same
    // record and report, wherever the buffer boundaries fall: one byte at a
    // time, buffers that split every record image, and one that holds them.
    for (std::size_t buffer_bytes :
         {std::size_t{1}, std::size_t{7}, std::size_t{151}, std::size_t{4096}}) {
        ByteViewSource source(bytes);
        TestRecord again;
        ReadReport again_report;
        const Status again_status = read_record(source, again, again_report, buffer_bytes);
        expect_same_reading(status, record, report, again_status, again, again_report,
                            buffer_bytes);
    }
    return status;
}

}  // namespace kvd::fixture
