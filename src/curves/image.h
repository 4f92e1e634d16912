#pragma once
// CImage: the curve frame that the three curve windows share (Q-s, s-lgt,
// s-lgQ and their p-/U- forms). It owns the fixed 1000 x 1000 design layout
// scaled to the window, the page or a metafile; the automatic or user-defined
// range of the displacement axis; the displacement axis with its 50 ticks and
// 11 labels; the base of the horizontal axis; the two-part title; the title
// block of a printed page; zoom; and the plumbing of point capture. A kind
// (CQ_s, Cs_lgt, Cs_lgQ) adds its data, its horizontal axis and its curve.
//
// A curve keeps no readings: every paint re-reads the document's record and
// rebuilds the working state below (only the axes' scans of every reading
// are kept, while the document's record serial stands still). Three roads lead to the one paint:
//
//   window                     print                        metafile
//   paint_window(c, client)    print(c)                     paint_metafile(c, ratio, colour)
//     |                          |                            |
//   prepare(kWindow)           prepare(kPrint)              prepare(kMetafile)
//     calc_scale:                calc_scale:                  calc_scale:
//       zoom, or fit client        calc_print_rect ->           sx = 2 / ratio, sy = -2
//     scroll extent                print_rect / design        (black on white if asked)
//     sizes scaled               black on white, sizes        sizes scaled
//                                as 0.1 mm on paper
//   fill background            title block (when the        no background
//   (client + scroll extent)   kind prints it), origin        |
//     |                        moved to print_rect            |
//     |                          |                            |
//     +-------------------> paint(c) <------------------------+
//                             calc_ranges
//                             draw_x_axis, draw_y_axis      only when has_axes()
//                             draw_title(latin_title(), "曲线")
//                             draw_curve                    only when has_axes()
//                           (CQ_s adds its marks after the base paint)
//
// calc_scale, calc_print_rect, paint, calc_ranges, draw_x_axis, draw_y_axis,
// draw_title and draw_curve are virtuals a kind may override (with the hooks
// latin_title, hover_text, hit_test, drag_point, prints_title_block); a kind
// that overrides calc_ranges, draw_x_axis or paint calls the base first.
// prepare (copy the style, calc_scale, scale the copies, force black and
// white) runs on each road before anything is drawn.
//
// Units: logical units of 0.1 mm with y up; the design square's top-left
// corner is the logical (0, 0) of the window, of print_rect's corner on a
// page (the print road moves the origin there) and of the metafile.
//
// Capture (mouse): cursor_request -> hover_point (status text, hit test ->
// captured point, capture armed); mouse_move with the left button while
// armed -> drag_point; the context menu copies the armed state into
// menu_captured for the commands.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "curves/print_placement.h"
#include "curves/scaled_style.h"
#include "doc/lbx_doc.h"
#include "draw/canvas.h"

namespace kvd {

// Window identifiers of the three curves in the curve pane; several commands
// look at them to know which kind they act on.
inline constexpr int kQsWindowId = 61458;
inline constexpr int kSlgtWindowId = 61449;
inline constexpr int kSlgQWindowId = 61450;

int window_id_of(CurveKind kind);

inline constexpr int kMaxCurveGrades = 99;  // a longer test is drawn with its first 99
inline constexpr int kNoMinutes = 100000;   // timeMin when no loading reading has time

// What the cursor request answers.
enum class CurveCursor {
    kDefault,   // the normal cursor
    kResizeNS,  // over a capturable point: the vertical double arrow
    kKeep,      // a capture is armed: leave the cursor as it is
};

struct HoverResult {
    std::string status;  // second pane of the status bar; empty outside the plot
    CurveCursor cursor = CurveCursor::kDefault;
};

struct CapturedPoint {
    int grade = 0;
    int reading = 0;  // kWholeGrade for Q-s and s-lgQ
};

class CImage {
public:
    enum class Road { kWindow, kPrint, kMetafile };

    explicit CImage(CLbxDoc& doc);
    virtual ~CImage() = default;
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    virtual CurveKind kind() const = 0;
    int window_id() const { return window_id_of(kind()); }

