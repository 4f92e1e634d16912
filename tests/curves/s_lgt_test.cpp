// The s-lgt curve: its logarithmic time axis (each recording time ticked
// once, overlapping labels skipped, the end label always shown), the titles
// per test kind, one polyline per loading grade with markers and the grade
// label, and what it does with readings that have no place on the axis.
// The standard test and its coordinates are described in log_curve_fixture.h.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "log_curve_fixture.h"

namespace kvd::testing {
namespace {

class SlgtTest : public LogCurveTest {
protected:
    // The curve's segments in drawing order; a thin solid line comes as one
    // polyline per grade.
    std::vector<recorded::Line> curve_lines() const {
        std::vector<recorded::Line> found = lines_in(rgb(0, 0, 160));
        for (const auto& polyline : curve_polylines()) {
            for (std::size_t i = 1; i < polyline.points.size(); ++i) {
                found.push_back({polyline.points[i - 1], polyline.points[i], polyline.pen});
            }
        }
        return found;
    }
    std::vector<recorded::Polyline> curve_polylines() const {
        std::vector<recorded::Polyline> found;
        for (const auto& polyline : canvas_.of_kind<recorded::Polyline>()) {
            if (polyline.pen.colour == rgb(0, 0, 160)) found.push_back(polyline);
        }
        return found;
    }
};

TEST_F(SlgtTest, TimeAxisTicksEachRecordingTimeOnce) {
    paint_slgt();
    ASSERT_TRUE(slgt_.has_time_scale());
    EXPECT_EQ(slgt_.time_min(), 5);
    EXPECT_EQ(slgt_.time_max(), 240);
    // 5 minutes (timeMin) lies on the displacement axis: labelled, no tick.
    // Grades 1 and 2 repeat the times of grade 0; only 45 ... 120 are new.
    EXPECT_EQ(axis_ticks(), (std::vector<int>{284, 362, 497, 575, 631, 709, 765, 900}));
    EXPECT_EQ(axis_labels(),
              (std::vector<std::string>{"5", "10", "15", "30", "45", "60", "90", "120", "240"}));
    const auto* ten = canvas_.find_text("10");
    ASSERT_NE(ten, nullptr);
    EXPECT_EQ(ten->box.left + ten->box.right, 2 * 284);  // centred on its tick
    EXPECT_EQ(ten->box.top, -150 + 16 + 30);
    EXPECT_EQ(ten->colour, rgb(0, 0, 255));

    const auto* title = canvas_.find_text("t (min)");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->box.right, 990);
    EXPECT_EQ(title->box.top, -150 - 8);
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 1u);  // the background only
}

TEST_F(SlgtTest, OverlappingTimeLabelsAreSkippedAndTheEndLabelReplacesItsNeighbour) {
    // Labels of 30 units per character: 60 would overprint 45, 120 would
    // overprint 90; both keep their ticks.
    doc_.curve_style().frame.tick_font_size = 60;
    paint_slgt();
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"5", "10", "15", "30", "45", "90", "240"}));
    EXPECT_EQ(axis_ticks().size(), 8u);
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 1u);

    // Times 1 and 10000: timeMax 20000 sits 53 units right of 10000, and
    // their labels overlap. The end label is drawn in place of 10000.
    doc_.curve_style().frame.tick_font_size = 30;
    doc_.record().test_params.load_intervals = {0, 1, 9999, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    build_readings({{100, {0, 1, 2}}});
    paint_slgt();
    EXPECT_EQ(axis_ticks(), (std::vector<int>{847, 900}));
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"1", "10000", "20000"}));
    const auto fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, canvas_.find_text("10000")->box);
    EXPECT_EQ(fills[1].colour, rgb(240, 240, 240));
}

TEST_F(SlgtTest, TitlesFollowTheTestKind) {
    struct Case {
        int object;
        int unit;
        int direction;
        const char* title;
        const char* label;
    };
    const Case cases[] = {
        {0, 0, 1, "s-lgt", "100 kN"},
        {1, 1, 1, "s-lgt", "100 kPa"},
        {0, 0, 2, "δ-lgt", "100 kN"},
        {1, 1, 2, "δ-lgt", "100 kPa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TestParams& p = doc_.record().test_params;
        p.test_object = c.object;
        p.pressure_unit = c.unit;
        p.direction_kind = c.direction;
        paint_slgt();
        const auto* title = canvas_.find_text(c.title);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->format & kTextRight, kTextRight);
        EXPECT_NE(canvas_.find_text("曲线"), nullptr);
        EXPECT_NE(canvas_.find_text("t (min)"), nullptr);
        EXPECT_NE(canvas_.find_text(c.label), nullptr);
    }
    EXPECT_EQ(slgt_.window_id(), 61449);
}

