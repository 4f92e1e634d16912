#pragma once
// GridPainter: draws one filled table grid (CMyGrid) in the grid window's
// client pixels at the grid's scroll position. Four regions, each clipped so
// that scrolled cells never run under the fixed bands:
//
//   +--------+---------------------------+
//   | corner |  header band (scrolls x)  |   captions from header_captions()
//   +--------+---------------------------+
//   | fixed  |  body (scrolls x and y)   |   cells with their own colours and
//   | columns|                           |   formats; merged runs of the raw
//   | (y)    |                           |   record table as one cell
//   +--------+---------------------------+
//
// A two-level header shares its height between the upper and lower captions
// by their numbers of lines (halves when both have one).
// The header band is not drawn cell by cell: the table's captions give it the
// merged looks the grid cannot hold (a caption over two columns, upper and
// lower halves, the corner split by a diagonal).

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QRect>
#include <deque>
#include <utility>
#include <vector>

#include "qt/text_cache.h"
#include "tables/my_grid.h"
#include "tables/source_table.h"

class QPainter;

namespace kvd {

// The screen QFont of a grid font (sizes in pixels).
QFont screen_qfont(const Font& font);

// The rectangle a cell is drawn in, in client pixels: the whole merged run
// for a merged cell of the raw record table. Empty for a cell that does not
// exist.
QRect drawn_cell_rect(const CMyGrid& grid, int row, int column);

class GridPainter {
public:
    // The texts are laid out through the view's cache, kept between paints.
    GridPainter(const CMyGrid& grid, QPainter& painter, TextCache& texts);

    // Paints the client area; `show_current` draws the current cell's frame.
    void paint(bool show_current);

private:
    struct Band {
        int first = 0;  // first index in the band
        int last = -1;  // last index (inclusive)
    };

    struct ScreenFont {
        Font key;
        QFont font;
        QFontMetrics metrics;
        TextCache::FontTexts* texts = nullptr;
    };
    // A deque: the references handed out stay valid as fonts are added.
    const ScreenFont& font_of(const Font& font);
    int column_left(int column) const;
    int row_top(int row) const;
    // Scrolling rows or columns that show in [from, to) client pixels.
    Band visible(const std::vector<int>& starts, int fixed, int scroll, int from, int to) const;

    void paint_cells(Band rows, Band columns);
    void paint_cell(const QRect& rect, int row, int column);
    // One line of text aligned in area, as drawText(area, flags, text) would;
    // elided to fit when `elide`.
    void draw_line_of_text(const QRect& area, int flags, const QString& text,
                           const ScreenFont& font, bool elide);
    void paint_header(Band columns);
    void paint_caption(const HeaderCaption& caption);
    void paint_current();
    // A cell's grid lines (its right and bottom pixels) are gathered and
    // drawn together in one pen by flush_lines, after the band's cells.
    void draw_lines(const QRect& rect, bool horizontal, bool vertical);
    void flush_lines();

    const CMyGrid& grid_;
    QPainter& painter_;
    TextCache& texts_;
    std::vector<QLine> lines_;
    std::deque<ScreenFont> fonts_;
    std::vector<int> row_starts_;     // unscrolled top of every row, and the total
    std::vector<int> column_starts_;  // unscrolled left of every column, and the total
    std::vector<std::vector<RowSpan>> spans_;  // merged runs per column (raw record table)
    int header_width_ = 0;
    int header_height_ = 0;
    int split_ = 0;  // top of the lower captions of a two-level header
    int client_width_ = 0;
    int client_height_ = 0;
};

}  // namespace kvd
