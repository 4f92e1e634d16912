#include "draw/recording_canvas.h"

#include <gtest/gtest.h>

#include <array>

namespace kvd {
namespace {

using recorded::Line;
using recorded::Text;

TEST(RecordingCanvasTest, RecordsCarryTheOriginAndTheStateInForce) {
    RecordingCanvas canvas;
    const Pen red{PenStyle::kDash, 3, rgb(255, 0, 0)};
    canvas.translate(250, -250);
    canvas.set_pen(red);
    canvas.line({0, 0}, {100, -50});
    canvas.translate(10, -20);
    const std::array<Point, 3> triangle = {Point{0, 0}, Point{10, 0}, Point{5, 5}};
    canvas.set_brush(Brush::solid(rgb(0, 0, 255)));
    canvas.polygon(triangle);
    canvas.rectangle(Rect::below(0, 0, 30, 40));

    const std::vector<Line> lines = canvas.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, (Point{250, -250}));
    EXPECT_EQ(lines[0].to, (Point{350, -300}));
    EXPECT_EQ(lines[0].pen, red);

    const auto polygons = canvas.of_kind<recorded::Polygon>();
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points, (std::vector<Point>{{260, -270}, {270, -270}, {265, -265}}));
    EXPECT_EQ(polygons[0].brush, Brush::solid(rgb(0, 0, 255)));
    EXPECT_EQ(polygons[0].pen, red);

    const auto rects = canvas.of_kind<recorded::Rectangle>();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, (Rect{260, -270, 290, -310}));
    EXPECT_EQ(canvas.origin(), (Point{260, -270}));
}

TEST(RecordingCanvasTest, RestoreBringsBackEveryPieceOfStateAndNests) {
    RecordingCanvas canvas;
    Font title;
    title.face = "Times New Roman";
    title.height = 80;
    title.weight = 700;
    canvas.set_font(title);
    canvas.set_text_colour(rgb(0, 0, 160));
    canvas.translate(100, 100);
    {
        CanvasState outer(canvas);
        canvas.set_font(Font{});
        canvas.set_text_colour(kBlack);
        canvas.set_background(true, rgb(239, 239, 239));
        canvas.set_pen({PenStyle::kNull, 0, kWhite});
        canvas.translate(5, 5);
        {
            CanvasState inner(canvas);
            canvas.translate(1, 1);
            EXPECT_EQ(canvas.save_depth(), 2);
            canvas.draw_text(Rect::below(0, 0, 50, 10), "内", kCellFormat);
        }
        EXPECT_EQ(canvas.origin(), (Point{105, 105}));
        canvas.draw_text(Rect::below(0, 0, 50, 10), "中", kTextLeft);
    }
    canvas.draw_text(Rect::below(0, 0, 50, 10), "外", kTextRight | kTextSingleLine);

    EXPECT_EQ(canvas.save_depth(), 0);
    EXPECT_EQ(canvas.origin(), (Point{100, 100}));
    EXPECT_EQ(canvas.font(), title);
    EXPECT_EQ(canvas.pen(), Pen{});

    const std::vector<Text> texts = canvas.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].box, (Rect{106, 106, 156, 96}));
    EXPECT_EQ(texts[0].format, kCellFormat);
    EXPECT_TRUE(texts[0].opaque);
    EXPECT_EQ(texts[0].background, rgb(239, 239, 239));
    EXPECT_EQ(texts[1].box, (Rect{105, 105, 155, 95}));
    EXPECT_EQ(texts[1].font, Font{});
    EXPECT_EQ(texts[2].box, (Rect{100, 100, 150, 90}));
    EXPECT_EQ(texts[2].font, title);
    EXPECT_EQ(texts[2].colour, rgb(0, 0, 160));
    EXPECT_FALSE(texts[2].opaque);
}

