// kvdtool analyse: the bearing-capacity interpretation of each file, and for
// several files the statistics of the group, as tab-separated text or JSON;
// with --pdf or --docx also the group table "多桩统计表" (for one file its
// "承载力分析") as the report prints and writes it. Each test brings to the
// group the engineer's choice kept in its analysis file when that was made on
// the readings analysed, else the proposal; the member's line says which.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "analysis/bearing_analysis.h"
#include "analysis/group_member.h"
#include "analysis/group_statistics.h"
#include "analysis/report_content.h"
#include "base/format.h"
#include "base/numeric.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "cli/json_writer.h"
#include "doc/lbx_doc.h"
#include "doc/settings_store.h"
#include "output/print/content_print_job.h"
#include "output/word/word_content_section.h"
#include "qt/page_render.h"

namespace kvd::cli {
namespace {

constexpr char kUsageAnalyse[] =
    "用法: kvdtool analyse FILE... [--json] [--modulus MPA] [--005d] [--fit FIRST-LAST]\n"
    "                      [--ratio R] [--composite KIND] [--small-cap] [--pdf OUT.pdf]\n"
    "                      [--docx OUT.docx]";

struct Options {
    bool json = false;
    std::string pdf;   // the group table (one file: its interpretation) as PDF
    std::string docx;  // ... as a Word document
    AnalysisOptions analysis;
    GroupOptions group;
};

// Parses the options; an empty string on success, else the error.
std::string parse_options(Args& args, Options& options) {
    options.json = take_flag(args, "--json");
    options.analysis.take_005d = take_flag(args, "--005d");
    options.group.small_cap = take_flag(args, "--small-cap");
    std::string value;
    if (take_option(args, "--pdf", options.pdf) && lower_extension(options.pdf) != ".pdf") {
        return "--pdf 的输出文件扩展名必须是 .pdf";
    }
    if (take_option(args, "--docx", options.docx) && lower_extension(options.docx) != ".docx") {
        return "--docx 的输出文件扩展名必须是 .docx";
    }
    if (take_option(args, "--modulus", value)) {
        double modulus = 0;
        if (!parse_decimal_number(value, modulus) || !(modulus > 0) || modulus > 1e6) {
            return "--modulus 需要 0 到 1000000 之间的弹性模量 (MPa)";
        }
        options.analysis.elastic_modulus_mpa = modulus;
        options.analysis.modulus_given = true;
    }
    if (take_option(args, "--ratio", value)) {
        double ratio = 0;
        if (!parse_decimal_number(value, ratio) || ratio < kMinPlateRelativeSettlement - 1e-12 ||
            ratio > kMaxPlateRelativeSettlement + 1e-12) {
            return "--ratio 需要 0.010 到 0.015 之间的相对变形值";
        }
        options.analysis.plate_relative_settlement = ratio;
    }
    if (take_option(args, "--fit", value)) {
        const std::size_t dash = value.find('-');
        long long first = 0;
        long long last = 0;
        if (dash == std::string::npos || !parse_int(value.substr(0, dash), first) ||
            !parse_int(value.substr(dash + 1), last) || first < 0 || last < first ||
            last > 100000) {
            return "--fit 需要 FIRST-LAST 形式的级号范围，如 5-9";
        }
        options.analysis.fit_first_grade = static_cast<int>(first);
        options.analysis.fit_last_grade = static_cast<int>(last);
    }
    if (take_option(args, "--composite", value) &&
        !composite_kind_from_key(value, options.analysis.composite)) {
        return "--composite 需要 gravel、compaction、cfg-gravel、cfg-clay、cement-soil、"
               "cement-soil-strong 之一";
    }
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0) return "未知选项: " + arg;
    }
    if (args.empty()) return kUsageAnalyse;
    return "";
}

// One line of a text field: tabs and line breaks would break the columns.
std::string field(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

void print_rule(const char* section, const RuleResult& rule, const std::string& unit) {
    std::string reason = rule.reason;
    for (const std::string& assumption : rule.assumptions) reason += "〔假定：" + assumption + "〕";
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\n", section, field(rule.title).c_str(),
                field(rule.clause).c_str(), rule_outcome_text(rule).c_str(),
                rule_value_text(rule, unit).c_str(), describe_source(rule.source).c_str(),
                field(reason).c_str());
}

void print_analysis(const std::string& path, const TestAnalysis& a) {
    std::printf("文件\t%s\n", field(path).c_str());
    std::printf("试验\t%s\t%s\t判定依据 %s\t单位 %s\n", std::string(family_title(a.family)).c_str(),
                field(a.test_name).c_str(), a.standard.c_str(), a.unit.c_str());
    std::printf("加载\t%d 级\t最大荷载 %s\t最大位移 %.2f mm\n", a.loading_grades,
                format_quantity(a.max_load, a.unit).c_str(), a.max_settlement);
    std::printf("部分\t规则\t条文\t结果\t数值\t来源\t说明\n");
    for (const RuleResult& rule : a.ending) print_rule("终止加载", rule, a.unit);
    for (const RuleResult& rule : a.rules) print_rule("判定", rule, a.unit);
    if (is_pile_family(a.family)) {
        RuleResult ultimate = a.ultimate;
        ultimate.title = "建议：极限承载力 Qu（" + a.ultimate.title + "）";
        print_rule("建议", ultimate, a.unit);
    }
    RuleResult characteristic = a.characteristic;
    characteristic.title = "建议：" + a.characteristic.title;
    print_rule("建议", characteristic, a.unit);
    for (const RuleResult& rule : a.methods) print_rule("对比方法", rule, a.unit);
    for (const std::string& notice : a.notices) std::printf("提示\t%s\n", field(notice).c_str());
    std::printf("\n");
}

