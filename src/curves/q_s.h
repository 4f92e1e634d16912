#pragma once
// CQ_s: the load-settlement curve (window 61458), also in its plate form
// ("p-s", loads in kPa) and its uplift form ("U-δ"). One point per grade,
// load on a linear horizontal axis, the grade's cumulative settlement on the
// displacement axis; loading and unloading grades joined in test order, each
// segment in the pen of the grade it ends at. It alone draws the document's
// curve marks and lets whole grades be dragged up or down.
//
// On top of CImage: calc_ranges fills one GradePoint per grade (at most 99);
// draw_x_axis adds the load ticks and labels; draw_curve the polyline and the
// markers; paint the marks after the base paint.

#include <optional>
#include <string>
#include <vector>

#include "curves/image.h"

namespace kvd {

class CQ_s : public CImage {
public:
    explicit CQ_s(CLbxDoc& doc) : CImage(doc) {}

    CurveKind kind() const override { return CurveKind::kQs; }

    struct GradePoint {
        int load = 0;           // first reading's load, kN or kPa
        double settlement = 0;  // the grade's cumulative settlement (last reading)
        int loading = 0;        // first reading's flag
        Point at;               // on the device
    };
    // The points of the last paint; empty when it drew no axes.
    const std::vector<GradePoint>& points() const { return points_; }

protected:
    // The status-bar text for a cursor inside the plot: "%dkN  %6.2fmm".
    std::string hover_text(Point cursor) const override;
    void calc_ranges() override;
    void draw_x_axis(Canvas& canvas) override;
    void draw_curve(Canvas& canvas) override;
    void paint(Canvas& canvas) override;
    void calc_print_rect() override;
    std::string latin_title() const override;
    std::optional<CapturedPoint> hit_test(Point cursor) const override;
    bool drag_point(Point cursor, Rect& dirty) override;

private:
    GradePoint point_of_grade(int g) const;
    // Labels a load at x with the skip-or-replace rule of the load axis.
    void label_load(Canvas& canvas, int x, int load);
    void draw_first_interval_ticks(Canvas& canvas);
    void draw_marks(Canvas& canvas);
    void draw_mark(Canvas& canvas, double load, double settlement);

    std::vector<GradePoint> points_;
};

}  // namespace kvd