TEST_F(SlgtTest, OnePolylinePerLoadingGradeWithMarkersAndLabel) {
    paint_slgt();
    const auto& rows = slgt_.rows();
    ASSERT_EQ(rows.size(), 3u);  // the unloading grade is not drawn
    EXPECT_EQ(rows[1].grade, 1);
    EXPECT_EQ(rows[1].load, 200);
    EXPECT_FALSE(rows[1].readings[0].plotted);  // 0 minutes
    EXPECT_EQ(rows[1].readings[3].at, (Point{362, y_of(2.5)}));
    EXPECT_EQ(rows[1].last_plotted, 8);

    // Readings 1 ... n-1 of each grade joined: 3 + 7 + 5 segments, the first
    // of each grade starting at 5 minutes, none joining two grades.
    EXPECT_EQ(curve_polylines().size(), 3u);
    const auto lines = curve_lines();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0].from, (Point{150, y_of(0.5)}));
    EXPECT_EQ(lines[0].to, (Point{284, y_of(0.8)}));
    EXPECT_EQ(lines[2].to, (Point{497, y_of(1.1)}));
    EXPECT_EQ(lines[3].from, (Point{150, y_of(1.8)}));
    EXPECT_EQ(lines[9].to, (Point{765, y_of(3.6)}));
    EXPECT_EQ(lines[10].from, (Point{150, y_of(4.5)}));
    EXPECT_EQ(lines[0].pen, (Pen{PenStyle::kSolid, 1, rgb(0, 0, 160)}));

    // A marker at every plotted reading.
    const auto markers = canvas_.of_kind<recorded::Ellipse>();
    ASSERT_EQ(markers.size(), 4u + 8u + 6u);
    EXPECT_EQ(markers[0].bounds, (Rect{143, y_of(0.5) + 7, 157, y_of(0.5) - 7}));
    EXPECT_EQ(markers[0].brush, Brush::solid(rgb(0, 128, 128)));

    // "load unit" two radii (4 * 7) right of the last point, centred on it,
    // in the mark font and colour.
    const auto* label = canvas_.find_text("100 kN");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->box, (Rect{497 + 28, y_of(1.1) + 15, 497 + 28 + 90, y_of(1.1) - 15}));
    EXPECT_EQ(label->format & kTextLeft, kTextLeft);
    EXPECT_EQ(label->font.height, -30);
    EXPECT_EQ(label->colour, rgb(255, 0, 0));
    EXPECT_EQ(rows[0].label, label->box);
    EXPECT_EQ(canvas_.find_text("200 kN")->box.left, 765 + 28);
    EXPECT_EQ(canvas_.find_text("300 kN")->box.top, y_of(7.4) + 15);
    EXPECT_EQ(canvas_.find_text("150 kN"), nullptr);

    doc_.curve_style().lines.point_filled = 0;
    paint_slgt();
    EXPECT_TRUE(canvas_.of_kind<recorded::Ellipse>()[0].brush.hollow);
}

TEST_F(SlgtTest, WideStyledLoadLinesAndTheUpliftMirror) {
    CurveLineStyle& l = doc_.curve_style().lines;
    l.load_pen_style = 1;
    l.load_width = 3;
    paint_slgt();
    const auto lines = curve_lines();
    ASSERT_GT(lines.size(), 15u);
    for (const auto& line : lines) EXPECT_EQ(line.pen, (Pen{PenStyle::kDash, 1, rgb(0, 0, 160)}));
    // Two joint circles per segment besides the 18 markers.
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 18u + 2u * 15u);

    l = CurveLineStyle{};
    doc_.record().test_params.direction_kind = 2;
    paint_slgt();
    // The horizontal axis at the bottom (y -950), the lines rising from it.
    EXPECT_EQ(slgt_.rows()[0].readings[1].at, (Point{150, -950 + 37}));
    const auto* five = canvas_.find_text("5");
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->box.top, -950 - 16);
}

