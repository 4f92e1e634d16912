#pragma once
// The symbols written before the values of a curve mark (CurveLineStyle::
// mark_symbol): a letter in the mark font and a subscript in a font 3/5 as
// high, lowered by a third of the text height. The style list of the options
// dialog draws the same pairs.

#include <array>
#include <string_view>

#include "draw/canvas.h"

namespace kvd {

struct MarkSymbol {
    std::string_view symbol;
    std::string_view subscript;
};

inline constexpr std::array<MarkSymbol, 7> kMarkSymbols = {{
    {"", ""},
    {" Q", "uk"},
    {" f", "sp, k"},
    {" f", "k"},
    {" R", ""},
    {" U", "k"},
    {" R", "h"},
}};

// The pair of a stored symbol number; the empty pair when out of range.
MarkSymbol mark_symbol(int index);

// Draws the pair of `index` right-aligned so that it ends at `right`, in the
// text band from `top` down `height` units, with `font` (whose height is the
// band's); returns the x where it begins (right when there is nothing).
int draw_mark_symbol(Canvas& canvas, int index, int right, int top, int height, const Font& font);

}  // namespace kvd
