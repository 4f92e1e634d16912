// The report's wording of an interpretation and of a group: the rule table
// with its proposal marks and assumptions, the proposal, the comparison
// methods, and the engineer's choice (confirmed, made on other readings, or
// missing); the group table with every member, the unreadable ones with
// their reason.

#include <gtest/gtest.h>

#include <string>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "analysis/group_member.h"
#include "analysis/group_member.h"
#include "analysis/report_content.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

// Every text of the content, in order, headings, texts and cells alike.
std::string all_text(const ReportContent& content) {
    std::string text;
    for (const ReportBlock& block : content.blocks) {
        text += block.text + "\n";
        for (const std::string& cell : block.table.header) text += cell + "|";
        for (const auto& row : block.table.rows) {
            for (const std::string& cell : row) text += cell + "|";
            text += "\n";
        }
    }
    return text;
}

const ReportBlock* table_after(const ReportContent& content, const std::string& heading) {
    for (std::size_t i = 0; i + 1 < content.blocks.size(); ++i) {
        if (content.blocks[i].kind == ReportBlock::Kind::kHeading &&
            content.blocks[i].text == heading &&
            content.blocks[i + 1].kind == ReportBlock::Kind::kTable) {
            return &content.blocks[i + 1];
        }
    }
    return nullptr;
}

TestAnalysis proof_load_pile() {
    const LoadCurve curve = test::simple_curve({0, 300, 600, 900}, {0, 1, 2, 3});
    return analyse_input(test::make_input(test::pile_subject(), curve));
}

TEST(AnalysisReport, ListsEveryRuleInOrderWithTheProposalAndTheComparisonMethods) {
    const TestAnalysis a = proof_load_pile();
    const ReportContent content = analysis_report(a, std::nullopt);
    EXPECT_EQ(content.title, "承载力分析");

    const ReportBlock* rules = table_after(content, "判定规则");
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(rules->table.header,
              (std::vector<std::string>{"规则", "条款", "结果", "值", "来源", "理由"}));
    ASSERT_EQ(rules->table.rows.size(), a.rules.size());
    for (std::size_t i = 0; i < a.rules.size(); ++i) {
        EXPECT_EQ(rules->table.rows[i][0], a.rules[i].title);
        EXPECT_EQ(rules->table.rows[i][1], a.rules[i].clause);
        EXPECT_EQ(rules->table.rows[i][4], describe_source(a.rules[i].source));
        EXPECT_EQ(rules->table.rows[i][5].rfind(a.rules[i].reason, 0), 0u);
        for (const std::string& assumption : a.rules[i].assumptions) {
            EXPECT_NE(rules->table.rows[i][5].find("〔假定：" + assumption + "〕"),
                      std::string::npos);
        }
    }

    const ReportBlock* proposal = table_after(content, "建议值");
    ASSERT_NE(proposal, nullptr);
    ASSERT_EQ(proposal->table.rows.size(), 2u);  // Qu and Ra of a pile
    EXPECT_EQ(proposal->table.rows[0][3], "≥ 900 kN");
    EXPECT_EQ(proposal->table.rows[1][3], "≥ 450 kN");  // half of a lower bound

    const ReportBlock* methods = table_after(content, "对比方法（仅供参考）");
    ASSERT_NE(methods, nullptr);
    EXPECT_EQ(methods->table.rows.size(), a.methods.size());

    const std::string text = all_text(content);
    EXPECT_NE(text.find("最大加载 900 kN（共 4 级），对应累计沉降 3.00 mm"), std::string::npos)
        << text;
    EXPECT_NE(text.find(kNotConfirmed), std::string::npos);
    EXPECT_EQ(text.find(kChoiceOutdated), std::string::npos);
}

