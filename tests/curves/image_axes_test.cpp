// The shared parts of every curve: the displacement axis with its ticks and
// labels, the horizontal axis line and arrowheads, and the two-part title,
// checked on a recording canvas at scale 1 (design (x, y) -> logical (x, -y)).

#include <gtest/gtest.h>

#include <algorithm>

#include "base/format.h"
#include "curve_fixture.h"

namespace kvd::testing {
namespace {

class ImageAxesTest : public CurveTest {
protected:
    // Ticks of the displacement axis: red lines from x = 150 to the left.
    std::vector<recorded::Line> displacement_ticks() const {
        std::vector<recorded::Line> ticks;
        for (const auto& l : canvas_.lines()) {
            if (l.from.x == 150 && l.to.x < 150 && l.from.y == l.to.y) ticks.push_back(l);
        }
        return ticks;
    }
    // The label texts left of the displacement axis, top to bottom.
    std::vector<recorded::Text> displacement_labels() const {
        std::vector<recorded::Text> labels;
        for (const auto& t : canvas_.texts()) {
            if (t.box.right == 150 - 4 * 16 / 3) labels.push_back(t);
        }
        return labels;
    }
};

TEST_F(ImageAxesTest, DisplacementAxisHas50TicksAnd11Labels) {
    paint();
    const auto ticks = displacement_ticks();
    ASSERT_EQ(ticks.size(), 50u);  // none at the origin
    int minor = 0;
    int major = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        EXPECT_EQ(ticks[i].from.y, -150 - 15 * k);  // 750 / 50 apart
        const int length = ticks[i].from.x - ticks[i].to.x;
        EXPECT_EQ(length, k % 5 == 0 ? 16 : 8) << k;
        (length == 16 ? major : minor)++;
        EXPECT_EQ(ticks[i].pen, (Pen{PenStyle::kSolid, 1, rgb(255, 0, 0)}));
    }
    EXPECT_EQ(major, 10);
    EXPECT_EQ(minor, 40);

    // Range 0 ... 5 mm: labels every 0.5 mm, right-aligned 21 left of the
    // axis, centred on their ticks.
    const auto labels = displacement_labels();
    ASSERT_EQ(labels.size(), 11u);
    for (int i = 0; i <= 10; ++i) {
        const auto& t = labels[static_cast<std::size_t>(i)];
        EXPECT_EQ(t.text, strprintf("%6.2f", 0.5 * i));
        const int y = -150 - 75 * i;
        EXPECT_EQ(t.box.top + t.box.bottom, 2 * y) << i;
        EXPECT_EQ(t.box.height(), 30);
        EXPECT_EQ(t.format & (kTextRight | kTextVCentre | kTextSingleLine),
                  kTextRight | kTextVCentre | kTextSingleLine);
        EXPECT_EQ(t.colour, rgb(0, 0, 255));
        EXPECT_EQ(t.font.face, "Times New Roman");
        EXPECT_EQ(t.font.height, -30);  // character height
        EXPECT_EQ(t.font.weight, 500);
    }

    // The axis title sits right of the axis, ending at the tip's level.
    const auto* title = canvas_.find_text("s (mm)");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->box.left, 150 + 16);
    EXPECT_EQ(title->box.bottom, -990);
    EXPECT_EQ(title->box.top, -960);
    EXPECT_EQ(title->format & kTextRight, 0u);
}

TEST_F(ImageAxesTest, AllZeroSettlementsGiveOneMillimetre) {
    build({{0, 0}, {100, 0}, {200, 0}});
    paint();
    const auto labels = displacement_labels();
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_EQ(labels.front().text, "  0.00");
    EXPECT_EQ(labels[1].text, "  0.10");
    EXPECT_EQ(labels.back().text, "  1.00");
}

TEST_F(ImageAxesTest, SettlementsTo12Point3LabelEvery1Point5) {
    build({{0, 0}, {100, 5}, {200, 12.3}});
    paint();
    const auto labels = displacement_labels();
    ASSERT_EQ(labels.size(), 11u);
    EXPECT_EQ(labels[1].text, "  1.50");
    EXPECT_EQ(labels.back().text, " 15.00");
}

TEST_F(ImageAxesTest, AxisLinesArrowheadsAndTitle) {
    paint();
    const auto lines = canvas_.lines();
    auto has_line = [&](Point a, Point b) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const auto& l) { return l.from == a && l.to == b; });
    };
    EXPECT_TRUE(has_line({150, -150}, {990, -150}));
    EXPECT_TRUE(has_line({150, -150}, {150, -990}));
    const auto arrows = canvas_.of_kind<recorded::Polygon>();
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0].points, (std::vector<Point>{{950, -145}, {950, -155}, {990, -150}}));
    EXPECT_EQ(arrows[1].points, (std::vector<Point>{{145, -950}, {155, -950}, {150, -990}}));
    EXPECT_EQ(arrows[0].brush, Brush::solid(rgb(255, 0, 0)));

    const auto* latin = canvas_.find_text("Q-s");
    ASSERT_NE(latin, nullptr);
    EXPECT_EQ(latin->box, (Rect{500, -10, 530, -100}));
    EXPECT_EQ(latin->format & kTextRight, kTextRight);
    EXPECT_TRUE(latin->format & kTextNoClip);
    EXPECT_EQ(latin->font.face, "Times New Roman");
    EXPECT_EQ(latin->font.height, -60);
    EXPECT_EQ(latin->colour, rgb(0, 0, 160));
    const auto* chinese = canvas_.find_text("曲线");
    ASSERT_NE(chinese, nullptr);
    EXPECT_EQ(chinese->box, (Rect{550, -10, 600, -100}));
    EXPECT_EQ(chinese->format & (kTextRight | kTextCentre), 0u);
    EXPECT_EQ(chinese->font.height, 60);  // cell height for the Chinese face
    EXPECT_EQ(chinese->font.charset, kCharsetGb2312);
    EXPECT_EQ(chinese->colour, rgb(0, 0, 160));
    // Text is never painted on an opaque background.
    for (const auto& t : canvas_.texts()) EXPECT_FALSE(t.opaque) << t.text;
}

TEST_F(ImageAxesTest, UpliftAxisPointsUpWithDeltaTitle) {
    doc_.record().test_params.direction_kind = 2;
    paint();
    EXPECT_EQ(qs_.plot_height(), 750);
    const auto labels = displacement_labels();
    ASSERT_EQ(labels.size(), 11u);
    // 0 at the bottom axis (y -950), rising 75 a label.
    EXPECT_EQ(labels.front().text, "  0.00");
    EXPECT_EQ(labels.front().box.top + labels.front().box.bottom, 2 * -950);
    EXPECT_EQ(labels.back().box.top + labels.back().box.bottom, 2 * -200);
    const auto* title = canvas_.find_text("δ(mm)");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->box.top, -110);  // hangs down from the tip
    EXPECT_EQ(title->box.bottom, -140);
    EXPECT_EQ(canvas_.find_text("s (mm)"), nullptr);
    // The title stays on top.
    EXPECT_EQ(canvas_.find_text("U-δ")->box, (Rect{500, -10, 530, -100}));
}

}  // namespace
}  // namespace kvd::testing
