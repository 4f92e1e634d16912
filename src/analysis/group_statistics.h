#pragma once
// Statistics of several tests of one site under the same conditions: each
// test's value, the mean, the range and the rule that turns them into the
// site's value. Piles take their ultimate loads (JGJ 106-2014 4.4.3, 4.4.4,
// 5.4.5), plates and composite foundations their characteristic values (the
// mean when the range is within 30 % of it), rock the smallest (GB 50007-2011
// H.0.10). A range beyond 30 % of the mean gives no value: the standards ask
// for the cause to be found, not for a number.

#include <string>
#include <vector>

#include "analysis/analysis_result.h"

namespace kvd {

inline constexpr double kGroupRangeShare = 0.30;  // range <= 30 % of the mean
inline constexpr int kGroupMinimumCount = 3;

struct GroupMember {
    std::string name;  // pile or point number, or the file's name
    RuleResult value;  // the test's value for the statistics (TestAnalysis::group_value)
    std::string unit;  // of the value
};

struct GroupOptions {
    // Piles: a cap over at most three piles (or fewer than three piles
    // tested: this is found from the count). Composite foundations: a pad over
    // fewer than five piles or a strip of fewer than three rows. Either takes
    // the smallest value.
    bool small_cap = false;
};

struct GroupAnalysis {
    TestFamily family = TestFamily::kUnsupported;
    std::string standard;
    std::string unit;
    std::vector<GroupMember> members;  // every test, counted or not
    int counted = 0;                   // tests with a value
    double mean = 0;
    double range = 0;
    double minimum = 0;
    double maximum = 0;
    bool lower_bounds = false;  // a counted value is only a lower bound ("≥")
    RuleResult statistic;       // Quk, fak, fspk or the rock's value
    RuleResult characteristic;  // Ra = Quk / 2 for piles; the statistic itself for foundations
    std::vector<std::string> notices;
};

// The group of the tests' own values. Tests of different kinds or units give
// no statistics.
GroupAnalysis group_statistics(const std::vector<TestAnalysis>& tests,
                               const std::vector<std::string>& names, const GroupOptions& options);

// The same with each test's value already taken (members[i] from tests[i],
// as group_member_of takes the engineer's choice or the proposal).
GroupAnalysis group_statistics_of(const std::vector<TestAnalysis>& tests,
                                  std::vector<GroupMember> members, const GroupOptions& options);

// The same over values already taken (for the desktop's group table and tests).
GroupAnalysis group_statistics(TestFamily family, const std::string& standard,
                               const std::string& unit, std::vector<GroupMember> members,
                               const GroupOptions& options);

}  // namespace kvd
