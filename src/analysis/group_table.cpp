#include "analysis/group_table.h"

#include "base/format.h"

namespace kvd {

const std::array<const char*, kGroupTableColumns> kGroupTableHeader = {
    "序号", "试验编号", "文件", "值", "取值依据", "计入统计"};

namespace {

// The value, or the outcome's words when the rule gives none.
std::string value_text(const RuleResult& rule, const std::string& unit) {
    std::string value = rule_value_text(rule, unit);
    return value.empty() ? std::string(outcome_text(rule.outcome)) : value;
}

std::string with_clause(const std::string& text, const std::string& clause) {
    return clause.empty() ? text : text + "（" + clause + "）";
}

// A rule's value, or plainly that it gives none (and why, unless the line
// above says it already).
std::string result_text(const RuleResult& rule, const std::string& unit, bool with_reason) {
    if (rule.gives_value()) return value_text(rule, unit);
    return with_reason ? "不给出（" + rule.reason + "）" : "不给出（原因见统计规则）";
}

std::string one_line(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

GroupTable make_group_table(const std::vector<GroupFile>& files,
                            const std::vector<std::string>& file_names,
                            const GroupAnalysis& group) {
    GroupTable table;
    std::vector<std::string> stale;
    std::vector<std::string> other;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const GroupFile& file = files[i];
        const std::string& file_name = i < file_names.size() ? file_names[i] : file.path;
        std::array<std::string, kGroupTableColumns> row;
        row[0] = std::to_string(i + 1);
        row[2] = file_name;
        if (!file.counted()) {
            row[1] = file_name;
            row[3] = "—";
            row[4] = file.refusal;
            row[5] = "否";
        } else {
            const GroupMember& member = file.value.member;
            row[1] = member.name;
            row[3] = value_text(member.value, member.unit);
            row[4] = file.value.basis_detail;
            row[5] = member.value.gives_value() && group.family != TestFamily::kUnsupported ? "是"
                                                                                            : "否";
            if (file.value.basis == MemberBasis::kStaleChoice) stale.push_back(member.name);
            if (file.value.basis == MemberBasis::kOtherQuantity) other.push_back(member.name);
        }
        table.rows.push_back(std::move(row));
    }

    auto line = [&table](const char* label, std::string text) {
        table.summary.push_back({label, std::move(text)});
    };
    const bool numbers = group.family != TestFamily::kUnsupported && group.counted > 0;
    line("数量",
         strprintf("%d 个参加统计（共 %zu 个文件）", numbers ? group.counted : 0, files.size()));
    const std::string& unit = group.unit;
    line("平均值", numbers ? format_quantity(group.mean, unit) : "—");
    line("极差", numbers ? format_quantity(group.range, unit) : "—");
    line("极差/平均值",
         numbers && group.mean > 0 ? strprintf("%.1f%%", group.range / group.mean * 100) : "—");
    line("最小值", numbers ? format_quantity(group.minimum, unit) : "—");
    line("最大值", numbers ? format_quantity(group.maximum, unit) : "—");
    line("统计规则", with_clause(group.statistic.reason, group.statistic.clause));
    line("统计值", group.statistic.title + "：" + result_text(group.statistic, unit, false));
    line("特征值", with_clause(group.characteristic.title, group.characteristic.clause) + "：" +
                       result_text(group.characteristic, unit, true));
    for (const std::string& name : stale) {
        line("提示",
             name + " 的选定基于修改前的数据，未采用，按程序建议取值；请重新确认该试验的承载力。");
    }
    for (const std::string& name : other) {
        line("提示", name +
                         " 的选定值不是统计所用的量（桩取极限承载力，地基取承载力特征值），未采用，"
                         "按程序建议取值。");
    }
    for (const std::string& notice : group.notices) line("提示", notice);
    return table;
}

std::string group_table_text(const GroupTable& table) {
    std::string text;
    for (std::size_t c = 0; c < kGroupTableHeader.size(); ++c) {
        text += (c ? "\t" : "") + std::string(kGroupTableHeader[c]);
    }
    text += "\n";
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) text += (c ? "\t" : "") + one_line(row[c]);
        text += "\n";
    }
    text += "\n";
    for (const GroupTableLine& line : table.summary) {
        text += one_line(line.label) + "\t" + one_line(line.text) + "\n";
    }
    return text;
}

}  // namespace kvd
