#include "analysis/group_member.h"

#include <vector>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "base/byte_reader.h"
#include "base/file_io.h"
#include "record/file_classifier.h"
#include "record/file_format.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

// The analysis's own result of a rule, when it has one of that id.
const RuleResult* find_rule(const TestAnalysis& analysis, RuleId id) {
    for (const std::vector<RuleResult>* list : {&analysis.rules, &analysis.methods}) {
        for (const RuleResult& rule : *list) {
            if (rule.id == id) return &rule;
        }
    }
    if (analysis.ultimate.id == id) return &analysis.ultimate;
    if (analysis.characteristic.id == id) return &analysis.characteristic;
    return nullptr;
}

// Piles are counted by their ultimate load, foundations by their
// characteristic value: a choice of the other quantity differs by a factor.
bool counts_other_quantity(TestFamily family, RuleId chosen) {
    if (is_pile_family(family)) {
        return chosen == RuleId::kCompressionCharacteristic ||
               chosen == RuleId::kUpliftCharacteristic;
    }
    return chosen == RuleId::kPlateUltimate || chosen == RuleId::kRockUltimate ||
           chosen == RuleId::kCompositeUltimate;
}

std::string rule_words(const RuleResult& rule) {
    if (rule.clause.empty()) return rule.title;
    return rule.title + "（" + rule.clause + "）";
}

RuleResult chosen_value(const TestAnalysis& analysis, const EngineerChoice& choice) {
    const RuleId id = chosen_rule(choice);
    const RuleResult* rule = find_rule(analysis, id);
    RuleResult value =
        RuleResult::make(id, rule ? rule->title : "手动取值", rule ? rule->clause : std::string());
    const ValueSource source =
        rule && rule->value == choice.value ? rule->source : ValueSource::computed();
    std::string why = "工程师选定";
    if (!choice.note.empty()) why += "：" + choice.note;
    if (choice.at_least)
        value.set_at_least(choice.value, source, why);
    else
        value.set_value(choice.value, source, why);
    return value;
}

}  // namespace

std::string_view basis_text(MemberBasis basis) {
    switch (basis) {
        case MemberBasis::kProposal:
            return "程序建议";
        case MemberBasis::kChoice:
            return "工程师选定";
        case MemberBasis::kStaleChoice:
            return "选定基于修改前数据，未采用";
        case MemberBasis::kOtherQuantity:
            return "选定值不是统计所用的量，未采用";
    }
    return "";
}

GroupMemberValue group_member_of(const TestAnalysis& analysis,
                                 const std::optional<EngineerChoice>& choice,
                                 const std::string& name) {
    GroupMemberValue out;
    out.member.name = analysis.test_name.empty() ? name : analysis.test_name;
    out.member.unit = analysis.unit;
    if (choice && !choice_matches(*choice, analysis)) {
        out.basis = MemberBasis::kStaleChoice;
    } else if (choice && counts_other_quantity(analysis.family, chosen_rule(*choice))) {
        out.basis = MemberBasis::kOtherQuantity;
    } else if (choice) {
        out.basis = MemberBasis::kChoice;
        out.member.value = chosen_value(analysis, *choice);
        out.basis_detail = std::string(basis_text(out.basis)) + "：" + rule_words(out.member.value);
        return out;
    }
    out.member.value = analysis.group_value();
    out.basis_detail = std::string(basis_text(out.basis));
    if (out.basis != MemberBasis::kProposal) out.basis_detail += "；程序建议";
    out.basis_detail += "：" + rule_words(out.member.value);
    return out;
}

GroupFile read_group_file(const std::string& path, const std::string& name,
                          const AnalysisOptions& options) {
    GroupFile out;
    out.path = path;
    ReadOnlyFile file;
    if (Status status = file.open(path); !status.ok()) {
        out.refusal = status.message();
        return out;
    }
    const Bytes head = read_head(file, kClassifyBytes);
    if (Status status = file.read_status(); !status.ok()) {
        out.refusal = status.message();
        return out;
    }
    const FileClass file_class = classify_file(head).file_class;
    if (file_class == FileClass::kUnfinished) {
        out.refusal = kMessageGroupUnfinished;
        return out;
    }
    if (file_class != FileClass::kReadable && file_class != FileClass::kOldFormat) {
        const std::string refusal = refusal_message(file_class);
        out.refusal = refusal.empty() ? kMessageCannotOpen : refusal;
        return out;
    }
    TestRecord record;
    ReadReport report;
    if (Status status = read_record(file, record, report); !status.ok()) {
        out.refusal = status.message();
        return out;
    }
    if (report.damaged) {
        out.refusal = damage_notice(report) + "不参加统计。";
        return out;
    }
    out.analysis = analyse_test(record, options);
    out.value = group_member_of(out.analysis, record.engineer_choice, name);
    return out;
}

GroupAnalysis group_of_files(const std::vector<GroupFile>& files, const GroupOptions& options) {
    std::vector<TestAnalysis> tests;
    std::vector<GroupMember> members;
    for (const GroupFile& file : files) {
        if (!file.counted()) continue;
        tests.push_back(file.analysis);
        members.push_back(file.value.member);
    }
    return group_statistics_of(tests, std::move(members), options);
}

int same_test_index(const std::vector<GroupFile>& files, const GroupFile& file) {
    if (!file.counted()) return -1;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const GroupFile& other = files[i];
        if (other.counted() && other.value.member.name == file.value.member.name &&
            other.analysis.data_fingerprint == file.analysis.data_fingerprint &&
            other.analysis.family == file.analysis.family) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace kvd
