#pragma once
// CGrid: the general grid every table is: a rectangular array of text cells
// with fixed header rows and columns, their sizes in screen pixels, colours,
// fonts, the current cell and the selection. It knows nothing of tests; the
// table layer (CMyGrid) fills it and prints it. Painting and scrolling on the
// screen belong to the program's grid widget, which reads this model.

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "draw/font_metrics.h"

namespace kvd {

// "Use the grid's colour" in a cell's colour fields.
inline constexpr Colour kDefaultColour = 0xFF000000;

struct GridCell {
    unsigned state = 0;
    TextFormat format = kCellFormat;
    std::string text;
    int image = -1;
    Colour background = kDefaultColour;
    Colour text_colour = kDefaultColour;
    long long user_value = 0;
    int font = 0;  // index into the grid's font list
};

// Members of a CellUpdate that are valid.
inline constexpr unsigned kCellTextMask = 0x01;
inline constexpr unsigned kCellImageMask = 0x02;
inline constexpr unsigned kCellUserValueMask = 0x04;
inline constexpr unsigned kCellStateMask = 0x08;
inline constexpr unsigned kCellBackgroundMask = 0x10;
inline constexpr unsigned kCellTextColourMask = 0x20;
inline constexpr unsigned kCellFormatMask = 0x40;
inline constexpr unsigned kCellFontMask = 0x80;

struct CellUpdate {
    int row = 0;
    int column = 0;
    unsigned mask = 0;
    unsigned state = 0;
    TextFormat format = kCellFormat;
    std::string text;
    int image = -1;
    Colour background = kDefaultColour;
    Colour text_colour = kDefaultColour;
    long long user_value = 0;
    Font font;

    // An update of cell (row, column) for the members in mask.
    static CellUpdate at(int row, int column, unsigned mask) {
        CellUpdate update;
        update.row = row;
        update.column = column;
        update.mask = mask;
        return update;
    }
};

// Grid-line modes.
inline constexpr int kGridLinesHorizontal = 1;
inline constexpr int kGridLinesVertical = 2;
inline constexpr int kGridLinesBoth = 3;

// The colours the grid takes from the system at construction.
struct GridColours {
    Colour text = rgb(0, 0, 0);
    Colour background = rgb(255, 255, 255);
    Colour fixed_background = rgb(240, 240, 240);
    Colour fixed_text = rgb(0, 0, 0);
    Colour grid_lines = rgb(160, 160, 160);
};

struct CellId {
    int row = -1;
    int column = -1;
    bool valid() const { return row >= 0 && column >= 0; }
    friend bool operator==(const CellId&, const CellId&) = default;
    friend auto operator<=>(const CellId&, const CellId&) = default;
};

class CGrid {
public:
    // Cell margin in pixels; the tables' widths are given as n·w + 2m + 1.
    static constexpr int kMargin = 2;
    static constexpr int kRowHeightBeforeFont = 30;

    explicit CGrid(const FontMetrics& metrics, GridColours colours = {});
    virtual ~CGrid() = default;
    CGrid(const CGrid&) = delete;
    CGrid& operator=(const CGrid&) = delete;

    // Shape. A fixed count larger than the row or column count first grows
    // the grid; lowering a count below the current cell clears it.
    bool set_row_count(int rows);
    bool set_column_count(int columns);
    bool set_fixed_row_count(int rows);
    bool set_fixed_column_count(int columns);
    int row_count() const { return rows_; }
    int column_count() const { return columns_; }
    int fixed_row_count() const { return fixed_rows_; }
    int fixed_column_count() const { return fixed_columns_; }

    // Sizes in pixels; false (and nothing changed) for an index out of range
    // or a negative size.
    bool set_column_width(int column, int width);
    bool set_row_height(int row, int height);
    int column_width(int column) const;
    int row_height(int row) const;
    int header_height() const;  // the fixed rows
    int header_width() const;   // the fixed columns
    int total_width() const;
    int total_height() const;

