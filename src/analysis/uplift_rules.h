#pragma once
// Vertical uplift test of a single pile under JGJ 106-2014: why the test ended
// (5.3.5), the ultimate uplift load (5.4.2, and 5.4.4 for acceptance tests that
// reached none of its conditions) and the characteristic value (5.4.5).

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"

namespace kvd {

inline constexpr double kUpliftSteepFactor = 5.0;  // δ_n > 5 δ_(n-1)
// Cumulative uplift that ends a test controlled by uplift. Taken as 100 mm:
// the value of the 2003 edition and of the test-engineer training material;
// not confirmed from the text of the 2014 clause (one exam question gives
// 200 mm), so every result that uses it says so.
inline constexpr double kUpliftLimit = 100.0;

void analyse_uplift(const AnalysisInput& input, const AnalysisOptions& options, TestAnalysis& out);

}  // namespace kvd
