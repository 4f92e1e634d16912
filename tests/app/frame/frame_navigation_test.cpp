// Finding one's way in the main window: the curve, table and parameter tabs
// (by mouse), the tools menu at menu-bar position 3 following the pane in
// use, the tab captions of each kind of test, the commands of later versions
// that stay disabled, the zoom box, the toolbar and status bar toggles, and
// files dropped on the window.

#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/curves/curve_view.h"
#include "app/frame/frame_commands.h"
#include "app/frame/sheets_wnd.h"
#include "app/params/param_page.h"
#include "app/tables/grid_view.h"
#include "app/tools/new_file_wizard_dialog.h"
#include "curves/curve_commands.h"
#include "curves/q_s.h"
#include "doc/extended_display.h"
#include "frame_test_support.h"
#include "tables/table_edit_commands.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

constexpr CurveKind kCurveKinds[] = {CurveKind::kQs, CurveKind::kSlgt, CurveKind::kSlgQ};

QStringList menu_titles(const CMainFrame& frame) {
    QStringList titles;
    for (QAction* menu : frame.menuBar()->actions()) titles << menu->text();
    return titles;
}

QStringList tab_titles(const CSheetsWnd& sheet) {
    QStringList titles;
    for (int i = 0; i < sheet.page_count(); ++i) {
        if (!sheet.page_hidden(i)) titles << sheet.page_title(i);
    }
    return titles;
}

void click_tab(CSheetsWnd& sheet, int index) {
    const QRect tab = sheet.tab_rect(index);
    ASSERT_FALSE(tab.isEmpty()) << index;
    ASSERT_TRUE(sheet.rect().contains(tab.center())) << index;
    QTest::mouseClick(&sheet, Qt::LeftButton, Qt::NoModifier, tab.center());
}

class FrameNavigationTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame(false, true, QSize(1600, 1000));
        ASSERT_TRUE(activate(&frame()));
    }
    void TearDown() override {
        set_extended_display(false);
        FrameTest::TearDown();
    }

    const QStringList without_tools_ = {"文件(&F)", "编辑(&E)", "视图(&V)", "工具(&T)", "帮助(&H)"};
    const QStringList with_curve_tools_ = {"文件(&F)", "编辑(&E)",     "视图(&V)",
                                           "工具(&T)", "曲线工具(&I)", "帮助(&H)"};
    const QStringList with_table_tools_ = {"文件(&F)", "编辑(&E)",     "视图(&V)",
                                           "工具(&T)", "表格工具(&G)", "帮助(&H)"};
};

