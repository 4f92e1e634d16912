// Pointing at the Q-s curve: the status text under the cursor, capturing a
// grade point, dragging it, and the state the context menu keeps.

#include <gtest/gtest.h>

#include <limits>

#include "curve_fixture.h"
#include "curves/point_edit.h"

namespace kvd::testing {
namespace {

class QsCaptureTest : public CurveTest {
protected:
    QsCaptureTest() { paint(); }
};

TEST_F(QsCaptureTest, StatusTextInsideThePlotOnly) {
    // x 400 is 100 kN; y -300 is 1.00 mm.
    EXPECT_EQ(qs_.cursor_request({400, -300}).status, "100kN    1.00mm");
    // Integer load arithmetic: (520 - 150) * 300 / 750 = 148.
    EXPECT_EQ(qs_.cursor_request({520, -160}).status, "148kN    0.07mm");
    // One pixel of slack around the plot, nothing beyond.
    EXPECT_EQ(qs_.cursor_request({149, -150}).status, "0kN    0.00mm");
    EXPECT_EQ(qs_.cursor_request({148, -150}).status, "");
    EXPECT_EQ(qs_.cursor_request({500, -902}).status, "");
    EXPECT_EQ(qs_.cursor_request({950, -300}).status, "");
    qs_.set_pixel_size(3);
    EXPECT_NE(qs_.cursor_request({903, -300}).status, "");

    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    paint();
    EXPECT_EQ(qs_.cursor_request({400, -300}).status, "100kPa    1.00mm");
}

TEST_F(QsCaptureTest, CapturesAnyGradeFromTheLastBackward) {
    // Away from the points: normal cursor, no capture.
    HoverResult r = qs_.cursor_request({300, -600});
    EXPECT_EQ(r.cursor, CurveCursor::kDefault);
    EXPECT_FALSE(qs_.capture_armed());

    // Within half the point diameter (7) of grade 1 at (400, -300).
    r = qs_.cursor_request({407, -293});
    EXPECT_EQ(r.cursor, CurveCursor::kResizeNS);
    EXPECT_TRUE(qs_.capture_armed());
    EXPECT_EQ(qs_.captured_grade(), 1);
    EXPECT_EQ(qs_.captured_reading(), kWholeGrade);

    // While armed no other point is taken and the cursor stays as it is.
    r = qs_.cursor_request({650, -525});
    EXPECT_EQ(r.cursor, CurveCursor::kKeep);
    EXPECT_EQ(qs_.captured_grade(), 1);

    // Overlapping points: the later grade wins.
    qs_.mouse_move({0, 0}, false);
    build({{0, 0}, {100, 1}, {200, 2}, {100, 1.02, false}});
    paint();
    ASSERT_EQ(qs_.points()[1].at.x, qs_.points()[3].at.x);
    qs_.cursor_request({qs_.points()[1].at.x, qs_.points()[1].at.y - 3});
    EXPECT_EQ(qs_.captured_grade(), 3);
}

TEST_F(QsCaptureTest, ContextMenuFreezesTheCapture) {
    qs_.cursor_request({400, -300});
    qs_.context_menu_opened();
    qs_.context_menu_closed();
    EXPECT_TRUE(qs_.menu_captured());
    EXPECT_FALSE(qs_.capture_armed());
    qs_.clear_menu_capture();
    EXPECT_FALSE(qs_.menu_captured());

    // Right-clicking away from any point: nothing captured for the commands.
    qs_.cursor_request({300, -600});
    qs_.context_menu_opened();
    EXPECT_FALSE(qs_.menu_captured());
}

TEST_F(QsCaptureTest, DragMovesTheWholeGradeToTheCursor) {
    qs_.cursor_request({900, -825});  // grade 3, 4.50 mm
    ASSERT_EQ(qs_.captured_grade(), 3);
    // y -700 is (700 - 150) / 150 = 3.666... mm: 3.67 to two decimals.
    const auto dirty = qs_.mouse_move({900, -700}, true);
    ASSERT_TRUE(dirty.has_value());
    EXPECT_DOUBLE_EQ(settlement(3), 3.67);
    // Both readings of the grade moved; the next grade's first reading
    // repeats the new last one.
    EXPECT_DOUBLE_EQ(doc_.record().grades.grade(3)->get(1)->channel[0], 3.67);
    EXPECT_DOUBLE_EQ(doc_.record().grades.grade(4)->get(0)->settlement, 3.67);
    EXPECT_DOUBLE_EQ(settlement(4), 4.0);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(3, kWholeGrade), change_notice(4, 0)}));
    EXPECT_EQ(qs_.points()[3].at.y, -150 - 550);
    // The repaint area holds the point where it was (y -825) and where it is,
    // and its neighbours, a diameter around.
    EXPECT_EQ(*dirty, (Rect{650 - 15, -525 + 15, 900 + 15, -825 - 15}));

    // The axes stay still during the drag: beyond the plot the cursor is
    // clamped to the axis end (5.00 mm).
    log_.hints.clear();
    ASSERT_TRUE(qs_.mouse_move({900, -2000}, true).has_value());
    EXPECT_DOUBLE_EQ(settlement(3), 5.0);
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);

    // Back to the same value: nothing changes, no notice.
    log_.hints.clear();
    EXPECT_FALSE(qs_.mouse_move({900, -900}, true).has_value());
    EXPECT_TRUE(log_.hints.empty());

    // Releasing the button (a move without it) ends the drag.
    qs_.mouse_move({900, -600}, false);
    EXPECT_FALSE(qs_.capture_armed());
    EXPECT_DOUBLE_EQ(settlement(3), 5.0);
}

