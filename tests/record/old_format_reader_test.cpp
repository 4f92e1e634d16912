#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/local_time.h"
#include "base/text_codec.h"
#include "record/file_fixtures.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

using namespace fixture;

OldReading old_reading(std::uint16_t grade, std::int16_t flag, double date, const char* clock,
                       std::int32_t grade_load, std::int32_t measured, float pressure,
                       std::initializer_list<float> channels) {
    OldReading r;
    r.grade = grade;
    r.flag = flag;
    r.date = date;
    r.clock = clock;
    r.grade_load = grade_load;
    r.measured_load = measured;
    r.pressure = pressure;
    std::size_t j = 0;
    for (float c : channels) r.channel[j++] = c;
    return r;
}

std::vector<OldReading> three_readings() {
    // 41500 days after 1899-12-30 is 2013-08-14; the fraction of a day is not used.
    return {old_reading(1, 1, 41500.75, "08:30:15", 100, 98, 3.5f, {1.234f, 2.345f, 1.005f, 7.5f}),
            old_reading(1, 5, 41500.0, "09:00:00", 100, 101, 3.75f, {2.0f, 0.015f}),
            old_reading(2, 0, 41501.0, "10:15:59", 200, 199, 7.25f, {3.14159f})};
}

std::string local_text(std::int64_t t) {
    return format_local_time(t, "%Y-%m-%d %H:%M:%S");
}

TEST(ReadOldFormat, KeepsEveryStoredReadingAfterAnInitialZeroLoadReading) {
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(old_format_file(3, three_readings()).view(), record, report).ok());
    EXPECT_EQ(record.opened_kind, FileKind::kOldTestFile);
    EXPECT_EQ(record.save_kind, FileKind::kOldTestFile);
    ASSERT_EQ(record.raw_count(), 4);
    EXPECT_EQ(record.mod_count(), 0);
    EXPECT_FALSE(report.damaged);
    // The parameters that could not be read are defaults, and the user is told.
    EXPECT_FALSE(report.notices.empty());

    const auto& raw = record.raw_readings;
    // Initial reading: the first stored one at grade 0 with every load zero.
    EXPECT_EQ(raw[0].grade, 0);
    EXPECT_EQ(raw[0].index, 0);
    EXPECT_EQ(raw[0].status, 0);
    EXPECT_EQ(raw[0].loading, 1);
    EXPECT_EQ(raw[0].grade_load, 0);
    EXPECT_EQ(raw[0].load_a, 0);
    EXPECT_EQ(raw[0].load_b, 0);
    EXPECT_EQ(raw[0].pressure_a, 0);
    EXPECT_EQ(raw[0].pressure_b, 0);
    EXPECT_EQ(local_text(raw[0].time), "2013-08-14 08:30:15");

    EXPECT_EQ(local_text(raw[1].time), "2013-08-14 08:30:15");
    EXPECT_EQ(local_text(raw[2].time), "2013-08-14 09:00:00");
    EXPECT_EQ(local_text(raw[3].time), "2013-08-15 10:15:59");
    const std::int32_t grades[] = {0, 1, 1, 2};
    const std::int32_t indexes[] = {0, 0, 1, 0};
    const std::int32_t loading[] = {1, 1, 1, 0};
    const std::int32_t grade_loads[] = {0, 100, 100, 200};
    const std::int32_t measured[] = {0, 98, 101, 199};
    const double pressure[] = {0, 3.5, 3.75, 7.25};
    for (std::size_t r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(raw[r].status, 0);
        EXPECT_EQ(raw[r].grade, grades[r]);
        EXPECT_EQ(raw[r].index, indexes[r]);
        EXPECT_EQ(raw[r].loading, loading[r]);
        EXPECT_EQ(raw[r].grade_load, grade_loads[r]);
        EXPECT_EQ(raw[r].load_a, measured[r]);
        EXPECT_EQ(raw[r].load_b, measured[r]);
        EXPECT_EQ(raw[r].pressure_a, 0);
        EXPECT_EQ(raw[r].pressure_b, pressure[r]);
        for (int j = 12; j < 16; ++j) EXPECT_EQ(raw[r].channel[j], 0);
    }
    // Channels carry exactly two decimals, as their "%.2f" text does.
    EXPECT_EQ(raw[0].channel[0], 1.23);
    EXPECT_EQ(raw[1].channel[0], 1.23);
    EXPECT_EQ(raw[1].channel[1], 2.35);
    EXPECT_EQ(raw[1].channel[2], 1.0);
    EXPECT_EQ(raw[1].channel[3], 7.5);
    EXPECT_EQ(raw[2].channel[1], 0.01);
    EXPECT_EQ(raw[3].channel[0], 3.14);
}

