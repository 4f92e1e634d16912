#pragma once
// CLoadTable (加载详测表): every reading of every loading grade. Its first
// grade column is the test's first grade, whose reading 0 (row 1) is the only
// row-1 cell of either detail table that may be edited; its times follow the
// loading intervals.

#include "tables/test_table.h"

namespace kvd {

class CLoadTable : public CTestTable {
  public:
    CLoadTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    std::string table_name() const override { return "加载详测表"; }
    int control_id() const override { return kLoadTableId; }
    int first_grade() const override { return 0; }
    int shown_grades() const override;
};

}  // namespace kvd
