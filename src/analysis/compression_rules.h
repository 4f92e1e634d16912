#pragma once
// Vertical compression test of a single pile under JGJ 106-2014: why the test
// ended (4.3.7), the ultimate load by the reading rules of 4.4.2 in their
// order, and the characteristic value of 4.4.4.

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"

namespace kvd {

// JGJ 106-2014 4.3.7 and 4.4.2 thresholds (settlements in mm).
inline constexpr double kSteepEndFactor = 5.0;     // Δs_n > 5 Δs_(n-1) ...
inline constexpr double kSteepEndTotal = 40.0;     // ... with a total over 40 mm
inline constexpr double kUnstableFactor = 2.0;     // Δs_n > 2 Δs_(n-1), not stable after 24 h
inline constexpr double kGradualEndTotal = 60.0;   // gradual curve loaded to 60-80 mm
inline constexpr double kGradualLimit = 40.0;      // 4.4.2(4): s = 40 mm
inline constexpr double kLargeDiameter = 800.0;    // 4.4.2(4): D >= 800 mm ...
inline constexpr double kDiameterFraction = 0.05;  // ... may take s = 0.05 D
inline constexpr double kLongPile = 40.0;          // m; longer piles allow for elastic shortening

// Share ξ of the free-column shortening Q·L/(E·A) taken as the pile's elastic
// compression: 2/3 for L/D <= 30, 1/2 for L/D >= 50, linear between. The
// standard asks for the shortening of piles longer than 40 m to be considered
// without a formula; these are the pile-compression coefficients of the
// settlement calculation of JGJ 94-2008 5.5.14 for friction piles, an
// assumption stated in every result that uses them.
double elastic_compression_share(double length_m, double diameter_mm);

void analyse_compression(const AnalysisInput& input, const AnalysisOptions& options,
                         TestAnalysis& out);

}  // namespace kvd
