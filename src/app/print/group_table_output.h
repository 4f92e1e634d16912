#pragma once
// The group table "多桩统计表" out of the desktop program, for the 多桩统计
// window: its pages in the print preview (打印 there prints them through
// the print dialog), and the table as a Word document. Both take the table
// as analysis/report_content.h words it (group_report), so the window, the
// paper and the document agree.

#include <string>

#include "analysis/report_content.h"
#include "app/print/report_printer.h"
#include "doc/page_setup.h"
#include "doc/user_interface.h"
#include "draw/font_metrics.h"

class QWidget;

namespace kvd {

// Shows the group table's pages on the paper of `setup` (page numbers,
// header and footer as the report's); prints them when the preview asks,
// `choose` standing in for the print dialog (tests). False when there was
// nothing to show.
bool preview_group_table(const ReportContent& group, const PageSetup& setup,
                         const FontMetrics& metrics, UserInterface& ui, QWidget* parent,
                         const PrinterChooser& choose = {});

// Writes the group table to `path` (".docx" appended when missing),
// atomically: a failed write leaves the file as it was and shows why.
bool save_group_table_word(const ReportContent& group, const std::string& path, UserInterface& ui);

}  // namespace kvd
