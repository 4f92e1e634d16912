#pragma once
// What the analysis tab writes: the page's text (HTML) of a TestAnalysis and
// the engineer's choice, the words of the choice, and the mark of the chosen
// load on the Q-s curve. Plain text building over the analysis layer, so the
// tab, the frame and the tests word a result one way.

#include <optional>
#include <string>

#include "analysis/analysis_result.h"
#include "curves/q_s.h"
#include "record/engineer_choice.h"
#include "record/test_record.h"

namespace kvd {

// The stale choice's warning, shown on the tab and by the curve's colour.
inline constexpr char kChoiceStaleText[] = "所选承载力基于修改前的数据，请重新确认。";
inline constexpr char kUnsupportedFamilyText[] =
    "本试验类型（如水平静载试验）不在承载力分析范围内，不给出判定。";
// The links of the rows that give a value: "choose:rule:<RuleId>",
// "choose:method:<RuleId>", "choose:ultimate" (piles), "choose:characteristic"
// (foundations).
inline constexpr char kChooseLinkScheme[] = "choose";

// The symbol the family's chosen value is written with: "Qu", "Uu" or "p".
std::string choice_symbol(TestFamily family);
// The title of the rule a choice names in this analysis ("手动取值" for a
// typed value).
std::string chosen_rule_title(const EngineerChoice& choice, const TestAnalysis& analysis);
// "Qu = 2400 kN", "Qu ≥ 2400 kN".
std::string choice_value_text(const EngineerChoice& choice, const TestAnalysis& analysis);
// The rule of the analysis with that id (rules, classical methods, the
// proposed values), or nothing.
const RuleResult* find_rule(const TestAnalysis& analysis, RuleId id);

// The rule a row's link names, when it gives a value that may be chosen.
const RuleResult* rule_of_link(const TestAnalysis& analysis, const std::string& link);

// The whole page as HTML for a read-only text view.
std::string analysis_page_html(const TestAnalysis& analysis,
                               const std::optional<EngineerChoice>& choice);

// The mark of a choice on the Q-s curve; the label says "（数据已修改）" when
// the readings changed since the choice (`matches` false).
ChosenLoadMark chosen_load_mark(const EngineerChoice& choice, TestFamily family,
                                const std::string& unit, bool matches);

// The mark of the record's choice on its Q-s curve, or nothing without a
// choice. `fresh` is an up-to-date analysis of the record when there is one;
// otherwise only the analysed readings' fingerprint is computed. A value in
// kPa on a curve drawn in kN stands at its load over the plate area.
std::optional<ChosenLoadMark> record_choice_mark(const TestRecord& record,
                                                 const TestAnalysis* fresh);

}  // namespace kvd