TEST_F(QsCaptureTest, DragRepaintsWherePointWasAsWellAsWhereItIs) {
    // Grade 3 (900, -825) lies below both neighbours (-525 and -750); dragged
    // up to 1.00 mm it leaves its old marker and segments outside the area
    // that the new point and the neighbours span.
    const Point before = qs_.points()[3].at;
    qs_.cursor_request(before);
    const auto dirty = qs_.mouse_move({900, -300}, true);
    ASSERT_TRUE(dirty.has_value());
    ASSERT_EQ(qs_.points()[3].at.y, -300);
    const int pad = 15;
    EXPECT_LE(dirty->bottom, before.y - pad);
    EXPECT_GE(dirty->top, qs_.points()[2].at.y + pad);  // and up to the highest point
    EXPECT_GE(dirty->top, -300 + pad);
    EXPECT_LE(dirty->left, 650 - pad);
    EXPECT_GE(dirty->right, 900 + pad);

    // A wide unloading line needs more room than the marker.
    doc_.curve_style().lines.unload_width = 40;
    paint();
    qs_.cursor_request(qs_.points()[3].at);
    const auto wide = qs_.mouse_move({900, -600}, true);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->right, 900 + 40);
}

TEST_F(QsCaptureTest, UpliftDragClampsToTheMirroredPlot) {
    doc_.record().test_params.direction_kind = 2;
    paint();
    const Point p = qs_.points()[2].at;  // 2.50 mm, rising from y -950
    EXPECT_EQ(p.y, -950 + 375);
    qs_.cursor_request(p);
    ASSERT_TRUE(qs_.mouse_move({p.x, 0}, true).has_value());  // above the plot
    EXPECT_DOUBLE_EQ(settlement(2), 5.0);
    ASSERT_TRUE(qs_.mouse_move({p.x, -2000}, true).has_value());  // below it
    EXPECT_DOUBLE_EQ(settlement(2), 0.0);
}

TEST_F(CurveTest, PointEditsRefuseWhatDoesNotExistOrWouldOverflow) {
    EXPECT_FALSE(add_to_grade(doc_, 9, 1.0));
    EXPECT_FALSE(add_to_reading(doc_, 1, 5, 1.0));
    EXPECT_FALSE(add_to_grade(doc_, 1, 0.0));
    EXPECT_FALSE(add_to_grade(doc_, 1, 1e12));
    EXPECT_FALSE(add_to_grade(doc_, 1, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_TRUE(log_.hints.empty());

    // One reading that is not its grade's last: one notice.
    EXPECT_TRUE(add_to_reading(doc_, 2, 0, 0.5));
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(2, 0)}));
    // The last reading: the next grade is named too.
    log_.hints.clear();
    EXPECT_TRUE(add_to_reading(doc_, 2, 1, 0.5));
    EXPECT_DOUBLE_EQ(settlement(2), 3.0);
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(2, 1), change_notice(3, 0)}));
}

}  // namespace
}  // namespace kvd::testing
