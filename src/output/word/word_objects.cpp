#include "output/word/word_objects.h"

#include <algorithm>
#include <cmath>

#include "base/file_io.h"
#include "base/format.h"
#include "output/word/picture_file.h"

namespace kvd::word {

using content::Alignment;

namespace {

// Limits of a table, as a word processor keeps them.
constexpr int kMaxColumns = 63;
constexpr int kMaxRows = 32767 * 64;
constexpr int kMaxSplitRows = 64;
constexpr double kMaxFontPoints = 1638;
constexpr double kMaxRowPoints = 1584;
constexpr int kMinScale = 1;
constexpr int kMaxScale = 1000;

const char* bool_text(int extend) { return extend ? ", 1" : ""; }

// `count` widths adding up to `total`, the last taking what division leaves.
std::vector<int> equal_widths(int total, int count) {
    std::vector<int> widths(static_cast<std::size_t>(count), total / count);
    widths.back() += total - total / count * count;
    return widths;
}

content::Cell empty_cell(int width, Alignment alignment) {
    content::Cell cell;
    cell.width = width;
    cell.paragraphs = {content::Paragraph{alignment, {}}};
    return cell;
}

}  // namespace

// --- Application, Documents, Document --------------------------------------

void Application::set_visible(int visible) {
    visible_ = visible != 0;
    if (logging_) log(strprintf("Application.Visible = %d", visible));
}

Documents Application::documents() {
    if (logging_) log("Application.Documents");
    return Documents(*this);
}

Document* Application::active_document() {
    if (logging_) log("Application.ActiveDocument");
    return active_;
}

std::optional<Selection> Application::selection() {
    if (logging_) log("Application.Selection");
    if (!active_) return std::nullopt;
    return Selection(*active_);
}

Document* Documents::add(const std::string& template_name, bool as_template, int document_type) {
    if (app_->logging()) {
        app_->log(strprintf("Documents.Add(\"%s\", %d, %d)", template_name.c_str(),
                            as_template ? 1 : 0, document_type));
    }
    // Only the blank document of the word processor is known here.
    if (!template_name.empty() || as_template || document_type != 0) return nullptr;
    app_->documents_.push_back(std::make_unique<Document>(*app_, app_->template_));
    app_->active_ = app_->documents_.back().get();
    return app_->active_;
}

int Documents::count() const { return static_cast<int>(app_->documents_.size()); }

Document::Document(Application& application, content::WordDocument content)
    : app_(application), content_(std::move(content)), cursor_(content_) {}

bool Document::logging() const { return app_.logging(); }

void Document::log(const char* object, const char* member, int id, const std::string& arguments) {
    if (!app_.logging()) return;
    (void)id;
    app_.log(strprintf("%s.%s%s", object, member, arguments.c_str()));
}

Range Document::range(std::optional<int> start, std::optional<int> end) {
    log("Document", "Range", dispid::kDocumentRange, "()");
    if (start || end) return Range(*this, Position{});
    return Range(*this, std::nullopt);
}

content::Table* Document::find_table(int table_id) {
    const int block = table_block(table_id);
    if (block < 0) return nullptr;
    return &std::get<content::Table>(content_.body[static_cast<std::size_t>(block)]);
}

int Document::table_block(int table_id) const {
    for (std::size_t i = 0; i < content_.body.size(); ++i) {
        const auto* table = std::get_if<content::Table>(&content_.body[i]);
        if (table && table->id == table_id) return static_cast<int>(i);
    }
    return -1;
}

// --- Selection and what it hands out ---------------------------------------

Font Selection::font() const {
    if (doc_->logging()) doc_->log("Selection", "Font", dispid::kFont);
    return Font(*doc_);
}
Cells Selection::cells() const {
    if (doc_->logging()) doc_->log("Selection", "Cells", dispid::kCells);
    return Cells(*doc_);
}
Rows Selection::rows() const {
    if (doc_->logging()) doc_->log("Selection", "Rows", dispid::kRows);
    return Rows(*doc_);
}
Range Selection::range() const {
    if (doc_->logging()) doc_->log("Selection", "Range", dispid::kRange);
    return Range(*doc_, doc_->cursor().active());
}
InlineShapes Selection::inline_shapes() const {
    if (doc_->logging()) doc_->log("Selection", "InlineShapes", dispid::kInlineShapes);
    return InlineShapes(*doc_);
}
ParagraphFormat Selection::paragraph_format() const {
    if (doc_->logging()) doc_->log("Selection", "ParagraphFormat", dispid::kParagraphFormat);
    return ParagraphFormat(*doc_);
}

bool Selection::insert_break(int type) {
    if (doc_->logging()) doc_->log("Selection", "InsertBreak", dispid::kInsertBreak, strprintf("(%d)", type));
    return doc_->cursor().insert_break(type);
}

std::optional<int> Selection::move_left(int unit, int count, int extend) {
    if (doc_->logging()) doc_->log("Selection", "MoveLeft", dispid::kMoveLeft,
              strprintf("(%d, %d%s)", unit, count, bool_text(extend)));
    return doc_->cursor().move_left(unit, count, extend == kExtend);
}
std::optional<int> Selection::move_right(int unit, int count, int extend) {
    if (doc_->logging()) doc_->log("Selection", "MoveRight", dispid::kMoveRight,
              strprintf("(%d, %d%s)", unit, count, bool_text(extend)));
    return doc_->cursor().move_right(unit, count, extend == kExtend);
}
std::optional<int> Selection::move_up(int unit, int count, int extend) {
    if (doc_->logging()) doc_->log("Selection", "MoveUp", dispid::kMoveUp,
              strprintf("(%d, %d%s)", unit, count, bool_text(extend)));
    return doc_->cursor().move_up(unit, count, extend == kExtend);
}
std::optional<int> Selection::move_down(int unit, int count, int extend) {
    if (doc_->logging()) doc_->log("Selection", "MoveDown", dispid::kMoveDown,
              strprintf("(%d, %d%s)", unit, count, bool_text(extend)));
    return doc_->cursor().move_down(unit, count, extend == kExtend);
}

bool Selection::type_text(std::string_view text) {
    if (doc_->logging()) doc_->log("Selection", "TypeText", dispid::kTypeText,
              "(\"" + std::string(text) + "\")");
    return doc_->cursor().type_text(text);
}

bool Selection::type_paragraph() {
    if (doc_->logging()) doc_->log("Selection", "TypeParagraph", dispid::kTypeParagraph, "()");
    return doc_->cursor().type_paragraph();
}

bool Font::set_bold(int value) {
    if (doc_->logging()) doc_->log("Font", "Bold", dispid::kBold, strprintf(" = %d", value));
    Cursor& cursor = doc_->cursor();
    if (value == kToggle)
        cursor.set_bold(!cursor.bold());
    else if (value == 0 || value == kTrue || value == 1)
        cursor.set_bold(value != 0);
    else
        return false;
    return true;
}

bool Font::set_size(double points) {
    if (doc_->logging()) doc_->log("Font", "Size", dispid::kSize, strprintf(" = %g", points));
    if (!(points >= 1 && points <= kMaxFontPoints)) return false;
    doc_->cursor().set_half_points(static_cast<int>(std::lround(points * 2)));
    return true;
}

bool ParagraphFormat::set_alignment(int alignment) {
    if (doc_->logging()) doc_->log("ParagraphFormat", "Alignment", dispid::kAlignment, strprintf(" = %d", alignment));
    if (alignment < 0 || alignment > 3) return false;
    doc_->cursor().set_alignment(static_cast<Alignment>(alignment));
    return true;
}

bool Cells::merge() {
    if (doc_->logging()) doc_->log("Cells", "Merge", dispid::kMerge, "()");
    return doc_->cursor().merge_cells();
}

bool Cells::set_vertical_alignment(int alignment) {
    if (doc_->logging()) doc_->log("Cells", "VerticalAlignment", dispid::kVerticalAlignment,
              strprintf(" = %d", alignment));
    const auto block = doc_->cursor().table_block();
    if (!block || (alignment != 0 && alignment != 1 && alignment != 3)) return false;
    auto& table = std::get<content::Table>(doc_->content().body[static_cast<std::size_t>(*block)]);
    for (const CellIndex& c : doc_->cursor().selected_cells()) {
        table.rows[static_cast<std::size_t>(c.row)].cells[static_cast<std::size_t>(c.cell)].vertical =
            static_cast<content::VerticalAlignment>(alignment);
    }
    return true;
}

namespace {

template <class Change>
bool change_rows(Document& doc, Change change) {
    const auto block = doc.cursor().table_block();
    if (!block) return false;
    auto& table = std::get<content::Table>(doc.content().body[static_cast<std::size_t>(*block)]);
    for (int row : doc.cursor().selected_rows()) change(table.rows[static_cast<std::size_t>(row)]);
    return true;
}

}  // namespace

bool Rows::set_heading_format(int value) {
    if (doc_->logging()) doc_->log("Rows", "HeadingFormat", dispid::kHeadingFormat, strprintf(" = %d", value));
    return change_rows(*doc_, [&](content::Row& row) { row.heading = value != 0; });
}

bool Rows::set_height(double points) {
    if (doc_->logging()) doc_->log("Rows", "Height", dispid::kHeight, strprintf(" = %g", points));
    if (!(points >= 0 && points <= kMaxRowPoints)) return false;
    const int twips = static_cast<int>(std::lround(points * content::kTwipsPerPoint));
    return change_rows(*doc_, [&](content::Row& row) { row.height = twips; });
}

bool Rows::set_height_rule(int rule) {
    if (doc_->logging()) doc_->log("Rows", "HeightRule", dispid::kHeightRule, strprintf(" = %d", rule));
    if (rule < 0 || rule > 2) return false;
    return change_rows(*doc_, [&](content::Row& row) {
        row.height_rule = static_cast<content::HeightRule>(rule);
    });
}

// --- Tables ----------------------------------------------------------------

std::optional<Table> Tables::add(const Range& range, int rows, int columns, int default_behaviour,
                                 int auto_fit) {
    if (doc_->logging()) doc_->log("Tables", "Add", dispid::kTablesAdd,
              strprintf("(Range, %d, %d, %d, %d)", rows, columns, default_behaviour, auto_fit));
    // Tables go into the body; a table inside a table is not offered.
    if (&range.document() != doc_ || !range.position() || range.position()->in_table()) {
        return std::nullopt;
    }
    if (rows < 1 || rows > kMaxRows || columns < 1 || columns > kMaxColumns) return std::nullopt;
    if (auto_fit < 0 || auto_fit > 2) return std::nullopt;

    content::WordDocument& content = doc_->content();
    const Position at = *range.position();
    auto& here = std::get<content::Paragraph>(content.body[static_cast<std::size_t>(at.block)]);
    const Alignment alignment = here.alignment;

    content::Table table;
    table.id = doc_->next_table_id();
    table.style = content.new_table_style;
    table.borders = default_behaviour == 1;
    table.fixed_layout = auto_fit == 0;
    const std::vector<int> widths = equal_widths(content.page.text_width(), columns);
    content::Row row;
    for (int w : widths) row.cells.push_back(empty_cell(w, alignment));
    table.rows.assign(static_cast<std::size_t>(rows), row);

    // An empty paragraph becomes the paragraph after the table; text before
    // the range stays before it, text after it follows it.
    std::size_t index = static_cast<std::size_t>(at.block);
    if (here.length() > 0 && at.offset > 0) {
        content::Paragraph tail{alignment, {}};
        int seen = 0;
        std::vector<content::Run> before;
        for (content::Run& run : here.runs) {
            const int length = run.length();
            if (seen + length <= at.offset) {
                before.push_back(std::move(run));
            } else if (seen >= at.offset) {
                tail.runs.push_back(std::move(run));
            } else {
                content::Run second = run;
                const std::size_t byte = content::utf8_offset(run.text, at.offset - seen);
                second.text = run.text.substr(byte);
                run.text.resize(byte);
                before.push_back(std::move(run));
                tail.runs.push_back(std::move(second));
            }
            seen += length;
        }
        here.runs = std::move(before);
        ++index;
        content.body.insert(content.body.begin() + static_cast<std::ptrdiff_t>(index), std::move(tail));
    }
    const int id = table.id;
    content.body.insert(content.body.begin() + static_cast<std::ptrdiff_t>(index), std::move(table));
    doc_->cursor().place_in_cell(static_cast<int>(index), {0, 0});
    return Table(*doc_, id);
}

content::Table* Table::content() { return doc_->find_table(id_); }

std::optional<Cell> Table::cell(int row, int column) {
    if (doc_->logging()) doc_->log("Table", "Cell", dispid::kCell, strprintf("(%d, %d)", row, column));
    content::Table* t = content();
    if (!t || row < 1 || row > static_cast<int>(t->rows.size())) return std::nullopt;
    const auto& cells = t->rows[static_cast<std::size_t>(row - 1)].cells;
    if (column < 1 || column > static_cast<int>(cells.size())) return std::nullopt;
    return Cell(*doc_, id_, {row - 1, column - 1});
}

std::optional<std::string> Table::style() {
    if (doc_->logging()) doc_->log("Table", "Style", dispid::kStyle);
    content::Table* t = content();
    if (!t) return std::nullopt;
    return t->style;
}

bool Table::set_style(const std::string& name) {
    if (doc_->logging()) doc_->log("Table", "Style", dispid::kStyle, " = \"" + name + "\"");
    content::Table* t = content();
    // Only the styles the model knows; a word processor refuses an unknown name.
    if (!t || (name != content::kGridTableStyle && name != content::kPlainTableStyle)) return false;
    t->style = name;
    return true;
}

bool Table::set_style_option(int member, int value) {
    if (doc_->logging()) doc_->log("Table", strprintf("[%d]", member).c_str(), member, strprintf(" = %d", value));
    content::Table* t = content();
    if (!t || member < dispid::kLookHeadingRows || member > dispid::kLookLastColumn) return false;
    t->look[static_cast<std::size_t>(member - dispid::kLookHeadingRows)] = value != 0;
    return true;
}

bool Table::auto_fit(int behaviour) {
    if (doc_->logging()) doc_->log("Table", "[20]", dispid::kAutoFit, strprintf("(%d)", behaviour));
    content::Table* t = content();
    if (!t || behaviour < 0 || behaviour > 2) return false;
    t->fixed_layout = behaviour == 0;
    return true;
}

bool Table::set_column_width(int column, double points) {
    if (doc_->logging()) {
        doc_->log("Column", "Width", dispid::kColumnWidth, strprintf("(%d, %g)", column, points));
    }
    content::Table* t = content();
    if (!t || t->rows.empty() || column < 1 || !(points >= 1) || points > 1584) return false;
    const std::size_t columns = t->rows.front().cells.size();
    if (static_cast<std::size_t>(column) > columns) return false;
    for (const content::Row& row : t->rows) {
        if (row.cells.size() != columns) return false;
    }
    const int twips = static_cast<int>(points * 20 + 0.5);
    for (content::Row& row : t->rows) row.cells[static_cast<std::size_t>(column - 1)].width = twips;
    return true;
}

bool Cell::split(int rows, int columns) {
    if (doc_->logging()) doc_->log("Cell", "Split", dispid::kSplit, strprintf("(%d, %d)", rows, columns));
    content::Table* t = doc_->find_table(id_);
    if (!t || rows < 1 || rows > kMaxSplitRows || columns < 1 || columns > kMaxColumns) return false;
    content::Row& row = t->rows[static_cast<std::size_t>(at_.row)];
    content::Cell& target = row.cells[static_cast<std::size_t>(at_.cell)];
    if (target.merge != content::VerticalMerge::kNone && rows > 1) return false;
    if (target.width < columns) return false;
    const Alignment alignment = target.paragraphs.front().alignment;
    const std::vector<int> widths = equal_widths(target.width, columns);

    // The new rows under the split cell: the other cells of its row span them.
    std::vector<content::Row> added;
    for (int r = 1; r < rows; ++r) {
        content::Row extra;
        extra.heading = row.heading;
        extra.height = row.height;
        extra.height_rule = row.height_rule;
        for (std::size_t k = 0; k < row.cells.size(); ++k) {
            if (static_cast<int>(k) == at_.cell) {
                for (int w : widths) extra.cells.push_back(empty_cell(w, alignment));
            } else {
                content::Cell spanned = empty_cell(row.cells[k].width, alignment);
                spanned.vertical = row.cells[k].vertical;
                spanned.merge = content::VerticalMerge::kContinue;
                if (row.cells[k].merge == content::VerticalMerge::kNone) {
                    row.cells[k].merge = content::VerticalMerge::kRestart;
                }
                extra.cells.push_back(std::move(spanned));
            }
        }
        added.push_back(std::move(extra));
    }
    std::vector<content::Cell> parts;
    parts.push_back(std::move(target));
    parts.front().width = widths.front();
    for (std::size_t k = 1; k < widths.size(); ++k) parts.push_back(empty_cell(widths[k], alignment));
    row.cells.erase(row.cells.begin() + at_.cell);
    row.cells.insert(row.cells.begin() + at_.cell, std::make_move_iterator(parts.begin()),
                     std::make_move_iterator(parts.end()));
    t->rows.insert(t->rows.begin() + at_.row + 1, std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));

