// The modification record table: rows per logged change, labels, separator
// rows, colours and texts, the rounding of rows per page to whole changes
// (and its check against the printable area), and the printed columns.

#include "tables/change_table.h"

#include <gtest/gtest.h>

#include "raw_table_fixture.h"

namespace kvd::testing {
namespace {

class ChangeTableTest : public RawTableTest {
  protected:
    // A logged change of a 300 kN reading: before, at and after.
    void add_change(int grade, double before, double at, double after) {
        int k = 0;
        for (double value : {before, at, after}) {
            RawReading r = raw(grade, 1, 300, local(9, 10 + k++));
            r.channel[0] = value;
            r.channel[1] = value + 0.02;
            r.channel[3] = 4.0;
            doc_.record().mod_blocks.push_back(r);
        }
        rebuild();
    }
    int rows_per_page(PageSetup& setup) {
        table_.page_count(setup, content_);
        return (setup.paper_height - 3 * setup.row_height - setup.header_rows_height -
                setup.title_spacing - setup.title_height - setup.top_margin - setup.bottom_margin) /
               setup.row_height;
    }

    PrintContent content_;
    CChangeTable table_{doc_, metrics_};
};

TEST_F(ChangeTableTest, EmptyLogHasOnlyTheTitleRow) {
    table_.fill();
    EXPECT_EQ(table_.row_count(), 1);
    ASSERT_EQ(table_.column_count(), 9);  // channels 1, 2, 4 in use
    EXPECT_EQ(table_.fixed_row_count(), 1);
    EXPECT_EQ(table_.fixed_column_count(), 1);
    PageSetup setup;
    EXPECT_EQ(table_.page_count(setup, content_), 0);
}

TEST_F(ChangeTableTest, TwoChangesGiveEightRows) {
    add_change(4, 1.0, 1.5, 1.25);
    add_change(6, 2.0, 2.5, 2.25);
    doc_.record().header.load_sensor_type = 1;
    rebuild();
    table_.fill();
    ASSERT_EQ(table_.row_count(), 8);
    ASSERT_EQ(table_.column_count(), 9);
    const char* labels[] = {"", "修改前的记录", "修改时的记录", "修改后的记录",
                            "", "修改前的记录", "修改时的记录", "修改后的记录"};
    for (int row = 0; row < 8; ++row) EXPECT_EQ(table_.cell_text(row, 0), labels[row]) << row;

    // Titles: centred lines of text.
    EXPECT_EQ(table_.cell_text(0, 1), "本级\n荷载\n(kN)");
    EXPECT_EQ(table_.cell_text(0, 4), "记录\n时间\n时:分");
    EXPECT_EQ(table_.cell_text(0, 7), "位移\n通道\n4(mm)");
    EXPECT_EQ(table_.cell_text(0, 8), "平均\n沉降\n(mm)");
    EXPECT_EQ(table_.cell(0, 1)->format, 0x8001u);

    // The load only on the row of the change itself.
    EXPECT_EQ(table_.cell_text(1, 1), "");
    EXPECT_EQ(table_.cell_text(2, 1), "300");
    EXPECT_EQ(table_.cell_text(3, 1), "");
    EXPECT_EQ(table_.cell_text(2, 2), "301");    // oil-pressure route: loadA
    EXPECT_EQ(table_.cell_text(2, 3), " 1.50");  // and pressureA
    EXPECT_EQ(table_.cell_text(1, 4), "09:10");
    EXPECT_EQ(table_.cell_text(3, 4), "09:12");
    EXPECT_EQ(table_.cell_text(6, 5), "  2.50");
    EXPECT_EQ(table_.cell_text(6, 7), "  4.00");
    EXPECT_EQ(table_.cell_text(6, 8), "  2.51");  // channels 1 and 2, not the anchor

    // The separator row holds nothing and is grey.
    for (int c = 1; c < 9; ++c) {
        EXPECT_EQ(table_.cell_text(4, c), "");
        EXPECT_EQ(table_.cell(4, c)->background, kEmptyCellColour);
        EXPECT_EQ(table_.cell(3, c)->background, kLoadingBackground);
        EXPECT_EQ(table_.cell(3, c)->text_colour, c <= 4 ? kLoadingText : kUnloadingText);
    }
}

TEST_F(ChangeTableTest, RowsPerPageRoundToWholeChanges) {
    EXPECT_EQ(CChangeTable::round_rows_per_page(23, true), 24);
    EXPECT_EQ(CChangeTable::round_rows_per_page(23, false), 20);
    EXPECT_EQ(CChangeTable::round_rows_per_page(22, true), 20);
    EXPECT_EQ(CChangeTable::round_rows_per_page(21, true), 20);
    EXPECT_EQ(CChangeTable::round_rows_per_page(24, true), 24);
    EXPECT_EQ(CChangeTable::round_rows_per_page(3, true), 4);
    EXPECT_EQ(CChangeTable::round_rows_per_page(3, false), 0);
    EXPECT_EQ(CChangeTable::round_rows_per_page(2, true), 0);
    EXPECT_EQ(CChangeTable::round_rows_per_page(0, true), 0);
}

TEST_F(ChangeTableTest, PagesHoldWholeChangesInsideThePrintableArea) {
    for (int k = 0; k < 12; ++k) add_change(k, k, k + 0.5, k + 0.25);  // 47 body rows
    content_.sign_off = kSignOffFirstPage;  // this table prints it on every page
    PageSetup a4;
    PageSetup landscape;
    std::swap(landscape.paper_width, landscape.paper_height);
    PageSetup remainder3;  // 23 rows of the plain layout
    remainder3.paper_height -= (rows_per_page(remainder3) - 23) * remainder3.row_height;
    ASSERT_EQ(rows_per_page(remainder3), 23);

    for (PageSetup setup : {a4, landscape, remainder3}) {
        const int pages = table_.page_count(setup, content_);
        ASSERT_GT(pages, 0);
        int rows = 0;
        for (int page = 1; page <= pages; ++page) {
            RecordingCanvas canvas;
            ASSERT_TRUE(table_.print_page(canvas, page, setup, content_));
            EXPECT_GE(lowest_drawing(canvas), -(setup.paper_height - setup.bottom_margin))
                << setup.paper_height << " page " << page;
            EXPECT_EQ(count_exactly(canvas, "试验："), 1);
            // Every page begins a change: its first body label is "before".
            std::vector<std::string> labels;
            for (const auto& text : canvas.texts()) {
                if (text.text.starts_with("修改")) labels.push_back(text.text);
            }
            ASSERT_FALSE(labels.empty());
            EXPECT_EQ(labels.front(), "修改前的记录");
            EXPECT_EQ(labels.size() % 3, 0u);
            rows += static_cast<int>(labels.size());
        }
        EXPECT_EQ(rows, 36);
    }
    // The plain layout's 23 rows leave no room for a 24th: the page takes 20.
    EXPECT_EQ(table_.page_count(remainder3, content_), 3);  // 47 rows / 20
}

TEST_F(ChangeTableTest, PrintedColumnsUseTheDetailTablesChannelList) {
    add_change(4, 1.0, 1.5, 1.25);
    PageSetup setup;
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content_));
    // Averaged channels 1 and 2, padded with the unaveraged 3 and 4.
    for (const char* caption : {"实  测  读  数 (mm)", "表 1", "表 2", "表 3", "表 4",
                                "本级\n荷载\n(kN)", "平均\n沉降\n(mm)"}) {
        EXPECT_EQ(count_exactly(canvas, caption), 1) << caption;
    }
    EXPECT_EQ(count_exactly(canvas, "--"), 6);
    EXPECT_EQ(count_exactly(canvas, "  1.50"), 1);
    // The load once over the three rows of the change, one unit wide.
    const auto* load = canvas.find_text("300");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(count_exactly(canvas, "300"), 1);
    EXPECT_EQ(load->box.height(), 3 * setup.row_height);
    const int units = 11;  // load, label (2), load, pressure, time, 4 channels, average
    EXPECT_EQ(load->box.width(), setup.printable_width() / units);
    const auto* label = canvas.find_text("修改前的记录");
    EXPECT_EQ(label->box.left - setup.left_margin, setup.printable_width() / units);
    EXPECT_EQ(label->box.right - setup.left_margin, 3 * setup.printable_width() / units);
}

}  // namespace
}  // namespace kvd::testing
