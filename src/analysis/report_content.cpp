#include "analysis/report_content.h"

#include "analysis/choice_of_rule.h"
#include "base/format.h"
#include "base/local_time.h"

namespace kvd {
namespace {

// 规则 / 条款 / 结果 / 值 / 来源 / 理由: the reason column takes the most room.
const std::vector<std::string> kRuleHeader = {"规则", "条款", "结果", "值", "来源", "理由"};
const std::vector<int> kRuleWeights = {16, 16, 8, 10, 14, 36};

std::string reason_column(const RuleResult& rule) {
    std::string reason = rule.reason;
    for (const std::string& assumption : rule.assumptions) reason += "〔假定：" + assumption + "〕";
    return reason;
}

std::vector<std::string> rule_row(const RuleResult& rule, const std::string& unit) {
    return {rule.title,
            rule.clause,
            rule_outcome_text(rule),
            rule_value_text(rule, unit),
            describe_source(rule.source),
            reason_column(rule)};
}

ReportBlock heading(std::string text) {
    return {ReportBlock::Kind::kHeading, std::move(text), {}};
}
ReportBlock text(std::string text) {
    return {ReportBlock::Kind::kText, std::move(text), {}};
}

ReportBlock rule_table(const std::vector<RuleResult>& rules, const std::string& unit) {
    ReportBlock block{ReportBlock::Kind::kTable, {}, {kRuleHeader, kRuleWeights, {}}};
    for (const RuleResult& rule : rules) block.table.rows.push_back(rule_row(rule, unit));
    return block;
}

// The rule of the analysis a choice names, or nothing (a typed value, or a
// rule this analysis no longer gives).
const RuleResult* rule_of_choice(const TestAnalysis& a, RuleId id) {
    for (const auto* list : {&a.rules, &a.methods, &a.ending}) {
        for (const RuleResult& rule : *list) {
            if (rule.id == id) return &rule;
        }
    }
    if (a.ultimate.id == id) return &a.ultimate;
    if (a.characteristic.id == id) return &a.characteristic;
    return nullptr;
}

std::string choice_text(const TestAnalysis& a, const EngineerChoice& choice) {
    const RuleId id = chosen_rule(choice);
    std::string source;
    if (id == RuleId::kManual) {
        source = kManualChoiceTitle;
    } else if (const RuleResult* rule = rule_of_choice(a, id)) {
        source = rule->title + "（" + rule->clause + "）";
    } else {
        source = strprintf("规则 %d", static_cast<int>(id));
    }
    std::string line = "工程师选定：" + source + "，取值 " + (choice.at_least ? "≥ " : "") +
                       format_quantity(choice.value, a.unit);
    if (choice.chosen_at != 0) {
        line += "，" + format_local_time(choice.chosen_at, "%Y-%m-%d %H:%M");
    }
    if (!choice.note.empty()) line += "，备注：" + choice.note;
    return line + "。";
}

}  // namespace

ReportContent analysis_report(const TestAnalysis& a, const std::optional<EngineerChoice>& choice) {
    ReportContent content;
    content.title = kAnalysisSectionTitle;
    std::vector<ReportBlock>& blocks = content.blocks;
    std::string test = "试验：" + std::string(family_title(a.family));
    if (!a.test_name.empty()) test += "　" + a.test_name;
    if (!a.standard.empty()) test += "　判定依据：" + a.standard;
    blocks.push_back(text(test));
    const char* movement = a.family == TestFamily::kPileUplift ? "上拔量" : "沉降";
    blocks.push_back(text(strprintf("最大加载 %s（共 %d 级），对应累计%s %.2f mm",
                                    format_quantity(a.max_load, a.unit).c_str(), a.loading_grades,
                                    movement, a.max_settlement)));

    std::vector<RuleResult> occurred;
    for (const RuleResult& rule : a.ending) {
        if (rule.outcome == RuleOutcome::kOccurred) occurred.push_back(rule);
    }
    blocks.push_back(heading("终止加载条件"));
    if (occurred.empty()) {
        blocks.push_back(text("未出现规范所列的终止加载条件。"));
    } else {
        blocks.push_back(rule_table(occurred, a.unit));
    }

    blocks.push_back(heading("判定规则"));
    if (a.rules.empty()) {
        blocks.push_back(text("该试验类型不作承载力判定。"));
    } else {
        blocks.push_back(rule_table(a.rules, a.unit));
    }

    blocks.push_back(heading("建议值"));
    std::vector<RuleResult> proposed;
    if (is_pile_family(a.family)) {
        RuleResult ultimate = a.ultimate;
        ultimate.title = "极限承载力 Qu（" + a.ultimate.title + "）";
        proposed.push_back(ultimate);
    }
    proposed.push_back(a.characteristic);
    blocks.push_back(rule_table(proposed, a.unit));

    if (!a.methods.empty()) {
        blocks.push_back(heading(kComparisonHeading));
        blocks.push_back(rule_table(a.methods, a.unit));
    }

    if (!a.notices.empty()) {
        blocks.push_back(heading("提示"));
        for (const std::string& notice : a.notices) blocks.push_back(text(notice));
    }

    blocks.push_back(heading("工程师确认"));
    if (choice) {
        blocks.push_back(text(choice_text(a, *choice)));
        if (!choice_matches(*choice, a)) blocks.push_back(text(kChoiceOutdated));
    } else {
        blocks.push_back(text(kNotConfirmed));
    }
    return content;
}

ReportContent group_report(const GroupAnalysis& g, const GroupTable& table) {
    ReportContent content;
    content.title = kGroupTableTitle;
    std::vector<ReportBlock>& blocks = content.blocks;
    if (g.family == TestFamily::kUnsupported) {
        blocks.push_back(text("各试验类型不同或不作承载力判定，不作统计。"));
    } else {
        blocks.push_back(
            text("试验：" + std::string(family_title(g.family)) + "　判定依据：" + g.standard));
    }

    ReportBlock members{ReportBlock::Kind::kTable, {}, {{}, {6, 14, 18, 14, 32, 16}, {}}};
    members.table.header.assign(kGroupTableHeader.begin(), kGroupTableHeader.end());
    for (const auto& row : table.rows) members.table.rows.emplace_back(row.begin(), row.end());
    blocks.push_back(heading("各试验的判定值"));
    blocks.push_back(members);

    blocks.push_back(heading("统计"));
    ReportBlock figures{ReportBlock::Kind::kTable, {}, {{"项目", "值"}, {25, 75}, {}}};
    for (const GroupTableLine& line : table.summary) {
        figures.table.rows.push_back({line.label, line.text});
    }
    blocks.push_back(figures);
    return content;
}

}  // namespace kvd
