#include "record/test_file_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text_codec.h"
#include "record/file_fixtures.h"

namespace kvd {
namespace {

using namespace fixture;

TEST(ReadAnalysisFile, SplitsGradesWhereverTheGradeNumberChanges) {
    // Numbers need not be consecutive; a number that comes back starts a new grade.
    const std::vector<Point> points = {
        sample_point(0, 0, 0, 1),   sample_point(0, 0, 5, 2),   sample_point(2, 100, 0, 3),
        sample_point(2, 100, 5, 4), sample_point(2, 100, 9, 5), sample_point(5, 200, 0, 6),
        sample_point(2, 300, 0, 7), sample_point(2, 300, 4, 8), sample_point(-1, 50, 0, 9, 0)};
    Image file = analysis_file(2, kVersionAnalysis, make_header(), points);
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(file.view(), record, report).ok());

    EXPECT_EQ(record.opened_kind, FileKind::kAnalysis);
    EXPECT_EQ(record.save_kind, FileKind::kAnalysis);
    const std::vector<int> sizes = {2, 3, 1, 2, 1};
    ASSERT_EQ(record.grades.grade_count(), 5);
    std::size_t next = 0;
    for (int g = 0; g < 5; ++g) {
        ASSERT_EQ(record.grades.reading_count(g), sizes[static_cast<std::size_t>(g)]);
        for (int i = 0; i < sizes[static_cast<std::size_t>(g)]; ++i, ++next) {
            // Stored grade numbers, minutes and settlements are kept as they stand.
            EXPECT_EQ(bytes_of(*record.grades.get_reading(g, i)), encode(points[next]));
        }
    }
    EXPECT_EQ(record.raw_count(), 0);
    EXPECT_EQ(record.mod_count(), 0);
    EXPECT_FALSE(report.damaged);
    EXPECT_FALSE(report.uploadable);
    EXPECT_TRUE(report.notices.empty());
}

TEST(ReadAnalysisFile, ReplacesTheWholeRecordEvenWhenTheFirstGradeIsNumberedMinusOne) {
    Image with_raw = analysis_file(3, kVersionAnalysis, make_header(), {sample_point(0, 0, 0, 1)});
    append_raw_part(with_raw, 3, 1, entries_with_statuses({1, 0}));
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(with_raw.view(), record, report).ok());
    ASSERT_EQ(record.raw_count(), 2);

    const Image plain = analysis_file(
        2, kVersionAnalysis, make_header(),
        {sample_point(-1, 0, 0, 1), sample_point(-1, 0, 5, 2), sample_point(0, 9, 0, 3)});
    ASSERT_TRUE(read(plain.view(), record, report).ok());
    EXPECT_EQ(record.raw_count(), 0);
    EXPECT_EQ(record.mod_count(), 0);
    EXPECT_TRUE(record.param_snapshots.empty());
    EXPECT_EQ(record.opened_kind, FileKind::kAnalysis);
    ASSERT_EQ(record.grades.grade_count(), 2);
    EXPECT_EQ(record.grades.reading_count(0), 2);
    EXPECT_EQ(record.instrument_params.reading_count, 0);
}

