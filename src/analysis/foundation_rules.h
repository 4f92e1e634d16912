#pragma once
// Plate load tests on foundations: shallow and deep plates (GB 50007-2011
// appendices C and D; treated ground under JGJ 79-2012 appendix A), rock
// (GB 50007-2011 appendix H) and composite foundations (JGJ 79-2012 appendix
// B). Each test gives the ultimate pressure pu when the data show one, the
// proportional limit p0 (a proposal) and the characteristic value that the
// group statistics take. Pressures in kPa (or kN when the plate area is
// unknown), settlements in mm, plate widths in m.

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"

namespace kvd {

inline constexpr double kPlateFailureRatio =
    0.06;  // s/b >= 0.06 ends a shallow plate or composite test
inline constexpr double kDeepPlateDropRatio = 0.04;  // the deep plate's steep drop with s > 0.04 d
inline constexpr double kDeepPlateFiveTimes = 5.0;   // Δs_n > 5 Δs_(n-1) ends a deep plate test
inline constexpr double kRockSafetyFactor = 3.0;     // rock: pu / 3 against p0
inline constexpr double kCompositeMaxWidth = 2.0;    // m; a wider plate counts as 2 m
inline constexpr double kMaxRelativeSettlement = 0.015;

void analyse_plate(const AnalysisInput& input, const AnalysisOptions& options, TestAnalysis& out);
void analyse_rock(const AnalysisInput& input, const AnalysisOptions& options, TestAnalysis& out);
void analyse_composite(const AnalysisInput& input, const AnalysisOptions& options,
                       TestAnalysis& out);

// Pieces the three share (foundation_rules.cpp).

// The proportional limit proposal (find_proportional_limit).
RuleResult proportional_rule(RuleId id, const std::string& clause, const LoadCurve& curve,
                             std::string_view unit);

// The steep-drop ending: the first slope jump, and (when min_settlement > 0)
// a cumulative settlement above min_settlement.
RuleResult steep_ending(RuleId id, const std::string& title, const std::string& clause,
                        const LoadCurve& curve, double min_settlement);

// A grade held 24 h without relative stability.
RuleResult unstable_ending(RuleId id, const std::string& title, const std::string& clause,
                           const LoadCurve& curve, double criterion_mm);

// The cumulative settlement reaching fraction · width.
RuleResult relative_ending(RuleId id, const std::string& title, const std::string& clause,
                           const LoadCurve& curve, double width_m, double fraction);

// The ultimate pressure: the load of the grade before the earliest of the
// listed endings that occurred; at least the largest load when none did.
RuleResult ultimate_from_ending(RuleId id, const std::string& clause,
                                const std::vector<RuleResult>& ending,
                                std::initializer_list<RuleId> ids, const LoadCurve& curve,
                                std::string_view unit);

// The pressure at s = ratio · width, never above half the largest pressure
// nor (when the ultimate is known) half the ultimate.
RuleResult relative_rule(RuleId id, const std::string& title, const std::string& clause,
                         const LoadCurve& curve, double width_m, double ratio,
                         const RuleResult& ultimate, std::string_view unit);

}  // namespace kvd