void print_group(const GroupAnalysis& g, const std::vector<MemberBasis>& bases) {
    if (g.family == TestFamily::kUnsupported) {
        std::printf("多桩统计\t（各试验类型不同或不作判定）\n");
    } else {
        std::printf("多桩统计\t%s\t判定依据 %s\t单位 %s\n",
                    std::string(family_title(g.family)).c_str(), g.standard.c_str(),
                    g.unit.c_str());
    }
    std::printf("部分\t规则\t条文\t结果\t数值\t来源\t说明\n");
    for (std::size_t i = 0; i < g.members.size(); ++i) {
        const GroupMember& member = g.members[i];
        RuleResult shown = member.value;
        shown.title = member.name + "（" + std::string(basis_text(bases[i])) + "）";
        print_rule("试验", shown, member.unit.empty() ? g.unit : member.unit);
    }
    print_rule("统计", g.statistic, g.unit);
    print_rule("统计", g.characteristic, g.unit);
    for (const std::string& notice : g.notices) std::printf("提示\t%s\n", field(notice).c_str());
}

void write_rule(JsonWriter& json, const RuleResult& rule) {
    json.begin_object();
    json.member("id", static_cast<int>(rule.id));
    json.member("key", rule_key(rule.id));
    json.member("title", rule.title);
    json.member("clause", rule.clause);
    json.member("outcome", outcome_key(rule.outcome));
    json.key("value");
    if (rule.gives_value() || rule.outcome == RuleOutcome::kOccurred)
        json.value(rule.value);
    else
        json.null();
    json.member("proposal", rule.proposal);
    json.key("source");
    json.begin_object();
    const ValueSource& s = rule.source;
    json.member("text", describe_source(s));
    if (s.kind == ValueSource::Kind::kGrade || s.kind == ValueSource::Kind::kInterpolated) {
        json.member("grade", s.grade);
    }
    if (s.kind == ValueSource::Kind::kInterpolated || s.kind == ValueSource::Kind::kFitted) {
        json.member("from_grade", s.from_grade);
    }
    if (s.kind == ValueSource::Kind::kInterpolated) {
        json.member("settlement", s.at);
    }
    if (s.kind == ValueSource::Kind::kFitted) {
        json.member("to_grade", s.to_grade);
        json.key("r2");
        json.value(s.r2);
    }
    json.end_object();
    json.member("reason", rule.reason);
    json.key("assumptions");
    json.begin_array();
    for (const std::string& assumption : rule.assumptions) json.value(assumption);
    json.end_array();
    json.end_object();
}

void write_rules(JsonWriter& json, const char* name, const std::vector<RuleResult>& rules) {
    json.key(name);
    json.begin_array();
    for (const RuleResult& rule : rules) write_rule(json, rule);
    json.end_array();
}

void write_strings(JsonWriter& json, const char* name, const std::vector<std::string>& texts) {
    json.key(name);
    json.begin_array();
    for (const std::string& text : texts) json.value(text);
    json.end_array();
}

void write_analysis(JsonWriter& json, const std::string& path, const TestAnalysis& a) {
    json.begin_object();
    json.member("file", path);
    json.member("family", family_key(a.family));
    json.member("family_title", family_title(a.family));
    json.member("standard", a.standard);
    json.member("unit", a.unit);
    json.member("test_name", a.test_name);
    json.member("loading_grades", a.loading_grades);
    json.member("max_load", a.max_load);
    json.member("max_settlement", a.max_settlement);
    json.member("fingerprint", static_cast<double>(a.data_fingerprint));
    write_rules(json, "ending", a.ending);
    write_rules(json, "rules", a.rules);
    json.key("ultimate");
    write_rule(json, a.ultimate);
    json.key("characteristic");
    write_rule(json, a.characteristic);
    write_rules(json, "methods", a.methods);
    write_strings(json, "notices", a.notices);
    json.end_object();
}

std::string_view basis_key(MemberBasis basis) {
    switch (basis) {
        case MemberBasis::kProposal:
            return "proposal";
        case MemberBasis::kChoice:
            return "choice";
        case MemberBasis::kStaleChoice:
            return "stale_choice";
        case MemberBasis::kOtherQuantity:
            return "other_quantity";
    }
    return "";
}

