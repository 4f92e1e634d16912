// The marks of the Q-s curve: for each CurveMark (load, settlement) a line
// from the displacement axis to the point and on up to the load axis, the
// load written above the horizontal line and the settlement below it,
// optionally preceded by a symbol such as "Q" with subscript "uk".

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/format.h"
#include "curves/mark_symbol.h"
#include "curves/q_s.h"
#include "curves/styled_line.h"

namespace kvd {

namespace {

constexpr TextFormat kMarkText = kTextSingleLine | kTextVCentre | kTextNoClip;
constexpr int kSymbolRoom = 8;  // character heights of room left of a value

}  // namespace

MarkSymbol mark_symbol(int index) {
    if (index < 0 || index >= static_cast<int>(kMarkSymbols.size())) return {};
    return kMarkSymbols[static_cast<std::size_t>(index)];
}

int draw_mark_symbol(Canvas& canvas, int index, int right, int top, int height, const Font& font) {
    const MarkSymbol pair = mark_symbol(index);
    if (pair.symbol.empty()) return right;
    int x = right;
    if (!pair.subscript.empty()) {
        Font small = font;
        small.height = font.height * 3 / 5;
        canvas.set_font(small);
        const int w = canvas.text_extent(pair.subscript).cx;
        const int lowered = top - height / 3;
        canvas.draw_text(Rect{x - w, lowered, x, lowered - height}, pair.subscript,
                         kTextLeft | kMarkText);
        x -= w;
    }
    canvas.set_font(font);
    const int w = canvas.text_extent(pair.symbol).cx;
    canvas.draw_text(Rect{x - w, top, x, top - height}, pair.symbol, kTextRight | kMarkText);
    return x - w;
}

void CQ_s::draw_marks(Canvas& canvas) {
    for (const CurveMark& mark : doc().marks()) draw_mark(canvas, mark.load, mark.settlement);
}

void CQ_s::draw_mark(Canvas& canvas, double load, double settlement) {
    if (!std::isfinite(load) || !std::isfinite(settlement)) return;
    constexpr double kLimit = std::numeric_limits<int>::max();
    const auto q = static_cast<long long>(std::clamp(std::trunc(load), -kLimit, kLimit));
    const Point at{device_x(q), device_y(settlement)};
    if (!in_plot(at, 1)) return;

    const CurveLineStyle& l = lines();
    const int axis_x = frame().origin.x;
    StyledLine line(canvas);
    const LinePen pen{l.mark_pen_style, l.mark_width, l.mark_line_colour};
    line.move_to({axis_x, at.y});
    line.line_to(at, pen);
    line.line_to({at.x, frame().origin.y}, pen);

    const Font font = mark_font();
    const int h = l.mark_font_size;
    const bool symbol = l.mark_symbol != 0 && !mark_symbol(l.mark_symbol).symbol.empty();
    canvas.set_font(font);
    canvas.set_text_colour(l.mark_text_colour);
    const std::string load_text =
        (symbol ? " =" : "") + strprintf(kpa_unit() ? "%5.0f kPa" : "%5.0f kN", load);
    const std::string settle_text = (symbol ? "  =" : "") + strprintf("%6.2f mm", settlement);
    // Both texts are centred between the displacement axis and the point:
    // the load in the band above the horizontal mark line, the settlement
    // in the band below it, clear of a wide line.
    const int clear = l.mark_width / 2;
    const Rect above{axis_x, at.y + clear + h, at.x, at.y + clear};
    const Rect below{axis_x, at.y - clear, at.x, at.y - clear - h};
    canvas.draw_text(above, load_text, kTextCentre | kMarkText);
    canvas.draw_text(below, settle_text, kTextCentre | kMarkText);
    if (!symbol) return;

    const long long centre2 = static_cast<long long>(axis_x) + at.x;  // twice the centre
    const int load_left = static_cast<int>((centre2 - canvas.text_extent(load_text).cx) / 2);
    const int settle_left = static_cast<int>((centre2 - canvas.text_extent(settle_text).cx) / 2);
    draw_mark_symbol(canvas, l.mark_symbol, load_left, above.top, h, font);
    canvas.set_font(font);
    canvas.draw_text(Rect{settle_left - kSymbolRoom * h, below.top, settle_left, below.bottom}, "s",
                     kTextRight | kMarkText);
}

}  // namespace kvd
