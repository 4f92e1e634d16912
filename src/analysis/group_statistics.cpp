#include "analysis/group_statistics.h"

#include <algorithm>

#include "base/format.h"

namespace kvd {
namespace {

std::string statistic_clause(TestFamily family, const std::string& standard) {
    switch (family) {
        case TestFamily::kPileCompression:
            return "JGJ 106-2014 第 4.4.3 条";
        case TestFamily::kPileUplift:
            return "JGJ 106-2014 第 5.4.3 条";
        case TestFamily::kShallowPlate:
            return standard == "JGJ 79-2012" ? "JGJ 79-2012 附录 A" : "GB 50007-2011 第 C.0.8 条";
        case TestFamily::kDeepPlate:
            return "GB 50007-2011 附录 D";
        case TestFamily::kRock:
            return "GB 50007-2011 第 H.0.10 条第 2 款";
        case TestFamily::kComposite:
            return "JGJ 79-2012 附录 B";
        case TestFamily::kUnsupported:
            return "";
    }
    return "";
}

std::string_view statistic_title(TestFamily family) {
    switch (family) {
        case TestFamily::kPileCompression:
            return "单桩竖向抗压极限承载力统计值 Quk";
        case TestFamily::kPileUplift:
            return "单桩竖向抗拔极限承载力统计值";
        case TestFamily::kShallowPlate:
        case TestFamily::kDeepPlate:
            return "地基承载力特征值 fak";
        case TestFamily::kRock:
            return "岩石地基承载力特征值";
        case TestFamily::kComposite:
            return "复合地基承载力特征值 fspk";
        case TestFamily::kUnsupported:
            return "统计值";
    }
    return "";
}

// The smallest value, a lower bound when that test's value is one.
void take_minimum(const std::vector<const GroupMember*>& counted, RuleResult& rule,
                  const std::string& why, const std::string& unit) {
    const GroupMember* low =
        *std::min_element(counted.begin(), counted.end(),
                          [](auto* a, auto* b) { return a->value.value < b->value.value; });
    rule.set_value(
        low->value.value, ValueSource::computed(),
        why + "，取低值（" + low->name + "，" + format_quantity(low->value.value, unit) + "）");
    if (low->value.outcome == RuleOutcome::kAtLeast) rule.outcome = RuleOutcome::kAtLeast;
}

}  // namespace

GroupAnalysis group_statistics(TestFamily family, const std::string& standard,
                               const std::string& unit, std::vector<GroupMember> members,
                               const GroupOptions& options) {
    GroupAnalysis group;
    group.family = family;
    group.standard = standard;
    group.unit = unit;
    group.members = std::move(members);
    group.statistic = RuleResult::make(RuleId::kGroupStatistic, statistic_title(family),
                                       statistic_clause(family, standard));
    const bool piles = is_pile_family(family);
    group.characteristic = RuleResult::make(
        RuleId::kGroupCharacteristic, piles ? "承载力特征值 Ra = 统计值的一半" : "承载力特征值",
        family == TestFamily::kPileCompression ? "JGJ 106-2014 第 4.4.4 条"
        : family == TestFamily::kPileUplift    ? "JGJ 106-2014 第 5.4.5 条"
                                               : statistic_clause(family, standard));

    std::vector<const GroupMember*> counted;
    for (const GroupMember& member : group.members) {
        if (member.value.gives_value()) {
            counted.push_back(&member);
            group.lower_bounds =
                group.lower_bounds || member.value.outcome == RuleOutcome::kAtLeast;
        } else {
            group.notices.push_back(member.name + " 没有判定值，未参加统计。");
        }
    }
    group.counted = static_cast<int>(counted.size());
    if (family == TestFamily::kUnsupported || counted.empty()) {
        group.statistic.set_not_applicable(counted.empty() ? "没有可参加统计的判定值"
                                                           : "试验类型不作承载力统计");
        group.characteristic.set_not_applicable("统计值未确定");
        return group;
    }
    double sum = 0;
    group.minimum = group.maximum = counted.front()->value.value;
    for (const GroupMember* member : counted) {
        sum += member->value.value;
        group.minimum = std::min(group.minimum, member->value.value);
        group.maximum = std::max(group.maximum, member->value.value);
    }
    group.mean = sum / group.counted;
    group.range = group.maximum - group.minimum;
    const std::string spread = strprintf("%d 个值，平均 %s，极差 %s（平均值的 %.1f%%）",
                                         group.counted, format_quantity(group.mean, unit).c_str(),
                                         format_quantity(group.range, unit).c_str(),
                                         group.mean > 0 ? group.range / group.mean * 100 : 0.0);

    RuleResult& statistic = group.statistic;
    if (family == TestFamily::kRock) {
        if (group.counted < kGroupMinimumCount) {
            statistic.set_not_applicable(strprintf("岩石地基载荷试验不应少于 %d 个，现有 %d 个",
                                                   kGroupMinimumCount, group.counted));
        } else {
            take_minimum(counted, statistic, spread + "；每个场地取最小值", unit);
        }
    } else if (piles && (group.counted < kGroupMinimumCount || options.small_cap)) {
        take_minimum(
            counted, statistic,
            spread + (options.small_cap ? "；承台下桩数不大于 3 根" : "；参加统计的试桩少于 3 根"),
            unit);
    } else if (!piles && group.counted < kGroupMinimumCount) {
        statistic.set_not_applicable(
            strprintf("试验点不应少于 %d 点，现有 %d 点", kGroupMinimumCount, group.counted));
    } else if (family == TestFamily::kComposite && options.small_cap) {
        take_minimum(counted, statistic, spread + "；桩数少于 5 根的独立基础或少于 3 排的条形基础",
                     unit);
    } else if (group.range <= kGroupRangeShare * group.mean * (1 + 1e-12)) {
        statistic.set_value(group.mean, ValueSource::computed(),
                            spread + "；极差不超过平均值的 30%，取平均值");
        if (group.lower_bounds) {
            statistic.outcome = RuleOutcome::kAtLeast;
            statistic.reason += "（其中有取最大加载值的试验，统计值为下限）";
        }
    } else {
        statistic.set_not_reached(spread +
                                  "；极差超过平均值的 30%，应分析原因并结合工程具体情况确定，"
                                  "必要时增加试验数量，不给出统计值");
    }

    if (!statistic.gives_value()) {
        group.characteristic.set_not_applicable("统计值未确定");
    } else if (piles) {
        group.characteristic.set_value(statistic.value / 2, ValueSource::computed(),
                                       "统计值的一半");
        group.characteristic.outcome = statistic.outcome;
    } else {
        group.characteristic.set_value(statistic.value, ValueSource::computed(), "即统计值");
        group.characteristic.outcome = statistic.outcome;
    }
    return group;
}

GroupAnalysis group_statistics(const std::vector<TestAnalysis>& tests,
                               const std::vector<std::string>& names, const GroupOptions& options) {
    std::vector<GroupMember> members;
    for (std::size_t i = 0; i < tests.size(); ++i) {
        members.push_back({i < names.size() ? names[i] : tests[i].test_name, tests[i].group_value(),
                           tests[i].unit});
    }
    return group_statistics_of(tests, std::move(members), options);
}

GroupAnalysis group_statistics_of(const std::vector<TestAnalysis>& tests,
                                  std::vector<GroupMember> members, const GroupOptions& options) {
    if (tests.empty())
        return group_statistics(TestFamily::kUnsupported, "", "", std::move(members), options);
    const TestAnalysis& first = tests.front();
    for (const TestAnalysis& test : tests) {
        if (test.family != first.family || test.unit != first.unit ||
            test.standard != first.standard) {
            GroupAnalysis group =
                group_statistics(TestFamily::kUnsupported, "", "", std::move(members), options);
            group.statistic.set_not_applicable("各试验的类型、标准或单位不一致，不能一起统计");
            return group;
        }
    }
    return group_statistics(first.family, first.standard, first.unit, std::move(members), options);
}

}  // namespace kvd