void write_group(JsonWriter& json, const GroupAnalysis& g, const std::vector<MemberBasis>& bases) {
    json.begin_object();
    json.member("family", family_key(g.family));
    json.member("standard", g.standard);
    json.member("unit", g.unit);
    json.key("members");
    json.begin_array();
    for (std::size_t i = 0; i < g.members.size(); ++i) {
        const GroupMember& member = g.members[i];
        json.begin_object();
        json.member("name", member.name);
        json.member("unit", member.unit);
        json.member("basis", basis_key(bases[i]));
        json.member("basis_text", basis_text(bases[i]));
        json.key("result");
        write_rule(json, member.value);
        json.end_object();
    }
    json.end_array();
    json.member("counted", g.counted);
    for (auto [name, number] : {std::pair{"mean", g.mean}, std::pair{"range", g.range},
                                std::pair{"minimum", g.minimum}, std::pair{"maximum", g.maximum}}) {
        json.key(name);
        if (g.counted > 0)
            json.value(number);
        else
            json.null();
    }
    json.member("lower_bounds", g.lower_bounds);
    json.key("statistic");
    write_rule(json, g.statistic);
    json.key("characteristic");
    write_rule(json, g.characteristic);
    write_strings(json, "notices", g.notices);
    json.end_object();
}

// Writes the report content to the files the options name; false (after the
// message on stderr) when one could not be written.
bool write_report_files(const Options& options, const ReportContent& content,
                        const std::string& title) {
    bool written = true;
    if (!options.pdf.empty()) {
        const PageSetup setup = default_document_settings().page_setup;
        FixedFontMetrics metrics;
        ContentPrintJob job(content, title, setup, metrics);
        ensure_gui_application();
        std::vector<PagePainter> pages;
        for (int p = 1; p <= job.total(); ++p) {
            pages.push_back([&job, p](Canvas& canvas) { job.draw_page(canvas, p); });
        }
        if (Status status = render_pages_to_pdf(options.pdf, job.paper(), pages); !status.ok()) {
            std::fprintf(stderr, "%s\n", status.message().c_str());
            written = false;
        }
    }
    if (!options.docx.empty()) {
        if (Status status = write_content_word(content, title, options.docx); !status.ok()) {
            std::fprintf(stderr, "%s\n", status.message().c_str());
            written = false;
        }
    }
    return written;
}

}  // namespace

int run_analyse(const Args& arguments) {
    Args args = arguments;
    Options options;
    if (std::string error = parse_options(args, options); !error.empty()) return usage_error(error);

    ConsoleUserInterface ui;
    std::vector<TestAnalysis> analyses;
    std::vector<GroupMember> members;
    std::vector<MemberBasis> bases;
    std::vector<std::string> paths;
    std::vector<std::string> refused;
    std::vector<GroupFile> files;  // every file in order, for the group table
    std::optional<EngineerChoice> choice;  // of the one file, for its report
    for (const std::string& path : args) {
        CLbxDoc doc(ui);
        const std::size_t messages = ui.shown().size();
        if (!doc.open(path)) {
            refused.push_back(path);
            GroupFile& file = files.emplace_back();
            file.path = path;
            file.refusal = ui.shown().size() > messages ? ui.shown().back().text : "无法打开";
            continue;
        }
        choice = doc.record().engineer_choice;
        analyses.push_back(analyse_test(doc.record(), options.analysis));
        GroupMemberValue member =
            group_member_of(analyses.back(), doc.record().engineer_choice, path);
        files.push_back({path, {}, analyses.back(), member});
        members.push_back(std::move(member.member));
        bases.push_back(member.basis);
        paths.push_back(path);
    }
    const bool group = args.size() > 1 && !analyses.empty();
    GroupAnalysis statistics;
    if (group) statistics = group_statistics_of(analyses, std::move(members), options.group);

    if (options.json) {
        JsonWriter json;
        json.begin_object();
        json.key("files");
        json.begin_array();
        for (std::size_t i = 0; i < analyses.size(); ++i)
            write_analysis(json, paths[i], analyses[i]);
        json.end_array();
        write_strings(json, "refused", refused);
        if (group) {
            json.key("group");
            write_group(json, statistics, bases);
        }
        json.end_object();
        std::printf("%s\n", json.text().c_str());
    } else {
        for (std::size_t i = 0; i < analyses.size(); ++i) print_analysis(paths[i], analyses[i]);
        if (group) print_group(statistics, bases);
    }
    bool written = true;
    if (!options.pdf.empty() || !options.docx.empty()) {
        if (args.size() == 1 && analyses.size() == 1) {
            written = write_report_files(options, analysis_report(analyses.front(), choice),
                                         kAnalysisSectionTitle);
        } else if (args.size() > 1) {
            // Without a readable test there are no statistics, only the refusals.
            std::vector<std::string> names;
            for (const GroupFile& file : files) names.push_back(file.path);
            written = write_report_files(
                options, group_report(statistics, make_group_table(files, names, statistics)),
                kGroupTableTitle);
        }
    }
    return refused.empty() && written ? 0 : 1;
}

}  // namespace kvd::cli
