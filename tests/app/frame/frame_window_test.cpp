// The main window as a window: its placement and pane sizes from the
// settings (and back at close), the about box, the window grab, and the
// program's command line as the kvd executable answers it.

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <set>

#include "app/frame/frame_commands.h"
#include "app/frame/sheets_wnd.h"
#include "app/frame/window_grab.h"
#include "app/tables/grid_view.h"
#include "doc/extended_display.h"
#include "frame_test_support.h"

namespace kvd::testing {
namespace {

using FrameWindowTest = FrameTest;

void store_placement(int show, int top, int left, int bottom, int right) {
    QSettings stored = user_settings();
    stored.setValue(QStringLiteral("主窗口/状态"), show);
    stored.setValue(QStringLiteral("主窗口/顶"), top);
    stored.setValue(QStringLiteral("主窗口/左"), left);
    stored.setValue(QStringLiteral("主窗口/底"), bottom);
    stored.setValue(QStringLiteral("主窗口/右"), right);
}

void store_panes(int left_width, int upper_height) {
    QSettings stored = user_settings();
    stored.setValue(QStringLiteral("主窗口/左边窗口宽"), left_width);
    stored.setValue(QStringLiteral("主窗口/右上窗口高"), upper_height);
}

TEST_F(FrameWindowTest, OpensWhereItWasClosedAndStoresItsPlacementAgain) {
    // Nothing stored: the default size within the screen.
    make_frame(false, false);
    EXPECT_FALSE(frame().placement_restored());
    const QRect work = frame().screen()->availableGeometry();
    const QSize fresh = frame().size();
    EXPECT_LE(fresh.width(), work.width());
    EXPECT_LE(fresh.height(), work.height());

    // Four of five values are no placement.
    store_placement(1, 20, 30, 620, 830);
    user_settings().remove(QStringLiteral("主窗口/底"));
    make_frame(false, false);
    EXPECT_FALSE(frame().placement_restored());
    EXPECT_EQ(frame().size(), fresh);

    store_placement(1, 20, 30, 720, 1330);
    make_frame();
    EXPECT_TRUE(frame().placement_restored());
    EXPECT_EQ(frame().initial_show_command(), kShowNormal);
    EXPECT_EQ(frame().geometry(), QRect(work.left() + 30, work.top() + 20, 1300, 700));
    frame().move(frame().pos() + QPoint(5, 7));
    frame().resize(1280, 690);
    ASSERT_TRUE(frame().close());
    const std::optional<WindowPlacement> stored = AppSettings().placement();
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, (WindowPlacement{kShowNormal, 27, 35, 717, 1315}));

    // A corner off the screen is brought back where the window can be grabbed.
    store_placement(1, 5000, 5000, 5400, 5600);
    make_frame(false, false);
    const QRect screen = frame().screen()->geometry();
    const int icon = frame().style()->pixelMetric(QStyle::PM_LargeIconSize);
    EXPECT_EQ(frame().pos(), QPoint(screen.width() - icon, screen.height() - icon));
    EXPECT_EQ(frame().size(), QSize(600, 400));

