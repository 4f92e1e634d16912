// kvdtool's report exports: word (the Word report as .docx) and excel (the
// raw record table as a tab-separated .xls), as the desktop program writes
// them, without the dialogs.

#include <cstdio>

#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/lbx_doc.h"
#include "output/excel/excel_export.h"
#include "output/word/word_report_export.h"

namespace kvd::cli {

int run_word(const Args& arguments) {
    Args args = arguments;
    WordReportOptions options;
    const bool summary = take_flag(args, "--summary");
    const bool detail = take_flag(args, "--detail");
    const bool raw = take_flag(args, "--raw");
    const bool curves = take_flag(args, "--curves");
    const bool analysis = take_flag(args, "--analysis");
    if (args.size() != 2) {
        return usage_error(
            "用法: kvdtool word FILE OUT.docx [--summary] [--detail] [--raw] "
            "[--curves] [--analysis]");
    }
    // Without a section flag, the sections the options dialog starts with.
    if (summary || detail || raw || curves || analysis) {
        options = {summary, detail, raw, curves, analysis};
    }

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    if (options.raw && !raw_record_selectable(doc)) {
        std::fprintf(stderr, "%s\n", "该文件没有原始记录，不能输出原始记录表");
        return 1;
    }
    const std::optional<std::string> written = write_word_report(doc, options, args[1]);
    if (!written) return 1;
    // A report ended part-way has said why; it is written but incomplete.
    return ui.shown().empty() || ui.shown().back().text == kConversionDone ? 0 : 1;
}

int run_excel(const Args& args) {
    if (args.size() != 2) return usage_error("用法: kvdtool excel FILE OUT[.xls]");
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    return write_excel(doc, args[1]) ? 0 : 1;
}

}  // namespace kvd::cli
