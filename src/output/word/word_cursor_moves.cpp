// Cursor: where the cursor is and how it moves (see word_cursor.h).

#include <algorithm>
#include <utility>

#include "output/word/word_cursor.h"

namespace kvd::word {

using namespace content;

namespace {

// Character indices where the lines of a paragraph start ('\n' ends a line).
std::vector<int> line_starts(const Paragraph& p) {
    std::vector<int> starts{0};
    int at = 0;
    for (const Run& run : p.runs) {
        if (run.picture >= 0 || run.page_break) {
            ++at;
            continue;
        }
        for (std::size_t i = 0; i < run.text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(run.text[i]);
            if ((byte & 0xC0) == 0x80) continue;
            ++at;
            if (run.text[i] == '\n') starts.push_back(at);
        }
    }
    return starts;
}

// The line of a paragraph that holds `offset`, as [start, end) in characters.
std::pair<int, int> line_of(const Paragraph& p, int offset) {
    const std::vector<int> starts = line_starts(p);
    const int length = p.length();
    std::size_t k = 0;
    while (k + 1 < starts.size() && starts[k + 1] <= offset) ++k;
    const int end = k + 1 < starts.size() ? starts[k + 1] - 1 : length;
    return {starts[k], end};
}

}  // namespace

Paragraph& Cursor::paragraph(const Position& p) {
    return const_cast<Paragraph&>(std::as_const(*this).paragraph(p));
}

const Paragraph& Cursor::paragraph(const Position& p) const {
    if (!p.in_table()) return std::get<Paragraph>(doc_.body[static_cast<std::size_t>(p.block)]);
    return cell(p).paragraphs[static_cast<std::size_t>(p.paragraph)];
}

Table& Cursor::table(int block) {
    return std::get<Table>(doc_.body[static_cast<std::size_t>(block)]);
}

const Table& Cursor::table(int block) const {
    return std::get<Table>(doc_.body[static_cast<std::size_t>(block)]);
}

const Cell& Cursor::cell(const Position& p) const {
    return table(p.block)
        .rows[static_cast<std::size_t>(p.row)]
        .cells[static_cast<std::size_t>(p.cell)];
}

Position Cursor::cell_start(int block, CellIndex c) const { return {block, c.row, c.cell, 0, 0}; }

Position Cursor::cell_end(int block, CellIndex c) const {
    const Cell& target = table(block).rows[static_cast<std::size_t>(c.row)]
                             .cells[static_cast<std::size_t>(c.cell)];
    const int last = static_cast<int>(target.paragraphs.size()) - 1;
    return {block, c.row, c.cell, last, target.paragraphs.back().length()};
}

std::optional<CellIndex> Cursor::next_cell(int block, CellIndex c) const {
    const Table& t = table(block);
    for (;;) {
        if (++c.cell >= static_cast<int>(t.rows[static_cast<std::size_t>(c.row)].cells.size())) {
            c.cell = 0;
            if (++c.row >= static_cast<int>(t.rows.size())) return std::nullopt;
        }
        const Cell& candidate =
            t.rows[static_cast<std::size_t>(c.row)].cells[static_cast<std::size_t>(c.cell)];
        if (candidate.merge != VerticalMerge::kContinue) return c;
    }
}

std::optional<CellIndex> Cursor::previous_cell(int block, CellIndex c) const {
    const Table& t = table(block);
    for (;;) {
        if (--c.cell < 0) {
            if (--c.row < 0) return std::nullopt;
            c.cell = static_cast<int>(t.rows[static_cast<std::size_t>(c.row)].cells.size()) - 1;
            if (c.cell < 0) continue;
        }
        const Cell& candidate =
            t.rows[static_cast<std::size_t>(c.row)].cells[static_cast<std::size_t>(c.cell)];
        if (candidate.merge != VerticalMerge::kContinue) return c;
    }
}

int Cursor::cell_left(int block, CellIndex c) const {
    const Row& row = table(block).rows[static_cast<std::size_t>(c.row)];
    int left = 0;
    for (int i = 0; i < c.cell; ++i) left += row.cells[static_cast<std::size_t>(i)].width;
    return left;
}

int Cursor::cell_at(int block, int row, int x) const {
    const Row& r = table(block).rows[static_cast<std::size_t>(row)];
    int left = 0;
    for (std::size_t i = 0; i < r.cells.size(); ++i) {
        left += r.cells[i].width;
        if (x < left) return static_cast<int>(i);
    }
    return static_cast<int>(r.cells.size()) - 1;
}

CellIndex Cursor::merge_top(int block, CellIndex c) const {
    const Table& t = table(block);
    const int x = cell_left(block, c);
    while (c.row > 0 && t.rows[static_cast<std::size_t>(c.row)]
                                .cells[static_cast<std::size_t>(c.cell)]
                                .merge == VerticalMerge::kContinue) {
        c = {c.row - 1, cell_at(block, c.row - 1, x)};
    }
    return c;
}

int Cursor::merge_bottom_row(int block, CellIndex c) const {
    const Table& t = table(block);
    const int x = cell_left(block, c);
    int row = c.row;
    while (row + 1 < static_cast<int>(t.rows.size())) {
        const Row& below = t.rows[static_cast<std::size_t>(row + 1)];
        if (below.cells.empty()) break;
        const Cell& under = below.cells[static_cast<std::size_t>(cell_at(block, row + 1, x))];
        if (under.merge != VerticalMerge::kContinue) break;
        ++row;
    }
    return row;
}

int Cursor::caret_x(const Position& p) const {
    if (!p.in_table()) return 0;
    const CellIndex c{p.row, p.cell};
    const int left = cell_left(p.block, c);
    const int width = cell(p).width;
    const auto [start, end] = line_of(paragraph(p), p.offset);
    // The caret stands at its share of the line's text; in an empty line
    // (the text is centred or not there) in the middle of the cell.
    const int length = end - start;
    const double share = length == 0 ? 0.5 : static_cast<double>(p.offset - start) / length;
    return left + std::clamp(static_cast<int>(share * width), 0, std::max(0, width - 1));
}

Position Cursor::land_in_cell(int block, CellIndex c, const Position& from,
                                 bool first_line) const {
    Position p = first_line ? cell_start(block, c) : cell_end(block, c);
    const Paragraph& target = paragraph(p);
    const auto [start, end] = line_of(target, first_line ? 0 : target.length());
    // Keep the caret's share of its line.
    double share = 0.5;
    if (from.in_table()) {
        const auto [from_start, from_end] = line_of(paragraph(from), from.offset);
        if (from_end > from_start)
            share = static_cast<double>(from.offset - from_start) / (from_end - from_start);
        else
            share = 0.0;
    }
    p.offset = start + static_cast<int>(share * (end - start) + 0.5);
    return p;
}

std::optional<Position> Cursor::step_right(const Position& p) const {
    Position next = p;
    if (p.offset < paragraph(p).length()) {
        ++next.offset;
        return next;
    }
    if (p.in_table()) {
        if (p.paragraph + 1 < static_cast<int>(cell(p).paragraphs.size())) {
            return Position{p.block, p.row, p.cell, p.paragraph + 1, 0};
        }
        if (auto c = next_cell(p.block, {p.row, p.cell})) return cell_start(p.block, *c);
        return Position{p.block + 1};  // a table is always followed by a paragraph
    }
    if (p.block + 1 >= static_cast<int>(doc_.body.size())) return std::nullopt;
    if (std::holds_alternative<Table>(doc_.body[static_cast<std::size_t>(p.block + 1)])) {
        return cell_start(p.block + 1, {0, 0});
    }
    return Position{p.block + 1};
}

std::optional<Position> Cursor::step_left(const Position& p) const {
    Position previous = p;
    if (p.offset > 0) {
        --previous.offset;
        return previous;
    }
    if (p.in_table()) {
        if (p.paragraph > 0) {
            Position end{p.block, p.row, p.cell, p.paragraph - 1, 0};
            end.offset = paragraph(end).length();
            return end;
        }
        if (auto c = previous_cell(p.block, {p.row, p.cell})) return cell_end(p.block, *c);
        if (p.block == 0) return std::nullopt;
        Position end{p.block - 1};
        end.offset = paragraph(end).length();
        return end;
    }
    if (p.block == 0) return std::nullopt;
    const Block& before = doc_.body[static_cast<std::size_t>(p.block - 1)];
    if (const auto* t = std::get_if<Table>(&before)) {
        const int last_row = static_cast<int>(t->rows.size()) - 1;
        CellIndex last{last_row, static_cast<int>(t->rows.back().cells.size()) - 1};
        last = merge_top(p.block - 1, last);
        return cell_end(p.block - 1, last);
    }
    Position end{p.block - 1};
    end.offset = paragraph(end).length();
    return end;
}

std::optional<Position> Cursor::line_down(const Position& p) const {
    if (!p.in_table()) {
        if (p.block + 1 >= static_cast<int>(doc_.body.size())) return std::nullopt;
        if (std::holds_alternative<Table>(doc_.body[static_cast<std::size_t>(p.block + 1)])) {
            return cell_start(p.block + 1, {0, 0});
        }
        Position next{p.block + 1};
        next.offset = std::min(p.offset, paragraph(next).length());
        return next;
    }
    // The next line of the cell.
    const Paragraph& here = paragraph(p);
    const auto [start, end] = line_of(here, p.offset);
    if (end < here.length()) return Position{p.block, p.row, p.cell, p.paragraph, end + 1};
    if (p.paragraph + 1 < static_cast<int>(cell(p).paragraphs.size())) {
        return Position{p.block, p.row, p.cell, p.paragraph + 1, 0};
    }
    // The cell below, past the rows this cell spans.
    const Table& t = table(p.block);
    const int x = caret_x(p);
    int row = merge_bottom_row(p.block, {p.row, p.cell}) + 1;
    while (row < static_cast<int>(t.rows.size())) {
        const CellIndex below{row, cell_at(p.block, row, x)};
        const Cell& target =
            t.rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(below.cell)];
        if (target.merge != VerticalMerge::kContinue) return land_in_cell(p.block, below, p, true);
        ++row;
    }
    return Position{p.block + 1};
}

