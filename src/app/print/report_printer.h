#pragma once
// "打印(&P)...": the report of the open document on a printer. The job is
// counted first (nothing to print: a beep and the program's message, no
// dialog); the platform print dialog offers pages 1 ... total; then the
// printer's paper is set from the page setup (printer_setup.h) and the chosen
// pages are printed, each through the print job, moved back by the printer's
// unprintable offset so that the page lands where the page setup puts it.
//
// A PDF printer is a printer like any other: the same pages, range, copies
// and order. Its file is written beside the target and replaces it only once
// every page is printed, so a failed or cancelled print leaves the previous
// file as it was.

#include <functional>
#include <string>
#include <vector>

#include "output/print/print_job.h"

class QPrinter;
class QWidget;

namespace kvd {

// The job pages a printer's settings ask for, in printing order: the page
// range (all pages without one; cut to 1 ... total), last page first when
// asked, and for copies the printer does not make itself each page repeated
// or, collated, the whole run.
std::vector<int> pages_to_print(const QPrinter& printer, int total);

struct PrintResult {
    enum class Kind { kPrinted, kCancelled, kFailed };
    Kind kind = Kind::kPrinted;
    std::string message;  // why it failed
};

// Before page `done` (from 0) of `count`; false cancels the print.
using PrintProgress = std::function<bool(int done, int count)>;

// Prints the pages on a printer whose paper is set. The caller reports a
// failure.
PrintResult print_pages(PrintPages& job, QPrinter& printer, const std::vector<int>& pages,
                        const PrintProgress& progress = {});

// Runs the print dialog for a job of `total` pages; false when cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, int total)>;
bool run_print_dialog(QPrinter& printer, int total, QWidget* parent);

// The whole command. `choose` stands in for the print dialog (tests); the
// dialog when empty. True when the report was printed.
bool print_report(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables, QWidget* parent,
                  const PrinterChooser& choose = {});

// The print dialog, then the pages of any job on the paper of `setup`, with
// the progress dialog; failures are shown through `ui`. True when printed.
bool print_job_pages(PrintPages& job, const PageSetup& setup, UserInterface& ui, QWidget* parent,
                     const PrinterChooser& choose = {});

}  // namespace kvd
