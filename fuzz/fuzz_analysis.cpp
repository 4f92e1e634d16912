// Fuzzes the bearing-capacity interpretation over whatever the file reader
// accepts: every rule must finish, and every value it offers must be a finite
// number with a grade that exists. A bad value aborts, so libFuzzer keeps the
// input.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "analysis/bearing_analysis.h"
#include "analysis/group_statistics.h"
#include "record/test_file_reader.h"

namespace {

using namespace kvd;

[[noreturn]] void fail(const RuleResult& rule, const char* what) {
    std::fprintf(stderr, "%s (%s): %s\n", std::string(rule_key(rule.id)).c_str(), rule.reason.c_str(),
                 what);
    std::abort();
}

void check(const RuleResult& rule, int grades) {
    if ((rule.gives_value() || rule.outcome == RuleOutcome::kOccurred) && !std::isfinite(rule.value)) {
        fail(rule, "value is not finite");
    }
    if (rule.source.grade >= grades || rule.source.from_grade >= grades || rule.source.to_grade >= grades) {
        fail(rule, "source grade out of range");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TestRecord record;
    ReadReport report;
    if (!read_record(ByteView(data, size), record, report).ok()) return 0;
    const TestAnalysis analysis = analyse_test(record);
    const int grades = record.grades.grade_count();
    for (const auto* list : {&analysis.ending, &analysis.rules, &analysis.methods}) {
        for (const RuleResult& rule : *list) check(rule, grades);
    }
    check(analysis.ultimate, grades);
    check(analysis.characteristic, grades);
    const GroupAnalysis group = group_statistics({analysis, analysis}, {"a", "b"}, {});
    check(group.statistic, grades);
    return 0;
}
