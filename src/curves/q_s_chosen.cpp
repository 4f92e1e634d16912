// The engineer's chosen bearing capacity on the Q-s (p-s, U-δ) curve of the
// window: a dashed vertical line at the load across the whole plot, and its
// label near the load axis (below the axis title's row), right of the line,
// or left of it when the line stands near the end of the axis.

#include <algorithm>
#include <cmath>

#include "curves/q_s.h"

namespace kvd {

void CQ_s::draw_chosen_load(Canvas& canvas, const ChosenLoadMark& mark) {
    if (!std::isfinite(mark.load) || x_max() <= 0) return;
    const Rect plot = plot_rect();
    // The plot's horizontal extent holds loads 0 ... x_max.
    const double share = mark.load / x_max();
    if (share < 0 || share > 1) return;
    const int x = frame().origin.x +
                  static_cast<int>(std::lround(share * (frame().plot_right.x - frame().origin.x)));
    const Colour colour = mark.stale ? kStaleChoiceColour : kChosenLoadColour;
    const int low = std::min(plot.top, plot.bottom);
    const int high = std::max(plot.top, plot.bottom);
    canvas.set_pen(Pen{PenStyle::kDash, 1, colour});
    canvas.line({x, low}, {x, high});

    const Font font = mark_font();
    canvas.set_font(font);
    canvas.set_text_colour(colour);
    const Size extent = canvas.text_extent(mark.label);
    const int gap = std::max(1, extent.cy / 3);
    // Inside the plot, clear of the axis title that hangs below the load
    // axis at its tip.
    const int axis_y = frame().origin.y;
    const int inner = plot_side() > 0 ? 1 : -1;  // towards the plot
    const int first = axis_y + inner * (3 * gap + 2 * extent.cy);
    const Rect box =
        (x + gap + extent.cx <= frame().plot_right.x)
            ? Rect{x + gap, first + extent.cy / 2, x + gap + extent.cx, first - extent.cy / 2}
            : Rect{x - gap - extent.cx, first + extent.cy / 2, x - gap, first - extent.cy / 2};
    canvas.draw_text(box, mark.label, kTextLeft | kTextSingleLine | kTextVCentre | kTextNoClip);
}

}  // namespace kvd
