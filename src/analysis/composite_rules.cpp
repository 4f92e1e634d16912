// Composite foundation plate tests: JGJ 79-2012 appendix B (JGJ 340-2015
// chapter 5 tests are read by the same rules). The appendix's clause numbers
// are not cited: they could not be checked against its text.

#include <algorithm>

#include "analysis/foundation_rules.h"
#include "base/format.h"

namespace kvd {
namespace {

constexpr char kAppendixB[] = "JGJ 79-2012 附录 B";
constexpr char kRelativeAssumption[] =
    "各类增强体的相对变形值按 JGJ 79-2012 附录 B 取用，未能对照条文原文逐项核实。";

}  // namespace

void analyse_composite(const AnalysisInput& input, const AnalysisOptions& options,
                       TestAnalysis& out) {
    const LoadCurve& curve = input.curve;
    const std::string b = kAppendixB;
    const std::string& unit = out.unit;
    RuleResult fspk =
        RuleResult::make(RuleId::kCompositeCharacteristic, "复合地基承载力特征值 fspk", b);
    if (curve.points.size() < 2) {
        fspk.set_not_applicable("加载级少于两级");
        out.ultimate = out.characteristic = fspk;
        return;
    }
    const double plate = plate_width_m(input.subject);
    const double width = std::min(plate, kCompositeMaxWidth);

    out.ending.push_back(steep_ending(RuleId::kCompositeEndSteepDrop,
                                      "沉降急剧增大，土被挤出或承压板周围出现明显隆起", b, curve,
                                      0));
    out.ending.push_back(relative_ending(RuleId::kCompositeEndRelativeSettlement,
                                         "承压板的累计沉降量大于其宽度或直径的 6%", b, curve, plate,
                                         kPlateFailureRatio));
    RuleResult pu = ultimate_from_ending(
        RuleId::kCompositeUltimate, b, out.ending,
        {RuleId::kCompositeEndSteepDrop, RuleId::kCompositeEndRelativeSettlement}, curve, unit);
    RuleResult p0 = proportional_rule(RuleId::kCompositeProportionalLimit, b, curve, unit);

    RuleResult limit = RuleResult::make(RuleId::kCompositeLimitOrHalf,
                                        "极限荷载能确定时：pu ≥ 2p0 取 p0，否则取 pu/2", b);
    if (pu.outcome != RuleOutcome::kValue) {
        limit.set_not_applicable("极限荷载未确定（压力-沉降曲线为平缓的光滑曲线）");
    } else if (!p0.gives_value()) {
        limit.set_not_applicable("无明显比例界限");
    } else if (pu.value >= 2 * p0.value) {
        limit.proposal = true;
        limit.set_value(p0.value, p0.source, "pu 不小于 2p0，取比例界限 p0");
    } else {
        limit.proposal = true;
        limit.set_value(pu.value / 2, ValueSource::computed(), "pu 小于 2p0，取极限荷载的一半");
    }

    const double ratio = composite_relative_settlement(options.composite);
    RuleResult relative =
        RuleResult::make(RuleId::kCompositeRelativeSettlement, "平缓曲线按相对变形值取值", b);
    if (!(ratio > 0)) {
        relative.set_not_applicable("未指定复合地基增强体类型，无法选取相对变形值");
    } else {
        relative =
            relative_rule(RuleId::kCompositeRelativeSettlement,
                          strprintf("平缓曲线按相对变形值 %.3f 取值（%s）", ratio,
                                    std::string(composite_kind_title(options.composite)).c_str()),
                          b, curve, width, ratio, pu, unit);
        relative.assumptions.push_back(kRelativeAssumption);
        if (plate > kCompositeMaxWidth)
            relative.assumptions.push_back("承压板宽度大于 2 m，按 2 m 计。");
    }

    if (limit.gives_value()) {
        fspk.proposal = pu.proposal || p0.proposal;
        fspk.set_value(limit.value, limit.source, "按极限荷载与比例界限取值");
    } else if (relative.gives_value()) {
        fspk.set_value(relative.value, relative.source, "按相对变形值取值");
    } else {
        fspk.set_not_applicable(relative.reason);
    }
    out.rules = {p0, pu, limit, relative};
    out.ultimate = pu;
    out.characteristic = fspk;
}

}  // namespace kvd
