#include "analysis/foundation_rules.h"

#include <algorithm>

#include "analysis/curve_measures.h"
#include "base/format.h"

namespace kvd {

RuleResult proportional_rule(RuleId id, const std::string& clause, const LoadCurve& curve,
                             std::string_view unit) {
    RuleResult rule = RuleResult::make(id, "比例界限 p0（p-s 曲线初始直线段的终点）", clause);
    rule.proposal = true;
    const ProportionalLimit limit = find_proportional_limit(curve);
    if (limit.index >= 1) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(limit.index)];
        const CurvePoint& next = curve.points[static_cast<std::size_t>(limit.index) + 1];
        rule.set_value(
            at.load, ValueSource::of_grade(at.grade),
            strprintf("第 %d 级斜率为此前各级平均的 %.2f 倍（阈值 %.1f 倍），直线段止于第 %d "
                      "级 %s",
                      next.grade, limit.ratio, kProportionalLimitFactor, at.grade,
                      format_quantity(at.load, unit).c_str()));
    } else if (limit.largest_at >= 0) {
        rule.set_not_reached(
            strprintf("各级斜率与此前平均之比最大 %.2f 倍（第 %d 级），未达到 %.1f 倍，"
                      "无明显比例界限",
                      limit.ratio, curve.points[static_cast<std::size_t>(limit.largest_at)].grade,
                      kProportionalLimitFactor));
    } else {
        rule.set_not_applicable("加载级不足四级，无法判断直线段");
    }
    return rule;
}

RuleResult steep_ending(RuleId id, const std::string& title, const std::string& clause,
                        const LoadCurve& curve, double min_settlement) {
    RuleResult rule = RuleResult::make(id, title, clause);
    rule.proposal = true;
    const SlopeJump jump = find_slope_jump(curve);
    if (jump.index >= 0) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(jump.index)];
        const std::string measured =
            strprintf("第 %d 级斜率为前一级的 %.2f 倍、此前各级平均的 %.2f 倍（阈值 %.1f 倍）",
                      at.grade, jump.ratio_previous, jump.ratio_mean, kSteepDropSlopeFactor);
        // The drop must come with the settlement the clause names, at the
        // jump or at a later grade of the drop; the drop starts at the jump.
        const auto past =
            std::find_if(curve.points.begin() + jump.index, curve.points.end(),
                         [&](const CurvePoint& p) { return p.settlement > min_settlement; });
        if (min_settlement <= 0 || past != curve.points.end()) {
            rule.set_occurred(at.load, at.grade, measured);
        } else {
            rule.set_not_reached(measured + strprintf("，但累计沉降 %.2f mm 未超过 %.2f mm",
                                                      curve.last_settlement(), min_settlement));
        }
    } else if (jump.largest_at >= 0) {
        rule.set_not_reached(strprintf(
            "各级斜率之比最大 %.2f 倍（第 %d 级），未达到 %.1f 倍",
            std::min(jump.ratio_previous, jump.ratio_mean),
            curve.points[static_cast<std::size_t>(jump.largest_at)].grade, kSteepDropSlopeFactor));
    } else {
        rule.set_not_applicable("加载级不足三级，无法比较各级斜率");
    }
    return rule;
}

RuleResult unstable_ending(RuleId id, const std::string& title, const std::string& clause,
                           const LoadCurve& curve, double criterion_mm) {
    RuleResult rule = RuleResult::make(id, title, clause);
    const auto at =
        std::find_if(curve.points.begin(), curve.points.end(),
                     [&](const CurvePoint& p) { return unstable_after_a_day(p, criterion_mm); });
    if (at != curve.points.end()) {
        rule.set_occurred(at->load, at->grade,
                          strprintf("第 %d 级维持 %.1f h 仍未达到相对稳定", at->grade,
                                    at->holding_minutes / 60.0));
    } else {
        rule.set_not_reached("没有维持 24 h 仍未稳定的荷载级");
    }
    return rule;
}