TEST(ReadAnalysisFile, HeaderFieldsReachTheParameterBlocks) {
    Image header = make_header();
    header.text(hdr::kSiteName, utf8_to_gbk("城南工地"));
    header.u8(hdr::kInUse + 1, 1).u8(hdr::kAveraged + 1, 1);  // channel 2: anchor pile
    header.u8(hdr::kAveraged + 2, 1);                         // channel 3: averaged, unused
    header.u8(hdr::kTestObject, 1).u8(hdr::kPressureUnit, 1).f32(hdr::kPlateArea, 0.5f);
    header.i32(hdr::kDirectionKind, 2).i32(hdr::kXAxisMax, 300);
    header.u16(hdr::kLoadIntervals + 22, 45).u16(hdr::kUnloadIntervals + 2, 20);
    header.text(hdr::kInstrumentNumber, "INS-9").u8(hdr::kLoadSensorType, 1);
    Image file = analysis_file(2, kVersionAnalysis, header, {sample_point(0, 0, 0, 1)});

    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(file.view(), record, report).ok());
    const TestParams& p = record.test_params;
    EXPECT_EQ(p.site_name, "城南工地");
    EXPECT_EQ(p.pile_number, "P-7");
    EXPECT_EQ(p.channel_role[0], ChannelRole::kTestPile);
    EXPECT_EQ(p.channel_role[1], ChannelRole::kAnchorPile);
    EXPECT_EQ(p.channel_role[2], ChannelRole::kUnused);
    EXPECT_EQ(p.channel_role[3], ChannelRole::kUnused);
    EXPECT_EQ(p.load_intervals[11], 45);
    EXPECT_EQ(p.unload_intervals[1], 20);
    EXPECT_EQ(p.load_intervals[1], 5);
    EXPECT_TRUE(p.in_kpa());
    EXPECT_TRUE(p.is_uplift());
    EXPECT_DOUBLE_EQ(p.plate_area, 0.5);
    EXPECT_EQ(p.x_axis_max, 300);
    EXPECT_EQ(record.instrument_params.instrument_number, "INS-9");
    EXPECT_EQ(record.instrument_params.pressure_route, 1);
    EXPECT_EQ(record.instrument_params.force_route, 0);
    EXPECT_EQ(record.instrument_params.test_code, 4);
}

TEST(ReadAnalysisFile, KindThreeGivesEachChangedReadingItsOwnBlock) {
    const std::vector<Point> points = {sample_point(0, 0, 0, 1), sample_point(1, 100, 0, 2)};
    const auto entries = entries_with_statuses({0, 1, 2, 1, 0});
    Image file = analysis_file(3, kVersionAnalysis, make_header(), points);
    append_raw_part(file, 6, 4, entries);

    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(file.view(), record, report).ok());
    EXPECT_EQ(record.opened_kind, FileKind::kAnalysisWithRaw);
    EXPECT_EQ(record.grades.grade_count(), 2);
    expect_raw_prefix(record, entries, 5);
    EXPECT_FALSE(report.damaged);
    // An analysis file of this version is not uploadable; the upload fields stay.
    EXPECT_FALSE(report.uploadable);
    EXPECT_EQ(record.header.upload_progress, 7);
    EXPECT_EQ(record.header.upload_state, 50);
}

TEST(ReadAnalysisFile, ModificationCountDecidesHowManyBlocksExist) {
    const auto entries = entries_with_statuses({0, 1, 0, 1, 0});
    auto read_with_count = [&](std::int32_t mod_count, TestRecord& record, ReadReport& report) {
        Image file = analysis_file(3, kVersionAnalysis, make_header(), {sample_point(0, 0, 0, 1)});
        append_raw_part(file, mod_count, 4, entries);
        return read(file.view(), record, report);
    };
    {
        // Room for one block only: the second changed reading is damage and
        // reading stops before it.
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read_with_count(3, record, report).ok());
        expect_raw_prefix(record, entries, 3);
        EXPECT_TRUE(report.damaged);
        ASSERT_FALSE(report.notices.empty());
    }
    {
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read_with_count(0, record, report).ok());
        expect_raw_prefix(record, entries, 1);
        EXPECT_TRUE(report.damaged);
    }
    {
        // A count larger than the blocks present: the count after reading is
        // what was read.
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read_with_count(30, record, report).ok());
        expect_raw_prefix(record, entries, 5);
        EXPECT_EQ(record.mod_count(), 6);
    }
    {
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read_with_count(-3, record, report).ok());
        expect_raw_prefix(record, entries, 1);
        EXPECT_TRUE(report.damaged);
    }
}

