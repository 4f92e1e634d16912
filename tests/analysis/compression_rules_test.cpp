// Single-pile compression tests read by JGJ 106-2014 4.3.7 and 4.4.2-4.4.4:
// each rule on a curve built to meet it (or to miss it by a little), the
// order in which they give the ultimate load, and the honest "≥ Qmax".

#include <gtest/gtest.h>

#include <numbers>

#include "analysis/bearing_analysis.h"
#include "analysis/compression_rules.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

using test::find_rule;
using test::GradePlan;

TestAnalysis analyse(const LoadCurve& curve, const TestSubject& subject = test::pile_subject(),
                     const AnalysisOptions& options = {}) {
    return analyse_input(test::make_input(subject, curve), options);
}

LoadCurve steps(double step, const std::vector<double>& settlements) {
    std::vector<double> loads;
    for (std::size_t i = 0; i < settlements.size(); ++i)
        loads.push_back(step * static_cast<double>(i));
    return test::simple_curve(loads, settlements);
}

TEST(CompressionRules, GradualCurveTakesTheLoadAt40mmInterpolatedOnTheCrossingSegment) {
    const LoadCurve curve = steps(400, {0, 2, 4.5, 7.5, 11, 15, 20, 26, 33, 38, 45});
    const TestAnalysis a = analyse(curve);
    ASSERT_EQ(a.rules.size(), 6u);
    const RuleResult* at40 = find_rule(a.rules, RuleId::kCompressionSettlement40);
    ASSERT_NE(at40, nullptr);
    EXPECT_EQ(at40->outcome, RuleOutcome::kValue);
    // 38 mm at 3600 kN, 45 mm at 4000 kN: 3600 + 400 · 2/7.
    EXPECT_NEAR(at40->value, 3600 + 400.0 * 2 / 7, 1e-9);
    EXPECT_EQ(at40->source.kind, ValueSource::Kind::kInterpolated);
    EXPECT_EQ(at40->source.from_grade, 9);
    EXPECT_EQ(at40->source.grade, 10);
    EXPECT_DOUBLE_EQ(at40->source.at, 40.0);
    EXPECT_EQ(describe_source(at40->source), "第 9～10 级间插值 (s = 40.00 mm)");

    // Nothing earlier applies, so the 40 mm rule is the proposal and Ra its half.
    for (RuleId earlier : {RuleId::kCompressionSteepDrop, RuleId::kCompressionSlgtBend,
                           RuleId::kCompressionUnstable}) {
        EXPECT_EQ(find_rule(a.rules, earlier)->outcome, RuleOutcome::kNotReached)
            << rule_key(earlier);
    }
    EXPECT_EQ(a.ultimate.id, RuleId::kCompressionSettlement40);
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(a.characteristic.value, (3600 + 400.0 * 2 / 7) / 2, 1e-9);
    EXPECT_EQ(find_rule(a.rules, RuleId::kCompressionMaximumLoad)->outcome,
              RuleOutcome::kNotReached);
    // 600 mm is below the 800 mm of the 0.05 D alternative.
    EXPECT_EQ(find_rule(a.rules, RuleId::kCompressionSettlement005D)->outcome,
              RuleOutcome::kNotApplicable);
    EXPECT_NE(at40->clause.find("4.4.2"), std::string::npos);
}

TEST(CompressionRules, SteepDropGivesTheLoadAtItsStartAheadOfThe40mmRule) {
    const LoadCurve curve = steps(300, {0, 1.5, 3.2, 5.0, 7.0, 9.2, 11.6, 14.3, 17.4, 45.0});
    const TestAnalysis a = analyse(curve);
    const RuleResult* steep = find_rule(a.rules, RuleId::kCompressionSteepDrop);
    ASSERT_EQ(steep->outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(steep->value, 2400);
    EXPECT_EQ(steep->source.grade, 8);
    EXPECT_TRUE(steep->proposal);
    // 27.6 mm after 3.1 mm over the same 300 kN.
    EXPECT_NE(steep->reason.find("8.90 倍"), std::string::npos) << steep->reason;
    EXPECT_EQ(a.ultimate.id, RuleId::kCompressionSteepDrop);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 1200);
    // The 40 mm rule has a value too, but comes later in the order.
    EXPECT_EQ(find_rule(a.rules, RuleId::kCompressionSettlement40)->outcome, RuleOutcome::kValue);

    const RuleResult* ended = find_rule(a.ending, RuleId::kCompressionEndSteepDrop);
    ASSERT_EQ(ended->outcome, RuleOutcome::kOccurred);
    EXPECT_EQ(ended->source.grade, 9);
    EXPECT_DOUBLE_EQ(ended->value, 2700);
}

