// The Q-s curve: its load axis (ticks, labels, the first interval, titles per
// test kind), the polyline with its two pens, the markers and the marks.
// Scale 1: design (x, y) -> logical (x, -y); the fixture's test has loads
// 0, 100, 200, 300 kN (then 200, 0 unloading) over 0 ... 5 mm, so a load L
// sits at x = 150 + 2.5 L and a settlement s at y = -150 - 150 s.

#include <gtest/gtest.h>

#include <algorithm>

#include "curve_fixture.h"
#include "curves/mark_symbol.h"
#include "draw/wmf_canvas.h"

namespace kvd::testing {
namespace {

class QsTest : public CurveTest {
protected:
    // x of the load-axis ticks: vertical lines from the axis (y -150) upward.
    std::vector<int> load_ticks() const {
        std::vector<int> xs;
        for (const auto& l : canvas_.lines()) {
            if (l.from.y == -150 && l.to.y == -150 + 16 && l.from.x == l.to.x)
                xs.push_back(l.from.x);
        }
        return xs;
    }
};

TEST_F(QsTest, GradePointsAndLoadAxis) {
    paint();
    const auto& points = qs_.points();
    ASSERT_EQ(points.size(), 6u);
    EXPECT_EQ(points[0].at, (Point{150, -150}));
    EXPECT_EQ(points[1].at, (Point{400, -300}));
    EXPECT_EQ(points[3].at, (Point{900, -825}));
    EXPECT_EQ(points[4].at, (Point{650, -750}));
    EXPECT_EQ(points[5].loading, kUnloading);

    // A tick at each positive loading load, a label at every one ("0" too).
    EXPECT_EQ(load_ticks(), (std::vector<int>{400, 650, 900}));
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "100", "200", "300"}));
    const auto* label = canvas_.find_text("100");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->box.left + label->box.right, 2 * 400 + 1);  // centred (45 wide)
    EXPECT_EQ(label->format & kTextCentre, kTextCentre);

    const auto* title = canvas_.find_text("Q (kN)");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->box.right, 990);
    EXPECT_EQ(title->box.top, -150 - 8);
    EXPECT_EQ(title->box.bottom, -150 - 8 - 30);
    EXPECT_EQ(title->format & kTextRight, kTextRight);
}

TEST_F(QsTest, FirstIntervalShowsTwoOrThreeIncrements) {
    // Three increments: ticks at a third and two thirds of the first interval.
    build({{0, 0}, {300, 1}, {400, 2}, {500, 3}});
    paint();
    // Load 300 of 500 sits at x 600; 150 + 450 / 3 = 300, 150 + 900 / 3 = 450.
    EXPECT_EQ(load_ticks(), (std::vector<int>{600, 750, 900, 300, 450}));

    // Two increments: one tick halfway.
    build({{0, 0}, {200, 1}, {300, 2}});
    paint();
    EXPECT_EQ(load_ticks(), (std::vector<int>{650, 900, 400}));

    // Equal increments: none.
    build({{0, 0}, {100, 1}, {200, 2}});
    paint();
    EXPECT_EQ(load_ticks(), (std::vector<int>{525, 900}));
}

TEST_F(QsTest, CloseLabelsAreSkippedAndTheEndLabelAlwaysShows) {
    build({{0, 0}, {500, 1}, {520, 2}, {1000, 3}});
    paint();
    // 520 would overprint 500 and is not at the end: skipped, tick kept
    // (after the three grade ticks come the two of the first interval).
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "500", "1000"}));
    EXPECT_EQ(load_ticks(), (std::vector<int>{525, 540, 900, 275, 400}));
    EXPECT_EQ(canvas_.count<recorded::FillRect>(), 1u);  // the background only

    // 990 and 1000 overlap; 1000 reaches the end of the axis and replaces it.
    build({{0, 0}, {500, 1}, {990, 2}, {1000, 3}});
    paint();
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "500", "990", "1000"}));
    const auto fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, canvas_.find_text("990")->box);
    EXPECT_EQ(fills[1].colour, rgb(240, 240, 240));

    // A user-defined maximum above the last load: a tick and label at the
    // end of the plot, replacing an overlapping neighbour.
    build({{0, 0}, {500, 1}, {980, 2}});
    TestParams& p = doc_.record().test_params;
    p.coordinate_mode = 1;
    p.x_axis_max = 1000;
    p.y_axis_min = 0;
    p.y_axis_max = 5;
    paint();
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "500", "980", "1000"}));
    EXPECT_EQ(load_ticks().back(), 900);
    EXPECT_EQ(canvas_.find_text("1000")->box.left + canvas_.find_text("1000")->box.right, 1800);
    EXPECT_EQ(canvas_.of_kind<recorded::FillRect>().size(), 2u);
}

