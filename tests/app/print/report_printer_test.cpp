// The print command on a PDF printer: the same pages, in the same places, as
// the report PDF; the page range, copies and order of the print dialog;
// nothing to print; and a print that fails or is cancelled leaves the file
// it would have replaced.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>

#include "app/print/printer_setup.h"
#include "app/print/report_printer.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "pdf_reader.h"
#include "qt/page_render.h"

namespace kvd::testing {
namespace {

class ReportPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(doc_.open(KVD_SOURCE_DIR "/samples/demo.PTX"));
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    // A chooser that sends the print to a PDF file, as the dialog's "print
    // to file" does, after `adjust` has set what else the dialog would.
    PrinterChooser to_file(const QString& file, std::function<void(QPrinter&)> adjust = {}) {
        return [this, file, adjust](QPrinter& printer, int total) {
            ++dialogs_;
            total_offered_ = total;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            if (adjust) adjust(printer);
            return true;
        };
    }

    bool print(const PrinterChooser& chooser) {
        return print_report(doc_, metrics_, tables_of_record(doc_.record()), nullptr, chooser);
    }

    QTemporaryDir dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    FixedFontMetrics metrics_;
    int dialogs_ = 0;
    int total_offered_ = 0;
};

TEST_F(ReportPrinterTest, APdfPrinterPrintsThePagesWhereTheReportPutsThem) {
    ASSERT_TRUE(print(to_file(path("printed.pdf"))));
    EXPECT_EQ(total_offered_, 11);
    EXPECT_TRUE(ui_.shown().empty());

    PrintJob job(doc_, metrics_, tables_of_record(doc_.record()));
    std::vector<PagePainter> pages;
    for (int p = 1; p <= job.total(); ++p) {
        pages.push_back([&job, p](Canvas& canvas) { job.draw_page(canvas, p); });
    }
    ASSERT_TRUE(render_pages_to_pdf(path("report.pdf").toStdString(), job.paper(), pages).ok());
    if (!have_pdf_readers()) GTEST_SKIP() << "pdfinfo/pdftotext missing";

    EXPECT_EQ(pdf_pages(path("printed.pdf")), 11);
    EXPECT_TRUE(pdf_field(path("printed.pdf"), QStringLiteral("Page size")).startsWith("595 x 842"));
    // The printer's margins do not move the page: every word where the
    // report PDF has it.
    for (int p : {1, 6, 11}) {
        SCOPED_TRACE(p);
        const std::vector<PdfWord> printed = pdf_words(path("printed.pdf"), p);
        const std::vector<PdfWord> reference = pdf_words(path("report.pdf"), p);
        ASSERT_EQ(printed.size(), reference.size());
        ASSERT_GT(printed.size(), 20u);
        for (std::size_t i = 0; i < printed.size(); ++i) {
            EXPECT_EQ(printed[i].text, reference[i].text);
            EXPECT_NEAR(printed[i].left, reference[i].left, 0.3) << printed[i].text.toStdString();
            EXPECT_NEAR(printed[i].top, reference[i].top, 0.3) << printed[i].text.toStdString();
        }
    }
}

TEST_F(ReportPrinterTest, PageRangeCopiesAndOrderOfTheDialog) {
    ASSERT_TRUE(print(to_file(path("copies.pdf"), [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        printer.setCollateCopies(false);
    })));
    if (!have_pdf_readers()) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    ASSERT_EQ(pdf_pages(path("copies.pdf")), 4);
    const QString first = pdf_text(path("copies.pdf"), 1);
    const QString third = pdf_text(path("copies.pdf"), 3);
    EXPECT_TRUE(first.contains(QStringLiteral("加载详测表")));
    EXPECT_TRUE(first.contains(QStringLiteral(".2.")));
    EXPECT_TRUE(third.contains(QStringLiteral(".3.")));
    EXPECT_EQ(pdf_text(path("copies.pdf"), 2), first);
    EXPECT_EQ(pdf_text(path("copies.pdf"), 4), third);

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(9, 40);  // beyond the job: cut to its end
    printer.setCopyCount(2);
    printer.setCollateCopies(true);
    printer.setPageOrder(QPrinter::LastPageFirst);
    EXPECT_EQ(pages_to_print(printer, 11), (std::vector<int>{11, 10, 9, 11, 10, 9}));
    printer.setPrintRange(QPrinter::AllPages);
    printer.setCopyCount(1);
    printer.setPageOrder(QPrinter::FirstPageFirst);
    EXPECT_EQ(pages_to_print(printer, 3), (std::vector<int>{1, 2, 3}));
}

TEST_F(ReportPrinterTest, NothingToPrintBeepsAndOpensNoDialog) {
    PrintContent& content = doc_.print_content();
    content.summary = content.loading_detail = content.unloading_detail = 0;
    content.anchor_pile = content.raw_record = 0;
    content.curve_layout = 0;
    content.qs_curve = content.slgt_curve = content.slgq_curve = 0;
    EXPECT_FALSE(print(to_file(path("none.pdf"))));
    EXPECT_EQ(dialogs_, 0);
    EXPECT_EQ(ui_.beeps(), 1);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kNothingToPrint);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_FALSE(QFile::exists(path("none.pdf")));
}

TEST_F(ReportPrinterTest, ACancelledOrFailedPrintLeavesThePreviousFile) {
    const QString target = path("kept.pdf");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    PrintJob job(doc_, metrics_, tables_of_record(doc_.record()));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target);
    ASSERT_TRUE(apply_page_setup(printer, doc_.page_setup()));
    const PrintResult cancelled = print_pages(job, printer, {1, 2, 3},
                                              [](int done, int) { return done < 2; });
    EXPECT_EQ(cancelled.kind, PrintResult::Kind::kCancelled);
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    // No temporary file stays behind.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A folder that does not exist: the print fails with a message.
    EXPECT_FALSE(print(to_file(path("missing/report.pdf"))));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].text.rfind("无法写入文件", 0), 0u) << ui_.shown()[0].text;
}

}  // namespace
}  // namespace kvd::testing
