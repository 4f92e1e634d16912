#include "output/print/print_job.h"

#include <cmath>

#include "analysis/bearing_analysis.h"
#include "analysis/report_content.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "output/print/page_decorations.h"
#include "tables/table_factory.h"

namespace kvd {
namespace {

// The table kinds of sections 0 ... 5 (the print order of table_names()).
constexpr std::array<TableKind, kPrintTableSections> kSectionTables = {
    TableKind::kSummary, TableKind::kLoad,    TableKind::kUnload,
    TableKind::kAnchor,  TableKind::kRaw,     TableKind::kChanges,
};

std::size_t slot(PrintSection section) { return static_cast<std::size_t>(section); }
std::size_t slot(CurveKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

PrintTables tables_of_record(const TestRecord& record) {
    return {record.raw_count() > 0, record.mod_count() > 0};
}

int device_offset_to_units(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    return static_cast<int>(std::trunc(pixels * 254.0 / dpi + 0.5));
}

bool has_pages_to_print(const PrintJob& job, UserInterface& ui) {
    if (!job.empty()) return true;
    ui.beep();
    ui.show_error(kNothingToPrint);
    return false;
}

PrintJob::PrintJob(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables)
    : doc_(doc), metrics_(metrics) {
    count(tables);
}

PrintJob::~PrintJob() = default;

void PrintJob::count(PrintTables tables) {
    const PrintContent& content = doc_.print_content();
    PageSetup& setup = doc_.page_setup();
    for (int s = 0; s < kPrintTableSections; ++s) {
        const auto section = static_cast<PrintSection>(s);
        const bool exists =
            (section != PrintSection::kRawRecordTable || tables.raw_record) &&
            (section != PrintSection::kModificationTable || tables.modification_record);
        int pages = 0;
        if (exists && table_section_chosen(section, content)) {
            CMyGrid& grid = table(section);
            if (std::optional<int> quick = grid.page_count_without_fill(setup)) {
                pages = *quick;
            } else {
                pages = grid.page_count(setup, content);
                filled_[slot(section)] = true;
            }
        }
        counts_[static_cast<std::size_t>(s)] = pages;
    }
    int analysis_pages = 0;
    if (table_section_chosen(PrintSection::kAnalysisPages, content)) {
        const TestRecord& record = doc_.record();
        analysis_ = std::make_unique<ContentPages>(
            analysis_report(analyse_test(record), record.engineer_choice),
            std::string(table_title(content)) + kAnalysisSectionTitle, setup, metrics_);
        analysis_pages = analysis_->page_count();
    }
    counts_[slot(PrintSection::kAnalysisPages)] = analysis_pages;
    const std::array<int, 3> curves = curve_section_counts(content);
    for (int k = 0; k < 3; ++k) {
        counts_[static_cast<std::size_t>(kPrintTableSections + k)] = curves[static_cast<std::size_t>(k)];
    }
    total_ = job_total(counts_);
}

Size PrintJob::paper() const {
    const PageSetup& setup = doc_.page_setup();
    return {setup.paper_width, setup.paper_height};
}

std::optional<int> PrintJob::page_number(int p) const {
    const std::optional<JobPage> where = locate(p);
    if (!where) return std::nullopt;
    return job_page_number(doc_.page_setup(), counts_, p, *where);
}

CMyGrid& PrintJob::table(PrintSection section) {
    std::unique_ptr<CMyGrid>& grid = tables_[slot(section)];
    if (!grid) grid = make_table(kSectionTables[slot(section)], doc_, metrics_);
    return *grid;
}

CImage& PrintJob::curve(CurveKind kind) {
    std::unique_ptr<CImage>& image = curves_[slot(kind)];
    if (!image) {
        switch (kind) {
            case CurveKind::kQs:
                image = std::make_unique<CQ_s>(doc_);
                break;
            case CurveKind::kSlgt:
                image = std::make_unique<Cs_lgt>(doc_);
                break;
            case CurveKind::kSlgQ:
                image = std::make_unique<Cs_lgQ>(doc_);
                break;
        }
    }
    return *image;
}

bool PrintJob::draw_page(Canvas& canvas, int p, Point printer_offset) {
    const std::optional<JobPage> where = locate(p);
    if (!where) return false;
    PageSetup& setup = doc_.page_setup();
    const PrintContent& content = doc_.print_content();

    CanvasState state(canvas);
    canvas.translate(-printer_offset.x, printer_offset.y);
    canvas.set_background(false, kWhite);
    if (is_table_section(where->section)) {
        CMyGrid& grid = table(where->section);
        if (!filled_[slot(where->section)]) {
            grid.page_count(setup, content);
            filled_[slot(where->section)] = true;
        }
        grid.print_page(canvas, where->page, setup, content, false);
    } else if (where->section == PrintSection::kAnalysisPages) {
        analysis_->draw_page(canvas, where->page);
    } else {
        for (CurveKind kind : curves_of_section(where->section, content.curve_layout)) {
            curve(kind).print(canvas);
        }
    }
    draw_page_decorations(canvas, setup, job_page_number(setup, counts_, p, *where));
    return true;
}

}  // namespace kvd
