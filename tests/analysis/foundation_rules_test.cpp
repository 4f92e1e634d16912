// Plate load tests: shallow and deep plates (GB 50007-2011 appendices C, D),
// rock (appendix H) and composite foundations (JGJ 79-2012 appendix B).

#include <gtest/gtest.h>

#include "analysis/bearing_analysis.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

using test::find_rule;
using test::GradePlan;

LoadCurve pressures(double step, const std::vector<double>& settlements) {
    std::vector<double> loads;
    for (std::size_t i = 0; i < settlements.size(); ++i)
        loads.push_back(step * static_cast<double>(i));
    return test::simple_curve(loads, settlements);
}

TestAnalysis analyse(const TestSubject& subject, const LoadCurve& curve,
                     const AnalysisOptions& options = {}) {
    return analyse_input(test::make_input(subject, curve), options);
}

TEST(PlateRules, ClearProportionalLimitWithoutFailureIsTheCharacteristicValue) {
    const TestSubject subject = test::plate_subject(TestFamily::kShallowPlate, 0.5);
    const TestAnalysis a = analyse(subject, pressures(50, {0, 1, 2, 3, 4, 6.5, 9.5, 13, 17}));
    const RuleResult* p0 = find_rule(a.rules, RuleId::kPlateProportionalLimit);
    ASSERT_EQ(p0->outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(p0->value, 200);  // grade 5 settles 2.5 times the mean of grades 1-4
    EXPECT_TRUE(p0->proposal);
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);  // no failure: pu ≥ 400 kPa
    EXPECT_DOUBLE_EQ(a.ultimate.value, 400);
    EXPECT_EQ(find_rule(a.rules, RuleId::kPlateHalfUltimate)->outcome, RuleOutcome::kNotApplicable);
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 200);
    EXPECT_TRUE(a.characteristic.proposal);  // it rests on the proposed p0
    // s/b = 0.010 with b = 0.707 m is 7.07 mm, at about 260 kPa: above half the
    // maximum, which caps it.
    const RuleResult* relative = find_rule(a.rules, RuleId::kPlateRelativeSettlement);
    EXPECT_DOUBLE_EQ(relative->value, 200);
    EXPECT_EQ(relative->source.kind, ValueSource::Kind::kComputed);
    for (RuleId id : {RuleId::kPlateEndSteepDrop, RuleId::kPlateEndUnstable,
                      RuleId::kPlateEndRelativeSettlement}) {
        EXPECT_EQ(find_rule(a.ending, id)->outcome, RuleOutcome::kNotReached) << rule_key(id);
    }
    EXPECT_EQ(find_rule(a.ending, RuleId::kPlateEndSqueezed)->outcome, RuleOutcome::kNotApplicable);
}

TEST(PlateRules, UltimateBelowTwiceTheProportionalLimitTakesHalfTheUltimate) {
    const TestSubject subject = test::plate_subject(TestFamily::kShallowPlate, 0.5);
    const TestAnalysis a = analyse(subject, pressures(50, {0, 1, 2, 3, 4, 6.5, 9.5, 30}));
    EXPECT_EQ(find_rule(a.ending, RuleId::kPlateEndSteepDrop)->outcome, RuleOutcome::kOccurred);
    ASSERT_EQ(a.ultimate.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 300);  // the grade before the drop
    EXPECT_DOUBLE_EQ(find_rule(a.rules, RuleId::kPlateHalfUltimate)->value, 150);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 150);
    EXPECT_NE(a.characteristic.clause.find("C.0.7"), std::string::npos);

    // pu = 400 kPa is exactly 2 p0: not less than twice, so p0 stands.
    const TestAnalysis twice =
        analyse(subject, pressures(50, {0, 1, 2, 3, 4, 6.5, 9.5, 12.8, 16.4, 40}));
    EXPECT_DOUBLE_EQ(twice.ultimate.value, 400);
    EXPECT_EQ(find_rule(twice.rules, RuleId::kPlateHalfUltimate)->outcome,
              RuleOutcome::kNotReached);
    EXPECT_DOUBLE_EQ(twice.characteristic.value, 200);
}

