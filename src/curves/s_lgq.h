#pragma once
// Cs_lgQ: the settlement-log-load curve (window 61450), "s-lgp" when the
// loads are pressures in kPa and "δ-lgU" in an uplift test. One point per
// loading grade: the grade's cumulative settlement against the logarithm of
// its load; unloading grades are not drawn.
//
// The load axis runs from 1 at the origin to xMax at the plot's right end; a
// load L > 0 sits at x = trunc(log10(L) * plotWidth / log10(xMax)) + origin.x
// and a load of 0 (or less) on the displacement axis. With xMax = 1 the axis
// has no span and nothing is plotted.
//
// On top of CImage: calc_ranges fills one GradePoint per loading grade;
// draw_x_axis adds the load ticks and labels; draw_curve the polyline and the
// markers. Whole grades are captured and dragged, as on Q-s.

#include <optional>
#include <string>
#include <vector>

#include "curves/image.h"

namespace kvd {

class Cs_lgQ : public CImage {
public:
    explicit Cs_lgQ(CLbxDoc& doc) : CImage(doc) {}

    CurveKind kind() const override { return CurveKind::kSlgQ; }

    // Loading grades whose load is labelled when there is room: the first five.
    static constexpr int kLabelledGrades = 5;

    struct GradePoint {
        int grade = 0;          // index of the grade in the test
        int load = 0;           // first reading's load, kN or kPa
        double settlement = 0;  // the grade's cumulative settlement (last reading)
        Point at;               // on the device
        bool plotted = false;   // a finite settlement
    };
    // The loading grades of the last paint, in test order; empty when it
    // drew no data.
    const std::vector<GradePoint>& points() const { return points_; }
    // The load axis is usable: xMax > 1.
    bool has_load_scale() const { return load_scale_; }
    // The x of a load on the logarithmic axis (origin.x for loads up to 0).
    int load_x(long long load) const;

protected:
    // The status-bar text for a cursor inside the plot: "%dkN  %6.2fmm".
    std::string hover_text(Point cursor) const override;
    void calc_ranges() override;
    void draw_x_axis(Canvas& canvas) override;
    void draw_curve(Canvas& canvas) override;
    void calc_print_rect() override;
    std::string latin_title() const override;
    std::optional<CapturedPoint> hit_test(Point cursor) const override;
    bool drag_point(Point cursor, Rect& dirty) override;

private:
    GradePoint point_of_grade(int grade) const;
    // Draws a label in place of the last one when the two would overlap.
    void label_replacing(Canvas& canvas, int x, int load);

    std::vector<GradePoint> points_;
    bool load_scale_ = false;
    double lg_max_ = 0;  // log10(xMax)
};

}  // namespace kvd
