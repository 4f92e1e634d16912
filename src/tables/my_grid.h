#pragma once
// CMyGrid: the table layer over CGrid. It adds what every table of the
// program shares: the colour scheme, the link to the document, the menu state
// of the table popup, the edit-start rule, and the page-by-page print
// pipeline whose steps each table overrides:
//
//   page_count:  fill, then rows per page and pages from the page setup
//   print_page:  title line -> page header -> column-title band -> body -> footer
//
// Drawing is in logical units of 0.1 mm with y upwards; the pipeline moves the
// origin to the top-left corner of the printable area, so a page's content
// lies at y <= 0.

#include <optional>
#include <string>
#include <vector>

#include "doc/lbx_doc.h"
#include "doc/page_setup.h"
#include "draw/canvas.h"
#include "tables/grid.h"

namespace kvd {

// The table colour scheme.
inline constexpr Colour kLoadingText = rgb(0, 0, 255);
inline constexpr Colour kUnloadingText = rgb(255, 0, 0);
inline constexpr Colour kLoadingBackground = rgb(255, 255, 255);
inline constexpr Colour kUnloadingBackground = rgb(239, 239, 239);
inline constexpr Colour kEmptyCellColour = rgb(223, 223, 223);
inline constexpr Colour kDisabledText = rgb(128, 128, 128);

// The state of one page while it prints. y is the top of the next band; it
// moves down (decreases) as the steps run.
struct PrintPage {
    Canvas& canvas;
    const PageSetup& setup;
    const PrintContent& content;
    int page = 1;           // from 1
    int first_row = 0;      // first printable row of the page
    int rows = 0;           // printable rows on the page
    int rows_per_page = 0;
    int width = 0;          // printable width
    int row_height = 0;     // paper row height
    int band_height = 0;    // column-title band height
    int y = 0;
};

// A range of cells to redraw after a change (inclusive). to_client_bottom
// extends it to the bottom of the grid's window.
struct CellRange {
    int top_row = 0;
    int left_column = 0;
    int bottom_row = 0;
    int right_column = 0;
    bool to_client_bottom = false;
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

// One caption of a table's header band, as the screen shows it: over one
// column or spanning several, filling the header height or its upper or lower
// half, or one of the two triangles of a corner split by a diagonal.
struct HeaderCaption {
    enum class Part { kFull, kUpper, kLower, kDiagonalUpper, kDiagonalLower };
    int first_column = 0;
    int last_column = 0;
    Part part = Part::kFull;
    std::string text;
    bool bold = false;
    friend bool operator==(const HeaderCaption&, const HeaderCaption&) = default;
};

class CMyGrid : public CGrid {
public:
    CMyGrid(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    CLbxDoc& doc() { return doc_; }
    const CLbxDoc& doc() const { return doc_; }

    // Refills the grid from the document (before a paint that finds it out
    // of date, and before printing). The derived minutes and settlements are
    // the document's: a fill only reads them.
    virtual void fill() = 0;
    // Brings up to date only the cells a change notice of grade g (reading r,
    // or kWholeGrade) can reach, when the grid was filled and the change left
    // its shape as it was; false when it cannot, and the caller fills whole.
    virtual bool refill_changed(int /*grade*/, int /*reading*/) { return false; }
    // "汇总表", "加载详测表", ...
    virtual std::string table_name() const = 0;
    // Whether a correction of a reading or grade (a change notice) can change
    // what the table shows: the raw and modification records show what the
    // tester wrote and do not follow them.
    virtual bool follows_corrections() const { return true; }

    // What the screen says over the body of a table that has nothing to
    // show ("本试验没有卸载数据"); empty while it has rows to show.
    virtual std::string empty_text() const { return {}; }

    // The header band as the screen draws it (the merged looks the grid
    // itself cannot hold). The default is each column's row-0 text.
    virtual std::vector<HeaderCaption> header_captions() const;

    // Menu state of the table popup (1 ... 6; only the detail tables use it).
    int menu_state() const { return menu_state_; }

    // In-place editing. Only a digit, "-" or "." (or a double-click) starts
    // an edit, and only in cells the table allows.
    static bool key_starts_edit(char32_t key) {
        return (key >= '0' && key <= '9') || key == '-' || key == '.';
    }
    virtual bool can_edit(int row, int column) const;
    // Validates and stores the text typed into a cell; false when refused
    // (the table has told the user why) or when the cell is not editable.
    virtual bool end_edit(int row, int column, std::string_view text);

    // Cells to redraw when grade g (reading r, kWholeGrade for the grade)
    // changed; nothing when the table does not show it.
    virtual std::optional<CellRange> change_range(int grade, int reading) const;

    // Printing. page_count fills the grid first and writes the band height
    // into the page setup; print_page prints page n (from 1) and returns
    // false when there is no such page. A print job that has just counted the
    // pages passes refill = false so that a long table is not refilled for
    // every page.
    int page_count(PageSetup& setup, const PrintContent& content);
    bool print_page(Canvas& canvas, int page, PageSetup& setup, const PrintContent& content,
                    bool refill = true);
    // The page count page_count would give, for tables that know it from the
    // record without filling their cells (a long raw record or detail table
    // takes a while to fill, and the print job counts every table before it
    // prints a page). Writes the band height as page_count does. Nothing for
    // a table that must fill to know; the derived values must be up to date.
    virtual std::optional<int> page_count_without_fill(PageSetup& setup) const;

    // The paper x of a column's right edge when the grid's widths are scaled
    // to the printable width.
    int scaled_right(int column, int width) const;
    // The displacement channels a page prints (detail, raw and change tables).
    const std::vector<int>& printed_channels() const { return printed_channels_; }

protected:
    // Pipeline steps; the defaults are the plain table of the grid's cells.
    virtual int printable_rows() const;
    virtual int rows_per_page(const PageSetup& setup, int band_height) const;
    virtual int first_row_of_page(int page, int rows_per_page) const;
    virtual int page_count_for(int printable, int rows_per_page) const;
    virtual std::string title_text(const PrintContent& content) const;
    virtual void print_title(PrintPage& page);
    virtual void print_page_header(PrintPage& page);
    virtual void print_column_band(PrintPage& page);
    virtual void print_body(PrintPage& page);
    virtual void print_footer(PrintPage& page);
    virtual bool prints_sign_off(int page, const PrintContent& content) const;
    virtual void compute_printed_channels();

    // Pages of the grid as it is filled now; writes the band height.
    int count_pages(PageSetup& setup) const;
    // Pages of `printable` rows under a header band of `screen_header`
    // pixels whose first body row is `screen_row` pixels high; writes the
    // band height.
    int count_pages_of_shape(PageSetup& setup, int printable, int screen_header,
                             int screen_row) const;
    // The band height on paper for this grid's header rows.
    int paper_band_height(const PageSetup& setup) const;
    // The height of a header row of three text lines, as the tables fill it.
    int three_line_row_height() const { return 3 * default_row_height() - 2; }
    // Body text font of the printed pages.
    Font body_font(const PrintPage& page) const;
    // One line of text, left-aligned and vertically centred, in a box.
    static void draw_left(Canvas& canvas, const Rect& box, const std::string& text);
    static void draw_centred(Canvas& canvas, const Rect& box, const std::string& text);

    void set_menu_state(int state) { menu_state_ = state; }
    std::vector<int> printed_channels_;

private:
    CLbxDoc& doc_;
    int menu_state_ = 1;
};

}  // namespace kvd
