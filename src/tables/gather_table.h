#pragma once
// CGatherTable (汇总表): one row per load grade with its serial number, load,
// holding and cumulative time and the settlement (or uplift) of the grade and
// cumulative; on paper it ends with the maxima line. Read-only.

#include <array>

#include "tables/my_grid.h"

namespace kvd {

class CGatherTable : public CMyGrid {
public:
    CGatherTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    void fill() override;
    std::string table_name() const override { return "汇总表"; }
    std::vector<HeaderCaption> header_captions() const override;
    std::optional<CellRange> change_range(int grade, int reading) const override;

    // The three texts of the maxima line.
    std::array<std::string, 3> maxima_texts() const;
    std::optional<int> page_count_without_fill(PageSetup& setup) const override;

protected:
    int printable_rows() const override;
    void print_column_band(PrintPage& page) override;
    void print_body(PrintPage& page) override;
};

}  // namespace kvd