    // Maximised comes back maximised, minimised as a normal window.
    store_placement(3, 0, 0, 600, 800);
    make_frame(false, false);
    EXPECT_EQ(frame().initial_show_command(), kShowMaximized);
    store_placement(2, 0, 0, 600, 800);
    make_frame(false, false);
    EXPECT_EQ(frame().initial_show_command(), kShowNormal);
}

TEST_F(FrameWindowTest, TheDocumentsSettingsAreReadAtStartAndWrittenAtClose) {
    // Nothing stored: a fresh installation's look, the background the
    // desktop's button face.
    make_frame(false, false);
    const QColor face = frame().palette().color(QPalette::Button);
    EXPECT_EQ(doc().curve_style().frame.background,
              style_rgb(face.red(), face.green(), face.blue()));
    EXPECT_EQ(doc().curve_style().lines.load_colour, style_rgb(0, 0, 160));

    // Stored values are used; one the program cannot use is not.
    {
        QSettings stored = user_settings();
        stored.setValue(QStringLiteral("图形样式/卸载曲线颜色"), 0x00FF00);
        stored.setValue(QStringLiteral("图形样式/作图点直径"), -1);
        stored.setValue(QStringLiteral("打印选项/打印版式"), 1);
        stored.setValue(QStringLiteral("常规/测试文件位置"), dir_.path());
    }
    make_frame(false, false);
    EXPECT_EQ(doc().curve_style().lines.unload_colour, 0x00FF00u);
    EXPECT_EQ(doc().curve_style().lines.point_diameter, 15);
    EXPECT_EQ(doc().print_content().curve_layout, 1);
    EXPECT_EQ(doc().settings().test_folder, dir_.path().toStdString());

    // Changed while the program runs, written when it ends.
    doc().page_setup().left_margin = 310;
    doc().curve_style().lines.point_diameter = 22;
    ASSERT_TRUE(frame().close());
    QSettings written = user_settings();
    EXPECT_EQ(written.value(QStringLiteral("页面设置/左边距")).toInt(), 310);
    EXPECT_EQ(written.value(QStringLiteral("图形样式/作图点直径")).toInt(), 22);
    EXPECT_EQ(written.value(QStringLiteral("图形样式/卸载曲线颜色")).toInt(), 0x00FF00);
}

TEST_F(FrameWindowTest, PaneSizesAreKeptWithinTheFrame) {
    store_placement(1, 0, 0, 900, 1400);
    struct Case {
        int left, upper;  // stored
        int want_left, want_upper;
    };
    for (const Case c :
         {Case{640, 250, 640, 250}, Case{2000, 370, 900, 370}, Case{100, 50, 300, 100}}) {
        store_panes(c.left, c.upper);
        make_frame();
        EXPECT_EQ(frame().left_pane_width(), c.want_left) << c.left;
        EXPECT_EQ(frame().upper_pane_height(), c.want_upper) << c.upper;
        // Closing stores what the panes are now, and the next window opens
        // with the same sizes.
        ASSERT_TRUE(frame().close());
        const PaneSizes stored = AppSettings().pane_sizes();
        EXPECT_EQ(stored.left_width, c.want_left);
        EXPECT_EQ(stored.upper_right_height, c.want_upper);
        EXPECT_EQ(stored.left_height, frame().curve_sheet().height());
        EXPECT_EQ(stored.upper_right_width, frame().table_sheet().width());
        make_frame();
        EXPECT_EQ(frame().left_pane_width(), c.want_left);
        EXPECT_EQ(frame().upper_pane_height(), c.want_upper);
        frame_.reset();
    }
    EXPECT_EQ(CMainFrame::clamp_left_width(700, 1200), 700);
    EXPECT_EQ(CMainFrame::clamp_left_width(700, 700), 300);
}

TEST_F(FrameWindowTest, OnA1280By800ScreenEveryParameterFieldAndSummaryColumnIsWhole) {
    // The whole screen, and the default window on its work area.
    for (const QSize size : {QSize(1280, 800), QSize(1200, 760)}) {
        make_frame(false, true, size);
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
        QCoreApplication::processEvents();
        GridView* summary = frame().grid_view(TableKind::kSummary);
        summary->table().fill();
        EXPECT_LE(summary->table().total_width(), summary->viewport()->width())
            << "the summary's columns are cut at " << size.width() << " x " << size.height();
        CSheetsWnd& pages = frame().parameter_sheet();
        for (int i = 0; i < pages.page_count(); ++i) {
            frame().show_parameter_page(i);
            QCoreApplication::processEvents();
            auto* page = qobject_cast<QScrollArea*>(pages.page(i));
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(page->horizontalScrollBar()->maximum(), 0)
                << pages.page_title(i).toStdString() << " is cut at the right";
            EXPECT_EQ(page->verticalScrollBar()->maximum(), 0)
                << pages.page_title(i).toStdString() << " is cut at the bottom";
        }
        // The curves keep a good share of the window.
        EXPECT_GE(frame().left_pane_width(), size.width() / 3);
        frame().show_parameter_page(0);
        keep_picture(&frame(), "default_window_" + std::to_string(size.width()) + ".png");
        frame_.reset();
    }
}

TEST_F(FrameWindowTest, TheAboutBoxNamesTheProductAndItsVersion) {
    make_frame();
    QStringList texts;
    QString caption;
    when_modal<QDialog>([&](QDialog* dialog) {
        caption = dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) texts << label->text();
        }
        dialog->accept();
    });
    EXPECT_TRUE(frame().run_command(frame_command::kAbout));
    EXPECT_EQ(caption, QStringLiteral("关于 KVD"));
    EXPECT_EQ(texts, QStringList({"ROzadazoza", "版本：KV 18.0528 for kN and kPa"}));
}

// The distinct colours of a picture (a blank or broken grab has few).
std::size_t colour_count(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    }
    return colours.size();
}

