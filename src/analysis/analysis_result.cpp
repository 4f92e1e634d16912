#include "analysis/analysis_result.h"

#include <cmath>
#include <utility>

#include "base/format.h"

namespace kvd {

std::string_view rule_key(RuleId id) {
    switch (id) {
        case RuleId::kNone:
            return "none";
        case RuleId::kCompressionEndSteepDrop:
            return "compression_end_steep_drop";
        case RuleId::kCompressionEndUnstable:
            return "compression_end_unstable";
        case RuleId::kCompressionEndDesignLoad:
            return "compression_end_design_load";
        case RuleId::kCompressionEndAnchorUplift:
            return "compression_end_anchor_uplift";
        case RuleId::kCompressionEndLargeSettlement:
            return "compression_end_large_settlement";
        case RuleId::kCompressionSteepDrop:
            return "compression_steep_drop";
        case RuleId::kCompressionSlgtBend:
            return "compression_slgt_bend";
        case RuleId::kCompressionUnstable:
            return "compression_unstable";
        case RuleId::kCompressionSettlement40:
            return "compression_settlement_40mm";
        case RuleId::kCompressionSettlement005D:
            return "compression_settlement_005d";
        case RuleId::kCompressionMaximumLoad:
            return "compression_maximum_load";
        case RuleId::kCompressionCharacteristic:
            return "compression_characteristic";
        case RuleId::kUpliftEndSteepRise:
            return "uplift_end_steep_rise";
        case RuleId::kUpliftEndLargeUplift:
            return "uplift_end_large_uplift";
        case RuleId::kUpliftEndSteelStress:
            return "uplift_end_steel_stress";
        case RuleId::kUpliftEndDesignLoad:
            return "uplift_end_design_load";
        case RuleId::kUpliftSteepRise:
            return "uplift_steep_rise";
        case RuleId::kUpliftDeltaLgtBend:
            return "uplift_delta_lgt_bend";
        case RuleId::kUpliftBrokenBar:
            return "uplift_broken_bar";
        case RuleId::kUpliftMaximumLoad:
            return "uplift_maximum_load";
        case RuleId::kUpliftCharacteristic:
            return "uplift_characteristic";
        case RuleId::kPlateEndSqueezed:
            return "plate_end_squeezed";
        case RuleId::kPlateEndSteepDrop:
            return "plate_end_steep_drop";
        case RuleId::kPlateEndUnstable:
            return "plate_end_unstable";
        case RuleId::kPlateEndRelativeSettlement:
            return "plate_end_relative_settlement";
        case RuleId::kPlateEndFiveTimes:
            return "plate_end_five_times";
        case RuleId::kPlateProportionalLimit:
            return "plate_proportional_limit";
        case RuleId::kPlateUltimate:
            return "plate_ultimate";
        case RuleId::kPlateHalfUltimate:
            return "plate_half_ultimate";
        case RuleId::kPlateRelativeSettlement:
            return "plate_relative_settlement";
        case RuleId::kPlateCharacteristic:
            return "plate_characteristic";
        case RuleId::kRockEndUnstable:
            return "rock_end_unstable";
        case RuleId::kRockEndSteepDrop:
            return "rock_end_steep_drop";
        case RuleId::kRockProportionalLimit:
            return "rock_proportional_limit";
        case RuleId::kRockUltimate:
            return "rock_ultimate";
        case RuleId::kRockCharacteristic:
            return "rock_characteristic";
        case RuleId::kCompositeEndSteepDrop:
            return "composite_end_steep_drop";
        case RuleId::kCompositeEndRelativeSettlement:
            return "composite_end_relative_settlement";
        case RuleId::kCompositeProportionalLimit:
            return "composite_proportional_limit";
        case RuleId::kCompositeUltimate:
            return "composite_ultimate";
        case RuleId::kCompositeLimitOrHalf:
            return "composite_limit_or_half";
        case RuleId::kCompositeRelativeSettlement:
            return "composite_relative_settlement";
        case RuleId::kCompositeCharacteristic:
            return "composite_characteristic";
        case RuleId::kDavisson:
            return "davisson";
        case RuleId::kChinKondner:
            return "chin_kondner";
        case RuleId::kDecourt:
            return "decourt";
        case RuleId::kBrinchHansen80:
            return "brinch_hansen_80";
        case RuleId::kBrinchHansen90:
            return "brinch_hansen_90";
        case RuleId::kDeBeer:
            return "de_beer";
        case RuleId::kTenPercentDiameter:
            return "ten_percent_diameter";
        case RuleId::kManual:
            return "manual";
        case RuleId::kGroupStatistic:
            return "group_statistic";
        case RuleId::kGroupCharacteristic:
            return "group_characteristic";
    }
    return "unknown";
}

std::string_view outcome_key(RuleOutcome outcome) {
    switch (outcome) {
        case RuleOutcome::kValue:
            return "value";
        case RuleOutcome::kAtLeast:
            return "at_least";
        case RuleOutcome::kOccurred:
            return "occurred";
        case RuleOutcome::kNotReached:
            return "not_reached";
        case RuleOutcome::kNotApplicable:
            return "not_applicable";
    }
    return "unknown";
}

std::string_view outcome_text(RuleOutcome outcome) {
    switch (outcome) {
        case RuleOutcome::kValue:
            return "取值";
        case RuleOutcome::kAtLeast:
            return "不小于";
        case RuleOutcome::kOccurred:
            return "出现";
        case RuleOutcome::kNotReached:
            return "未出现";
        case RuleOutcome::kNotApplicable:
            return "不适用";
    }
    return "";
}

ValueSource ValueSource::of_grade(int g) {
    ValueSource source;
    source.kind = Kind::kGrade;
    source.grade = g;
    return source;
}

ValueSource ValueSource::interpolated(int lower, int upper, double settlement) {
    ValueSource source;
    source.kind = Kind::kInterpolated;
    source.from_grade = lower;
    source.grade = upper;
    source.at = settlement;
    return source;
}

ValueSource ValueSource::fitted(int first, int last, double r2) {
    ValueSource source;
    source.kind = Kind::kFitted;
    source.from_grade = first;
    source.to_grade = last;
    source.r2 = r2;
    return source;
}

ValueSource ValueSource::computed() {
    ValueSource source;
    source.kind = Kind::kComputed;
    return source;
}

std::string describe_source(const ValueSource& source) {
    switch (source.kind) {
        case ValueSource::Kind::kNone:
            return "";
        case ValueSource::Kind::kGrade:
            return strprintf("第 %d 级", source.grade);
        case ValueSource::Kind::kInterpolated:
            return strprintf("第 %d～%d 级间插值 (s = %.2f mm)", source.from_grade, source.grade,
                             source.at);
        case ValueSource::Kind::kFitted:
            return strprintf("第 %d～%d 级拟合 (R² = %.4f)", source.from_grade, source.to_grade,
                             source.r2);
        case ValueSource::Kind::kComputed:
            return "由上列取值计算";
    }
    return "";
}

RuleResult RuleResult::make(RuleId id, std::string_view title, std::string_view clause) {
    RuleResult result;
    result.id = id;
    result.title = title;
    result.clause = clause;
    return result;
}

void RuleResult::set_value(double v, const ValueSource& from, std::string why) {
    outcome = RuleOutcome::kValue;
    value = v;
    source = from;
    reason = std::move(why);
}

void RuleResult::set_at_least(double v, const ValueSource& from, std::string why) {
    set_value(v, from, std::move(why));
    outcome = RuleOutcome::kAtLeast;
}

void RuleResult::set_occurred(double load, int grade, std::string why) {
    set_value(load, ValueSource::of_grade(grade), std::move(why));
    outcome = RuleOutcome::kOccurred;
}

void RuleResult::set_not_reached(std::string why) {
    outcome = RuleOutcome::kNotReached;
    value = 0;
    source = ValueSource{};
    reason = std::move(why);
}

void RuleResult::set_not_applicable(std::string why) {
    set_not_reached(std::move(why));
    outcome = RuleOutcome::kNotApplicable;
}

std::string_view family_key(TestFamily family) {
    switch (family) {
        case TestFamily::kPileCompression:
            return "pile_compression";
        case TestFamily::kPileUplift:
            return "pile_uplift";
        case TestFamily::kShallowPlate:
            return "shallow_plate";
        case TestFamily::kDeepPlate:
            return "deep_plate";
        case TestFamily::kRock:
            return "rock";
        case TestFamily::kComposite:
            return "composite";
        case TestFamily::kUnsupported:
            return "unsupported";
    }
    return "unsupported";
}

std::string_view family_title(TestFamily family) {
    switch (family) {
        case TestFamily::kPileCompression:
            return "单桩竖向抗压静载试验";
        case TestFamily::kPileUplift:
            return "单桩竖向抗拔静载试验";
        case TestFamily::kShallowPlate:
            return "浅层平板载荷试验";
        case TestFamily::kDeepPlate:
            return "深层平板载荷试验";
        case TestFamily::kRock:
            return "岩石地基载荷试验";
        case TestFamily::kComposite:
            return "复合地基静载荷试验";
        case TestFamily::kUnsupported:
            return "不作承载力判定的试验";
    }
    return "";
}

std::string format_quantity(double value, std::string_view unit) {
    const double whole = std::round(value);
    const std::string number =
        std::fabs(value - whole) < 0.05 ? strprintf("%.0f", whole + 0.0) : strprintf("%.1f", value);
    return number + " " + std::string(unit);
}

std::string rule_value_text(const RuleResult& rule, std::string_view unit) {
    switch (rule.outcome) {
        case RuleOutcome::kValue:
        case RuleOutcome::kOccurred:
            return format_quantity(rule.value, unit);
        case RuleOutcome::kAtLeast:
            return "≥ " + format_quantity(rule.value, unit);
        default:
            return "";
    }
}

std::string rule_outcome_text(const RuleResult& rule) {
    std::string text(outcome_text(rule.outcome));
    if (rule.proposal && (rule.gives_value() || rule.outcome == RuleOutcome::kOccurred)) {
        text += "（建议）";
    }
    return text;
}

std::string format_result_value(const RuleResult& result, std::string_view symbol,
                                std::string_view unit) {
    const std::string name(symbol);
    switch (result.outcome) {
        case RuleOutcome::kValue:
            return name + " = " + format_quantity(result.value, unit);
        case RuleOutcome::kAtLeast:
            return name + " ≥ " + format_quantity(result.value, unit);
        default:
            return name + " " + std::string(outcome_text(result.outcome));
    }
}

}  // namespace kvd
