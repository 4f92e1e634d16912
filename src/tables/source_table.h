#pragma once
// CSourceTable (原始记录表): the readings exactly as the field tester stored
// them, one row per raw reading in recording order: the grade's load, the
// measured load and oil pressure, the clock time, the actual interval since
// the previous reading (red when the reading came earlier than planned), every
// displacement channel in use, their average and a remark. Read-only.
//
// Its sources are the record's RawReading list and InstrumentParams (the
// tester's own channel roles, interval tables and pressure route); TestParams
// gives the load unit, the direction and the printed channel list.
//
// On paper the first page carries the ten-row test information block and so
// holds 11 rows fewer than the others; every page has the sign-off line.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tables/my_grid.h"

namespace kvd {

// Text colour of the channel columns of the raw record table.
inline constexpr Colour kRawChannelText = rgb(232, 116, 0);
// Text colour of the interval of a reading taken earlier than planned.
inline constexpr Colour kEarlyText = rgb(255, 0, 0);
// Backgrounds of readings of even and odd grade numbers.
inline constexpr Colour kEvenGradeBackground = rgb(255, 255, 255);
inline constexpr Colour kOddGradeBackground = rgb(239, 239, 239);

// Body rows drawn as one cell (grid rows, inclusive).
struct RowSpan {
    int first_row = 0;
    int last_row = 0;
    int rows() const { return last_row - first_row + 1; }
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

class CSourceTable : public CMyGrid {
  public:
    // Rows the first printed page gives to the test information block.
    static constexpr int kInfoBlockRows = 10;
    // Body rows page 1 holds fewer than the others: the block and a spare row.
    static constexpr int kFirstPageRowsFewer = kInfoBlockRows + 1;
    // Rows per page below which the table prints nothing.
    static constexpr int kMinRowsPerPage = 12;

    CSourceTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    void fill() override;
    std::string table_name() const override { return "原始记录表"; }
    bool follows_corrections() const override { return false; }

    // Column 0 shows consecutive readings of one grade as one merged cell.
    // The screen asks, per column, which body rows merge; columns that never
    // merge answer an empty list, as do runs of a single row.
    std::vector<RowSpan> merged_rows(int column) const;
    // The merged cell holding (row, column): a one-row span when the cell is
    // not merged (or does not exist).
    RowSpan merged_span(int row, int column) const;

    // Whether a press on a row applies its reading's control parameters: only
    // files that keep a snapshot per raw reading (test files and analysis
    // files with raw readings).
    bool can_apply_snapshot() const;
    // The left mouse button went down on grid row `row`: applies the snapshot
    // of that row's reading through the document (which tells every view with
    // hint 60). False when nothing was applied; moving the current cell is
    // the widget's part either way.
    bool press_row(int row);

    // Values of the last fill, per raw reading: the average of the test-pile
    // channels, and the change of that average within the grade (the
    // reading's average less the last average of the previous grade; 0 as
    // the base for grade number 1 and for the first grade of the log). Both
    // are to two decimals; 0 for a reading that does not exist.
    double reading_average(int reading) const;
    double this_grade_settlement(int reading) const;

    // The texts of the test information block, row by row, cell by cell
    // (what page 1 prints above the band).
    std::array<std::vector<std::string>, kInfoBlockRows> test_info_texts() const;

    std::optional<int> page_count_without_fill(PageSetup& setup) const override;

  protected:
    int rows_per_page(const PageSetup& setup, int band_height) const override;
    int first_row_of_page(int page, int rows_per_page) const override;
    int page_count_for(int printable, int rows_per_page) const override;
    void print_page_header(PrintPage& page) override;
    void print_column_band(PrintPage& page) override;
    void print_body(PrintPage& page) override;
    bool prints_sign_off(int, const PrintContent&) const override { return true; }
    void compute_printed_channels() override;

  private:
    void set_titles(int channel_columns);
    void print_test_info(PrintPage& page);
    // Paper x of the left edge of printed column i (equal widths).
    int paper_x(int i, int width) const;
    int paper_columns() const;

    std::vector<double> averages_;
    std::vector<double> this_grade_;
    std::vector<int> run_starts_;  // body row of every column-0 run start (ascending)
};

}  // namespace kvd
