// The print preview: it renders the pages it shows when it shows them (a job
// of hundreds of pages opens with one page drawn and keeps only the pages in
// view), turns pages, shows two, zooms, prints from the preview through the
// print dialog, and is what the main window's commands open.

#include <gtest/gtest.h>

#include <QAction>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QTranslator>

#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/modal_driver.h"
#include "app/print/preview_pages.h"
#include "app/print/print_preview.h"
#include "base/file_io.h"
#include "cli/sample_maker.h"

namespace kvd::testing {
namespace {

using Pages = std::vector<int>;

class PrintPreviewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc_.open(KVD_SOURCE_DIR "/samples/demo.PTX")); }

    // Shows a preview of the job and waits until it has drawn.
    void show(CPrintPreview& preview) {
        preview.resize(1000, 760);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        ASSERT_TRUE(wait_until([&] { return !preview.pages().render_log().empty(); }));
    }
    // Lets the page area repaint after a command.
    static void settle(CPrintPreview& preview) {
        preview.pages().repaint();
        QTest::qWait(20);
    }

    ModalWatchdog watchdog_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    FixedFontMetrics metrics_;
};

TEST_F(PrintPreviewTest, DrawsOnlyThePagesInViewAndTurnsThem) {
    PrintJob job(doc_, metrics_, tables_of_record(doc_.record()));
    ASSERT_EQ(job.total(), 11);
    CPrintPreview preview(job, QStringLiteral("demo.PTX"));
    show(preview);
    PreviewPages& pages = preview.pages();
    EXPECT_EQ(pages.render_log(), Pages{1});
    EXPECT_FALSE(preview.previous_action()->isEnabled());
    EXPECT_TRUE(preview.next_action()->isEnabled());
    keep_picture(&preview, "print_preview.png");

    preview.next_page();
    settle(preview);
    EXPECT_EQ(pages.render_log(), (Pages{1, 2}));
    EXPECT_EQ(pages.kept_pages(), Pages{2});
    EXPECT_EQ(preview.page_box()->value(), 2);

    preview.toggle_two_pages();
    settle(preview);
    EXPECT_EQ(pages.shown_count(), 2);
    EXPECT_EQ(pages.kept_pages(), (Pages{2, 3}));
    EXPECT_EQ(preview.two_pages_action()->text(), QStringLiteral("一页(&O)"));
    keep_picture(&preview, "print_preview_two_pages.png");

    // The last pair, then the page box.
    preview.last_page();
    settle(preview);
    EXPECT_EQ(pages.first_page(), 10);
    EXPECT_EQ(pages.last_page(), 11);
    EXPECT_FALSE(preview.next_action()->isEnabled());
    preview.page_box()->setValue(5);
    settle(preview);
    EXPECT_EQ(pages.kept_pages(), (Pages{5, 6}));

    // Zoomed, one page larger than the view, which scrolls.
    preview.zoom_in();
    settle(preview);
    EXPECT_EQ(pages.shown_count(), 1);
    EXPECT_FALSE(preview.two_pages_action()->isEnabled());
    auto* area = preview.findChild<QScrollArea*>(QStringLiteral("preview_area"));
    ASSERT_NE(area, nullptr);
    EXPECT_GT(pages.height(), area->viewport()->height());
    preview.zoom_in();
    EXPECT_FALSE(preview.zoom_in_action()->isEnabled());
    settle(preview);
    keep_picture(&preview, "print_preview_zoomed.png");
    preview.zoom_out();
    preview.zoom_out();
    settle(preview);
    EXPECT_EQ(pages.zoom(), 0);
    EXPECT_EQ(pages.shown_count(), 2);
    EXPECT_FALSE(preview.zoom_out_action()->isEnabled());
    EXPECT_LE(pages.kept_pages().size(), 2u);
}

TEST_F(PrintPreviewTest, ALongJobOpensWithOnePageDrawn) {
    SampleOptions options;
    options.readings = 20000;
    Bytes file;
    ASSERT_TRUE(make_sample_file(options, file).ok());
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("long.PTX")).toStdString();
    ASSERT_TRUE(replace_file_atomically(path, file).ok());
    ASSERT_TRUE(doc_.open(path));

    PrintJob job(doc_, metrics_, tables_of_record(doc_.record()));
    ASSERT_GT(job.total(), 500);
    CPrintPreview preview(job, QStringLiteral("long.PTX"));
    show(preview);
    EXPECT_EQ(preview.pages().render_log(), Pages{1});
    preview.last_page();
    settle(preview);
    EXPECT_EQ(preview.pages().render_log(), (Pages{1, job.total()}));
    EXPECT_EQ(preview.pages().kept_pages(), Pages{job.total()});
}

TEST_F(PrintPreviewTest, PrintingFromThePreviewOpensThePrintDialogForEveryPage) {
    // Qt's own texts in Chinese, as the program loads them.
    QTranslator qt_texts;
    const bool translated =
        qt_texts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(&qt_texts);
    bool previewed = false;
    int dialog_min = 0;
    int dialog_max = 0;
    when_modal<CPrintPreview>([&](CPrintPreview* preview) {
        previewed = true;
        preview->print_action()->trigger();
    });
    when_modal<QPrintDialog>([&](QPrintDialog* dialog) {
        dialog_min = dialog->minPage();
        dialog_max = dialog->maxPage();
        keep_picture(dialog, "print_dialog.png");
        dialog->reject();
    });
    EXPECT_TRUE(preview_report(doc_, metrics_, tables_of_record(doc_.record()), nullptr));
    EXPECT_TRUE(previewed);
    EXPECT_EQ(dialog_min, 1);
    EXPECT_EQ(dialog_max, 11);
    EXPECT_TRUE(ui_.shown().empty());
    if (translated) QCoreApplication::removeTranslator(&qt_texts);
}

class FramePrintTest : public FrameTest {};

TEST_F(FramePrintTest, TheMenuCommandsOpenThePreviewAndThePrintDialog) {
    CMainFrame& window = make_frame();
    ASSERT_TRUE(window.open_file(copy("demo.PTX")));
    ASSERT_TRUE(window.action(frame_command::kPrintPreview)->isEnabled());
    ASSERT_TRUE(window.action(frame_command::kPrint)->isEnabled());

    int pages = 0;
    when_modal<CPrintPreview>([&](CPrintPreview* preview) {
        pages = preview->page_box()->maximum();
        preview->reject();
    });
    EXPECT_TRUE(window.run_command(frame_command::kPrintPreview));
    // The raw record exists in the window: its pages are in the job.
    EXPECT_GE(pages, 11);

    bool asked = false;
    when_modal<QPrintDialog>([&](QPrintDialog* dialog) {
        asked = dialog->maxPage() == pages;
        dialog->reject();
    });
    EXPECT_FALSE(window.run_command(frame_command::kPrint));  // cancelled
    EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace kvd::testing