std::optional<Position> Cursor::line_up(const Position& p) const {
    if (!p.in_table()) {
        if (p.block == 0) return std::nullopt;
        const Block& before = doc_.body[static_cast<std::size_t>(p.block - 1)];
        if (const auto* t = std::get_if<Table>(&before)) {
            const int last_row = static_cast<int>(t->rows.size()) - 1;
            return cell_start(p.block - 1, merge_top(p.block - 1, {last_row, 0}));
        }
        Position previous{p.block - 1};
        previous.offset = std::min(p.offset, paragraph(previous).length());
        return previous;
    }
    const Paragraph& here = paragraph(p);
    const auto [start, end] = line_of(here, p.offset);
    if (start > 0) {
        const auto [above_start, above_end] = line_of(here, start - 1);
        return Position{p.block, p.row, p.cell, p.paragraph,
                        std::min(above_start + (p.offset - start), above_end)};
    }
    if (p.paragraph > 0) {
        Position end_of_previous{p.block, p.row, p.cell, p.paragraph - 1, 0};
        end_of_previous.offset = paragraph(end_of_previous).length();
        return end_of_previous;
    }
    if (p.row == 0) {
        if (p.block == 0) return std::nullopt;
        Position before{p.block - 1};
        before.offset = paragraph(before).length();
        return before;
    }
    const int x = caret_x(p);
    const CellIndex above = merge_top(p.block, {p.row - 1, cell_at(p.block, p.row - 1, x)});
    return land_in_cell(p.block, above, p, false);
}

