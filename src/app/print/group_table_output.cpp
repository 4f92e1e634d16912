#include "app/print/group_table_output.h"

#include "app/print/print_preview.h"
#include "output/print/content_print_job.h"
#include "output/print/print_sections.h"
#include "output/word/word_content_section.h"

namespace kvd {

bool preview_group_table(const ReportContent& group, const PageSetup& setup,
                         const FontMetrics& metrics, UserInterface& ui, QWidget* parent,
                         const PrinterChooser& choose) {
    ContentPrintJob job(group, kGroupTableTitle, setup, metrics);
    if (job.empty()) {
        ui.beep();
        ui.show_error(kNothingToPrint);
        return false;
    }
    bool print = false;
    {
        CPrintPreview preview(job, QString::fromUtf8(kGroupTableTitle), parent);
        preview.exec();
        print = preview.print_requested();
    }
    if (print) print_job_pages(job, setup, ui, parent, choose);
    return true;
}

bool save_group_table_word(const ReportContent& group, const std::string& path, UserInterface& ui) {
    if (Status status = write_content_word(group, kGroupTableTitle, path); !status.ok()) {
        ui.show_error(status.message());
        return false;
    }
    return true;
}

}  // namespace kvd
