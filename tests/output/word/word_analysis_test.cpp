// The "承载力分析" section of the Word report: off, the document is the
// report it was, XML for XML; on, the section's blocks come right after the
// summary and nowhere else, with the rule table's header repeated on every
// page and its columns sharing the text width. LibreOffice reads the
// section after the summary (converted to text).

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "analysis/report_content.h"
#include "doc/scripted_user_interface.h"
#include "output/command_output.h"
#include "output/word/docx_writer.h"
#include "output/word/word_content_section.h"
#include "output/word/word_office.h"
#include "output/word/word_report_export.h"
#include "word_test_support.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;
using word::content::Block;
using word::content::Paragraph;
using word::content::Table;

std::string block_text(const Block& block) {
    if (const auto* p = std::get_if<Paragraph>(&block)) return p->text();
    std::string text;
    for (const auto& row : std::get<Table>(block).rows) {
        for (const auto& cell : row.cells) text += cell.text() + "|";
    }
    return text;
}

struct Written {
    std::vector<Block> body;
    std::string xml;
};

Written report(const char* sample, const WordReportOptions& options) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    EXPECT_TRUE(doc.open(std::string(KVD_SOURCE_DIR "/samples/") + sample));
    word::Application app;
    CWordOffice office(doc);
    const fs::path folder =
        fs::temp_directory_path() / ("kvd-word-analysis-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    EXPECT_EQ(office.write_report(app, options, folder.string()), CWordOffice::Outcome::kComplete);
    fs::remove_all(folder);
    return {office.document()->content().body, word::document_xml(office.document()->content())};
}

class WordAnalysis : public ::testing::TestWithParam<const char*> {};

TEST_P(WordAnalysis, OffIsTheReportOfBeforeAndOnAddsTheSectionAfterTheSummary) {
    WordReportOptions off;  // the dialog's defaults: summary and curves
    ASSERT_FALSE(off.analysis);
    const Written before = report(GetParam(), off);
    EXPECT_EQ(before.xml.find("承载力分析"), std::string::npos);
    // Options given member by member, the section left out, write the same XML.
    EXPECT_EQ(report(GetParam(), {true, false, false, true, false}).xml, before.xml);

    WordReportOptions on = off;
    on.analysis = true;
    const Written after = report(GetParam(), on);
    ASSERT_GT(after.body.size(), before.body.size());
    const std::size_t added = after.body.size() - before.body.size();
    // The common start: the summary up to and with its page break.
    std::size_t start = 0;
    while (start < before.body.size() &&
           block_text(before.body[start]) == block_text(after.body[start])) {
        ++start;
    }
    ASSERT_LT(start, before.body.size());
    for (std::size_t i = start; i < before.body.size(); ++i) {
        EXPECT_EQ(block_text(after.body[i + added]), block_text(before.body[i])) << i;
    }
    std::string section;
    for (std::size_t i = start; i < start + added + 1; ++i)
        section += block_text(after.body[i]) + "\n";
    EXPECT_NE(section.find("承载力分析"), std::string::npos) << section;
    EXPECT_NE(section.find("规则|条款|结果|值|来源|理由|"), std::string::npos) << section;
    EXPECT_NE(section.find(kNotConfirmed), std::string::npos);
    // Before the section: the summary table with its statistics line.
    bool summary_before = false;
    for (std::size_t i = 0; i < start; ++i) {
        summary_before =
            summary_before || block_text(after.body[i]).find("序 号") != std::string::npos;
    }
    EXPECT_TRUE(summary_before);
}

INSTANTIATE_TEST_SUITE_P(Samples, WordAnalysis,
                         ::testing::Values("demo.PTX", "plate.PTX", "uplift.PTX"));

TEST(WordContent, TablesRepeatTheirHeaderAndShareTheTextWidthByTheirWeights) {
    ReportContent content;
    content.blocks.push_back({ReportBlock::Kind::kHeading, "统计", {}});
    content.blocks.push_back(
        {ReportBlock::Kind::kTable, {}, {{"项目", "值"}, {25, 75}, {{"平均值", "1000 kN"}}}});
    content.blocks.push_back({ReportBlock::Kind::kText, "提示一", {}});
    word::Application app;
    word::Documents documents = app.documents();
    documents.add("", false, 0);
    word::Document& document = *app.active_document();
    std::optional<word::Selection> selection = app.selection();
    ASSERT_TRUE(selection);
    ASSERT_TRUE(write_content_section(document, *selection, content, "多桩统计表", false));
    const auto& body = document.content().body;
    const Table* table = nullptr;
    for (const Block& block : body) {
        if (const auto* t = std::get_if<Table>(&block)) table = t;
    }
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows.size(), 2u);
    EXPECT_TRUE(table->rows[0].heading);
    EXPECT_FALSE(table->rows[1].heading);
    const int width = document.content().page.text_width();
    EXPECT_NEAR(table->rows[1].cells[0].width, width / 4, 2);
    EXPECT_NEAR(table->rows[1].cells[1].width, width * 3 / 4, 2);
    EXPECT_EQ(word::testing::cell_text(*table, 1, 1), "1000 kN");
    std::string texts;
    for (const Block& block : body) texts += block_text(block) + "\n";
    EXPECT_EQ(texts.rfind("多桩统计表\n统计\n", 0), 0u) << texts;
    EXPECT_NE(texts.find("提示一"), std::string::npos);
}

TEST(WordContent, LibreOfficeReadsTheSectionAfterTheSummary) {
    if (std::system("command -v soffice >/dev/null") != 0) GTEST_SKIP() << "no LibreOffice";
    const fs::path dir =
        fs::temp_directory_path() / ("kvd-word-lo-analysis-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR "/samples/demo.PTX")));
    WordReportOptions options;
    options.analysis = true;
    ASSERT_TRUE(write_word_report(doc, options, (dir / "report.docx").string()));
    kvd::testing::command_output("cd '" + dir.string() +
                                 "' && soffice -env:UserInstallation=file://" +
                                 (dir / "profile").string() +
                                 " --headless --convert-to txt:Text report.docx >/dev/null 2>&1");
    const std::string text =
        kvd::testing::command_output("cat '" + (dir / "report.txt").string() + "'");
    const std::size_t summary = text.find("单桩竖向抗压静载试验汇总表");
    const std::size_t section = text.find("单桩竖向抗压静载试验承载力分析");
    const std::size_t rules = text.find("判定规则");
    const std::size_t proposal = text.find("≥ 3000 kN");
    ASSERT_NE(summary, std::string::npos) << text;
    ASSERT_NE(section, std::string::npos) << text;
    EXPECT_LT(summary, section);
    EXPECT_LT(section, rules);
    EXPECT_LT(rules, proposal);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kvd
