// Shallow and deep plate tests and rock: the reading rules of GB 50007-2011
// appendices C, D and H (treated ground: JGJ 79-2012 appendix A).

#include <algorithm>

#include "analysis/common_rules.h"
#include "analysis/curve_measures.h"
#include "analysis/foundation_rules.h"
#include "analysis/test_family.h"
#include "base/format.h"

namespace kvd {
namespace {

// Shallow plates of GB 50007-2011 C.0.7(3) are 0.25 to 0.50 m².
constexpr double kShallowPlateMinArea = 0.25;
constexpr double kShallowPlateMaxArea = 0.50;
constexpr double kLoadTolerance = 1e-9;

// Where each rule of the three plate kinds is written.
struct PlateClauses {
    std::string end_squeezed, end_steep, end_unstable, end_relative, end_five;
    std::string ultimate, proportional, half, relative, characteristic;
};

PlateClauses clauses_for(TestFamily family, bool treated) {
    if (treated) {
        const std::string a = "JGJ 79-2012 附录 A";
        return {a, a, a, a, a, a, a, a, a, a};
    }
    if (family == TestFamily::kDeepPlate) {
        const std::string d = "GB 50007-2011 附录 D";
        return {d,
                d + " 终止加载第 1 款",
                d + " 终止加载第 2 款",
                d,
                d + " 终止加载第 3 款",
                d + " 承载力特征值第 2 款",
                d + " 承载力特征值第 1 款",
                d + " 承载力特征值第 2 款",
                d + " 承载力特征值第 3 款",
                d};
    }
    const std::string c = "GB 50007-2011 第 C.0.";
    return {c + "5 条第 1 款", c + "5 条第 2 款", c + "5 条第 3 款", c + "5 条第 4 款", "",
            c + "6 条",        c + "7 条第 1 款", c + "7 条第 2 款", c + "7 条第 3 款", c + "7 条"};
}

RuleResult half_ultimate_rule(const std::string& clause, const RuleResult& pu, const RuleResult& p0,
                              std::string_view unit) {
    RuleResult rule = RuleResult::make(RuleId::kPlateHalfUltimate,
                                       "极限荷载小于比例界限的 2 倍时取极限荷载的一半", clause);
    if (pu.outcome != RuleOutcome::kValue) {
        rule.set_not_applicable("极限荷载未确定");
    } else if (!p0.gives_value()) {
        rule.set_not_applicable("无明显比例界限");
    } else if (pu.value < 2 * p0.value) {
        rule.set_value(pu.value / 2, ValueSource::computed(),
                       "pu = " + format_quantity(pu.value, unit) +
                           " 小于 2p0 = " + format_quantity(2 * p0.value, unit) + "，取其一半");
    } else {
        rule.set_not_reached("pu = " + format_quantity(pu.value, unit) +
                             " 不小于 2p0 = " + format_quantity(2 * p0.value, unit));
    }
    return rule;
}

}  // namespace

void analyse_plate(const AnalysisInput& input, const AnalysisOptions& options, TestAnalysis& out) {
    const LoadCurve& curve = input.curve;
    const TestSubject& subject = input.subject;
    const bool deep = subject.family == TestFamily::kDeepPlate;
    const bool treated = is_treated_ground(subject.method);
    const PlateClauses cl = clauses_for(subject.family, treated);
    const std::string& unit = out.unit;
    if (curve.points.size() < 2) {
        RuleResult fak = RuleResult::make(RuleId::kPlateCharacteristic, "地基承载力特征值 fak",
                                          cl.characteristic);
        fak.set_not_applicable("加载级少于两级");
        out.characteristic = fak;
        out.ultimate = fak;
        return;
    }

    double width = plate_width_m(subject);
    std::vector<std::string> width_assumptions;
    if (width > 0 && !subject.square_section) {
        width_assumptions.push_back("承压板按圆形取直径 d（工程参数页的截面形状为圆形）。");
    }
    if (treated && width > kCompositeMaxWidth) {
        width = kCompositeMaxWidth;
        width_assumptions.push_back("承压板宽度大于 2 m，按 2 m 计。");
    }

    if (deep) {
        out.ending.push_back(steep_ending(RuleId::kPlateEndSteepDrop,
                                          "沉降急骤增大，p-s 曲线有陡降段且沉降超过 0.04d",
                                          cl.end_steep, curve, kDeepPlateDropRatio * width * 1000));
    } else {
        RuleResult squeezed = RuleResult::make(RuleId::kPlateEndSqueezed,
                                               "承压板周围的土明显地侧向挤出", cl.end_squeezed);
        squeezed.set_not_applicable("读数中没有这一现场观察，需工程师按试验记录判定");
        out.ending.push_back(squeezed);
        out.ending.push_back(steep_ending(RuleId::kPlateEndSteepDrop,
                                          "沉降急骤增大，p-s 曲线出现陡降段", cl.end_steep, curve,
                                          0));
    }
    out.ending.push_back(unstable_ending(RuleId::kPlateEndUnstable,
                                         "某级荷载下 24 h 内沉降速率不能达到稳定", cl.end_unstable,
                                         curve, subject.stability_criterion_mm));
    if (deep) {
        out.ending.push_back(
            increment_ratio_ending(RuleId::kPlateEndFiveTimes, "本级沉降量大于前一级沉降量的 5 倍",
                                   cl.end_five, curve, kDeepPlateFiveTimes, 0, "沉降"));
    } else {
        out.ending.push_back(relative_ending(RuleId::kPlateEndRelativeSettlement,
                                             "沉降量与承压板宽度或直径之比不小于 0.06",
                                             cl.end_relative, curve, width, kPlateFailureRatio));
    }

    RuleResult pu = ultimate_from_ending(
        RuleId::kPlateUltimate, cl.ultimate, out.ending,
        deep ? std::initializer_list<RuleId>{RuleId::kPlateEndSteepDrop, RuleId::kPlateEndUnstable,
                                             RuleId::kPlateEndFiveTimes}
             : std::initializer_list<RuleId>{RuleId::kPlateEndSqueezed, RuleId::kPlateEndSteepDrop,
                                             RuleId::kPlateEndUnstable},
        curve, unit);
    RuleResult p0 =
        proportional_rule(RuleId::kPlateProportionalLimit, cl.proportional, curve, unit);
    RuleResult half = half_ultimate_rule(cl.half, pu, p0, unit);

    double ratio = std::clamp(options.plate_relative_settlement, kMinPlateRelativeSettlement,
                              kMaxPlateRelativeSettlement);
    if (treated) ratio = kMinPlateRelativeSettlement;
    RuleResult relative =
        relative_rule(RuleId::kPlateRelativeSettlement,
                      strprintf("按相对变形 %s = %.3f 取值",
                                deep || !subject.square_section ? "s/d" : "s/b", ratio),
                      cl.relative, curve, width, ratio, pu, unit);
    relative.assumptions = width_assumptions;
    if (treated) {
        relative.assumptions.push_back(
            "处理后地基的相对变形取 0.010（JGJ 79-2012 附录 A），未能对照条文原文核实。");
    }
    if (!deep && !treated && subject.plate_area_m2 > 0 &&
        (subject.plate_area_m2 < kShallowPlateMinArea - kLoadTolerance ||
         subject.plate_area_m2 > kShallowPlateMaxArea + kLoadTolerance)) {
        relative.assumptions.push_back(strprintf(
            "压板面积 %.3f m² 不在该款所指的 0.25～0.50 m² 范围内。", subject.plate_area_m2));
    }

    RuleResult fak =
        RuleResult::make(RuleId::kPlateCharacteristic, "地基承载力特征值 fak", cl.characteristic);
    const double half_max = curve.max_load() / 2;
    if (p0.gives_value()) {
        if (half.outcome == RuleOutcome::kValue) {
            fak.proposal = pu.proposal || p0.proposal;
            fak.set_value(half.value, ValueSource::computed(),
                          "极限荷载小于比例界限的 2 倍，取极限荷载的一半");
        } else if (pu.outcome == RuleOutcome::kValue || p0.value <= half_max + kLoadTolerance) {
            fak.proposal = p0.proposal;
            fak.set_value(p0.value, p0.source, "取比例界限 p0");
        } else {
            // pu >= pmax is all that is known: pu < 2 p0 would give pu / 2 >= pmax / 2,
            // pu >= 2 p0 gives p0 > pmax / 2; either way at least pmax / 2.
            fak.set_at_least(half_max, ValueSource::computed(),
                             "极限荷载未确定且最大加载小于 2p0，特征值不小于最大加载的一半");
        }
    } else if (relative.gives_value()) {
        fak.set_value(relative.value, relative.source, "无明显比例界限，按相对变形取值");
    } else {
        fak.set_not_applicable("无明显比例界限，且无法按相对变形取值");
    }
    out.rules = {p0, pu, half, relative};
    out.ultimate = pu;
    out.characteristic = fak;
}

void analyse_rock(const AnalysisInput& input, const AnalysisOptions&, TestAnalysis& out) {
    const LoadCurve& curve = input.curve;
    const std::string h = "GB 50007-2011 附录 H";
    const std::string h10 = "GB 50007-2011 第 H.0.10 条第 1 款";
    const std::string& unit = out.unit;
    RuleResult fa = RuleResult::make(RuleId::kRockCharacteristic,
                                     "岩石地基承载力特征值：pu/3 与 p0 取小值", h10);
    if (curve.points.size() < 2) {
        fa.set_not_applicable("加载级少于两级");
        out.ultimate = out.characteristic = fa;
        return;
    }
    out.ending.push_back(unstable_ending(RuleId::kRockEndUnstable,
                                         "24 h 内沉降速率不能稳定（有增大的趋势）", h, curve,
                                         input.subject.stability_criterion_mm));
    RuleResult steep =
        steep_ending(RuleId::kRockEndSteepDrop, "沉降急剧增大，压力不能保持稳定", h, curve, 0);
    steep.assumptions.push_back("以沉降急剧增大代替「压力加不上或不能保持稳定」的现场观察。");
    out.ending.push_back(steep);

    RuleResult pu =
        ultimate_from_ending(RuleId::kRockUltimate, h10, out.ending,
                             {RuleId::kRockEndUnstable, RuleId::kRockEndSteepDrop}, curve, unit);
    RuleResult p0 = proportional_rule(RuleId::kRockProportionalLimit, h10, curve, unit);
    const double third = (pu.gives_value() ? pu.value : curve.max_load()) / kRockSafetyFactor;
    const std::string third_text = "pu/3 = " + format_quantity(third, unit);
    if (pu.outcome == RuleOutcome::kValue) {
        if (p0.gives_value() && p0.value < third) {
            fa.proposal = p0.proposal;
            fa.set_value(p0.value, p0.source, "p0 小于 " + third_text + "，取 p0");
        } else {
            fa.proposal = pu.proposal;
            fa.set_value(
                third, ValueSource::computed(),
                third_text + (p0.gives_value() ? " 不大于 p0，取 pu/3"
                                               : "，无明显比例界限（p0 不小于最大加载），取 pu/3"));
        }
    } else if (p0.gives_value() && p0.value <= third) {
        fa.proposal = p0.proposal;
        fa.set_value(p0.value, p0.source, "p0 不大于最大加载的 1/3，取 p0（极限荷载未确定）");
    } else {
        fa.set_at_least(third, ValueSource::computed(),
                        "极限荷载未确定（不小于最大加载），特征值不小于最大加载的 1/3 " +
                            format_quantity(third, unit));
    }
    out.rules = {p0, pu};
    out.ultimate = pu;
    out.characteristic = fa;
}

}  // namespace kvd
