#include "analysis/choice_of_rule.h"

#include <utility>

namespace kvd {

EngineerChoice manual_choice(double value, bool at_least, const TestAnalysis& analysis,
                             std::int64_t now, std::string note) {
    EngineerChoice choice;
    choice.rule = static_cast<std::uint16_t>(RuleId::kManual);
    choice.value = value;
    choice.at_least = at_least;
    choice.data_fingerprint = analysis.data_fingerprint;
    choice.chosen_at = now;
    choice.note = std::move(note);
    return choice;
}

EngineerChoice choice_of_rule(const RuleResult& rule, const TestAnalysis& analysis,
                              std::int64_t now, std::string note) {
    EngineerChoice choice = manual_choice(rule.value, rule.outcome == RuleOutcome::kAtLeast,
                                          analysis, now, std::move(note));
    choice.rule = static_cast<std::uint16_t>(rule.id);
    return choice;
}

}  // namespace kvd
