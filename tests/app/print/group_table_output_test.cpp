// The group table out of the desktop program: its pages in the print
// preview and printed from there (on a PDF printer, read back), nothing to
// show for empty content, and the Word document written whole or not at all.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include "analysis/bearing_analysis.h"
#include "analysis/group_member.h"
#include "analysis/group_statistics.h"
#include "analysis/report_content.h"
#include "app/modal_driver.h"
#include "app/print/group_table_output.h"
#include "app/print/preview_pages.h"
#include "app/print/print_preview.h"
#include "base/file_io.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "pdf_reader.h"

namespace kvd::testing {
namespace {

ReportContent three_samples() {
    std::vector<GroupFile> files;
    std::vector<std::string> names;
    for (const char* name : {"demo.PTX", "uplift.PTX", "plate.PTX"}) {
        files.push_back(read_group_file(std::string(KVD_SOURCE_DIR "/samples/") + name, name, {}));
        names.push_back(name);
    }
    GroupFile bad;
    bad.path = "坏.PTX";
    bad.refusal = "文件已损坏";
    files.push_back(bad);
    names.push_back(bad.path);
    const GroupAnalysis group = group_of_files(files, {});
    return group_report(group, make_group_table(files, names, group));
}

TEST(GroupTableOutput, ThePreviewShowsThePagesAndPrintsThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScriptedUserInterface ui;
    FixedFontMetrics metrics;
    int shown_pages = 0;
    when_modal<CPrintPreview>([&](CPrintPreview* preview) {
        shown_pages = preview->pages().shown_count();
        preview->print_action()->trigger();
    });
    const QString pdf = dir.filePath(QStringLiteral("group.pdf"));
    const ReportContent group = three_samples();
    EXPECT_TRUE(
        preview_group_table(group, PageSetup{}, metrics, ui, nullptr, [&](QPrinter& printer, int) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        }));
    EXPECT_GE(shown_pages, 1);
    EXPECT_TRUE(ui.shown().empty());
    if (!have_pdf_readers()) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    const QString text = pdf_text(pdf, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("多桩统计表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("demo.PTX"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("已损坏"))) << text.toStdString();
}

TEST(GroupTableOutput, TheWordDocumentIsWrittenWholeOrNotAtAll) {
    ScriptedUserInterface ui;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("统计")).toStdString();
    ASSERT_TRUE(save_group_table_word(three_samples(), path, ui));
    Bytes bytes;
    ASSERT_TRUE(read_whole_file(path + ".docx", bytes).ok());
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_TRUE(ui.shown().empty());
    // A folder that does not exist: the message, and nothing written.
    EXPECT_FALSE(save_group_table_word(three_samples(), path + "/no/such/统计.docx", ui));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + "/no/such/统计.docx")));
}

}  // namespace
}  // namespace kvd::testing
