#pragma once
// Classical interpretations of a compression test, shown beside the
// standard's value for comparison (Fellenius, "What capacity value to choose
// from the results of a static loading test", Fulcrum 2001, and the original
// papers it cites). None of them decides the proposal. Each says "not
// reached" when the data do not support a value: an extrapolation that fits
// badly, that lies outside the measured range where the method needs it
// inside, or (Chin-Kondner, Decourt) a test that never passed the Davisson
// limit, before which the hyperbola's asymptote means little.
//
// Loads in kN, settlements in mm, diameters in mm, lengths in m.

#include <vector>

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"

namespace kvd {

// Davisson (1972): s = Q·L/(A·E) + 0.15 in + D/120; 0.15 in is 3.8 mm, taken
// as 4 mm as in SI practice.
inline constexpr double kDavissonOffsetMm = 4.0;
inline constexpr double kDavissonDiameterDivisor = 120.0;
// Fits below this coefficient of determination give no value.
inline constexpr double kMinFitR2 = 0.95;
inline constexpr int kMinFitPoints = 3;
// De Beer: the upper line of the log-log plot must be at least this many times
// steeper than the lower for a break to be read off. A proposal.
inline constexpr double kDeBeerSlopeFactor = 1.5;
// EN 1997-1 7.6.1.1(3): failure taken at a settlement of 10 % of the base diameter.
inline constexpr double kDiameterCriterion = 0.10;

// Curve point indices fitted, both inclusive.
struct FitRange {
    int first = 0;
    int last = -1;
};

// The points an extrapolation fits: the engineer's grades when given, else
// the points from the Davisson load on (at least kMinFitPoints), else the
// upper half of the curve (at least kMinFitPoints).
FitRange fit_range(const LoadCurve& curve, const AnalysisOptions& options,
                   const RuleResult& davisson_result);

RuleResult davisson(const LoadCurve& curve, const TestSubject& subject,
                    const AnalysisOptions& options);
RuleResult chin_kondner(const LoadCurve& curve, FitRange range);
RuleResult decourt(const LoadCurve& curve, FitRange range);
RuleResult brinch_hansen_80(const LoadCurve& curve, FitRange range);
RuleResult brinch_hansen_90(const LoadCurve& curve);
RuleResult de_beer(const LoadCurve& curve);
RuleResult ten_percent_diameter(const LoadCurve& curve, const TestSubject& subject);

// All of them, Chin-Kondner and Decourt withdrawn when the Davisson limit was
// not passed.
std::vector<RuleResult> classical_methods(const AnalysisInput& input,
                                          const AnalysisOptions& options);

}  // namespace kvd
