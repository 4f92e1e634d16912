#include "analysis/uplift_rules.h"

#include "analysis/common_rules.h"
#include "analysis/curve_measures.h"
#include "base/format.h"

namespace kvd {
namespace {

constexpr char kClause535[] = "JGJ 106-2014 第 5.3.5 条";
constexpr char kClause542[] = "JGJ 106-2014 第 5.4.2 条";
constexpr char kUpliftLimitAssumption[] =
    "累计上拔量 100 mm 的终止条件未能对照 2014 版条文原文核实（2003 版为 100 mm）。";
constexpr char kBarNotRecorded[] = "读数中没有钢筋应力和钢筋拉断的记录，需工程师按现场记录判定";

std::string clause(const char* base, int item) {
    return strprintf("%s第 %d 款", base, item);
}

std::vector<RuleResult> ending_conditions(const LoadCurve& curve, const TestSubject& subject) {
    std::vector<RuleResult> ending;
    ending.push_back(increment_ratio_ending(RuleId::kUpliftEndSteepRise,
                                            "某级上拔量大于前一级的 5 倍", clause(kClause535, 1),
                                            curve, kUpliftSteepFactor, 0, "上拔量"));

    RuleResult large =
        total_displacement_ending(RuleId::kUpliftEndLargeUplift, "累计上拔量超过 100 mm",
                                  clause(kClause535, 2), curve, kUpliftLimit, true, "上拔量");
    large.assumptions.push_back(kUpliftLimitAssumption);
    ending.push_back(large);

    RuleResult steel = RuleResult::make(RuleId::kUpliftEndSteelStress,
                                        "钢筋应力达到强度设计值或钢筋拉断", clause(kClause535, 3));
    steel.set_not_applicable(kBarNotRecorded);
    ending.push_back(steel);

    ending.push_back(design_load_reached(RuleId::kUpliftEndDesignLoad, clause(kClause535, 4), curve,
                                         subject, "上拔量"));
    return ending;
}

}  // namespace

void analyse_uplift(const AnalysisInput& input, const AnalysisOptions&, TestAnalysis& out) {
    const LoadCurve& curve = input.curve;
    RuleResult steep = RuleResult::make(RuleId::kUpliftSteepRise, "陡变型 U-δ 曲线：陡升起始点",
                                        clause(kClause542, 1));
    RuleResult bend =
        RuleResult::make(RuleId::kUpliftDeltaLgtBend,
                         "δ-lgt 曲线斜率明显变陡或尾部明显弯曲的前一级", clause(kClause542, 2));
    RuleResult bar =
        RuleResult::make(RuleId::kUpliftBrokenBar, "抗拔钢筋断裂时的前一级", clause(kClause542, 3));
    RuleResult maximum =
        RuleResult::make(RuleId::kUpliftMaximumLoad, "未出现第 5.4.2 条情况时取最大加载值",
                         "JGJ 106-2014 第 5.4.4 条");
    bar.set_not_applicable(kBarNotRecorded);
    if (curve.points.size() < 2) {
        for (RuleResult* rule : {&steep, &bend, &maximum})
            rule->set_not_applicable("加载级少于两级");
        out.rules = {steep, bend, bar, maximum};
        out.ultimate = maximum;
        out.characteristic = characteristic_of(maximum, RuleId::kUpliftCharacteristic,
                                               "JGJ 106-2014 第 5.4.5 条", out.unit);
        return;
    }
    out.ending = ending_conditions(curve, input.subject);
    steep_rule(curve, "陡升", out.unit, steep);
    tail_rule(curve, input.subject.stability_criterion_mm, "δ-lgt", out.unit, bend);

    const RuleResult* chosen = steep.gives_value() ? &steep : bend.gives_value() ? &bend : nullptr;
    maximum_load_rule(curve, chosen,
                      "未出现第 5.4.2 条的情况，取施加的最大荷载，极限承载力不小于此值", maximum);
    out.rules = {steep, bend, bar, maximum};
    out.ultimate = chosen ? *chosen : maximum;
    out.characteristic = characteristic_of(out.ultimate, RuleId::kUpliftCharacteristic,
                                           "JGJ 106-2014 第 5.4.5 条", out.unit);
    out.characteristic.assumptions.push_back(
        "桩身允许带裂缝工作；不允许时，应取桩身开裂的前一级荷载与此值比较取低值（读数中无开裂记"
        "录）。");
}

}  // namespace kvd
