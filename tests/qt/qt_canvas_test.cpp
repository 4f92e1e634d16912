#include "qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <vector>

#include "ink.h"

namespace kvd {
namespace {

using test::ink_bands;
using test::ink_bounds;
using test::ink_count;
using test::near_colour;

// Logical y up, 2 device pixels per unit, logical origin at device (10, 300).
constexpr CanvasMapping kPageLike{2.0, 10.0, 300.0, true};

Font song(int height) {
    Font font;
    font.face = "宋体";
    font.height = height;
    return font;
}

Font times(int height) {
    Font font;
    font.face = "Times New Roman";
    font.height = height;
    return font;
}

class QtCanvasTest : public ::testing::Test {
  protected:
    QtCanvasTest() : image_(1200, 1400, QImage::Format_RGB32) { image_.fill(Qt::white); }

    // Paints with a fresh canvas; antialiasing off so that edges are exact.
    template <typename Draw>
    void paint(const CanvasMapping& mapping, Draw draw) {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QtCanvas canvas(painter, mapping);
        draw(canvas);
    }

    QRgb at(int x, int y) const { return image_.pixel(x, y); }

    QImage image_;
};

TEST_F(QtCanvasTest, MapsLogicalUnitsYUpAndYDownWithTranslateAndRestore) {
    paint(kPageLike, [](Canvas& c) {
        c.fill_rect({0, 0, 50, -30}, rgb(255, 0, 0));
        c.save();
        c.translate(100, -100);
        c.fill_rect({0, 0, 10, -10}, rgb(0, 0, 255));
        c.restore();
        c.fill_rect({200, 0, 210, -10}, rgb(0, 160, 0));
    });
    // The red rectangle spans device x 10..109 and y 300..359.
    EXPECT_TRUE(near_colour(at(10, 300), Qt::red, 0));
    EXPECT_TRUE(near_colour(at(109, 359), Qt::red, 0));
    EXPECT_TRUE(near_colour(at(9, 300), Qt::white, 0));
    EXPECT_TRUE(near_colour(at(110, 330), Qt::white, 0));
    EXPECT_TRUE(near_colour(at(50, 299), Qt::white, 0));
    EXPECT_TRUE(near_colour(at(50, 360), Qt::white, 0));
    // Translated by (100, -100): device (210, 500).
    EXPECT_TRUE(near_colour(at(210, 500), Qt::blue, 0));
    EXPECT_TRUE(near_colour(at(229, 519), Qt::blue, 0));
    // After restore the origin is back.
    EXPECT_TRUE(near_colour(at(410, 300), QColor(0, 160, 0), 0));

    image_.fill(Qt::white);
    paint({1.0, 0.0, 0.0, false}, [](Canvas& c) { c.fill_rect({20, 30, 40, 50}, kBlack); });
    EXPECT_EQ(ink_bounds(image_, image_.rect()), QRect(20, 30, 20, 20));
}

TEST_F(QtCanvasTest, PenWidthIsInLogicalUnitsAndWideDashesDrawSolid) {
    // 4 device pixels per unit; a line every 25 units (100 px) down the image.
    paint({4.0, 10.0, 0.0, true}, [](Canvas& c) {
        const auto rule = [&c](int row, Pen pen) {
            c.set_pen(pen);
            c.line({0, -25 * row}, {250, -25 * row});
        };
        rule(1, {PenStyle::kSolid, 10, kBlack});
        rule(2, {PenStyle::kSolid, 1, kBlack});
        rule(3, {PenStyle::kSolid, 0, kBlack});
        rule(4, {PenStyle::kDash, 5, kBlack});
        rule(5, {PenStyle::kDash, 1, kBlack});
        rule(6, {PenStyle::kDot, 0, kBlack});
        rule(7, {PenStyle::kNull, 10, kBlack});
    });
    const auto thickness = [this](int row, int x = 500) {
        return ink_count(image_, QRect(x, row * 100 - 50, 1, 100));
    };
    EXPECT_NEAR(thickness(1), 40, 1);
    EXPECT_NEAR(thickness(2), 4, 1);  // 0.1 mm stays 0.1 mm, not a hairline
    EXPECT_EQ(thickness(3), 1);       // width 0: the thinnest line of the device
    EXPECT_NEAR(thickness(4), 20, 1);
    // A wide dashed pen draws without gaps; thin ones draw their pattern.
    const auto along = [this](int row) { return ink_count(image_, QRect(20, row * 100, 960, 1)); };
    EXPECT_EQ(along(4), 960);
    EXPECT_GT(along(5), 300);
    EXPECT_LT(along(5), 900);
    EXPECT_NEAR(thickness(5, 10 + 50), 4, 1);  // inside the first dash
    EXPECT_GT(along(6), 200);
    EXPECT_LT(along(6), 760);
    EXPECT_EQ(ink_count(image_, QRect(0, 650, 1200, 100)), 0);
}

TEST_F(QtCanvasTest, ShapesFillWithTheBrushAndOutlineWithThePen) {
    paint(kPageLike, [](Canvas& c) {
        c.set_pen({PenStyle::kSolid, 1, kBlack});
        c.set_brush(Brush::solid(rgb(255, 0, 0)));
        const std::array<Point, 4> arrow = {Point{0, 0}, Point{0, -100}, Point{200, -50},
                                            Point{0, 0}};
        c.polygon(arrow);
        c.ellipse({250, 0, 450, -100});
        c.set_brush({});
        c.rectangle({0, -150, 100, -250});
        c.ellipse({250, -150, 450, -250});
    });
    EXPECT_TRUE(near_colour(at(10 + 100, 400), Qt::red, 0));    // inside the triangle
    EXPECT_TRUE(near_colour(at(10 + 380, 310), Qt::white, 0));  // right of its slope
    EXPECT_TRUE(near_colour(at(10 + 700, 400), Qt::red, 0));    // ellipse centre
    EXPECT_TRUE(near_colour(at(10 + 505, 305), Qt::white, 0));  // bounding-box corner
    EXPECT_TRUE(near_colour(at(10 + 100, 700), Qt::white, 0));  // hollow rectangle
    EXPECT_TRUE(near_colour(at(10, 700), Qt::black, 0));        // its left edge
    EXPECT_TRUE(near_colour(at(10 + 700, 700), Qt::white, 0));  // hollow ellipse
}

TEST_F(QtCanvasTest, TextIsUprightAndPlacedByTheVerticalFlags) {
    // Three boxes of 80 x 160 units (160 x 320 px); a cell of 40 units is 80 px.
    paint(kPageLike, [](Canvas& c) {
        c.set_font(song(40));
        c.draw_text(Rect::below(0, 0, 160, 160), "工程", kTextTop | kTextSingleLine);
        c.draw_text(Rect::below(200, 0, 160, 160), "工程", kTextVCentre | kTextSingleLine);
        c.draw_text(Rect::below(400, 0, 160, 160), "工程", kTextBottom | kTextSingleLine);
        c.set_font(times(100));
        c.draw_text(Rect::below(0, -200, 200, 120), "T", kTextLeft | kTextTop);
    });
    const QRect top = ink_bounds(image_, QRect(10, 300, 320, 320));
    const QRect middle = ink_bounds(image_, QRect(410, 300, 320, 320));
    const QRect bottom = ink_bounds(image_, QRect(810, 300, 320, 320));
    ASSERT_FALSE(top.isEmpty());
    ASSERT_FALSE(middle.isEmpty());
    ASSERT_FALSE(bottom.isEmpty());
    // Chinese characters fill about their cell: the ink starts at the top of the
    // box, is centred on it, ends at its bottom.
    EXPECT_LE(top.top(), 300 + 12);
    EXPECT_LE(top.bottom(), 300 + 80);
    EXPECT_GE(top.height(), 60);
    EXPECT_NEAR((middle.top() + middle.bottom()) / 2.0, 460, 8);
    EXPECT_GE(bottom.bottom(), 620 - 12);
    EXPECT_LE(bottom.bottom(), 620);
    EXPECT_LE(top.left(), 10 + 8);

    // An upright "T": the widest row of ink is its top bar.
    const QRect tee = ink_bounds(image_, QRect(10, 700, 400, 240));
    ASSERT_FALSE(tee.isEmpty());
    int widest_row = tee.top();
    int widest = 0;
    for (int y = tee.top(); y <= tee.bottom(); ++y) {
        const int n = ink_count(image_, QRect(tee.left(), y, tee.width(), 1));
        if (n > widest) {
            widest = n;
            widest_row = y;
        }
    }
    EXPECT_LT(widest_row - tee.top(), tee.height() / 5);
    EXPECT_GT(widest, tee.width() * 3 / 4);
}

TEST_F(QtCanvasTest, HorizontalAlignmentClippingAndEllipsis) {
    paint(kPageLike, [](Canvas& c) {
        c.set_font(times(40));
        c.draw_text(Rect::below(0, 0, 400, 40), "ace", kTextLeft | kTextSingleLine);
        c.draw_text(Rect::below(0, -50, 400, 40), "ace", kTextCentre | kTextSingleLine);
        c.draw_text(Rect::below(0, -100, 400, 40), "ace", kTextRight | kTextSingleLine);
        // Too wide for its box: clipped, clipped with an ellipsis, not clipped.
        c.draw_text(Rect::below(0, -200, 100, 40), "WWWWWWWW", kTextSingleLine);
        c.draw_text(Rect::below(0, -250, 100, 40), "WWWWWWWW", kTextSingleLine | kTextEndEllipsis);
    });
    const QRect left = ink_bounds(image_, QRect(0, 300, 1200, 80));
    const QRect centre = ink_bounds(image_, QRect(0, 400, 1200, 80));
    const QRect right = ink_bounds(image_, QRect(0, 500, 1200, 80));
    EXPECT_LE(left.left() - 10, 6);
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 10 + 400, 6);
    EXPECT_LE(810 - right.right(), 6);
    EXPECT_NEAR(left.width(), right.width(), 1);

