#pragma once
// Rule pieces that several standards share: the proposal of a steep drop
// (rise) and of a bending s-lgt tail, the "maximum load reached and stable"
// ending, the characteristic value as half the ultimate, and the texts they
// explain themselves with.

#include <string>
#include <string_view>

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"

namespace kvd {

// "各级沉降与前一级之比最大 1.34 倍（第 9 级），最大累计沉降 23.05 mm";
// displacement names the quantity ("沉降", "上拔量").
std::string largest_ratio_text(const LoadCurve& curve, std::string_view displacement);

// The standards' literal ending "Δs_n > factor · Δs_(n-1)" (with, when
// min_total > 0, a cumulative settlement above min_total mm).
RuleResult increment_ratio_ending(RuleId id, const std::string& title, const std::string& clause,
                                  const LoadCurve& curve, double factor, double min_total,
                                  std::string_view displacement);

// The ending "cumulative displacement reaches limit mm" (beyond it, when
// strictly).
RuleResult total_displacement_ending(RuleId id, const std::string& title, const std::string& clause,
                                     const LoadCurve& curve, double limit, bool strictly,
                                     std::string_view displacement);

// The steep-drop proposal: the load of the grade before the first slope jump
// (see find_slope_jump). word names the change ("陡降", "陡升").
void steep_rule(const LoadCurve& curve, std::string_view word, std::string_view unit,
                RuleResult& rule);

// The s-lgt (δ-lgt) proposal: the load of the grade before the first grade
// whose tail bends (see find_tail_bend).
void tail_rule(const LoadCurve& curve, double criterion_mm, std::string_view curve_name,
               std::string_view unit, RuleResult& rule);

// The design maximum load reached by the last loading grade, and that grade
// relatively stable at its end. displacement names the quantity ("沉降").
RuleResult design_load_reached(RuleId id, const std::string& clause, const LoadCurve& curve,
                               const TestSubject& subject, std::string_view displacement);

// The rule of last resort: "at least the largest load" when no earlier rule
// (chosen) gave a value, else not reached because that rule did.
void maximum_load_rule(const LoadCurve& curve, const RuleResult* chosen, std::string_view why,
                       RuleResult& maximum);

// Half the ultimate value, with the ultimate's outcome (a lower bound stays one).
RuleResult characteristic_of(const RuleResult& ultimate, RuleId id, std::string_view clause,
                             std::string_view unit);

// "弹性模量取 C30 混凝土的 3.00×10⁴ MPa（GB 50010-2010 表 4.1.5），未按实际桩身材料输入。"
std::string modulus_assumption(const AnalysisOptions& options);

}  // namespace kvd
