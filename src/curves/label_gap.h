#pragma once
// The room every horizontal axis keeps between two tick labels. Labels crowd
// toward the end of a logarithmic axis and wherever loads lie close on the
// linear one; two boxes that merely touch would read as one number ("45" and
// "60" as "4560", "400" and "464" as "400464"), so a label counts as clear of
// the previous one only with a space of the tick font (a quarter of its
// character height) between them. CImage::clear_of_last_label applies it.

#include "draw/canvas.h"

namespace kvd {

// The box widened to the left by the gap, for the clear-of-last-label test.
inline Rect with_label_gap(const Rect& box, int font_height) {
    return {box.left - font_height / 4, box.top, box.right, box.bottom};
}

}  // namespace kvd
