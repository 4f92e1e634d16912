#pragma once
// PrintJob: the report of the open document as pages, for the printer, the
// print preview and the PDF report. Made when a print or preview starts, it
// counts the pages of its ten sections (print_sections.h) and then draws
// any one job page on a Canvas through the tables' and curves' own print
// steps, adding the page number, header and footer (page_decorations.h).
//
// The bearing-capacity interpretation, when chosen, is analysed and laid out
// (content_pages.h) while counting: its pages are only known that way.
//
// Counting does not draw: a table that knows its page count from the record
// (all but the short modification record) is not even filled, so the first
// page of a job of thousands of pages is ready as soon as that of a short
// one. A table is filled once, when its first page is drawn; the job assumes
// the record does not change while it lives (printing and the preview are
// modal).
//
// The job owns its tables and curves (made on first use with the metrics
// the screen's tables use) and reads the document's page setup and print
// options; counting writes the band height of the tables into the page setup
// as the tables' own page counts do.

#include <array>
#include <memory>
#include <optional>

#include "curves/image.h"
#include "doc/user_interface.h"
#include "draw/font_metrics.h"
#include "output/print/content_pages.h"
#include "output/print/print_pages.h"
#include "output/print/print_sections.h"
#include "tables/my_grid.h"

namespace kvd {

// Which of the tables made on demand exist. The desktop program makes the
// raw and modification record tables when a file that has them is loaded;
// a table that does not exist prints nothing.
struct PrintTables {
    bool raw_record = true;
    bool modification_record = true;
};

// The tables the record has content for: what exists once the file is open.
PrintTables tables_of_record(const TestRecord& record);

// A printer's unprintable offset, in device pixels at `dpi`, as 0.1 mm.
int device_offset_to_units(int pixels, int dpi);

class PrintJob;
// The start of every print, preview and PDF report: true when the job has
// pages; otherwise a beep and the error box kNothingToPrint, and false.
bool has_pages_to_print(const PrintJob& job, UserInterface& ui);

class PrintJob : public PrintPages {
public:
    PrintJob(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables);
    ~PrintJob() override;
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    const SectionCounts& counts() const { return counts_; }
    int total() const override { return total_; }
    bool empty() const { return total_ == 0; }
    // The paper as placed (landscape swapped), 0.1 mm.
    Size paper() const override;

    std::optional<JobPage> locate(int p) const { return locate_job_page(counts_, p); }
    // The number printed on job page p; nothing for an unnumbered page.
    std::optional<int> page_number(int p) const;

    // Draws job page p (from 1) with the origin at the paper's top-left
    // corner. `printer_offset` is where the device's own origin lies from
    // that corner (its unprintable margin, 0.1 mm, x right and y down): the
    // origin is moved back by it. False, drawing nothing, for a page outside
    // 1 ... total.
    bool draw_page(Canvas& canvas, int p, Point printer_offset = {}) override;

private:
    CMyGrid& table(PrintSection section);
    CImage& curve(CurveKind kind);
    void count(PrintTables tables);

    CLbxDoc& doc_;
    const FontMetrics& metrics_;
    SectionCounts counts_{};
    int total_ = 0;
    std::array<std::unique_ptr<CMyGrid>, kPrintTableSections> tables_;
    std::array<bool, kPrintTableSections> filled_{};
    std::array<std::unique_ptr<CImage>, 3> curves_;
    std::unique_ptr<ContentPages> analysis_;
};

}  // namespace kvd
