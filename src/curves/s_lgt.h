#pragma once
// Cs_lgt: the settlement-log-time curves (window 61449), "δ-lgt" in an uplift
// test. One polyline per loading grade: the settlement of each reading
// against the logarithm of its minutes within the grade, the line labelled
// with the grade's load at its end. Unloading grades are not drawn. It is the
// only curve whose single readings (not whole grades) are captured and
// dragged.
//
// The time axis runs from timeMin (the smallest positive minutes of any
// loading reading) at the origin to timeMax (twice the largest) at the plot's
// right end; a reading at t minutes sits at
//     x = trunc((log10(t) - log10(timeMin)) * plotWidth / lgSpan) + origin.x.
// A grade's first reading (0 minutes, repeating the previous grade's last)
// is neither plotted nor captured.
//
// On top of CImage: calc_ranges fills one GradeRow per loading grade;
// draw_x_axis adds the time ticks and labels; draw_curve the polylines, the
// markers and the grade labels.

#include <optional>
#include <string>
#include <vector>

#include "curves/image.h"

namespace kvd {

class Cs_lgt : public CImage {
public:
    explicit Cs_lgt(CLbxDoc& doc) : CImage(doc) {}

    CurveKind kind() const override { return CurveKind::kSlgt; }

    // Readings kept per loading grade; a longer grade is plotted with its first 100.
    static constexpr int kMaxReadings = 100;

    struct Reading {
        int minutes = 0;
        double settlement = 0;
        Point at;              // on the device
        bool plotted = false;  // positive minutes and a finite settlement
    };
    struct GradeRow {
        int grade = 0;  // index of the grade in the test
        int load = 0;   // first reading's load, kN or kPa
        std::vector<Reading> readings;
        int last_plotted = -1;  // index of the last plotted reading; -1 for none
        Rect label;             // the grade label's box in the last paint; empty if none
    };
    // The rows of the last paint; empty when it drew no data.
    const std::vector<GradeRow>& rows() const { return rows_; }
    // The time axis is usable: 0 < timeMin < timeMax.
    bool has_time_scale() const { return time_scale_; }
    // The x of a positive number of minutes on the time axis.
    int time_x(int minutes) const;

protected:
    // The status-bar text for a cursor inside the plot: "%d分钟  %6.2fmm".
    std::string hover_text(Point cursor) const override;
    void calc_ranges() override;
    void draw_x_axis(Canvas& canvas) override;
    void draw_curve(Canvas& canvas) override;
    void calc_print_rect() override;
    std::string latin_title() const override { return uplift() ? "δ-lgt" : "s-lgt"; }
    std::optional<CapturedPoint> hit_test(Point cursor) const override;
    bool drag_point(Point cursor, Rect& dirty) override;

private:
    void fill_row(GradeRow& row) const;
    // Where a row draws its markers (one per device pixel it marks).
    std::vector<Point> grade_markers(const GradeRow& row) const;
    bool within_pixel(Point a, Point b) const;
    // Labels a time at x unless it would overprint the last label.
    void label_time(Canvas& canvas, int x, int minutes);
    void draw_grade_label(Canvas& canvas, GradeRow& row);
    GradeRow* row_of_grade(int grade);

    std::vector<GradeRow> rows_;
    bool time_scale_ = false;
    double lg_min_ = 0;   // log10(timeMin)
    double lg_span_ = 0;  // log10(timeMax) - lg_min_
};

}  // namespace kvd
