// The wide-line rule: styled pens wider than one unit become strips of
// one-unit styled lines with round ends.

#include <gtest/gtest.h>

#include "curves/styled_line.h"
#include "draw/recording_canvas.h"

namespace kvd::testing {
namespace {

constexpr Colour kRed = rgb(255, 0, 0);

TEST(StyledLine, ThinOrSolidPensDrawOneLine) {
    RecordingCanvas canvas;
    StyledLine line(canvas);
    line.move_to({0, 0});
    line.line_to({100, -50}, LinePen{2, 1, kRed});
    line.line_to({200, -50}, LinePen{0, 5, kRed});
    const auto lines = canvas.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].pen, (Pen{PenStyle::kDot, 1, kRed}));
    EXPECT_EQ(lines[1].from, (Point{100, -50}));
    EXPECT_EQ(lines[1].pen, (Pen{PenStyle::kSolid, 5, kRed}));
    EXPECT_EQ(canvas.count<recorded::Ellipse>(), 0u);
    EXPECT_EQ(line.current(), (Point{200, -50}));
    // An unknown style number draws solid.
    EXPECT_EQ(pen_style_of(9), PenStyle::kSolid);
}

TEST(StyledLine, VerticalAndHorizontalStrips) {
    RecordingCanvas canvas;
    StyledLine line(canvas);
    line.move_to({50, 0});
    line.line_to({50, -100}, LinePen{1, 3, kRed});
    auto lines = canvas.lines();
    ASSERT_EQ(lines.size(), 3u);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(lines[j].from, (Point{49 + j, 0}));
        EXPECT_EQ(lines[j].to, (Point{49 + j, -100}));
        EXPECT_EQ(lines[j].pen, (Pen{PenStyle::kDash, 1, kRed}));
    }
    // Round ends: filled circles of diameter 3 at both ends.
    const auto ends = canvas.of_kind<recorded::Ellipse>();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].bounds, (Rect{49, 1, 52, -2}));
    EXPECT_EQ(ends[1].bounds, (Rect{49, -99, 52, -102}));
    EXPECT_EQ(ends[0].brush, Brush::solid(kRed));

    canvas.clear();
    line.line_to({150, -100}, LinePen{3, 4, kRed});
    lines = canvas.lines();
    ASSERT_EQ(lines.size(), 4u);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(lines[j].from, (Point{50, -102 + j}));
        EXPECT_EQ(lines[j].to, (Point{150, -102 + j}));
    }
}

TEST(StyledLine, SlopedStripsStayParallelAndCentred) {
    RecordingCanvas canvas;
    StyledLine line(canvas);
    line.move_to({0, 0});
    line.line_to({30, -400}, LinePen{4, 5, kRed});  // steep
    auto lines = canvas.lines();
    ASSERT_EQ(lines.size(), 5u);  // 5 x 400 / 401.1, rounded
    int sum_x = 0;
    for (const auto& l : lines) {
        EXPECT_EQ(l.to.x - l.from.x, 30);
        EXPECT_EQ(l.to.y - l.from.y, -400);
        sum_x += l.from.x;
    }
    EXPECT_EQ(sum_x, 0);  // shifted -2 ... 2 around the segment
    EXPECT_EQ(lines[0].from.x, -2);
    EXPECT_EQ(lines[4].from.x, 2);

    canvas.clear();
    line.move_to({0, 0});
    line.line_to({400, -30}, LinePen{2, 3, kRed});  // flat
    lines = canvas.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].from.y, -1);
    EXPECT_EQ(lines[2].from.y, 1);
    for (const auto& l : lines) EXPECT_EQ(l.to.x - l.from.x, 400);
}

}  // namespace
}  // namespace kvd::testing
