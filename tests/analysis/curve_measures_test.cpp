// The judgement measures and the curve readings the rules are built on.

#include <gtest/gtest.h>

#include "analysis/curve_measures.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

CurvePoint grade_with(const std::vector<std::pair<double, double>>& readings) {
    CurvePoint point;
    point.grade = 3;
    point.load = 900;
    for (auto [t, s] : readings) point.readings.push_back({t, s});
    point.holding_minutes = static_cast<int>(readings.back().first);
    point.settlement = readings.back().second;
    return point;
}

TEST(CurveMeasures, RelativeStabilityFromTheLastHourAndAHalf) {
    // Hours t-90 -> t-30 and t-60 -> t: 0.10 and 0.10 mm are stable (to the last bit).
    const CurvePoint stable = grade_with({{0, 5}, {30, 5.50}, {60, 5.60}, {90, 5.60}, {120, 5.70}});
    const auto a = end_stability(stable, 0.1);
    ASSERT_TRUE(a.has_value());
    EXPECT_NEAR(a->hour_before, 0.10, 1e-12);
    EXPECT_NEAR(a->last_hour, 0.10, 1e-12);
    EXPECT_TRUE(a->stable);
    const CurvePoint unstable =
        grade_with({{0, 5}, {30, 5.50}, {60, 5.60}, {90, 5.61}, {120, 5.71}});
    EXPECT_FALSE(end_stability(unstable, 0.1)->stable);  // 0.11 before the last hour
    EXPECT_FALSE(end_stability(grade_with({{0, 5}, {60, 5.1}}), 0.1).has_value());
    EXPECT_FALSE(unstable_after_a_day(unstable, 0.1));  // held two hours, not a day
}

TEST(CurveMeasures, TailBendNeedsASteeperTailAndAGradeStillSettling) {
    const std::vector<double> t = {0, 5, 15, 30, 45, 60, 90, 120};
    // Settling faster and faster on lg t: tail 0.40 mm per 60 minutes.
    const CurvePoint failing = grade_with({{0, 10},
                                           {5, 10.5},
                                           {15, 10.7},
                                           {30, 10.85},
                                           {45, 10.95},
                                           {60, 11.05},
                                           {90, 11.25},
                                           {120, 11.45}});
    const TailBend bend = tail_bend(failing, 0.1);
    ASSERT_TRUE(bend.measurable);
    EXPECT_GE(bend.ratio, kTailBendFactor);
    EXPECT_NEAR(*bend.last_hour, 0.40, 1e-9);
    EXPECT_TRUE(bend.bends);
    // The same shape scaled down: the tail is as steep in proportion, but the
    // grade settles only 0.08 mm in its last hour and is not failing.
    std::vector<std::pair<double, double>> small;
    for (const GradeReading& r : failing.readings)
        small.push_back({r.minutes, 10 + (r.settlement - 10) * 0.2});
    const TailBend quiet = tail_bend(grade_with(small), 0.1);
    EXPECT_GE(quiet.ratio, kTailBendFactor);
    EXPECT_FALSE(quiet.bends);
    // A grade that flattens out.
    const CurvePoint settling = grade_with({{0, 10},
                                            {5, 10.8},
                                            {15, 11.1},
                                            {30, 11.25},
                                            {45, 11.3},
                                            {60, 11.33},
                                            {90, 11.35},
                                            {120, 11.36}});
    EXPECT_LT(tail_bend(settling, 0.1).ratio, 1);
    EXPECT_FALSE(tail_bend(grade_with({{0, 1}, {5, 2}, {15, 3}}), 0.1).measurable);
}

TEST(CurveMeasures, ProportionalLimitEndsTheStraightPart) {
    const LoadCurve curve =
        test::simple_curve({0, 50, 100, 150, 200, 250, 300}, {0, 1, 2, 3, 4, 6.5, 9.5});
    const ProportionalLimit limit = find_proportional_limit(curve);
    EXPECT_EQ(limit.index, 4);
    EXPECT_DOUBLE_EQ(limit.ratio, 2.5);
    // A first grade of double size does not count as a bend: slopes are per unit load.
    const LoadCurve doubled = test::simple_curve({0, 100, 150, 200, 250, 300}, {0, 2, 3, 4, 5, 6});
    EXPECT_EQ(find_proportional_limit(doubled).index, -1);
    EXPECT_EQ(find_slope_jump(doubled).index, -1);
}

TEST(CurveMeasures, LoadsAndSettlementsReadOffTheCurve) {
    const LoadCurve curve = test::simple_curve({0, 100, 200, 300}, {0, 10, 30, 20});
    // The first crossing wins where the settlement comes back.
    const auto at25 = load_at_settlement(curve, 25);
    ASSERT_TRUE(at25.has_value());
    EXPECT_DOUBLE_EQ(at25->load, 175);
    EXPECT_FALSE(load_at_settlement(curve, 31).has_value());
    const auto exact = load_at_settlement(curve, 10);
    EXPECT_EQ(exact->source.kind, ValueSource::Kind::kGrade);
    EXPECT_EQ(exact->source.grade, 1);
    EXPECT_DOUBLE_EQ(*settlement_at_load(curve, 250), 25);
    EXPECT_FALSE(settlement_at_load(curve, 301).has_value());
    EXPECT_FALSE(settlement_at_load(test::simple_curve({0, 100, 100}, {0, 1, 2}), 50).has_value());
    // A sloped line: s = 5 + 0.05 Q is met between 100 (10 < 10) and 200 (30 > 15).
    const auto line = load_at_line(curve, 5, 0.05);
    ASSERT_TRUE(line.has_value());
    EXPECT_DOUBLE_EQ(line->load, 100);  // exactly on the line at grade 1
}

TEST(CurveMeasures, StandardsLiteralRatioOfGradeSettlements) {
    const LoadCurve curve = test::simple_curve({0, 100, 200, 300, 400}, {0, 2, 4, 14.01, 70});
    EXPECT_EQ(first_increment_exceeding(curve, 5), 3);  // 10.01 > 5 · 2
    EXPECT_EQ(first_increment_exceeding(curve, 5, 40),
              4);  // 55.99 > 5 · 10.01 with the total over 40 mm
    EXPECT_EQ(first_increment_exceeding(test::simple_curve({0, 100, 200, 300}, {0, 2, 4, 14}), 5),
              -1);
    const IncrementRatio largest = largest_increment_ratio(curve);
    EXPECT_EQ(largest.index, 4);
    EXPECT_NEAR(largest.ratio, 55.99 / 10.01, 1e-9);
}

}  // namespace
}  // namespace kvd
