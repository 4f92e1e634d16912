#pragma once
// What the print job adds to every page: the page number, the header and the
// footer, each in a band just outside the margins. Page coordinates are
// 0.1 mm with the origin at the paper's top-left corner and y up.
//
//   paper top
//     66 above the top margin line  +-------------------------------+
//     (header text, top numbers)    |  header            top number |
//     30 above                      +-------------------------------+
//     20 above: the header's rule   ---------------------------------
//   top margin line  ...  the page's content  ...  bottom margin line
//     20 below: the footer's rule   ---------------------------------
//     30 below                      +-------------------------------+
//     (footer text, bottom numbers) |  footer         bottom number |
//     66 below                      +-------------------------------+
//
// Both bands run from the left margin to the right margin; the texts are in
// "Times New Roman" 3.6 mm high, on one line, vertically centred, not clipped.

#include <optional>
#include <string>

#include "doc/page_setup.h"
#include "doc/page_setup_rules.h"
#include "draw/canvas.h"

namespace kvd {

// How many page number formats and positions there are (their list texts are
// the page-number page's, doc/page_setup_rules.h); the printed form of a
// format is page_number_text.
inline constexpr int kPageNumberFormatCount = static_cast<int>(kPageNumberFormatTexts.size());
// Positions 0 ... 2 are at the bottom, 3 ... 5 at the top.
inline constexpr int kPageNumberPositionCount = static_cast<int>(kPageNumberPositionTexts.size());

// The printed page number; format 4 adds the total pages of the setup. A
// format outside the list counts as format 0.
std::string page_number_text(const PageSetup& setup, int number);

// Whether the number goes in the band above the top margin; a position
// outside the list counts as position 0 (bottom right).
bool page_number_at_top(const PageSetup& setup);
// The alignment flag of the number's text in its band (kTextRight, kTextLeft
// or kTextCentre).
TextFormat page_number_alignment(const PageSetup& setup);

// The bands above the top margin and below the bottom margin.
Rect header_band(const PageSetup& setup);
Rect footer_band(const PageSetup& setup);
// The y of the rules under the header and over the footer.
int header_rule_y(const PageSetup& setup);
int footer_rule_y(const PageSetup& setup);

// The font of the page number, header and footer.
Font decoration_font();

// Draws the number (when there is one), the header and the footer (each
// when the setup switches it on) on a page.
void draw_page_decorations(Canvas& canvas, const PageSetup& setup,
                           std::optional<int> page_number);

}  // namespace kvd
