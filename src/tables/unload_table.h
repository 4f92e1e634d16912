#pragma once
// CUnloadTable (卸载详测表): every reading of every unloading grade. Column j
// is grade (number of loading grades) + j - 1; loading grades are not shown,
// and a test without unloading grades leaves only the time column. Its times
// follow the unloading intervals.

#include "tables/test_table.h"

namespace kvd {

class CUnloadTable : public CTestTable {
  public:
    CUnloadTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    std::string table_name() const override { return "卸载详测表"; }
    int control_id() const override { return kUnloadTableId; }
    int first_grade() const override;
    int shown_grades() const override;
};

}  // namespace kvd
