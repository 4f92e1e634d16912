#include "curves/s_lgt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "base/format.h"
#include "curves/point_edit.h"
#include "curves/repaint_area.h"
#include "curves/styled_line.h"

namespace kvd {

namespace {

constexpr TextFormat kLabelFormat = kTextLeft | kTextSingleLine | kTextVCentre | kTextNoClip;

// Readings with a time and a value to show. A reading at 0 minutes is a
// grade's first and is left out; negative minutes (a damaged schedule) have
// no place on a logarithmic axis and are left out too.
bool plottable(const SamplePoint& p) {
    return p.minutes > 0 && std::isfinite(p.settlement);
}

}  // namespace

void Cs_lgt::calc_print_rect() {
    set_print_rect(curve_print_rect(kind(), doc().page_setup(), doc().print_content()));
}

int Cs_lgt::time_x(int minutes) const {
    if (!time_scale_ || minutes <= 0) return frame().origin.x;
    const double offset = std::trunc((std::log10(minutes) - lg_min_) * plot_width() / lg_span_);
    return to_logical(offset + frame().origin.x);
}

// ---- ranges ----

void Cs_lgt::fill_row(GradeRow& row) const {
    row.readings.clear();
    row.last_plotted = -1;
    const COneGradeData* grade = doc().record().grades.grade(row.grade);
    if (!grade) return;
    const int n = std::min(grade->size(), kMaxReadings);
    for (int i = 0; i < n; ++i) {
        const SamplePoint& p = *grade->get(i);
        Reading r;
        r.minutes = p.minutes;
        r.settlement = p.settlement;
        r.plotted = plottable(p);
        r.at = {r.plotted ? time_x(p.minutes) : frame().origin.x, device_y(p.settlement)};
        if (r.plotted) row.last_plotted = i;
        row.readings.push_back(r);
    }
}

void Cs_lgt::calc_ranges() {
    CImage::calc_ranges();
    rows_.clear();
    time_scale_ = false;
    if (!has_axes() || time_min() <= 0 || time_max() <= 0) return;
    lg_min_ = std::log10(time_min());
    lg_span_ = std::log10(time_max()) - lg_min_;
    // timeMax is twice the largest time, so the span is at least log10(2)
    // unless the times reach the top of the int range.
    if (!std::isfinite(lg_span_) || lg_span_ <= 0) return;
    time_scale_ = true;

    const CTestData& grades = doc().record().grades;
    for (int g = 0; g < grade_count() && static_cast<int>(rows_.size()) < loading_grade_count();
         ++g) {
        const COneGradeData* grade = grades.grade(g);
        if (!grade || grade->empty() || grade->front().loading != kLoading) continue;
        GradeRow row;
        row.grade = g;
        row.load = grade->front().load;
        fill_row(row);
        rows_.push_back(std::move(row));
    }
}

// ---- time axis ----

void Cs_lgt::label_time(Canvas& canvas, int x, int minutes) {
    const std::string text = strprintf("%d", minutes);
    const Rect box = x_label_box(canvas, x, text);
    if (clear_of_last_label(box)) {
        draw_x_label(canvas, box, text);
    }
}

void Cs_lgt::draw_x_axis(Canvas& canvas) {
    CImage::draw_x_axis(canvas);
    if (time_scale_) {
        // Each distinct recording time once, in the order the grades meet
        // them. timeMin lies on the displacement axis: labelled, no tick.
        int largest = 0;
        for (const GradeRow& row : rows_) {
            for (const Reading& r : row.readings) {
                if (r.minutes <= largest) continue;
                if (r.minutes != time_min()) draw_x_tick(canvas, r.at.x);
                label_time(canvas, r.at.x, r.minutes);
                largest = r.minutes;
            }
        }
        // The end of the axis always shows timeMax, in place of an
        // overlapping neighbour rather than over it.
        const int end = frame().plot_right.x;
        draw_x_tick(canvas, end);
        const std::string text = strprintf("%d", time_max());
        const Rect box = x_label_box(canvas, end, text);
        if (!clear_of_last_label(box)) {
            erase_last_label(canvas);
        }
        draw_x_label(canvas, box, text);
    }
    draw_x_axis_title(canvas, "t (min)");
}

// ---- curves ----

std::vector<Point> Cs_lgt::grade_markers(const GradeRow& row) const {
    // A marker within a device pixel of the last one drawn, or on the pixel
    // of one already drawn in this grade, would stamp the same picture
    // again: it is passed over.
    const int pixel = pixel_size();
    const auto pixel_key = [pixel](Point p) {
        const auto cell = [pixel](int v) {
            return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(
                static_cast<double>(v) / pixel)));
        };
        return (static_cast<std::uint64_t>(cell(p.x)) << 32) | cell(p.y);
    };
    // The readings not within a pixel of the last one kept, with their pixels.
    std::vector<std::pair<std::uint64_t, std::size_t>> kept;
    std::optional<Point> last;
    for (std::size_t i = 0; i < row.readings.size(); ++i) {
        const Reading& r = row.readings[i];
        if (!r.plotted || (last && within_pixel(r.at, *last))) continue;
        last = r.at;
        kept.emplace_back(pixel_key(r.at), i);
    }
    // The first reading on each pixel draws its marker, in the readings' order.
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<bool> drawn(row.readings.size(), false);
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k == 0 || kept[k].first != kept[k - 1].first) drawn[kept[k].second] = true;
    }
    std::vector<Point> markers;
    for (std::size_t i = 0; i < row.readings.size(); ++i) {
        if (drawn[i]) markers.push_back(row.readings[i].at);
    }
    return markers;
}