    // The three roads. `client` is the window's client area in logical units
    // (width and height, both positive). print draws in page coordinates
    // (origin at the paper's top-left corner) with the document's page setup
    // and print options. paint_metafile draws the picture of
    // metafile_size(); ratio is its height-to-width ratio (1.5 for 150 %).
    void paint_window(Canvas& canvas, Size client);
    void print(Canvas& canvas);
    void paint_metafile(Canvas& canvas, double ratio, bool colour);

    // Scroll extent of the window road after a paint (0.1 mm).
    Size scroll_extent() const;
    // Size of the picture paint_metafile draws for a ratio.
    Size metafile_size(double ratio) const;

    // Zoom: sets the document's CurveStyle::zoom; the steps start from the sx
    // of the last window paint (1 before the first).
    bool can_zoom_in() const;
    bool can_zoom_out() const;
    void zoom_in();
    void zoom_out();
    void fit_window();
    void set_zoom_from_box(int item);

    // Mouse and context menu; positions in logical units of the window.
    HoverResult cursor_request(Point cursor);
    // Drags while armed and the left button is down (returns the area to
    // repaint after a change), otherwise disarms the capture.
    std::optional<Rect> mouse_move(Point cursor, bool left_button);
    void context_menu_opened() { menu_captured_ = capture_armed_; }
    void context_menu_closed() { capture_armed_ = false; }
    void deactivate() { capture_armed_ = false; }
    void clear_menu_capture() { menu_captured_ = false; }
    // Logical units of one screen pixel: the slack around the plot in which
    // the cursor still counts as inside.
    void set_pixel_size(int units) { pixel_size_ = units > 0 ? units : 1; }
    int pixel_size() const { return pixel_size_; }

    int captured_grade() const { return captured_grade_; }
    int captured_reading() const { return captured_reading_; }
    bool capture_armed() const { return capture_armed_; }
    bool menu_captured() const { return menu_captured_; }

    // Working state of the last paint, print or export.
    Road road() const { return road_; }
    const DeviceFrame& frame() const { return frame_; }
    const CurveLineStyle& lines() const { return lines_; }
    double sx() const { return sx_; }
    double sy() const { return sy_; }
    bool kpa_unit() const { return kpa_unit_; }
    int direction() const { return direction_; }
    bool uplift() const { return direction_ == 2; }
    int plot_width() const { return plot_width_; }
    int plot_height() const { return plot_height_; }
    int grade_count() const { return grade_count_; }
    int loading_grade_count() const { return loading_grade_count_; }
    int x_max() const { return x_max_; }
    int time_max() const { return time_max_; }
    int time_min() const { return time_min_; }
    double y_min() const { return y_min_; }
    double y_range() const { return y_range_; }
    const Rect& print_rect() const { return print_rect_; }
    // Axes and data are drawn: xMax > 0, timeMax > 0 and a usable vertical range.
    bool has_axes() const;

    // Value to device: the logical y of a displacement (mm) and x of a load
    // on a linear axis; and back, the displacement at a logical y.
    int device_y(double settlement) const;
    int device_x(long long load) const;
    double settlement_at(int y) const;
    // The plot rectangle (origin to plot_right.x / plot_bottom.y), normalised.
    Rect plot_rect() const;
    bool in_plot(Point p, int slack) const;

    CLbxDoc& doc() { return doc_; }
    const CLbxDoc& doc() const { return doc_; }

protected:
    // Steps of the roads (see the diagram).
    virtual void calc_print_rect() {}
    virtual void draw_curve(Canvas& canvas) { (void)canvas; }
    virtual void draw_title(Canvas& canvas, const std::string& latin, const std::string& chinese);
    virtual void calc_scale();
    virtual void calc_ranges();
    virtual void draw_x_axis(Canvas& canvas);
    virtual void draw_y_axis(Canvas& canvas);
    // The cursor request: the status text inside the plot, then (when no
    // capture is armed) the hit test. Kinds override hover_text and hit_test.
    virtual HoverResult hover_point(Point cursor);
    // A move with the captured point: true when the record changed; `dirty`
    // is then the area to repaint.
    virtual bool drag_point(Point cursor, Rect& dirty);
    // The view's draw after the background (diagram).
    virtual void paint(Canvas& canvas);

