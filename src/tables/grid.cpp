#include "tables/grid.h"

#include <algorithm>
#include <numeric>

namespace kvd {
namespace {

// The system's message font, in pixels, until the program sets the screen's.
Font default_grid_font() {
    Font font;
    font.face = "宋体";
    font.height = 16;
    return font;
}

}  // namespace

CGrid::CGrid(const FontMetrics& metrics, GridColours colours)
    : metrics_(metrics), colours_(colours), fonts_{default_grid_font()} {
    char_width_ = std::max(1, metrics_.average_char_width(fonts_.front()));
    default_column_width_ = 12 * char_width_ + 5;
}

void CGrid::resize_cells(int rows, int columns) {
    if (columns == columns_) {
        cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    } else {
        // Keep the cells that stay, at their new places.
        std::vector<GridCell> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
        const int keep_rows = std::min(rows, rows_);
        const int keep_columns = std::min(columns, columns_);
        for (int r = 0; r < keep_rows; ++r) {
            for (int c = 0; c < keep_columns; ++c) {
                cells[static_cast<std::size_t>(r * columns + c)] =
                    std::move(cells_[static_cast<std::size_t>(r * columns_ + c)]);
            }
        }
        cells_ = std::move(cells);
    }
    row_heights_.resize(static_cast<std::size_t>(rows), default_row_height_);
    column_widths_.resize(static_cast<std::size_t>(columns), default_column_width_);
    rows_ = rows;
    columns_ = columns;
    if (current_.row >= rows_ || current_.column >= columns_) current_ = CellId{};
    if (right_click_.row >= rows_ || right_click_.column >= columns_) right_click_ = CellId{};
    std::erase_if(selection_, [&](CellId c) { return c.row >= rows_ || c.column >= columns_; });
}

bool CGrid::set_row_count(int rows) {
    if (rows < 0) return false;
    if (rows == rows_) return true;
    resize_cells(rows, columns_);
    fixed_rows_ = std::min(fixed_rows_, rows_);
    return true;
}

bool CGrid::set_column_count(int columns) {
    if (columns < 0) return false;
    if (columns == columns_) return true;
    resize_cells(rows_, columns);
    fixed_columns_ = std::min(fixed_columns_, columns_);
    return true;
}

bool CGrid::set_fixed_row_count(int rows) {
    if (rows < 0) return false;
    if (rows > rows_) set_row_count(rows);
    fixed_rows_ = rows;
    if (current_.row >= 0 && current_.row < fixed_rows_) current_ = CellId{};
    return true;
}

bool CGrid::set_fixed_column_count(int columns) {
    if (columns < 0) return false;
    if (columns > columns_) set_column_count(columns);
    fixed_columns_ = columns;
    if (current_.column >= 0 && current_.column < fixed_columns_) current_ = CellId{};
    return true;
}

bool CGrid::set_column_width(int column, int width) {
    if (column < 0 || column >= columns_ || width < 0) return false;
    column_widths_[static_cast<std::size_t>(column)] = width;
    return true;
}

bool CGrid::set_row_height(int row, int height) {
    if (row < 0 || row >= rows_ || height < 0) return false;
    row_heights_[static_cast<std::size_t>(row)] = height;
    return true;
}

int CGrid::column_width(int column) const {
    return column >= 0 && column < columns_ ? column_widths_[static_cast<std::size_t>(column)] : 0;
}

int CGrid::row_height(int row) const {
    return row >= 0 && row < rows_ ? row_heights_[static_cast<std::size_t>(row)] : 0;
}

int CGrid::header_height() const {
    return std::accumulate(row_heights_.begin(), row_heights_.begin() + fixed_rows_, 0);
}

int CGrid::header_width() const {
    return std::accumulate(column_widths_.begin(), column_widths_.begin() + fixed_columns_, 0);
}

int CGrid::total_width() const { return std::accumulate(column_widths_.begin(), column_widths_.end(), 0); }

int CGrid::total_height() const { return std::accumulate(row_heights_.begin(), row_heights_.end(), 0); }

const GridCell* CGrid::cell(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return nullptr;
    return &cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                   static_cast<std::size_t>(column)];
}

GridCell* CGrid::mutable_cell(int row, int column) {
    return const_cast<GridCell*>(static_cast<const CGrid&>(*this).cell(row, column));
}

int CGrid::add_font(const Font& font) {
    auto it = std::find(fonts_.begin(), fonts_.end(), font);
    if (it != fonts_.end()) return static_cast<int>(it - fonts_.begin());
    fonts_.push_back(font);
    return static_cast<int>(fonts_.size()) - 1;
}

bool CGrid::set_cell(const CellUpdate& u) {
    GridCell* c = mutable_cell(u.row, u.column);
    if (!c) return false;
    if (u.mask & kCellTextMask) c->text = u.text;
    if (u.mask & kCellImageMask) c->image = u.image;
    if (u.mask & kCellUserValueMask) c->user_value = u.user_value;
    if (u.mask & kCellStateMask) c->state = u.state;
    if (u.mask & kCellBackgroundMask) c->background = u.background;
    if (u.mask & kCellTextColourMask) c->text_colour = u.text_colour;
    if (u.mask & kCellFormatMask) c->format = u.format;
    if (u.mask & kCellFontMask) c->font = add_font(u.font);
    return true;
}

