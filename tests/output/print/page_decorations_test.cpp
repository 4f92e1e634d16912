// Page number, header and footer: texts, bands, rules, and that each is
// drawn exactly when asked for.

#include <gtest/gtest.h>

#include <algorithm>

#include "draw/recording_canvas.h"
#include "output/print/page_decorations.h"

namespace kvd {
namespace {

TEST(PageDecorations, NumberTextsOfTheFiveFormats) {
    PageSetup setup;
    setup.total_pages = 12;
    const char* expected[] = {". 7 .", "- 7 -", " 7 ", "第 7 页", "第 7 页   共 12 页"};
    for (int format = 0; format < kPageNumberFormatCount; ++format) {
        setup.page_number_format = format;
        EXPECT_EQ(page_number_text(setup, 7), expected[format]) << format;
    }
    // Stored settings may hold a format the list does not have.
    setup.page_number_format = 9;
    EXPECT_EQ(page_number_text(setup, 7), ". 7 .");
}

TEST(PageDecorations, BandsAndRulesLieOutsideTheMargins) {
    PageSetup setup;  // A4, margins 25 / 15 / 25 / 25 mm
    EXPECT_EQ(header_band(setup), (Rect{250, -250 + 66, 2100 - 250, -250 + 30}));
    EXPECT_EQ(footer_band(setup), (Rect{250, -2820 - 30, 2100 - 250, -2820 - 66}));
    EXPECT_EQ(header_rule_y(setup), -230);
    EXPECT_EQ(footer_rule_y(setup), -2840);

    const TextFormat alignments[] = {kTextRight, kTextLeft, kTextCentre};
    for (int position = 0; position < kPageNumberPositionCount; ++position) {
        setup.page_number_position = position;
        EXPECT_EQ(page_number_at_top(setup), position >= 3) << position;
        EXPECT_EQ(page_number_alignment(setup), alignments[position % 3]) << position;
    }
    setup.page_number_position = -1;
    EXPECT_FALSE(page_number_at_top(setup));
    EXPECT_EQ(page_number_alignment(setup), kTextRight);
}

TEST(PageDecorations, HeaderFooterAndNumberAreEachDrawnOnlyWhenAsked) {
    PageSetup setup;
    setup.header_text = "某某检测中心";
    setup.footer_text = "静载试验报告";

    {  // The footer alone: its text and its rule, nothing above the margin.
        setup.print_footer = 1;
        RecordingCanvas canvas;
        draw_page_decorations(canvas, setup, std::nullopt);
        const std::vector<recorded::Text> texts = canvas.texts();
        ASSERT_EQ(texts.size(), 1u);
        const recorded::Text& text = texts[0];
        EXPECT_EQ(text.text, "静载试验报告");
        EXPECT_EQ(text.box, footer_band(setup));
        EXPECT_EQ(text.format & 0x3, kTextCentre);
        EXPECT_EQ(text.font.face, "Times New Roman");
        EXPECT_EQ(text.font.height, 36);
        ASSERT_EQ(canvas.lines().size(), 1u);
        EXPECT_EQ(canvas.lines()[0].from, (Point{250, -2840}));
        EXPECT_EQ(canvas.lines()[0].to, (Point{1850, -2840}));
        EXPECT_EQ(canvas.lines()[0].pen, (Pen{PenStyle::kSolid, 1, kBlack}));
        EXPECT_EQ(canvas.save_depth(), 0);
    }
    {  // The header alone.
        setup.print_footer = 0;
        setup.print_header = 1;
        RecordingCanvas canvas;
        draw_page_decorations(canvas, setup, std::nullopt);
        ASSERT_EQ(canvas.texts().size(), 1u);
        EXPECT_EQ(canvas.texts()[0].text, "某某检测中心");
        EXPECT_EQ(canvas.texts()[0].box, header_band(setup));
        ASSERT_EQ(canvas.lines().size(), 1u);
        EXPECT_EQ(canvas.lines()[0].from.y, -230);
    }
    {  // A top-left number shares the header's band; one line, not clipped.
        setup.page_number_position = 4;
        setup.page_number_format = 3;
        RecordingCanvas canvas;
        draw_page_decorations(canvas, setup, 3);
        const recorded::Text* number = canvas.find_text("第 3 页");
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->box, header_band(setup));
        EXPECT_EQ(number->format, kTextLeft | kTextVCentre | kTextSingleLine | kTextNoClip);
        EXPECT_NE(canvas.find_text("某某检测中心"), nullptr);
    }
    {  // Nothing asked: nothing drawn.
        setup.print_header = 0;
        RecordingCanvas canvas;
        draw_page_decorations(canvas, setup, std::nullopt);
        EXPECT_EQ(canvas.drawing_count(), 0u);
    }
}

}  // namespace
}  // namespace kvd
