#include "curves/q_s.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/format.h"
#include "curves/point_edit.h"
#include "curves/repaint_area.h"
#include "curves/styled_line.h"

namespace kvd {

std::string CQ_s::latin_title() const {
    if (uplift()) return "U-δ";
    return kpa_unit() ? "p-s" : "Q-s";
}

void CQ_s::calc_print_rect() {
    set_print_rect(curve_print_rect(kind(), doc().page_setup(), doc().print_content()));
}

CQ_s::GradePoint CQ_s::point_of_grade(int g) const {
    GradePoint p;
    if (const COneGradeData* grade = doc().record().grades.grade(g); grade && !grade->empty()) {
        p.load = grade->front().load;
        p.loading = grade->front().loading;
        p.settlement = grade->back().settlement;
    }
    p.at = {device_x(p.load), device_y(p.settlement)};
    return p;
}

void CQ_s::calc_ranges() {
    CImage::calc_ranges();
    points_.clear();
    if (!has_axes()) return;
    for (int g = 0; g < grade_count(); ++g) points_.push_back(point_of_grade(g));
}

// ---- load axis ----

void CQ_s::label_load(Canvas& canvas, int x, int load) {
    const std::string text = strprintf("%d", load);
    const Rect box = x_label_box(canvas, x, text);
    if (clear_of_last_label(box)) {
        draw_x_label(canvas, box, text);
    } else if (x >= frame().plot_right.x) {
        // The label at the end of the axis always shows, in place of its
        // overlapping neighbour.
        erase_last_label(canvas);
        draw_x_label(canvas, box, text);
    }
}

void CQ_s::draw_first_interval_ticks(Canvas& canvas) {
    if (points_.size() <= 2) return;
    // A first load of two or three increments gets its interval divided.
    const long long first = points_[1].load;
    const long long inc = points_[2].load - first;
    const int origin_x = frame().origin.x;
    const long long span = static_cast<long long>(points_[1].at.x) - origin_x;
    if (inc * 5 / 2 < first) {
        draw_x_tick(canvas, static_cast<int>(origin_x + span / 3));
        draw_x_tick(canvas, static_cast<int>(origin_x + 2 * span / 3));
    } else if (inc * 3 / 2 < first) {
        draw_x_tick(canvas, static_cast<int>(origin_x + span / 2));
    }
}

void CQ_s::draw_x_axis(Canvas& canvas) {
    CImage::draw_x_axis(canvas);
    const int loading = std::min(loading_grade_count(), static_cast<int>(points_.size()));
    for (int g = 0; g < loading; ++g) {
        const GradePoint& p = points_[static_cast<std::size_t>(g)];
        if (p.load > 0) draw_x_tick(canvas, p.at.x);
        label_load(canvas, p.at.x, p.load);
    }
    const int last_load = loading > 0 ? points_[static_cast<std::size_t>(loading - 1)].load : 0;
    if (last_load < x_max()) {
        draw_x_tick(canvas, frame().plot_right.x);
        label_load(canvas, frame().plot_right.x, x_max());
    }
    draw_first_interval_ticks(canvas);
    if (uplift()) {
        draw_x_axis_title(canvas, kpa_unit() ? "U (kPa)" : "U (kN)");
    } else {
        draw_x_axis_title(canvas, kpa_unit() ? "p (kPa)" : "Q (kN)");
    }
}

// ---- curve ----

void CQ_s::draw_curve(Canvas& canvas) {
    if (points_.empty()) return;
    const CurveLineStyle& l = lines();
    const LinePen load_pen{l.load_pen_style, l.load_width, l.load_colour};
    const LinePen unload_pen{l.unload_pen_style, l.unload_width, l.unload_colour};
    StyledLine line(canvas);
    line.move_to(points_[0].at);
    for (std::size_t g = 1; g < points_.size(); ++g) {
        // A segment takes the style of the grade it ends at.
        const bool loading = points_[g].loading == kLoading;
        canvas.set_brush(Brush::solid(loading ? l.load_colour : l.unload_colour));
        line.line_to(points_[g].at, loading ? load_pen : unload_pen);
    }
    std::vector<Point> markers;
    for (const GradePoint& p : points_) markers.push_back(p.at);
    draw_markers(canvas, markers);
}

void CQ_s::paint(Canvas& canvas) {
    CImage::paint(canvas);
    if (has_axes()) draw_marks(canvas);
    if (has_axes() && chosen_ && road() == Road::kWindow) draw_chosen_load(canvas, *chosen_);
}

// ---- capture ----

std::string CQ_s::hover_text(Point cursor) const {
    const long long width = plot_width();
    const long long load =
        width == 0 ? 0 : (static_cast<long long>(cursor.x) - frame().origin.x) * x_max() / width;
    return strprintf(kpa_unit() ? "%lldkPa  %6.2fmm" : "%lldkN  %6.2fmm", load,
                     settlement_at(cursor.y));
}

std::optional<CapturedPoint> CQ_s::hit_test(Point cursor) const {
    const int half = capture_half_size();
    for (int g = static_cast<int>(points_.size()) - 1; g >= 0; --g) {
        if (hits(cursor, points_[static_cast<std::size_t>(g)].at, half)) {
            return CapturedPoint{g, kWholeGrade};
        }
    }
    return std::nullopt;
}

bool CQ_s::drag_point(Point cursor, Rect& dirty) {
    const int g = captured_grade();
    if (g < 0 || g >= static_cast<int>(points_.size())) return false;
    const Point before = points_[static_cast<std::size_t>(g)].at;
    const double d = dragged_settlement(cursor.y) - points_[static_cast<std::size_t>(g)].settlement;
    if (d == 0 || !add_to_grade(doc(), g, d)) return false;
    points_[static_cast<std::size_t>(g)] = point_of_grade(g);

    // The point where it was and where it is, and its neighbours (the ends
    // of the two segments that move with it), with room for a marker or a
    // wide line around each.
    const CurveLineStyle& l = lines();
    const int pad = std::max({std::abs(l.point_diameter), l.load_width, l.unload_width});
    RepaintArea area;
    area.add(before, pad);
    const int first = std::max(g - 1, 0);
    const int last = std::min(g + 1, static_cast<int>(points_.size()) - 1);
    for (int k = first; k <= last; ++k) area.add(points_[static_cast<std::size_t>(k)].at, pad);
    dirty = area.rect();
    return true;
}

}  // namespace kvd
