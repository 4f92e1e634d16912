#pragma once
// PrintPages: what the print preview and the printer need of a job: its
// page count, its paper and each page drawn. The report's PrintJob and a
// ContentPrintJob (the group table) are jobs.

#include "draw/canvas.h"

namespace kvd {

class PrintPages {
public:
    virtual ~PrintPages() = default;
    virtual int total() const = 0;
    // The paper as placed (landscape swapped), 0.1 mm.
    virtual Size paper() const = 0;
    // Draws page p (from 1) with the origin at the paper's top-left corner,
    // moved back by the printer's unprintable offset; false, drawing
    // nothing, for a page outside 1 ... total.
    virtual bool draw_page(Canvas& canvas, int p, Point printer_offset = {}) = 0;
};

}  // namespace kvd
