// kvdtool report: the whole print job of a file as one PDF, laid out by the
// default page setup and print options with --set overrides.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/extended_display.h"
#include "doc/lbx_doc.h"
#include "doc/settings_override.h"
#include "output/print/print_job.h"
#include "qt/page_render.h"

namespace kvd::cli {

int run_report(const Args& arguments) {
    Args args = arguments;
    std::vector<std::string> assignments;
    for (std::string value; take_option(args, "--set", value);) assignments.push_back(value);
    const bool extended = take_flag(args, "--extended");
    const bool analysis = take_flag(args, "--analysis");
    if (args.size() != 2) {
        return usage_error(
            "用法: kvdtool report FILE OUT.pdf [--set 节/键=值]... [--extended] [--analysis]");
    }
    if (lower_extension(args[1]) != ".pdf") return usage_error("输出文件的扩展名必须是 .pdf");

    DocumentSettings settings = default_document_settings();
    for (const std::string& assignment : assignments) {
        if (Status status = apply_setting_assignment(settings, assignment); !status.ok()) {
            return usage_error(status.message());
        }
    }

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    doc.apply_settings(settings);
    // The interpretation after the summary table, as the print option chooses it.
    if (analysis) doc.print_content().analysis = 1;
    // Opening a file switches the extended display off.
    set_extended_display(extended);

    FixedFontMetrics metrics;
    PrintJob job(doc, metrics, tables_of_record(doc.record()));
    if (!has_pages_to_print(job, ui)) return 1;
    ensure_gui_application();
    std::vector<PagePainter> pages;
    pages.reserve(static_cast<std::size_t>(job.total()));
    for (int p = 1; p <= job.total(); ++p) {
        pages.push_back([&job, p](Canvas& canvas) { job.draw_page(canvas, p); });
    }
    if (Status status = render_pages_to_pdf(args[1], job.paper(), pages); !status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace kvd::cli