TEST_F(FrameNavigationTest, EveryTabComesForwardAndTheToolsMenuFollowsThePane) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));

    CImageSheet& curves = frame().curve_sheet();
    for (int i = 2; i >= 0; --i) {
        click_tab(curves, i);
        CurveView* view = frame().curve_view(kCurveKinds[i]);
        EXPECT_EQ(curves.active_page(), view) << i;
        EXPECT_EQ(frame().active_curve_view(), view);
        EXPECT_TRUE(view->hasFocus());
        EXPECT_EQ(frame().active_pane(), ActivePane::kCurves);
        EXPECT_EQ(menu_titles(frame()), with_curve_tools_);
        ASSERT_TRUE(frame().tools_menu());
        EXPECT_EQ(frame().tools_menu()->title(), QStringLiteral("曲线工具(&I)"));
    }

    CTableSheet& tables = frame().table_sheet();
    // The analysis tab stays after the tables, also those added with the file.
    EXPECT_EQ(tab_titles(tables), QStringList({"汇总表", "加载详测表", "卸载详测表", "锚桩汇总表",
                                               "原始记录表", "承载力分析"}));
    for (int i = tables.page_count() - 1; i >= 0; --i) {
        if (tables.page_hidden(i)) continue;
        click_tab(tables, i);
        EXPECT_EQ(tables.active_index(), i);
        EXPECT_EQ(frame().active_grid_view(), qobject_cast<GridView*>(tables.page(i)));
        EXPECT_EQ(frame().active_pane(), ActivePane::kTables);
        EXPECT_EQ(menu_titles(frame()), with_table_tools_) << i;
        ASSERT_TRUE(frame().tools_menu());
        EXPECT_EQ(frame().tools_menu()->title(), QStringLiteral("表格工具(&G)"));
    }

    CSheetsWnd& pages = frame().parameter_sheet();
    EXPECT_EQ(tab_titles(pages),
              QStringList({"工程参数", "位移参数", "试验标准", "控制参数", "报警参数"}));
    for (int i = 4; i >= 0; --i) {
        click_tab(pages, i);
        EXPECT_EQ(pages.active_index(), i);
        EXPECT_EQ(frame().active_pane(), ActivePane::kNone);
        EXPECT_EQ(menu_titles(frame()), without_tools_);
        EXPECT_FALSE(frame().tools_menu());
    }

    // A click into a pane brings its tools back, and only once.
    CurveView* slgq = frame().curve_view(CurveKind::kSlgQ);
    frame().show_curve(CurveKind::kSlgQ);
    QTest::mouseClick(slgq->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(menu_titles(frame()), with_curve_tools_);
    GridView* summary = frame().grid_view(TableKind::kSummary);
    frame().show_table(TableKind::kSummary);
    QTest::mouseClick(summary->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(menu_titles(frame()), with_table_tools_);
    QTest::mouseClick(slgq->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(menu_titles(frame()), with_curve_tools_);
}

TEST_F(FrameNavigationTest, TheToolsMenuItemsFollowTheStateOfTheirPane) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    auto states = [this] {
        QMenu* menu = frame().tools_menu();
        std::map<int, bool> enabled;
        if (!menu) return enabled;
        emit menu->aboutToShow();
        for (QAction* item : menu->actions()) {
            if (!item->isSeparator()) enabled[item->data().toInt()] = item->isEnabled();
        }
        return enabled;
    };
    namespace cc = curve_command;
    frame().show_curve(CurveKind::kQs);
    auto qs = states();
    EXPECT_EQ(qs.size(), 14u);
    EXPECT_TRUE(qs[cc::kMark]);
    EXPECT_FALSE(qs[cc::kClearMarks]);  // no marks yet
    EXPECT_FALSE(qs[cc::kMoveTo]);      // no point captured from a context menu
    EXPECT_TRUE(qs[cc::kCurveStyle]);  // the options dialog's curve style pages
    EXPECT_TRUE(qs[cc::kSetAxes]);
    frame().show_curve(CurveKind::kSlgt);
    EXPECT_FALSE(states()[cc::kMark]);  // marks live on the Q-s curve only

    frame().show_table(TableKind::kSummary);
    auto summary = states();
    EXPECT_EQ(summary.size(), 8u);
    EXPECT_TRUE(summary[kCommandChangeIntervals]);
    EXPECT_FALSE(summary[kCommandInsertReading]);  // no cell to insert after
    EXPECT_FALSE(summary[kCommandAddUnloading]);   // the demo has its unloading

    // The summary's own command: new sampling intervals retime the grades.
    CMyGrid& table = frame().grid_view(TableKind::kSummary)->table();
    const std::string held = cell(table, 2, 2);
    IntervalTable every_ten{};
    every_ten.fill(10);
    every_ten[0] = 0;
    ui_.queue_intervals(every_ten, kDefaultUnloadIntervals);
    for (QAction* item : frame().tools_menu()->actions()) {
        if (item->data().toInt() == kCommandChangeIntervals) item->trigger();
    }
    EXPECT_EQ(doc().record().test_params.load_intervals, every_ten);
    EXPECT_TRUE(doc().is_modified());
    EXPECT_NE(cell(table, 2, 2), held);
}

TEST_F(FrameNavigationTest, ReadingCommandsOfTheToolbarActOnTheCellClicked) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    EXPECT_FALSE(frame().action(kInsertReading)->isEnabled());
    EXPECT_FALSE(frame().action(kDeleteReading)->isEnabled());  // no point captured

    // Grade 1, reading 2 of the load table.
    ASSERT_TRUE(frame().show_table(TableKind::kLoad));
    GridView* load = frame().active_grid_view();
    load->grab();
    const CGrid::PixelRect rect = load->table().cell_rect(3, 2);
    QTest::mouseClick(load->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    EXPECT_TRUE(wait_until([this] { return frame().action(kInsertReading)->isEnabled(); }));
    EXPECT_TRUE(frame().action(kDeleteReading)->isEnabled());

    const CTestData& grades = doc().record().grades;
    const int readings = grades.reading_count(1);
    frame().action(kInsertReading)->trigger();
    EXPECT_EQ(grades.reading_count(1), readings + 1);
    ui_.queue_answer(MessageAnswer::kYes);
    frame().action(kDeleteReading)->trigger();
    EXPECT_EQ(grades.reading_count(1), readings);
    EXPECT_EQ(ui_.shown().back().text, "您真的决定删除这个数据吗?");
    EXPECT_TRUE(doc().is_modified());

    // In the curve pane the same buttons wait for a point.
    frame().show_curve(CurveKind::kSlgt);
    EXPECT_FALSE(frame().action(kInsertReading)->isEnabled());
    EXPECT_FALSE(frame().action(kDeleteReading)->isEnabled());
    EXPECT_FALSE(frame().run_command(kInsertReading));
}

TEST_F(FrameNavigationTest, ShortcutsReachTheirCommands) {
    frame().curve_view(CurveKind::kQs)->setFocus();
    QTest::keyClick(&frame(), Qt::Key_S, Qt::ControlModifier);
    // A new document is saved through the dialog, proposing its name.
    ASSERT_EQ(ui_.save_requests().size(), 1u);
    EXPECT_EQ(ui_.save_requests()[0].proposed_name, "新文件.KVD");
    EXPECT_EQ(frame().action(kNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(frame().action(kOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

// Keys go where a user's keys go: to the widget with the focus.
void press(int key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

TEST_F(FrameNavigationTest, CtrlTabAndCtrlPageKeysMoveBetweenTheTabsOfThePaneWithTheFocus) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    CSheetsWnd& curves = frame().curve_sheet();
    CSheetsWnd& tables = frame().table_sheet();
    CSheetsWnd& pages = frame().parameter_sheet();
    frame().show_curve(CurveKind::kQs);
    ASSERT_TRUE(frame().curve_view(CurveKind::kQs)->hasFocus());
    const int first_table = tables.active_index();
    const int first_page = pages.active_index();

    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kSlgt));
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kSlgQ));
    press(Qt::Key_PageDown, Qt::ControlModifier);  // round to the first
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kQs));
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kSlgQ));
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kSlgt));
    EXPECT_TRUE(curves.active_page()->hasFocus());
    // The other panes stayed where they were.
    EXPECT_EQ(tables.active_index(), first_table);
    EXPECT_EQ(pages.active_index(), first_page);

    ASSERT_TRUE(frame().show_table(TableKind::kSummary));
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tables.active_page(), frame().grid_view(TableKind::kLoad));
    EXPECT_TRUE(frame().grid_view(TableKind::kLoad)->hasFocus());
    EXPECT_EQ(frame().active_pane(), ActivePane::kTables);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(tables.active_page(), frame().grid_view(TableKind::kSummary));
    EXPECT_EQ(curves.active_page(), frame().curve_view(CurveKind::kSlgt));

    // In a parameter page, from one of its fields.
    auto* field = pages.active_page()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(pages.active_index(), first_page + 1);
    EXPECT_TRUE(pages.active_page()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(tables.active_page(), frame().grid_view(TableKind::kSummary));
}

