// Reading marks off the loading curve: by load (interpolated settlement), by
// settlement (interpolated load, nearest whole number), by settlement-to-load
// ratio (searched from the last segment in 0.01 mm steps) and free marks.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "curves/mark_computation.h"

namespace kvd::testing {
namespace {

struct Grade {
    int load = 0;
    double settlement = 0;  // cumulative: the last reading's
    bool loading = true;
};

// Grades of two readings each; the first reading repeats the previous
// grade's cumulative settlement, as the document keeps it.
CTestData make_grades(const std::vector<Grade>& specs) {
    CTestData grades;
    double previous = 0;
    for (const Grade& planned : specs) {
        COneGradeData& grade = grades.append_grade();
        for (int i = 0; i < 2; ++i) {
            SamplePoint p{};
            p.grade = grades.grade_count() - 1;
            p.loading = planned.loading ? kLoading : kUnloading;
            p.load = planned.load;
            p.settlement = i == 1 ? planned.settlement : previous;
            grade.append(p);
        }
        previous = planned.settlement;
    }
    return grades;
}

// The loading curve 0/0, 100/1, 200/2.5, 300/4.5 mm, then unloading.
CTestData standard_curve() {
    return make_grades(
        {{0, 0}, {100, 1}, {200, 2.5}, {300, 4.5}, {150, 4.2, false}, {0, 3, false}});
}

void expect_mark(const MarkResult& m, double load, double settlement, double ratio) {
    EXPECT_TRUE(m.valid);
    EXPECT_DOUBLE_EQ(m.load, load);
    EXPECT_DOUBLE_EQ(m.settlement, settlement);
    EXPECT_DOUBLE_EQ(m.ratio, ratio);
}

void expect_no_mark(const MarkResult& m) {
    EXPECT_FALSE(m.valid);
    EXPECT_EQ(m.load, 0);
    EXPECT_EQ(m.settlement, 0);
    EXPECT_EQ(m.ratio, 0);
}

TEST(MarkRounding, HalvesGoAwayFromZero) {
    EXPECT_DOUBLE_EQ(round3(0.0114), 0.011);
    EXPECT_DOUBLE_EQ(round3(0.0116), 0.012);
    EXPECT_DOUBLE_EQ(round3(-0.0116), -0.012);
    EXPECT_EQ(round_whole(2.5), 3);
    EXPECT_EQ(round_whole(-2.5), -3);
    EXPECT_EQ(round_whole(2.49), 2);
}

TEST(MarkComputation, ByLoadInterpolatesTheSettlement) {
    const CTestData grades = standard_curve();
    // 1 + 50 * 1.5 / 100; 1.75 / 150 = 0.01166... shown to three decimals.
    expect_mark(compute_mark(grades, MarkMode::kByLoad, 150), 150, 1.75, 0.012);
    // A load on a grade: the first segment that holds it.
    expect_mark(compute_mark(grades, MarkMode::kByLoad, 100), 100, 1, 0.01);
    expect_mark(compute_mark(grades, MarkMode::kByLoad, 300), 300, 4.5, 0.015);
    // Load 0: the settlement of the first grade, no ratio to divide.
    expect_mark(compute_mark(grades, MarkMode::kByLoad, 0), 0, 0, 0);
    // Beyond the loading curve (the unloading grades do not count).
    expect_no_mark(compute_mark(grades, MarkMode::kByLoad, 301));
    expect_no_mark(compute_mark(grades, MarkMode::kByLoad, -1));
    expect_no_mark(compute_mark(grades, MarkMode::kByLoad, std::nan("")));

    // Two grades of one load: the first grade's settlement.
    const CTestData flat = make_grades({{100, 1}, {50, 2}, {50, 3}});
    expect_mark(compute_mark(flat, MarkMode::kByLoad, 50), 50, 2, 0.04);
}

TEST(MarkComputation, BySettlementInterpolatesTheLoad) {
    const CTestData grades = standard_curve();
    expect_mark(compute_mark(grades, MarkMode::kBySettlement, 3.5), 250, 3.5, 0.014);
    // 100 + 0.1 * 100 / 1.5 = 106.67: the nearest whole load.
    expect_mark(compute_mark(grades, MarkMode::kBySettlement, 1.1), 107, 1.1, 0.01);
    // A curve that never reaches 40 mm.
    expect_no_mark(compute_mark(grades, MarkMode::kBySettlement, 40));

    // A segment whose settlement falls is searched as well (either order).
    const CTestData falling = make_grades({{0, 2}, {100, 3}, {200, 1}});
    expect_mark(compute_mark(falling, MarkMode::kBySettlement, 1.5), 175, 1.5, 0.009);
    // Equal settlements: the upper load of the segment.
    const CTestData level = make_grades({{0, 1}, {100, 1}, {200, 2}});
    expect_mark(compute_mark(level, MarkMode::kBySettlement, 1), 100, 1, 0.01);
    // Fewer than two loading grades: no segment at all.
    expect_no_mark(compute_mark(make_grades({{100, 1}}), MarkMode::kBySettlement, 1));
}

TEST(MarkComputation, ByRatioSearchesFromTheLastSegment) {
    const CTestData grades = standard_curve();
    // The very end of the curve: 4.5 / 300.
    expect_mark(compute_mark(grades, MarkMode::kByRatio, 0.015), 300, 4.5, 0.015);
    // Going down the last segment: 3.98 / 274 rounds to 0.015, 3.97 mm at
    // 273.5 -> 274 kN gives 0.0144... -> 0.014.
    expect_mark(compute_mark(grades, MarkMode::kByRatio, 0.014), 274, 3.97, 0.014);
    // Not on the last two segments: found on 100 ... 200 kN, where 1.17 /
    // 111 is still 0.011 and 1.16 / 111 gives 0.010.
    expect_mark(compute_mark(grades, MarkMode::kByRatio, 0.010), 111, 1.16, 0.01);
    // The typed ratio is taken to three decimals first.
    expect_mark(compute_mark(grades, MarkMode::kByRatio, 0.0104), 111, 1.16, 0.01);
    expect_no_mark(compute_mark(grades, MarkMode::kByRatio, 0.5));

    // A falling last segment is walked upward from its end: from 1 mm at
    // 200 kN, 1.47 mm at 153 kN is the first ratio of 0.010 (walking down
    // from 2 mm would have stopped at 1.53 mm).
    const CTestData falling = make_grades({{0, 0}, {100, 2}, {200, 1}});
    expect_mark(compute_mark(falling, MarkMode::kByRatio, 0.01), 153, 1.47, 0.01);
    expect_mark(compute_mark(falling, MarkMode::kByRatio, 0.005), 200, 1, 0.005);
}

TEST(MarkComputation, ByRatioStaysQuickOnAbsurdSettlements) {
    // 1e8 mm in 0.01 mm steps would be 1e10 steps: the search gives up.
    const CTestData absurd = make_grades({{0, 0}, {100, 1e8}});
    const auto start = std::chrono::steady_clock::now();
    expect_no_mark(compute_mark(absurd, MarkMode::kByRatio, 0.001));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // What lies near the end is still found.
    expect_mark(compute_mark(absurd, MarkMode::kByRatio, 1e6), 100, 1e8, 1e6);

    const double inf = std::numeric_limits<double>::infinity();
    expect_no_mark(compute_mark(make_grades({{0, 0}, {100, inf}}), MarkMode::kByRatio, 0.01));
}

TEST(MarkComputation, FreeMarksMustLieWithinTheTest) {
    const CTestData grades = standard_curve();
    EXPECT_FALSE(compute_mark(grades, MarkMode::kFree, 100).valid);
    MarkResult m = free_mark(grades, 150, 2);
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(m.load, 150);
    EXPECT_EQ(m.settlement, 2);
    EXPECT_TRUE(free_mark(grades, 0, 0).valid);
    EXPECT_TRUE(free_mark(grades, 300, 4.5).valid);
    EXPECT_FALSE(free_mark(grades, -1, 2).valid);
    EXPECT_FALSE(free_mark(grades, 301, 2).valid);
    EXPECT_FALSE(free_mark(grades, 150, 4.51).valid);
    EXPECT_FALSE(free_mark(grades, 150, -0.01).valid);
    EXPECT_FALSE(free_mark(grades, 150, std::nan("")).valid);
}

TEST(MarkComputation, DialogFieldsFollowTheMode) {
    const CTestData grades = standard_curve();
    MarkDialogState typed;
    typed.mode = MarkMode::kByLoad;
    typed.load = 150;
    typed.settlement = 9;
    typed.ratio = 9;
    MarkDialogState shown = recompute_mark_fields(grades, typed);
    EXPECT_EQ(shown.load, 150);
    EXPECT_DOUBLE_EQ(shown.settlement, 1.75);
    EXPECT_DOUBLE_EQ(shown.ratio, 0.012);

    typed.mode = MarkMode::kBySettlement;
    typed.settlement = 40;
    shown = recompute_mark_fields(grades, typed);
    EXPECT_EQ(shown.settlement, 40);  // what was typed stays
    EXPECT_EQ(shown.load, 0);
    EXPECT_EQ(shown.ratio, 0);
    EXPECT_FALSE(mark_of_dialog(grades, shown).valid);

    typed.mode = MarkMode::kByRatio;
    typed.ratio = 0.015;
    shown = recompute_mark_fields(grades, typed);
    EXPECT_EQ(shown.load, 300);
    EXPECT_DOUBLE_EQ(shown.settlement, 4.5);

    // The mark comes from the mode's own field, whatever the others show.
    shown.load = 1;
    const MarkResult m = mark_of_dialog(grades, shown);
    EXPECT_EQ(m.load, 300);

    typed.mode = MarkMode::kFree;
    typed.load = 120;
    typed.settlement = 3;
    shown = recompute_mark_fields(grades, typed);
    EXPECT_EQ(shown.load, 120);
    EXPECT_EQ(shown.settlement, 3);
    EXPECT_TRUE(mark_of_dialog(grades, shown).valid);
}

}  // namespace
}  // namespace kvd::testing
