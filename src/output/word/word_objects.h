#pragma once
// The word object model: the objects and members a report is written with,
// as a word processor's automation interface offers them, over the document
// content of word_document.h and the cursor of word_cursor.h.
//
//   Application --Documents--> Documents --Add--> Document --Tables--> Tables --Add--> Table
//        |                                            +--Range                          |--Cell--> Cell --Split
//        +--Selection--> Selection --Font, ParagraphFormat, Cells, Rows, Range, InlineShapes
//                           |--Move*, TypeText, TypeParagraph, InsertBreak
//                                                     InlineShapes --AddPicture--> InlineShape
//
// Every object but Application and Document is a small handle onto them, as
// cheap to copy as an automation interface pointer. A member that fails
// answers false or nothing, as the word processor would raise an error.
//
// Three table members and one picture member have no name of their own in
// the report's call list; here they mean:
//   Table 202 ... 205   whether the style's conditional formats apply to the
//                       heading rows, the last row, the first column and the
//                       last column (1 yes, 0 no);
//   Table 20            the fit of the columns: 0 fixed widths, 1 widened to
//                       the contents, 2 stretched to the page;
//   InlineShape 10      the width in percent of the picture's own width; the
//                       height follows, the picture keeping its proportions.
//
// Application keeps a log of the member calls ("Selection.MoveRight(1, 6, 1)")
// so that a caller's call sequence can be checked.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/word/word_cursor.h"
#include "output/word/word_document.h"

namespace kvd::word {

// Dispatch identifiers of the members, as the call log names them.
namespace dispid {
inline constexpr int kVisible = 23, kActiveDocument = 3, kSelection = 5, kDocuments = 6;
inline constexpr int kAdd = 14;  // Documents
inline constexpr int kTables = 6, kDocumentRange = 2000;
inline constexpr int kFont = 5, kCells = 57, kRows = 303, kRange = 400, kInlineShapes = 411,
                     kParagraphFormat = 1102, kInsertBreak = 122, kMoveLeft = 500,
                     kMoveRight = 501, kMoveUp = 502, kMoveDown = 503, kTypeText = 507,
                     kTypeParagraph = 512;
inline constexpr int kBold = 130, kSize = 141, kAlignment = 101;
inline constexpr int kTablesAdd = 200, kCell = 17, kStyle = 201, kLookHeadingRows = 202,
                     kLookLastRow = 203, kLookFirstColumn = 204, kLookLastColumn = 205,
                     kAutoFit = 20;
inline constexpr int kMerge = 204, kVerticalAlignment = 1104, kSplit = 205;
inline constexpr int kHeadingFormat = 5, kHeight = 7, kHeightRule = 8;
inline constexpr int kAddPicture = 100, kScaleWidth = 10;
inline constexpr int kColumnWidth = 1;
}  // namespace dispid

// The value of Font.Bold that turns bold over.
inline constexpr int kToggle = 9999998;
// True as the automation interface writes it.
inline constexpr int kTrue = -1;

class Application;
class Document;

class Range {
public:
    Range(Document& document, std::optional<Position> at) : doc_(&document), at_(at) {}
    Document& document() const { return *doc_; }
    // Where a collapsed range lies; nothing for the whole document.
    const std::optional<Position>& position() const { return at_; }

private:
    Document* doc_;
    std::optional<Position> at_;
};

class Cell {
public:
    Cell(Document& document, int table_id, CellIndex at) : doc_(&document), id_(table_id), at_(at) {}
    // Splits the cell into `rows` rows of `columns` cells of equal width; the
    // other cells of its row then span the new rows.
    bool split(int rows, int columns);

private:
    Document* doc_;
    int id_;
    CellIndex at_;
};

class Table {
public:
    Table(Document& document, int table_id) : doc_(&document), id_(table_id) {}
    // Row and column from 1; the column counts the cells of that row.
    std::optional<Cell> cell(int row, int column);
    std::optional<std::string> style();
    bool set_style(const std::string& name);
    // Members 202 ... 205.
    bool set_style_option(int member, int value);
    // Member 20.
    bool auto_fit(int behaviour);
    // Columns(column).Width: the width of a column (from 1) in points, in
    // every row; false for a table whose rows differ in their cells.
    bool set_column_width(int column, double points);
    int id() const { return id_; }

private:
    content::Table* content();
    Document* doc_;
    int id_;
};

class Tables {
public:
    explicit Tables(Document& document) : doc_(&document) {}
    // A table at a collapsed range in the body: `default_behaviour` 1 gives
    // single lines round and between the cells, `auto_fit` 0 fixed widths;
    // the cursor goes into its first cell.
    std::optional<Table> add(const Range& range, int rows, int columns, int default_behaviour,
                             int auto_fit);

private:
    Document* doc_;
};

class Font {
public:
    explicit Font(Document& document) : doc_(&document) {}
    bool set_bold(int value);  // kToggle, kTrue or 0
    bool set_size(double points);

private:
    Document* doc_;
};

class ParagraphFormat {
public:
    explicit ParagraphFormat(Document& document) : doc_(&document) {}
    bool set_alignment(int alignment);  // 0 left, 1 centre, 2 right, 3 justify

private:
    Document* doc_;
};

class Cells {
public:
    explicit Cells(Document& document) : doc_(&document) {}
    bool merge();
    bool set_vertical_alignment(int alignment);  // 0 top, 1 centre, 3 bottom

private:
    Document* doc_;
};

class Rows {
public:
    explicit Rows(Document& document) : doc_(&document) {}
    bool set_heading_format(int value);  // kTrue or 0
    bool set_height(double points);
    bool set_height_rule(int rule);      // 0 auto, 1 at least, 2 exactly

private:
    Document* doc_;
};

class InlineShape {
public:
    InlineShape(Document& document, int picture) : doc_(&document), picture_(picture) {}
    // Member 10.
    bool set_scale_width(int percent);

private:
    Document* doc_;
    int picture_;
};

class InlineShapes {
public:
    explicit InlineShapes(Document& document) : doc_(&document) {}
    // A picture file kept in the document (link false, save with the
    // document true) at the cursor.
    std::optional<InlineShape> add_picture(const std::string& file_name, bool link,
                                          bool save_with_document);

private:
    Document* doc_;
};

class Selection {
public:
    explicit Selection(Document& document) : doc_(&document) {}
    Font font() const;
    Cells cells() const;
    Rows rows() const;
    Range range() const;
    InlineShapes inline_shapes() const;
    ParagraphFormat paragraph_format() const;
    bool insert_break(int type);
    // Unit kUnitCharacter or kUnitLine; extend kExtend or 0 (omitted).
    std::optional<int> move_left(int unit, int count, int extend = 0);
    std::optional<int> move_right(int unit, int count, int extend = 0);
    std::optional<int> move_up(int unit, int count, int extend = 0);
    std::optional<int> move_down(int unit, int count, int extend = 0);
    bool type_text(std::string_view text);
    bool type_paragraph();

private:
    Document* doc_;
};

class Document {
public:
    Document(Application& application, content::WordDocument content);
    Tables tables() { return Tables(*this); }
    Range range(std::optional<int> start = std::nullopt, std::optional<int> end = std::nullopt);

