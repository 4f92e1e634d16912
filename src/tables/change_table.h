#pragma once
// CChangeTable (修改记录表): the modification log the field tester stored for
// every reading changed on site: per change the raw record before it, at it
// and after it, with a separator row between changes. Shown unchanged from the
// file (the program's own edits are not logged here). Read-only.
//
// Rows: row 0 the titles, then 4 rows per logged change (before, at, after,
// separator) less the separator after the last; column 0 holds the row
// labels. On paper a page always holds whole changes: the rows per page are
// brought to a multiple of 4.

#include <string>

#include "tables/my_grid.h"

namespace kvd {

class CChangeTable : public CMyGrid {
  public:
    static constexpr int kRowsPerChange = 4;
    // The titles are centred lines of text (not single-line cells).
    static constexpr TextFormat kTitleFormat = 0x8001;

    CChangeTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    void fill() override;
    std::string table_name() const override { return "修改记录表"; }
    bool follows_corrections() const override { return false; }

    // The rows per page of the plain layout brought to a multiple of 4:
    // remainder 1 and 2 round down; remainder 3 rounds up when the extra row
    // still fits on the page (extra_row_fits), else down.
    static int round_rows_per_page(int rows, bool extra_row_fits);

  protected:
    int rows_per_page(const PageSetup& setup, int band_height) const override;
    void print_column_band(PrintPage& page) override;
    void print_body(PrintPage& page) override;
    bool prints_sign_off(int, const PrintContent&) const override { return true; }
    void compute_printed_channels() override;

  private:
    int paper_units() const;
    int paper_x(int unit, int width) const;
};

}  // namespace kvd
