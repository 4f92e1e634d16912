// The s-lgQ curve: its logarithmic load axis (the first five loads labelled
// where there is room, then the load at the end of the axis and the last
// one), the titles per test kind, the polyline of the loading grades with
// markers at the positive loads, and the cases without data.
// A load L sits at x = 150 + trunc(log10(L) * 750 / log10(xMax)).

#include <gtest/gtest.h>

#include <limits>

#include "log_curve_fixture.h"

namespace kvd::testing {
namespace {

class SlgQTest : public LogCurveTest {
protected:
    // Loads 0, 200, 300 ... 1000 kN, settlements 0 ... 8 mm.
    void build_ten_grades() {
        std::vector<GradeSpec> specs{{0, 0}};
        for (int load = 200; load <= 1000; load += 100) {
            specs.push_back({load, static_cast<double>(specs.size() - 1)});
        }
        build(specs);
    }
};

TEST_F(SlgQTest, FirstFiveLoadsAndTheLastAreLabelled) {
    build_ten_grades();
    doc_.curve_style().frame.tick_font_size = 10;  // labels 5 units a digit
    paint_slgq();
    ASSERT_TRUE(slgq_.has_load_scale());
    EXPECT_EQ(slgq_.x_max(), 1000);
    // A tick at every positive load; 1000 is xMax, so no separate end tick.
    EXPECT_EQ(axis_ticks(), (std::vector<int>{725, 769, 800, 824, 844, 861, 875, 888, 900}));
    // The zero load is not labelled; grades 1 ... 4 are, later ones only
    // when they are the last.
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"200", "300", "400", "500", "1000"}));
    const auto* label = canvas_.find_text("300");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->box.left + label->box.right, 2 * 769 + 1);  // centred (15 wide)

    // Labels of normal size overlap here: 300 and 500 are skipped.
    doc_.curve_style().frame.tick_font_size = 30;
    paint_slgq();
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"200", "400", "1000"}));
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 1u);

    // 317 would start 5 units after 200 ends (703 ... 748, 753 ... 798):
    // closer than a space (7), it would read as one number, and is skipped.
    build({{0, 0}, {200, 1}, {317, 2}, {1000, 3}});
    paint_slgq();
    EXPECT_EQ(axis_ticks(), (std::vector<int>{725, 775, 900}));
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"200", "1000"}));

    const auto* title = canvas_.find_text("Q (kN)");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->box.right, 990);
}

TEST_F(SlgQTest, EndLabelsTakeThePlaceOfAnOverlappingNeighbour) {
    // A user-defined maximum above the last load: a tick and label at the
    // end of the axis, in place of the overlapping 990.
    build({{0, 0}, {100, 1}, {990, 2}});
    TestParams& p = doc_.record().test_params;
    p.coordinate_mode = 1;
    p.x_axis_max = 1000;
    p.y_axis_min = 0;
    p.y_axis_max = 5;
    paint_slgq();
    EXPECT_EQ(axis_ticks(), (std::vector<int>{650, 898, 900}));
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"100", "990", "1000"}));
    auto fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, canvas_.find_text("990")->box);

    // The last grade's label overlapping its neighbour replaces it too,
    // rather than printing over it.
    p.coordinate_mode = 0;
    build({{0, 0}, {100, 1}, {110, 2}});
    paint_slgq();
    EXPECT_EQ(axis_labels(), (std::vector<std::string>{"100", "110"}));
    fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, canvas_.find_text("100")->box);
}

TEST_F(SlgQTest, TitlesFollowTheTestKind) {
    struct Case {
        int object;
        int unit;
        int direction;
        const char* title;
        const char* axis;
    };
    const Case cases[] =
        {
            {0, 0, 1, "s-lgQ", "Q (kN)"}, {1, 1, 1, "s-lgp", "p (kPa)"},
            {0, 0, 2, "δ-lgU", "U (kN)"}, {1, 1, 2, "δ-lgU", "U (kPa)"},
            {0, 1, 1, "s-lgQ", "Q (kN)"},  // kPa applies to foundation tests only
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TestParams& p = doc_.record().test_params;
        p.test_object = c.object;
        p.pressure_unit = c.unit;
        p.direction_kind = c.direction;
        paint_slgq();
        EXPECT_NE(canvas_.find_text(c.title), nullptr);
        EXPECT_NE(canvas_.find_text(c.axis), nullptr);
        EXPECT_NE(canvas_.find_text("曲线"), nullptr);
    }
    EXPECT_EQ(slgq_.window_id(), 61450);
}

