#include "analysis/bearing_analysis.h"

#include <algorithm>

#include "analysis/classical_methods.h"
#include "analysis/compression_rules.h"
#include "analysis/foundation_rules.h"
#include "analysis/test_family.h"
#include "analysis/uplift_rules.h"

namespace kvd {

TestAnalysis analyse_input(const AnalysisInput& input, const AnalysisOptions& options) {
    TestAnalysis out;
    const TestSubject& subject = input.subject;
    out.family = subject.family;
    out.standard = rules_standard(subject.family, subject.method);
    out.unit = subject.unit;
    out.test_name = subject.name;
    out.max_load = input.curve.max_load();
    out.max_settlement = input.curve.last_settlement();
    out.loading_grades = static_cast<int>(input.curve.points.size());
    out.notices = input.notices;
    out.data_fingerprint = input.fingerprint;
    switch (subject.family) {
        case TestFamily::kPileCompression:
            analyse_compression(input, options, out);
            if (input.curve.points.size() >= 2) out.methods = classical_methods(input, options);
            break;
        case TestFamily::kPileUplift:
            analyse_uplift(input, options, out);
            break;
        case TestFamily::kShallowPlate:
        case TestFamily::kDeepPlate:
            analyse_plate(input, options, out);
            break;
        case TestFamily::kRock:
            analyse_rock(input, options, out);
            break;
        case TestFamily::kComposite:
            analyse_composite(input, options, out);
            break;
        case TestFamily::kUnsupported:
            out.ultimate = RuleResult::make(RuleId::kNone, "极限承载力", "");
            out.ultimate.set_not_applicable("该类试验不作承载力判定");
            out.characteristic = out.ultimate;
            break;
    }
    const bool ended = std::any_of(out.ending.begin(), out.ending.end(), [](const RuleResult& e) {
        return e.outcome == RuleOutcome::kOccurred;
    });
    // Piles end at the design load at the latest; plates end at the planned
    // maximum, which no ending condition names.
    if (is_pile_family(out.family) && !out.ending.empty() && !ended) {
        out.notices.push_back("未出现任何终止加载条件，试验可能未做完或提前停止，请核对。");
    }
    return out;
}

TestAnalysis analyse_test(const TestRecord& record, const AnalysisOptions& options) {
    return analyse_input(analysis_input(record), options);
}

}  // namespace kvd
