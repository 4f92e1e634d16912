#include "app/print/printer_setup.h"

#include <QPrinter>

#include "doc/paper_sizes.h"
#include "output/print/print_job.h"

namespace kvd {
namespace {

// The named papers by their printer codes. Code 12 is the ISO B4 of the
// paper table (250 x 353 mm), not the JIS B4 (257 x 364 mm) some systems
// file under the same number: the page is laid out for the table's size.
QPageSize::PageSizeId named_paper(int code) {
    switch (code) {
        case 12:
            return QPageSize::B4;
        case 13:
            return QPageSize::JisB5;
        case 28:
            return QPageSize::EnvelopeC5;
        case 34:
            return QPageSize::EnvelopeB5;
        default:
            return QPageSize::A4;
    }
}

}  // namespace

PrinterPaper printer_paper(const PageSetup& setup) {
    const int code = paper_code(setup);
    if (code == kPaperCodeUserDefined) {
        const QSizeF size(setup.paper_width / 10.0, setup.paper_height / 10.0);
        return {QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait};
    }
    return {QPageSize(named_paper(code)),
            setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait};
}

bool apply_page_setup(QPrinter& printer, const PageSetup& setup) {
    const PrinterPaper paper = printer_paper(setup);
    const bool sized = printer.setPageSize(paper.size);
    const bool turned = printer.setPageOrientation(paper.orientation);
    return sized && turned;
}

Point printer_origin_offset(const QPrinter& printer) {
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect paper = layout.fullRectPixels(dpi);
    const QRect printable = printer.fullPage() ? paper : layout.paintRectPixels(dpi);
    return {device_offset_to_units(printable.left() - paper.left(), dpi),
            device_offset_to_units(printable.top() - paper.top(), dpi)};
}

}  // namespace kvd