TEST(CompressionRules, JumpBelowTheFactorOrAfterANoisyGradeIsNoSteepDrop) {
    // 2.9 times the previous grade: below the factor of 3.
    const LoadCurve below = steps(300, {0, 2, 4, 6, 8, 10, 15.8});
    EXPECT_EQ(find_rule(analyse(below).rules, RuleId::kCompressionSteepDrop)->outcome,
              RuleOutcome::kNotReached);
    // A grade that settled almost nothing makes the next look like a jump
    // against it, but not against the mean of the grades before.
    const LoadCurve noisy = steps(300, {0, 2, 4, 6, 6.3, 8.3, 10.3});
    EXPECT_EQ(find_rule(analyse(noisy).rules, RuleId::kCompressionSteepDrop)->outcome,
              RuleOutcome::kNotReached);
    // Tiny settlements: a jump of ratio 5 that settles under 1 mm is not a drop.
    const LoadCurve tiny = steps(300, {0, 0.1, 0.2, 0.3, 0.4, 0.9});
    EXPECT_EQ(find_rule(analyse(tiny).rules, RuleId::kCompressionSteepDrop)->outcome,
              RuleOutcome::kNotReached);
}

TEST(CompressionRules, SettlementOverTwiceThePreviousUnstableForADayTakesThePreviousGrade) {
    auto curve_with = [](double increment, int hold) {
        return test::make_curve(
            {{0, 0}, {300, 2}, {600, 4}, {900, 6}, {1200, 8}, {1500, 8 + increment, hold, 0.3}});
    };
    const TestAnalysis a =
        analyse(curve_with(4.2, 1500));  // 2.1 times, held 25 h, 0.3 mm/h at the end
    const RuleResult* rule = find_rule(a.rules, RuleId::kCompressionUnstable);
    ASSERT_EQ(rule->outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(rule->value, 1200);
    EXPECT_EQ(rule->source.grade, 4);
    EXPECT_EQ(find_rule(a.ending, RuleId::kCompressionEndUnstable)->outcome,
              RuleOutcome::kOccurred);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 1200);

    // 1.9 times: the rule does not apply, however long the grade was held.
    EXPECT_EQ(
        find_rule(analyse(curve_with(3.8, 1500)).rules, RuleId::kCompressionUnstable)->outcome,
        RuleOutcome::kNotReached);
    // 2.1 times but held only 23.5 h: not yet.
    EXPECT_EQ(
        find_rule(analyse(curve_with(4.2, 1410)).rules, RuleId::kCompressionUnstable)->outcome,
        RuleOutcome::kNotReached);
}

