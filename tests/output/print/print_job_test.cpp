// The print job over the demo test: its page counts against the tables' own,
// every job page drawn by the right table page or curves, page numbers where
// the modes put them, the sections that are left out, and the printer's
// offset.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/extended_display.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "base/format.h"
#include "draw/recording_canvas.h"
#include "output/print/page_decorations.h"
#include "output/print/print_job.h"
#include "tables/table_factory.h"

namespace kvd {
namespace {

using S = PrintSection;

// Lines and polylines by their points (the records keep the pen too, but
// have no comparison of their own).
std::vector<std::pair<Point, Point>> segments(const RecordingCanvas& canvas) {
    std::vector<std::pair<Point, Point>> found;
    for (const recorded::Line& line : canvas.lines()) found.push_back({line.from, line.to});
    return found;
}

std::vector<std::vector<Point>> polylines(const RecordingCanvas& canvas) {
    std::vector<std::vector<Point>> found;
    for (const recorded::Polyline& line : canvas.of_kind<recorded::Polyline>()) {
        found.push_back(line.points);
    }
    return found;
}

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
        set_extended_display(false);
    }
    void TearDown() override { set_extended_display(false); }

    PrintJob job(PrintTables tables = {}) { return PrintJob(doc_, metrics_, tables); }

    // What the table of a section prints on its page n, by itself.
    std::pair<std::vector<std::string>, std::vector<std::pair<Point, Point>>> table_page(
        TableKind kind, int n) {
        auto table = make_table(kind, doc_, metrics_);
        RecordingCanvas canvas;
        EXPECT_TRUE(table->print_page(canvas, n, doc_.page_setup(), doc_.print_content()));
        return {canvas.text_strings(), segments(canvas)};
    }