TEST(ReadTestFile, BuildsGradesFromTheRawReadings) {
    Image header = make_header();
    // Channel 1 and 4 count; channel 2 is an anchor pile, channel 3 not in use.
    header.u8(hdr::kInUse + 1, 1).u8(hdr::kAveraged + 1, 1);
    header.u8(hdr::kAveraged + 2, 1);
    header.u8(hdr::kInUse + 3, 1).u8(hdr::kTestPile + 3, 1).u8(hdr::kAveraged + 3, 1);
    const std::vector<std::int32_t> tester_grades = {1, 1, 2, 2, 2, 6, 6, 2};
    std::vector<RawEntry> entries;
    for (std::size_t n = 0; n < tester_grades.size(); ++n) {
        entries.push_back(sample_entry(static_cast<int>(n), tester_grades[n]));
    }
    entries[7].raw.loading = 0;
    Image file = test_file(header, entries);

    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(file.view(), record, report).ok());
    EXPECT_EQ(record.opened_kind, FileKind::kTestFile);
    EXPECT_EQ(record.save_kind, FileKind::kTestFile);
    expect_raw_prefix(record, entries, 8);

    const CTestData& grades = record.grades;
    ASSERT_EQ(grades.grade_count(), 4);
    const std::vector<int> sizes = {2, 3, 2, 1};
    // The first grade has load 0; each later grade the nominal load of its first reading.
    const std::vector<int> loads = {0, entries[2].raw.grade_load, entries[5].raw.grade_load,
                                    entries[7].raw.grade_load};
    const std::vector<std::vector<int>> minutes = {{0, 5}, {0, 5, 15}, {0, 5}, {0}};
    std::size_t r = 0;
    for (int g = 0; g < 4; ++g) {
        ASSERT_EQ(grades.reading_count(g), sizes[static_cast<std::size_t>(g)]);
        for (int i = 0; i < sizes[static_cast<std::size_t>(g)]; ++i, ++r) {
            const SamplePoint p = *grades.get_reading(g, i);
            EXPECT_EQ(p.grade, g);
            EXPECT_EQ(p.load, loads[static_cast<std::size_t>(g)]);
            EXPECT_EQ(p.loading, entries[r].raw.loading);
            EXPECT_EQ(p.minutes, minutes[static_cast<std::size_t>(g)][static_cast<std::size_t>(i)]);
            // Every grade starts where the previous one ended.
            const bool repeat = i == 0 && g > 0;
            const Raw& source = repeat ? entries[r - 1].raw : entries[r].raw;
            // Channels 1 and 4 hold n + 0.001 and n + 0.031: their mean n + 0.016
            // is rounded to two decimals, from the channels the reading holds
            // (a repeat's are those of the reading it repeats).
            const double n = static_cast<double>(repeat ? r - 1 : r);
            EXPECT_NEAR(p.settlement, n + 0.02, 1e-9) << "reading " << r;
            EXPECT_EQ(std::memcmp(p.channel, source.channel, sizeof p.channel), 0) << r;
        }
    }
    EXPECT_FALSE(report.damaged);
}

TEST(ReadTestFile, UploadNeedsVersionKindAndTwoReadings) {
    struct Case {
        double version;
        std::int32_t kind;
        std::size_t readings;
        bool uploadable;
    };
    const Case cases[] = {
        {kVersionUploadable, 1, 2, true}, {kVersionTest, 1, 3, true},
        {2013.0925, 1, 2, false},         {kVersionTest, 1, 1, false},
        {kVersionUploadable, 3, 2, true}, {kVersionUploadable, 2, 0, false},
    };
    for (const Case& c : cases) {
        std::vector<RawEntry> entries;
        for (std::size_t n = 0; n < c.readings; ++n) entries.push_back(sample_entry(int(n), 1));
        Image file;
        if (c.kind == 1) {
            file = test_file(make_header(), entries, c.version);
        } else {
            file = analysis_file(c.kind, c.version, make_header(), {sample_point(0, 0, 0, 1)});
            if (c.kind == 3) append_raw_part(file, 0, int(c.readings) - 1, entries);
        }
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        SCOPED_TRACE(testing::Message() << c.version << " kind " << c.kind << " R " << c.readings);
        EXPECT_EQ(report.uploadable, c.uploadable);
        EXPECT_EQ(record.header.upload_progress, c.uploadable ? 0 : 7);
        EXPECT_EQ(record.header.upload_state, c.uploadable ? 0 : 50);
    }
}

