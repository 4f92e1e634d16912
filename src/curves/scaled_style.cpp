#include "curves/scaled_style.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvd {

int to_logical(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), kLow, kHigh));
}

int scale_x(int x, double sx) {
    return to_logical(x * sx + 0.5);
}

// y * sy is negative for the design square: truncating y * sy - 0.5 toward
// zero gives its nearest integer.
int scale_y(int y, double sy) {
    return to_logical(y * sy - 0.5);
}

namespace {

Colour colour_of(StyleColour c) {
    return static_cast<Colour>(c);
}

Point scale_point(DesignPoint p, double sx, double sy) {
    return {scale_x(p.x, sx), scale_y(p.y, sy)};
}

Rect scale_rect(const DesignRect& r, double sx, double sy) {
    return {scale_x(r.left, sx), scale_y(r.top, sy), scale_x(r.right, sx), scale_y(r.bottom, sy)};
}

int scale_size(int size, double factor) {
    return to_logical(size * factor + 0.5);
}

}  // namespace

DeviceFrame scale_frame(const CurveFrameStyle& s, const StyleScale& scale) {
    const double sx = scale.sx;
    const double sy = scale.sy;
    DeviceFrame f;
    f.background = colour_of(s.background);
    f.origin = scale_point(s.origin, sx, sy);
    f.y_axis_end = scale_point(s.y_axis_end, sx, sy);
    f.x_axis_end = scale_point(s.x_axis_end, sx, sy);
    f.plot_bottom = scale_point(s.plot_bottom, sx, sy);
    f.plot_right = scale_point(s.plot_right, sx, sy);
    for (std::size_t i = 0; i < f.x_arrow.size(); ++i) {
        f.x_arrow[i] = scale_point(s.x_arrow[i], sx, sy);
        f.y_arrow[i] = scale_point(s.y_arrow[i], sx, sy);
    }
    f.title_latin_rect = scale_rect(s.title_latin_rect, sx, sy);
    f.title_chinese_rect = scale_rect(s.title_chinese_rect, sx, sy);
    f.major_tick = scale_size(s.major_tick, -sy);
    f.minor_tick = scale_size(s.minor_tick, -sy);
    if (scale.scale_sizes) {
        f.axis_width = scale_size(s.axis_width, sx);
        f.tick_font_size = scale_size(s.tick_font_size, -sy);
        f.title_font_size = scale_size(s.title_font_size, -sy);
    } else {
        f.axis_width = s.axis_width;
        f.tick_font_size = s.tick_font_size;
        f.title_font_size = s.title_font_size;
    }
    f.axis_colour = colour_of(s.axis_colour);
    f.tick_colour = colour_of(s.tick_colour);
    f.title_colour = colour_of(s.title_colour);
    f.tick_font = s.tick_font;
    f.title_font = s.title_font;

    if (scale.mirror) {
        const long long a =
            static_cast<long long>(scale_y(scale.design_height, sy)) + f.title_latin_rect.bottom;
        auto flip = [a](Point& p) { p.y = to_logical(static_cast<double>(a - p.y)); };
        flip(f.origin);
        flip(f.y_axis_end);
        flip(f.x_axis_end);
        flip(f.plot_bottom);
        flip(f.plot_right);
        for (Point& p : f.x_arrow) flip(p);
        for (Point& p : f.y_arrow) flip(p);
    }
    return f;
}

CurveLineStyle scale_lines(const CurveLineStyle& style, const StyleScale& scale) {
    CurveLineStyle l = style;
    if (!scale.scale_sizes) return l;
    const double sx = scale.sx;
    const double sy = scale.sy;
    l.point_diameter = scale_size(style.point_diameter, std::min(sx, -sy));
    l.mark_font_size = scale_size(style.mark_font_size, -sy);
    l.load_width = scale_size(style.load_width, sx);
    l.unload_width = scale_size(style.unload_width, sx);
    l.mark_width = scale_size(style.mark_width, sx);
    return l;
}

void force_black_and_white(DeviceFrame& frame, CurveLineStyle& lines) {
    frame.background = kWhite;
    frame.axis_colour = kBlack;
    frame.tick_colour = kBlack;
    frame.title_colour = kBlack;
    lines.load_colour = kBlack;
    lines.unload_colour = kBlack;
    lines.point_colour = kBlack;
    lines.mark_line_colour = kBlack;
    lines.mark_text_colour = kBlack;
}

}  // namespace kvd
