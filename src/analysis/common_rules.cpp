#include "analysis/common_rules.h"

#include <algorithm>

#include "analysis/curve_measures.h"
#include "base/format.h"

namespace kvd {
namespace {

// Loads within this of a threshold count as reaching it (loads are whole
// units, pressures may carry a fraction).
constexpr double kLoadTolerance = 1e-9;

}  // namespace

std::string largest_ratio_text(const LoadCurve& curve, std::string_view displacement) {
    const std::string what(displacement);
    const IncrementRatio largest = largest_increment_ratio(curve);
    if (largest.index < 0) {
        return strprintf("最大累计%s %.2f mm", what.c_str(), curve.last_settlement());
    }
    return strprintf("各级%s与前一级之比最大 %.2f 倍（第 %d 级），最大累计%s %.2f mm", what.c_str(),
                     largest.ratio, curve.points[static_cast<std::size_t>(largest.index)].grade,
                     what.c_str(), curve.last_settlement());
}

RuleResult increment_ratio_ending(RuleId id, const std::string& title, const std::string& clause,
                                  const LoadCurve& curve, double factor, double min_total,
                                  std::string_view displacement) {
    const std::string what(displacement);
    RuleResult rule = RuleResult::make(id, title, clause);
    const int n = min_total > 0 ? first_increment_exceeding(curve, factor, min_total)
                                : first_increment_exceeding(curve, factor);
    if (n < 0) {
        rule.set_not_reached(largest_ratio_text(curve, displacement));
        return rule;
    }
    const CurvePoint& p = curve.points[static_cast<std::size_t>(n)];
    std::string why =
        strprintf("第 %d 级%s %.2f mm 大于前一级 %.2f mm 的 %.0f 倍", p.grade, what.c_str(),
                  p.increment, curve.points[static_cast<std::size_t>(n) - 1].increment, factor);
    if (min_total > 0) {
        why += strprintf("，累计%s %.2f mm 超过 %.0f mm", what.c_str(), p.settlement, min_total);
    }
    rule.set_occurred(p.load, p.grade, why);
    return rule;
}

RuleResult total_displacement_ending(RuleId id, const std::string& title, const std::string& clause,
                                     const LoadCurve& curve, double limit, bool strictly,
                                     std::string_view displacement) {
    const std::string what(displacement);
    RuleResult rule = RuleResult::make(id, title, clause);
    const auto at =
        std::find_if(curve.points.begin(), curve.points.end(), [&](const CurvePoint& p) {
            return strictly ? p.settlement > limit : p.settlement >= limit;
        });
    const char* verb = strictly ? "超过" : "达到";
    if (at != curve.points.end()) {
        rule.set_occurred(at->load, at->grade,
                          strprintf("第 %d 级累计%s %.2f mm，%s %.0f mm", at->grade, what.c_str(),
                                    at->settlement, verb, limit));
    } else {
        rule.set_not_reached(strprintf("最大累计%s %.2f mm，未%s %.0f mm", what.c_str(),
                                       curve.last_settlement(), verb, limit));
    }
    return rule;
}

void steep_rule(const LoadCurve& curve, std::string_view word, std::string_view unit,
                RuleResult& rule) {
    const std::string w(word);
    rule.proposal = true;
    const SlopeJump jump = find_slope_jump(curve);
    if (jump.index >= 1) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(jump.index)];
        const CurvePoint& before = curve.points[static_cast<std::size_t>(jump.index) - 1];
        rule.set_value(
            before.load, ValueSource::of_grade(before.grade),
            strprintf("第 %d 级斜率为前一级的 %.2f 倍、此前各级平均的 %.2f 倍（阈值 %.1f "
                      "倍，且本级位移 %.2f mm ≥ %.1f mm），取%s起始点第 %d 级荷载 %s",
                      at.grade, jump.ratio_previous, jump.ratio_mean, kSteepDropSlopeFactor,
                      at.increment, kSteepDropMinIncrement, w.c_str(), before.grade,
                      format_quantity(before.load, unit).c_str()));
    } else if (jump.largest_at >= 0) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(jump.largest_at)];
        rule.set_not_reached(
            strprintf("各级斜率与前一级及此前平均之比最大 %.2f 倍（第 %d 级），"
                      "未达到 %.1f 倍，未见明显%s",
                      std::min(jump.ratio_previous, jump.ratio_mean), at.grade,
                      kSteepDropSlopeFactor, w.c_str()));
    } else {
        rule.set_not_applicable("加载级不足三级，无法比较各级斜率");
    }
}