TEST(AnalysisReport, ShowsTheEngineersChoiceAndWhenItWasMadeOnOtherReadings) {
    const TestAnalysis a = proof_load_pile();
    EngineerChoice choice = choice_of_rule(a.ultimate, a, 0, "复核");
    std::string text = all_text(analysis_report(a, choice));
    EXPECT_NE(text.find("工程师选定：" + a.ultimate.title + "（" + a.ultimate.clause +
                        "），取值 ≥ 900 kN，备注：复核。"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(kNotConfirmed), std::string::npos);
    EXPECT_EQ(text.find(kChoiceOutdated), std::string::npos);

    const EngineerChoice typed = manual_choice(850, false, a, 0);
    text = all_text(analysis_report(a, typed));
    EXPECT_NE(text.find("工程师选定：手动取值，取值 850 kN。"), std::string::npos) << text;

    choice.data_fingerprint ^= 1;  // the readings changed since
    text = all_text(analysis_report(a, choice));
    EXPECT_NE(text.find(kChoiceOutdated), std::string::npos);
}

// A group of files as the 多桩统计 window holds them: counted tests and a
// file that could not be read.
std::vector<GroupFile> group_files(const std::vector<TestAnalysis>& tests) {
    std::vector<GroupFile> files;
    for (std::size_t i = 0; i < tests.size(); ++i) {
        const std::string name = std::to_string(i + 1) + "#";
        files.push_back({name + ".KVD", {}, tests[i], group_member_of(tests[i], std::nullopt, name)});
    }
    GroupFile bad;
    bad.path = "bad.PTX";
    bad.refusal = "文件已损坏";
    files.push_back(bad);
    return files;
}

GroupAnalysis statistics_of(const std::vector<GroupFile>& files) {
    return group_of_files(files, {});
}

TEST(GroupReport, ShowsTheWindowsRowsAndStatisticsWordForWord) {
    std::vector<TestAnalysis> tests;
    for (double top : {900.0, 1000.0, 1100.0}) {
        const LoadCurve curve = test::simple_curve({0, top / 3, 2 * top / 3, top}, {0, 1, 2, 3});
        tests.push_back(analyse_input(test::make_input(test::pile_subject(), curve)));
    }
    const std::vector<GroupFile> files = group_files(tests);
    const GroupAnalysis g = statistics_of(files);
    const std::vector<std::string> names = {"1#.KVD", "2#.KVD", "3#.KVD", "bad.PTX"};
    const GroupTable table = make_group_table(files, names, g);
    const ReportContent content = group_report(g, table);
    EXPECT_EQ(content.title, "多桩统计表");
    const ReportBlock* members = table_after(content, "各试验的判定值");
    ASSERT_NE(members, nullptr);
    ASSERT_EQ(members->table.rows.size(), 4u);
    EXPECT_EQ(members->table.header,
              std::vector<std::string>(kGroupTableHeader.begin(), kGroupTableHeader.end()));
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_EQ(members->table.rows[r],
                  std::vector<std::string>(table.rows[r].begin(), table.rows[r].end()));
    }
    EXPECT_EQ(members->table.rows[0][3], "≥ 900 kN");
    EXPECT_EQ(members->table.rows[3][4], "文件已损坏");
    EXPECT_EQ(members->table.rows[3][5], "否");
    const std::string text = all_text(content);
    for (const char* expected : {"平均值|1000 kN|", "极差|200 kN|", "极差/平均值|20.0%|",
                                 "最小值|900 kN|", "最大值|1100 kN|"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_NE(text.find(g.statistic.title), std::string::npos);
    EXPECT_NE(text.find(g.characteristic.title), std::string::npos);
}

TEST(GroupReport, TestsOfDifferentKindsShowNoMeanAndNoneCounted) {
    std::vector<TestAnalysis> tests;
    const LoadCurve curve = test::simple_curve({0, 300, 600, 900}, {0, 1, 2, 3});
    tests.push_back(analyse_input(test::make_input(test::pile_subject(), curve)));
    TestAnalysis other = tests.front();
    other.standard = "GB 50007-2011";  // another standard: not one group
    tests.push_back(other);
    const std::vector<GroupFile> files = group_files(tests);
    const GroupAnalysis g = statistics_of(files);
    ASSERT_EQ(g.family, TestFamily::kUnsupported);
    const std::string text =
        all_text(group_report(g, make_group_table(files, {"1#", "2#", "bad"}, g)));
    EXPECT_NE(text.find("平均值|—|"), std::string::npos) << text;
    EXPECT_EQ(text.find("|是|"), std::string::npos) << text;
    EXPECT_NE(text.find("不能一起统计"), std::string::npos) << text;
}

}  // namespace
}  // namespace kvd