TEST_F(QsTest, LabelsThatWouldTouchKeepAQuarterCharacterApart) {
    // Labels 45 units wide (three digits of a 30-unit font). "464" at x 498
    // starts 3 units after "400" at x 450 ends: the two would read as one
    // number, so it is skipped (its tick stays).
    build({{0, 0}, {400, 1}, {464, 2}, {1000, 3}});
    paint();
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "400", "1000"}));
    EXPECT_NE(std::find(load_ticks().begin(), load_ticks().end(), 498), load_ticks().end());

    // "480" at x 510 leaves 15 units, more than a quarter character (7): drawn.
    build({{0, 0}, {400, 1}, {480, 2}, {1000, 3}});
    paint();
    EXPECT_EQ(load_labels(), (std::vector<std::string>{"0", "400", "480", "1000"}));

    // The end label takes the place of a neighbour it would merely touch, as
    // of one it overlaps: "924" at x 843 ends at 866, "1000" at x 900 starts
    // at 870.
    build({{0, 0}, {500, 1}, {924, 2}, {1000, 3}});
    paint();
    const auto fills = canvas_.of_kind<recorded::FillRect>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[1].rect, canvas_.find_text("924")->box);
}

TEST_F(QsTest, TitlesFollowTheTestKind) {
    struct Case {
        int object;
        int unit;
        int direction;
        const char* title;
        const char* axis;
    };
    const Case cases[] = {
        {0, 0, 1, "Q-s", "Q (kN)"},  {1, 1, 1, "p-s", "p (kPa)"}, {0, 0, 2, "U-δ", "U (kN)"},
        {1, 1, 2, "U-δ", "U (kPa)"}, {0, 1, 1, "Q-s", "Q (kN)"},  // kPa applies to foundation tests
                                                                  // only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TestParams& p = doc_.record().test_params;
        p.test_object = c.object;
        p.pressure_unit = c.unit;
        p.direction_kind = c.direction;
        paint();
        EXPECT_NE(canvas_.find_text(c.title), nullptr);
        EXPECT_NE(canvas_.find_text(c.axis), nullptr);
        EXPECT_NE(canvas_.find_text("曲线"), nullptr);
    }
}

TEST_F(QsTest, UpliftLabelsHangBelowTheBottomAxis) {
    doc_.record().test_params.direction_kind = 2;
    paint();
    const auto* label = canvas_.find_text("300");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->box.top, -950 - 16);
    EXPECT_EQ(label->box.bottom, -950 - 16 - 30);
    // Ticks point down, away from the plot; the axis title sits above the axis.
    const auto lines = canvas_.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const auto& l) {
        return l.from == Point{900, -950} && l.to == Point{900, -966};
    }));
    EXPECT_EQ(canvas_.find_text("U (kN)")->box.bottom, -950 + 8);
    // Points rise from the bottom axis.
    EXPECT_EQ(qs_.points()[1].at, (Point{400, -800}));
}

TEST_F(QsTest, CurveJoinsGradesWithTheirOwnPens) {
    paint();
    const Colour load = rgb(0, 0, 160);
    std::vector<recorded::Line> loading = lines_in(load);
    ASSERT_EQ(loading.size(), 3u);
    EXPECT_EQ(loading[0].from, (Point{150, -150}));
    EXPECT_EQ(loading[2].to, (Point{900, -825}));
    EXPECT_EQ(loading[0].pen, (Pen{PenStyle::kSolid, 1, load}));
    // The unloading segments (dotted red) start at the last loading point.
    std::vector<recorded::Line> unloading;
    for (const auto& l : canvas_.lines()) {
        if (l.pen.style == PenStyle::kDot) unloading.push_back(l);
    }
    ASSERT_EQ(unloading.size(), 2u);
    EXPECT_EQ(unloading[0].from, (Point{900, -825}));
    EXPECT_EQ(unloading[0].to, (Point{650, -750}));
    EXPECT_EQ(unloading[1].to, (Point{150, -600}));
    EXPECT_EQ(unloading[0].pen.colour, rgb(255, 0, 0));

    // A marker at every point: diameter 15 (7 either side), filled.
    const auto markers = canvas_.of_kind<recorded::Ellipse>();
    ASSERT_EQ(markers.size(), 6u);
    EXPECT_EQ(markers[1].bounds, (Rect{393, -293, 407, -307}));
    EXPECT_EQ(markers[1].brush, Brush::solid(rgb(0, 128, 128)));
    EXPECT_EQ(markers[1].pen, (Pen{PenStyle::kSolid, 1, rgb(0, 128, 128)}));

    doc_.curve_style().lines.point_filled = 0;
    paint();
    EXPECT_TRUE(canvas_.of_kind<recorded::Ellipse>()[0].brush.hollow);
}