    // The number texts drawn in the bottom band of job page p.
    std::vector<std::string> bottom_texts(PrintJob& job, int p) {
        RecordingCanvas canvas;
        EXPECT_TRUE(job.draw_page(canvas, p));
        std::vector<std::string> found;
        const Rect band = footer_band(doc_.page_setup());
        for (const recorded::Text& text : canvas.texts()) {
            if (text.box == band) found.push_back(text.text);
        }
        return found;
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    FixedFontMetrics metrics_;
};

TEST_F(PrintJobTest, CountsAreTheTablesOwnAndEveryPageIsDrawnOnceByItsTable) {
    doc_.page_setup().page_number_mode = 1;  // no numbers: the page is the table's alone
    PrintJob report = job();
    const SectionCounts& counts = report.counts();
    const std::vector<TableName>& names = table_names();
    for (int s = 0; s < kPrintTableSections; ++s) {
        auto table = make_table(names[static_cast<std::size_t>(s)].kind, doc_, metrics_);
        const int own = table->page_count(doc_.page_setup(), doc_.print_content());
        // The modification record waits for the extended display.
        EXPECT_EQ(counts[static_cast<std::size_t>(s)], s == 5 ? 0 : own) << s;
    }
    EXPECT_EQ(counts, (SectionCounts{1, 3, 1, 1, 4, 0, 1, 0, 0}));
    ASSERT_EQ(report.total(), 11);

    std::set<std::pair<int, int>> seen;
    for (int p = 1; p <= report.total(); ++p) {
        SCOPED_TRACE(p);
        const JobPage where = *report.locate(p);
        EXPECT_TRUE(seen.insert({static_cast<int>(where.section), where.page}).second);
        if (!is_table_section(where.section)) continue;
        RecordingCanvas canvas;
        ASSERT_TRUE(report.draw_page(canvas, p));
        const auto [texts, lines] =
            table_page(names[static_cast<std::size_t>(where.section)].kind, where.page);
        EXPECT_EQ(canvas.text_strings(), texts);
        EXPECT_EQ(segments(canvas), lines);
        EXPECT_EQ(canvas.save_depth(), 0);
    }
    EXPECT_EQ(seen.size(), 11u);

    RecordingCanvas outside;
    EXPECT_FALSE(report.draw_page(outside, 0));
    EXPECT_FALSE(report.draw_page(outside, 12));
    EXPECT_EQ(outside.drawing_count(), 0u);
}

TEST_F(PrintJobTest, AllTablesOffWithLayoutThreeIsOnePageOfTheThreeCurves) {
    PrintContent& content = doc_.print_content();
    content.summary = content.loading_detail = content.unloading_detail = 0;
    content.anchor_pile = content.raw_record = content.modification_record = 0;
    content.curve_layout = 3;
    content.qs_curve = content.slgt_curve = content.slgq_curve = 0;
    doc_.page_setup().page_number_mode = 1;
    PrintJob report = job();
    ASSERT_EQ(report.total(), 1);
    EXPECT_EQ(*report.locate(1), (JobPage{S::kQsPage, 1}));

    RecordingCanvas page;
    ASSERT_TRUE(report.draw_page(page, 1));
    RecordingCanvas alone;
    CQ_s qs(doc_);
    Cs_lgt slgt(doc_);
    Cs_lgQ slgq(doc_);
    qs.print(alone);
    slgt.print(alone);
    slgq.print(alone);
    EXPECT_EQ(page.text_strings(), alone.text_strings());
    EXPECT_EQ(segments(page), segments(alone));
    EXPECT_EQ(polylines(page), polylines(alone));
    EXPECT_GT(page.count<recorded::Ellipse>(), 30u);  // the points of the three curves
    EXPECT_EQ(page.count<recorded::Ellipse>(), alone.count<recorded::Ellipse>());
}

TEST_F(PrintJobTest, ModeThreeNumbersTheCurvePagesFromTheFirstNumber) {
    doc_.page_setup().page_number_mode = 3;
    doc_.page_setup().first_page_number = 1;
    doc_.print_content().curve_layout = 0;
    PrintJob report = job();
    ASSERT_EQ(report.total(), 13);  // ten table pages, then Q-s, s-lgt, s-lgQ
    for (int p = 1; p <= 10; ++p) EXPECT_TRUE(bottom_texts(report, p).empty()) << p;
    EXPECT_EQ(bottom_texts(report, 11), std::vector<std::string>{". 1 ."});
    EXPECT_EQ(bottom_texts(report, 12), std::vector<std::string>{". 2 ."});
    EXPECT_EQ(bottom_texts(report, 13), std::vector<std::string>{". 3 ."});
    EXPECT_EQ(*report.locate(12), (JobPage{S::kSlgtPage, 1}));
}

TEST_F(PrintJobTest, ModeTwoNumbersTheTablePagesOnly) {
    doc_.page_setup().page_number_mode = 2;
    doc_.page_setup().first_page_number = 20;
    doc_.page_setup().page_number_format = 3;
    doc_.print_content().curve_layout = 0;
    PrintJob report = job();
    ASSERT_EQ(report.total(), 13);
    for (int p = 1; p <= 10; ++p) {
        EXPECT_EQ(bottom_texts(report, p), std::vector<std::string>{strprintf("第 %d 页", p + 19)});
    }
    for (int p = 11; p <= 13; ++p) EXPECT_TRUE(bottom_texts(report, p).empty()) << p;
}

TEST_F(PrintJobTest, ATableWithoutRoomForARowHasNoPages) {
    // 6 cm of paper: the margins leave 2 cm, too little for title and band.
    doc_.page_setup().paper_height = 600;
    PrintJob report = job();
    for (int s = 0; s < kPrintTableSections; ++s) {
        EXPECT_EQ(report.counts()[static_cast<std::size_t>(s)], 0) << s;
    }
    ASSERT_EQ(report.total(), 1);
    EXPECT_EQ(*report.locate(1), (JobPage{S::kQsPage, 1}));
}

TEST_F(PrintJobTest, TheModificationRecordNeedsTheExtendedDisplayAndTheTable) {
    ASSERT_EQ(doc_.print_content().modification_record, 1);
    EXPECT_EQ(job().counts()[5], 0);
    set_extended_display(true);
    EXPECT_EQ(job().counts()[5], 1);
    // Tables the program has not made print nothing.
    PrintJob without = job(PrintTables{false, false});
    EXPECT_EQ(without.counts()[4], 0);
    EXPECT_EQ(without.counts()[5], 0);
    EXPECT_EQ(without.total(), 7);
    doc_.print_content().modification_record = 0;
    EXPECT_EQ(job().counts()[5], 0);
}

TEST_F(PrintJobTest, ThePrintersOffsetMovesTheOriginBackToThePapersCorner) {
    PrintJob report = job();
    RecordingCanvas plain;
    RecordingCanvas offset;
    ASSERT_TRUE(report.draw_page(plain, 1));
    ASSERT_TRUE(report.draw_page(offset, 1, Point{42, 17}));
    const auto a = plain.texts();
    const auto b = offset.texts();
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i].box, (Rect{a[i].box.left - 42, a[i].box.top + 17, a[i].box.right - 42,
                                  a[i].box.bottom + 17}));
    }
    // GDI's rounding of the offset: 0.1 mm = pixels * 254 / dpi, to the nearest.
    EXPECT_EQ(device_offset_to_units(100, 600), 42);
    EXPECT_EQ(device_offset_to_units(99, 600), 42);   // 41.91
    EXPECT_EQ(device_offset_to_units(98, 600), 41);   // 41.49
    EXPECT_EQ(device_offset_to_units(0, 600), 0);
    EXPECT_EQ(device_offset_to_units(50, 0), 0);
}

TEST_F(PrintJobTest, NothingToPrintBeepsAndSaysSo) {
    PrintContent& content = doc_.print_content();
    content.summary = content.loading_detail = content.unloading_detail = 0;
    content.anchor_pile = content.raw_record = 0;
    content.curve_layout = 0;
    content.qs_curve = content.slgt_curve = content.slgq_curve = 0;
    PrintJob empty = job();
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(has_pages_to_print(empty, ui_));
    EXPECT_EQ(ui_.beeps(), 1);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "没有发现任何可打印内容! \n请检查打印选项中的设置。");
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);

    content.slgq_curve = 1;
    EXPECT_TRUE(has_pages_to_print(job(), ui_));
    EXPECT_EQ(ui_.beeps(), 1);
    EXPECT_EQ(ui_.shown().size(), 1u);
}

}  // namespace
}  // namespace kvd
