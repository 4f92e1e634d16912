// Scaling the design square to the window, the page and the metafile: the
// nearest-integer mapping, the uplift mirror, which sizes follow the scale,
// the black-and-white forcing, and the zoom commands.

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "curve_fixture.h"

namespace kvd::testing {
namespace {

TEST(ScaledStyle, MapsDesignUnitsToTheNearestLogicalUnit) {
    const CurveFrameStyle style;
    const DeviceFrame one = scale_frame(style, StyleScale{1, -1, true, false, 1000});
    EXPECT_EQ(one.origin, (Point{150, -150}));
    EXPECT_EQ(one.x_axis_end, (Point{990, -150}));
    EXPECT_EQ(one.y_axis_end, (Point{150, -990}));
    EXPECT_EQ(one.title_latin_rect, (Rect{500, -10, 530, -100}));
    EXPECT_EQ(one.x_arrow[1], (Point{950, -155}));
    EXPECT_EQ(one.background, rgb(240, 240, 240));

    // 150 x 0.333 = 49.95 and 990 x 0.333 = 329.67 both round to the nearest.
    const DeviceFrame third = scale_frame(style, StyleScale{0.333, -0.333, true, false, 1000});
    EXPECT_EQ(third.origin, (Point{50, -50}));
    EXPECT_EQ(third.x_axis_end, (Point{330, -50}));
    EXPECT_EQ(third.y_axis_end, (Point{50, -330}));
}

TEST(ScaledStyle, UpliftTurnsThePlotUpsideDownUnderTheTitle) {
    const CurveFrameStyle style;
    // A = -1000 + (-100): y' = -1100 - y.
    const DeviceFrame f = scale_frame(style, StyleScale{1, -1, true, true, 1000});
    EXPECT_EQ(f.origin, (Point{150, -950}));
    EXPECT_EQ(f.y_axis_end, (Point{150, -110}));
    EXPECT_EQ(f.plot_bottom, (Point{150, -200}));
    EXPECT_EQ(f.plot_right, (Point{900, -950}));
    EXPECT_EQ(f.x_axis_end, (Point{990, -950}));
    EXPECT_EQ(f.x_arrow[0], (Point{950, -955}));
    EXPECT_EQ(f.x_arrow[1], (Point{950, -945}));
    EXPECT_EQ(f.y_arrow[2], (Point{150, -110}));
    EXPECT_EQ(f.y_arrow[0], (Point{145, -150}));
    // The title stays on top.
    EXPECT_EQ(f.title_latin_rect, (Rect{500, -10, 530, -100}));
}

TEST(ScaledStyle, SizesFollowTheScaleExceptOnPaper) {
    CurveStyle style;
    const StyleScale half{0.5, -0.5, true, false, 1000};
    const DeviceFrame f = scale_frame(style.frame, half);
    EXPECT_EQ(f.axis_width, 1);  // 0.5 rounds up
    EXPECT_EQ(f.tick_font_size, 15);
    EXPECT_EQ(f.title_font_size, 30);
    EXPECT_EQ(f.major_tick, 8);
    EXPECT_EQ(f.minor_tick, 4);
    const CurveLineStyle l = scale_lines(style.lines, half);
    EXPECT_EQ(l.point_diameter, 8);
    EXPECT_EQ(l.mark_font_size, 15);
    EXPECT_EQ(l.load_width, 1);

    // Wide pens narrow with the scale; a non-uniform scale takes the smaller
    // factor for the point diameter.
    style.lines.load_width = 4;
    const CurveLineStyle wide = scale_lines(style.lines, StyleScale{2, -0.5, true, false, 1000});
    EXPECT_EQ(wide.load_width, 8);
    EXPECT_EQ(wide.point_diameter, 8);

    // On paper the sizes are 0.1 mm as they stand; only the ticks scale.
    const StyleScale paper{0.5, -0.5, false, false, 1000};
    const DeviceFrame p = scale_frame(style.frame, paper);
    EXPECT_EQ(p.tick_font_size, 30);
    EXPECT_EQ(p.title_font_size, 60);
    EXPECT_EQ(p.axis_width, 1);
    EXPECT_EQ(p.major_tick, 8);
    EXPECT_EQ(scale_lines(style.lines, paper).point_diameter, 15);
}

class ImageScaleTest : public CurveTest {
protected:
    // Every colour the recorded drawing used.
    std::set<Colour> colours_used() const {
        std::set<Colour> used;
        for (const auto& c : canvas_.commands()) {
            if (auto* l = std::get_if<recorded::Line>(&c)) used.insert(l->pen.colour);
            if (auto* e = std::get_if<recorded::Ellipse>(&c)) {
                used.insert(e->pen.colour);
                if (!e->brush.hollow) used.insert(e->brush.colour);
            }
            if (auto* p = std::get_if<recorded::Polygon>(&c)) used.insert(p->brush.colour);
            if (auto* t = std::get_if<recorded::Text>(&c)) used.insert(t->colour);
            if (auto* f = std::get_if<recorded::FillRect>(&c)) used.insert(f->colour);
        }
        return used;
    }
};

TEST_F(ImageScaleTest, WindowFitsOrZooms) {
    paint({2000, 1000});
    // Fit fills the window both ways without keeping the aspect.
    EXPECT_DOUBLE_EQ(qs_.sx(), 2);
    EXPECT_DOUBLE_EQ(qs_.sy(), -1);
    EXPECT_EQ(qs_.frame().origin, (Point{300, -150}));
    EXPECT_EQ(qs_.road(), CImage::Road::kWindow);
    EXPECT_EQ(qs_.print_rect(), Rect{});

    doc_.curve_style().zoom = 1.5;
    paint({1000, 2000});
    EXPECT_DOUBLE_EQ(qs_.sx(), 1.5);
    EXPECT_DOUBLE_EQ(qs_.sy(), -1.5);
    EXPECT_EQ(qs_.scroll_extent(), (Size{1500, 1500}));
    // The background covers the client area widened to the picture.
    const auto fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front().rect, (Rect{0, 0, 1500, -2000}));
    EXPECT_EQ(fills.front().colour, rgb(240, 240, 240));
    EXPECT_EQ(qs_.frame().tick_font_size, 45);