    // Hooks of the steps above.
    virtual std::string latin_title() const = 0;
    virtual std::string chinese_title() const { return "曲线"; }
    virtual std::string hover_text(Point cursor) const {
        (void)cursor;
        return {};
    }
    virtual std::optional<CapturedPoint> hit_test(Point cursor) const {
        (void)cursor;
        return std::nullopt;
    }
    // Whether this kind prints the title block with the page's layout.
    virtual bool prints_title_block(int layout) const;

    // Helpers for the kinds.
    void set_print_rect(const Rect& rect) { print_rect_ = rect; }
    void draw_title_block(Canvas& canvas);
    // Tick font (tick labels and axis titles) and the mark font.
    Font tick_font() const;
    Font mark_font() const;
    // +1 when the plot lies above the horizontal axis (uplift), -1 below it.
    int plot_side() const { return plot_height_ > 0 ? 1 : -1; }
    // A tick of major length at x on the horizontal axis, away from the plot.
    void draw_x_tick(Canvas& canvas, int x);
    // The label row beyond the horizontal axis: the box of text centred on x.
    Rect x_label_box(Canvas& canvas, int x, const std::string& text);
    // Whether a box starts right of the last drawn label with the label gap
    // of label_gap.h between them (no label yet: true). One rule for every
    // horizontal axis.
    bool clear_of_last_label(const Rect& box) const;
    void erase_last_label(Canvas& canvas);
    void draw_x_label(Canvas& canvas, const Rect& box, const std::string& text);
    // The horizontal axis title, ending at the axis tip on the plot side.
    void draw_x_axis_title(Canvas& canvas, const std::string& text);
    // A marker of the point style at each point.
    void draw_markers(Canvas& canvas, std::span<const Point> at);
    // The half size of the capture box of a point.
    int capture_half_size() const;
    static bool hits(Point cursor, Point p, int half);
    // The drag: the displacement at the cursor y clamped to the plot, to two
    // decimals.
    double dragged_settlement(int y) const;
    void remember_capture(const CapturedPoint& point);

private:
    // What the axes take from the readings. A large test has a hundred
    // thousand of them, and a paint would read them all twice: the values are
    // kept while the document's record serial stands still.
    struct ReadingSpan {
        Extremes extremes;
        std::optional<std::uint64_t> extremes_serial;
        int time_max = 0;
        int time_min = kNoMinutes;
        std::optional<std::uint64_t> times_serial;
    };
    const Extremes& record_extremes();
    void scan_times();

    void prepare(Road road);
    void fill_background(Canvas& canvas);

    CLbxDoc& doc_;
    Road road_ = Road::kWindow;
    Size client_;
    double metafile_ratio_ = 0;
    bool metafile_colour_ = true;

    DeviceFrame frame_;
    CurveLineStyle lines_;
    double sx_ = 1;
    double sy_ = -1;
    double window_sx_ = 1;
    bool kpa_unit_ = false;
    int direction_ = 1;
    int plot_width_ = 0;
    int plot_height_ = 0;
    int grade_count_ = 0;
    int loading_grade_count_ = 0;
    int x_max_ = 0;
    int time_max_ = 0;
    int time_min_ = kNoMinutes;
    double y_min_ = 0;
    double y_range_ = 1;
    Rect print_rect_;
    std::optional<Rect> last_label_;
    ReadingSpan span_;

    int captured_grade_ = 0;
    int captured_reading_ = 0;
    bool capture_armed_ = false;
    bool menu_captured_ = false;
    int pixel_size_ = 1;
};

// The automatic displacement range: from the largest and smallest settlement,
// the span rounded up to whole millimetres (below 5 mm) or to a multiple of
// 5 mm, with zero on one of the ten major divisions when the settlements
// cross zero. Values that are not finite count as 0.
struct DisplacementRange {
    double y_min = 0;
    double y_range = 1;
};
DisplacementRange auto_displacement_range(double largest, double smallest);

}  // namespace kvd
