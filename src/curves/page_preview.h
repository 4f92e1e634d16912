#pragma once
// The page preview of the options dialog: a small picture of one report
// page as the page setup and print content in the dialog would print it —
// the paper in its proportions with a shadow, the margins, the rows of the
// title block, the curves of the layout as glyphs in their pieces of the
// page, the page number's place and the header and footer lines.
//
// Units are the pixels of the preview, y up (the caller maps y to the
// screen downwards); `area` is the rectangle the page gives for it. Each
// length of the page setup is scaled from paper to preview.

#include <optional>
#include <vector>

#include "curves/print_placement.h"
#include "doc/page_setup.h"
#include "draw/canvas.h"

namespace kvd {

struct PagePreviewColours {
    Colour face = rgb(240, 240, 240);         // dialog background
    Colour shadow = rgb(160, 160, 160);       // the well the page lies in
    Colour dark_shadow = rgb(105, 105, 105);  // the page's shadow
    Colour highlight = kWhite;
    Colour window = kWhite;       // the paper
    Colour window_text = kBlack;  // lines and glyphs
};

struct PreviewGlyph {
    CurveKind kind = CurveKind::kQs;
    Rect rect;  // the curve's axes meet at its top-left corner
};

struct PagePreviewGeometry {
    Rect frame;  // the sunken edge runs round it
    Rect well;   // inside the edge, filled with the shadow colour
    Rect page;   // the paper; empty when the area is too small for one
    Rect inner;  // inside the margins
    int row_height = 0;
    int rows = 0;  // title block rows: 2, or 4 with the simple summary table
    std::vector<PreviewGlyph> glyphs;
    std::optional<Rect> page_number;  // the 3 x 3 mark of the page number
    std::optional<int> header_y;      // height of the header line, across inner
    std::optional<int> footer_y;
};

// The curves one preview page shows for a layout: Q-s alone (0), Q-s and
// s-lgt (1), s-lgt and s-lgQ (2), all three (3).
std::vector<CurveKind> preview_curves(int layout);

PagePreviewGeometry page_preview_geometry(const Rect& area, const PageSetup& setup,
                                          const PrintContent& content);

void draw_page_preview(Canvas& canvas, const Rect& area, const PageSetup& setup,
                       const PrintContent& content, const PagePreviewColours& colours);

}  // namespace kvd