TEST(ReadTestFile, StoredLastIndexZeroMeansOneReading) {
    const std::vector<RawEntry> one = {sample_entry(3, 1)};
    {
        // The header comes after the counts in a test file; it is read too.
        Image file = test_file(kVersionTest, 0, 0, 0, make_header(), one);
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        expect_raw_prefix(record, one, 1);
        EXPECT_EQ(record.test_params.site_name, "Site A");
        EXPECT_EQ(record.grades.total_readings(), 1);
        EXPECT_FALSE(report.damaged);
    }
    {
        Image file = analysis_file(3, kVersionAnalysis, make_header(), {sample_point(0, 0, 0, 1)});
        append_raw_part(file, 0, 0, one);
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        expect_raw_prefix(record, one, 1);
    }
}

TEST(ReadTestFile, NoReadingsOrNegativeCounts) {
    {
        // R - 1 = -1: no readings, but the header is there; trailing bytes are ignored.
        Image file = test_file(kVersionTest, 0, 0, -1, make_header(), {sample_entry(1, 1)});
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(file.view(), record, report).ok());
        EXPECT_EQ(record.raw_count(), 0);
        EXPECT_EQ(record.grades.grade_count(), 0);
        EXPECT_EQ(record.test_params.site_name, "Site A");
        EXPECT_FALSE(report.damaged);
    }
    for (std::int32_t last_index : {-2, -7, INT32_MIN}) {
        Image file = test_file(kVersionTest, 0, 0, last_index, make_header(), {sample_entry(1, 1)});
        TestRecord record;
        ReadReport report;
        Status status = read(file.view(), record, report);
        if (status.ok()) {
            EXPECT_EQ(record.raw_count(), 0);
        }
        EXPECT_TRUE(report.damaged) << last_index;
    }
    {
        Image file =
            analysis_file(2, kVersionAnalysis, make_header(), {sample_point(0, 0, 0, 1)}, -5);
        TestRecord record;
        ReadReport report;
        Status status = read(file.view(), record, report);
        if (status.ok()) {
            EXPECT_EQ(record.grades.total_readings(), 0);
        }
        EXPECT_TRUE(report.damaged);
    }
}

TEST(ReadFile, LegacyVersionsAreRefusedWithAMessage) {
    for (double version : {2013.0826, 2013.0411, 2013.05, 2012.0}) {
        for (std::int32_t kind : {1, 3}) {
            Image file = kind == 1
                             ? test_file(make_header(), {sample_entry(0, 1)}, version)
                             : analysis_file(3, version, make_header(), {sample_point(0, 0, 0, 1)});
            TestRecord record;
            ReadReport report;
            Status status = read(file.view(), record, report);
            EXPECT_FALSE(status.ok()) << version;
            EXPECT_NE(status.message().find("无法打开"), std::string::npos);
        }
    }
    // The first version after the legacy ones has the current layout.
    Image file = test_file(make_header(), {sample_entry(0, 1)}, 2013.0827);
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(file.view(), record, report).ok());
    EXPECT_EQ(record.raw_count(), 1);
}

TEST(ReadFile, FilesOfNoKnownKindAreRefused) {
    for (const Image& file : {Image(0), Image().text(0, "hello world, not a test file"),
                              make_prefix(4, kVersionAnalysis), make_prefix(0, kVersionAnalysis)}) {
        TestRecord record;
        ReadReport report;
        Status status = read(file.view(), record, report);
        EXPECT_FALSE(status.ok());
        EXPECT_FALSE(status.message().empty());
    }
}

}  // namespace
}  // namespace kvd
