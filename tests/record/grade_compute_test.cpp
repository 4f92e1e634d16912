#include "record/grade_compute.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>

namespace kvd {
namespace {

SamplePoint make_point(int grade, int loading, int load, double settlement = 0, int minutes = 0,
                       std::initializer_list<double> channels = {}) {
    SamplePoint p{};
    p.grade = grade;
    p.loading = loading;
    p.load = load;
    p.settlement = settlement;
    p.minutes = minutes;
    int j = 0;
    for (double c : channels) p.channel[j++] = c;
    return p;
}

TestParams params_with(std::initializer_list<std::pair<ChannelRole, int>> channels) {
    TestParams p = TestParams::defaults(0);
    p.channel_role.fill(ChannelRole::kUnused);
    p.averaged.fill(0);
    int j = 0;
    for (auto [role, averaged] : channels) {
        p.channel_role[static_cast<std::size_t>(j)] = role;
        p.averaged[static_cast<std::size_t>(j++)] = averaged;
    }
    return p;
}

TEST(AverageSettlement, RoundsTheMeanOfTheAveragedTestPileChannels) {
    constexpr auto kPile = ChannelRole::kTestPile;
    constexpr auto kAnchor = ChannelRole::kAnchorPile;
    constexpr auto kUnused = ChannelRole::kUnused;
    const SamplePoint p = make_point(0, 1, 0, 0, 0, {1.234, 1.235, 50.0, -40.0, 9.0});
    // 1.2345 goes to 1.23: the half is added before truncation, not after.
    EXPECT_DOUBLE_EQ(average_settlement(p.channel, params_with({{kPile, 1}, {kPile, 1}})), 1.23);
    // An anchor pile channel and an unused channel never count, averaged or not;
    // a test pile channel that is not averaged does not either.
    EXPECT_DOUBLE_EQ(
        average_settlement(
            p.channel,
            params_with({{kPile, 1}, {kPile, 1}, {kAnchor, 1}, {kUnused, 1}, {kPile, 0}})),
        1.23);
    EXPECT_DOUBLE_EQ(average_settlement(p.channel, params_with({{kAnchor, 1}, {kUnused, 1}})), 0);
    EXPECT_DOUBLE_EQ(average_settlement(p.channel, params_with({})), 0);

    const SamplePoint negative = make_point(0, 1, 0, 0, 0, {-1.2351});
    EXPECT_DOUBLE_EQ(average_settlement(negative.channel, params_with({{kPile, 1}})), -1.24);

    // recompute_averages applies the rule to every reading of every grade.
    CTestData grades;
    grades.append_grade().append(p);
    grades.append_grade().append(negative);
    recompute_averages(grades, params_with({{kPile, 1}}));
    EXPECT_DOUBLE_EQ(grades.last_settlement(0), 1.23);
    EXPECT_DOUBLE_EQ(grades.last_settlement(1), -1.24);
}

TEST(RecomputeMinutes, AddsTheIntervalOfEachReadingsIndexAndFlag) {
    TestParams params = TestParams::defaults(0);
    params.load_intervals = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 100};
    params.unload_intervals = {0, 1000, 2000, 3000, 3000, 3000, 3000, 3000, 3000, 3000, 3000, 3000};
    CTestData grades;
    COneGradeData& first = grades.append_grade();
    for (int i = 0; i < 14; ++i) first.append(make_point(0, 1, 0, 0.5, -1, {double(i), 0.25}));
    COneGradeData& second = grades.append_grade();
    second.append(make_point(1, 0, 100, 7.77, -1, {42.0}));
    second.append(make_point(1, 0, 100, 0, -1, {43.0}));
    second.append(make_point(1, 1, 100, 0, -1, {44.0}));
    recompute_minutes(grades, params);

    // Readings past the twelfth all use the last entry.
    const int expected[] = {0, 1, 3, 6, 10, 15, 21, 28, 36, 45, 55, 155, 255, 355};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(grades.get_reading(0, i)->minutes, expected[i]) << i;
    // The flag of each reading chooses its table.
    EXPECT_EQ(grades.get_reading(1, 0)->minutes, 0);
    EXPECT_EQ(grades.get_reading(1, 1)->minutes, 1000);
    EXPECT_EQ(grades.get_reading(1, 2)->minutes, 1002);