TEST_F(FrameNavigationTest, F6MovesBetweenTheThreePanesAndTabLeavesATableAtItsLastColumn) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    frame().show_curve(CurveKind::kQs);
    auto in = [](CSheetsWnd& sheet) {
        QWidget* focus = QApplication::focusWidget();
        return focus && sheet.isAncestorOf(focus);
    };
    press(Qt::Key_F6);
    EXPECT_TRUE(in(frame().table_sheet()));
    EXPECT_EQ(frame().active_pane(), ActivePane::kTables);
    press(Qt::Key_F6);
    EXPECT_TRUE(in(frame().parameter_sheet()));
    EXPECT_NE(QApplication::focusWidget(), frame().parameter_sheet().active_page())
        << "a field of the page takes the focus";
    press(Qt::Key_F6);
    EXPECT_TRUE(in(frame().curve_sheet()));
    EXPECT_EQ(frame().active_pane(), ActivePane::kCurves);
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(in(frame().parameter_sheet()));
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(in(frame().table_sheet()));

    // Tab walks along a row of the summary and leaves it from the last column.
    GridView* summary = frame().grid_view(TableKind::kSummary);
    ASSERT_TRUE(frame().show_table(TableKind::kSummary));
    press(Qt::Key_Down);
    EXPECT_EQ(summary->table().current_cell(), (CellId{1, 0}));
    for (int column = 1; column < summary->table().column_count(); ++column) {
        press(Qt::Key_Tab);
        EXPECT_EQ(summary->table().current_cell(), (CellId{1, column}));
        EXPECT_TRUE(summary->hasFocus());
    }
    press(Qt::Key_Tab);
    EXPECT_FALSE(summary->hasFocus());
    EXPECT_EQ(summary->table().current_cell(), (CellId{1, summary->table().column_count() - 1}));
    // Shift+Tab from the first column leaves it backwards.
    summary->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Home);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(summary->hasFocus());
}