    content::WordDocument& content() { return content_; }
    const content::WordDocument& content() const { return content_; }
    Cursor& cursor() { return cursor_; }
    Application& application() { return app_; }
    // Whether member calls are logged (their arguments are formatted only then).
    bool logging() const;
    // Logs a member call: object, member, its dispatch identifier, arguments.
    void log(const char* object, const char* member, int id, const std::string& arguments = {});
    int next_table_id() { return ++table_ids_; }
    content::Table* find_table(int table_id);
    // The body block of a table, or -1.
    int table_block(int table_id) const;

private:
    Application& app_;
    content::WordDocument content_;
    Cursor cursor_;
    int table_ids_ = 0;
};

class Documents {
public:
    explicit Documents(Application& application) : app_(&application) {}
    // A new document from the template (empty: the blank one), made the
    // active document.
    Document* add(const std::string& template_name, bool as_template, int document_type);
    int count() const;

private:
    Application* app_;
};

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void set_visible(int visible);
    bool visible() const { return visible_; }
    Documents documents();
    Document* active_document();
    std::optional<Selection> selection();

    // What a new blank document starts as (a template of the word processor).
    content::WordDocument& blank_template() { return template_; }

    // The call log, off unless asked for (a long report makes millions of calls).
    void set_logging(bool on) { logging_ = on; }
    bool logging() const { return logging_; }
    const std::vector<std::string>& calls() const { return calls_; }
    void log(std::string call) { calls_.push_back(std::move(call)); }

private:
    friend class Documents;
    std::vector<std::unique_ptr<Document>> documents_;
    Document* active_ = nullptr;
    content::WordDocument template_;
    bool visible_ = false;
    bool logging_ = false;
    std::vector<std::string> calls_;
};

}  // namespace kvd::word