TEST_F(QsTest, WideDottedUnloadingIsAStripOfDottedLines) {
    doc_.curve_style().lines.unload_width = 3;
    paint();
    std::vector<recorded::Line> dotted;
    for (const auto& l : canvas_.lines()) {
        if (l.pen.style == PenStyle::kDot) dotted.push_back(l);
    }
    // Two flat segments, three one-unit lines each.
    ASSERT_EQ(dotted.size(), 6u);
    for (const auto& l : dotted) EXPECT_EQ(l.pen.width, 1);
    // Filled circles of diameter 3 close the joints: 2 per segment + 6 markers.
    EXPECT_EQ(canvas_.count<recorded::Ellipse>(), 4u + 6u);
}

TEST_F(QsTest, MarksReadOffTheCurve) {
    doc_.marks() = {{200, 2.5}, {400, 1.0}, {100, 6.0}, {300, 5.0}};
    paint();
    // Only the marks inside the plot: (200, 2.5) and the corner (300, 5.0).
    std::vector<recorded::Line> mark_lines;
    for (const auto& l : canvas_.lines()) {
        if (l.pen.style == PenStyle::kDashDotDot) mark_lines.push_back(l);
    }
    ASSERT_EQ(mark_lines.size(), 4u);
    EXPECT_EQ(mark_lines[0].from, (Point{150, -525}));
    EXPECT_EQ(mark_lines[0].to, (Point{650, -525}));
    EXPECT_EQ(mark_lines[1].to, (Point{650, -150}));
    EXPECT_EQ(mark_lines[0].pen.colour, rgb(255, 0, 0));

    const auto* load = canvas_.find_text("  200 kN");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->box, (Rect{150, -495, 650, -525}));
    EXPECT_EQ(load->format & kTextCentre, kTextCentre);
    EXPECT_EQ(load->font.height, -30);
    EXPECT_EQ(load->colour, rgb(255, 0, 0));
    const auto* settle = canvas_.find_text("  2.50 mm");
    ASSERT_NE(settle, nullptr);
    EXPECT_EQ(settle->box, (Rect{150, -525, 650, -555}));
    EXPECT_NE(canvas_.find_text("  5.00 mm"), nullptr);
    EXPECT_EQ(canvas_.find_text("  1.00 mm"), nullptr);
    EXPECT_EQ(canvas_.find_text("  6.00 mm"), nullptr);
}

TEST_F(QsTest, MarkSymbolsPrecedeTheValues) {
    doc_.marks() = {{200, 2.5}};
    doc_.curve_style().lines.mark_symbol = 1;
    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    paint();
    const auto* load = canvas_.find_text(" =  200 kPa");
    ASSERT_NE(load, nullptr);
    const auto* settle = canvas_.find_text("  =  2.50 mm");
    ASSERT_NE(settle, nullptr);
    // " =  200 kPa" is 11 half-height characters (165) centred on 400.
    const int load_left = (150 + 650 - 165) / 2;
    const auto* subscript = canvas_.find_text("uk");
    ASSERT_NE(subscript, nullptr);
    EXPECT_EQ(subscript->box.right, load_left);
    EXPECT_EQ(subscript->font.height, -18);    // 3/5 of the mark font
    EXPECT_EQ(subscript->box.top, -495 - 10);  // lowered by a third
    const auto* symbol = canvas_.find_text(" Q");
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->box.right, subscript->box.left);
    EXPECT_EQ(symbol->box.top, -495);
    const auto* s = canvas_.find_text("s");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->box.right, (150 + 650 - 180) / 2);
    EXPECT_EQ(s->box.top, -525);

    // Symbol 4 has no subscript.
    doc_.curve_style().lines.mark_symbol = 4;
    paint();
    EXPECT_NE(canvas_.find_text(" R"), nullptr);
    EXPECT_EQ(canvas_.find_text("uk"), nullptr);
    EXPECT_EQ(canvas_.find_text(" R")->box.right, load_left);
}

