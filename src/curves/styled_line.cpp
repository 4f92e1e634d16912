#include "curves/styled_line.h"

#include <cmath>
#include <cstdlib>

namespace kvd {

PenStyle pen_style_of(int style) {
    return style >= 0 && style <= 4 ? static_cast<PenStyle>(style) : PenStyle::kSolid;
}

void StyledLine::line_to(Point p, const LinePen& pen) {
    const PenStyle style = pen_style_of(pen.style);
    if (pen.width <= 1 || style == PenStyle::kSolid) {
        canvas_.set_pen(Pen{style, pen.width, pen.colour});
        canvas_.line(current_, p);
    } else {
        draw_strip(current_, p, pen, style);
    }
    current_ = p;
}

void StyledLine::draw_strip(Point from, Point to, const LinePen& pen, PenStyle style) {
    const int w = pen.width;
    const int h = w / 2;
    canvas_.set_pen(Pen{style, 1, pen.colour});
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    if (dx == 0) {
        for (int j = 0; j < w; ++j) {
            const int x = to.x - h + j;
            canvas_.line({x, from.y}, {x, to.y});
        }
    } else if (dy == 0) {
        for (int j = 0; j < w; ++j) {
            const int y = to.y - h + j;
            canvas_.line({from.x, y}, {to.x, y});
        }
    } else {
        // One-unit lines shifted across the segment: along x for a steep
        // segment, along y for a flat one. Each shift is then moved back
        // along the segment by its component in the segment's direction, so
        // that the ends of the strip stay square to the segment.
        const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
        const double ux = static_cast<double>(dx) / length;
        const double uy = static_cast<double>(dy) / length;
        const bool steep = std::llabs(dy) > std::llabs(dx);
        const double across = steep ? std::fabs(uy) : std::fabs(ux);
        int m = static_cast<int>(std::lround(w * across));
        if (m < 1) m = 1;
        for (int j = 0; j < m; ++j) {
            const double o = j - m / 2;
            const double shift_x = steep ? o - o * ux * ux : -o * uy * ux;
            const double shift_y = steep ? -o * ux * uy : o - o * uy * uy;
            const Point a{from.x + static_cast<int>(std::lround(shift_x)),
                          from.y + static_cast<int>(std::lround(shift_y))};
            const Point b{to.x + static_cast<int>(std::lround(shift_x)),
                          to.y + static_cast<int>(std::lround(shift_y))};
            canvas_.line(a, b);
        }
    }
    canvas_.set_pen(Pen{PenStyle::kSolid, 1, pen.colour});
    canvas_.set_brush(Brush::solid(pen.colour));
    for (const Point c : {from, to}) {
        canvas_.ellipse(Rect{c.x - h, c.y + h, c.x - h + w, c.y + h - w});
    }
}

}  // namespace kvd
