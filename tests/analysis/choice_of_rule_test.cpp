// The engineer's choice made from an analysis, and found stale once the
// readings it was made on change.

#include <gtest/gtest.h>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

TEST(ChoiceOfRule, KeepsTheRuleTheValueAndTheReadings) {
    LoadCurve curve = test::simple_curve({0, 300, 600, 900}, {0, 1, 2, 3});
    const TestAnalysis analysis = analyse_input(test::make_input(test::pile_subject(), curve));
    ASSERT_EQ(analysis.ultimate.id, RuleId::kCompressionMaximumLoad);
    const EngineerChoice choice = choice_of_rule(analysis.ultimate, analysis, 100, "审核");
    EXPECT_EQ(chosen_rule(choice), RuleId::kCompressionMaximumLoad);
    EXPECT_EQ(choice.rule, 116);  // the number stored in the file
    EXPECT_TRUE(choice.at_least);
    EXPECT_DOUBLE_EQ(choice.value, 900);
    EXPECT_TRUE(choice_matches(choice, analysis));
    // The same choice survives its byte image.
    EngineerChoice decoded;
    ASSERT_TRUE(decode_choice(encode_choice(choice), decoded).ok());
    EXPECT_TRUE(choice_matches(decoded, analysis));

    // A reading corrected after the choice: the choice was made on other data.
    curve.points[2].settlement = 2.05;
    const TestAnalysis edited = analyse_input(test::make_input(test::pile_subject(), curve));
    EXPECT_FALSE(choice_matches(choice, edited));

    const EngineerChoice typed = manual_choice(850, false, analysis, 100);
    EXPECT_EQ(chosen_rule(typed), RuleId::kManual);
    EXPECT_FALSE(typed.at_least);
}

}  // namespace
}  // namespace kvd
