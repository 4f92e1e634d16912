// CWordOffice on the sample tests: the sections and their texts on the word
// model, the edge cases of the export and what the export command leaves on
// disk.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "doc/scripted_user_interface.h"
#include "output/word/docx_writer.h"
#include "output/word/word_office.h"
#include "output/word/word_report_export.h"
#include "output/word/word_report_texts.h"
#include "tables/gather_table.h"
#include "tables/source_table.h"
#include "word_test_support.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;
using word::content::Paragraph;
using word::content::Table;

std::string sample(const char* name) { return std::string(KVD_SOURCE_DIR "/samples/") + name; }

class WordReport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd-word-report-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "tmp");
        ::setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("TMPDIR");
        fs::remove_all(dir_);
    }
    CWordOffice::Outcome write(const char* file, const WordReportOptions& options) {
        EXPECT_TRUE(doc_.open(sample(file)));
        app_.set_logging(true);
        office_.emplace(doc_);
        return office_->write_report(app_, options, (dir_ / "tmp").string());
    }
    const word::content::WordDocument& content() { return office_->document()->content(); }
    std::vector<const Table*> tables() {
        std::vector<const Table*> found;
        for (const auto& block : content().body)
            if (auto* t = std::get_if<Table>(&block)) found.push_back(t);
        return found;
    }
    std::string body_text() {
        std::string all;
        for (const auto& block : content().body) {
            if (auto* p = std::get_if<Paragraph>(&block)) all += p->text() + "\n";
        }
        return all;
    }
    int calls_with(const std::string& text) {
        const auto& calls = app_.calls();
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
            return c.find(text) != std::string::npos;
        }));
    }

    fs::path dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    word::Application app_;
    std::optional<CWordOffice> office_;
};