TEST_F(SlgtTest, NoReadingTimeMeansNoAxesAndNoData) {
    doc_.record().test_params.load_intervals.fill(0);
    build_standard();
    paint_slgt();
    EXPECT_FALSE(slgt_.has_axes());
    EXPECT_TRUE(slgt_.rows().empty());
    EXPECT_EQ(canvas_.find_text("t (min)"), nullptr);
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 0u);
    EXPECT_NE(canvas_.find_text("s-lgt"), nullptr);  // the title alone

    // Nor without grades.
    build_readings({});
    paint_slgt();
    EXPECT_FALSE(slgt_.has_axes());
    EXPECT_EQ(slgt_.cursor_request({500, -500}).status, "");
}

TEST_F(SlgtTest, DamagedReadingsAreLeftOffTheAxis) {
    // A negative interval gives reading 2 minus 5 minutes: no place on a
    // logarithmic axis. The line joins the readings either side of it.
    doc_.record().test_params.load_intervals = {0, 5, -10, 20, 30, 30, 30, 30, 30, 30, 30, 30};
    build_readings({{100, {0, 1, 2, 3, 4}}});
    paint_slgt();
    ASSERT_EQ(slgt_.rows().size(), 1u);
    const auto& row = slgt_.rows()[0];
    EXPECT_EQ(row.readings[2].minutes, -5);
    EXPECT_FALSE(row.readings[2].plotted);
    auto lines = curve_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from, row.readings[1].at);
    EXPECT_EQ(lines[0].to, row.readings[3].at);

    // A settlement that is not a number is left out; the axis stays finite.
    doc_.record().test_params.load_intervals = {0, 5, 5, 5, 15, 15, 15, 30, 30, 30, 30, 30};
    build_standard();
    doc_.record().grades.grade(1)->get(2)->channel[0] = std::numeric_limits<double>::quiet_NaN();
    doc_.refresh_derived();
    paint_slgt();
    EXPECT_DOUBLE_EQ(slgt_.y_range(), 10);
    EXPECT_FALSE(slgt_.rows()[1].readings[2].plotted);
    EXPECT_EQ(curve_lines().size(), 14u);
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 17u);

    // A grade of 150 readings is plotted with its first 100.
    std::vector<double> many(150, 1.0);
    build_readings({{100, many}});
    paint_slgt();
    ASSERT_EQ(slgt_.rows().size(), 1u);
    EXPECT_EQ(slgt_.rows()[0].readings.size(), 100u);
    EXPECT_EQ(slgt_.rows()[0].last_plotted, 99);
    EXPECT_EQ(curve_lines().size(), 98u);

    // 120 grades: the first 99.
    std::vector<GradeReadings> grades(120, GradeReadings{100, {1, 2}});
    build_readings(grades);
    paint_slgt();
    EXPECT_EQ(slgt_.rows().size(), 99u);

    // Settlements far beyond the int range of the device stay on its edge.
    build_readings({{100, {0, 1e300, -1e300}}});
    paint_slgt();
    EXPECT_EQ(slgt_.rows()[0].readings.size(), 3u);
}

TEST_F(SlgtTest, PrintedWithTheTitleBlockOnlyAtTheTopOfItsPage) {
    doc_.record().test_params.site_name = "ABC";
    for (int layout : {0, 1, 2, 3}) {
        SCOPED_TRACE(layout);
        doc_.print_content().curve_layout = layout;
        canvas_.clear();
        slgt_.print(canvas_);
        EXPECT_EQ(slgt_.print_rect(),
                  curve_print_rect(CurveKind::kSlgt, doc_.page_setup(), doc_.print_content()));
        const bool block = canvas_.find_text("  工程名称： ABC") != nullptr;
        EXPECT_EQ(block, layout == 0 || layout == 2);
        EXPECT_NE(canvas_.find_text("s-lgt"), nullptr);
        // Paper: black on white.
        const auto markers = canvas_.of_kind<recorded::Ellipse>();
        ASSERT_EQ(markers.size(), 18u);
        EXPECT_EQ(markers[0].brush, Brush::solid(kBlack));
    }
}

}  // namespace
}  // namespace kvd::testing