TEST_F(FrameWindowTest, TheWindowGrabDrawsTheChosenTabsAtTheChosenSize) {
    GrabOptions grab;
    grab.output = path("grab.png").toStdString();
    grab.curve = CurveKind::kSlgt;
    grab.table = TableKind::kRaw;
    grab.page = 2;
    grab.width = 900;
    grab.height = 700;
    ASSERT_EQ(run_window_grab(grab, sample("demo.PTX").toStdString()), 0);
    const QImage picture(path("grab.png"));
    EXPECT_EQ(picture.size(), QSize(900, 700));
    EXPECT_GT(colour_count(picture), 20u);

    // The modification record needs the extended display, which the grab
    // switches on for itself.
    grab.table = TableKind::kChanges;
    EXPECT_EQ(run_window_grab(grab, sample("demo.PTX").toStdString()), 0);
    set_extended_display(false);
    grab.table = TableKind::kRaw;
    EXPECT_EQ(run_window_grab(grab, ""), 1);  // a new document has no raw record
    EXPECT_EQ(run_window_grab(grab, path("missing.PTX").toStdString()), 1);
    grab.output = path("no folder/grab.png").toStdString();
    EXPECT_EQ(run_window_grab(grab, sample("demo.PTX").toStdString()), 1);
    // The user's settings are neither read nor written.
    EXPECT_TRUE(user_settings().allKeys().isEmpty());
}

TEST_F(FrameWindowTest, TheDialogGrabsShowTheTestsDialogsAndLeaveTheFileAlone) {
    // The upload dialog opens the test file to read the station's progress:
    // a grab of it must not change a byte.
    const QString test = copy("demo.PTX");
    const QByteArray before = file_bytes(test);
    GrabOptions grab;
    for (GrabDialog dialog :
         {GrabDialog::kPaper, GrabDialog::kPageNumbers, GrabDialog::kCurvePrinting,
          GrabDialog::kTablePrinting, GrabDialog::kPrintPreview, GrabDialog::kWordOptions,
          GrabDialog::kUpload}) {
        const char* name = grab_dialog_name(dialog);
        grab.dialog = dialog;
        grab.output = path("dialog.png").toStdString();
        QFile::remove(path("dialog.png"));
        ASSERT_EQ(run_window_grab(grab, test.toStdString()), 0) << name;
        const QImage picture(path("dialog.png"));
        EXPECT_GE(picture.width(), 200) << name;
        EXPECT_GE(picture.height(), 100) << name;
        EXPECT_GT(colour_count(picture), 8u) << name;
    }
    EXPECT_EQ(file_bytes(test), before);

    // Each needs a test; the upload only one the menu would offer it for.
    grab.dialog = GrabDialog::kWordOptions;
    EXPECT_EQ(run_window_grab(grab, ""), 1);
    EXPECT_EQ(run_window_grab(grab, path("missing.PTX").toStdString()), 1);
    grab.dialog = GrabDialog::kUpload;
    EXPECT_EQ(run_window_grab(grab, copy("demo.KVD").toStdString()), 1);
    // The user's settings are neither read nor written.
    EXPECT_TRUE(user_settings().allKeys().isEmpty());
}

struct ProgramRun {
    int code = -1;
    QString errors;
};

ProgramRun run_program(const QStringList& arguments) {
    QProcess program;
    program.setProgram(QStringLiteral(KVD_BIN_DIR "/kvd"));
    program.setArguments(arguments);
    program.start();
    ProgramRun run;
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
    run.errors = QString::fromUtf8(program.readAllStandardError());
    return run;
}

TEST_F(FrameWindowTest, TheProgramGrabsFromTheCommandLineAndRefusesWhatItDoesNotKnow) {
    const ProgramRun bad = run_program({QStringLiteral("--curve"), QStringLiteral("qs")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.errors.contains(QStringLiteral("用法: kvd"))) << bad.errors.toStdString();

    const QString out = path("program.png");
    const ProgramRun grab = run_program({QStringLiteral("--grab"), out, QStringLiteral("--table"),
                                         QStringLiteral("load"), QStringLiteral("--size"),
                                         QStringLiteral("800x600"), sample("uplift.PTX")});
    EXPECT_EQ(grab.code, 0) << grab.errors.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(800, 600));

    const ProgramRun none = run_program(
        {QStringLiteral("--grab"), out, QStringLiteral("--table"), QStringLiteral("raw")});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.errors.contains(QStringLiteral("该文件没有原始记录表")))
        << none.errors.toStdString();

    // A file that cannot be read is said once, in the reader's words.
    const ProgramRun missing = run_program({QStringLiteral("--grab"), out, path("missing.PTX")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.errors.count(QStringLiteral("missing.PTX")), 1)
        << missing.errors.toStdString();
}

}  // namespace
}  // namespace kvd::testing