TEST_F(FrameNavigationTest, TheCurveReadoutFitsItsTextAndIsClearedWhenAnotherFileOpens) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    CurveView* view = frame().curve_view(CurveKind::kQs);
    frame().show_curve(CurveKind::kQs);
    view->grab();
    const auto& qs = static_cast<const CQ_s&>(view->curve());
    ASSERT_FALSE(qs.points().empty());
    const QPoint at = view->to_pixel(qs.points().back().at);
    send_mouse(view->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QLabel* readout = frame().value_pane();
    const QString text = readout->text();
    ASSERT_TRUE(text.contains(QStringLiteral("kN"))) << text.toStdString();
    // The whole text is shown, however long.
    for (const QString& shown : {text, QStringLiteral("100000kPa  -1234.56mm")}) {
        readout->setText(shown);
        EXPECT_TRUE(wait_until([&] {
            return readout->contentsRect().width() >=
                   readout->fontMetrics().horizontalAdvance(shown);
        })) << shown.toStdString()
            << " in " << readout->width() << " pixels";
    }

    readout->setText(text);
    ASSERT_TRUE(frame().open_file(copy("plate.PTX")));
    EXPECT_TRUE(readout->text().isEmpty()) << readout->text().toStdString();
}

TEST_F(FrameNavigationTest, TabCaptionsFollowTheKindOfTest) {
    auto captions = [this] { return tab_titles(frame().curve_sheet()); };
    EXPECT_EQ(captions(), QStringList({"Q-s曲线", "s-lgt曲线", "s-lgQ曲线"}));
    ASSERT_TRUE(frame().open_file(copy("uplift.PTX")));
    EXPECT_EQ(captions(), QStringList({"U-δ曲线", "δ-lgt曲线", "δ-lgU曲线"}));
    ASSERT_TRUE(frame().open_file(copy("plate.PTX")));
    EXPECT_EQ(captions(), QStringList({"p-s曲线", "s-lgt曲线", "s-lgp曲线"}));
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("plate.PTX - ROzadazoza"));
    ASSERT_TRUE(frame().open_file(copy("demo.KVD")));
    EXPECT_EQ(captions(), QStringList({"Q-s曲线", "s-lgt曲线", "s-lgQ曲线"}));
    when_modal<CNewFileWizard>([](CNewFileWizard* wizard) { wizard->accept(); });
    ASSERT_TRUE(frame().new_file());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("新文件.KVD - ROzadazoza"));
}

