#include "curves/page_preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kvd {
namespace {

// The area given for the preview loses this much on each side.
constexpr int kAreaLeft = 30;
constexpr int kAreaTop = 20;
constexpr int kAreaRight = 10;
constexpr int kAreaBottom = 6;
constexpr int kEdge = 2;        // the sunken edge
constexpr int kWellMargin = 6;  // between the edge and the largest page
constexpr int kShadowOffset = 4;
// A glyph sits in its piece inset by these.
constexpr int kGlyphInsetX = 6;
constexpr int kGlyphInsetY = 8;
constexpr int kNumberMark = 3;  // side of the page number's square
constexpr int kNumberBelow = 4;
constexpr int kNumberAbove = 7;
constexpr int kHeaderAbove = 3;
constexpr int kFooterBelow = 2;

Rect inset(const Rect& r, int left, int top, int right, int bottom) {
    return {r.left + left, r.top - top, r.right - right, r.bottom + bottom};
}

bool is_empty(const Rect& r) {
    return r.width() <= 0 || r.height() <= 0;
}

int scaled(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

// The largest centred rectangle in `r` whose width is `aspect` of its height.
Rect fit_centred(const Rect& r, double aspect) {
    if (is_empty(r)) return {};
    double w = r.width();
    double h = w / aspect;
    if (h > r.height()) {
        h = r.height();
        w = h * aspect;
    }
    const int left = r.left + static_cast<int>(std::lround((r.width() - w) / 2));
    const int top = r.top - static_cast<int>(std::lround((r.height() - h) / 2));
    return {left, top, left + static_cast<int>(std::lround(w)),
            top - static_cast<int>(std::lround(h))};
}

std::optional<Rect> page_number_mark(const Rect& inner, int position) {
    const int centre = (inner.left + inner.right) / 2 - kNumberMark / 2;
    const bool top = position >= 3 && position <= 5;
    const int horizontal = top ? position - 3 : (position >= 0 && position <= 2 ? position : 0);
    const int left = horizontal == 0   ? inner.right - kNumberMark
                     : horizontal == 1 ? inner.left
                                       : centre;
    const int mark_top = top ? inner.top + kNumberAbove : inner.bottom - kNumberBelow;
    return Rect{left, mark_top, left + kNumberMark, mark_top - kNumberMark};
}

// A quarter of the ellipse centred at the bottom-left corner of `r`: from its
// top-left corner, level at first, down to its bottom-right corner.
std::vector<Point> quarter_arc(const Rect& r) {
    constexpr int kSteps = 24;
    std::vector<Point> points;
    points.reserve(kSteps + 1);
    for (int i = 0; i <= kSteps; ++i) {
        const double t = std::numbers::pi / 2 * i / kSteps;
        points.push_back({r.left + static_cast<int>(std::lround(r.width() * std::sin(t))),
                          r.bottom + static_cast<int>(std::lround(r.height() * std::cos(t)))});
    }
    return points;
}

void draw_glyph(Canvas& canvas, const PreviewGlyph& glyph) {
    const Rect& g = glyph.rect;
    canvas.line({g.left, g.top}, {g.right, g.top});
    canvas.line({g.left, g.top}, {g.left, g.bottom});
    const int w = g.width();
    const int h = g.height();
    switch (glyph.kind) {
        case CurveKind::kQs: {
            // The loading curve, then the unloading line back up to the left.
            const Rect arc{g.left, g.top, g.left + w * 4 / 5, g.bottom + h / 6};
            canvas.polyline(quarter_arc(arc));
            canvas.line({arc.right, arc.bottom}, {g.left + w * 2 / 5, g.top - h * 3 / 5});
            break;
        }
        case CurveKind::kSlgt:
            // One line a grade, each lower and falling a little more.
            for (int i = 1; i <= 4; ++i) {
                const int y = g.top - h * i / 6;
                canvas.line({g.left, y}, {g.right - w / 10, y - i});
            }
            break;
        case CurveKind::kSlgQ:
            canvas.polyline(quarter_arc({g.left, g.top, g.right - w / 10, g.bottom + h / 10}));
            break;
    }
}

void draw_sunken_edge(Canvas& canvas, const Rect& r, const PagePreviewColours& c) {
    auto frame = [&canvas](const Rect& e, Colour top_left, Colour bottom_right) {
        canvas.set_pen({PenStyle::kSolid, 0, top_left});
        canvas.line({e.left, e.bottom}, {e.left, e.top});
        canvas.line({e.left, e.top}, {e.right, e.top});
        canvas.set_pen({PenStyle::kSolid, 0, bottom_right});
        canvas.line({e.right, e.top}, {e.right, e.bottom});
        canvas.line({e.right, e.bottom}, {e.left, e.bottom});
    };
    frame(r, c.shadow, c.highlight);
    frame(inset(r, 1, 1, 1, 1), c.dark_shadow, c.face);
}

}  // namespace

std::vector<CurveKind> preview_curves(int layout) {
    switch (normalised_layout(layout)) {
        case 1:
            return {CurveKind::kQs, CurveKind::kSlgt};
        case 2:
            return {CurveKind::kSlgt, CurveKind::kSlgQ};
        case 3:
            return {CurveKind::kQs, CurveKind::kSlgt, CurveKind::kSlgQ};
        default:
            return {CurveKind::kQs};
    }
}

PagePreviewGeometry page_preview_geometry(const Rect& area, const PageSetup& setup,
                                          const PrintContent& content) {
    PagePreviewGeometry g;
    g.frame = inset(area, kAreaLeft, kAreaTop, kAreaRight, kAreaBottom);
    g.well = inset(g.frame, kEdge, kEdge, kEdge, kEdge);
    const Rect room = inset(g.well, kWellMargin, kWellMargin, kWellMargin, kWellMargin);
    if (is_empty(g.frame) || is_empty(room) || setup.paper_width <= 0 || setup.paper_height <= 0) {
        g.page = {};
        return g;
    }
    g.page = fit_centred(room, static_cast<double>(setup.paper_width) / setup.paper_height);
    const double scale = static_cast<double>(g.page.width()) / setup.paper_width;
    g.inner = inset(g.page, scaled(setup.left_margin, scale), scaled(setup.top_margin, scale),
                    scaled(setup.right_margin, scale), scaled(setup.bottom_margin, scale));
    g.row_height = std::max(1, scaled(setup.row_height, scale));
    g.rows = title_block_rows(content);

    const Rect curves{g.inner.left, g.inner.top - g.rows * g.row_height, g.inner.right,
                      g.inner.bottom};
    if (!is_empty(curves)) {
        const double aspect = content.curve_aspect == 1 ? 1.0 : 2.0 / 3.0;
        for (CurveKind kind : preview_curves(content.curve_layout)) {
            const Rect piece = cut_piece(curves, print_piece(kind, content.curve_layout));
            const Rect rect = fit_centred(
                inset(piece, kGlyphInsetX, kGlyphInsetY, kGlyphInsetX, kGlyphInsetY), aspect);
            if (!is_empty(rect)) g.glyphs.push_back({kind, rect});
        }
    }
    if (setup.page_number_mode != 1) {
        g.page_number = page_number_mark(g.inner, setup.page_number_position);
    }
    if (setup.print_header) g.header_y = g.inner.top + kHeaderAbove;
    if (setup.print_footer) g.footer_y = g.inner.bottom - kFooterBelow;
    return g;
}

void draw_page_preview(Canvas& canvas, const Rect& area, const PageSetup& setup,
                       const PrintContent& content, const PagePreviewColours& colours) {
    const PagePreviewGeometry g = page_preview_geometry(area, setup, content);
    if (is_empty(g.frame)) return;
    CanvasState state(canvas);
    canvas.set_brush({});
    draw_sunken_edge(canvas, g.frame, colours);
    canvas.fill_rect(g.well, colours.shadow);
    if (is_empty(g.page)) return;

    const Rect shadow{g.page.left + kShadowOffset, g.page.top - kShadowOffset,
                      g.page.right + kShadowOffset, g.page.bottom - kShadowOffset};
    canvas.fill_rect(shadow, colours.dark_shadow);
    canvas.fill_rect(g.page, colours.window);

    canvas.set_pen({PenStyle::kSolid, 0, colours.window_text});
    canvas.rectangle(g.inner);
    const Rect& in = g.inner;
    const int w = in.width();
    // Rows deeper than the printable area stop at its bottom, as on paper.
    auto row_y = [&](int row) { return std::max(in.top - row * g.row_height, in.bottom); };
    for (int row = 1; row <= g.rows; ++row)
        canvas.line({in.left, row_y(row)}, {in.right, row_y(row)});
    canvas.line({in.left + w * 2 / 3, in.top}, {in.left + w * 2 / 3, row_y(1)});
    for (int i = 1; i <= 2; ++i)
        canvas.line({in.left + w * i / 3, row_y(1)}, {in.left + w * i / 3, row_y(2)});
    if (g.rows == 4) {
        for (int i = 1; i <= 12; ++i) {
            const int x = in.left + w * i / 13;
            canvas.line({x, row_y(2)}, {x, row_y(4)});
        }
    }
    for (const PreviewGlyph& glyph : g.glyphs) draw_glyph(canvas, glyph);
    if (g.page_number) canvas.fill_rect(*g.page_number, colours.window_text);
    if (g.header_y) canvas.line({in.left, *g.header_y}, {in.right, *g.header_y});
    if (g.footer_y) canvas.line({in.left, *g.footer_y}, {in.right, *g.footer_y});
}

}  // namespace kvd
