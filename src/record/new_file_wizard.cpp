#include "record/new_file_wizard.h"

#include <cstdint>

#include "record/grade_compute.h"

namespace kvd {
namespace {

bool intervals_valid(const IntervalTable& table) {
    if (table[0] < 0 || table[0] > kWizardIntervalMax) return false;
    for (int i = 1; i < kIntervalCount; ++i) {
        if (table[i] <= 0 || table[i] > kWizardIntervalMax) return false;
    }
    return true;
}

bool within(int value, int lo, int hi) {
    return value >= lo && value <= hi;
}

void append_loading_grade(CTestData& grades, int load, int readings) {
    SamplePoint point{};
    point.grade = grades.grade_count();
    point.loading = kLoading;
    point.load = load;
    COneGradeData& grade = grades.append_grade();
    for (int r = 0; r < readings; ++r) grade.append(point);
}

}  // namespace

Status validate(const WizardInput& in) {
    const bool valid = intervals_valid(in.load_intervals) && intervals_valid(in.unload_intervals) &&
                       within(in.max_load, kWizardMaxLoadMin, kWizardMaxLoadMax) &&
                       within(in.grades, kWizardGradesMin, kWizardGradesMax) &&
                       within(in.first_multiple, kWizardMultipleMin, kWizardMultipleMax) &&
                       in.grades >= in.first_multiple;
    if (valid) return Status::success();
    return Status::failure(std::string(kWizardInputError));
}

Status build_new_record(TestRecord& record, const WizardInput& in) {
    Status status = validate(in);
    if (!status.ok()) return status;

    record.grades.clear();
    // A hand-made test has no tester readings; stale ones of the previous
    // file would otherwise show in the raw record table and feed a restore.
    record.raw_readings.clear();
    record.param_snapshots.clear();
    record.mod_blocks.clear();

    TestHeader& h = record.header;
    record.test_params.load_intervals = in.load_intervals;
    record.test_params.unload_intervals = in.unload_intervals;
    for (int i = 0; i < kIntervalCount; ++i) {
        h.load_intervals[i] = static_cast<std::uint16_t>(in.load_intervals[i]);
        h.unload_intervals[i] = static_cast<std::uint16_t>(in.unload_intervals[i]);
    }
    h.max_load = in.max_load;
    h.first_multiple = static_cast<std::uint8_t>(in.first_multiple);
    h.loading_grades = static_cast<std::uint8_t>(in.grades);
    record.instrument_params = InstrumentParams::from_header(h, 0, 0);

    for (int i = 0; i <= in.grades; ++i) {
        if (i >= 1 && i < in.first_multiple) continue;
        append_loading_grade(record.grades, i * in.max_load / in.grades, i == 0 ? 1 : 2);
    }
    if (in.include_unloading) add_unloading_data(record.grades);

    record.opened_kind = FileKind::kAnalysis;
    record.save_kind = FileKind::kAnalysis;
    recompute_minutes(record.grades, record.test_params);
    return Status::success();
}

}  // namespace kvd