TEST_F(FrameNavigationTest, TheModificationTableShowsOnlyInTheExtendedDisplay) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    GridView* changes = frame().grid_view(TableKind::kChanges);
    ASSERT_TRUE(changes);  // the demo has modification records
    CTableSheet& tables = frame().table_sheet();
    EXPECT_TRUE(tables.page_hidden(tables.index_of(changes)));
    EXPECT_FALSE(frame().show_table(TableKind::kChanges));

    set_extended_display(true);
    doc().update_all_views(hint::kRefresh);
    EXPECT_FALSE(tables.page_hidden(tables.index_of(changes)));
    EXPECT_TRUE(frame().show_table(TableKind::kChanges));
    EXPECT_EQ(tab_titles(tables).back(), QStringLiteral("承载力分析"));
    EXPECT_EQ(tab_titles(tables)[tab_titles(tables).size() - 2], QStringLiteral("修改记录表"));

    // Switched off while in front: the summary takes its place.
    set_extended_display(false);
    doc().update_all_views(hint::kRefresh);
    EXPECT_TRUE(tables.page_hidden(tables.index_of(changes)));
    EXPECT_EQ(frame().active_grid_view(), frame().grid_view(TableKind::kSummary));
}

TEST_F(FrameNavigationTest, EveryCommandOfTheMenusIsBuiltAndEnabledForATestFile) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    for (int command : {kNew, kOpen, kSave, kSaveAs, kWordExport, kExcelExport, kPageSetup,
                        kPrintSetup, kPrintPreview, kPrint, kExit, kCalibrationTool, kUpload,
                        kOptions, kToolbars, kStatusBar, kSupportPage, kAnalysisUpdate,
                        kTesterUpdate, kAbout, kHelp, kFitWindow, kSetAxes, kShift, kInvert,
                        kExportImage}) {
        EXPECT_TRUE(frame().action(command)->isEnabled()) << command;
    }
    // The toolbar buttons, left to right.
    QStringList file_buttons;
    for (QAction* item : frame().file_toolbar()->actions()) file_buttons << item->text();
    EXPECT_EQ(file_buttons, QStringList({"新建(&N)", "打开(&O)...", "保存(&S)", "", "打印预览(&V)",
                                         "打印(&P)...", "", "撤销(&U)", "重做(&R)"}));
    EXPECT_EQ(frame().edit_toolbar()->actions().size(), 11);
}

TEST_F(FrameNavigationTest, TheZoomBoxAndFitWindowSetTheSameZoom) {
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    QComboBox* box = frame().zoom_box();
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    EXPECT_EQ(items,
              QStringList({"50%", "100%", "150%", "200%", "300%", "400%", "800%", "适合窗口"}));
    EXPECT_EQ(box->currentText(), QStringLiteral("适合窗口"));
    CurveView* view = frame().curve_view(CurveKind::kQs);
    view->grab();
    const double fit_sx = view->curve().sx();

    box->setCurrentIndex(5);
    emit box->activated(5);
    EXPECT_EQ(doc().zoom_factor(), 4.0);
    EXPECT_EQ(box->currentText(), QStringLiteral("400%"));
    view->grab();
    EXPECT_NE(view->curve().sx(), fit_sx);
    EXPECT_TRUE(wait_until([view] { return view->verticalScrollBar()->maximum() > 0; }));

    // The toolbar's fit command and the box's last item do the same.
    EXPECT_TRUE(frame().run_command(kFitWindow));
    EXPECT_EQ(doc().zoom_factor(), 0.0);
    EXPECT_EQ(box->currentText(), QStringLiteral("适合窗口"));
    EXPECT_TRUE(wait_until([view] { return !view->verticalScrollBar()->isVisible(); }));
    view->grab();
    EXPECT_EQ(view->curve().sx(), fit_sx);
    box->setCurrentIndex(0);
    emit box->activated(0);
    EXPECT_EQ(doc().zoom_factor(), 0.5);
    box->setCurrentIndex(7);
    emit box->activated(7);
    view->grab();
    EXPECT_EQ(view->curve().sx(), fit_sx);

    // Zooming from the curve's own menu leaves the box on a listed zoom only.
    frame().show_curve(CurveKind::kQs);
    ASSERT_TRUE(frame().tools_menu());
    for (QAction* item : frame().tools_menu()->actions()) {
        if (item->data().toInt() == curve_command::kZoomIn) item->trigger();
    }
    EXPECT_GT(doc().zoom_factor(), 0.0);
    EXPECT_EQ(box->currentIndex(), zoom_box_index(doc().zoom_factor()));
}