TEST(PlateRules, SmoothCurveTakesThePressureAtTheRelativeSettlement) {
    // Settlements growing by 8 % a grade: no grade reaches 1.5 times the mean before it.
    const std::vector<double> s = {0,    1.00, 2.08,  3.25,  4.51, 5.87,
                                   7.34, 8.93, 10.64, 12.49, 14.49};
    const TestAnalysis a =
        analyse(test::plate_subject(TestFamily::kShallowPlate, 0.25), pressures(50, s));
    EXPECT_EQ(find_rule(a.rules, RuleId::kPlateProportionalLimit)->outcome,
              RuleOutcome::kNotReached);
    // b = 0.5 m: s = 5 mm between 4.51 mm (200 kPa) and 5.87 mm (250 kPa).
    ASSERT_EQ(a.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(a.characteristic.value, 200 + 50 * (5 - 4.51) / (5.87 - 4.51), 1e-9);
    EXPECT_FALSE(a.characteristic.proposal);  // a measured settlement, no judgement
    EXPECT_EQ(a.characteristic.source.kind, ValueSource::Kind::kInterpolated);

    // Without a plate area there is nothing to measure the settlement against.
    const TestAnalysis unknown =
        analyse(test::plate_subject(TestFamily::kShallowPlate, 0), pressures(50, s));
    EXPECT_EQ(unknown.characteristic.outcome, RuleOutcome::kNotApplicable);
}

TEST(PlateRules, HalfTheMaximumPressureCapsTheRelativeSettlementValue) {
    // Shaped after a published exam question on GB 50007 C.0.7 (plate 0.5 m²,
    // s/b = 0.015, maximum 243 kPa, answer 121.5 kPa): the pressure at
    // s = 0.015 · 0.707 m = 10.61 mm is about 123.8 kPa, above half the maximum.
    const std::vector<double> s = {0, 2.00, 4.16, 6.49, 9.01, 11.73, 14.67, 17.84, 21.27, 24.97};
    AnalysisOptions options;
    options.plate_relative_settlement = 0.015;
    const TestAnalysis a =
        analyse(test::plate_subject(TestFamily::kShallowPlate, 0.5), pressures(27, s), options);
    EXPECT_EQ(find_rule(a.rules, RuleId::kPlateProportionalLimit)->outcome,
              RuleOutcome::kNotReached);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 121.5);
    EXPECT_NE(find_rule(a.rules, RuleId::kPlateRelativeSettlement)->reason.find("123.8 kPa"),
              std::string::npos);
    // A ratio outside 0.010-0.015 is held to the range.
    options.plate_relative_settlement = 0.05;
    const TestAnalysis held =
        analyse(test::plate_subject(TestFamily::kShallowPlate, 0.5), pressures(27, s), options);
    EXPECT_NE(find_rule(held.rules, RuleId::kPlateRelativeSettlement)->title.find("0.015"),
              std::string::npos);
}

TEST(PlateRules, DeepPlateSteepDropMustExceedFourPercentOfTheDiameter) {
    // Round plate of 0.5 m²: d = 0.798 m, 0.04 d = 31.9 mm.
    const TestSubject subject = test::plate_subject(TestFamily::kDeepPlate, 0.5, false);
    const TestAnalysis shallow_drop = analyse(subject, pressures(100, {0, 2, 4, 6, 8, 10, 25}));
    EXPECT_EQ(find_rule(shallow_drop.ending, RuleId::kPlateEndSteepDrop)->outcome,
              RuleOutcome::kNotReached);
    // Still the five-times ending: 15 mm after 2 mm.
    EXPECT_EQ(find_rule(shallow_drop.ending, RuleId::kPlateEndFiveTimes)->outcome,
              RuleOutcome::kOccurred);
    EXPECT_DOUBLE_EQ(shallow_drop.ultimate.value, 500);

    const TestAnalysis deep_drop = analyse(subject, pressures(100, {0, 2, 4, 6, 8, 10, 35}));
    EXPECT_EQ(find_rule(deep_drop.ending, RuleId::kPlateEndSteepDrop)->outcome,
              RuleOutcome::kOccurred);
    EXPECT_NE(find_rule(deep_drop.rules, RuleId::kPlateRelativeSettlement)->title.find("s/d"),
              std::string::npos);
}

