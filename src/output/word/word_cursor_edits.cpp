// Cursor: typing, breaks, pictures, formatting and merging cells (see
// word_cursor.h).

#include <algorithm>
#include <iterator>
#include <map>

#include "output/word/word_cursor.h"

namespace kvd::word {

using namespace content;

namespace {

bool is_text(const Run& run) { return run.picture < 0 && !run.page_break; }

// Splits the run holding character `offset` so that a run starts there;
// answers the index of that run (runs.size() at the paragraph's end).
std::size_t split_at(Paragraph& p, int offset) {
    int at = 0;
    for (std::size_t i = 0; i < p.runs.size(); ++i) {
        if (offset == at) return i;
        const int length = p.runs[i].length();
        if (offset < at + length) {
            // Only a text run is longer than one character.
            Run tail = p.runs[i];
            const std::size_t byte = utf8_offset(p.runs[i].text, offset - at);
            tail.text = p.runs[i].text.substr(byte);
            p.runs[i].text.resize(byte);
            p.runs.insert(p.runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return i + 1;
        }
        at += length;
    }
    return p.runs.size();
}

void insert_run(Paragraph& p, int offset, Run run) {
    // Text goes into a neighbouring text run of the same font where there is one.
    if (is_text(run)) {
        int at = 0;
        for (Run& existing : p.runs) {
            const int length = existing.length();
            if (is_text(existing) && existing.font == run.font && offset >= at &&
                offset <= at + length) {
                existing.text.insert(utf8_offset(existing.text, offset - at), run.text);
                return;
            }
            at += length;
        }
    }
    const std::size_t index = split_at(p, offset);
    p.runs.insert(p.runs.begin() + static_cast<std::ptrdiff_t>(index), std::move(run));
}

void append_content(Cell& into, Cell& from) {
    for (Paragraph& p : from.paragraphs) {
        if (p.runs.empty()) continue;
        if (into.empty())
            into.paragraphs = {std::move(p)};
        else
            into.paragraphs.push_back(std::move(p));
    }
    const Alignment alignment = from.paragraphs.front().alignment;
    from.paragraphs = {Paragraph{alignment, {}}};
}

}  // namespace

void Cursor::clear_cell(int block, CellIndex c) {
    Cell& target = table(block).rows[static_cast<std::size_t>(c.row)]
                       .cells[static_cast<std::size_t>(c.cell)];
    const Alignment alignment = target.paragraphs.front().alignment;
    target.paragraphs = {Paragraph{alignment, {}}};
}

void Cursor::delete_selection() {
    if (collapsed()) return;
    if (cells_) {
        const std::vector<CellIndex> cells = selected_cells();
        for (const CellIndex& c : cells) clear_cell(active_.block, c);
        cells_ = false;
        active_ = anchor_ = cell_start(active_.block, cells.front());
        return;
    }
    // A text selection lies in one paragraph.
    const int from = std::min(anchor_.offset, active_.offset);
    const int to = std::max(anchor_.offset, active_.offset);
    Paragraph& p = paragraph(active_);
    const std::size_t last = split_at(p, to);
    const std::size_t first = split_at(p, from);
    p.runs.erase(p.runs.begin() + static_cast<std::ptrdiff_t>(first),
                 p.runs.begin() + static_cast<std::ptrdiff_t>(last));
    active_.offset = from;
    anchor_ = active_;
}

bool Cursor::type_text(std::string_view text) {
    delete_selection();
    if (text.empty()) return true;
    Run run;
    run.text = std::string(text);
    run.font = font_;
    insert_run(paragraph(active_), active_.offset, std::move(run));
    active_.offset += utf8_length(text);
    anchor_ = active_;
    return true;
}

void Cursor::split_paragraph(bool page_break) {
    Paragraph& here = paragraph(active_);
    if (page_break) {
        Run run;
        run.font = font_;
        run.page_break = true;
        insert_run(here, active_.offset, std::move(run));
        ++active_.offset;
    }
    const std::size_t index = split_at(here, active_.offset);
    Paragraph next{here.alignment, {}};
    std::move(here.runs.begin() + static_cast<std::ptrdiff_t>(index), here.runs.end(),
              std::back_inserter(next.runs));
    here.runs.erase(here.runs.begin() + static_cast<std::ptrdiff_t>(index), here.runs.end());
    if (active_.in_table()) {
        Cell& c = table(active_.block).rows[static_cast<std::size_t>(active_.row)]
                      .cells[static_cast<std::size_t>(active_.cell)];
        c.paragraphs.insert(c.paragraphs.begin() + active_.paragraph + 1, std::move(next));
        ++active_.paragraph;
    } else {
        doc_.body.emplace(doc_.body.begin() + active_.block + 1, std::in_place_type<Paragraph>,
                         std::move(next));
        ++active_.block;
    }
    active_.offset = 0;
    anchor_ = active_;
}

bool Cursor::type_paragraph() {
    delete_selection();
    split_paragraph(false);
    return true;
}

bool Cursor::insert_break(int type) {
    if (type != kPageBreak) return false;
    if (active_.in_table()) {
        // A page cannot break inside a row: the break goes after the table.
        cells_ = false;
        active_ = anchor_ = Position{active_.block + 1};
    }
    delete_selection();
    split_paragraph(true);
    return true;
}

bool Cursor::insert_picture(int index) {
    if (index < 0 || index >= static_cast<int>(doc_.pictures.size())) return false;
    delete_selection();
    Run run;
    run.font = font_;
    run.picture = index;
    insert_run(paragraph(active_), active_.offset, std::move(run));
    ++active_.offset;
    anchor_ = active_;
    return true;
}

std::vector<Paragraph*> Cursor::selected_paragraphs() {
    std::vector<Paragraph*> paragraphs;
    if (!cells_) {
        paragraphs.push_back(&paragraph(active_));
        return paragraphs;
    }
    Table& t = table(active_.block);
    for (const CellIndex& c : selected_cells()) {
        Cell& target = t.rows[static_cast<std::size_t>(c.row)].cells[static_cast<std::size_t>(c.cell)];
        for (Paragraph& p : target.paragraphs) paragraphs.push_back(&p);
    }
    return paragraphs;
}

std::vector<Run*> Cursor::selected_runs() {
    std::vector<Run*> runs;
    if (collapsed()) return runs;
    if (cells_) {
        for (Paragraph* p : selected_paragraphs()) {
            for (Run& run : p->runs) runs.push_back(&run);
        }
        return runs;
    }
    Paragraph& p = paragraph(active_);
    const std::size_t last = split_at(p, std::max(anchor_.offset, active_.offset));
    const std::size_t first = split_at(p, std::min(anchor_.offset, active_.offset));
    for (std::size_t i = first; i < last; ++i) runs.push_back(&p.runs[i]);
    return runs;
}

void Cursor::set_bold(bool bold) {
    font_.bold = bold;
    for (Run* run : selected_runs()) run->font.bold = bold;
}

void Cursor::set_half_points(int half_points) {
    font_.half_points = half_points;
    for (Run* run : selected_runs()) run->font.half_points = half_points;
}

void Cursor::set_alignment(Alignment alignment) {
    for (Paragraph* p : selected_paragraphs()) p->alignment = alignment;
}

bool Cursor::merge_cells() {
    const std::vector<CellIndex> cells = selected_cells();
    if (cells.size() < 2) return false;
    const int block = active_.block;
    Table& t = table(block);

    // Per row: the first selected cell and how many follow it; all rows
    // must cover the same stretch of the table.
    std::map<int, std::pair<int, int>> rows;  // row -> (first cell, count)
    for (const CellIndex& c : cells) {
        auto [it, fresh] = rows.try_emplace(c.row, c.cell, 0);
        if (c.cell != it->second.first + it->second.second) return false;
        ++it->second.second;
    }
    int left = -1;
    int width = -1;
    for (const auto& [row, span] : rows) {
        int w = 0;
        for (int k = 0; k < span.second; ++k) {
            w += t.rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(span.first + k)].width;
        }
        const int x = cell_left(block, {row, span.first});
        if (left >= 0 && (x != left || w != width)) return false;
        left = x;
        width = w;
    }

    // Across, then down.
    for (const auto& [row, span] : rows) {
        std::vector<Cell>& row_cells = t.rows[static_cast<std::size_t>(row)].cells;
        Cell& first = row_cells[static_cast<std::size_t>(span.first)];
        for (int k = 1; k < span.second; ++k) {
            append_content(first, row_cells[static_cast<std::size_t>(span.first + k)]);
        }
        first.width = width;
        row_cells.erase(row_cells.begin() + span.first + 1,
                        row_cells.begin() + span.first + span.second);
    }
    const CellIndex top{rows.begin()->first, rows.begin()->second.first};
    if (rows.size() > 1) {
        Cell& first = t.rows[static_cast<std::size_t>(top.row)].cells[static_cast<std::size_t>(top.cell)];
        first.merge = VerticalMerge::kRestart;
        for (auto it = std::next(rows.begin()); it != rows.end(); ++it) {
            Cell& below = t.rows[static_cast<std::size_t>(it->first)]
                              .cells[static_cast<std::size_t>(it->second.first)];
            append_content(first, below);
            below.merge = VerticalMerge::kContinue;
        }
    }
    cells_ = true;
    anchor_ = active_ = cell_start(block, top);
    return true;
}

}  // namespace kvd::word