void Cursor::collapse(bool to_end) {
    if (cells_) {
        const std::vector<CellIndex> cells = selected_cells();
        const int block = active_.block;
        cells_ = false;
        if (!to_end) {
            active_ = cell_start(block, cells.front());
        } else {
            // After the last selected cell that holds text (a merged cell
            // ends in its first row, where its text is).
            CellIndex last = cells.front();
            const Table& t = table(block);
            for (const CellIndex& c : cells) {
                const Cell& candidate =
                    t.rows[static_cast<std::size_t>(c.row)].cells[static_cast<std::size_t>(c.cell)];
                if (candidate.merge != VerticalMerge::kContinue) last = c;
            }
            const auto next = next_cell(block, last);
            active_ = next ? cell_start(block, *next) : Position{block + 1};
        }
    } else {
        const bool active_first = active_.offset < anchor_.offset;
        if (to_end != active_first) active_ = anchor_;
    }
    anchor_ = active_;
}

bool Cursor::extend_step(bool right) {
    if (cells_) {
        const CellIndex at{active_.row, active_.cell};
        const auto next = right ? next_cell(active_.block, at) : previous_cell(active_.block, at);
        if (!next) return false;
        active_ = cell_start(active_.block, *next);
        return true;
    }
    const Paragraph& here = paragraph(active_);
    if (right ? active_.offset < here.length() : active_.offset > 0) {
        active_.offset += right ? 1 : -1;
        return true;
    }
    // Past the text of a cell: the whole cell (then the cells beside it).
    if (active_.in_table() && anchor_.row == active_.row && anchor_.cell == active_.cell) {
        cells_ = true;
        if (!right) {
            const auto previous = previous_cell(active_.block, {active_.row, active_.cell});
            if (previous) active_ = cell_start(active_.block, *previous);
        }
        return true;
    }
    return false;  // a text selection stays in its paragraph
}

