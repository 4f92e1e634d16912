// The ranges of the curve frame: the automatic displacement range, the
// user-defined axes, the frozen axes while a point is captured, the grade
// and time bounds, and the curve that has nothing to draw.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "curve_fixture.h"
#include "curves/point_edit.h"

namespace kvd::testing {
namespace {

void expect_range(double largest, double smallest, double y_min, double y_range) {
    SCOPED_TRACE(::testing::Message() << largest << " / " << smallest);
    const DisplacementRange r = auto_displacement_range(largest, smallest);
    EXPECT_DOUBLE_EQ(r.y_min, y_min);
    EXPECT_DOUBLE_EQ(r.y_range, y_range);
}

TEST(DisplacementRange, RoundsTheSpanAndPutsZeroOnADivision) {
    expect_range(0, 0, 0, 1);           // nothing moved: 0 ... 1 mm
    expect_range(12.3, 0, 0, 15);       // next multiple of 5
    expect_range(8.0, -1.2, -1.5, 15);  // 10 fails (8 is not above 8.0), 15 passes at i = 1
    expect_range(0, -3.7, -3.7, 4);     // all below zero: the smallest stays the minimum
    expect_range(-0.5, -3.7, -3.7, 4);
    expect_range(4.2, 0, 0, 5);  // whole millimetres below 5
    expect_range(0.5, 0, 0, 1);
    expect_range(5, 0, 0, 5);  // exactly 5 and 10 are not enlarged
    expect_range(10, 0, 0, 10);
    expect_range(2.7, -0.2, -0.4, 4);  // 3 fails (2.7 is not above 2.7): + 1 mm below 5
    expect_range(4.0, -0.5, -1, 10);   // 5 fails: + 5 mm from 5 on
    expect_range(40, -8, -11, 55);     // 50 fails at i = 2 (40 is not above 40)
}

TEST(DisplacementRange, SurvivesValuesNoFileShouldHold) {
    const double inf = std::numeric_limits<double>::infinity();
    expect_range(inf, -1, -1, 1);
    expect_range(std::nan(""), std::nan(""), 0, 1);
    // A huge span ends (bounded search) and still covers the values.
    const DisplacementRange r = auto_displacement_range(1e30, -1e30);
    EXPECT_LE(r.y_min, -1e30);
    EXPECT_GE(r.y_min + r.y_range, 1e30);
}

class ImageRangesTest : public CurveTest {};

TEST_F(ImageRangesTest, AutomaticRangesAndTimeBounds) {
    paint();
    EXPECT_EQ(qs_.x_max(), 300);
    EXPECT_DOUBLE_EQ(qs_.y_min(), 0);
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);
    EXPECT_EQ(qs_.grade_count(), 6);
    EXPECT_EQ(qs_.loading_grade_count(), 4);
    EXPECT_EQ(qs_.plot_width(), 750);
    EXPECT_EQ(qs_.plot_height(), -750);
    // Loading readings are at 0 and 5 minutes; the unloading grades' 15
    // minutes do not count.
    EXPECT_EQ(qs_.time_max(), 10);
    EXPECT_EQ(qs_.time_min(), 5);
    EXPECT_TRUE(qs_.has_axes());
}

TEST_F(ImageRangesTest, UserDefinedAxes) {
    TestParams& p = doc_.record().test_params;
    p.coordinate_mode = 1;
    p.x_axis_max = 500;
    p.y_axis_min = -2;
    p.y_axis_max = 10;
    paint();
    EXPECT_EQ(qs_.x_max(), 500);
    EXPECT_DOUBLE_EQ(qs_.y_min(), -2);
    EXPECT_DOUBLE_EQ(qs_.y_range(), 12);
    // The load axis then ends at 500: a tick and label at the plot's end.
    EXPECT_EQ(load_labels().back(), "500");

    // A user range of zero height would divide by zero: nothing is plotted.
    p.y_axis_max = -2;
    paint();
    EXPECT_FALSE(qs_.has_axes());
    EXPECT_TRUE(qs_.points().empty());
}

TEST_F(ImageRangesTest, AxesStayStillWhileAPointIsCaptured) {
    paint();
    const Point grade3 = qs_.points()[3].at;
    EXPECT_EQ(qs_.cursor_request(grade3).cursor, CurveCursor::kResizeNS);
    ASSERT_TRUE(qs_.capture_armed());

    // The record grows beyond the axis; the armed curve keeps its range.
    doc_.record().grades.grade(3)->get(1)->channel[0] = 12.0;
    doc_.refresh_derived();
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);
    EXPECT_EQ(qs_.x_max(), 300);

    // A move without the button disarms; the next paint follows the data.
    EXPECT_FALSE(qs_.mouse_move(grade3, false).has_value());
    EXPECT_FALSE(qs_.capture_armed());
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 15);
}

TEST_F(ImageRangesTest, RangesFollowEveryChangeTheDocumentMakes) {
    // The ranges come from a scan of every reading, kept between paints
    // while the record does not change.
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);

    // One reading through the document's edit (a change notice): the
    // settlement axis grows to take it.
    doc_.begin_command("edit");
    ASSERT_TRUE(add_to_reading(doc_, 2, 1, 9.0));
    doc_.end_command();
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 15);

    // Undone: back to the first range. A new interval table (whole record)
    // moves the time axis.
    ASSERT_TRUE(doc_.undo());
    paint();
    EXPECT_DOUBLE_EQ(qs_.y_range(), 5);
    const int time_max = qs_.time_max();
    doc_.record().test_params.load_intervals[1] = 30;
    doc_.refresh_derived();
    paint();
    EXPECT_NE(qs_.time_max(), time_max);
}

TEST_F(ImageRangesTest, ALongTestIsDrawnWithItsFirst99Grades) {
    std::vector<GradeSpec> specs;
    for (int g = 0; g < 120; ++g) specs.push_back({10 * g, 0.1 * g});
    build(specs);
    paint();
    EXPECT_EQ(qs_.grade_count(), 99);
    EXPECT_EQ(qs_.loading_grade_count(), 99);
    EXPECT_EQ(qs_.points().size(), 99u);
    // The ranges still come from the whole test.
    EXPECT_EQ(qs_.x_max(), 1190);
}

TEST_F(ImageRangesTest, NothingButBackgroundAndTitleWithoutLoadsOrTimes) {
    auto expect_title_only = [&] {
        EXPECT_FALSE(qs_.has_axes());
        EXPECT_EQ(canvas_.lines().size(), 0u);
        EXPECT_EQ(canvas_.count<recorded::Polygon>(), 0u);
        EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 0u);
        EXPECT_EQ(canvas_.text_strings(), (std::vector<std::string>{"Q-s", "曲线"}));
        EXPECT_EQ(canvas_.count<recorded::FillRect>(), 1u);
        // Nothing to capture either.
        EXPECT_EQ(qs_.cursor_request({500, -500}).status, "");
        EXPECT_FALSE(qs_.capture_armed());
    };
    // No reading has a time: every load interval 0.
    doc_.record().test_params.load_intervals.fill(0);
    doc_.refresh_derived();
    paint();
    EXPECT_EQ(qs_.time_max(), 0);
    expect_title_only();

    // No grades at all.
    build({});
    paint();
    EXPECT_EQ(qs_.x_max(), 0);
    expect_title_only();

    // Loads all zero.
    build({{0, 0}, {0, 1}});
    paint();
    expect_title_only();
}

}  // namespace
}  // namespace kvd::testing
