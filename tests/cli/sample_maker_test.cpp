#include "cli/sample_maker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "base/text_codec.h"
#include "record/file_classifier.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

// Offsets of the test file layout, written out here rather than taken from
// the reader so that the sample is checked against the layout itself.
constexpr std::size_t kKindAt = 18;
constexpr std::size_t kUnfinishedAt = 256;
constexpr std::size_t kModCountAt = 260;
constexpr std::size_t kLastIndexAt = 264;
constexpr std::size_t kFirstReadingAt = 1908;
constexpr std::size_t kRawSize = 184;
constexpr std::size_t kSnapshotBytes = 68;

template <class T>
T at(const Bytes& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

Bytes sample_file(SampleType type, std::uint64_t seed = 1, int readings = 0) {
    Bytes bytes;
    SampleOptions options;
    options.type = type;
    options.seed = seed;
    options.readings = readings;
    EXPECT_TRUE(make_sample_file(options, bytes).ok());
    return bytes;
}

TestRecord read_back(const Bytes& bytes) {
    TestRecord record;
    ReadReport report;
    Status status = read_record(bytes, record, report);
    EXPECT_TRUE(status.ok()) << status.message();
    EXPECT_FALSE(report.damaged);
    return record;
}

// Walks the raw part as the layout describes it: reading, the block of a
// status-1 reading, snapshot. Returns the number of status-1 readings and
// checks that the walk ends exactly at the end of the file.
int walk_raw_part(const Bytes& bytes) {
    const int readings = at<std::int32_t>(bytes, kLastIndexAt) + 1;
    std::size_t offset = kFirstReadingAt;
    int modified = 0;
    for (int r = 0; r < readings; ++r) {
        EXPECT_LE(offset + kRawSize, bytes.size());
        if (offset + kRawSize > bytes.size()) return modified;
        const bool changed = at<std::int32_t>(bytes, offset + 8) == 1;
        modified += changed ? 1 : 0;
        offset += kRawSize + (changed ? 3 * kRawSize : 0) + kSnapshotBytes;
    }
    EXPECT_EQ(offset, bytes.size());
    return modified;
}

TEST(SampleMakerTest, SameSeedSameBytesOtherSeedOtherTest) {
    for (SampleType type : {SampleType::kCompression, SampleType::kUplift, SampleType::kPlate,
                            SampleType::kUnfinished}) {
        EXPECT_EQ(sample_file(type, 7), sample_file(type, 7));
        EXPECT_NE(sample_file(type, 7), sample_file(type, 8));
    }
    EXPECT_EQ(sample_file(SampleType::kCompression, 3, 2500),
              sample_file(SampleType::kCompression, 3, 2500));
}

TEST(SampleMakerTest, FileFollowsTheTestFileLayoutAndReadsBack) {
    for (SampleType type : {SampleType::kCompression, SampleType::kUplift, SampleType::kPlate,
                            SampleType::kUnfinished}) {
        const Bytes bytes = sample_file(type, 5);
        ASSERT_GT(bytes.size(), kFirstReadingAt);
        EXPECT_EQ(std::memcmp(bytes.data(), "VXRAC\0", 6), 0);
        EXPECT_EQ(at<std::int32_t>(bytes, kKindAt), 1);
        const bool unfinished = type == SampleType::kUnfinished;
        EXPECT_EQ(at<std::int32_t>(bytes, kUnfinishedAt), unfinished ? 1 : 0);
        EXPECT_EQ(classify_file(bytes).file_class,
                  unfinished ? FileClass::kUnfinished : FileClass::kReadable);

        const int modified = walk_raw_part(bytes);
        EXPECT_GE(modified, 2);
        EXPECT_EQ(at<std::int32_t>(bytes, kModCountAt), 3 * modified);

        const TestRecord record = read_back(bytes);
        EXPECT_EQ(record.opened_kind, FileKind::kTestFile);
        EXPECT_EQ(record.raw_count(), at<std::int32_t>(bytes, kLastIndexAt) + 1);
        EXPECT_EQ(record.grades.total_readings(), record.raw_count());
        EXPECT_EQ(record.header.snapshot_size, 68);
        EXPECT_EQ(read_gbk_field(record.header.format_tag), "VXRAC");
    }
}

TEST(SampleMakerTest, ExactReadingCountWhenAsked) {
    for (int wanted : {1, 2, 9, 60, 400, 3001}) {
        for (SampleType type :
             {SampleType::kCompression, SampleType::kPlate, SampleType::kUnfinished}) {
            const Bytes bytes = sample_file(type, 11, wanted);
            EXPECT_EQ(at<std::int32_t>(bytes, kLastIndexAt), wanted - 1) << wanted;
            walk_raw_part(bytes);
            const TestRecord record = read_back(bytes);
            EXPECT_EQ(record.raw_count(), wanted);
        }
    }
    const Bytes big = sample_file(SampleType::kCompression, 1, 100000);
    EXPECT_EQ(at<std::int32_t>(big, kLastIndexAt), 99999);
    const TestRecord record = read_back(big);
    EXPECT_EQ(record.grades.total_readings(), 100000);
    for (int g = 1; g < record.grades.loading_grade_count(); ++g) {
        EXPECT_GT(record.grades.first_load(g), record.grades.first_load(g - 1));
    }
    EXPECT_EQ(record.grades.first_load(record.grades.loading_grade_count() - 1), 3000);

    Bytes refused{1, 2, 3};
    SampleOptions too_many;
    too_many.readings = kMaxSampleReadings + 1;
    EXPECT_FALSE(make_sample_file(too_many, refused).ok());
    EXPECT_TRUE(refused.empty());
}

// Loads rise through the loading grades from 0 to the maximum; within and
// across loading grades the settlement only grows; unloading rebounds.
void expect_plausible_grades(const TestRecord& record, bool complete) {
    const CTestData& grades = record.grades;
    const int loading = grades.loading_grade_count();
    ASSERT_GE(loading, 3);
    EXPECT_EQ(grades.first_load(0), 0);
    double previous = 0;
    for (int g = 0; g < loading; ++g) {
        if (g > 0) {
            EXPECT_GT(grades.first_load(g), grades.first_load(g - 1));
        }
        for (const SamplePoint& point : grades.grade(g)->points()) {
            EXPECT_GE(point.settlement, previous) << "grade " << g;
            previous = point.settlement;
        }
    }
    EXPECT_GT(previous, 1.0);
    if (complete) {
        EXPECT_EQ(grades.first_load(loading - 1), record.header.max_load);
    }
    for (int g = loading; g < grades.grade_count(); ++g) {
        EXPECT_LT(grades.first_load(g), grades.first_load(g - 1));
        for (const SamplePoint& point : grades.grade(g)->points()) {
            EXPECT_LE(point.settlement, previous) << "grade " << g;
            previous = point.settlement;
        }
    }
}

// Settlement at a given minute of a grade, from the reading on the schedule.
double settlement_at(const COneGradeData& grade, int minutes) {
    for (const SamplePoint& point : grade.points()) {
        if (point.minutes == minutes) return point.settlement;
    }
    ADD_FAILURE() << "no reading at minute " << minutes;
    return 0;
}

TEST(SampleMakerTest, CompressionTestLooksLikeTheTestersFile) {
    const TestRecord record = read_back(sample_file(SampleType::kCompression, 2));
    const TestHeader& h = record.header;
    EXPECT_EQ(read_gbk_field(h.test_method), "JGJ106-2014 单桩竖向抗压静载试验");
    EXPECT_EQ(read_gbk_field(h.pile_number), "S-12");
    EXPECT_FALSE(read_gbk_field(h.site_name).empty());
    EXPECT_EQ(h.direction_kind, 1);
    EXPECT_EQ(h.test_type, 0);
    EXPECT_EQ(h.load_sensor_type, 1);
    EXPECT_EQ(h.loading_grades, 10);
    EXPECT_EQ(h.first_multiple, 2);
    EXPECT_EQ(h.unloading_grades, 5);

    // Grade 0 is the zero reading; then 600 ... 3000 kN in steps of 300.
    const CTestData& grades = record.grades;
    ASSERT_EQ(grades.loading_grade_count(), 10);
    ASSERT_EQ(grades.grade_count(), 15);
    for (int g = 1; g < 10; ++g) EXPECT_EQ(grades.first_load(g), 300 + 300 * g);
    for (int g = 10; g < 15; ++g) EXPECT_EQ(grades.first_load(g), 3000 - 600 * (g - 9));
    expect_plausible_grades(record, true);

    // Each loading grade is held until two hourly settlements stay under 0.1 mm.
    for (int g = 1; g < 10; ++g) {
        const COneGradeData& grade = *grades.grade(g);
        const int end = grade.back().minutes;
        ASSERT_GE(end, 120) << "grade " << g;
        EXPECT_LT(settlement_at(grade, end) - settlement_at(grade, end - 60), 0.1) << g;
        EXPECT_LT(settlement_at(grade, end - 30) - settlement_at(grade, end - 90), 0.1) << g;
    }
    // Unloading grades: an hour each, three hours for the last.
    for (int g = 10; g < 14; ++g) EXPECT_EQ(grades.last_minutes(g), 60);
    EXPECT_EQ(grades.last_minutes(14), 180);

    // Test-pile gauges read one settlement with small differences; anchor
    // gauges lift a little; the other channels are unused and zero.
    const TestParams& params = record.test_params;
    for (int j = 0; j < kChannelCount; ++j) {
        const ChannelRole role = j < 4   ? ChannelRole::kTestPile
                                 : j < 6 ? ChannelRole::kAnchorPile
                                         : ChannelRole::kUnused;
        EXPECT_EQ(params.channel_role[j], role) << j;
        EXPECT_EQ(params.averaged[j], j < 4 ? 1 : 0) << j;
    }
    const SamplePoint top = grades.grade(9)->back();
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(top.channel[j], top.settlement, 0.1 * top.settlement);
    for (int j = 4; j < 6; ++j) {
        EXPECT_GT(top.channel[j], 0.5);
        EXPECT_LT(top.channel[j], top.settlement / 2);
    }
    for (int j = 6; j < kChannelCount; ++j) EXPECT_EQ(top.channel[j], 0.0);
}

TEST(SampleMakerTest, RawReadingsFollowTheScheduleWithStatusWordsAndLog) {
    const TestRecord record = read_back(sample_file(SampleType::kCompression, 4));
    const auto& raw = record.raw_readings;
    const double piston = 2 * 3.14159265 * 0.16 * 0.16;  // two jacks of 320 mm bore, m²
    std::set<int> statuses;
    int early = 0;
    std::int64_t grade_start = raw[0].time;
    int modified = 0;
    for (std::size_t r = 0; r < raw.size(); ++r) {
        statuses.insert(raw[r].status);
        if (r > 0) {
            EXPECT_GT(raw[r].time, raw[r - 1].time) << r;
            if (raw[r].grade != raw[r - 1].grade) {
                EXPECT_EQ(raw[r].index, 0);
                grade_start = raw[r].time;
            } else {
                EXPECT_EQ(raw[r].index, raw[r - 1].index + 1);
            }
        }
        // Planned minutes of the schedule, give or take the operator.
        const int planned =
            record.grades.grade(static_cast<int>(raw[r].grade))->get(raw[r].index)->minutes;
        const std::int64_t offset = raw[r].time - grade_start - 60 * planned;
        EXPECT_GE(offset, -150) << r;
        EXPECT_LE(offset, 240) << r;
        early += offset < -30 ? 1 : 0;
        if (raw[r].grade_load > 0) {
            EXPECT_NEAR(raw[r].load_a, raw[r].grade_load, 0.03 * raw[r].grade_load);
            EXPECT_NEAR(raw[r].pressure_a, raw[r].load_a / piston / 1000, 0.02);
        }
        if (raw[r].status == kStatusModified) {
            // Before, at and after the change; the stored reading is the last.
            const RawReading* block = &record.mod_blocks[3 * static_cast<std::size_t>(modified)];
            EXPECT_EQ(std::memcmp(&block[2], &raw[r], sizeof(RawReading)), 0);
            EXPECT_EQ(block[0].time, raw[r].time);
            EXPECT_GT(block[1].time, raw[r].time);
            EXPECT_NE(std::memcmp(block[0].channel, raw[r].channel, sizeof raw[r].channel), 0);
            ++modified;
        }
    }
    EXPECT_GE(early, 1);
    EXPECT_EQ(statuses, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_GE(modified, 2);
    EXPECT_EQ(record.mod_count(), 3 * modified);

    // One snapshot per reading; the operator changed a parameter mid-test.
    ASSERT_EQ(record.param_snapshots.size(), raw.size());
    const ReadingParams& first = record.param_snapshots.front();
    const ReadingParams& last = record.param_snapshots.back();
    EXPECT_NE(std::memcmp(&first, &last, sizeof first), 0);
    const ReadingParams current = snapshot_from_header(record.header);
    EXPECT_EQ(std::memcmp(&last, &current, sizeof last), 0);
}

TEST(SampleMakerTest, UpliftPlateAndUnfinishedTests) {
    const TestRecord uplift = read_back(sample_file(SampleType::kUplift, 3));
    EXPECT_EQ(uplift.header.direction_kind, 2);
    EXPECT_EQ(uplift.header.test_type, 1);
    EXPECT_EQ(uplift.header.test_code, 1);
    EXPECT_EQ(read_gbk_field(uplift.header.test_method), "JGJ106-2014 单桩竖向抗拔静载试验");
    EXPECT_TRUE(uplift.test_params.is_uplift());
    expect_plausible_grades(uplift, true);

    const TestRecord plate = read_back(sample_file(SampleType::kPlate, 3));
    EXPECT_EQ(plate.header.test_object, 1);
    EXPECT_EQ(plate.header.pressure_unit, 1);
    EXPECT_FLOAT_EQ(plate.header.plate_area, 0.5f);
    EXPECT_EQ(plate.header.test_code, 5);
    EXPECT_EQ(read_gbk_field(plate.header.pile_number), "T-3");
    EXPECT_EQ(read_gbk_field(plate.header.test_method), "GB50007-2011 浅层平板载荷试验");
    EXPECT_TRUE(plate.test_params.in_kpa());
    expect_plausible_grades(plate, true);
    EXPECT_EQ(plate.grades.grade_count(), plate.grades.loading_grade_count());
    EXPECT_EQ(plate.grades.first_load(1), 50);  // kPa
    EXPECT_EQ(plate.grades.first_load(plate.grades.grade_count() - 1), 400);

    const TestRecord unfinished = read_back(sample_file(SampleType::kUnfinished, 3));
    const TestRecord finished = read_back(sample_file(SampleType::kCompression, 3));
    expect_plausible_grades(unfinished, false);
    EXPECT_EQ(unfinished.grades.grade_count(), unfinished.grades.loading_grade_count());
    EXPECT_LT(unfinished.grades.grade_count(), finished.grades.loading_grade_count());
    EXPECT_LT(unfinished.grades.first_load(unfinished.grades.grade_count() - 1),
              unfinished.header.max_load);
}

}  // namespace
}  // namespace kvd
