#pragma once
// The printer as a print job of the report needs it. After the print dialog
// the printer's paper is set from the page setup, whatever the dialog left:
// the paper found by the setup's size in the paper table (doc/paper_sizes.h),
// in the setup's orientation; a size of no named paper (and 16 开, which
// printers know by no code) is sent as a user-defined paper of the setup's
// width and height, portrait (the size as placed, so a landscape setup gets
// a paper wider than high).

#include <QPageLayout>
#include <QPageSize>

#include "doc/page_setup.h"
#include "draw/canvas.h"

class QPrinter;

namespace kvd {

struct PrinterPaper {
    QPageSize size;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The paper and orientation the printer is given for a page setup.
PrinterPaper printer_paper(const PageSetup& setup);

// Sets the printer's paper and orientation; false when the printer refused
// them.
bool apply_page_setup(QPrinter& printer, const PageSetup& setup);

// Where the painter's origin lies from the paper's corner on this printer
// (its unprintable margin), in 0.1 mm, x right and y down.
Point printer_origin_offset(const QPrinter& printer);

}  // namespace kvd
