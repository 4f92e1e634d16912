#pragma once
// The content of a word-processor document as the word object model builds it
// and the .docx writer stores it: a body of paragraphs and tables, paragraphs
// of runs, tables of rows of cells, and the pictures the runs show.
//
//   WordDocument
//     body: Block = Paragraph | Table          (a table is always followed by a paragraph)
//       Paragraph: alignment, runs (text with one font, a picture or a page break)
//       Table: style, look flags, layout, rows
//         Row: heading flag, height and its rule, cells
//           Cell: width, vertical merge, vertical alignment, paragraphs (at least one)
//     pictures: the embedded files (WMF), their natural size and scale
//
// Lengths are twips (1/20 point) unless a name says otherwise. A cell spanning
// several columns of the table's grid is simply wider: the writer derives the
// grid from the cell edges of all rows. Text is UTF-8; '\n' in a run is a line
// break inside its paragraph and '\t' a tab.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/byte_image.h"

// The automation objects (word_objects.h) share names with what they edit
// (Table, Cell, Font), so the content lives in its own namespace.
namespace kvd::word::content {

inline constexpr int kTwipsPerPoint = 20;
// The body font size of a new document, in half points (10.5 pt).
inline constexpr int kDefaultHalfPoints = 21;

struct RunFont {
    bool bold = false;
    int half_points = kDefaultHalfPoints;
    friend bool operator==(const RunFont&, const RunFont&) = default;
};

// Paragraph alignments, numbered as the ParagraphFormat member takes them.
enum class Alignment : std::uint8_t { kLeft = 0, kCentre = 1, kRight = 2, kJustify = 3 };

struct Run {
    std::string text;  // empty for a picture or a page break
    RunFont font;
    int picture = -1;  // index into WordDocument::pictures when the run is a picture
    bool page_break = false;
    // Characters the run counts for cursor moves: code points of its text, or
    // 1 for a picture or a page break.
    int length() const;
};

struct Paragraph {
    Alignment alignment = Alignment::kJustify;
    std::vector<Run> runs;
    int length() const;
    // The text of its text runs, line breaks included.
    std::string text() const;
};

enum class VerticalMerge : std::uint8_t { kNone, kRestart, kContinue };
// Vertical alignments, numbered as the Cells member takes them.
enum class VerticalAlignment : std::uint8_t { kTop = 0, kCentre = 1, kBottom = 3 };

struct Cell {
    int width = 0;
    VerticalMerge merge = VerticalMerge::kNone;
    VerticalAlignment vertical = VerticalAlignment::kTop;
    std::vector<Paragraph> paragraphs;  // at least one
    std::string text() const;           // paragraphs joined by '\n'
    bool empty() const;
};

// Row height rules, numbered as the Rows member takes them.
enum class HeightRule : std::uint8_t { kAuto = 0, kAtLeast = 1, kExactly = 2 };

struct Row {
    std::vector<Cell> cells;
    bool heading = false;  // repeated at the top of every page the table runs onto
    int height = 0;
    HeightRule height_rule = HeightRule::kAuto;
};

// Which parts of a table the conditional formats of its style apply to.
enum TableLook { kLookHeadingRows = 0, kLookLastRow, kLookFirstColumn, kLookLastColumn };

struct Table {
    int id = 0;                     // unique in its document, for the automation handles
    std::vector<Row> rows;
    std::string style;              // the style's name as the model shows it
    bool borders = false;           // single lines round and between all cells
    bool fixed_layout = true;       // false: the reader widens columns to their contents
    std::array<bool, 4> look{};     // by TableLook
};

using Block = std::variant<Paragraph, Table>;

struct Picture {
    Bytes data;
    std::string extension;     // "wmf"
    std::string content_type;  // "image/x-wmf"
    std::int64_t width_emu = 0;   // natural size, English metric units (914400 per inch)
    std::int64_t height_emu = 0;
    int scale_percent = 100;   // of the natural size, width and height alike
};

// An A4 portrait page with 2.54 cm margins, the page of a new document.
struct PageLayout {
    int width = 11906;
    int height = 16838;
    int top = 1440;
    int bottom = 1440;
    int left = 1440;
    int right = 1440;
    int text_width() const { return width - left - right; }
};

// The built-in table style names of the model: the plain table of a new
// document and the grid style every word processor knows.
inline constexpr char kPlainTableStyle[] = "普通表格";
inline constexpr char kGridTableStyle[] = "网格型";

struct WordDocument {
    std::vector<Block> body{Paragraph{}};
    std::vector<Picture> pictures;
    PageLayout page;
    // The style a new table gets (a template may make it the grid style).
    std::string new_table_style = kPlainTableStyle;
};

// Code points of UTF-8 text.
int utf8_length(std::string_view text);
// Byte offset of the code point at index `chars` (the text's size past its end).
std::size_t utf8_offset(std::string_view text, int chars);

}  // namespace kvd::word::content
