#include "record/test_file_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "record/file_fixtures.h"
#include "record/grade_compute.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

using namespace fixture;

// A header whose every byte is distinctive, so that a field moved, dropped or
// rewritten by the writer shows.
Image patterned_header() {
    Image header;
    header.put(0, pattern(77, kHeaderBytes));
    header.i32(hdr::kSnapshotSize, 68);
    return header;
}

std::vector<Point> some_points() {
    std::vector<Point> points;
    const std::int32_t grades[] = {0, 1, 1, 3, 3, 3, 4};
    for (std::size_t i = 0; i < std::size(grades); ++i) {
        Point p;
        p.grade = grades[i];
        p.loading = i < 5 ? 1 : 0;
        p.load = 100 * grades[i];
        p.minutes = static_cast<std::int32_t>(7 * i + 3);  // not the schedule: kept as stored
        for (int j = 0; j < 16; ++j) p.channel[j] = 0.01 * static_cast<double>(i) + j;
        p.settlement = 1.0 / (1.0 + static_cast<double>(i));  // not two decimals: kept as stored
        points.push_back(p);
    }
    return points;
}

std::vector<RawEntry> some_entries() {
    return {sample_entry(0, 1), sample_entry(1, 1, 1), sample_entry(2, 2, 3), sample_entry(3, 2, 1),
            sample_entry(4, 3)};
}

Bytes write(const TestRecord& record) {
    Bytes out;
    Status status = write_record(record, out);
    EXPECT_TRUE(status.ok()) << status.message();
    return out;
}

TestRecord read_ok(ByteView bytes) {
    TestRecord record;
    ReadReport report;
    Status status = read(bytes, record, report);
    EXPECT_TRUE(status.ok()) << status.message();
    EXPECT_FALSE(report.damaged);
    return record;
}

void expect_same_grades(const CTestData& a, const CTestData& b) {
    ASSERT_EQ(a.grade_count(), b.grade_count());
    for (int g = 0; g < a.grade_count(); ++g) {
        ASSERT_EQ(a.reading_count(g), b.reading_count(g)) << g;
        for (int i = 0; i < a.reading_count(g); ++i) {
            EXPECT_EQ(bytes_of(*a.get_reading(g, i)), bytes_of(*b.get_reading(g, i)))
                << g << "/" << i;
        }
    }
}

TEST(WriteRecord, AnalysisFilesReadAndWrittenAreReproducedByteForByte) {
    const Image kind2 = analysis_file(2, kVersionAnalysis, patterned_header(), some_points());
    EXPECT_EQ(write(read_ok(kind2.view())), kind2.bytes());

    Image kind3 = analysis_file(3, kVersionAnalysis, patterned_header(), some_points());
    append_raw_part(kind3, 6, 4, some_entries());
    EXPECT_EQ(write(read_ok(kind3.view())), kind3.bytes());

    // Empty analysis files too.
    const Image empty2 = analysis_file(2, kVersionAnalysis, patterned_header(), {});
    EXPECT_EQ(write(read_ok(empty2.view())), empty2.bytes());
    Image empty3 = analysis_file(3, kVersionAnalysis, patterned_header(), {});
    append_raw_part(empty3, 0, -1, {});
    EXPECT_EQ(write(read_ok(empty3.view())), empty3.bytes());
}

void expect_converted(const Image& test, const std::vector<RawEntry>& entries,
                      const Image& converted_raw_part) {
    TestRecord record = read_ok(test.view());
    record.save_kind = FileKind::kAnalysisWithRaw;
    const Bytes out = write(record);
    const Image expected_prefix = make_prefix(3, kVersionAnalysis);
    ASSERT_GE(out.size(), kAtPoints);
    EXPECT_TRUE(
        std::equal(expected_prefix.bytes().begin(), expected_prefix.bytes().end(), out.begin()));

    // The header moves from 268 to 256 unchanged, but for the upload fields
    // (cleared: the file qualified for upload) and the snapshot size.
    Image header;
    header.put(0, test.view().subspan(kAtTestHeader, kHeaderBytes));
    header.i32(hdr::kUploadProgress, 0).u16(hdr::kUploadState, 0).i32(hdr::kSnapshotSize, 68);
    EXPECT_EQ(Bytes(out.begin() + 256, out.begin() + 256 + kHeaderBytes), header.bytes());

    const std::size_t points = entries.size();
    Image counts;
    counts.i32(0, static_cast<std::int32_t>(points));
    EXPECT_EQ(Bytes(out.begin() + 1896, out.begin() + 1900), counts.bytes());
    const std::size_t raw_at = kAtPoints + points * kPointBytes;
    std::int32_t blocks = 0;
    for (const RawEntry& e : entries) blocks += e.block.empty() ? 0 : 1;
    Image raw_part;
    raw_part.i32(0, 3 * blocks).i32(4, static_cast<std::int32_t>(entries.size()) - 1);
    raw_part.append(converted_raw_part.view());
    ASSERT_EQ(out.size(), raw_at + raw_part.size());
    EXPECT_EQ(Bytes(out.begin() + static_cast<std::ptrdiff_t>(raw_at), out.end()),
              raw_part.bytes());

    // The converted file reads back to the same record.
    TestRecord again = read_ok(out);
    expect_same_grades(again.grades, record.grades);
    EXPECT_EQ(again.raw_count(), record.raw_count());
    EXPECT_EQ(again.mod_count(), record.mod_count());
}