bool CGrid::get_cell(CellUpdate& u) const {
    const GridCell* c = cell(u.row, u.column);
    if (!c) return false;
    if (u.mask & kCellTextMask) u.text = cell_text(u.row, u.column);
    if (u.mask & kCellImageMask) u.image = c->image;
    if (u.mask & kCellUserValueMask) u.user_value = c->user_value;
    if (u.mask & kCellStateMask) u.state = c->state;
    if (u.mask & kCellBackgroundMask) u.background = c->background;
    if (u.mask & kCellTextColourMask) u.text_colour = c->text_colour;
    if (u.mask & kCellFormatMask) u.format = c->format;
    if (u.mask & kCellFontMask) u.font = fonts_[static_cast<std::size_t>(c->font)];
    return true;
}

void CGrid::set_cell_text(int row, int column, std::string_view text) {
    if (GridCell* c = mutable_cell(row, column)) {
        c->text.assign(text);
        c->format = kCellFormat;
    }
}

bool CGrid::set_cell_text_colour(int row, int column, Colour colour) {
    GridCell* c = mutable_cell(row, column);
    if (!c) return false;
    c->text_colour = colour;
    return true;
}

bool CGrid::set_cell_background(int row, int column, Colour colour) {
    GridCell* c = mutable_cell(row, column);
    if (!c) return false;
    c->background = colour;
    return true;
}

std::string CGrid::cell_text(int row, int column) const {
    const GridCell* c = cell(row, column);
    return c ? c->text : std::string();
}

Colour CGrid::effective_text_colour(int row, int column) const {
    const GridCell* c = cell(row, column);
    const bool fixed = row < fixed_rows_ || column < fixed_columns_;
    if (c && c->text_colour != kDefaultColour) return c->text_colour;
    return fixed ? colours_.fixed_text : colours_.text;
}

Colour CGrid::effective_background(int row, int column) const {
    const GridCell* c = cell(row, column);
    const bool fixed = row < fixed_rows_ || column < fixed_columns_;
    if (c && c->background != kDefaultColour) return c->background;
    return fixed ? colours_.fixed_background : colours_.background;
}

void CGrid::set_font(const Font& font) {
    fonts_.assign(1, font);
    for (GridCell& c : cells_) c.font = 0;
    char_width_ = std::max(1, metrics_.average_char_width(font));
    default_row_height_ = metrics_.line_height(font) + 5;
    default_column_width_ = 12 * char_width_ + 5;
}

const Font& CGrid::cell_font(int row, int column) const {
    const GridCell* c = cell(row, column);
    return fonts_[static_cast<std::size_t>(c ? c->font : 0)];
}

bool CGrid::set_current_cell(CellId id) {
    if (!id.valid()) {
        current_ = CellId{};
        return true;
    }
    if (id.row >= rows_ || id.column >= columns_) return false;
    current_ = id;
    return true;
}

void CGrid::set_client_size(int width, int height) {
    client_width_ = std::max(0, width);
    client_height_ = std::max(0, height);
    set_scroll_position(scroll_x_, scroll_y_);
}

int CGrid::horizontal_scroll_range() const { return std::max(0, total_width() - client_width_); }

int CGrid::vertical_scroll_range() const { return std::max(0, total_height() - client_height_); }

void CGrid::set_scroll_position(int x, int y) {
    scroll_x_ = std::clamp(x, 0, horizontal_scroll_range());
    scroll_y_ = std::clamp(y, 0, vertical_scroll_range());
}

CGrid::PixelRect CGrid::cell_rect(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return {};
    int left = std::accumulate(column_widths_.begin(), column_widths_.begin() + column, 0);
    int top = std::accumulate(row_heights_.begin(), row_heights_.begin() + row, 0);
    if (column >= fixed_columns_) left -= scroll_x_;
    if (row >= fixed_rows_) top -= scroll_y_;
    return {left, top, left + column_width(column), top + row_height(row)};
}

CellId CGrid::cell_from_point(int x, int y) const {
    auto locate = [](int p, int fixed, int scroll, const std::vector<int>& sizes) {
        int edge = 0;
        for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
            const int start = i < fixed ? edge : edge - scroll;
            if (p >= start && p < start + sizes[static_cast<std::size_t>(i)]) {
                // A scrolled cell hidden under the fixed band is not hit.
                if (i >= fixed && p < std::accumulate(sizes.begin(), sizes.begin() + fixed, 0)) {
                    edge += sizes[static_cast<std::size_t>(i)];
                    continue;
                }
                return i;
            }
            edge += sizes[static_cast<std::size_t>(i)];
        }
        return -1;
    };
    const int row = locate(y, fixed_rows_, scroll_y_, row_heights_);
    const int column = locate(x, fixed_columns_, scroll_x_, column_widths_);
    if (row < 0 || column < 0) return CellId{};
    return {row, column};
}

}  // namespace kvd