    // The cursor keeps its cell: rows below move down, cells right of the
    // split move along.
    Cursor& cursor = doc_->cursor();
    const Position& p = cursor.active();
    if (p.in_table() && p.block == doc_->table_block(id_)) {
        CellIndex kept{p.row, p.cell};
        if (kept.row > at_.row) kept.row += rows - 1;
        if (kept.row == at_.row && kept.cell > at_.cell) kept.cell += columns - 1;
        cursor.place_in_cell(p.block, kept);
    }
    return true;
}

// --- Pictures --------------------------------------------------------------

std::optional<InlineShape> InlineShapes::add_picture(const std::string& file_name, bool link,
                                                     bool save_with_document) {
    if (doc_->logging()) doc_->log("InlineShapes", "AddPicture", dispid::kAddPicture,
              strprintf("(\"%s\", %d, %d)", file_name.c_str(), link ? 1 : 0,
                        save_with_document ? 1 : 0));
    // Linked pictures are not offered: the document always keeps its own copy.
    if (link || !save_with_document) return std::nullopt;
    Bytes data;
    if (!read_whole_file(file_name, data).ok()) return std::nullopt;
    std::optional<content::Picture> picture = read_picture(std::move(data));
    if (!picture) return std::nullopt;
    auto& pictures = doc_->content().pictures;
    pictures.push_back(std::move(*picture));
    const int index = static_cast<int>(pictures.size()) - 1;
    if (!doc_->cursor().insert_picture(index)) {
        pictures.pop_back();
        return std::nullopt;
    }
    return InlineShape(*doc_, index);
}

bool InlineShape::set_scale_width(int percent) {
    if (doc_->logging()) doc_->log("InlineShape", "[10]", dispid::kScaleWidth, strprintf(" = %d", percent));
    if (percent < kMinScale || percent > kMaxScale) return false;
    doc_->content().pictures[static_cast<std::size_t>(picture_)].scale_percent = percent;
    return true;
}

}  // namespace kvd::word