bool Cs_lgt::within_pixel(Point a, Point b) const {
    const int pixel = pixel_size();
    return std::abs(a.x - b.x) < pixel && std::abs(a.y - b.y) < pixel;
}

void Cs_lgt::draw_curve(Canvas& canvas) {
    const CurveLineStyle& l = lines();
    const LinePen pen{l.load_pen_style, l.load_width, l.load_colour};
    canvas.set_brush(Brush::solid(l.load_colour));
    // A solid line is drawn as one polyline per grade (thousands of separate
    // segments cost many times more; a solid pen's round joins cover what
    // its segments' round ends did); dashed and dotted pens go segment by
    // segment, as StyledLine draws them.
    const bool solid = pen_style_of(l.load_pen_style) == PenStyle::kSolid;
    std::vector<Point> polyline;
    for (const GradeRow& row : rows_) {
        StyledLine line(canvas);
        polyline.clear();
        // A grade held for hours has thousands of readings crowded at the
        // right end of the log axis: a point within a device pixel of the
        // last one drawn adds nothing to the picture and is passed over (the
        // last point of a line is always drawn).
        std::optional<Point> last;
        for (std::size_t i = 0; i < row.readings.size(); ++i) {
            const Reading& r = row.readings[i];
            if (!r.plotted) continue;
            const bool first = !last;
            if (!first && static_cast<int>(i) != row.last_plotted && within_pixel(r.at, *last)) {
                continue;
            }
            last = r.at;
            if (solid) {
                polyline.push_back(r.at);
            } else if (first) {
                line.move_to(r.at);
            } else {
                line.line_to(r.at, pen);
            }
        }
        if (solid && polyline.size() >= 2) {
            canvas.set_pen(Pen{pen_style_of(pen.style), pen.width, pen.colour});
            canvas.polyline(polyline);
        }
    }
    for (GradeRow& row : rows_) {
        draw_markers(canvas, grade_markers(row));
        draw_grade_label(canvas, row);
    }
}

