#pragma once
// CMZTable (锚桩上拔量汇总表): per load grade, the uplift of every anchor pile
// (channels of ChannelRole 2) within the grade and cumulatively, so that the
// engineer sees that the reaction system stayed sound. Column 0 holds the
// grade's load; columns 2k + 1 and 2k + 2 belong to the k-th anchor channel.
// Read-only; a test without anchor channels shows the header alone, says so
// (empty_text) and prints nothing.

#include <string>
#include <vector>

#include "tables/my_grid.h"

namespace kvd {

class CMZTable : public CMyGrid {
  public:
    CMZTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    void fill() override;
    std::string table_name() const override { return "锚桩上拔量汇总表"; }
    std::vector<HeaderCaption> header_captions() const override;
    std::string empty_text() const override;
    std::optional<CellRange> change_range(int grade, int reading) const override;

    // The anchor channels of the last fill, ascending, 0-based.
    const std::vector<int>& anchor_channels() const { return anchors_; }
    std::optional<int> page_count_without_fill(PageSetup& setup) const override;

  protected:
    int printable_rows() const override;
    void print_column_band(PrintPage& page) override;

  private:
    std::vector<int> anchors_;
};

}  // namespace kvd
