// Pointing at the s-lgQ curve: the status text (load on the logarithmic
// axis and displacement), capturing loading grades from grade 1 upward, and
// dragging a whole grade with its repaint area and change notices.

#include <gtest/gtest.h>

#include "log_curve_fixture.h"

namespace kvd::testing {
namespace {

class SlgQCaptureTest : public LogCurveTest {
protected:
    // 0, 100, 200, 300 kN loading, then unloading; 0 ... 5 mm (150 a mm):
    // points (150, -150), (755, -300), (846, -525), (900, -825).
    SlgQCaptureTest() {
        build({{0, 0}, {100, 1}, {200, 2.5}, {300, 4.5}, {200, 4.0, false}, {0, 3.0, false}});
        paint_slgq();
    }
};

TEST_F(SlgQCaptureTest, StatusTextShowsLoadAndDisplacement) {
    // Halfway along the axis: 10^(log10(300) / 2) = 17.3 kN, shown whole.
    EXPECT_EQ(slgq_.cursor_request({525, -300}).status, "17kN    1.00mm");
    EXPECT_EQ(slgq_.cursor_request({150, -150}).status, "1kN    0.00mm");
    EXPECT_EQ(slgq_.cursor_request({148, -150}).status, "");

    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    paint_slgq();
    EXPECT_EQ(slgq_.cursor_request({525, -300}).status, "17kPa    1.00mm");
}

TEST_F(SlgQCaptureTest, CapturesLoadingGradesFromGradeOneUpward) {
    // The first loading grade is never captured.
    EXPECT_EQ(slgq_.cursor_request({150, -150}).cursor, CurveCursor::kDefault);
    EXPECT_FALSE(slgq_.capture_armed());

    const HoverResult r = slgq_.cursor_request({755 - 7, -300 + 7});
    EXPECT_EQ(r.cursor, CurveCursor::kResizeNS);
    EXPECT_EQ(slgq_.captured_grade(), 1);
    EXPECT_EQ(slgq_.captured_reading(), kWholeGrade);
    slgq_.mouse_move({0, 0}, false);

    // Unloading grades have no point here.
    EXPECT_EQ(slgq_.cursor_request({846, -750}).cursor, CurveCursor::kDefault);

    // Two grades on one spot: the lower one wins.
    build({{0, 0}, {100, 1}, {100, 1}, {300, 3}});
    paint_slgq();
    ASSERT_EQ(slgq_.points()[1].at, slgq_.points()[2].at);
    slgq_.cursor_request(slgq_.points()[2].at);
    EXPECT_EQ(slgq_.captured_grade(), 1);
}

TEST_F(SlgQCaptureTest, DragMovesTheWholeGrade) {
    slgq_.cursor_request({846, -525});
    ASSERT_EQ(slgq_.captured_grade(), 2);
    // y -600 is 450 / 150 = 3.00 mm.
    const auto dirty = slgq_.mouse_move({846, -600}, true);
    ASSERT_TRUE(dirty.has_value());
    EXPECT_DOUBLE_EQ(settlement(2), 3.0);
    EXPECT_DOUBLE_EQ(doc_.record().grades.grade(3)->get(0)->settlement, 3.0);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(2, kWholeGrade), change_notice(3, 0)}));
    EXPECT_EQ(slgq_.points()[2].at, (Point{846, -600}));
    // The point's old and new place and both neighbours, a diameter around.
    EXPECT_EQ(*dirty, (Rect{755 - 15, -300 + 15, 900 + 15, -825 - 15}));

    // The same value again: nothing.
    log_.hints.clear();
    EXPECT_FALSE(slgq_.mouse_move({846, -600}, true).has_value());
    EXPECT_TRUE(log_.hints.empty());

    // The mouse released ends the drag.
    slgq_.mouse_move({846, -700}, false);
    EXPECT_FALSE(slgq_.capture_armed());
    EXPECT_DOUBLE_EQ(settlement(2), 3.0);
}

TEST_F(SlgQCaptureTest, UpliftDragClampsToTheMirroredPlot) {
    doc_.record().test_params.direction_kind = 2;
    paint_slgq();
    const Point p = slgq_.points()[1].at;  // 1.00 mm, rising from -950
    EXPECT_EQ(p.y, -950 + 150);
    slgq_.cursor_request(p);
    ASSERT_TRUE(slgq_.mouse_move({p.x, 0}, true).has_value());
    EXPECT_DOUBLE_EQ(settlement(1), 5.0);
    ASSERT_TRUE(slgq_.mouse_move({p.x, -2000}, true).has_value());
    EXPECT_DOUBLE_EQ(settlement(1), 0.0);
}

}  // namespace
}  // namespace kvd::testing