TEST(WriteRecord, TestFileConvertedToKindThreeKeepsHeaderReadingsBlocksAndSnapshots) {
    const auto entries = some_entries();
    const Image test = test_file(patterned_header(), entries);
    Image raw_part;
    append_raw_entries(raw_part, entries);
    expect_converted(test, entries, raw_part);
}

TEST(WriteRecord, ConvertedSnapshotsAreStoredWithTheStandardSize) {
    auto entries = some_entries();
    Image header = patterned_header();
    header.i32(hdr::kSnapshotSize, 100);
    for (std::size_t n = 0; n < entries.size(); ++n) entries[n].snapshot = pattern(int(n) + 9, 100);
    const Image test = test_file(header, entries);
    auto cut = entries;
    for (RawEntry& e : cut) e.snapshot.resize(kSnapshotBytes);
    Image raw_part;
    append_raw_entries(raw_part, cut);
    expect_converted(test, entries, raw_part);
}

TEST(WriteRecord, TestFileWrittenAsTestFileIsFinishedAndUnchangedOtherwise) {
    const auto entries = some_entries();
    const Image test = test_file(kVersionTest, 1, 6, 4, patterned_header(), entries);
    TestRecord record = read_ok(test.view());
    ASSERT_EQ(record.save_kind, FileKind::kTestFile);
    Image expected = test;
    expected.i32(kAtUnfinished, 0);
    expected.i32(kAtTestHeader + hdr::kUploadProgress, 0).u16(kAtTestHeader + hdr::kUploadState, 0);
    EXPECT_EQ(write(record), expected.bytes());
}

TEST(WriteRecord, TestFileStoresEveryBlockItsReadingsNeed) {
    TestRecord record = TestRecord::make_empty(0);
    record.save_kind = FileKind::kTestFile;
    ASSERT_EQ(record.header.snapshot_size, 0);
    // Two changed readings but only one block in the record: the file still
    // says two blocks and holds two, so both readings read back.
    for (int n = 0; n < 3; ++n) {
        RawReading raw{};
        const Bytes image = encode(sample_raw(n, 1, n == 2 ? 0 : 1));
        std::memcpy(&raw, image.data(), sizeof raw);
        record.raw_readings.push_back(raw);
        record.param_snapshots.push_back(ReadingParams{});
    }
    record.mod_blocks.assign(3, record.raw_readings[2]);
    const Bytes out = write(record);

    Image counts;
    counts.i32(0, 0).i32(4, 6).i32(8, 2);
    EXPECT_EQ(Bytes(out.begin() + 256, out.begin() + 268), counts.bytes());
    Image size;
    size.i32(0, 68);
    EXPECT_EQ(Bytes(out.begin() + 268 + 1056, out.begin() + 268 + 1060), size.bytes());
    EXPECT_EQ(out.size(), kAtTestReadings + 3 * (kRawBytes + kSnapshotBytes) + 2 * kBlockBytes);
    TestRecord again = read_ok(out);
    EXPECT_EQ(again.raw_count(), 3);
    EXPECT_EQ(again.mod_count(), 6);
}

