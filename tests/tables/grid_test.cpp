// The grid model: shape changes, sizes and their refusals, cell updates with
// masks, default colours, fonts and the metrics the tables' widths come from,
// and the screen geometry with fixed bands.

#include "tables/grid.h"

#include <gtest/gtest.h>

namespace kvd {
namespace {

class GridTest : public ::testing::Test {
protected:
    FixedFontMetrics metrics_;
    CGrid grid_{metrics_};
};

TEST_F(GridTest, FixedCountsGrowTheGridAndClearTheCurrentCell) {
    ASSERT_TRUE(grid_.set_row_count(5));
    ASSERT_TRUE(grid_.set_column_count(3));
    ASSERT_TRUE(grid_.set_current_cell({1, 1}));
    ASSERT_TRUE(grid_.set_fixed_column_count(4));
    EXPECT_EQ(grid_.column_count(), 4);
    EXPECT_FALSE(grid_.current_cell().valid());  // now inside the fixed band

    ASSERT_TRUE(grid_.set_current_cell({4, 3}));
    grid_.set_row_count(3);
    EXPECT_FALSE(grid_.current_cell().valid());
    EXPECT_FALSE(grid_.set_current_cell({3, 0}));
    EXPECT_FALSE(grid_.set_row_count(-1));
}

TEST_F(GridTest, SizesRefuseBadIndicesAndNegativeValues) {
    grid_.set_row_count(2);
    grid_.set_column_count(2);
    EXPECT_TRUE(grid_.set_column_width(1, 50));
    EXPECT_FALSE(grid_.set_column_width(2, 50));
    EXPECT_FALSE(grid_.set_column_width(-1, 50));
    EXPECT_FALSE(grid_.set_column_width(0, -5));
    EXPECT_FALSE(grid_.set_row_height(5, 10));
    EXPECT_EQ(grid_.column_width(1), 50);
    EXPECT_EQ(grid_.column_width(0), grid_.default_column_width());
    EXPECT_EQ(grid_.row_height(0), CGrid::kRowHeightBeforeFont);
    EXPECT_EQ(grid_.total_width(), 50 + grid_.default_column_width());
}

TEST_F(GridTest, FontSetsEveryCellAndTheMetrics) {
    grid_.set_row_count(2);
    grid_.set_column_count(2);
    CellUpdate bold = CellUpdate::at(1, 1, kCellFontMask);
    bold.font.weight = 700;
    ASSERT_TRUE(grid_.set_cell(bold));
    EXPECT_EQ(grid_.cell_font(1, 1).weight, 700);

    Font font;
    font.height = 20;
    grid_.set_font(font);
    EXPECT_EQ(grid_.cell_font(1, 1).weight, 400);
    EXPECT_EQ(grid_.average_char_width(), 10);
    EXPECT_EQ(grid_.default_row_height(), 23 + 5);
    EXPECT_EQ(grid_.default_column_width(), 12 * 10 + 5);
    EXPECT_EQ(grid_.chars_width(8), 8 * 10 + 2 * 2 + 1);
}

TEST_F(GridTest, CellUpdatesHonourTheirMaskAndDefaultColoursFallBack) {
    grid_.set_row_count(3);
    grid_.set_column_count(3);
    grid_.set_fixed_row_count(1);
    CellUpdate update = CellUpdate::at(2, 1, kCellTextMask | kCellTextColourMask);
    update.text = "1.25";
    update.text_colour = rgb(255, 0, 0);
    update.background = rgb(1, 2, 3);  // not in the mask
    ASSERT_TRUE(grid_.set_cell(update));
    EXPECT_FALSE(grid_.set_cell(CellUpdate::at(3, 0, kCellTextMask)));

    CellUpdate read = CellUpdate::at(2, 1, kCellTextMask | kCellBackgroundMask | kCellFormatMask);
    ASSERT_TRUE(grid_.get_cell(read));
    EXPECT_EQ(read.text, "1.25");
    EXPECT_EQ(read.background, kDefaultColour);
    EXPECT_EQ(read.format, kCellFormat);
    EXPECT_EQ(grid_.effective_text_colour(2, 1), rgb(255, 0, 0));
    EXPECT_EQ(grid_.effective_background(2, 1), grid_.colours().background);
    EXPECT_EQ(grid_.effective_background(0, 1), grid_.colours().fixed_background);
}

TEST_F(GridTest, CellsKeepTheirPlacesWhenColumnsChange) {
    grid_.set_row_count(2);
    grid_.set_column_count(2);
    grid_.set_cell_text(1, 1, "x");
    grid_.set_column_count(4);
    EXPECT_EQ(grid_.cell_text(1, 1), "x");
    grid_.set_column_count(1);
    grid_.set_column_count(2);
    EXPECT_EQ(grid_.cell_text(1, 1), "");
}

TEST_F(GridTest, ScreenGeometryKeepsFixedBandsInPlace) {
    grid_.set_row_count(10);
    grid_.set_column_count(5);
    grid_.set_fixed_row_count(1);
    grid_.set_fixed_column_count(1);
    for (int c = 0; c < 5; ++c) grid_.set_column_width(c, 100);
    for (int r = 0; r < 10; ++r) grid_.set_row_height(r, 20);
    grid_.set_client_size(250, 100);
    EXPECT_EQ(grid_.horizontal_scroll_range(), 250);
    EXPECT_EQ(grid_.vertical_scroll_range(), 100);
    grid_.set_scroll_position(1000, 30);
    EXPECT_EQ(grid_.scroll_x(), 250);
    EXPECT_EQ(grid_.scroll_y(), 30);

    EXPECT_EQ(grid_.cell_rect(0, 0), (CGrid::PixelRect{0, 0, 100, 20}));
    EXPECT_EQ(grid_.cell_rect(3, 2), (CGrid::PixelRect{200 - 250, 60 - 30, 300 - 250, 80 - 30}));
    EXPECT_EQ(grid_.cell_from_point(10, 10), (CellId{0, 0}));
    EXPECT_EQ(grid_.cell_from_point(110, 35), (CellId{3, 3}));  // x 110 + 250 -> column 3
    // A scrolled cell under the fixed row is not hit: the fixed row is.
    EXPECT_EQ(grid_.cell_from_point(110, 5), (CellId{0, 3}));
    EXPECT_FALSE(grid_.cell_from_point(5000, 5).valid());
}

}  // namespace
}  // namespace kvd
