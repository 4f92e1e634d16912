#pragma once
// The curve style as one paint uses it: the design-unit CurveStyle of the
// document mapped to logical units (0.1 mm, y up) of the window, the printed
// page or the metafile. A curve rebuilds these copies before every paint.
//
// Coordinates: x' = nearest integer of x * sx, y' = nearest integer of y * sy
// with sy negative, so the design square's top-left corner stays at (0, 0)
// and the picture hangs below it. Sizes (pen widths, font heights, the point
// diameter) follow the scale on the window and in a metafile; on paper they
// are used as they stand, as 0.1 mm.

#include <array>
#include <string>

#include "doc/curve_style.h"
#include "draw/canvas.h"

namespace kvd {

// CurveFrameStyle in logical units. Rects are y-up (top >= bottom).
struct DeviceFrame {
    Colour background = kWhite;
    Point origin;
    Point y_axis_end;
    Point x_axis_end;
    Point plot_bottom;
    Point plot_right;
    std::array<Point, 4> x_arrow{};
    std::array<Point, 4> y_arrow{};
    int major_tick = 0;
    int minor_tick = 0;
    int title_font_size = 0;
    int tick_font_size = 0;
    int axis_width = 0;
    Rect title_latin_rect;
    Rect title_chinese_rect;
    Colour axis_colour = kBlack;
    Colour tick_colour = kBlack;
    Colour title_colour = kBlack;
    std::string tick_font;
    std::string title_font;
};

struct StyleScale {
    double sx = 1;
    double sy = -1;            // negative
    bool scale_sizes = true;   // false on paper
    bool mirror = false;       // uplift: horizontal axis at the bottom
    int design_height = 1000;  // for the mirror
};

// Nearest integer of a logical coordinate or size, clamped to the int range
// (0 for NaN), so that no value read from a file can overflow a conversion.
int to_logical(double value);

int scale_x(int x, double sx);
int scale_y(int y, double sy);

// Coordinates scaled; with mirror, the y of the origin, axis ends, plot ends
// and arrowheads become A - y where A = the scaled design height plus the
// scaled bottom of the title boxes, so the plot turns upside down under the
// title, which stays on top.
DeviceFrame scale_frame(const CurveFrameStyle& style, const StyleScale& scale);
CurveLineStyle scale_lines(const CurveLineStyle& style, const StyleScale& scale);

// Printing and black-and-white pictures: white background, every colour black.
void force_black_and_white(DeviceFrame& frame, CurveLineStyle& lines);

}  // namespace kvd