TEST(ReadOldFormat, GradesKeepTheStoredGradeNumbersAndLoads) {
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(old_format_file(3, three_readings()).view(), record, report).ok());
    const CTestData& grades = record.grades;
    ASSERT_EQ(grades.grade_count(), 3);
    EXPECT_EQ(grades.reading_count(0), 1);
    EXPECT_EQ(grades.reading_count(1), 2);
    EXPECT_EQ(grades.reading_count(2), 1);
    EXPECT_EQ(grades.get_reading(1, 1)->grade, 1);
    EXPECT_EQ(grades.get_reading(2, 0)->grade, 2);
    EXPECT_EQ(grades.first_load(0), 0);
    EXPECT_EQ(grades.first_load(1), 100);
    EXPECT_EQ(grades.first_load(2), 200);
    EXPECT_EQ(grades.get_reading(1, 1)->minutes, 5);
    // Averaged over channel 1, the only averaged channel of the defaults.
    EXPECT_DOUBLE_EQ(grades.last_settlement(1), 2.0);
    EXPECT_DOUBLE_EQ(grades.last_settlement(2), 3.14);

    // The header describes what was assumed.
    EXPECT_EQ(read_gbk_field(record.header.format_tag), "MEYPTX");
    EXPECT_EQ(read_gbk_field(record.header.instrument_number), "000");
    EXPECT_EQ(record.header.direction_kind, 1);
    EXPECT_EQ(record.header.load_intervals[1], 5);
    EXPECT_EQ(record.header.unload_intervals[4], 180);
    EXPECT_EQ(record.test_params.channel_role[0], ChannelRole::kTestPile);
    EXPECT_EQ(record.instrument_params.reading_count, 4);
}

TEST(ReadOldFormat, ShortFilesKeepTheirCompleteReadings) {
    const auto readings = three_readings();
    const Image whole = old_format_file(5, readings);  // claims 5, holds 3
    {
        TestRecord record;
        ReadReport report;
        ASSERT_TRUE(read(whole.view(), record, report).ok());
        EXPECT_EQ(record.raw_count(), 4);
        EXPECT_TRUE(report.damaged);
        EXPECT_EQ(report.claimed_readings, 5);
        EXPECT_EQ(report.recovered_readings, 3);
    }
    long long previous = 0;
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        TestRecord record;
        ReadReport report;
        Status status = read(whole.prefix(cut), record, report);
        const long long held = cut < 1428 ? 0 : static_cast<long long>((cut - 1428) / 84);
        if (held == 0) {
            EXPECT_FALSE(status.ok()) << cut;
            continue;
        }
        ASSERT_TRUE(status.ok()) << cut;
        EXPECT_EQ(record.raw_count(), held + 1) << cut;
        EXPECT_GE(held, previous);
        previous = held;
    }
    TestRecord record;
    ReadReport report;
    EXPECT_FALSE(read(old_format_file(0, readings).view(), record, report).ok());
}

TEST(ReadOldFormat, NonsenseDatesAndClocksDoNotFail) {
    auto readings = three_readings();
    readings[0].date = std::numeric_limits<double>::quiet_NaN();
    readings[0].clock = "ab:cd:ef";
    readings[1].date = -1e300;
    readings[2].date = 1e300;
    readings[2].clock = "99:99:99";
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read(old_format_file(3, readings).view(), record, report).ok());
    EXPECT_EQ(record.raw_count(), 4);
}

}  // namespace
}  // namespace kvd
