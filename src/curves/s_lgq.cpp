#include "curves/s_lgq.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "base/format.h"
#include "curves/point_edit.h"
#include "curves/repaint_area.h"
#include "curves/styled_line.h"

namespace kvd {

std::string Cs_lgQ::latin_title() const {
    if (uplift()) return "δ-lgU";
    return kpa_unit() ? "s-lgp" : "s-lgQ";
}

void Cs_lgQ::calc_print_rect() {
    set_print_rect(curve_print_rect(kind(), doc().page_setup(), doc().print_content()));
}

int Cs_lgQ::load_x(long long load) const {
    if (!load_scale_ || load <= 0) return frame().origin.x;
    const double offset =
        std::trunc(std::log10(static_cast<double>(load)) * plot_width() / lg_max_);
    return to_logical(offset + frame().origin.x);
}

// ---- ranges ----

Cs_lgQ::GradePoint Cs_lgQ::point_of_grade(int grade) const {
    GradePoint p;
    p.grade = grade;
    if (const COneGradeData* g = doc().record().grades.grade(grade); g && !g->empty()) {
        p.load = g->front().load;
        p.settlement = g->back().settlement;
    }
    p.plotted = std::isfinite(p.settlement);
    p.at = {load_x(p.load), device_y(p.settlement)};
    return p;
}

void Cs_lgQ::calc_ranges() {
    CImage::calc_ranges();
    points_.clear();
    // A maximum of 1 gives the logarithmic axis no span.
    load_scale_ = has_axes() && time_min() > 0 && x_max() > 1;
    if (!load_scale_) return;
    lg_max_ = std::log10(x_max());

    const CTestData& grades = doc().record().grades;
    for (int g = 0; g < grade_count() && static_cast<int>(points_.size()) < loading_grade_count();
         ++g) {
        const COneGradeData* grade = grades.grade(g);
        if (!grade || grade->empty() || grade->front().loading != kLoading) continue;
        points_.push_back(point_of_grade(g));
    }
}

// ---- load axis ----

void Cs_lgQ::label_replacing(Canvas& canvas, int x, int load) {
    const std::string text = strprintf("%d", load);
    const Rect box = x_label_box(canvas, x, text);
    if (!clear_of_last_label(box)) {
        erase_last_label(canvas);
    }
    draw_x_label(canvas, box, text);
}

void Cs_lgQ::draw_x_axis(Canvas& canvas) {
    CImage::draw_x_axis(canvas);
    if (load_scale_) {
        const int n = static_cast<int>(points_.size());
        const int end = frame().plot_right.x;
        for (int k = 0; k < n; ++k) {
            const GradePoint& p = points_[static_cast<std::size_t>(k)];
            if (p.load > 0) draw_x_tick(canvas, p.at.x);
            // The first five loads where there is room; then only the load
            // that reaches the end of the axis and the last one, which take
            // the place of an overlapping neighbour.
            const std::string text = strprintf("%d", p.load);
            const Rect box = x_label_box(canvas, p.at.x, text);
            const bool clear = clear_of_last_label(box);
            if (p.load > 0 && k < kLabelledGrades && clear) {
                draw_x_label(canvas, box, text);
            } else if (p.at.x >= end || k == n - 1) {
                label_replacing(canvas, p.at.x, p.load);
            }
        }
        const int last_load = n > 0 ? points_.back().load : 0;
        if (last_load < x_max()) {
            draw_x_tick(canvas, end);
            label_replacing(canvas, end, x_max());
        }
    }
    if (uplift()) {
        draw_x_axis_title(canvas, kpa_unit() ? "U (kPa)" : "U (kN)");
    } else {
        draw_x_axis_title(canvas, kpa_unit() ? "p (kPa)" : "Q (kN)");
    }
}

// ---- curve ----

void Cs_lgQ::draw_curve(Canvas& canvas) {
    const CurveLineStyle& l = lines();
    const LinePen pen{l.load_pen_style, l.load_width, l.load_colour};
    canvas.set_brush(Brush::solid(l.load_colour));
    StyledLine line(canvas);
    bool started = false;
    for (const GradePoint& p : points_) {
        if (!p.plotted) continue;
        if (started) {
            line.line_to(p.at, pen);
        } else {
            line.move_to(p.at);
            started = true;
        }
    }
    // The zero load starts the line on the displacement axis but has no marker.
    std::vector<Point> markers;
    for (const GradePoint& p : points_) {
        if (p.plotted && p.load > 0) markers.push_back(p.at);
    }
    draw_markers(canvas, markers);
}

// ---- capture ----

std::string Cs_lgQ::hover_text(Point cursor) const {
    if (!load_scale_ || plot_width() == 0) return {};
    // The logarithm in single precision, as the status bar has always shown it.
    const float fraction = static_cast<float>(static_cast<long long>(cursor.x) - frame().origin.x) /
                           static_cast<float>(plot_width());
    const float q = std::pow(10.0f, std::log10(static_cast<float>(x_max())) * fraction);
    constexpr float kLimit = static_cast<float>(std::numeric_limits<int>::max());
    const long long load = std::isfinite(q) ? static_cast<long long>(std::min(q, kLimit)) : 0;
    return strprintf(kpa_unit() ? "%lldkPa  %6.2fmm" : "%lldkN  %6.2fmm", load,
                     settlement_at(cursor.y));
}

std::optional<CapturedPoint> Cs_lgQ::hit_test(Point cursor) const {
    // The first loading grade, normally the zero load, is never taken.
    const int half = capture_half_size();
    for (std::size_t k = 1; k < points_.size(); ++k) {
        if (points_[k].plotted && hits(cursor, points_[k].at, half)) {
            return CapturedPoint{points_[k].grade, kWholeGrade};
        }
    }
    return std::nullopt;
}

bool Cs_lgQ::drag_point(Point cursor, Rect& dirty) {
    const auto it = std::find_if(points_.begin() + (points_.empty() ? 0 : 1), points_.end(),
                                 [&](const GradePoint& p) { return p.grade == captured_grade(); });
    if (it == points_.end() || !it->plotted) return false;
    const double d = dragged_settlement(cursor.y) - it->settlement;
    if (d == 0 || !add_to_grade(doc(), it->grade, d)) return false;

    const Point before = it->at;
    *it = point_of_grade(it->grade);

    // The point where it was and where it is, and the lines to its
    // neighbours, with room for a marker or a wide line around each.
    const int pad = std::max(std::abs(lines().point_diameter), lines().load_width);
    RepaintArea area;
    area.add(before, pad);
    area.add(it->at, pad);
    if (it != points_.begin() && std::prev(it)->plotted) area.add(std::prev(it)->at, pad);
    if (std::next(it) != points_.end() && std::next(it)->plotted) {
        area.add(std::next(it)->at, pad);
    }
    dirty = area.rect();
    return true;
}

}  // namespace kvd