RuleResult relative_ending(RuleId id, const std::string& title, const std::string& clause,
                           const LoadCurve& curve, double width_m, double fraction) {
    RuleResult rule = RuleResult::make(id, title, clause);
    if (!(width_m > 0)) {
        rule.set_not_applicable("未填写压板面积，无法计算相对沉降");
        return rule;
    }
    const double limit = fraction * width_m * 1000;
    const auto at = std::find_if(curve.points.begin(), curve.points.end(),
                                 [&](const CurvePoint& p) { return p.settlement >= limit; });
    if (at != curve.points.end()) {
        rule.set_occurred(
            at->load, at->grade,
            strprintf("第 %d 级累计沉降 %.2f mm，达到压板宽度 %.3f m 的 %.0f%%（%.2f mm）",
                      at->grade, at->settlement, width_m, fraction * 100, limit));
    } else {
        rule.set_not_reached(
            strprintf("最大累计沉降 %.2f mm，小于压板宽度 %.3f m 的 %.0f%%（%.2f mm）",
                      curve.last_settlement(), width_m, fraction * 100, limit));
    }
    return rule;
}

RuleResult ultimate_from_ending(RuleId id, const std::string& clause,
                                const std::vector<RuleResult>& ending,
                                std::initializer_list<RuleId> ids, const LoadCurve& curve,
                                std::string_view unit) {
    RuleResult rule = RuleResult::make(id, "极限荷载 pu：终止加载情况出现的前一级", clause);
    const RuleResult* earliest = nullptr;
    for (const RuleResult& e : ending) {
        if (e.outcome != RuleOutcome::kOccurred) continue;
        if (std::find(ids.begin(), ids.end(), e.id) == ids.end()) continue;
        if (!earliest || e.source.grade < earliest->source.grade) earliest = &e;
    }
    if (!earliest) {
        rule.set_at_least(curve.max_load(), ValueSource::of_grade(curve.points.back().grade),
                          "未出现据以确定极限荷载的终止情况，极限荷载不小于最大加载 " +
                              format_quantity(curve.max_load(), unit));
        return rule;
    }
    const auto at =
        std::find_if(curve.points.begin(), curve.points.end(),
                     [&](const CurvePoint& p) { return p.grade == earliest->source.grade; });
    if (at == curve.points.begin() || !((at - 1)->load > 0)) {
        rule.set_not_applicable("首个加载级即出现「" + earliest->title +
                                "」，无前一级荷载可取，请核对读数");
        return rule;
    }
    const CurvePoint& before = *(at - 1);
    rule.set_value(
        before.load, ValueSource::of_grade(before.grade),
        strprintf("第 %d 级出现「%s」，取前一级第 %d 级 %s", at->grade, earliest->title.c_str(),
                  before.grade, format_quantity(before.load, unit).c_str()));
    rule.proposal = earliest->proposal;
    return rule;
}

RuleResult relative_rule(RuleId id, const std::string& title, const std::string& clause,
                         const LoadCurve& curve, double width_m, double ratio,
                         const RuleResult& ultimate, std::string_view unit) {
    RuleResult rule = RuleResult::make(id, title, clause);
    if (!(width_m > 0)) {
        rule.set_not_applicable("未填写压板面积，无法按相对变形取值");
        return rule;
    }
    double cap = curve.max_load() / 2;
    std::string cap_text = "最大加载的一半";
    if (ultimate.outcome == RuleOutcome::kValue && ultimate.value / 2 < cap) {
        cap = ultimate.value / 2;
        cap_text = "极限荷载的一半";
    }
    const double target = ratio * width_m * 1000;
    const std::string base =
        strprintf("相对变形 %.3f，压板宽度 %.3f m，对应沉降 %.2f mm", ratio, width_m, target);
    const std::string capped = cap_text + " " + format_quantity(cap, unit);
    if (auto at = load_at_settlement(curve, target)) {
        if (at->load <= cap) {
            rule.set_value(at->load, at->source, base + " 处的压力");
        } else {
            rule.set_value(
                cap, ValueSource::computed(),
                base + " 处为 " + format_quantity(at->load, unit) + "，大于" + capped + "，取后者");
        }
    } else {
        rule.set_value(cap, ValueSource::computed(),
                       base +
                           strprintf("，最大累计沉降 %.2f mm 未达到，取", curve.last_settlement()) +
                           capped);
    }
    return rule;
}

}  // namespace kvd
