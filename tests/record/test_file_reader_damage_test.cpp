#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "record/file_fixtures.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

using namespace fixture;

TEST(ReadDamagedFile, HugeCountsInATinyFileAllocateOnlyWhatIsThere) {
    const auto entries = entries_with_statuses({0, 1});
    for (std::int32_t last_index : {0x7ffffffe, 0x7fffffff}) {
        Image file = test_file(kVersionTest, 0, 0x7fffffff, last_index, make_header(), entries);
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        expect_raw_prefix(record, entries, 2);
        EXPECT_TRUE(report.damaged);
        EXPECT_EQ(report.claimed_readings, static_cast<long long>(last_index) + 1);
        EXPECT_EQ(report.recovered_readings, 2);
        EXPECT_LE(record.raw_readings.capacity(), 16u);
        EXPECT_LE(record.param_snapshots.capacity(), 16u);
        EXPECT_LE(record.mod_blocks.capacity(), 48u);
        ASSERT_FALSE(report.notices.empty());
        EXPECT_NE(report.notices.front().find("已恢复 2"), std::string::npos);
    }
    {
        Image file =
            analysis_file(2, kVersionAnalysis, make_header(),
                          {sample_point(0, 0, 0, 1), sample_point(1, 9, 0, 2)}, 0x7fffffff);
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        EXPECT_EQ(record.grades.total_readings(), 2);
        EXPECT_TRUE(report.damaged);
        for (const auto& grade : record.grades.grades()) EXPECT_LE(grade.capacity(), 1024);
    }
}

// Reads every prefix of a file and checks that each yields exactly the
// complete units that the prefix holds, never more and never anything else.
// `units_within(cut)` says how many units a prefix of `cut` bytes holds
// completely, or -1 where the prefix must be refused.
template <class Check>
void sweep_truncations(const Image& file, const std::function<long long(std::size_t)>& units_within,
                       Check check) {
    long long previous = 0;
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        TestRecord record;
        ReadReport report;
        Status status = read(file.prefix(cut), record, report);
        const long long expected = units_within(cut);
        if (expected <= 0) {
            EXPECT_FALSE(status.ok());
            EXPECT_FALSE(status.message().empty());
            continue;
        }
        ASSERT_TRUE(status.ok()) << status.message();
        EXPECT_EQ(report.recovered_readings, expected);
        EXPECT_GE(report.recovered_readings, previous);
        previous = report.recovered_readings;
        const bool whole = cut == file.size();
        EXPECT_EQ(report.damaged, !whole);
        EXPECT_EQ(report.notices.empty(), whole);
        check(record, cut);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(ReadDamagedFile, EveryTruncationOfATestFileKeepsItsCompleteReadings) {
    const auto entries = entries_with_statuses({0, 1, 0, 1});
    const Image file = test_file(make_header(), entries);
    const auto ends = entry_ends(kAtTestReadings, entries);
    ASSERT_EQ(ends.back(), file.size());
    auto complete = [&](std::size_t cut) {
        return static_cast<long long>(
            std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= cut; }));
    };
    sweep_truncations(file, complete, [&](const TestRecord& record, std::size_t cut) {
        const auto n = static_cast<std::size_t>(complete(cut));
        expect_raw_prefix(record, entries, n);
        EXPECT_EQ(record.grades.total_readings(), static_cast<int>(n));
    });
}

TEST(ReadDamagedFile, EveryTruncationOfAnAnalysisFileKeepsItsCompleteReadings) {
    const std::vector<Point> points = {sample_point(0, 0, 0, 1), sample_point(0, 0, 5, 2),
                                       sample_point(1, 100, 0, 3)};
    const auto entries = entries_with_statuses({1, 0, 1});
    Image file = analysis_file(3, kVersionAnalysis, make_header(), points);
    const std::size_t points_end = file.size();
    append_raw_part(file, 6, 2, entries);
    const auto ends = entry_ends(points_end + 8, entries);
    ASSERT_EQ(ends.back(), file.size());
    auto complete = [&](std::size_t cut) -> long long {
        if (cut < kAtPoints) return -1;
        if (cut < points_end) return static_cast<long long>((cut - kAtPoints) / kPointBytes);
        return 3 + std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= cut; });
    };
    sweep_truncations(file, complete, [&](const TestRecord& record, std::size_t cut) {
        const long long n = complete(cut);
        const long long point_count = std::min<long long>(n, 3);
        ASSERT_EQ(record.grades.total_readings(), point_count);
        for (int i = 0; i < point_count; ++i) {
            const int g = i < 2 ? 0 : 1;
            EXPECT_EQ(bytes_of(*record.grades.get_reading(g, i < 2 ? i : 0)),
                      encode(points[static_cast<std::size_t>(i)]));
        }
        expect_raw_prefix(record, entries, static_cast<std::size_t>(n - point_count));
    });
}

class SnapshotSize : public testing::TestWithParam<std::int32_t> {};

TEST_P(SnapshotSize, KeepsAtMostOneSnapshotAndSkipsTheRest) {
    const std::int32_t size = GetParam();
    auto entries = entries_with_statuses({0, 1, 0});
    for (std::size_t n = 0; n < entries.size(); ++n) {
        entries[n].snapshot = pattern(static_cast<int>(n) + 40, static_cast<std::size_t>(size));
    }
    Image header = make_header();
    header.i32(hdr::kSnapshotSize, size);
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(test_file(header, entries).view(), record, report).ok());
    // expect_raw_prefix compares the first 68 bytes, zero-padded.
    expect_raw_prefix(record, entries, 3);
    EXPECT_FALSE(report.damaged);
}

INSTANTIATE_TEST_SUITE_P(ReadDamagedFile, SnapshotSize, testing::Values(0, 1, 60, 68, 69, 100));

TEST(ReadDamagedFile, SnapshotSizeNegativeOrBeyondTheFileIsDamage) {
    const auto entries = entries_with_statuses({0, 0});
    const std::size_t file_size = test_file(make_header(), entries).size();
    for (std::int32_t size : {-1, -68, INT32_MIN, 0x7fffffff, static_cast<int>(file_size) + 1}) {
        SCOPED_TRACE(size);
        Image header = make_header();
        header.i32(hdr::kSnapshotSize, size);
        {
            TestRecord record;
            ReadReport report;
            Status status = read(test_file(header, entries).view(), record, report);
            EXPECT_FALSE(status.ok());
            EXPECT_FALSE(status.message().empty());
        }
        {
            // The sample points of an analysis file survive a broken raw part.
            Image file = analysis_file(3, kVersionAnalysis, header, {sample_point(0, 0, 0, 1)});
            append_raw_part(file, 0, 1, entries);
            TestRecord record;
            ReadReport report;
            ASSERT_TRUE(read(file.view(), record, report).ok());
            EXPECT_EQ(record.grades.total_readings(), 1);
            EXPECT_EQ(record.raw_count(), 0);
            EXPECT_TRUE(report.damaged);
            EXPECT_FALSE(report.notices.empty());
        }
    }
}

}  // namespace
}  // namespace kvd
