// The paper table and the rules of the page-setup and print-option pages:
// what each choice stores, what is refused and that a refusal stores nothing.

#include "doc/page_setup_rules.h"

#include <gtest/gtest.h>

#include "doc/paper_sizes.h"

namespace kvd::testing {
namespace {

PageSetup sized(int width, int height, int landscape = 0) {
    PageSetup setup;
    setup.paper_width = width;
    setup.paper_height = height;
    setup.landscape = landscape;
    return setup;
}

TEST(PaperSizesTest, AStoredSizeFindsItsPaperAndThePrinterCode) {
    EXPECT_EQ(paper_index(sized(2100, 2970)), 1);
    EXPECT_EQ(paper_code(sized(2100, 2970)), kPaperCodeA4);
    // Landscape sizes are placed turned and compared turned back.
    EXPECT_EQ(paper_index(sized(2970, 2100, 1)), 1);
    EXPECT_EQ(paper_index(sized(2970, 2100, 0)), kCustomPaperIndex);
    EXPECT_EQ(paper_code(sized(3540, 2500, 1)), kPaperCodeB4);
    // A custom 184 x 260 mm is the 16 开 paper, which the printer gets as a
    // user-defined size.
    EXPECT_EQ(paper_index(sized(1840, 2600)), 2);
    EXPECT_EQ(paper_code(sized(1840, 2600)), kPaperCodeUserDefined);
    // B5 is 2 mm narrower: not mistaken for it.
    EXPECT_EQ(paper_index(sized(1820, 2570)), 3);
    EXPECT_EQ(paper_code(sized(1820, 2570)), kPaperCodeB5);
    EXPECT_EQ(paper_code(sized(1760, 2500)), kPaperCodeEnvelopeB5);
    EXPECT_EQ(paper_code(sized(1620, 2290)), kPaperCodeEnvelopeC5);
    // Whole millimetres: tenths are cut, not rounded.
    EXPECT_EQ(paper_index(sized(2509, 3549)), 0);
    EXPECT_EQ(paper_code(sized(2509, 3549)), kPaperCodeB4);
    EXPECT_EQ(paper_index(sized(2499, 3540)), kCustomPaperIndex);
    EXPECT_EQ(paper_index(sized(2096, 2974)), kCustomPaperIndex);
    // Every listed paper finds itself.
    for (int i = 0; i < kCustomPaperIndex; ++i) {
        const PaperSize& entry = kPaperSizes[static_cast<std::size_t>(i)];
        EXPECT_EQ(paper_index_by_size(entry.width_mm, entry.height_mm), i);
    }
    // Any other size is custom.
    EXPECT_EQ(paper_index(sized(2000, 3000)), kCustomPaperIndex);
    EXPECT_EQ(paper_code(sized(2000, 3000)), kPaperCodeUserDefined);

    EXPECT_EQ(paper_by_code(kPaperCodeA4)->width_mm, 210);
    EXPECT_EQ(paper_by_code(kPaperCodeB4)->height_mm, 354);
    EXPECT_FALSE(paper_by_code(kPaperCodeUserDefined));
    EXPECT_FALSE(paper_by_code(1));
    EXPECT_EQ(kPaperSizes[kCustomPaperIndex].text, "自定义大小(有的打印机可能不支持)");
}

TEST(PaperPageRulesTest, ChoosingAPaperOrTurningItSetsTheSizeAsPlaced) {
    PageSetup setup;
    choose_paper(setup, 0);
    EXPECT_EQ(setup.paper_width, 2500);
    EXPECT_EQ(setup.paper_height, 3540);
    EXPECT_FALSE(set_landscape(setup, true));
    EXPECT_EQ(setup.landscape, 1);
    EXPECT_EQ(setup.paper_width, 3540);
    EXPECT_EQ(setup.paper_height, 2500);
    EXPECT_FALSE(set_landscape(setup, true));  // no change, no second swap
    EXPECT_EQ(setup.paper_width, 3540);
    choose_paper(setup, 5);  // turned as the page is
    EXPECT_EQ(setup.paper_width, 2290);
    EXPECT_EQ(setup.paper_height, 1620);
    const PageSetup before = setup;
    choose_paper(setup, kCustomPaperIndex);  // keeps the size to be typed over
    choose_paper(setup, -1);
    choose_paper(setup, 7);
    EXPECT_EQ(setup.paper_width, before.paper_width);
    EXPECT_EQ(setup.paper_height, before.paper_height);
}

TEST(PaperPageRulesTest, TypedSizesWithinFiftyToFiveHundredAreStored) {
    PageSetup setup;
    EXPECT_FALSE(set_paper_size(setup, 184, 260));
    EXPECT_EQ(setup.paper_width, 1840);
    EXPECT_EQ(setup.paper_height, 2600);
    EXPECT_EQ(paper_index(setup), 2);

    const PageSetup before = setup;
    EXPECT_EQ(set_paper_size(setup, 49, 260), (FieldRefusal{kPaperWidthField, 50, 500, false}));
    EXPECT_EQ(set_paper_size(setup, 501, 260), (FieldRefusal{kPaperWidthField, 50, 500, false}));
    EXPECT_EQ(set_paper_size(setup, 184, 501), (FieldRefusal{kPaperHeightField, 50, 500, false}));
    // Both out of range: the width is named first.
    EXPECT_EQ(set_paper_size(setup, 0, 0)->field, kPaperWidthField);
    // In range, but the margins (25 + 25 mm, 25 + 15 mm) would leave less
    // than 5 cm of paper to print on.
    EXPECT_EQ(set_paper_size(setup, 99, 260), (FieldRefusal{kPaperWidthField, 0, 0, true}));
    EXPECT_EQ(set_paper_size(setup, 184, 89), (FieldRefusal{kPaperHeightField, 0, 0, true}));
    EXPECT_EQ(setup.paper_width, before.paper_width);
    EXPECT_EQ(setup.paper_height, before.paper_height);
    EXPECT_FALSE(set_paper_size(setup, 100, 90));  // exactly 5 cm left: enough
    EXPECT_FALSE(set_paper_size(setup, 500, 500));

    // A narrow paper that cannot be turned inside its margins stays upright.
    PageSetup tall = sized(1000, 5000);
    tall.top_margin = tall.bottom_margin = 500;
    EXPECT_EQ(set_landscape(tall, true), (FieldRefusal{kOrientationField, 0, 0, true}));
    EXPECT_EQ(tall.landscape, 0);
    EXPECT_EQ(tall.paper_width, 1000);
}

TEST(MarginPageRulesTest, MarginsAndRowHeightAreStoredTogetherOrNotAtAll) {
    PageSetup setup;
    EXPECT_EQ(margin_values(setup), (MarginValues{25, 15, 25, 25, 6}));
    EXPECT_FALSE(set_margins(setup, {8, 50, 10, 12, 20}));
    EXPECT_EQ(setup.top_margin, 80);
    EXPECT_EQ(setup.bottom_margin, 500);
    EXPECT_EQ(setup.left_margin, 100);
    EXPECT_EQ(setup.right_margin, 120);
    EXPECT_EQ(setup.row_height, 200);

    const PageSetup before = setup;
    auto unchanged = [&] {
        return setup.top_margin == before.top_margin &&
               setup.bottom_margin == before.bottom_margin &&
               setup.left_margin == before.left_margin &&
               setup.right_margin == before.right_margin && setup.row_height == before.row_height;
    };
    EXPECT_EQ(set_margins(setup, {7, 20, 20, 20, 6}),
              (FieldRefusal{kTopMarginField, 8, 50, false}));
    EXPECT_TRUE(unchanged());
    // The first field out of range is the one refused; nothing is stored.
    EXPECT_EQ(set_margins(setup, {20, 20, 51, 7, 6}),
              (FieldRefusal{kLeftMarginField, 8, 50, false}));
    EXPECT_EQ(set_margins(setup, {20, 20, 20, 51, 6})->field, kRightMarginField);
    EXPECT_EQ(set_margins(setup, {20, 60, 20, 20, 6})->field, kBottomMarginField);
    EXPECT_EQ(set_margins(setup, {20, 20, 20, 20, 3}),
              (FieldRefusal{kRowHeightField, 4, 20, false}));
    EXPECT_EQ(set_margins(setup, {20, 20, 20, 20, 21})->field, kRowHeightField);
    EXPECT_TRUE(unchanged());

    // Margins that leave less than 5 cm on a small paper are refused.
    PageSetup small = sized(1490, 1490);
    EXPECT_EQ(set_margins(small, {20, 20, 50, 50, 6}),
              (FieldRefusal{kLeftMarginField, 0, 0, true}));
    EXPECT_EQ(set_margins(small, {50, 50, 20, 20, 6}), (FieldRefusal{kTopMarginField, 0, 0, true}));
    EXPECT_EQ(small.left_margin, 250);
    EXPECT_FALSE(set_margins(small, {44, 50, 49, 50, 6}));  // 5.0 cm across, 5.5 cm down
}

TEST(PageNumberPageRulesTest, PageNumbersLieWithinOneToTwoHundred) {
    PageSetup setup;
    EXPECT_FALSE(total_pages_enabled(setup));
    setup.page_number_format = kFormatWithTotal;
    EXPECT_TRUE(total_pages_enabled(setup));
    EXPECT_EQ(kPageNumberFormatTexts[kFormatWithTotal], "第 1 页  共 1 页 ");

    EXPECT_FALSE(set_first_page_number(setup, 200));
    EXPECT_EQ(setup.first_page_number, 200);
    EXPECT_EQ(set_first_page_number(setup, 201), (FieldRefusal{0, 1, 200, false}));
    EXPECT_EQ(set_first_page_number(setup, 0), (FieldRefusal{0, 1, 200, false}));
    EXPECT_EQ(setup.first_page_number, 200);
    EXPECT_FALSE(set_total_pages(setup, 1));
    EXPECT_EQ(set_total_pages(setup, 201), (FieldRefusal{0, 1, 200, false}));
    EXPECT_EQ(setup.total_pages, 1);
}

TEST(PrintOptionRulesTest, ALayoutChecksTheCurvesItPrintsTogether) {
    using Locks = std::array<bool, 3>;
    EXPECT_EQ(curves_locked_by_layout(0), (Locks{false, false, false}));
    EXPECT_EQ(curves_locked_by_layout(1), (Locks{true, true, false}));
    EXPECT_EQ(curves_locked_by_layout(2), (Locks{false, true, true}));
    EXPECT_EQ(curves_locked_by_layout(3), (Locks{true, true, true}));

    PrintContent content;
    content.qs_curve = content.slgt_curve = content.slgq_curve = 0;
    set_curve_layout(content, 0);
    EXPECT_EQ(content.curve_layout, 0);
    EXPECT_EQ(content.qs_curve + content.slgt_curve + content.slgq_curve, 0);
    set_curve_layout(content, 2);
    EXPECT_EQ(content.curve_layout, 2);
    EXPECT_EQ(content.qs_curve, 0);
    EXPECT_EQ(content.slgt_curve, 1);
    EXPECT_EQ(content.slgq_curve, 1);
    set_curve_layout(content, 1);
    EXPECT_EQ(content.qs_curve, 1);
    EXPECT_EQ(content.slgq_curve, 1);  // left as it was
    set_curve_layout(content, 4);
    EXPECT_EQ(content.curve_layout, 1);
}

TEST(PrintOptionRulesTest, CompositeFoundationTitlesPrintTheZeroMinuteRows) {
    PrintContent content;
    for (int i = 0; i < static_cast<int>(kTableTitles.size()); ++i) {
        set_table_title(content, i);
        EXPECT_EQ(content.table_title, i);
        EXPECT_EQ(content.zero_minute_rows, i == 3 || i == 4 ? 1 : 0) << kTableTitles[i];
    }
    set_table_title(content, 3);
    set_table_title(content, 8);
    set_table_title(content, -1);
    EXPECT_EQ(content.table_title, 3);
    EXPECT_EQ(content.zero_minute_rows, 1);
}

}  // namespace
}  // namespace kvd::testing