    // A window of no size and a zoom no one can set draw nothing useful but
    // divide by nothing either.
    doc_.curve_style().zoom = std::numeric_limits<double>::quiet_NaN();
    paint({0, 0});
    EXPECT_EQ(qs_.plot_width(), 0);
    EXPECT_EQ(qs_.cursor_request({0, 0}).status, "0kN    0.00mm");
}

TEST_F(ImageScaleTest, ZoomCommandsStepFromTheWindowScale) {
    doc_.curve_style().zoom = 1.2;
    paint();
    EXPECT_TRUE(qs_.can_zoom_in());
    qs_.zoom_in();
    EXPECT_DOUBLE_EQ(doc_.zoom_factor(), 1.5);
    doc_.curve_style().zoom = 1.2;
    paint();
    qs_.zoom_out();
    EXPECT_DOUBLE_EQ(doc_.zoom_factor(), 1);

    doc_.curve_style().zoom = 8;
    paint();
    EXPECT_FALSE(qs_.can_zoom_in());
    EXPECT_TRUE(qs_.can_zoom_out());
    // A print in between does not change what the window zoom starts from.
    qs_.print(canvas_);
    EXPECT_FALSE(qs_.can_zoom_in());

    qs_.fit_window();
    EXPECT_EQ(doc_.zoom_factor(), 0);
    qs_.set_zoom_from_box(3);
    EXPECT_EQ(doc_.zoom_factor(), 2);
    // Fit at a small window: only zoom in moves.
    qs_.fit_window();
    paint({400, 400});
    EXPECT_TRUE(qs_.can_zoom_in());
    EXPECT_FALSE(qs_.can_zoom_out());
}

TEST_F(ImageScaleTest, MetafileScaleColourAndNoBackground) {
    canvas_.clear();
    qs_.paint_metafile(canvas_, 1.5, true);
    EXPECT_DOUBLE_EQ(qs_.sx(), 2 / 1.5);
    EXPECT_DOUBLE_EQ(qs_.sy(), -2);
    EXPECT_EQ(qs_.metafile_size(1.5), (Size{1333, 2000}));
    EXPECT_EQ(qs_.metafile_size(1.0), (Size{2000, 2000}));
    EXPECT_EQ(qs_.metafile_size(0), (Size{2000, 2000}));
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 0u);
    EXPECT_TRUE(colours_used().count(rgb(0, 0, 160)));  // the loading curve keeps its colour
    EXPECT_EQ(qs_.frame().tick_font_size, 60);          // sizes scaled as on screen

    canvas_.clear();
    qs_.paint_metafile(canvas_, 0, false);
    EXPECT_DOUBLE_EQ(qs_.sx(), 2);
    EXPECT_EQ(colours_used(), (std::set<Colour>{kBlack}));
    EXPECT_EQ(qs_.frame().background, kWhite);
}

TEST_F(ImageScaleTest, PrintIsBlackOnWhiteWithSizesInTenthsOfAMillimetre) {
    doc_.print_content().curve_layout = 0;
    canvas_.clear();
    qs_.print(canvas_);
    EXPECT_EQ(qs_.road(), CImage::Road::kPrint);
    const Rect r = qs_.print_rect();
    EXPECT_DOUBLE_EQ(qs_.sx(), r.width() / 1000.0);
    EXPECT_DOUBLE_EQ(qs_.sy(), -r.height() / 1000.0);
    EXPECT_EQ(qs_.frame().tick_font_size, 30);
    EXPECT_EQ(qs_.lines().point_diameter, 15);
    EXPECT_EQ(colours_used(), (std::set<Colour>{kBlack}));
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 0u);
    // The curve is drawn relative to the print rectangle's corner.
    const auto moves = canvas_.of_kind<recorded::Translate>();
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].origin, (Point{r.left, r.top}));
    EXPECT_EQ(canvas_.save_depth(), 0);
}

}  // namespace
}  // namespace kvd::testing