void tail_rule(const LoadCurve& curve, double criterion_mm, std::string_view curve_name,
               std::string_view unit, RuleResult& rule) {
    const std::string name(curve_name);
    rule.proposal = true;
    const FirstTailBend found = find_tail_bend(curve, criterion_mm);
    if (found.index >= 0) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(found.index)];
        const std::string measured = strprintf(
            "第 %d 级 %s 尾段斜率为前段的 %.2f 倍（阈值 %.1f 倍），尾段位移速率 %.2f mm/h "
            "超过 %.2f mm/h",
            at.grade, name.c_str(), found.bend.ratio, kTailBendFactor,
            found.bend.last_hour.value_or(0), criterion_mm);
        if (found.index == 0 ||
            !(curve.points[static_cast<std::size_t>(found.index) - 1].load > 0)) {
            rule.set_not_applicable(measured + "；它是首个加载级，无前一级荷载可取，请核对读数");
            return;
        }
        const CurvePoint& before = curve.points[static_cast<std::size_t>(found.index) - 1];
        rule.set_value(before.load, ValueSource::of_grade(before.grade),
                       measured + strprintf("，取前一级第 %d 级荷载 %s", before.grade,
                                            format_quantity(before.load, unit).c_str()));
    } else if (found.largest_at >= 0) {
        const CurvePoint& at = curve.points[static_cast<std::size_t>(found.largest_at)];
        std::string why = strprintf("各级 %s 尾段斜率与前段之比最大 %.2f 倍（第 %d 级）",
                                    name.c_str(), found.bend.ratio, at.grade);
        if (found.bend.ratio >= kTailBendFactor) {
            why += strprintf("，但尾段位移速率 %.2f mm/h 未超过 %.2f mm/h",
                             found.bend.last_hour.value_or(0), criterion_mm);
        }
        rule.set_not_reached(why + "，未见明显向下弯曲");
    } else {
        rule.set_not_applicable(
            strprintf("各级读数不足 %d 次，无法判断 %s 尾部", kTailReadings + 1, name.c_str()));
    }
}

RuleResult design_load_reached(RuleId id, const std::string& clause, const LoadCurve& curve,
                               const TestSubject& subject, std::string_view displacement) {
    const std::string what(displacement);
    RuleResult rule =
        RuleResult::make(id, "已达到设计要求的最大加载值且" + what + "达到相对稳定", clause);
    const double design = subject.design_max_load;
    if (!(design > 0)) {
        rule.set_not_applicable("试验标准页未填写最大载荷值");
        return rule;
    }
    const CurvePoint& last = curve.points.back();
    const std::string load = format_quantity(last.load, subject.unit);
    if (last.load + kLoadTolerance < design) {
        rule.set_not_reached(strprintf("最大加载 %s 小于最大载荷值 %s", load.c_str(),
                                       format_quantity(design, subject.unit).c_str()));
        return rule;
    }
    const auto stability = end_stability(last, subject.stability_criterion_mm);
    if (!stability) {
        rule.set_not_reached("末级荷载 " + load +
                             " 达到最大载荷值，但维持不足 1.5 h，无法核对相对稳定");
    } else if (stability->stable) {
        rule.set_occurred(
            last.load, last.grade,
            strprintf("末级荷载 %s 达到最大载荷值，末 1.5 h 内两次每小时%s %.2f、%.2f "
                      "mm，不超过 %.2f mm",
                      load.c_str(), what.c_str(), stability->hour_before, stability->last_hour,
                      subject.stability_criterion_mm));
    } else {
        rule.set_not_reached(
            strprintf("末级荷载 %s 达到最大载荷值，但末 1.5 h 内两次每小时%s %.2f、"
                      "%.2f mm，未达到相对稳定",
                      load.c_str(), what.c_str(), stability->hour_before, stability->last_hour));
    }
    return rule;
}

void maximum_load_rule(const LoadCurve& curve, const RuleResult* chosen, std::string_view why,
                       RuleResult& maximum) {
    if (chosen) {
        maximum.set_not_reached(strprintf("已按%s取值", chosen->clause.c_str()));
        return;
    }
    const CurvePoint& top =
        *std::max_element(curve.points.begin(), curve.points.end(),
                          [](const CurvePoint& a, const CurvePoint& b) { return a.load < b.load; });
    maximum.set_at_least(top.load, ValueSource::of_grade(top.grade), std::string(why));
}

RuleResult characteristic_of(const RuleResult& ultimate, RuleId id, std::string_view clause,
                             std::string_view unit) {
    RuleResult rule = RuleResult::make(id, "特征值取极限承载力的一半", clause);
    if (!ultimate.gives_value()) {
        rule.set_not_applicable("极限承载力未确定");
        return rule;
    }
    rule.set_value(
        ultimate.value / 2, ValueSource::computed(),
        (ultimate.outcome == RuleOutcome::kAtLeast ? "极限承载力不小于 " : "极限承载力 ") +
            format_quantity(ultimate.value, unit) + " 的一半");
    rule.outcome = ultimate.outcome;
    rule.proposal = ultimate.proposal;
    return rule;
}

std::string modulus_assumption(const AnalysisOptions& options) {
    return strprintf(
        "桩身弹性模量取 C30 混凝土的 %.0f MPa（GB 50010-2010 表 4.1.5），"
        "未输入实际桩身材料的弹性模量。",
        options.elastic_modulus_mpa);
}

}  // namespace kvd
