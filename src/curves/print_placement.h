#pragma once
// Where a curve goes on a printed page. Page coordinates are 0.1 mm with the
// origin at the paper's top-left corner and y up (the page lies at y <= 0),
// as the print job sets them up.
//
// The curves share the paper inside the margins below the title block. The
// curve layout (PrintContent::curve_layout) cuts that area into pieces:
//
//   layout | Q-s                  | s-lgt                   | s-lgQ
//   -------+----------------------+-------------------------+---------------------
//     0    | whole                | whole                   | whole
//     1    | top / left half      | bottom / right half     | whole
//     2    | whole                | top / left half         | bottom / right half
//     3    | top-left quarter /   | top-right quarter /     | bottom-left quarter /
//          | left third           | middle third            | right third
//
// (first form when the area is taller than wide, second otherwise). The
// piece is inset by 10 at the top, bottom and left and 20 at the right, and
// the curve is the largest centred rectangle in it that is as wide as high
// (aspect 1) or 2/3 as wide as high (aspect 0).

#include "doc/page_setup.h"
#include "draw/canvas.h"

namespace kvd {

enum class CurveKind { kQs, kSlgt, kSlgQ };

enum class PrintPiece {
    kWhole,
    kFirstHalf,   // top half (portrait area) or left half (landscape)
    kSecondHalf,  // bottom half or right half
    kFirstPart,   // top-left quarter or left third
    kSecondPart,  // top-right quarter or middle third
    kThirdPart,   // bottom-left quarter or right third
};

// The layout a print uses: 0 ... 3; any other stored value counts as 0.
int normalised_layout(int layout);

PrintPiece print_piece(CurveKind kind, int layout);
// Q-s prints the title block always, s-lgt with layouts 0 and 2, s-lgQ with
// layouts 0 and 1: the curve at the top of its page does.
bool prints_title_block(CurveKind kind, int layout);

// Rows of the title block: 2, or 4 with the simple summary table.
int title_block_rows(const PrintContent& content);
// The paper inside the margins below the title block.
Rect curve_print_area(const PageSetup& setup, const PrintContent& content);
Rect cut_piece(const Rect& area, PrintPiece piece);
// The inset piece's largest centred rectangle of the aspect (0 = 2:3 wide to
// high, 1 = square; any other value counts as 0). Empty when nothing fits.
Rect fit_curve_rect(const Rect& piece, int aspect);

// All of the above: the rectangle a curve kind prints into.
Rect curve_print_rect(CurveKind kind, const PageSetup& setup, const PrintContent& content);

}  // namespace kvd