TEST_F(SlgQTest, LoadingGradesJoinedFromTheZeroLoad) {
    // 0, 100, 200, 300 kN loading, then unloading; 0 ... 5 mm (150 a mm).
    build({{0, 0}, {100, 1}, {200, 2.5}, {300, 4.5}, {200, 4.0, false}, {0, 3.0, false}});
    doc_.curve_style().lines.load_pen_style = 2;
    paint_slgq();
    const auto& points = slgq_.points();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].at, (Point{150, -150}));  // the zero load on the displacement axis
    EXPECT_EQ(points[1].at, (Point{755, -300}));
    EXPECT_EQ(points[2].at, (Point{846, -525}));
    EXPECT_EQ(points[3].at, (Point{900, -825}));

    const auto lines = lines_in(rgb(0, 0, 160));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].from, (Point{150, -150}));
    EXPECT_EQ(lines[2].to, (Point{900, -825}));
    EXPECT_EQ(lines[0].pen, (Pen{PenStyle::kDot, 1, rgb(0, 0, 160)}));
    // No marker at the zero load; nothing of the unloading grades.
    const auto markers = canvas_.of_kind<recorded::Ellipse>();
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(markers[0].bounds, (Rect{748, -293, 762, -307}));
}

TEST_F(SlgQTest, NoSpanOrNoTimeMeansNoData) {
    // xMax 1: the logarithmic axis has no span.
    build({{0, 0}, {1, 1}});
    paint_slgq();
    EXPECT_TRUE(slgq_.has_axes());
    EXPECT_FALSE(slgq_.has_load_scale());
    EXPECT_TRUE(slgq_.points().empty());
    EXPECT_TRUE(axis_ticks().empty());
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 0u);
    EXPECT_NE(canvas_.find_text("Q (kN)"), nullptr);
    EXPECT_EQ(slgq_.cursor_request({500, -500}).status, "");

    // Loads but no positive reading time.
    doc_.record().test_params.load_intervals.fill(0);
    build({{0, 0}, {100, 1}, {200, 2}});
    paint_slgq();
    EXPECT_FALSE(slgq_.has_axes());
    EXPECT_TRUE(slgq_.points().empty());
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 0u);
    EXPECT_NE(canvas_.find_text("s-lgQ"), nullptr);
}

TEST_F(SlgQTest, DamagedGradesAreLeftOut) {
    // A settlement that is not a number: no point, the line joins its
    // neighbours.
    build({{0, 0}, {100, 1}, {200, 2.5}, {300, 4.5}});
    doc_.record().grades.grade(2)->get(1)->channel[0] = std::numeric_limits<double>::quiet_NaN();
    doc_.refresh_derived();
    paint_slgq();
    ASSERT_EQ(slgq_.points().size(), 4u);
    EXPECT_FALSE(slgq_.points()[2].plotted);
    const auto lines = lines_in(rgb(0, 0, 160));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].from, slgq_.points()[1].at);
    EXPECT_EQ(lines[1].to, slgq_.points()[3].at);
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 2u);

    // 120 grades: the first 99.
    std::vector<GradeSpec> specs;
    for (int g = 0; g < 120; ++g) specs.push_back({10 * g, 0.01 * g});
    build(specs);
    paint_slgq();
    EXPECT_EQ(slgq_.points().size(), 99u);

    // The largest loads an int holds stay on the device.
    build({{0, 0}, {std::numeric_limits<int>::max(), 1}, {std::numeric_limits<int>::min(), 2}});
    paint_slgq();
    ASSERT_EQ(slgq_.points().size(), 3u);
    EXPECT_EQ(slgq_.points()[1].at.x, 900);
    EXPECT_EQ(slgq_.points()[2].at.x, 150);
}

TEST_F(SlgQTest, PrintedWithTheTitleBlockOnlyAtTheTopOfItsPage) {
    doc_.record().test_params.site_name = "ABC";
    for (int layout : {0, 1, 2, 3}) {
        SCOPED_TRACE(layout);
        doc_.print_content().curve_layout = layout;
        canvas_.clear();
        slgq_.print(canvas_);
        EXPECT_EQ(slgq_.print_rect(),
                  curve_print_rect(CurveKind::kSlgQ, doc_.page_setup(), doc_.print_content()));
        EXPECT_EQ(canvas_.find_text("  工程名称： ABC") != nullptr, layout == 0 || layout == 1);
        EXPECT_NE(canvas_.find_text("s-lgQ"), nullptr);
    }
}

}  // namespace
}  // namespace kvd::testing
