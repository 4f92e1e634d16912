// Uplift tests read by JGJ 106-2014 5.3.5 and 5.4.2-5.4.5.

#include <gtest/gtest.h>

#include "analysis/bearing_analysis.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

using test::find_rule;

TestSubject uplift_subject() {
    TestSubject subject = test::pile_subject();
    subject.family = TestFamily::kPileUplift;
    subject.method = "JGJ106-2014 单桩竖向抗拔静载试验";
    return subject;
}

TEST(UpliftRules, SteepRiseGivesItsStartAndEndsTheTest) {
    const LoadCurve curve =
        test::simple_curve({0, 120, 240, 360, 480, 600, 720}, {0, 0.8, 1.7, 2.7, 3.8, 5.0, 31.0});
    const TestAnalysis a = analyse_input(test::make_input(uplift_subject(), curve));
    const RuleResult* steep = find_rule(a.rules, RuleId::kUpliftSteepRise);
    ASSERT_EQ(steep->outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(steep->value, 600);
    EXPECT_EQ(a.ultimate.id, RuleId::kUpliftSteepRise);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 300);
    EXPECT_EQ(find_rule(a.ending, RuleId::kUpliftEndSteepRise)->outcome, RuleOutcome::kOccurred);
    // Steel stresses and broken bars are not in the readings: said, not guessed.
    EXPECT_EQ(find_rule(a.rules, RuleId::kUpliftBrokenBar)->outcome, RuleOutcome::kNotApplicable);
    EXPECT_EQ(find_rule(a.ending, RuleId::kUpliftEndSteelStress)->outcome,
              RuleOutcome::kNotApplicable);
    EXPECT_TRUE(a.methods.empty());  // the comparison methods are for compression
}

TEST(UpliftRules, AcceptanceTestWithoutFailureTakesTheMaximumLoadAsALowerBound) {
    const LoadCurve curve = test::simple_curve({0, 240, 360, 480, 600}, {0, 0.9, 1.4, 2.0, 2.7});
    const TestAnalysis a = analyse_input(test::make_input(uplift_subject(), curve));
    EXPECT_EQ(a.ultimate.id, RuleId::kUpliftMaximumLoad);
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 600);
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 300);
    EXPECT_NE(a.ultimate.clause.find("5.4.4"), std::string::npos);
}

TEST(UpliftRules, CumulativeUpliftOver100mmEndsTheTestAndSaysItsThresholdIsUnconfirmed) {
    const LoadCurve curve =
        test::simple_curve({0, 200, 400, 600, 800, 1000}, {0, 20, 40, 60, 80, 101});
    const TestAnalysis a = analyse_input(test::make_input(uplift_subject(), curve));
    const RuleResult* large = find_rule(a.ending, RuleId::kUpliftEndLargeUplift);
    ASSERT_EQ(large->outcome, RuleOutcome::kOccurred);
    EXPECT_EQ(large->source.grade, 5);
    EXPECT_EQ(large->assumptions.size(), 1u);
}

}  // namespace
}  // namespace kvd
