#pragma once
// Cursor: the selection of the word object model, and everything it edits.
// It behaves as a word processor's selection does for typing a report:
//
//   position   a paragraph of the body, or a paragraph of a table cell, and a
//              character offset in it
//   moves      by character: through the text, then on to the next (previous)
//              cell in row order, out of a table's last cell into the paragraph
//              after it; by line: to the next line of a cell, else to the cell
//              below (above) under the caret, out of the table after its last row
//   extend     a text selection stays in its paragraph; inside a table, moving
//              past a cell's text selects the whole cell, further moves select
//              the rectangle of cells between the anchor cell and the active one
//   collapse   a move without extend first collapses a selection: left to its
//              start, right to its end (after a cell selection: the next cell)
//
// The typing font belongs to the selection: Font changes it (and the text
// selected) and it stays as it is while the cursor moves. A new paragraph
// takes the alignment of the one it is split from; the cells of a new table
// take the alignment of the paragraph where it was added.
//
// Moves answer how many units they moved (fewer at the document's edges);
// edits answer false for what the model cannot do, which the automation layer
// reports as an error of the word processor.

#include <optional>
#include <string_view>
#include <vector>

#include "output/word/word_document.h"

namespace kvd::word {

// The units and extend values of the move calls.
inline constexpr int kUnitCharacter = 1;
inline constexpr int kUnitLine = 5;
inline constexpr int kExtend = 1;
// The page break of InsertBreak.
inline constexpr int kPageBreak = 7;

struct Position {
    int block = 0;
    int row = -1;  // with cell: the table cell the paragraph is in; -1 in the body
    int cell = -1;
    int paragraph = 0;  // in the cell; 0 in the body
    int offset = 0;     // characters into the paragraph
    bool in_table() const { return row >= 0; }
    friend bool operator==(const Position&, const Position&) = default;
};

// A table cell by its row and its index in the row (both from 0).
struct CellIndex {
    int row = 0;
    int cell = 0;
    friend bool operator==(const CellIndex&, const CellIndex&) = default;
};

class Cursor {
public:
    explicit Cursor(content::WordDocument& document) : doc_(document) {}

    content::WordDocument& document() { return doc_; }
    const Position& active() const { return active_; }
    const Position& anchor() const { return anchor_; }
    bool collapsed() const { return !cells_ && anchor_ == active_; }
    bool cell_selection() const { return cells_; }
    const content::RunFont& typing_font() const { return font_; }

    // Moves; unit kUnitCharacter or kUnitLine. Nothing for another unit.
    std::optional<int> move_left(int unit, int count, bool extend);
    std::optional<int> move_right(int unit, int count, bool extend);
    std::optional<int> move_up(int unit, int count, bool extend);
    std::optional<int> move_down(int unit, int count, bool extend);

    // Typing replaces what is selected (the contents of selected cells).
    bool type_text(std::string_view text);
    bool type_paragraph();
    // Only kPageBreak. Inside a table the break goes after the table.
    bool insert_break(int type);
    // Inserts picture `index` of the document at the cursor.
    bool insert_picture(int index);

    // Formatting of what is selected (the cursor's paragraph and the typing
    // font when nothing is).
    void set_bold(bool bold);
    bool bold() const { return font_.bold; }
    void set_half_points(int half_points);
    void set_alignment(content::Alignment alignment);

    // The table the cursor is in (its body block), or nothing.
    std::optional<int> table_block() const;
    // The selected cells of the cursor's table: the rectangle of a cell
    // selection, else the cursor's cell; empty outside a table.
    std::vector<CellIndex> selected_cells() const;
    // The rows the selection touches in its table (ascending).
    std::vector<int> selected_rows() const;
    // Merges the selected cells into one (their text kept in it); the merged
    // cell is then selected. False when fewer than two cells are selected or
    // they do not form a rectangle.
    bool merge_cells();

    // Puts the cursor at the start of a table cell (after a new table).
    void place_in_cell(int block, CellIndex cell);
    // The body paragraph at the cursor, where a table or a range starts;
    // nothing inside a table.
    std::optional<int> body_paragraph() const;

private:
    content::Paragraph& paragraph(const Position& p);
    const content::Paragraph& paragraph(const Position& p) const;
    content::Table& table(int block);
    const content::Table& table(int block) const;
    const content::Cell& cell(const Position& p) const;

    // One step; nothing at the document's edge.
    std::optional<Position> step_right(const Position& p) const;
    std::optional<Position> step_left(const Position& p) const;
    std::optional<Position> line_down(const Position& p) const;
    std::optional<Position> line_up(const Position& p) const;
    int move_by_characters(int count, bool right, bool extend);
    int move_by_lines(int count, bool down, bool extend);
    bool extend_step(bool right);
    bool extend_line(bool down);
    void collapse(bool to_end);

    Position cell_start(int block, CellIndex c) const;
    Position cell_end(int block, CellIndex c) const;
    std::optional<CellIndex> next_cell(int block, CellIndex c) const;
    std::optional<CellIndex> previous_cell(int block, CellIndex c) const;
    // The cell of `row` under x (twips from the table's left edge).
    int cell_at(int block, int row, int x) const;
    int cell_left(int block, CellIndex c) const;
    // The first cell of a vertical merge that `c` belongs to (c itself when
    // it is not a continuation).
    CellIndex merge_top(int block, CellIndex c) const;
    int merge_bottom_row(int block, CellIndex c) const;
    // The caret's x in its cell, its line in the cell and the share of the
    // line before the caret.
    int caret_x(const Position& p) const;
    Position land_in_cell(int block, CellIndex c, const Position& from, bool first_line) const;

    void delete_selection();
    void clear_cell(int block, CellIndex c);
    // Runs of the selection split at its edges, for formatting.
    std::vector<content::Run*> selected_runs();
    std::vector<content::Paragraph*> selected_paragraphs();
    void split_paragraph(bool page_break);

    content::WordDocument& doc_;
    Position anchor_;
    Position active_;
    bool cells_ = false;  // the selection is the cell rectangle of anchor and active
    content::RunFont font_;
};

}  // namespace kvd::word