TEST_F(FrameNavigationTest, ToolbarsAndStatusBarToggle) {
    QToolBar* file = frame().file_toolbar();
    QToolBar* edit = frame().edit_toolbar();
    ASSERT_TRUE(file->isVisible() && edit->isVisible());
    EXPECT_TRUE(frame().action(kToolbars)->isChecked());
    EXPECT_TRUE(frame().run_command(kToolbars));
    EXPECT_TRUE(file->isHidden() && edit->isHidden());
    EXPECT_FALSE(frame().action(kToolbars)->isChecked());

    // Each bar flips on its own.
    file->show();
    EXPECT_TRUE(frame().run_command(kToolbars));
    EXPECT_TRUE(file->isHidden());
    EXPECT_TRUE(edit->isVisible());

    EXPECT_TRUE(frame().statusBar()->isVisible());
    EXPECT_TRUE(frame().run_command(kStatusBar));
    EXPECT_TRUE(frame().statusBar()->isHidden());
    EXPECT_FALSE(frame().action(kStatusBar)->isChecked());
    frame().action(kStatusBar)->trigger();
    EXPECT_TRUE(frame().statusBar()->isVisible());
}

TEST_F(FrameNavigationTest, DroppedFilesOpenAndOtherDropsAreRefused) {
    const QString demo = copy("demo.PTX");
    auto enter = [this](QMimeData& data) {
        QDragEnterEvent event(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame(), &event);
        return event.isAccepted();
    };
    // A drop always follows an accepted enter.
    auto drop = [this, enter](QMimeData& data) {
        enter(data);
        QDropEvent event(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame(), &event);
    };

    QMimeData text;
    text.setText(demo);
    EXPECT_FALSE(enter(text));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.com/demo.PTX"))});
    EXPECT_FALSE(enter(web));

    QMimeData files;
    files.setUrls({QUrl(QStringLiteral("https://example.com/a.PTX")), QUrl::fromLocalFile(demo)});
    EXPECT_TRUE(enter(files));
    drop(files);
    EXPECT_TRUE(wait_until([this] { return title() == QStringLiteral("demo.PTX - ROzadazoza"); }));
    EXPECT_EQ(frame().recent_files().files(), QStringList({demo}));

    // A refused file leaves the window as it was.
    const QString foreign = path("foreign.KVD");
    ASSERT_TRUE(write_bytes(foreign, QByteArray("nothing")));
    QMimeData bad;
    bad.setUrls({QUrl::fromLocalFile(foreign)});
    drop(bad);
    EXPECT_TRUE(wait_until([this] { return !ui_.shown().empty(); }));
    EXPECT_EQ(ui_.shown().back().text, "未知文件类型, 无法打开 ！");
    EXPECT_EQ(title(), QStringLiteral("demo.PTX - ROzadazoza"));
}

}  // namespace
}  // namespace kvd::testing
