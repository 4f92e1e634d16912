#pragma once
// StyledLine: a polyline pen that keeps a current point, as the curves join
// their points: move_to the first point, line_to every next one, each segment
// in the pen of its own choosing.
//
// Wide styled lines: devices draw dashed and dotted pens only one unit wide,
// so a segment of width w > 1 in a dashed or dotted style is drawn as a strip
// of one-unit styled lines laid side by side, one unit apart, centred on the
// segment, with filled circles of diameter w at both ends to close the
// joints. A solid pen of width w and any pen of width 1 or less draw a
// plain line.

#include "draw/canvas.h"

namespace kvd {

struct LinePen {
    int style = 0;  // Windows pen style 0 ... 4; other values draw solid
    int width = 1;  // logical units
    Colour colour = kBlack;
};

class StyledLine {
public:
    explicit StyledLine(Canvas& canvas) : canvas_(canvas) {}

    void move_to(Point p) { current_ = p; }
    // Draws from the current point to p and makes p the current point.
    void line_to(Point p, const LinePen& pen);
    Point current() const { return current_; }

private:
    void draw_strip(Point from, Point to, const LinePen& pen, PenStyle style);

    Canvas& canvas_;
    Point current_;
};

// The Canvas pen style of a stored pen style number (solid when unknown).
PenStyle pen_style_of(int style);

}  // namespace kvd