    // A grade starts where the previous ended; its settlement is left alone.
    const SamplePoint start = *grades.get_reading(1, 0);
    EXPECT_EQ(std::memcmp(start.channel, grades.get_reading(0, 13)->channel, sizeof start.channel),
              0);
    EXPECT_DOUBLE_EQ(start.settlement, 7.77);
    EXPECT_EQ(grades.get_reading(1, 1)->channel[0], 43.0);
    EXPECT_EQ(grades.get_reading(0, 0)->channel[0], 0.0);
}

TEST(RecomputeMinutes, HugeIntervalsNeverRunBackwards) {
    TestParams params = TestParams::defaults(0);
    params.load_intervals.fill(2'000'000'000);
    CTestData grades;
    COneGradeData& grade = grades.append_grade();
    for (int i = 0; i < 4; ++i) grade.append(make_point(0, 1, 0));
    grades.append_grade().append(make_point(1, 1, 0));
    recompute_minutes(grades, params);
    for (int i = 1; i < 4; ++i) {
        EXPECT_GE(grades.get_reading(0, i)->minutes, grades.get_reading(0, i - 1)->minutes) << i;
    }
    // Holding times add up without wrapping either.
    const auto rows = summarize_grades(grades);
    EXPECT_GE(rows[1].cumulative_minutes, rows[0].cumulative_minutes);
}

TEST(BuildGradesFromRaw, EmptyOrSingleReading) {
    TestRecord record = TestRecord::make_empty(0);
    record.grades.append_grade().append(make_point(0, 1, 5));
    build_grades_from_raw(record);
    EXPECT_EQ(record.grades.grade_count(), 0);

    RawReading raw{};
    raw.grade = 7;
    raw.grade_load = 500;
    raw.loading = 1;
    record.raw_readings.push_back(raw);
    build_grades_from_raw(record);
    ASSERT_EQ(record.grades.grade_count(), 1);
    EXPECT_EQ(record.grades.first_load(0), 0);
    EXPECT_EQ(record.grades.get_reading(0, 0)->grade, 0);
}

RawReading raw_at(int grade, int loading, int grade_load, double channel = 0) {
    RawReading raw{};
    raw.grade = grade;
    raw.loading = loading;
    raw.grade_load = grade_load;
    raw.channel[0] = channel;
    raw.channel[1] = 10 + channel;
    return raw;
}

// A test file record as read: header channels 1 and 3 on the test pile and
// averaged, channel 2 on an anchor pile; intervals 0, 7, ... and 0, 9, ...
TestRecord as_read(std::vector<RawReading> raw) {
    TestRecord record = TestRecord::make_empty(100);
    TestHeader& h = record.header;
    std::strcpy(h.site_name, "Site A");
    h.test_object = 1;
    h.test_time = 12345;
    const int in_use[] = {1, 1, 1, 0};
    const int test_pile[] = {1, 0, 1, 0};
    for (int j = 0; j < 4; ++j) {
        h.in_use[j] = static_cast<std::uint8_t>(in_use[j]);
        h.test_pile[j] = static_cast<std::uint8_t>(test_pile[j]);
        h.averaged[j] = static_cast<std::uint8_t>(test_pile[j]);
    }
    for (int i = 0; i < kIntervalCount; ++i) {
        h.load_intervals[i] = i == 0 ? 0 : 7;
        h.unload_intervals[i] = i == 0 ? 0 : 9;
    }
    record.raw_readings = std::move(raw);
    record.opened_kind = FileKind::kTestFile;
    record.rebuild_params();
    build_grades_from_raw(record);
    return record;
}

// The same record after edits of its texts, channels, intervals, unit and grades.
TestRecord restorable(std::vector<RawReading> raw) {
    TestRecord record = as_read(std::move(raw));
    // The edits: texts, channels, intervals, unit, and a grade of its own.
    record.test_params.site_name = "Site B";
    record.test_params.averaged.fill(1);
    record.test_params.channel_role.fill(ChannelRole::kTestPile);
    record.test_params.load_intervals[1] = 50;
    record.test_params.pressure_unit = 1;
    record.test_params.store_into(record.header);
    record.grades.clear();
    record.grades.append_grade().append(make_point(0, 1, 999));
    return record;
}

TEST(RestoreFromRaw, KeepsEveryReadingTheTesterSent) {
    TestRecord record = restorable(
        {raw_at(1, 1, 0, 1), raw_at(1, 1, 0, 2), raw_at(2, 1, 100, 3), raw_at(2, 1, 100, 4),
         raw_at(3, 1, 200, 5), raw_at(3, 0, 200, 6),  // the first unloading reading
         raw_at(4, 0, 150, 7), raw_at(4, 0, 150, 8), raw_at(5, 0, 0, 9)});
    ASSERT_TRUE(restore_from_raw(record));
    const CTestData& grades = record.grades;
    ASSERT_EQ(grades.grade_count(), 5);
    const int sizes[] = {2, 2, 2, 2, 1};
    const int loads[] = {0, 100, 200, 150, 0};
    // A grade starts with the previous grade's last channels.
    const double first_channel[] = {1, 2, 4, 6, 8};
    for (int g = 0; g < 5; ++g) {
        ASSERT_EQ(grades.reading_count(g), sizes[g]) << g;
        EXPECT_EQ(grades.first_load(g), loads[g]) << g;
        EXPECT_EQ(grades.get_reading(g, 0)->channel[0], first_channel[g]) << g;
        for (int i = 0; i < sizes[g]; ++i) EXPECT_EQ(grades.get_reading(g, i)->grade, g);
    }
    // The unloading reading stays in the grade it was taken in.
    EXPECT_EQ(grades.get_reading(2, 1)->loading, kUnloading);
    EXPECT_EQ(grades.get_reading(2, 1)->channel[0], 6);
    // The file's intervals give the minutes.
    EXPECT_EQ(grades.get_reading(1, 1)->minutes, 7);
    EXPECT_EQ(grades.get_reading(3, 1)->minutes, 9);
}

TEST(RestoreFromRaw, ParametersReturnToTheFileButTheTextsStay) {
    TestRecord record = restorable({raw_at(1, 1, 0, 1), raw_at(2, 1, 100, 3)});
    ASSERT_TRUE(restore_from_raw(record));
    const TestParams& p = record.test_params;
    EXPECT_EQ(p.site_name, "Site B");
    EXPECT_EQ(p.test_object, 1);
    EXPECT_EQ(p.pressure_unit, 0);
    EXPECT_EQ(p.channel_role[0], ChannelRole::kTestPile);
    EXPECT_EQ(p.channel_role[1], ChannelRole::kAnchorPile);
    EXPECT_EQ(p.channel_role[3], ChannelRole::kUnused);
    const std::int32_t averaged[] = {1, 0, 1, 0};
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(p.averaged[static_cast<std::size_t>(j)], averaged[j]) << j;
    EXPECT_EQ(p.load_intervals[1], 7);
    EXPECT_EQ(p.unload_intervals[1], 9);
    EXPECT_EQ(p.test_time, 12345);
    // The header says the same, so that a save keeps it.
    const TestParams stored = TestParams::from_header(record.header);
    EXPECT_EQ(stored.site_name, "Site B");
    EXPECT_EQ(stored.load_intervals, p.load_intervals);
    EXPECT_EQ(stored.channel_role, p.channel_role);
    EXPECT_EQ(stored.averaged, p.averaged);
    EXPECT_EQ(stored.pressure_unit, 0);
}

TEST(RestoreFromRaw, EqualsTheGradesOfOpeningTheFile) {
    const std::vector<std::vector<RawReading>> cases = {
        {raw_at(1, 1, 0, 1), raw_at(1, 1, 0, 2), raw_at(2, 1, 100, 3), raw_at(2, 0, 100, 4),
         raw_at(3, 0, 0, 5)},
        {raw_at(1, 0, 50), raw_at(1, 0, 60), raw_at(2, 0, 70)},   // unloading from the start
        {raw_at(1, 1, 0), raw_at(2, 1, 100), raw_at(2, 0, 100)},  // ends unloading
        {raw_at(1, 1, 0)},
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(c);
        TestRecord record = restorable(cases[c]);
        const TestRecord opened = as_read(cases[c]);
        ASSERT_TRUE(restore_from_raw(record));
        ASSERT_EQ(record.grades.grade_count(), opened.grades.grade_count());
        for (int g = 0; g < opened.grades.grade_count(); ++g) {
            ASSERT_EQ(record.grades.reading_count(g), opened.grades.reading_count(g));
            for (int i = 0; i < opened.grades.reading_count(g); ++i) {
                const SamplePoint a = *record.grades.get_reading(g, i);
                const SamplePoint b = *opened.grades.get_reading(g, i);
                EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << g << " " << i;
            }
        }
    }
    TestRecord empty = restorable({});
    EXPECT_FALSE(restore_from_raw(empty));
    EXPECT_EQ(empty.grades.grade_count(), 1);
}

// L loading grades of two readings; grade i has load 100 i, first minutes i
// and last settlement 1.5 i.
CTestData loading_grades(int count) {
    CTestData grades;
    for (int i = 0; i < count; ++i) {
        COneGradeData& g = grades.append_grade();
        g.append(make_point(i, 1, 100 * i, 0, i));
        g.append(make_point(i, 1, 100 * i, 1.5 * i, 30));
    }
    return grades;
}

TEST(AddUnloadingData, TakesEverySecondLoadDownToZero) {
    struct Case {
        int loading;
        std::vector<int> sources;
    };
    const Case cases[] = {{2, {0}},
                          {3, {0}},
                          {4, {1, 0}},
                          {9, {6, 4, 2, 0}},
                          {10, {7, 5, 3, 1, 0}},
                          {11, {8, 6, 4, 2, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loading);
        CTestData grades = loading_grades(c.loading);
        ASSERT_TRUE(add_unloading_data(grades));
        const int added = static_cast<int>(c.sources.size());
        ASSERT_EQ(grades.grade_count(), c.loading + added);
        EXPECT_EQ(grades.loading_grade_count(), c.loading);
        const double top = 1.5 * (c.loading - 1);
        for (int k = 0; k < added; ++k) {
            const int g = c.loading + k;
            const int source = c.sources[static_cast<std::size_t>(k)];
            ASSERT_EQ(grades.reading_count(g), 2);
            for (int i = 0; i < 2; ++i) {
                const SamplePoint p = *grades.get_reading(g, i);
                EXPECT_EQ(p.grade, g);
                EXPECT_EQ(p.loading, 0);
                EXPECT_EQ(p.load, 100 * source);
                EXPECT_EQ(p.minutes, source);
                EXPECT_DOUBLE_EQ(p.settlement, top);
                for (double v : p.channel) EXPECT_DOUBLE_EQ(v, top);
            }
        }
    }
}

TEST(AddUnloadingData, NothingWithFewerThanTwoLoadingGradesOrWithUnloadingGrades) {
    for (int count : {0, 1}) {
        CTestData grades = loading_grades(count);
        EXPECT_FALSE(add_unloading_data(grades));
        EXPECT_EQ(grades.grade_count(), count);
    }
    CTestData grades = loading_grades(5);
    ASSERT_TRUE(add_unloading_data(grades));
    const int after_first = grades.grade_count();
    EXPECT_FALSE(add_unloading_data(grades));
    EXPECT_EQ(grades.grade_count(), after_first);
}

TEST(SummarizeGrades, RoundsCumulativeAndPerGradeSettlement) {
    CTestData grades;
    grades.append_grade().append(make_point(0, 1, 0, 0.004, 0));
    grades.append_grade().append(make_point(1, 1, 100, 0.5, 0));
    grades.grade(1)->append(make_point(1, 1, 100, 1.006, 15));
    grades.append_grade().append(make_point(2, 1, 200, 2.004, 30));
    grades.append_grade().append(make_point(3, 0, 100, 1.5, 60));
    const auto rows = summarize_grades(grades);
    ASSERT_EQ(rows.size(), 4u);
    const double cumulative[] = {0.0, 1.01, 2.0, 1.5};
    const double this_grade[] = {0.0, 1.01, 0.99, -0.5};
    const int holding[] = {0, 15, 30, 60};
    const int total[] = {0, 15, 45, 105};
    const int loads[] = {0, 100, 200, 100};
    for (std::size_t g = 0; g < 4; ++g) {
        EXPECT_DOUBLE_EQ(rows[g].cumulative, cumulative[g]) << g;
        EXPECT_DOUBLE_EQ(rows[g].this_grade, this_grade[g]) << g;
        EXPECT_EQ(rows[g].holding_minutes, holding[g]) << g;
        EXPECT_EQ(rows[g].cumulative_minutes, total[g]) << g;
        EXPECT_EQ(rows[g].load, loads[g]) << g;
    }
    EXPECT_EQ(rows[3].loading, 0);
    EXPECT_EQ(rows[1].readings, 2);
}

TEST(ComputeTotals, ReboundOnlyWithUnloadingGrades) {
    CTestData grades = loading_grades(3);  // last loading settlement 3.0
    TestTotals totals = compute_totals(grades);
    EXPECT_DOUBLE_EQ(totals.max_settlement, 3.0);
    EXPECT_EQ(totals.unloading_grades, 0);
    EXPECT_EQ(totals.rebound, 0);
    EXPECT_EQ(totals.rebound_ratio, 0);

    grades.append_grade().append(make_point(3, 0, 100, 2.0));
    grades.append_grade().append(make_point(4, 0, 0, 2.25));
    totals = compute_totals(grades);
    EXPECT_EQ(totals.unloading_grades, 2);
    EXPECT_DOUBLE_EQ(totals.residual, 2.25);
    EXPECT_DOUBLE_EQ(totals.rebound, 0.75);
    EXPECT_DOUBLE_EQ(totals.rebound_ratio, 25.0);

    CTestData flat = loading_grades(1);  // maximum 0
    flat.append_grade().append(make_point(1, 0, 0, -0.5));
    totals = compute_totals(flat);
    EXPECT_DOUBLE_EQ(totals.rebound, 0.5);
    EXPECT_EQ(totals.rebound_ratio, 0);

    totals = compute_totals(CTestData{});
    EXPECT_EQ(totals.max_settlement, 0);
    EXPECT_EQ(totals.unloading_grades, 0);
}

TEST(ConvertLoads, RoundsHalvesUpwardAndClamps) {
    EXPECT_EQ(convert_load(100, 0.5, true), 200);
    EXPECT_EQ(convert_load(200, 0.5, false), 100);
    EXPECT_EQ(convert_load(101, 2.0, true), 51);  // 50.5
    EXPECT_EQ(convert_load(99, 2.0, true), 50);   // 49.5
    EXPECT_EQ(convert_load(3, 0.5, false), 2);    // 1.5
    EXPECT_EQ(convert_load(-101, 2.0, true), -50);
    EXPECT_EQ(convert_load(INT_MAX, 0.001, true), INT_MAX);
    EXPECT_EQ(convert_load(INT_MIN, 0.001, true), INT_MIN);
    EXPECT_EQ(convert_load(INT_MAX, 1000.0, false), INT_MAX);
}

TEST(ConvertLoads, RecordLoadsAndAxisFollowThePlateArea) {
    TestRecord record = TestRecord::make_empty(0);
    record.grades.append_grade().append(make_point(0, 1, 100));
    record.grades.grade(0)->append(make_point(0, 1, 100));
    record.grades.append_grade().append(make_point(1, 0, 35));
    record.test_params.x_axis_max = 1000;
    record.header.x_axis_max = 1000;

    record.test_params.plate_area = 0;
    EXPECT_FALSE(convert_record_loads(record, true));
    EXPECT_EQ(record.grades.first_load(0), 100);
    EXPECT_EQ(record.test_params.x_axis_max, 1000);

    record.test_params.plate_area = 0.5;
    ASSERT_TRUE(convert_record_loads(record, true));
    EXPECT_EQ(record.grades.get_reading(0, 1)->load, 200);
    EXPECT_EQ(record.grades.first_load(1), 70);
    EXPECT_EQ(record.test_params.x_axis_max, 2000);
    EXPECT_EQ(record.header.x_axis_max, 2000);
    ASSERT_TRUE(convert_record_loads(record, false));
    EXPECT_EQ(record.grades.first_load(0), 100);
    EXPECT_EQ(record.grades.first_load(1), 35);
    EXPECT_EQ(record.header.x_axis_max, 1000);
}

}  // namespace
}  // namespace kvd