TEST(RecordingCanvasTest, RestoreWithoutSaveIsCountedAndChangesNothing) {
    RecordingCanvas canvas;
    canvas.translate(7, 8);
    canvas.set_pen({PenStyle::kDot, 2, rgb(1, 2, 3)});
    canvas.restore();
    canvas.restore();
    EXPECT_EQ(canvas.unbalanced_restores(), 2);
    EXPECT_EQ(canvas.save_depth(), 0);
    EXPECT_EQ(canvas.origin(), (Point{7, 8}));
    EXPECT_EQ(canvas.pen().style, PenStyle::kDot);
    const auto restores = canvas.of_kind<recorded::Restore>();
    ASSERT_EQ(restores.size(), 2u);
    EXPECT_FALSE(restores[0].balanced);
}

class HalfMetrics : public FontMetrics {
  public:
    int average_char_width(const Font& font) const override { return font.height / 4; }
    int line_height(const Font& font) const override { return font.height; }
    Size text_extent(const Font& font, std::string_view text) const override {
        return {static_cast<int>(text.size()) * font.height / 4, font.height};
    }
};

TEST(RecordingCanvasTest, MeasuresWithTheGivenMetricsOrTheFixedOnes) {
    Font font;
    font.height = 40;
    RecordingCanvas fixed;
    fixed.set_font(font);
    // Fixed metrics: ASCII half the height, other characters the full height.
    EXPECT_EQ(fixed.text_extent("ab工程"), (Size{20 + 20 + 40 + 40, 46}));

    const HalfMetrics half;
    RecordingCanvas injected(half);
    injected.set_font(font);
    EXPECT_EQ(injected.text_extent("abcd"), (Size{40, 40}));
    const auto extents = injected.of_kind<recorded::Extent>();
    ASSERT_EQ(extents.size(), 1u);
    EXPECT_EQ(extents[0].text, "abcd");
    EXPECT_EQ(extents[0].size, (Size{40, 40}));
    EXPECT_EQ(injected.drawing_count(), 0u);
}

TEST(RecordingCanvasTest, QueriesCountsDumpAndClear) {
    RecordingCanvas canvas;
    canvas.set_text_colour(rgb(0, 0, 255));
    canvas.draw_text({0, 0, 100, -50}, "试验：", kTextLeft | kTextVCentre | kTextSingleLine);
    canvas.draw_text({0, -50, 100, -100}, "校核：", kTextLeft);
    canvas.draw_text({0, -100, 100, -150}, "试验：", kTextRight);
    canvas.fill_rect({0, 0, 10, -10}, rgb(223, 223, 223));
    const std::array<Point, 2> two = {Point{0, 0}, Point{3, 4}};
    canvas.polyline(two);
    canvas.ellipse({-5, 5, 5, -5});
    canvas.line({0, 0}, {1, 1});

    EXPECT_EQ(canvas.text_strings(), (std::vector<std::string>{"试验：", "校核：", "试验："}));
    const Text* first = canvas.find_text("试验：");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->format, kTextLeft | kTextVCentre | kTextSingleLine);
    EXPECT_EQ(first->colour, rgb(0, 0, 255));
    EXPECT_EQ(canvas.find_text("试验"), nullptr);
    EXPECT_EQ(canvas.count<Text>(), 3u);
    EXPECT_EQ(canvas.drawing_count(), 7u);
    EXPECT_EQ(canvas.commands().size(), 8u);

    const std::string dump = canvas.dump();
    EXPECT_NE(dump.find("text [0,0,100,-50] 0024 \"试验：\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("fill [0,0,10,-10] DFDFDF"), std::string::npos) << dump;
    EXPECT_NE(dump.find("ellipse [-5,5,5,-5] pen(0,1,000000) hollow"), std::string::npos) << dump;

    canvas.translate(3, 3);
    canvas.clear();
    EXPECT_TRUE(canvas.commands().empty());
    EXPECT_EQ(canvas.origin(), (Point{3, 3}));
    canvas.line({0, 0}, {1, 0});
    EXPECT_EQ(canvas.lines().at(0).from, (Point{3, 3}));
}

}  // namespace
}  // namespace kvd
