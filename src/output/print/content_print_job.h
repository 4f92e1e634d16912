#pragma once
// ContentPrintJob: a ReportContent (analysis/report_content.h) as a print
// job of its own: the group table "多桩统计表" for the print preview of the
// 多桩统计 window and kvdtool's analyse --pdf, and one test's "承载力分析"
// for analyse --pdf of a single file. Its pages are laid out by ContentPages
// under the title on the given page setup and carry the page number, header
// and footer as the report's text and table pages do (print_sections.h:
// numbered in modes 0 and 2, not in modes 1 and 3).

#include <optional>
#include <string>

#include "output/print/content_pages.h"
#include "output/print/print_pages.h"

namespace kvd {

class ContentPrintJob : public PrintPages {
public:
    ContentPrintJob(const ReportContent& content, const std::string& title, const PageSetup& setup,
                    const FontMetrics& metrics);

    int total() const override { return pages_.page_count(); }
    bool empty() const { return total() == 0; }
    Size paper() const override { return {setup_.paper_width, setup_.paper_height}; }
    std::optional<int> page_number(int p) const;

    // Draws page p (from 1) as PrintJob::draw_page does; false outside 1 ... total.
    bool draw_page(Canvas& canvas, int p, Point printer_offset = {}) override;

private:
    PageSetup setup_;
    ContentPages pages_;
};

}  // namespace kvd
