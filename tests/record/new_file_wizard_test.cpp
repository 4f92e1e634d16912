#include "record/new_file_wizard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/text_codec.h"

namespace kvd {
namespace {

std::vector<int> grade_loads(const CTestData& grades) {
    std::vector<int> loads;
    for (int g = 0; g < grades.grade_count(); ++g) loads.push_back(grades.first_load(g));
    return loads;
}

// A record that already holds a test: one grade and one raw reading.
TestRecord previous_record() {
    TestRecord record = TestRecord::make_empty(1700000000);
    write_gbk_field(record.header.site_name, "旧工地");
    record.header.direction_kind = 2;
    record.header.max_load = 777;
    record.opened_kind = FileKind::kTestFile;
    record.save_kind = FileKind::kTestFile;
    SamplePoint point{};
    point.load = 55;
    point.channel[0] = 3.0;
    record.grades.append_grade().append(point);
    record.raw_readings.push_back(RawReading{});
    record.param_snapshots.push_back(ReadingParams{});
    return record;
}

TEST(NewFileWizard, DefaultsBuildTenLoadingGradesAndTheirUnloading) {
    const WizardInput input;
    EXPECT_EQ(input.max_load, 1000);
    EXPECT_EQ(input.grades, 10);
    EXPECT_EQ(input.first_multiple, 2);
    EXPECT_TRUE(input.include_unloading);

    TestRecord record = previous_record();
    ASSERT_TRUE(build_new_record(record, input).ok());
    // Ten loading grades (1 is skipped), then the unloading grades take the
    // loads of loading grades 7, 5, 3, 1 and 0.
    EXPECT_EQ(grade_loads(record.grades), (std::vector<int>{0, 200, 300, 400, 500, 600, 700, 800,
                                                            900, 1000, 800, 600, 400, 200, 0}));
    EXPECT_EQ(record.grades.loading_grade_count(), 10);
    for (int g = 0; g < record.grades.grade_count(); ++g) {
        const COneGradeData& grade = *record.grades.grade(g);
        ASSERT_EQ(grade.size(), g == 0 ? 1 : 2) << g;
        for (const SamplePoint& p : grade.points()) {
            EXPECT_EQ(p.grade, g);
            EXPECT_EQ(p.loading, g < 10 ? kLoading : kUnloading);
            EXPECT_EQ(p.settlement, 0);
            EXPECT_EQ(p.channel[0], 0);
        }
    }
    // Scheduled minutes: loading readings at 0 and 5, unloading at 0 and 15.
    EXPECT_EQ(record.grades.get_reading(3, 1)->minutes, 5);
    EXPECT_EQ(record.grades.get_reading(12, 1)->minutes, 15);

    EXPECT_EQ(record.header.max_load, 1000);
    EXPECT_EQ(record.header.first_multiple, 2);
    EXPECT_EQ(record.header.loading_grades, 10);
    EXPECT_EQ(record.header.unload_intervals[4], 180);
    EXPECT_EQ(record.test_params.unload_intervals, kDefaultUnloadIntervals);
    EXPECT_EQ(record.opened_kind, FileKind::kAnalysis);
    EXPECT_EQ(record.save_kind, FileKind::kAnalysis);
    // Fields the wizard has no box for keep their values; the old test's
    // tester readings are gone.
    EXPECT_EQ(read_gbk_field(record.header.site_name), "旧工地");
    EXPECT_EQ(record.header.direction_kind, 2);
    EXPECT_EQ(record.raw_count(), 0);
    EXPECT_TRUE(record.param_snapshots.empty());
    EXPECT_EQ(record.instrument_params.reading_count, 0);
}

TEST(NewFileWizard, GradeLoadsUseIntegerDivisionAndTheChosenIntervals) {
    WizardInput input;
    input.max_load = 999;
    input.grades = 7;
    input.first_multiple = 1;
    input.include_unloading = false;
    input.load_intervals = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22};
    input.unload_intervals = {3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    TestRecord record = previous_record();
    ASSERT_TRUE(build_new_record(record, input).ok());
    EXPECT_EQ(grade_loads(record.grades), (std::vector<int>{0, 142, 285, 428, 570, 713, 856, 999}));
    EXPECT_EQ(record.grades.get_reading(1, 1)->minutes, 2);
    EXPECT_EQ(record.header.load_intervals[11], 22);
    EXPECT_EQ(record.header.unload_intervals[0], 3);
    EXPECT_EQ(record.test_params.load_intervals[11], 22);
}

TEST(NewFileWizard, EqualGradesAndMultipleGiveZeroAndTheMaximumLoad) {
    WizardInput input;
    input.grades = 5;
    input.first_multiple = 5;
    TestRecord record = TestRecord::make_empty(0);
    ASSERT_TRUE(build_new_record(record, input).ok());
    // Two loading grades give one unloading grade, at the load of grade 0.
    EXPECT_EQ(grade_loads(record.grades), (std::vector<int>{0, 1000, 0}));
    EXPECT_EQ(record.grades.loading_grade_count(), 2);

    input.grades = 10;
    input.first_multiple = 1;
    ASSERT_TRUE(build_new_record(record, input).ok());
    EXPECT_EQ(grade_loads(record.grades),
              (std::vector<int>{0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 800, 600, 400,
                                200, 0}));
}

TEST(NewFileWizard, InvalidInputIsRefusedAndLeavesTheRecordUntouched) {
    const TestRecord before = previous_record();
    auto expect_refused = [&](const WizardInput& input, const char* what) {
        TestRecord record = previous_record();
        Status status = build_new_record(record, input);
        EXPECT_EQ(status.message(), "对不起! 部分参数输入错误, 无法建立新文件!") << what;
        EXPECT_EQ(std::memcmp(&record.header, &before.header, sizeof before.header), 0) << what;
        EXPECT_EQ(grade_loads(record.grades), std::vector<int>{55}) << what;
        EXPECT_EQ(record.raw_count(), 1) << what;
        EXPECT_EQ(record.opened_kind, FileKind::kTestFile) << what;
    };

    WizardInput input;
    input.unload_intervals[1] = 0;
    expect_refused(input, "unloading entry 2 is 0");
    input = WizardInput{};
    input.load_intervals[11] = -5;
    expect_refused(input, "loading entry 12 negative");
    input = WizardInput{};
    input.grades = 3;
    input.first_multiple = 4;
    expect_refused(input, "fewer grades than the first multiple");
    input = WizardInput{};
    input.grades = 0;
    expect_refused(input, "no grades");
    input = WizardInput{};
    input.grades = 31;
    expect_refused(input, "too many grades");
    input = WizardInput{};
    input.first_multiple = 0;
    expect_refused(input, "first multiple 0");
    input = WizardInput{};
    input.max_load = 0;
    expect_refused(input, "maximum load 0");
    input = WizardInput{};
    input.max_load = 100001;
    expect_refused(input, "maximum load too large");
    input = WizardInput{};
    input.load_intervals[5] = 65536;
    expect_refused(input, "interval beyond the header's 16 bits");
    input = WizardInput{};
    input.unload_intervals[0] = -1;
    expect_refused(input, "entry 1 negative");

    // Entry 1 may be 0, and the limits themselves are accepted.
    input = WizardInput{};
    input.load_intervals[0] = 0;
    input.max_load = 100000;
    input.grades = 30;
    input.first_multiple = 9;
    EXPECT_TRUE(validate(input).ok());
}

}  // namespace
}  // namespace kvd
