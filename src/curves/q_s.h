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

// The engineer's chosen bearing capacity, marked on the window's curve as a
// dashed vertical line across the plot with its label ("Qu = 2400 kN（选定）").
// The caller passes it; a stale choice (made on readings since changed) is
// drawn in the warning colour.
struct ChosenLoadMark {
    double load = 0;    // kN or kPa, as the curve's axis
    std::string label;  // drawn beside the line at the top of the plot
    bool stale = false;
};

inline constexpr Colour kChosenLoadColour = rgb(0, 128, 64);
inline constexpr Colour kStaleChoiceColour = rgb(215, 95, 0);

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

    // The chosen load drawn on the window road only: the print job and the
    // exports draw the curve as before whether or not a mark is set.
    void set_chosen_load(std::optional<ChosenLoadMark> mark) { chosen_ = std::move(mark); }
    const std::optional<ChosenLoadMark>& chosen_load() const { return chosen_; }

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
    void draw_chosen_load(Canvas& canvas, const ChosenLoadMark& mark);

    std::vector<GradePoint> points_;
    std::optional<ChosenLoadMark> chosen_;
};

}  // namespace kvd
