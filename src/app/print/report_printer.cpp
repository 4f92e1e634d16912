#include "app/print/report_printer.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <algorithm>
#include <memory>

#include "app/print/printer_setup.h"
#include "base/file_io.h"
#include "base/format.h"
#include "qt/qt_canvas.h"

namespace kvd {
namespace {

constexpr char kCannotStart[] = "无法开始打印，请检查打印机。";
constexpr char kPaperRefused[] = "打印机不能使用页面设置中的纸张，请在页面设置中选择其他纸张。";

PrintResult failed(std::string message) {
    return {PrintResult::Kind::kFailed, std::move(message)};
}

// The pages on the printer as it is set now.
PrintResult paint_pages(PrintPages& job, QPrinter& printer, const std::vector<int>& pages,
                        const PrintProgress& progress) {
    QPainter painter;
    if (!painter.begin(&printer)) return failed(kCannotStart);
    const Point offset = printer_origin_offset(printer);
    const CanvasMapping mapping = CanvasMapping::page(printer.resolution());
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (progress && !progress(i, count)) {
            printer.abort();
            painter.end();
            return {PrintResult::Kind::kCancelled, {}};
        }
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return failed(strprintf("打印第 %d 页时出错。", pages[static_cast<std::size_t>(i)]));
        }
        QtCanvas canvas(painter, mapping);
        job.draw_page(canvas, pages[static_cast<std::size_t>(i)], offset);
    }
    if (!painter.end()) return failed(kCannotStart);
    return {};
}

// A PDF printer's file: printed into a temporary file beside the target,
// which then replaces the target in one step.
PrintResult print_to_file(PrintPages& job, QPrinter& printer, const std::vector<int>& pages,
                          const PrintProgress& progress) {
    const QString target = printer.outputFileName();
    const QFileInfo info(target);
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        return failed("无法写入文件 " + target.toStdString() + "：" +
                      temporary.errorString().toStdString());
    }
    temporary.close();
    printer.setOutputFileName(temporary.fileName());
    PrintResult result = paint_pages(job, printer, pages, progress);
    printer.setOutputFileName(target);
    if (result.kind != PrintResult::Kind::kPrinted) return result;

    Bytes bytes;
    Status status = read_whole_file(temporary.fileName().toStdString(), bytes);
    if (status.ok()) status = replace_file_atomically(target.toStdString(), bytes);
    if (!status.ok()) return failed(status.message());
    return result;
}

}  // namespace

std::vector<int> pages_to_print(const QPrinter& printer, int total) {
    int from = 1;
    int to = total;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        if (printer.toPage() > 0) to = std::min(total, printer.toPage());
    }
    std::vector<int> run;
    for (int p = from; p <= to; ++p) run.push_back(p);
    if (printer.pageOrder() == QPrinter::LastPageFirst) std::reverse(run.begin(), run.end());

    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> pages;
    pages.reserve(run.size() * static_cast<std::size_t>(copies));
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c) pages.insert(pages.end(), run.begin(), run.end());
    } else {
        for (int p : run) pages.insert(pages.end(), static_cast<std::size_t>(copies), p);
    }
    return pages;
}

PrintResult print_pages(PrintPages& job, QPrinter& printer, const std::vector<int>& pages,
                        const PrintProgress& progress) {
    if (pages.empty()) return {};
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return print_to_file(job, printer, pages, progress);
    }
    return paint_pages(job, printer, pages, progress);
}

bool run_print_dialog(QPrinter& printer, int total, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, total);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, total);
    return dialog.exec() == QDialog::Accepted;
}

bool print_report(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables, QWidget* parent,
                  const PrinterChooser& choose) {
    PrintJob job(doc, metrics, tables);
    if (!has_pages_to_print(job, doc.ui())) return false;
    return print_job_pages(job, doc.page_setup(), doc.ui(), parent, choose);
}

bool print_job_pages(PrintPages& job, const PageSetup& setup, UserInterface& ui, QWidget* parent,
                     const PrinterChooser& choose) {
    QPrinter printer(QPrinter::HighResolution);
    // The dialog shows the paper of the page setup; it is set again after
    // the dialog, which may have changed it.
    apply_page_setup(printer, setup);
    const bool chosen = choose ? choose(printer, job.total())
                               : run_print_dialog(printer, job.total(), parent);
    if (!chosen) return false;
    if (!apply_page_setup(printer, setup)) {
        ui.show_error(kPaperRefused);
        return false;
    }

    const std::vector<int> pages = pages_to_print(printer, job.total());
    std::unique_ptr<QProgressDialog> shown;
    const PrintProgress progress = [&](int done, int count) {
        if (!shown) {
            shown = std::make_unique<QProgressDialog>(QString(), QStringLiteral("取消"), 0, count,
                                                      parent);
            shown->setWindowTitle(QStringLiteral("打印"));
            shown->setWindowModality(Qt::WindowModal);
            shown->setMinimumDuration(500);
        }
        shown->setLabelText(QStringLiteral("正在打印第 %1 页（共 %2 页）...").arg(done + 1).arg(count));
        shown->setValue(done);
        QApplication::processEvents();
        return !shown->wasCanceled();
    };
    const PrintResult result = print_pages(job, printer, pages, progress);
    if (result.kind == PrintResult::Kind::kFailed) ui.show_error(result.message);
    return result.kind == PrintResult::Kind::kPrinted;
}

}  // namespace kvd