TEST(WriteRecord, OldFormatTestFileSavedAsTestFileReadsBack) {
    OldReading a;
    a.grade = 1;
    a.date = 41500;
    a.clock = "08:00:00";
    a.grade_load = 100;
    a.channel[0] = 0.5f;
    OldReading b = a;
    b.grade = 2;
    b.grade_load = 200;
    b.flag = 0;
    TestRecord old = read_ok(old_format_file(3, {a, b, b}).view());
    ASSERT_EQ(old.raw_count(), 4);
    old.header.stability_count = 9;  // shows up in every snapshot
    old.rebuild_snapshots_from_header();
    old.save_kind = FileKind::kTestFile;
    const Bytes out = write(old);
    ASSERT_EQ(out.size(), kAtTestReadings + 4 * (kRawBytes + kSnapshotBytes));

    TestRecord again = read_ok(out);
    ASSERT_EQ(again.raw_count(), 4);
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_EQ(bytes_of(again.raw_readings[r]), bytes_of(old.raw_readings[r])) << r;
        EXPECT_EQ(again.param_snapshots[r].stability_count, 9) << r;
    }
    EXPECT_EQ(again.header.snapshot_size, 68);
    EXPECT_EQ(again.grades.total_readings(), 4);
    EXPECT_EQ(again.grades.first_load(1), 100);
    EXPECT_EQ(again.grades.first_load(2), 200);
}

TEST(WriteRecord, KindThreeWithoutRawReadingsStoresEmptyCounts) {
    TestRecord record = TestRecord::make_empty(1'400'000'000);
    record.save_kind = FileKind::kAnalysisWithRaw;
    SamplePoint p{};
    p.loading = kLoading;
    record.grades.append_grade().append(p);
    record.grades.grade(0)->append(p);
    const Bytes out = write(record);
    ASSERT_EQ(out.size(), kAtPoints + 2 * kPointBytes + 8);
    Image counts;
    counts.i32(0, 0).i32(4, -1);
    EXPECT_EQ(Bytes(out.end() - 8, out.end()), counts.bytes());
    TestRecord again = read_ok(out);
    EXPECT_EQ(again.raw_count(), 0);
    EXPECT_EQ(again.grades.total_readings(), 2);
}

// The record of a new file: 16 grades, loads 0 ... 1000 loading, then 800 ... 0
// unloading; grade 0 has one reading, the others two.
TestRecord template_record() {
    TestRecord record = TestRecord::make_empty(1'400'000'000);
    for (int i = 0; i < 16; ++i) {
        SamplePoint p{};
        p.grade = i;
        p.loading = i < 11 ? kLoading : kUnloading;
        p.load = i < 11 ? 100 * i : 3000 - 200 * i;
        COneGradeData& grade = record.grades.append_grade();
        grade.append(p);
        if (i > 0) grade.append(p);
    }
    recompute_minutes(record.grades, record.test_params);
    return record;
}

TEST(WriteRecord, NewFileTemplateRoundTripsWithTheSameGrades) {
    const TestRecord record = template_record();
    const Bytes out = write(record);
    TestRecord again = read_ok(out);
    ASSERT_EQ(again.grades.grade_count(), 16);
    expect_same_grades(again.grades, record.grades);
    EXPECT_EQ(again.grades.first_load(11), 800);
    EXPECT_EQ(again.grades.first_load(15), 0);
    EXPECT_EQ(again.grades.loading_grade_count(), 11);
    EXPECT_EQ(write(again), out);
}

TEST(WriteRecord, AddedUnloadingGradesSurviveSavingWhateverTheNumbering) {
    // Grade numbers of a file need not be consecutive; grades added to such a
    // record must still be grades of their own when the file is read again.
    for (const std::vector<std::int32_t>& numbers :
         {std::vector<std::int32_t>{0, 1, 2}, {0, 1, 3}, {1, 2, 3}, {5, 0, 2}}) {
        std::vector<Point> points;
        for (std::size_t g = 0; g < numbers.size(); ++g) {
            for (int i = 0; i < 2; ++i) {
                points.push_back(sample_point(numbers[g], 100 * static_cast<int>(g), 5 * i, 1.0));
            }
        }
        TestRecord record =
            read_ok(analysis_file(2, kVersionAnalysis, make_header(), points).view());
        ASSERT_TRUE(add_unloading_data(record.grades));
        ASSERT_EQ(record.grades.grade_count(), 4);
        TestRecord again = read_ok(write(record));
        EXPECT_EQ(again.grades.grade_count(), 4) << numbers[2];
        EXPECT_EQ(again.grades.loading_grade_count(), 3) << numbers[2];
    }
}

TEST(WriteRecord, KindsThatAreNeverWrittenFail) {
    for (FileKind kind : {FileKind::kNone, FileKind::kOldTestFile, static_cast<FileKind>(9)}) {
        TestRecord record = template_record();
        record.save_kind = kind;
        Bytes out;
        Status status = write_record(record, out);
        EXPECT_FALSE(status.ok());
        EXPECT_FALSE(status.message().empty());
    }
}

}  // namespace
}  // namespace kvd
