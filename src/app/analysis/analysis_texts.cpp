#include "app/analysis/analysis_texts.h"

#include <QString>
#include <cmath>

#include "analysis/load_curve.h"
#include "base/format.h"
#include "base/local_time.h"

namespace kvd {
namespace {

std::string choose_link(const std::string& what);
// The link of a row in a table without the link column.
constexpr char kNoLinkColumn[] = "-";

std::string html(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().toStdString();
}

// A section title: bold, with little space around it, so the page shows
// much in a short pane.
std::string heading(const std::string& text) {
    return "<p style=\"margin-top:8px; margin-bottom:2px;\"><b>" + html(text) + "</b></p>";
}

// A table of rules; `choosable` adds the column of the "采用此值" links.
std::string table_start(bool choosable) {
    return std::string(
               "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
               "style=\"border-collapse:collapse;\">"
               "<tr style=\"background:#e8e8e8;\"><th>规则</th><th>条款</th><th>结果</th>"
               "<th>值</th><th>来源</th><th>理由</th>") +
           (choosable ? "<th>选定</th>" : "") + "</tr>";
}

std::string reason_cell(const RuleResult& rule) {
    std::string cell = html(rule.reason);
    if (rule.proposal && (rule.gives_value() || rule.outcome == RuleOutcome::kOccurred)) {
        cell += "<br/><i>此为按判断标准给出的建议，工程师可不采用。</i>";
    }
    for (const std::string& assumption : rule.assumptions) {
        cell += "<br/>〔假定：" + html(assumption) + "〕";
    }
    return cell;
}

// `link` is the href of the row's "采用此值" (none when empty or the rule
// gives no value).
std::string rule_row(const RuleResult& rule, const std::string& unit, const std::string& link,
                     const std::string& title) {
    const std::string background = rule.proposal ? " style=\"background:#fff6d8;\"" : "";
    std::string row = "<tr" + background + "><td>" + html(title) + "</td><td>" + html(rule.clause) +
                      "</td><td>" + html(rule_outcome_text(rule)) + "</td><td nowrap>" +
                      html(rule_value_text(rule, unit)) + "</td><td>" +
                      html(describe_source(rule.source)) + "</td><td>" + reason_cell(rule) +
                      "</td>";
    // Rows of a table with the link column have the cell, empty or not.
    if (link == kNoLinkColumn) return row + "</tr>";
    row += "<td nowrap>";
    if (!link.empty() && rule.gives_value()) row += "<a href=\"" + link + "\">采用此值</a>";
    return row + "</td></tr>";
}

// The rows of a list; `section` names it in the links ("" for rows that
// cannot be chosen).
std::string rule_rows(const std::vector<RuleResult>& rules, const std::string& unit,
                      const std::string& section) {
    std::string rows;
    for (const RuleResult& rule : rules) {
        const std::string link =
            section.empty()
                ? kNoLinkColumn
                : choose_link(section + ":" + std::to_string(static_cast<int>(rule.id)));
        rows += rule_row(rule, unit, link, rule.title);
    }
    return rows;
}

std::string choose_link(const std::string& what) {
    return std::string(kChooseLinkScheme) + ":" + what;
}

std::string choice_section(const EngineerChoice& choice, const TestAnalysis& analysis) {
    const bool matches = choice.data_fingerprint == analysis.data_fingerprint;
    std::string text = heading("工程师选定") + "<p style=\"margin-top:0px;\">";
    if (!matches) {
        text += "<span style=\"color:#c00000; font-weight:bold; font-size:large;\">" +
                std::string(kChoiceStaleText) + "</span><br/>";
    }
    text += "<b>" + html(choice_value_text(choice, analysis)) + "</b>（" +
            html(chosen_rule_title(choice, analysis)) + "）　选定时间 " +
            html(format_local_time(choice.chosen_at, "%Y-%m-%d %H:%M"));
    if (!choice.note.empty()) text += "<br/>说明：" + html(choice.note);
    return text + "</p>";
}

}  // namespace

const RuleResult* rule_of_link(const TestAnalysis& analysis, const std::string& link) {
    const std::string prefix = std::string(kChooseLinkScheme) + ":";
    if (link.rfind(prefix, 0) != 0) return nullptr;
    const std::string what = link.substr(prefix.size());
    if (what == "ultimate") return is_pile_family(analysis.family) ? &analysis.ultimate : nullptr;
    if (what == "characteristic") {
        return is_pile_family(analysis.family) ? nullptr : &analysis.characteristic;
    }
    const std::size_t colon = what.find(':');
    if (colon == std::string::npos) return nullptr;
    const std::string section = what.substr(0, colon);
    const std::vector<RuleResult>* list = section == "rule"     ? &analysis.rules
                                          : section == "method" ? &analysis.methods
                                                                : nullptr;
    if (!list) return nullptr;
    const std::string number = what.substr(colon + 1);
    for (const RuleResult& rule : *list) {
        if (std::to_string(static_cast<int>(rule.id)) == number) return &rule;
    }
    return nullptr;
}

std::string choice_symbol(TestFamily family) {
    switch (family) {
        case TestFamily::kPileCompression:
            return "Qu";
        case TestFamily::kPileUplift:
            return "Uu";
        default:
            return "p";
    }
}

const RuleResult* find_rule(const TestAnalysis& analysis, RuleId id) {
    for (const auto* list : {&analysis.rules, &analysis.methods}) {
        for (const RuleResult& rule : *list) {
            if (rule.id == id) return &rule;
        }
    }
    if (analysis.ultimate.id == id) return &analysis.ultimate;
    if (analysis.characteristic.id == id) return &analysis.characteristic;
    return nullptr;
}

std::string chosen_rule_title(const EngineerChoice& choice, const TestAnalysis& analysis) {
    const RuleId id = static_cast<RuleId>(choice.rule);
    if (id == RuleId::kManual) return "手动取值";
    if (const RuleResult* rule = find_rule(analysis, id)) return rule->title;
    return strprintf("规则 %d", static_cast<int>(choice.rule));
}

std::string choice_value_text(const EngineerChoice& choice, const TestAnalysis& analysis) {
    return choice_symbol(analysis.family) + (choice.at_least ? " ≥ " : " = ") +
           format_quantity(choice.value, analysis.unit);
}

ChosenLoadMark chosen_load_mark(const EngineerChoice& choice, TestFamily family,
                                const std::string& unit, bool matches) {
    ChosenLoadMark mark;
    mark.load = choice.value;
    mark.stale = !matches;
    mark.label = choice_symbol(family) + (choice.at_least ? " ≥ " : " = ") +
                 format_quantity(choice.value, unit) + "（选定）" +
                 (matches ? "" : "（数据已修改）");
    return mark;
}

std::string analysis_page_html(const TestAnalysis& a, const std::optional<EngineerChoice>& choice) {
    std::string text = "<html><body>";
    std::string title(family_title(a.family));
    if (!a.test_name.empty()) title += "　" + a.test_name;
    text += heading(title);
    if (a.family == TestFamily::kUnsupported) {
        text += "<p><b>" + std::string(kUnsupportedFamilyText) + "</b></p>";
        for (const std::string& notice : a.notices) text += "<p>" + html(notice) + "</p>";
        if (choice) text += choice_section(*choice, a);
        return text + "</body></html>";
    }
    text += "<p style=\"margin-top:0px;\">判定依据 " + html(a.standard) + "　加载 " +
            std::to_string(a.loading_grades) + " 级　最大荷载 " +
            html(format_quantity(a.max_load, a.unit)) + "　该级累计位移 " +
            strprintf("%.2f mm", a.max_settlement) + "</p>";
    if (choice) text += choice_section(*choice, a);

    text += heading("建议值") + "<p style=\"margin-top:0px;\">";
    if (is_pile_family(a.family)) {
        text += "极限承载力（" + html(a.ultimate.title) + "）：<b>" +
                html(format_result_value(a.ultimate, choice_symbol(a.family), a.unit)) +
                "</b><br/>";
    }
    text +=
        html(a.characteristic.title) + "：<b>" +
        html(a.characteristic.gives_value() ? rule_value_text(a.characteristic, a.unit)
                                            : std::string(outcome_text(a.characteristic.outcome))) +
        "</b><br/>" + html(a.characteristic.reason) + "</p>";

    text +=
        heading("试验终止原因") + table_start(false) + rule_rows(a.ending, a.unit, "") + "</table>";
    text += heading("判定规则") + table_start(true) + rule_rows(a.rules, a.unit, "rule");
    if (is_pile_family(a.family)) {
        text += rule_row(a.ultimate, a.unit, choose_link("ultimate"),
                         "建议：极限承载力（" + a.ultimate.title + "）");
    }
    // A pile's characteristic value is half its ultimate load: the choice is
    // of the ultimate load, and the row offers none.
    text += rule_row(a.characteristic, a.unit,
                     is_pile_family(a.family) ? "" : choose_link("characteristic"),
                     "建议：" + a.characteristic.title);
    text += "</table>";
    text += heading("对比方法（仅供参考）");
    if (a.methods.empty()) {
        text += "<p style=\"margin-top:0px;\">本试验类型没有对比方法。</p>";
    } else {
        text += table_start(true) + rule_rows(a.methods, a.unit, "method") + "</table>";
    }
    if (!a.notices.empty()) {
        text += heading("提示") + "<ul>";
        for (const std::string& notice : a.notices) text += "<li>" + html(notice) + "</li>";
        text += "</ul>";
    }
    return text + "</body></html>";
}

std::optional<ChosenLoadMark> record_choice_mark(const TestRecord& record,
                                                 const TestAnalysis* fresh) {
    if (!record.engineer_choice) return std::nullopt;
    const EngineerChoice& choice = *record.engineer_choice;
    TestFamily family = TestFamily::kUnsupported;
    std::string unit;
    std::uint32_t fingerprint = 0;
    if (fresh) {
        family = fresh->family;
        unit = fresh->unit;
        fingerprint = fresh->data_fingerprint;
    } else {
        const AnalysisInput input = analysis_input(record);
        family = input.subject.family;
        unit = input.subject.unit;
        fingerprint = input.fingerprint;
    }
    ChosenLoadMark mark =
        chosen_load_mark(choice, family, unit, choice.data_fingerprint == fingerprint);
    if (unit == "kPa" && !record.test_params.in_kpa()) {
        const double area = record.header.plate_area;
        if (!(std::isfinite(area) && area > 0)) return std::nullopt;
        mark.load = choice.value * area;
    }
    return mark;
}

}  // namespace kvd