bool Cursor::extend_line(bool down) {
    if (!active_.in_table()) return false;
    cells_ = true;
    const auto next = down ? line_down(active_) : line_up(active_);
    if (!next || !next->in_table() || next->block != active_.block) return false;
    // Line moves inside one cell keep the same cell selected.
    if (next->row == active_.row && next->cell == active_.cell) return true;
    active_ = cell_start(next->block, {next->row, next->cell});
    return true;
}

int Cursor::move_by_characters(int count, bool right, bool extend) {
    int moved = 0;
    if (!extend && !collapsed()) {
        collapse(right);
        ++moved;
    }
    for (; moved < count; ++moved) {
        if (extend) {
            if (!extend_step(right)) break;
            continue;
        }
        const auto next = right ? step_right(active_) : step_left(active_);
        if (!next) break;
        active_ = anchor_ = *next;
    }
    return moved;
}

int Cursor::move_by_lines(int count, bool down, bool extend) {
    int moved = 0;
    if (!extend && !collapsed()) collapse(down);
    for (; moved < count; ++moved) {
        if (extend) {
            if (!extend_line(down)) break;
            continue;
        }
        const auto next = down ? line_down(active_) : line_up(active_);
        if (!next) break;
        active_ = anchor_ = *next;
    }
    return moved;
}

std::optional<int> Cursor::move_left(int unit, int count, bool extend) {
    if (unit == kUnitCharacter) return move_by_characters(count, false, extend);
    if (unit == kUnitLine) return move_by_lines(count, false, extend);
    return std::nullopt;
}

std::optional<int> Cursor::move_right(int unit, int count, bool extend) {
    if (unit == kUnitCharacter) return move_by_characters(count, true, extend);
    if (unit == kUnitLine) return move_by_lines(count, true, extend);
    return std::nullopt;
}

std::optional<int> Cursor::move_up(int unit, int count, bool extend) {
    if (unit != kUnitLine) return std::nullopt;
    return move_by_lines(count, false, extend);
}

std::optional<int> Cursor::move_down(int unit, int count, bool extend) {
    if (unit != kUnitLine) return std::nullopt;
    return move_by_lines(count, true, extend);
}

void Cursor::place_in_cell(int block, CellIndex c) {
    cells_ = false;
    active_ = anchor_ = cell_start(block, c);
}

std::optional<int> Cursor::table_block() const {
    if (!active_.in_table()) return std::nullopt;
    return active_.block;
}

std::optional<int> Cursor::body_paragraph() const {
    if (active_.in_table() || anchor_.in_table()) return std::nullopt;
    return active_.block;
}

std::vector<CellIndex> Cursor::selected_cells() const {
    std::vector<CellIndex> cells;
    if (!active_.in_table()) return cells;
    const int block = active_.block;
    if (!cells_) {
        cells.push_back({active_.row, active_.cell});
        return cells;
    }
    const CellIndex a{anchor_.row, anchor_.cell};
    const CellIndex b{active_.row, active_.cell};
    const int left = std::min(cell_left(block, a), cell_left(block, b));
    const int right = std::max(cell_left(block, a) + cell(anchor_).width,
                               cell_left(block, b) + cell(active_).width);
    const int top = std::min(a.row, b.row);
    const int bottom = std::max(merge_bottom_row(block, a), merge_bottom_row(block, b));
    const Table& t = table(block);
    for (int r = top; r <= bottom; ++r) {
        int x = 0;
        const Row& row = t.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            const int w = row.cells[static_cast<std::size_t>(c)].width;
            if (x >= left && x + w <= right) cells.push_back({r, c});
            x += w;
        }
    }
    return cells;
}

std::vector<int> Cursor::selected_rows() const {
    std::vector<int> rows;
    for (const CellIndex& c : selected_cells()) {
        if (rows.empty() || rows.back() != c.row) rows.push_back(c.row);
    }
    return rows;
}

}  // namespace kvd::word
