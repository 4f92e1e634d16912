// Statistics of a site's tests: JGJ 106-2014 4.4.3/4.4.4 for piles, the range
// rule of the plate appendices, and the minimum of rock tests.

#include <gtest/gtest.h>

#include "analysis/group_statistics.h"

namespace kvd {
namespace {

RuleResult value_of(double v, RuleOutcome outcome = RuleOutcome::kValue) {
    RuleResult rule;
    rule.outcome = outcome;
    rule.value = v;
    return rule;
}

std::vector<GroupMember> members(const std::vector<double>& values) {
    std::vector<GroupMember> result;
    for (std::size_t i = 0; i < values.size(); ++i) {
        result.push_back({"S-" + std::to_string(i + 1), value_of(values[i]), "kN"});
    }
    return result;
}

GroupAnalysis piles(const std::vector<double>& values, GroupOptions options = {}) {
    return group_statistics(TestFamily::kPileCompression, "JGJ 106-2014", "kN", members(values),
                            options);
}

TEST(GroupStatistics, RangeWithinThirtyPercentTakesTheMeanAndRaIsHalf) {
    const GroupAnalysis group = piles({2500, 2700, 2900, 3100});
    EXPECT_DOUBLE_EQ(group.mean, 2800);
    EXPECT_DOUBLE_EQ(group.range, 600);  // ≤ 0.30 · 2800 = 840
    ASSERT_EQ(group.statistic.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(group.statistic.value, 2800);
    EXPECT_DOUBLE_EQ(group.characteristic.value, 1400);
    EXPECT_NE(group.statistic.clause.find("4.4.3"), std::string::npos);
    EXPECT_NE(group.characteristic.clause.find("4.4.4"), std::string::npos);

    // A published exam example: three test piles of 860, 880 and 890 kN give
    // Ra of about 438 kN.
    EXPECT_NEAR(piles({860, 880, 890}).characteristic.value, 438.33, 0.01);
}

TEST(GroupStatistics, RangeOfThirtyFivePercentGivesNoValue) {
    // Mean 2000, range 700 = 35 %.
    const GroupAnalysis group = piles({1650, 1900, 2100, 2350});
    EXPECT_DOUBLE_EQ(group.mean, 2000);
    EXPECT_DOUBLE_EQ(group.range, 700);
    EXPECT_EQ(group.statistic.outcome, RuleOutcome::kNotReached);
    EXPECT_NE(group.statistic.reason.find("35.0%"), std::string::npos) << group.statistic.reason;
    EXPECT_FALSE(group.characteristic.gives_value());
    // Exactly 30 % is still within.
    EXPECT_EQ(piles({1700, 2000, 2300}).statistic.outcome, RuleOutcome::kValue);
}

TEST(GroupStatistics, FewerThanThreePilesOrASmallCapTakeTheLowest) {
    const GroupAnalysis two = piles({2400, 3000});
    EXPECT_DOUBLE_EQ(two.statistic.value, 2400);
    EXPECT_NE(two.statistic.reason.find("S-1"), std::string::npos);
    GroupOptions cap;
    cap.small_cap = true;
    EXPECT_DOUBLE_EQ(piles({2500, 2700, 2900, 3100}, cap).statistic.value, 2500);
    // The lowest pile never failed: the site's value is only a lower bound.
    std::vector<GroupMember> bound = members({3000});
    bound.push_back({"S-2", value_of(2400, RuleOutcome::kAtLeast), "kN"});
    const GroupAnalysis lower =
        group_statistics(TestFamily::kPileCompression, "JGJ 106-2014", "kN", bound, {});
    EXPECT_EQ(lower.statistic.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(lower.characteristic.value, 1200);
    EXPECT_EQ(lower.characteristic.outcome, RuleOutcome::kAtLeast);
}

TEST(GroupStatistics, LowerBoundsStayLowerBoundsAndMissingValuesAreNamed) {
    std::vector<GroupMember> list = members({2900, 3000});
    list.push_back({"S-3", value_of(3000, RuleOutcome::kAtLeast), "kN"});
    RuleResult none;
    none.outcome = RuleOutcome::kNotApplicable;
    list.push_back({"S-4", none, "kN"});
    const GroupAnalysis group =
        group_statistics(TestFamily::kPileCompression, "JGJ 106-2014", "kN", list, {});
    EXPECT_EQ(group.counted, 3);
    EXPECT_TRUE(group.lower_bounds);
    EXPECT_EQ(group.statistic.outcome, RuleOutcome::kAtLeast);
    EXPECT_EQ(group.characteristic.outcome, RuleOutcome::kAtLeast);
    ASSERT_EQ(group.notices.size(), 1u);
    EXPECT_NE(group.notices[0].find("S-4"), std::string::npos);
}

TEST(GroupStatistics, PlatesNeedThreePointsAndSmallCompositeFootingsTakeTheLowest) {
    auto plates = [](TestFamily family, const std::vector<double>& v, GroupOptions options = {}) {
        return group_statistics(family,
                                family == TestFamily::kComposite ? "JGJ 79-2012" : "GB 50007-2011",
                                "kPa", members(v), options);
    };
    EXPECT_EQ(plates(TestFamily::kShallowPlate, {180, 200}).statistic.outcome,
              RuleOutcome::kNotApplicable);
    const GroupAnalysis three = plates(TestFamily::kShallowPlate, {180, 200, 220});
    EXPECT_DOUBLE_EQ(three.statistic.value, 200);
    EXPECT_DOUBLE_EQ(three.characteristic.value, 200);  // foundations: the statistic itself
    EXPECT_NE(three.statistic.clause.find("C.0.8"), std::string::npos);
    GroupOptions small;
    small.small_cap = true;
    EXPECT_DOUBLE_EQ(plates(TestFamily::kComposite, {180, 200, 220}, small).statistic.value, 180);
    EXPECT_DOUBLE_EQ(plates(TestFamily::kComposite, {180, 200, 220}).statistic.value, 200);
}

TEST(GroupStatistics, RockTakesTheSmallestOfAtLeastThree) {
    // Two published exam examples on GB 50007-2011 H.0.10, each test already
    // min(pu/3, p0): (1.5, 4.2) (1.2, 3.0) (2.7, 5.4) MPa give 1.4, 1.0, 1.8;
    // (1.2, 4) (1.4, 6) (1.5, 3) give 1.2, 1.4, 1.0. Both sites: 1.0 MPa.
    auto rock = [](const std::vector<double>& v) {
        return group_statistics(TestFamily::kRock, "GB 50007-2011", "kPa", members(v), {});
    };
    EXPECT_DOUBLE_EQ(rock({1400, 1000, 1800}).statistic.value, 1000);
    EXPECT_DOUBLE_EQ(rock({1200, 1400, 1000}).statistic.value, 1000);
    EXPECT_EQ(rock({1400, 1000}).statistic.outcome, RuleOutcome::kNotApplicable);
}

TEST(GroupStatistics, TestsOfDifferentKindsAreNotCountedTogether) {
    TestAnalysis pile;
    pile.family = TestFamily::kPileCompression;
    pile.standard = "JGJ 106-2014";
    pile.unit = "kN";
    pile.ultimate = value_of(3000);
    TestAnalysis plate;
    plate.family = TestFamily::kShallowPlate;
    plate.standard = "GB 50007-2011";
    plate.unit = "kPa";
    plate.characteristic = value_of(200);
    const GroupAnalysis mixed = group_statistics({pile, plate}, {"a", "b"}, {});
    EXPECT_EQ(mixed.statistic.outcome, RuleOutcome::kNotApplicable);
    const GroupAnalysis same = group_statistics({pile, pile, pile}, {"a", "b", "c"}, {});
    EXPECT_DOUBLE_EQ(same.statistic.value, 3000);
    EXPECT_EQ(same.members[1].name, "b");
}

}  // namespace
}  // namespace kvd
