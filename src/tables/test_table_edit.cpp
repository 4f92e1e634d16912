// CTestTable's in-place edits: the text typed into a cell becomes a load, a
// reading's average settlement, new readings below the last one, or a moved
// planned time.

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numeric.h"
#include "record/grade_compute.h"
#include "tables/test_table.h"

namespace kvd {
namespace {

bool displacement_ok(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxDisplacement;
}

bool is_averaged(const TestParams& params, int channel) {
    return params.averaged[static_cast<std::size_t>(channel)] == 1;
}

}  // namespace

bool CTestTable::refuse(const char* message) {
    doc().ui().beep();
    doc().ui().message_box(message, kCaptionError, MessageButtons::kOk, MessageIcon::kError);
    return false;
}

bool CTestTable::end_edit(int row, int column, std::string_view text) {
    if (!can_edit(row, column)) return false;
    // A text that is not one number changes nothing: the cell shows its old
    // value again.
    double typed = 0;
    if (!parse_decimal_number(text, typed)) return refuse(kEnterNumberMessage);
    const CommandStep step(doc(), kCellEditStepName);
    const double value = round2(typed);
    if (!displacement_ok(value)) return refuse(kValueOutOfRange);
    if (column == 0) return edit_time(row, value);
    const int grade = grade_of_column(column);
    if (row == 0) return edit_load(grade, value);
    if (row <= doc().record().grades.reading_count(grade)) {
        return edit_reading(grade, row - 1, value);
    }
    return append_readings(grade, row, value);
}

// Row 0: the load of every reading of the grade.
bool CTestTable::edit_load(int grade, double value) {
    COneGradeData* data = doc().record().grades.grade(grade);
    if (!data || data->empty()) return false;
    // |value| <= kMaxDisplacement, so the load fits an int.
    const int load = static_cast<int>(std::trunc(value + 0.5));
    bool changed = false;
    for (SamplePoint& point : data->points()) {
        changed = changed || point.load != load;
        point.load = load;
    }
    if (changed) doc().commit_change(change_notice(grade, kWholeGrade), true);
    return true;
}

// Rows 1 ... n: every averaged channel moves by the same amount, so that the
// reading's average becomes the typed value.
bool CTestTable::edit_reading(int grade, int reading, double value) {
    COneGradeData* data = doc().record().grades.grade(grade);
    SamplePoint* point = data ? data->get(reading) : nullptr;
    if (!point) return false;
    const TestParams& params = doc().record().test_params;
    if (value == point->settlement) return true;
    const double d = value - unrounded_average_settlement(point->channel, params);
    for (int j = 0; j < kChannelCount; ++j) {
        if (is_averaged(params, j) && !displacement_ok(point->channel[j] + d)) {
            return refuse(kValueOutOfRange);
        }
    }
    for (int j = 0; j < kChannelCount; ++j) {
        if (is_averaged(params, j)) point->channel[j] += d;
    }
    doc().commit_change(change_notice(grade, reading), true);
    return true;
}

// Rows below the last reading: readings are appended up to the typed row,
// each a copy of the last reading moved to the typed average, at the planned
// times.
bool CTestTable::append_readings(int grade, int row, double value) {
    if (value == 0) return true;  // typing 0 below the readings appends nothing
    COneGradeData* data = doc().record().grades.grade(grade);
    if (!data || data->empty() || row > kReadingRows || row <= data->size()) return false;
    const TestParams& params = doc().record().test_params;
    SamplePoint point = data->back();
    const double d = value - unrounded_average_settlement(point.channel, params);
    for (int j = 0; j < kChannelCount; ++j) {
        point.channel[j] = is_averaged(params, j) ? point.channel[j] + d : 0.0;
        if (!displacement_ok(point.channel[j])) return refuse(kValueOutOfRange);
    }
    point.settlement = value;
    const IntervalTable& table = intervals();
    long long minutes = point.minutes;
    for (int i = data->size(); i < row; ++i) {
        minutes += table[static_cast<std::size_t>(std::min(i, kIntervalCount - 1))];
        point.minutes = static_cast<int>(std::clamp<long long>(
            minutes, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        data->append(point);
    }
    doc().commit_change(change_notice(grade, row - 1), true);
    return true;
}

// Column 0, rows 2 ... 12: the planned time of the row moves by moving the
// interval that ends there (and, before row 12, taking it from the next one so
// that the later times stay).
bool CTestTable::edit_time(int row, double value) {
    if (row < 2 || row > kLastTimeRow) return false;
    TestRecord& record = doc().record();
    IntervalTable load = record.test_params.load_intervals;
    IntervalTable unload = record.test_params.unload_intervals;
    IntervalTable& table = is_load_table() ? load : unload;

    const long long delta = static_cast<long long>(std::trunc(value + 0.5)) - planned_minutes(row);
    if (delta == 0) return true;
    const auto ending = static_cast<std::size_t>(row - 1);  // the interval that ends at the row
    const long long before = table[ending];
    if (row < kLastTimeRow) {
        const long long after = table[ending + 1];
        if (!(-before < delta && delta < after)) return refuse(kTimeBetweenNeighbours);
        if (before + delta > kMaxInterval) return refuse(kIntervalTooLong);
        table[ending + 1] = static_cast<std::int32_t>(after - delta);
    } else {
        if (!(delta > -before)) return refuse(kTimeAfterPrevious);
        if (before + delta > kMaxInterval) return refuse(kIntervalTooLong);
    }
    table[ending] = static_cast<std::int32_t>(before + delta);
    table_edit::store_intervals(record, load, unload);
    // Every later time of every grade moves with it.
    doc().commit_change(hint::kRefresh, true);
    return true;
}

}  // namespace kvd
