#include "analysis/compression_rules.h"

#include "analysis/common_rules.h"
#include "analysis/curve_measures.h"
#include "base/format.h"

namespace kvd {
namespace {

constexpr char kClause437[] = "JGJ 106-2014 第 4.3.7 条";
constexpr char kClause442[] = "JGJ 106-2014 第 4.4.2 条";

std::string clause(const char* base, int item) {
    return strprintf("%s第 %d 款", base, item);
}

struct Context {
    const LoadCurve& curve;
    const TestSubject& subject;
    const AnalysisOptions& options;
    const std::string& unit;
};

// The first grade n with Δs_n > 2 Δs_(n-1) held a day without stability; -1: none.
int first_double_unstable(const Context& c) {
    for (std::size_t n = 2; n < c.curve.points.size(); ++n) {
        const CurvePoint& p = c.curve.points[n];
        if (p.increment > kUnstableFactor * c.curve.points[n - 1].increment &&
            unstable_after_a_day(p, c.subject.stability_criterion_mm)) {
            return static_cast<int>(n);
        }
    }
    return -1;
}

std::string double_unstable_text(const Context& c, int n) {
    const CurvePoint& p = c.curve.points[static_cast<std::size_t>(n)];
    return strprintf(
        "第 %d 级沉降 %.2f mm 大于前一级 %.2f mm 的 2 倍，维持 %.1f h 仍未达到相对稳定", p.grade,
        p.increment, c.curve.points[static_cast<std::size_t>(n) - 1].increment,
        p.holding_minutes / 60.0);
}

constexpr char kNoDoubleUnstable[] =
    "未出现某级沉降大于前一级 2 倍且维持 24 h 仍未达到相对稳定的情况";

std::vector<RuleResult> ending_conditions(const Context& c) {
    const LoadCurve& curve = c.curve;
    std::vector<RuleResult> ending;

    ending.push_back(increment_ratio_ending(
        RuleId::kCompressionEndSteepDrop, "某级沉降大于前一级的 5 倍且总沉降超过 40 mm",
        clause(kClause437, 1), curve, kSteepEndFactor, kSteepEndTotal, "沉降"));

    RuleResult unstable = RuleResult::make(RuleId::kCompressionEndUnstable,
                                           "某级沉降大于前一级的 2 倍且经 24 h 未达到相对稳定",
                                           clause(kClause437, 2));
    if (int n = first_double_unstable(c); n >= 0) {
        const CurvePoint& p = curve.points[static_cast<std::size_t>(n)];
        unstable.set_occurred(p.load, p.grade, double_unstable_text(c, n));
    } else {
        unstable.set_not_reached(kNoDoubleUnstable);
    }
    ending.push_back(unstable);

    ending.push_back(design_load_reached(RuleId::kCompressionEndDesignLoad, clause(kClause437, 3),
                                         curve, c.subject, "沉降"));

    RuleResult anchor = RuleResult::make(RuleId::kCompressionEndAnchorUplift,
                                         "锚桩上拔量已达到允许值", clause(kClause437, 4));
    if (!c.subject.anchor_uplift_mm) {
        anchor.set_not_applicable("没有测量锚桩的位移通道");
    } else if (!(c.subject.anchor_allowed_mm > 0)) {
        anchor.set_not_applicable(
            strprintf("锚桩最大上拔 %.2f mm；未设最大上拔报警值，无法核对允许值",
                      *c.subject.anchor_uplift_mm));
    } else if (*c.subject.anchor_uplift_mm >= c.subject.anchor_allowed_mm) {
        const CurvePoint& last = curve.points.back();
        anchor.set_occurred(last.load, last.grade,
                            strprintf("锚桩上拔 %.2f mm 达到最大上拔报警值 %.2f mm",
                                      *c.subject.anchor_uplift_mm, c.subject.anchor_allowed_mm));
        anchor.assumptions.push_back("以报警参数页的最大上拔量作为锚桩上拔允许值。");
    } else {
        anchor.set_not_reached(strprintf("锚桩最大上拔 %.2f mm，小于最大上拔报警值 %.2f mm",
                                         *c.subject.anchor_uplift_mm, c.subject.anchor_allowed_mm));
        anchor.assumptions.push_back("以报警参数页的最大上拔量作为锚桩上拔允许值。");
    }
    ending.push_back(anchor);

    ending.push_back(total_displacement_ending(
        RuleId::kCompressionEndLargeSettlement, "缓变型曲线加载至总沉降 60～80 mm",
        clause(kClause437, 5), curve, kGradualEndTotal, false, "沉降"));
    return ending;
}

// The settlement line of the gradual-curve rule: the limit plus, for piles
// longer than 40 m, the elastic compression of the pile.
struct LimitLine {
    double intercept = 0;
    double slope = 0;  // mm per unit load
    std::string note;
    std::vector<std::string> assumptions;
};

LimitLine limit_line(const Context& c, double limit) {
    LimitLine line;
    line.intercept = limit;
    if (!(c.subject.pile_length_m > kLongPile)) return line;
    const double elastic = pile_elastic_slope(c.subject, c.options.elastic_modulus_mpa);
    if (!(elastic > 0)) {
        line.note = strprintf("桩长 %.1f m 超过 40 m，但桩径未知，未扣除桩身弹性压缩",
                              c.subject.pile_length_m);
        return line;
    }
    const double share =
        elastic_compression_share(c.subject.pile_length_m, c.subject.pile_diameter_mm);
    line.slope = share * elastic;
    line.note =
        strprintf("桩长 %.1f m 超过 40 m，另计桩身弹性压缩 ξQL/(EA)，ξ = %.3f，E = %.0f MPa",
                  c.subject.pile_length_m, share, c.options.elastic_modulus_mpa);
    line.assumptions.push_back(
        "桩身弹性压缩系数 ξ 按 L/D ≤ 30 取 2/3、L/D ≥ 50 取 1/2、其间线性插值（JGJ 94-2008 第 "
        "5.5.14 条摩擦型桩的取值）。");
    if (!c.options.modulus_given) line.assumptions.push_back(modulus_assumption(c.options));
    return line;
}

RuleResult settlement_rule(const Context& c, RuleId id, const char* title, double limit,
                           const char* limit_text) {
    RuleResult rule = RuleResult::make(id, title, clause(kClause442, 4));
    const LimitLine line = limit_line(c, limit);
    rule.assumptions = line.assumptions;
    const std::string suffix = line.note.empty() ? "" : "（" + line.note + "）";
    if (auto at = load_at_line(c.curve, line.intercept, line.slope)) {
        rule.set_value(at->load, at->source,
                       strprintf("累计沉降达到 %s 处的荷载%s", limit_text, suffix.c_str()));
    } else {
        rule.set_not_reached(strprintf("最大累计沉降 %.2f mm，未达到 %s%s",
                                       c.curve.last_settlement(), limit_text, suffix.c_str()));
    }
    return rule;
}

}  // namespace

double elastic_compression_share(double length_m, double diameter_mm) {
    if (!(diameter_mm > 0)) return 2.0 / 3.0;
    const double slenderness = length_m / (diameter_mm / 1000.0);
    if (slenderness <= 30) return 2.0 / 3.0;
    if (slenderness >= 50) return 0.5;
    return 2.0 / 3.0 + (slenderness - 30) / 20 * (0.5 - 2.0 / 3.0);
}

void analyse_compression(const AnalysisInput& input, const AnalysisOptions& options,
                         TestAnalysis& out) {
    const Context c{input.curve, input.subject, options, out.unit};
    const LoadCurve& curve = input.curve;

    RuleResult steep = RuleResult::make(RuleId::kCompressionSteepDrop,
                                        "陡降型 Q-s 曲线：明显陡降的起始点", clause(kClause442, 1));
    RuleResult bend = RuleResult::make(RuleId::kCompressionSlgtBend,
                                       "s-lgt 曲线尾部明显向下弯曲的前一级", clause(kClause442, 2));
    RuleResult unstable = RuleResult::make(
        RuleId::kCompressionUnstable, "符合第 4.3.7 条第 2 款时的前一级", clause(kClause442, 3));
    RuleResult maximum = RuleResult::make(RuleId::kCompressionMaximumLoad,
                                          "未达到极限时取最大加载值", clause(kClause442, 5));
    if (curve.points.size() < 2) {
        for (RuleResult* rule : {&steep, &bend, &unstable, &maximum}) {
            rule->set_not_applicable("加载级少于两级");
        }
        out.rules = {steep, bend, unstable, maximum};
        out.ultimate = maximum;
        out.characteristic = characteristic_of(out.ultimate, RuleId::kCompressionCharacteristic,
                                               "JGJ 106-2014 第 4.4.4 条", out.unit);
        return;
    }
    out.ending = ending_conditions(c);

    steep_rule(curve, "陡降", c.unit, steep);
    tail_rule(curve, c.subject.stability_criterion_mm, "s-lgt", c.unit, bend);
    if (int n = first_double_unstable(c); n >= 0) {
        const CurvePoint& before = curve.points[static_cast<std::size_t>(n) - 1];
        unstable.set_value(before.load, ValueSource::of_grade(before.grade),
                           double_unstable_text(c, n) + "，取前一级荷载");
    } else {
        unstable.set_not_reached(kNoDoubleUnstable);
    }

    RuleResult at40 =
        settlement_rule(c, RuleId::kCompressionSettlement40,
                        "缓变型 Q-s 曲线：s = 40 mm 对应的荷载", kGradualLimit, "40 mm");
    RuleResult at005 = RuleResult::make(RuleId::kCompressionSettlement005D,
                                        "缓变型 Q-s 曲线：D ≥ 800 mm 时 s = 0.05D 对应的荷载",
                                        clause(kClause442, 4));
    const double diameter = c.subject.pile_diameter_mm;
    if (!(diameter > 0)) {
        at005.set_not_applicable("未填写桩径");
    } else if (diameter < kLargeDiameter) {
        at005.set_not_applicable(strprintf("桩径 %.0f mm 小于 800 mm", diameter));
    } else {
        const double limit = kDiameterFraction * diameter;
        const std::string limit_text = strprintf("0.05D = %.2f mm", limit);
        at005 = settlement_rule(c, RuleId::kCompressionSettlement005D,
                                "缓变型 Q-s 曲线：D ≥ 800 mm 时 s = 0.05D 对应的荷载", limit,
                                limit_text.c_str());
        at005.assumptions.push_back("以桩径作为桩端直径 D（未扩底）。");
    }

    // The first rule that gives a value is the proposal; 0.05 D replaces 40 mm
    // only when the engineer chose it and it gives a value.
    const RuleResult& gradual = options.take_005d && at005.gives_value() ? at005 : at40;
    const RuleResult* chosen = nullptr;
    for (const RuleResult* rule :
         std::initializer_list<const RuleResult*>{&steep, &bend, &unstable, &gradual}) {
        if (rule->gives_value()) {
            chosen = rule;
            break;
        }
    }
    maximum_load_rule(curve, chosen,
                      "第 1～4 款均未给出极限承载力，取最大加载值，极限承载力不小于此值", maximum);
    out.rules = {steep, bend, unstable, at40, at005, maximum};
    out.ultimate = chosen ? *chosen : maximum;
    out.characteristic = characteristic_of(out.ultimate, RuleId::kCompressionCharacteristic,
                                           "JGJ 106-2014 第 4.4.4 条", out.unit);
}

}  // namespace kvd