void Cs_lgt::draw_grade_label(Canvas& canvas, GradeRow& row) {
    row.label = Rect{};
    if (row.last_plotted < 0) return;
    const CurveLineStyle& l = lines();
    canvas.set_font(mark_font());
    canvas.set_text_colour(l.mark_text_colour);
    const std::string text = strprintf("%d %s", row.load, kpa_unit() ? "kPa" : "kN");
    const Point p = row.readings[static_cast<std::size_t>(row.last_plotted)].at;
    // Two point radii of room after the last point, centred on its height.
    const long long left = static_cast<long long>(p.x) + 4LL * (l.point_diameter / 2);
    const long long top = static_cast<long long>(p.y) + l.mark_font_size / 2;
    const long long w = canvas.text_extent(text).cx;
    const auto at = [](long long v) { return to_logical(static_cast<double>(v)); };
    row.label = Rect{at(left), at(top), at(left + w), at(top - l.mark_font_size)};
    canvas.draw_text(row.label, text, kLabelFormat);
}

// ---- capture ----

std::string Cs_lgt::hover_text(Point cursor) const {
    if (!time_scale_ || plot_width() == 0) return {};
    // Single precision, as the status bar has always shown it.
    const float lg = static_cast<float>(lg_min_) +
                     static_cast<float>(static_cast<long long>(cursor.x) - frame().origin.x) *
                         static_cast<float>(lg_span_) / static_cast<float>(plot_width());
    const float t = std::pow(10.0f, lg);
    constexpr float kLimit = static_cast<float>(std::numeric_limits<int>::max());
    const long long minutes = std::isfinite(t) ? static_cast<long long>(std::min(t, kLimit)) : 0;
    return strprintf("%lld分钟  %6.2fmm", minutes, settlement_at(cursor.y));
}

std::optional<CapturedPoint> Cs_lgt::hit_test(Point cursor) const {
    const int half = capture_half_size();
    for (const GradeRow& row : rows_) {
        for (std::size_t i = 1; i < row.readings.size(); ++i) {
            const Reading& r = row.readings[i];
            if (r.plotted && hits(cursor, r.at, half)) {
                return CapturedPoint{row.grade, static_cast<int>(i)};
            }
        }
    }
    return std::nullopt;
}

Cs_lgt::GradeRow* Cs_lgt::row_of_grade(int grade) {
    for (GradeRow& row : rows_) {
        if (row.grade == grade) return &row;
    }
    return nullptr;
}

bool Cs_lgt::drag_point(Point cursor, Rect& dirty) {
    GradeRow* row = row_of_grade(captured_grade());
    const int i = captured_reading();
    if (!row || i < 1 || i >= static_cast<int>(row->readings.size())) return false;
    const Reading before = row->readings[static_cast<std::size_t>(i)];
    if (!before.plotted) return false;
    const double d = dragged_settlement(cursor.y) - before.settlement;
    if (d == 0 || !add_to_reading(doc(), row->grade, i, d)) return false;

    // The record recomputed its averages; the next grade's first reading
    // repeats this grade's last, so its row is read again too.
    fill_row(*row);
    if (GradeRow* next = row_of_grade(row->grade + 1)) fill_row(*next);

    // The point where it was and where it is, and the lines to its plotted
    // neighbours, with room for a marker or a wide line around each.
    const int pad = std::max(std::abs(lines().point_diameter), lines().load_width);
    RepaintArea area;
    area.add(before.at, pad);
    const auto& readings = row->readings;
    const Reading& after = readings[static_cast<std::size_t>(i)];
    area.add(after.at, pad);
    for (int k = i - 1; k >= 0; --k) {
        if (readings[static_cast<std::size_t>(k)].plotted) {
            area.add(readings[static_cast<std::size_t>(k)].at, pad);
            break;
        }
    }
    for (int k = i + 1; k < static_cast<int>(readings.size()); ++k) {
        if (readings[static_cast<std::size_t>(k)].plotted) {
            area.add(readings[static_cast<std::size_t>(k)].at, pad);
            break;
        }
    }
    // The grade label follows the grade's last point up or down.
    if (i == row->last_plotted && row->label.width() > 0) {
        area.add(row->label);
        const long long dy = static_cast<long long>(after.at.y) - before.at.y;
        const auto shift = [dy](int v) { return to_logical(static_cast<double>(v + dy)); };
        row->label.top = shift(row->label.top);
        row->label.bottom = shift(row->label.bottom);
        area.add(row->label);
    }
    dirty = area.rect();
    return true;
}

}  // namespace kvd
