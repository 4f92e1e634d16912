#pragma once
// The quantities derived from the readings: average settlement, scheduled
// minutes, grades built from the tester's raw readings, per-grade summaries,
// test totals, load unit conversion, and the two commands that add grades
// (add unloading data, restore from raw data).

#include <vector>

#include "record/test_record.h"

namespace kvd {

// Average over the channels that are on the test pile and averaged, through
// round2; 0 when no channel qualifies.
double average_settlement(const double (&channel)[kChannelCount], const TestParams& params);
// The same average before rounding: a typed settlement moves the channels by
// the difference from it, so that the new average rounds to exactly the
// typed value.
double unrounded_average_settlement(const double (&channel)[kChannelCount],
                                    const TestParams& params);

// Recomputes the settlement of every reading of every grade.
void recompute_averages(CTestData& grades, const TestParams& params);

// Recomputes the scheduled minutes of every reading from the interval tables
// and makes every grade's first reading repeat the previous grade's last
// channel values. The settlements are left for recompute_averages.
void recompute_minutes(CTestData& grades, const TestParams& params);

// Both recomputations, over the whole record.
void refresh_derived(TestRecord& record);

// The same for grade g alone after a change of its readings (their channels,
// loads or number): its scheduled minutes, its first reading's repeat of the
// grade before it, its settlements, and the first reading of the next grade
// with readings, which repeats g's last (and on through grades of a single
// reading, whose last is that repeat). A record whose other grades were
// current ends exactly as refresh_derived would leave it. False (nothing
// changed) when g does not exist.
bool refresh_grade(TestRecord& record, int g);

// Builds the grades of a test file from its raw readings, with their derived
// values as refresh_derived leaves them.
void build_grades_from_raw(TestRecord& record);

// The same for a converted old-format test file: each point keeps its raw
// reading's grade number and nominal load, and averages in single precision
// over the averaged flags alone.
void build_grades_from_old_raw(TestRecord& record);

// Rebuilds the grades from the raw readings exactly as opening the file does
// and returns the parameters (all but the typed texts) to those read with
// them, in TestParams and the header alike. False (and nothing changed)
// without raw readings.
bool restore_from_raw(TestRecord& record);

// Appends unloading grades built from the loading grades and the maximum
// settlement. False when nothing was added: fewer than two loading grades, or
// unloading grades exist already.
bool add_unloading_data(CTestData& grades);

struct GradeSummary {
    int load = 0;
    int loading = 0;
    int readings = 0;
    int holding_minutes = 0;     // minutes of the grade's last reading
    int cumulative_minutes = 0;  // holding time of grades 0 ... g
    double this_grade = 0;       // settlement of this grade, two decimals
    double cumulative = 0;       // cumulative settlement, two decimals
};

std::vector<GradeSummary> summarize_grades(const CTestData& grades);

struct TestTotals {
    double max_settlement = 0;  // of the last loading grade
    int unloading_grades = 0;
    double residual = 0;        // of the last grade, with unloading grades only
    double rebound = 0;         // 回弹量
    double rebound_ratio = 0;   // 回弹率, percent
};

TestTotals compute_totals(const CTestData& grades);

// A load converted between kN and kPa over plate_area, to the nearest whole
// number (halves upward), clamped to the int32 range.
int convert_load(int load, double plate_area, bool to_kpa);

// Converts every reading's load and the user-defined load-axis maximum.
// False (nothing converted) when the plate area is 0.
bool convert_record_loads(TestRecord& record, bool to_kpa);

}  // namespace kvd