TEST(MarkSymbols, TableOfSymbolsAndSubscripts) {
    EXPECT_EQ(mark_symbol(0).symbol, "");
    EXPECT_EQ(mark_symbol(2).symbol, " f");
    EXPECT_EQ(mark_symbol(2).subscript, "sp, k");
    EXPECT_EQ(mark_symbol(5).symbol, " U");
    EXPECT_EQ(mark_symbol(6).subscript, "h");
    EXPECT_EQ(mark_symbol(7).symbol, "");
    EXPECT_EQ(mark_symbol(-1).symbol, "");
}

TEST_F(QsTest, TheChosenLoadIsADashedLineWithItsLabelOnlyWhenGiven) {
    paint();
    EXPECT_TRUE(lines_in(kChosenLoadColour).empty());
    EXPECT_EQ(canvas_.find_text("Qu = 200 kN（选定）"), nullptr);

    qs_.set_chosen_load(ChosenLoadMark{100, "Qu = 100 kN（选定）", false});
    paint();
    const auto chosen = lines_in(kChosenLoadColour);
    ASSERT_EQ(chosen.size(), 1u);
    // Load 100 at x 400, across the plot from the load axis (y -150) down.
    EXPECT_EQ(chosen[0].from.x, 400);
    EXPECT_EQ(chosen[0].to.x, 400);
    EXPECT_EQ(std::max(chosen[0].from.y, chosen[0].to.y), -150);
    EXPECT_EQ(std::min(chosen[0].from.y, chosen[0].to.y), qs_.plot_rect().bottom);
    EXPECT_EQ(chosen[0].pen.style, PenStyle::kDash);
    const auto* label = canvas_.find_text("Qu = 100 kN（选定）");
    ASSERT_NE(label, nullptr);
    EXPECT_GT(label->box.left, 400);  // right of the line
    EXPECT_LT(label->box.top, -150);  // inside the plot, below the axis

    // Made on other readings: the warning colour.
    qs_.set_chosen_load(ChosenLoadMark{300, "Qu ≥ 300 kN（选定）（数据已修改）", true});
    paint();
    EXPECT_TRUE(lines_in(kChosenLoadColour).empty());
    ASSERT_EQ(lines_in(kStaleChoiceColour).size(), 1u);
    const auto* stale = canvas_.find_text("Qu ≥ 300 kN（选定）（数据已修改）");
    ASSERT_NE(stale, nullptr);
    // At the end of the axis the label goes left of the line.
    EXPECT_LT(stale->box.right, 900);

    // Outside the axis nothing is drawn.
    qs_.set_chosen_load(ChosenLoadMark{5000, "Qu = 5000 kN（选定）", false});
    paint();
    EXPECT_TRUE(lines_in(kChosenLoadColour).empty());
}

TEST_F(QsTest, ThePrintedAndExportedCurveIgnoreTheChosenLoad) {
    const Rect picture{0, 0, 2000, -2000};
    auto printed = [&] {
        WmfCanvas canvas(picture);
        qs_.print(canvas);
        return canvas.bytes();
    };
    auto exported = [&] {
        WmfCanvas canvas(picture);
        qs_.paint_metafile(canvas, 1.0, true);
        return canvas.bytes();
    };
    const Bytes print_before = printed();
    const Bytes export_before = exported();
    qs_.set_chosen_load(ChosenLoadMark{200, "Qu = 200 kN（选定）", false});
    EXPECT_EQ(printed(), print_before);
    EXPECT_EQ(exported(), export_before);
    // The window road with the same mark does differ.
    RecordingCanvas with_mark;
    qs_.paint_window(with_mark, {1000, 1000});
    EXPECT_NE(with_mark.find_text("Qu = 200 kN（选定）"), nullptr);
}

}  // namespace
}  // namespace kvd::testing
