#pragma once
// Entry point of the bearing-capacity interpretation: one test record in, its
// TestAnalysis out, by the rules of the standard its test method names.
// Nothing in the record changes; the analysis reads the grades with the
// settlements and minutes the tables show.

#include "analysis/analysis_options.h"
#include "analysis/load_curve.h"
#include "record/test_record.h"

namespace kvd {

TestAnalysis analyse_test(const TestRecord& record, const AnalysisOptions& options = {});

// The same from an input built by hand (tests, the group table).
TestAnalysis analyse_input(const AnalysisInput& input, const AnalysisOptions& options = {});

}  // namespace kvd