TEST(CompressionRules, TestThatNeverFailsIsAtLeastTheMaximumLoad) {
    const LoadCurve curve = steps(300, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    TestSubject subject = test::pile_subject();
    subject.design_max_load = 3000;
    const TestAnalysis a = analyse(curve, subject);
    const RuleResult* maximum = find_rule(a.rules, RuleId::kCompressionMaximumLoad);
    ASSERT_EQ(maximum->outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(maximum->value, 3000);
    EXPECT_EQ(a.ultimate.id, RuleId::kCompressionMaximumLoad);
    EXPECT_EQ(format_result_value(a.ultimate, "Qu", a.unit), "Qu ≥ 3000 kN");
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kAtLeast);
    EXPECT_EQ(format_result_value(a.characteristic, "Ra", a.unit), "Ra ≥ 1500 kN");
    // Why it ended: the design load reached with the pile stable.
    EXPECT_EQ(find_rule(a.ending, RuleId::kCompressionEndDesignLoad)->outcome,
              RuleOutcome::kOccurred);
    for (RuleId id : {RuleId::kCompressionEndSteepDrop, RuleId::kCompressionEndUnstable,
                      RuleId::kCompressionEndLargeSettlement}) {
        EXPECT_EQ(find_rule(a.ending, id)->outcome, RuleOutcome::kNotReached) << rule_key(id);
    }
}

TEST(CompressionRules, DesignLoadNotStableIsNoEnding) {
    LoadCurve curve = test::make_curve({{0, 0}, {500, 2}, {1000, 4}, {1500, 6, 240, 0.2}});
    TestSubject subject = test::pile_subject();
    subject.design_max_load = 1500;
    const TestAnalysis a = analyse(curve, subject);
    const RuleResult* end = find_rule(a.ending, RuleId::kCompressionEndDesignLoad);
    EXPECT_EQ(end->outcome, RuleOutcome::kNotReached);
    EXPECT_NE(end->reason.find("未达到相对稳定"), std::string::npos) << end->reason;
    subject.design_max_load = 0;
    EXPECT_EQ(find_rule(analyse(curve, subject).ending, RuleId::kCompressionEndDesignLoad)->outcome,
              RuleOutcome::kNotApplicable);
}

TEST(CompressionRules, LargeDiameterMayTakeTheLoadAtFivePercentOfTheDiameter) {
    const LoadCurve curve = steps(500, {0, 3, 6.5, 10.5, 15, 20, 26, 33, 41, 49, 58});
    const TestSubject subject = test::pile_subject(1000, 30);
    const TestAnalysis a = analyse(curve, subject);
    const RuleResult* at005 = find_rule(a.rules, RuleId::kCompressionSettlement005D);
    ASSERT_EQ(at005->outcome, RuleOutcome::kValue);
    // 0.05 · 1000 mm = 50 mm: 49 mm at 4500 kN, 58 mm at 5000 kN.
    EXPECT_NEAR(at005->value, 4500 + 500.0 / 9, 1e-9);
    EXPECT_DOUBLE_EQ(at005->source.at, 50.0);
    // The proposal stays with 40 mm (3500 + 500 · 7/8) unless the engineer takes 0.05 D.
    EXPECT_EQ(a.ultimate.id, RuleId::kCompressionSettlement40);
    EXPECT_NEAR(a.ultimate.value, 3937.5, 1e-9);
    AnalysisOptions options;
    options.take_005d = true;
    const TestAnalysis chosen = analyse(curve, subject, options);
    EXPECT_EQ(chosen.ultimate.id, RuleId::kCompressionSettlement005D);
    EXPECT_NEAR(chosen.ultimate.value, 4500 + 500.0 / 9, 1e-9);
}

TEST(CompressionRules, PileLongerThan40mAllowsForItsElasticCompression) {
    const LoadCurve curve = steps(600, {0, 3, 6, 9.5, 13.5, 18, 23, 28.5, 34.5, 41, 48, 58});
    const TestSubject subject = test::pile_subject(800, 50);
    const TestAnalysis a = analyse(curve, subject);
    // L/D = 62.5: ξ = 1/2; s_e = ξ · Q · L / (E · A) with E = 3.0e4 MPa, A = π 0.4².
    EXPECT_DOUBLE_EQ(elastic_compression_share(50, 800), 0.5);
    EXPECT_DOUBLE_EQ(elastic_compression_share(40.8, 800), 0.5);  // L/D = 51
    EXPECT_DOUBLE_EQ(elastic_compression_share(20, 800), 2.0 / 3.0);
    EXPECT_NEAR(elastic_compression_share(32, 800), 2.0 / 3.0 - (1.0 / 6.0) / 2, 1e-12);
    const double k = 0.5 * 50 / (3.0e4 * std::numbers::pi * 0.4 * 0.4);
    const double below = 48 - (40 + k * 6000);
    const double above = 58 - (40 + k * 6600);
    const RuleResult* at40 = find_rule(a.rules, RuleId::kCompressionSettlement40);
    ASSERT_EQ(at40->outcome, RuleOutcome::kValue);
    EXPECT_NEAR(at40->value, 6000 + 600 * (-below / (above - below)), 1e-6);
    EXPECT_GT(at40->value, 6000);  // the plain 40 mm would have been at 5400 + 600 · 6/7
    EXPECT_EQ(at40->assumptions.size(), 2u);  // ξ and the default modulus
    AnalysisOptions options;
    options.elastic_modulus_mpa = 3.6e4;
    options.modulus_given = true;
    EXPECT_EQ(find_rule(analyse(curve, subject, options).rules, RuleId::kCompressionSettlement40)
                  ->assumptions.size(),
              1u);
}

TEST(CompressionRules, AnchorUpliftEndsTheTestAtItsAlarmLimit) {
    const LoadCurve curve = steps(300, {0, 1, 2, 3, 4});
    TestSubject subject = test::pile_subject();
    EXPECT_EQ(
        find_rule(analyse(curve, subject).ending, RuleId::kCompressionEndAnchorUplift)->outcome,
        RuleOutcome::kNotApplicable);
    subject.anchor_uplift_mm = 10.5;
    subject.anchor_allowed_mm = 10;
    EXPECT_EQ(
        find_rule(analyse(curve, subject).ending, RuleId::kCompressionEndAnchorUplift)->outcome,
        RuleOutcome::kOccurred);
    subject.anchor_uplift_mm = 9.5;
    EXPECT_EQ(
        find_rule(analyse(curve, subject).ending, RuleId::kCompressionEndAnchorUplift)->outcome,
        RuleOutcome::kNotReached);
}

TEST(CompressionRules, TooFewGradesGiveNoValue) {
    const TestAnalysis a = analyse(steps(300, {0}));
    EXPECT_FALSE(a.ultimate.gives_value());
    EXPECT_FALSE(a.characteristic.gives_value());
    EXPECT_TRUE(a.methods.empty());
}

}  // namespace
}  // namespace kvd
