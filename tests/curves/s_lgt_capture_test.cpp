// Pointing at the s-lgt curve: the status text (time and displacement under
// the cursor), capturing single readings grade by grade from the first, and
// dragging one reading with its repaint area and change notices.

#include <gtest/gtest.h>

#include "log_curve_fixture.h"

namespace kvd::testing {
namespace {

class SlgtCaptureTest : public LogCurveTest {
protected:
    SlgtCaptureTest() { paint_slgt(); }
};

TEST_F(SlgtCaptureTest, StatusTextShowsMinutesAndDisplacement) {
    // x 525 is halfway along the axis: 10^(log10 5 + log10 48 / 2) = 34.6
    // minutes, shown whole; y -300 is 2.00 mm on the 10 mm axis.
    EXPECT_EQ(slgt_.cursor_request({525, -300}).status, "34分钟    2.00mm");
    EXPECT_EQ(slgt_.cursor_request({709, -150}).status, "89分钟    0.00mm");
    // Outside the plot (one pixel of slack) the pane is emptied.
    EXPECT_EQ(slgt_.cursor_request({148, -300}).status, "");
    EXPECT_EQ(slgt_.cursor_request({500, -902}).status, "");
}

TEST_F(SlgtCaptureTest, CapturesReadingsGradeByGradeFromTheFirst) {
    // Away from any point.
    EXPECT_EQ(slgt_.cursor_request({300, -800}).cursor, CurveCursor::kDefault);
    EXPECT_FALSE(slgt_.capture_armed());

    // Reading 3 of grade 1 (15 minutes, 2.50 mm), within the 7-unit half box.
    const HoverResult r = slgt_.cursor_request({362 + 7, y_of(2.5) - 7});
    EXPECT_EQ(r.cursor, CurveCursor::kResizeNS);
    EXPECT_EQ(slgt_.captured_grade(), 1);
    EXPECT_EQ(slgt_.captured_reading(), 3);
    slgt_.mouse_move({0, 0}, false);

    // A grade's first reading (0 minutes) is never captured, even where a
    // point of the same value would be.
    EXPECT_EQ(slgt_.cursor_request({150, y_of(1.1)}).cursor, CurveCursor::kDefault);

    // Two readings on one spot: the earlier grade wins.
    build_readings({{100, {0, 1.0, 1.2}}, {200, {1.2, 1.0, 1.5}}});
    paint_slgt();
    ASSERT_EQ(slgt_.rows()[0].readings[1].at, slgt_.rows()[1].readings[1].at);
    slgt_.cursor_request(slgt_.rows()[1].readings[1].at);
    EXPECT_EQ(slgt_.captured_grade(), 0);
    EXPECT_EQ(slgt_.captured_reading(), 1);

    // The context menu keeps the reading for the commands.
    slgt_.context_menu_opened();
    slgt_.context_menu_closed();
    EXPECT_TRUE(slgt_.menu_captured());
    EXPECT_FALSE(slgt_.capture_armed());
}

TEST_F(SlgtCaptureTest, DragMovesOneReading) {
    slgt_.cursor_request({362, y_of(2.5)});
    ASSERT_EQ(slgt_.captured_reading(), 3);
    // y -450 is 300 / 750 of 10 mm: 4.00.
    const auto dirty = slgt_.mouse_move({362, -450}, true);
    ASSERT_TRUE(dirty.has_value());
    EXPECT_DOUBLE_EQ(reading(1, 3), 4.0);
    EXPECT_DOUBLE_EQ(reading(1, 2), 2.2);
    EXPECT_DOUBLE_EQ(reading(1, 4), 2.9);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(1, 3)}));
    EXPECT_EQ(slgt_.rows()[1].readings[3].at, (Point{362, -450}));
    // The old and new place of the point and its neighbours at 10 and 30
    // minutes, a diameter around each.
    EXPECT_EQ(*dirty, (Rect{284 - 15, y_of(2.2) + 15, 497 + 15, -450 - 15}));

    // The axes stay still: beyond the plot the cursor is clamped to 10 mm.
    ASSERT_TRUE(slgt_.mouse_move({362, -3000}, true).has_value());
    EXPECT_DOUBLE_EQ(reading(1, 3), 10.0);
    paint_slgt();
    EXPECT_DOUBLE_EQ(slgt_.y_range(), 10);

    // The same value again changes nothing.
    log_.hints.clear();
    EXPECT_FALSE(slgt_.mouse_move({362, -900}, true).has_value());
    EXPECT_TRUE(log_.hints.empty());
}

TEST_F(SlgtCaptureTest, DragOfAGradesLastReadingMovesItsLabelAndTheNextGrade) {
    const Rect label = slgt_.rows()[0].label;
    ASSERT_EQ(label, (Rect{525, y_of(1.1) + 15, 615, y_of(1.1) - 15}));
    slgt_.cursor_request({497, y_of(1.1)});
    ASSERT_EQ(slgt_.captured_grade(), 0);
    ASSERT_EQ(slgt_.captured_reading(), 4);
    const auto dirty = slgt_.mouse_move({497, -300}, true);  // 2.00 mm
    ASSERT_TRUE(dirty.has_value());
    EXPECT_DOUBLE_EQ(reading(0, 4), 2.0);
    // The next grade's first reading repeats it.
    EXPECT_DOUBLE_EQ(reading(1, 0), 2.0);
    EXPECT_DOUBLE_EQ(slgt_.rows()[1].readings[0].settlement, 2.0);
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(0, 4), change_notice(1, 0)}));
    // The label followed the point down by 68 units; the area holds both
    // places of it, the point's and the neighbour at 15 minutes.
    const int dy = -300 - y_of(1.1);
    EXPECT_EQ(slgt_.rows()[0].label.top, label.top + dy);
    EXPECT_EQ(*dirty, (Rect{362 - 15, y_of(1.0) + 15, 615, label.bottom + dy}));
}

TEST_F(SlgtCaptureTest, UpliftDragClampsToTheMirroredPlot) {
    doc_.record().test_params.direction_kind = 2;
    paint_slgt();
    const Point p = slgt_.rows()[2].readings[2].at;  // 5.20 mm, rising from -950
    EXPECT_EQ(p.y, -950 + 390);
    slgt_.cursor_request(p);
    ASSERT_TRUE(slgt_.mouse_move({p.x, 0}, true).has_value());
    EXPECT_DOUBLE_EQ(reading(2, 2), 10.0);
    ASSERT_TRUE(slgt_.mouse_move({p.x, -2000}, true).has_value());
    EXPECT_DOUBLE_EQ(reading(2, 2), 0.0);
}

}  // namespace
}  // namespace kvd::testing
