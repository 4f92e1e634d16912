#include "output/print/content_print_job.h"

#include "output/print/page_decorations.h"
#include "output/print/print_sections.h"

namespace kvd {

ContentPrintJob::ContentPrintJob(const ReportContent& content, const std::string& title,
                                 const PageSetup& setup, const FontMetrics& metrics)
    : setup_(setup), pages_(content, title, setup, metrics) {}

std::optional<int> ContentPrintJob::page_number(int p) const {
    if (p < 1 || p > total()) return std::nullopt;
    // Numbered as the report's interpretation pages, the only section here.
    SectionCounts counts{};
    counts[static_cast<std::size_t>(section_index(PrintSection::kAnalysisPages))] = total();
    return job_page_number(setup_, counts, p, JobPage{PrintSection::kAnalysisPages, p});
}

bool ContentPrintJob::draw_page(Canvas& canvas, int p, Point printer_offset) {
    if (p < 1 || p > total()) return false;
    CanvasState state(canvas);
    canvas.translate(-printer_offset.x, printer_offset.y);
    canvas.set_background(false, kWhite);
    pages_.draw_page(canvas, p);
    draw_page_decorations(canvas, setup_, page_number(p));
    return true;
}

}  // namespace kvd