    // Cells.
    bool set_cell(const CellUpdate& update);
    // Fills update's members named by its mask from cell (update.row, update.column).
    bool get_cell(CellUpdate& update) const;
    const GridCell* cell(int row, int column) const;
    // The fast path of the table fills: text and the standard cell format.
    void set_cell_text(int row, int column, std::string_view text);
    bool set_cell_text_colour(int row, int column, Colour colour);
    bool set_cell_background(int row, int column, Colour colour);
    // The text of a cell as printed and exported; tables may compute it.
    virtual std::string cell_text(int row, int column) const;
    // A cell's effective colours (the grid's where the cell keeps the default).
    Colour effective_text_colour(int row, int column) const;
    Colour effective_background(int row, int column) const;

    // Fonts: setting the grid font gives it to every cell and derives the
    // metrics below from it.
    void set_font(const Font& font);
    const Font& font() const { return fonts_.front(); }
    const Font& cell_font(int row, int column) const;
    const FontMetrics& metrics() const { return metrics_; }
    int average_char_width() const { return char_width_; }
    int default_row_height() const { return default_row_height_; }
    int default_column_width() const { return default_column_width_; }
    // n·w + 2m + 1, the width the tables give their columns in.
    int chars_width(int chars) const { return chars * char_width_ + 2 * kMargin + 1; }

    // Appearance and behaviour switches.
    int grid_lines() const { return grid_lines_; }
    void set_grid_lines(int mode) { grid_lines_ = mode; }
    bool editable() const { return editable_; }
    void set_editable(bool editable) { editable_ = editable; }
    bool redraw_allowed() const { return redraw_allowed_; }
    void set_redraw_allowed(bool allowed) { redraw_allowed_ = allowed; }
    const GridColours& colours() const { return colours_; }

    // Current cell, the cell under the right mouse button, the selection.
    CellId current_cell() const { return current_; }
    bool set_current_cell(CellId cell);
    CellId right_click_cell() const { return right_click_; }
    void set_right_click_cell(CellId cell) { right_click_ = cell; }
    void select(CellId cell) { selection_.insert(cell); }
    void clear_selection() { selection_.clear(); }
    bool is_selected(CellId cell) const { return selection_.count(cell) > 0; }
    const std::set<CellId>& selection() const { return selection_; }

    // Screen geometry: the client area, the scroll position (in pixels of the
    // scrolling part) and cell rectangles in client pixels (y down). Fixed
    // rows and columns do not scroll.
    struct PixelRect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        friend bool operator==(const PixelRect&, const PixelRect&) = default;
    };
    void set_client_size(int width, int height);
    int client_width() const { return client_width_; }
    int client_height() const { return client_height_; }
    void set_scroll_position(int x, int y);
    int scroll_x() const { return scroll_x_; }
    int scroll_y() const { return scroll_y_; }
    // Scroll ranges: content size less client size, 0 when everything fits.
    int horizontal_scroll_range() const;
    int vertical_scroll_range() const;
    PixelRect cell_rect(int row, int column) const;
    CellId cell_from_point(int x, int y) const;

protected:
    GridCell* mutable_cell(int row, int column);
    int add_font(const Font& font);

private:
    void resize_cells(int rows, int columns);

    const FontMetrics& metrics_;
    GridColours colours_;
    int rows_ = 0;
    int columns_ = 0;
    int fixed_rows_ = 0;
    int fixed_columns_ = 0;
    std::vector<int> row_heights_;
    std::vector<int> column_widths_;
    std::vector<GridCell> cells_;  // row after row
    std::vector<Font> fonts_;
    int char_width_ = 8;
    int default_row_height_ = kRowHeightBeforeFont;
    int default_column_width_ = 12 * 8 + 5;
    int grid_lines_ = kGridLinesBoth;
    bool editable_ = true;
    bool redraw_allowed_ = true;
    CellId current_;
    CellId right_click_;
    std::set<CellId> selection_;
    int client_width_ = 0;
    int client_height_ = 0;
    int scroll_x_ = 0;
    int scroll_y_ = 0;
};

}  // namespace kvd
