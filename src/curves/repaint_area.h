#pragma once
// RepaintArea: the rectangle a drag asks the window to repaint, grown point
// by point and box by box. Logical units, y up. The sums are taken in 64 bits
// and clamped, so a point pushed to the edge of the int range by a damaged
// value cannot overflow the padding.

#include <algorithm>
#include <limits>
#include <optional>

#include "draw/canvas.h"

namespace kvd {

class RepaintArea {
public:
    // The square of half-size pad around p.
    void add(Point p, int pad) {
        add_span(static_cast<long long>(p.x) - pad, static_cast<long long>(p.y) + pad,
                 static_cast<long long>(p.x) + pad, static_cast<long long>(p.y) - pad);
    }
    void add(const Rect& r) { add_span(r.left, r.top, r.right, r.bottom); }

    bool empty() const { return !rect_.has_value(); }
    Rect rect() const { return rect_.value_or(Rect{}); }

private:
    static int clamped(long long v) {
        return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    }
    void add_span(long long left, long long top, long long right, long long bottom) {
        const Rect r{clamped(std::min(left, right)), clamped(std::max(top, bottom)),
                     clamped(std::max(left, right)), clamped(std::min(top, bottom))};
        if (!rect_) {
            rect_ = r;
            return;
        }
        rect_->left = std::min(rect_->left, r.left);
        rect_->top = std::max(rect_->top, r.top);
        rect_->right = std::max(rect_->right, r.right);
        rect_->bottom = std::min(rect_->bottom, r.bottom);
    }

    std::optional<Rect> rect_;
};

}  // namespace kvd
