// The "承载力分析" section of the print job and the layout of report content
// on pages: off, the job is the nine-section job page for page; on, it comes
// right after the summary table, numbered as the table pages; every text of
// the layout fits its box inside the printable area, long texts wrap, a
// table that breaks repeats its header, and a row taller than a page goes on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/report_content.h"
#include "doc/extended_display.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "doc/settings_store.h"
#include "draw/recording_canvas.h"
#include "output/print/content_pages.h"
#include "output/print/content_print_job.h"
#include "output/print/page_decorations.h"
#include "output/print/print_job.h"

namespace kvd {
namespace {

using S = PrintSection;

struct DrawnPage {
    std::vector<std::string> texts;
    std::vector<std::pair<Point, Point>> lines;
    std::size_t commands = 0;
    friend bool operator==(const DrawnPage&, const DrawnPage&) = default;
};

DrawnPage drawn(PrintJob& job, int p) {
    RecordingCanvas canvas;
    EXPECT_TRUE(job.draw_page(canvas, p));
    DrawnPage page{canvas.text_strings(), {}, canvas.drawing_count()};
    for (const recorded::Line& line : canvas.lines()) page.lines.push_back({line.from, line.to});
    return page;
}

bool mentions(const DrawnPage& page, const std::string& text) {
    for (const std::string& t : page.texts) {
        if (t.find(text) != std::string::npos) return true;
    }
    return false;
}

class AnalysisPagesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/" + GetParam()));
        set_extended_display(false);
        // The print options as a settings store written before the option
        // existed gives them.
        MemorySettings old;
        old.write_int(kPrintContentSection, "汇总表", 1);
        doc_.apply_settings(SettingsStore(old).read());
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    FixedFontMetrics metrics_;
};

TEST_P(AnalysisPagesTest, OffTheJobIsTheNineSectionJobAndOnTheSectionFollowsTheSummary) {
    ASSERT_EQ(doc_.print_content().analysis, 0);
    doc_.page_setup().page_number_mode = 1;  // pages compared without their numbers
    PrintJob off(doc_, metrics_, tables_of_record(doc_.record()));
    EXPECT_EQ(off.counts()[static_cast<std::size_t>(S::kAnalysisPages)], 0);
    std::vector<DrawnPage> before;
    for (int p = 1; p <= off.total(); ++p) {
        before.push_back(drawn(off, p));
        EXPECT_FALSE(mentions(before.back(), "承载力分析")) << p;
        EXPECT_NE(off.locate(p)->section, S::kAnalysisPages);
    }

    doc_.print_content().analysis = 1;
    PrintJob on(doc_, metrics_, tables_of_record(doc_.record()));
    const int summary = on.counts()[0];
    const int added = on.counts()[static_cast<std::size_t>(S::kAnalysisPages)];
    ASSERT_GE(added, 1);
    ASSERT_EQ(on.total(), off.total() + added);
    for (int s = 0; s < 9; ++s) {
        EXPECT_EQ(on.counts()[static_cast<std::size_t>(s)],
                  off.counts()[static_cast<std::size_t>(s)]);
    }
    for (int p = 1; p <= on.total(); ++p) {
        SCOPED_TRACE(p);
        const DrawnPage page = drawn(on, p);
        if (p > summary && p <= summary + added) {
            EXPECT_EQ(on.locate(p)->section, S::kAnalysisPages);
            EXPECT_EQ(on.locate(p)->page, p - summary);
            EXPECT_TRUE(mentions(page, "承载力分析"));
        } else {
            // Every other page is the page it was, only later in the job.
            const int was = p <= summary ? p : p - added;
            EXPECT_EQ(page, before[static_cast<std::size_t>(was - 1)]);
        }
    }
    const DrawnPage first = drawn(on, summary + 1);
    EXPECT_TRUE(mentions(first, "判定规则"));
    EXPECT_TRUE(mentions(first, std::string(table_title(doc_.print_content())) + "承载力分析"));
}

TEST_P(AnalysisPagesTest, AreNumberedAsTheTablePages) {
    PageSetup& setup = doc_.page_setup();
    setup.first_page_number = 5;
    doc_.print_content().analysis = 1;
    PrintJob job(doc_, metrics_, tables_of_record(doc_.record()));
    const int summary = job.counts()[0];
    const int added = job.counts()[static_cast<std::size_t>(S::kAnalysisPages)];
    std::vector<int> curve_numbers;
    for (int mode : {0, 2, 3}) {
        setup.page_number_mode = mode;
        for (int p = summary + 1; p <= summary + added; ++p) {
            if (mode == 3) {
                EXPECT_FALSE(job.page_number(p));
            } else {
                EXPECT_EQ(job.page_number(p), p - 1 + 5);
            }
        }
    }
    // Mode 3 numbers the curve pages among themselves, as without the section.
    setup.page_number_mode = 3;
    for (int p = 1; p <= job.total(); ++p) {
        if (is_curve_section(job.locate(p)->section)) {
            EXPECT_EQ(job.page_number(p), 5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, AnalysisPagesTest,
                         ::testing::Values("demo.PTX", "plate.PTX", "uplift.PTX"));

TEST(PrintSettings, TheAnalysisOptionIsStoredAndAnOldStoreReadsOff) {
    MemorySettings store;
    store.write_int(kPrintContentSection, "汇总表", 0);  // a store of before the option
    DocumentSettings settings = SettingsStore(store).read();
    EXPECT_EQ(settings.print_content.summary, 0);
    EXPECT_EQ(settings.print_content.analysis, 0);
    settings.print_content.analysis = 1;
    ASSERT_TRUE(SettingsStore(store).write(settings));
    EXPECT_EQ(store.read_int(kPrintContentSection, "承载力分析"), 1);
    EXPECT_EQ(SettingsStore(store).read().print_content.analysis, 1);
    // A value out of range is not taken.
    store.write_int(kPrintContentSection, "承载力分析", 7);
    EXPECT_EQ(SettingsStore(store).read().print_content.analysis, 0);
}

// ---- the layout -------------------------------------------------------------

const std::string kLongReason =
    "第 9 级荷载 2700 kN 下沉降 s = 23.05 mm，Δs(n)/Δs(n-1) = 1.21 < 2 且 24 h "
    "未出现不稳定，按 JGJ 106-2014 第 4.4.2 条不能确定陡降段起点，极限承载力取最大加载值。"
    "VeryLongLatinWordWithoutAnyBreakOpportunityAtAllThatIsWiderThanTheColumn";

ReportContent long_content(int rows) {
    ReportContent content;
    content.title = "承载力分析";
    content.blocks.push_back({ReportBlock::Kind::kHeading, "判定规则", {}});
    ReportBlock table{ReportBlock::Kind::kTable, {}, {{"规则", "理由"}, {20, 80}, {}}};
    for (int i = 0; i < rows; ++i)
        table.table.rows.push_back({"规则 " + std::to_string(i), kLongReason});
    content.blocks.push_back(table);
    return content;
}

TEST(ContentPages, WrapsLongTextsInsideTheirBoxesAndRepeatsTheHeaderOnEveryPage) {
    PageSetup setup;
    FixedFontMetrics metrics;
    const ContentPages pages(long_content(40), "承载力分析", setup, metrics);
    ASSERT_GT(pages.page_count(), 1);
    std::string joined;
    for (const ContentPages::Page& page : pages.pages()) {
        int headers = 0;
        for (const ContentPages::PlacedText& text : page.texts) {
            const Rect& b = text.box;
            EXPECT_LE(metrics.text_extent(pages.font(text.style), text.text).cx, b.width())
                << text.text;
            EXPECT_GE(b.left, 0);
            EXPECT_LE(b.right, setup.printable_width());
            EXPECT_LE(b.top, 0);
            EXPECT_GE(b.bottom, -setup.printable_height());
            if (text.style == ContentPages::Style::kHeaderCell && text.text == "理由") ++headers;
            if (text.style == ContentPages::Style::kCell) joined += text.text;
        }
        EXPECT_EQ(headers, 1);
        EXPECT_EQ(page.texts.front().text, "承载力分析");
    }
    // Nothing of the reason is lost in the wrapping (spaces at a break excepted).
    std::string reason_chars = kLongReason;
    std::erase(reason_chars, ' ');
    std::erase(joined, ' ');
    EXPECT_NE(joined.find(reason_chars), std::string::npos);
}

TEST(ContentPages, ARowTallerThanAPageGoesOnOnTheNextPage) {
    PageSetup setup;
    setup.paper_height = 1200;  // 10 cm printable, less the title
    setup.top_margin = setup.bottom_margin = 100;
    FixedFontMetrics metrics;
    ReportContent content;
    std::string huge;
    for (int i = 0; i < 30; ++i) huge += kLongReason + "\n";
    content.blocks.push_back({ReportBlock::Kind::kTable, {}, {{"理由"}, {1}, {{huge}}}});
    const ContentPages pages(content, "承载力分析", setup, metrics);
    ASSERT_GT(pages.page_count(), 2);
    std::size_t lines = 0;
    for (const ContentPages::Page& page : pages.pages()) {
        for (const ContentPages::PlacedText& text : page.texts) {
            if (text.style == ContentPages::Style::kCell) ++lines;
            EXPECT_GE(text.box.bottom, -setup.printable_height()) << text.text;
        }
    }
    std::size_t expected = 0;
    for (const std::string& line : wrap_text(metrics, pages.font(ContentPages::Style::kCell), huge,
                                             setup.printable_width() - 20)) {
        if (!line.empty()) ++expected;
    }
    EXPECT_GT(expected, 60u);
    EXPECT_EQ(lines, expected);
}

TEST(ContentPrintJob, TheGroupTableIsAJobOfItsOwnNumberedAsTheReport) {
    PageSetup setup;
    setup.first_page_number = 3;
    FixedFontMetrics metrics;
    ContentPrintJob job(long_content(40), kGroupTableTitle, setup, metrics);
    ASSERT_GT(job.total(), 1);
    RecordingCanvas canvas;
    ASSERT_TRUE(job.draw_page(canvas, 2));
    bool titled = false;
    bool numbered = false;
    for (const recorded::Text& text : canvas.texts()) {
        titled = titled || text.text == "多桩统计表";
        numbered =
            numbered || (text.box == footer_band(setup) && text.text == page_number_text(setup, 4));
    }
    EXPECT_TRUE(titled);
    EXPECT_TRUE(numbered);
    setup.page_number_mode = 3;
    ContentPrintJob curves_only(long_content(3), kGroupTableTitle, setup, metrics);
    EXPECT_FALSE(curves_only.page_number(1));
    RecordingCanvas outside;
    EXPECT_FALSE(job.draw_page(outside, job.total() + 1));
    EXPECT_EQ(outside.drawing_count(), 0u);
}

}  // namespace
}  // namespace kvd
