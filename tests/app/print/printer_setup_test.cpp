// The printer's paper from the page setup: the named papers by their codes,
// the user-defined size in portrait, orientation; and the offset of a
// printer's printable area.

#include <gtest/gtest.h>

#include <QPrinter>

#include "app/print/printer_setup.h"
#include "doc/paper_sizes.h"

namespace kvd {
namespace {

PageSetup paper(int width, int height, int landscape = 0) {
    PageSetup setup;
    setup.paper_width = width;
    setup.paper_height = height;
    setup.landscape = landscape;
    return setup;
}

QSizeF millimetres(const PrinterPaper& paper) {
    return paper.size.size(QPageSize::Millimeter);
}

TEST(PrinterSetup, NamedPapersCustomSizesAndOrientation) {
    const QPageSize::PageSizeId named[] = {QPageSize::B4,     QPageSize::A4, QPageSize::Custom,
                                           QPageSize::JisB5,  QPageSize::EnvelopeB5,
                                           QPageSize::EnvelopeC5};
    for (int i = 0; i < kCustomPaperIndex; ++i) {
        SCOPED_TRACE(i);
        const PaperSize& entry = kPaperSizes[static_cast<std::size_t>(i)];
        const PrinterPaper portrait = printer_paper(paper(entry.width_mm * 10, entry.height_mm * 10));
        const PrinterPaper landscape =
            printer_paper(paper(entry.height_mm * 10, entry.width_mm * 10, 1));
        EXPECT_EQ(portrait.size.id(), named[i]);
        // Within a millimetre of the table's size (ISO B4 is 250 x 353).
        EXPECT_NEAR(millimetres(portrait).width(), entry.width_mm, 1.0);
        EXPECT_NEAR(millimetres(portrait).height(), entry.height_mm, 1.0);
        EXPECT_EQ(portrait.orientation, QPageLayout::Portrait);
        if (entry.code == kPaperCodeUserDefined) {
            // A user-defined paper is always portrait, as wide as placed.
            EXPECT_EQ(landscape.orientation, QPageLayout::Portrait);
            EXPECT_NEAR(millimetres(landscape).width(), entry.height_mm, 0.01);
            EXPECT_NEAR(millimetres(landscape).height(), entry.width_mm, 0.01);
        } else {
            EXPECT_EQ(landscape.size.id(), named[i]);
            EXPECT_EQ(landscape.orientation, QPageLayout::Landscape);
        }
    }
    // 184 x 260 mm typed as a custom size: the 16 开 entry, sent user-defined.
    const PrinterPaper sixteen = printer_paper(paper(1840, 2600));
    EXPECT_EQ(sixteen.size.id(), QPageSize::Custom);
    EXPECT_EQ(sixteen.orientation, QPageLayout::Portrait);
    EXPECT_NEAR(millimetres(sixteen).width(), 184, 0.01);
    EXPECT_NEAR(millimetres(sixteen).height(), 260, 0.01);
    const PrinterPaper odd = printer_paper(paper(3000, 1234));
    EXPECT_NEAR(millimetres(odd).width(), 300, 0.01);
    EXPECT_NEAR(millimetres(odd).height(), 123.4, 0.01);
}

TEST(PrinterSetup, APrinterTakesThePaperAndReportsItsOffset) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ASSERT_TRUE(apply_page_setup(printer, paper(2970, 2100, 1)));
    const QSizeF full = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    EXPECT_NEAR(full.width(), 297, 0.5);
    EXPECT_NEAR(full.height(), 210, 0.5);

    // The printer keeps its margins in whole points: within 0.1 mm.
    printer.setPageMargins(QMarginsF(5, 8, 5, 8), QPageLayout::Millimeter);
    const Point offset = printer_origin_offset(printer);
    EXPECT_NEAR(offset.x, 50, 1);
    EXPECT_NEAR(offset.y, 80, 1);
    printer.setFullPage(true);
    EXPECT_EQ(printer_origin_offset(printer), (Point{0, 0}));
}

}  // namespace
}  // namespace kvd