TEST_F(WordReport, SummaryHoldsTheTableOnScreenAndItsStatistics) {
    ASSERT_EQ(write("demo.PTX", {true, false, false, false}), CWordOffice::Outcome::kComplete);
    ASSERT_EQ(tables().size(), 1u);
    const Table& t = *tables()[0];
    FixedFontMetrics metrics;
    CGatherTable summary(doc_, metrics);
    summary.fill();
    ASSERT_EQ(t.rows.size(), static_cast<std::size_t>(summary.row_count() + 2));
    for (int row = 1; row < summary.row_count(); ++row) {
        for (int column = 0; column < 6; ++column) {
            EXPECT_EQ(word::testing::cell_text(t, row + 1, column), summary.cell_text(row, column))
                << row << "," << column;
        }
    }
    EXPECT_EQ(word::testing::cell_text(t, 0, 3), "沉降(mm)");
    const std::string statistics = word::testing::cell_text(t, static_cast<int>(t.rows.size()) - 1, 0);
    EXPECT_EQ(statistics.find("最大沉降量:  23.05 mm"), 0u) << statistics;
    EXPECT_NE(statistics.find("最大回弹量:   7.39 mm"), std::string::npos);
    EXPECT_NE(statistics.find("回弹率: 32.06%"), std::string::npos);
    EXPECT_NE(body_text().find("单桩竖向抗压静载试验汇总表\n\n工地名称：某某花园二期 3#楼"),
              std::string::npos);
    // The grid style is written, and so are its four options.
    EXPECT_EQ(calls_with("Table.Style = \"网格型\""), 1);
    EXPECT_EQ(calls_with("Table.[20]("), 0);
    for (const char* option : {"[202] = 1", "[203] = 1", "[204] = 1", "[205] = 1"})
        EXPECT_EQ(calls_with(option), 1) << option;
    // Ends with the page break after the table.
    EXPECT_EQ(calls_with("Selection.InsertBreak(7)"), 1);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(WordReport, AGridStyleAlreadySetIsNotWrittenAgain) {
    app_.blank_template().new_table_style = word::content::kGridTableStyle;
    ASSERT_EQ(write("demo.PTX", {true, true, false, true}), CWordOffice::Outcome::kComplete);
    EXPECT_EQ(calls_with("Table.Style = "), 0);
    EXPECT_EQ(calls_with("Table.Style"), 4);  // read for each of the four tables
}

TEST_F(WordReport, OnlyCurvesGiveTheTwoCurveTablesAndLeaveNoMetafile) {
    ASSERT_EQ(write("demo.PTX", {false, false, false, true}), CWordOffice::Outcome::kComplete);
    const auto found = tables();
    ASSERT_EQ(found.size(), 2u);
    const Table& info = *found[0];
    ASSERT_EQ(info.rows.size(), 4u);
    EXPECT_EQ(info.rows[1].cells.size(), 3u);
    const int loading = doc_.record().grades.loading_grade_count();
    EXPECT_EQ(info.rows[2].cells.size(), static_cast<std::size_t>(loading + 2));
    EXPECT_EQ(word::testing::cell_text(info, 2, 0), "荷载(kN)");
    EXPECT_EQ(word::testing::cell_text(info, 3, 0), "沉降(mm)");
    EXPECT_EQ(word::testing::cell_text(info, 3, loading), "23.05");  // the last loading grade
    const Table& pictures = *found[1];
    EXPECT_EQ(content().pictures.size(), 3u);
    for (const auto& p : content().pictures) EXPECT_EQ(p.scale_percent, 50);
    EXPECT_EQ(pictures.rows[0].height, 294 * 20);
    EXPECT_EQ(pictures.rows[1].height_rule, word::content::HeightRule::kAtLeast);
    // Q-s top left, s-lgt top right, s-lgQ bottom right.
    EXPECT_EQ(pictures.rows[0].cells[0].paragraphs[0].runs.at(0).picture, 0);
    EXPECT_EQ(pictures.rows[0].cells[1].paragraphs[0].runs.at(0).picture, 1);
    EXPECT_TRUE(pictures.rows[1].cells[0].empty());
    EXPECT_EQ(pictures.rows[1].cells[1].paragraphs[0].runs.at(0).picture, 2);
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
    EXPECT_EQ(body_text().find("汇总表"), std::string::npos);
    EXPECT_EQ(calls_with("InsertBreak"), 0);
}

TEST_F(WordReport, UpliftTestsSpeakOfUplift) {
    ASSERT_EQ(write("uplift.PTX", {true, true, false, true}), CWordOffice::Outcome::kComplete);
    const auto found = tables();
    EXPECT_EQ(word::testing::cell_text(*found[0], 0, 3), "上拔(mm)");
    EXPECT_EQ(word::testing::cell_text(*found[0], static_cast<int>(found[0]->rows.size()) - 1, 0).find("最大上拔量:"), 0u);
    EXPECT_EQ(word::testing::cell_text(*found[1], 0, 3), "平均上拔(mm)");
    EXPECT_EQ(word::testing::cell_text(*found[2], 3, 0), "上拔(mm)");
}

TEST_F(WordReport, DetailAndRawRecordSectionsFollowTheirTables) {
    ASSERT_EQ(write("demo.PTX", {false, true, true, false}), CWordOffice::Outcome::kComplete);
    const auto found = tables();
    ASSERT_EQ(found.size(), 3u);  // detail, parameters, raw record
    const Table& detail = *found[0];
    EXPECT_EQ(word::testing::cell_text(detail, 1, 3), "表 1");
    EXPECT_EQ(word::testing::cell_text(detail, 2, 0), "0");
    const Table& parameters = *found[1];
    EXPECT_EQ(word::testing::cell_text(parameters, 0, 0), "工程名称：某某花园二期 3#楼");
    EXPECT_EQ(parameters.rows[4].cells.size(), 3u);
    const Table& raw = *found[2];
    EXPECT_EQ(raw.rows.size(), static_cast<std::size_t>(3 + doc_.record().raw_count()));
    EXPECT_EQ(word::testing::cell_text(raw, 0, 0), "本级\n荷载\n(kN)");
    FixedFontMetrics metrics;
    CSourceTable screen(doc_, metrics);
    screen.fill();
    EXPECT_EQ(word::testing::cell_text(raw, 3, 1), screen.cell_text(1, 3));  // the record time
    EXPECT_TRUE(raw.rows[2].heading);
}

TEST_F(WordReport, WithoutUnloadingTheReboundHasNoNumbers) {
    ASSERT_TRUE(doc_.open(sample("demo.PTX")));
    CTestData& grades = doc_.record().grades;
    while (grades.grade_count() > grades.loading_grade_count()) grades.remove_grade(grades.grade_count() - 1);
    const std::string line = statistics_line(grades, false);
    EXPECT_EQ(line, pad_gbk("最大沉降量:  23.05 mm", 31) + pad_gbk("最大回弹量:", 30) +
                        pad_gbk("回弹率:", 20));
}

TEST_F(WordReport, ExportWritesTheFileOnceAndReportsFailures) {
    ASSERT_TRUE(doc_.open(sample("demo.PTX")));
    EXPECT_EQ(default_word_name(doc_), sample("demo.docx"));
    const std::string target = (dir_ / "report").string();
    ui_.queue_save_path(target);
    const auto written = export_word_report(doc_, {});
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, target + ".docx");
    EXPECT_TRUE(fs::exists(*written));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kConversionDone);
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));

    // Cancel writes nothing; a folder that is not there is reported.
    EXPECT_FALSE(export_word_report(doc_, {}));
    EXPECT_FALSE(write_word_report(doc_, {}, (dir_ / "no" / "r.docx").string()));
    EXPECT_EQ(ui_.shown().back().caption, kCaptionError);
    EXPECT_FALSE(fs::exists(dir_ / "no"));
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));

    // A curve picture that cannot be written ends the report after its own
    // message; the sections before it are kept.
    office_.emplace(doc_);
    const std::size_t before = ui_.shown().size();
    EXPECT_EQ(office_->write_report(app_, {true, false, false, true}, (dir_ / "gone").string()),
              CWordOffice::Outcome::kEnded);
    ASSERT_EQ(ui_.shown().size(), before + 1);
    EXPECT_EQ(ui_.shown().back().text, "建立文件失败！");
    EXPECT_EQ(tables().size(), 2u);  // the summary and the curve information
}

}  // namespace
}  // namespace kvd