    // The box ends at device x 210; the ellipsis version leaves the top half of
    // the last part of the box blank (the dots sit on the baseline).
    EXPECT_LE(ink_bounds(image_, QRect(0, 700, 1200, 80)).right(), 209);
    EXPECT_GT(ink_count(image_, QRect(180, 700, 30, 30)), 0);
    EXPECT_LE(ink_bounds(image_, QRect(0, 800, 1200, 80)).right(), 209);
    EXPECT_EQ(ink_count(image_, QRect(180, 800, 30, 30)), 0);
}

TEST_F(QtCanvasTest, NoClipLetsTextRunPastItsBox) {
    paint(kPageLike, [](Canvas& c) {
        c.set_font(times(40));
        c.draw_text(Rect::below(0, 0, 100, 40), "WWWWWWWW", kTextSingleLine | kTextNoClip);
    });
    EXPECT_GT(ink_bounds(image_, image_.rect()).right(), 260);
}

TEST_F(QtCanvasTest, LinesBreakAtNewlinesAndWordsUnlessSingleLine) {
    paint(kPageLike, [](Canvas& c) {
        c.set_font(times(30));
        c.draw_text(Rect::below(0, 0, 500, 120), "ace\nmace\nvane", kTextLeft);
        c.draw_text(Rect::below(0, -130, 500, 120), "ace\nmace", kTextSingleLine);
        c.draw_text(Rect::below(0, -260, 40, 130), "ace mace vane", kTextWordBreak);
        c.draw_text(Rect::below(0, -400, 40, 130), "ace mace vane", kTextLeft);
    });
    EXPECT_EQ(ink_bands(image_, QRect(0, 300, 1200, 240)), 3);
    EXPECT_EQ(ink_bands(image_, QRect(0, 560, 1200, 240)), 1);
    EXPECT_EQ(ink_bands(image_, QRect(0, 820, 1200, 260)), 3);
    EXPECT_EQ(ink_bands(image_, QRect(0, 1100, 1200, 260)), 1);
}

TEST_F(QtCanvasTest, OpaqueBackgroundFillsTheBoxAndColoursApply) {
    paint(kPageLike, [](Canvas& c) {
        c.set_font(song(40));
        c.set_background(true, rgb(239, 239, 239));
        c.set_text_colour(rgb(0, 0, 255));
        c.draw_text(Rect::below(0, 0, 300, 100), "校核", kCellFormat);
        c.set_background(false, kWhite);
        c.draw_text(Rect::below(0, -150, 300, 100), "校核", kCellFormat);
    });
    EXPECT_TRUE(near_colour(at(12, 302), QColor(239, 239, 239), 0));
    EXPECT_TRUE(near_colour(at(12, 302 + 300), Qt::white, 0));
    const QRect ink = ink_bounds(image_, QRect(10, 300, 600, 200));
    ASSERT_FALSE(ink.isEmpty());
    bool blue = false;
    for (int x = ink.left(); x <= ink.right() && !blue; ++x) {
        blue = near_colour(at(x, ink.center().y()), Qt::blue, 30);
    }
    EXPECT_TRUE(blue);
}

TEST_F(QtCanvasTest, TextExtentIsInLogicalUnitsWhateverTheScale) {
    Size fine;
    Size coarse;
    paint({8.0, 0.0, 0.0, true}, [&](Canvas& c) {
        c.set_font(times(40));
        fine = c.text_extent("0.52 Q-s");
    });
    paint({1.0, 0.0, 0.0, true}, [&](Canvas& c) {
        c.set_font(times(40));
        coarse = c.text_extent("0.52 Q-s");
    });
    EXPECT_EQ(fine.cy, 40);
    EXPECT_EQ(coarse.cy, 40);
    EXPECT_NEAR(fine.cx, coarse.cx, 3);
    // Advance widths of Times New Roman (2048 units per em): 7054 units in all,
    // at an em of 0.903 of the 40-unit cell.
    EXPECT_NEAR(fine.cx, 124, 2);
    Size chinese;
    paint({8.0, 0.0, 0.0, true}, [&](Canvas& c) {
        c.set_font(song(40));
        chinese = c.text_extent("工程名称");
    });
    EXPECT_NEAR(chinese.cx, 160, 2);  // 宋体 characters are one cell wide
}

// A curve window's labels and cells: every alignment, a box they fit, one
// they overflow (clipped, elided, unclipped), several lines, an opaque box.
// Returns the device boxes (the unclipped one with room to run on).
std::vector<QRect> draw_screen_texts(QtCanvas& c) {
    std::vector<QRect> boxes;
    const auto text = [&](const Rect& box, std::string_view s, TextFormat format) {
        c.draw_text(box, s, format);
        boxes.push_back(c.device_rect(box).toAlignedRect());
    };
    const TextFormat aligns[] = {kTextLeft | kTextTop, kTextCentre | kTextVCentre,
                                 kTextRight | kTextBottom};
    for (int i = 0; i < 3; ++i) {
        const int top = -80 * i;
        c.set_font(times(-38));
        text(Rect::below(0, top, 600, 60), "1200 kN", aligns[i] | kTextSingleLine);
        c.set_font(song(36));
        c.set_text_colour(rgb(0, 0, 255));
        text(Rect::below(700, top, 600, 60), "沉降 s (mm)", aligns[i]);
        c.set_text_colour(kBlack);
    }
    c.set_font(times(40));
    text(Rect::below(0, -260, 100, 40), "WWWWWWWW", kTextSingleLine);
    text(Rect::below(0, -320, 100, 40), "WWWWWWWW", kTextSingleLine | kTextEndEllipsis);
    c.draw_text(Rect::below(0, -380, 100, 40), "WWWWWWWW", kTextSingleLine | kTextNoClip);
    boxes.push_back(c.device_rect(Rect::below(0, -380, 600, 40)).toAlignedRect());
    text(Rect::below(700, -260, 600, 100), "ace\nmace", kTextLeft);
    c.set_background(true, rgb(239, 239, 239));
    text(Rect::below(700, -380, 600, 60), "校核", kCellFormat);
    return boxes;
}

TEST_F(QtCanvasTest, TextsFromTheCacheLookAsTheGeneralRoadDrawsThem) {
    // As a curve window draws: about a third of a pixel per unit, antialiased.
    constexpr CanvasMapping kWindowLike{0.3358, 4.0, 300.0, true};
    std::vector<QRect> boxes;
    const auto paint_texts = [&](TextCache* texts, Size& extent) {
        QImage image(600, 500, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        if (texts) texts->start_paint();
        QtCanvas canvas(painter, kWindowLike, texts);
        boxes = draw_screen_texts(canvas);
        canvas.set_font(times(-38));
        extent = canvas.text_extent("1200 kN");
        return image;
    };
    Size general_extent;
    const QImage general = paint_texts(nullptr, general_extent);
    TextCache texts;
    for (int paint = 0; paint < 2; ++paint) {  // laid out now, then from the cache
        Size extent;
        const QImage cached = paint_texts(&texts, extent);
        EXPECT_EQ(extent, general_extent);
        // Glyphs from the cache may sit a fraction of a pixel apart from
        // drawText's: the ink of every text starts and ends within a pixel.
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const QRect expected = ink_bounds(general, boxes[i]);
            const QRect ink = ink_bounds(cached, boxes[i]);
            ASSERT_FALSE(expected.isEmpty()) << "text " << i;
            EXPECT_NEAR(ink.left(), expected.left(), 1) << "paint " << paint << ", text " << i;
            EXPECT_NEAR(ink.right(), expected.right(), 1) << "paint " << paint << ", text " << i;
            EXPECT_NEAR(ink.top(), expected.top(), 1) << "paint " << paint << ", text " << i;
            EXPECT_NEAR(ink.bottom(), expected.bottom(), 1) << "paint " << paint << ", text " << i;
            EXPECT_NEAR(ink_count(cached, boxes[i]), ink_count(general, boxes[i]),
                        ink_count(general, boxes[i]) / 20)
                << "paint " << paint << ", text " << i;
        }
    }
}

TEST_F(QtCanvasTest, LeavesThePainterAsItFoundIt) {
    QPainter painter(&image_);
    painter.setPen(QPen(Qt::green, 7));
    painter.translate(5, 5);
    {
        QtCanvas canvas(painter, kPageLike);
        canvas.set_pen({PenStyle::kDot, 1, rgb(255, 0, 0)});
        canvas.restore();  // nothing saved: ignored
        canvas.line({0, 0}, {10, 10});
        canvas.draw_text(Rect::below(0, 0, 10, 10), "x", kTextLeft);
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.pen().widthF(), 7.0);
    EXPECT_EQ(painter.transform().dx(), 5.0);
}

}  // namespace
}  // namespace kvd
