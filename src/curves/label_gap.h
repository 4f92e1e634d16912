#pragma once
// The room the logarithmic axes keep between two tick labels. Their labels
// crowd toward the end of the axis; two boxes that merely touch would read
// as one number ("45" and "60" as "4560"), so a label counts as clear of the
// previous one only with a space of the tick font (a quarter of its
// character height) between them.

#include "draw/canvas.h"

namespace kvd {

// The box widened to the left by the gap, for the clear-of-last-label test.
inline Rect with_label_gap(const Rect& box, int font_height) {
    return {box.left - font_height / 4, box.top, box.right, box.bottom};
}

}  // namespace kvd
