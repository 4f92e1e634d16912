#pragma once
// The engineer's choice (record/engineer_choice.h) made from and checked
// against an analysis: the rule accepted, or a typed value, with the
// fingerprint of the readings analysed.

#include <cstdint>
#include <string>

#include "analysis/analysis_result.h"
#include "record/engineer_choice.h"

namespace kvd {

// The choice of a rule's value as the analysis gave it.
EngineerChoice choice_of_rule(const RuleResult& rule, const TestAnalysis& analysis,
                              std::int64_t now, std::string note = {});
// A value the engineer typed (RuleId::kManual).
EngineerChoice manual_choice(double value, bool at_least, const TestAnalysis& analysis,
                             std::int64_t now, std::string note = {});

inline RuleId chosen_rule(const EngineerChoice& choice) {
    return static_cast<RuleId>(choice.rule);
}

// True when the analysis read the readings the choice was made on.
inline bool choice_matches(const EngineerChoice& choice, const TestAnalysis& analysis) {
    return choice.data_fingerprint == analysis.data_fingerprint;
}

}  // namespace kvd