TEST(RockRules, SmallerOfAThirdOfTheUltimateAndTheProportionalLimit) {
    // After a published exam question on GB 50007-2011 H.0.10: p0 = 1.5 MPa,
    // pu = 4.2 MPa gives min(4.2 / 3, 1.5) = 1.4 MPa. Grades of 0.3 MPa: 0.10 mm
    // each up to 1.5 MPa, 0.20 mm after, and the 4.5 MPa grade still settling
    // after 25 hours.
    std::vector<GradePlan> grades = {{0, 0}};
    double s = 0;
    for (int g = 1; g <= 14; ++g) {
        s += g <= 5 ? 0.10 : 0.20;
        grades.push_back({300.0 * g, s});
    }
    grades.push_back({4500, s + 0.6, 1500, 0.05});
    TestSubject subject = test::plate_subject(TestFamily::kRock, 0.07, false);
    subject.stability_criterion_mm = 0.01;
    const TestAnalysis a = analyse(subject, test::make_curve(grades));
    EXPECT_EQ(find_rule(a.ending, RuleId::kRockEndUnstable)->outcome, RuleOutcome::kOccurred);
    EXPECT_EQ(find_rule(a.ending, RuleId::kRockEndSteepDrop)->outcome, RuleOutcome::kNotReached);
    ASSERT_EQ(a.ultimate.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 4200);
    EXPECT_DOUBLE_EQ(find_rule(a.rules, RuleId::kRockProportionalLimit)->value, 1500);
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(a.characteristic.value, 1400, 1e-9);

    // Not loaded to failure: only a lower bound of a third of the maximum.
    grades.pop_back();
    const TestAnalysis unfailed = analyse(subject, test::make_curve(grades));
    EXPECT_EQ(unfailed.characteristic.outcome, RuleOutcome::kAtLeast);
    EXPECT_NEAR(unfailed.characteristic.value, 4200.0 / 3, 1e-9);
}

TEST(CompositeRules, RelativeSettlementOfTheReinforcementKindWithThePlateCappedAt2m) {
    const std::vector<double> s = {0, 3.0, 6.2, 9.6, 13.2, 17.0, 21.0, 25.2, 29.6};
    const LoadCurve curve = pressures(60, s);
    const TestSubject subject = test::plate_subject(TestFamily::kComposite, 1.0);
    const TestAnalysis unspecified = analyse(subject, curve);
    EXPECT_EQ(find_rule(unspecified.rules, RuleId::kCompositeRelativeSettlement)->outcome,
              RuleOutcome::kNotApplicable);
    EXPECT_FALSE(unspecified.characteristic.gives_value());

    AnalysisOptions options;
    options.composite =
        CompositeKind::kCfgOnClay;  // 0.010 · 1 m = 10 mm: 9.6 mm at 180, 13.2 at 240
    const TestAnalysis clay = analyse(subject, curve, options);
    ASSERT_EQ(clay.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(clay.characteristic.value, 180 + 60 * 0.4 / 3.6, 1e-9);
    options.composite = CompositeKind::kCementSoil;  // 0.006 · 1 m = 6 mm
    EXPECT_NEAR(analyse(subject, curve, options).characteristic.value, 60 + 60 * 3.0 / 3.2, 1e-9);

    // A 2.5 m plate counts as 2 m: 0.010 · 2 m = 20 mm, at 300 + 60 · 3/4 = 345 kPa,
    // above half the maximum of 480 kPa.
    options.composite = CompositeKind::kGravelColumn;
    const TestAnalysis wide =
        analyse(test::plate_subject(TestFamily::kComposite, 6.25), curve, options);
    EXPECT_DOUBLE_EQ(wide.characteristic.value, 240);
    EXPECT_NE(find_rule(wide.rules, RuleId::kCompositeRelativeSettlement)->reason.find("345 kPa"),
              std::string::npos);
}

TEST(CompositeRules, DeterminedUltimateAgainstTwiceTheProportionalLimit) {
    const TestSubject subject = test::plate_subject(TestFamily::kComposite, 1.0);
    // p0 = 240 kPa (grade 4), drop at grade 9: pu = 480 kPa = 2 p0 -> p0.
    const TestAnalysis twice =
        analyse(subject, pressures(60, {0, 2, 4, 6, 8, 11.5, 15, 18.5, 22, 60}));
    EXPECT_DOUBLE_EQ(twice.ultimate.value, 480);
    EXPECT_DOUBLE_EQ(twice.characteristic.value, 240);
    // Drop at grade 7: pu = 360 kPa < 2 p0 -> pu / 2.
    const TestAnalysis less = analyse(subject, pressures(60, {0, 2, 4, 6, 8, 11.5, 15, 60}));
    EXPECT_DOUBLE_EQ(less.ultimate.value, 360);
    EXPECT_DOUBLE_EQ(less.characteristic.value, 180);
    EXPECT_EQ(less.characteristic.id, RuleId::kCompositeCharacteristic);
}

}  // namespace
}  // namespace kvd
