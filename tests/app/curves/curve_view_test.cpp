// The Q-s window of the demo test: hover text, capture cursor, dragging a
// grade, the context menu's states and prompts, zoom and scroll bars.

#include "app/curves/curve_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/modal_driver.h"
#include "curves/curve_commands.h"
#include "curves/q_s.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {
namespace {

namespace cc = curve_command;

class HintLog : public DocView {
public:
    void on_update(int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

// Status tips that reach the view (on their way to the frame's status bar).
class StatusTips : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::StatusTip) {
            tips.push_back(static_cast<QStatusTipEvent*>(event)->tip());
        }
        return QObject::eventFilter(watched, event);
    }
    std::vector<QString> tips;
};

class CurveViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
        doc_.add_view(&log_);
        view_.resize(640, 640);
        view_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));
        paint();
        ASSERT_TRUE(qs_.has_axes());
        ASSERT_GE(qs_.points().size(), 6u);
    }
    void TearDown() override { doc_.remove_view(&log_); }

    // A paint of the window, and the scroll bars it asks for.
    void paint() {
        view_.grab();
        QCoreApplication::processEvents();
    }

    void move(QPoint pixel, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent event(QEvent::MouseMove, QPointF(pixel),
                          QPointF(view_.viewport()->mapToGlobal(pixel)), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view_.viewport(), &event);
    }

    QPoint pixel_of_grade(int g) const {
        return view_.to_pixel(qs_.points()[static_cast<std::size_t>(g)].at);
    }
    // Inside the plot, clear of every point.
    QPoint empty_plot_pixel() const {
        const Rect plot = qs_.plot_rect();
        return view_.to_pixel({plot.right - 20, plot.top - 20});
    }

    // Enabled state of every item of a menu, by command.
    static std::map<int, bool> enabled_items(QMenu& menu) {
        std::map<int, bool> enabled;
        for (QAction* action : menu.actions()) enabled[action->data().toInt()] = action->isEnabled();
        return enabled;
    }
    std::map<int, bool> menu_states() {
        qs_.context_menu_opened();
        const std::unique_ptr<QMenu> menu(view_.create_context_menu(nullptr));
        qs_.context_menu_closed();
        return enabled_items(*menu);
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    CQ_s qs_{doc_};
    CurveView view_{qs_};
    HintLog log_;
};

TEST_F(CurveViewTest, MapsTenthsOfMillimetresToPixelsAtTheWindowsResolution) {
    const double ppu = view_.viewport()->logicalDpiX() / 254.0;
    EXPECT_DOUBLE_EQ(view_.pixels_per_unit(), ppu);
    const Size client = view_.client_size();
    EXPECT_NEAR(client.cx, 640 / ppu, 1);
    EXPECT_NEAR(client.cy, 640 / ppu, 1);
    // Fit window fills the window: the design square spans the client.
    EXPECT_NEAR(qs_.sx(), client.cx / 1000.0, 1e-9);
    EXPECT_NEAR(qs_.sy(), -client.cy / 1000.0, 1e-9);
    // y grows upwards: the plot (below the title) has negative logical y.
    EXPECT_LT(qs_.frame().origin.y, 0);
    const QPoint origin = view_.to_pixel(qs_.frame().origin);
    EXPECT_GT(origin.y(), 0);
    EXPECT_EQ(view_.to_logical(origin).x, qs_.frame().origin.x);
    keep_picture(&view_, "curve_view_qs.png");
}

TEST_F(CurveViewTest, HoverShowsTheValueInsideThePlotOnly) {
    QSignalSpy status(&view_, &CurveView::status_text);
    move(empty_plot_pixel());
    ASSERT_EQ(status.count(), 1);
    const QString inside = status.takeFirst().at(0).toString();
    EXPECT_TRUE(inside.contains(QStringLiteral("kN"))) << inside.toStdString();
    EXPECT_TRUE(inside.contains(QStringLiteral("mm"))) << inside.toStdString();
    EXPECT_FALSE(view_.viewport()->testAttribute(Qt::WA_SetCursor));

    move(QPoint(3, 3));  // in the title area
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.takeFirst().at(0).toString().isEmpty());
}

TEST_F(CurveViewTest, CaptureCursorOverAPointAndBackToNormalAwayFromIt) {
    move(pixel_of_grade(4));
    EXPECT_TRUE(qs_.capture_armed());
    EXPECT_EQ(qs_.captured_grade(), 4);
    EXPECT_EQ(view_.viewport()->cursor().shape(), Qt::SizeVerCursor);

    // Moving away lets go of the point and restores the cursor.
    move(empty_plot_pixel());
    EXPECT_FALSE(qs_.capture_armed());
    EXPECT_FALSE(view_.viewport()->testAttribute(Qt::WA_SetCursor));

    // A press on a point the mouse has not hovered yet captures it too.
    QTest::mousePress(view_.viewport(), Qt::RightButton, Qt::NoModifier, pixel_of_grade(2));
    EXPECT_TRUE(qs_.capture_armed());
    EXPECT_EQ(qs_.captured_grade(), 2);
}

TEST_F(CurveViewTest, DraggingAGradeWithTheLeftButtonMovesItsSettlement) {
    const int g = 4;
    const double before = doc_.record().grades.last_settlement(g);
    const double y_min = qs_.y_min();
    const double y_range = qs_.y_range();
    const QPoint at = pixel_of_grade(g);
    move(at);
    ASSERT_TRUE(qs_.capture_armed());
    log_.hints.clear();

    move(at + QPoint(0, 40), Qt::LeftButton);
    const double after = doc_.record().grades.last_settlement(g);
    // Down the window is more settlement on a compression test; the axes
    // stay as they were during the drag.
    EXPECT_GT(after, before);
    EXPECT_EQ(qs_.y_min(), y_min);
    EXPECT_EQ(qs_.y_range(), y_range);
    const double expected = qs_.settlement_at(view_.to_logical(at + QPoint(0, 40)).y);
    EXPECT_NEAR(after, expected, 0.011);
    EXPECT_TRUE(doc_.is_modified());
    ASSERT_FALSE(log_.hints.empty());
    EXPECT_EQ(log_.hints.front(), change_notice(g, kWholeGrade));

    // Released, the next move disarms and changes nothing more.
    move(at + QPoint(0, 80));
    EXPECT_FALSE(qs_.capture_armed());
    EXPECT_EQ(doc_.record().grades.last_settlement(g), after);
}

TEST_F(CurveViewTest, ContextMenuItemsFollowTheCapture) {
    // Away from any point: no point commands.
    move(empty_plot_pixel());
    move(empty_plot_pixel());
    std::map<int, bool> on = menu_states();
    ASSERT_EQ(on.size(), kCurveMenu.size());
    EXPECT_TRUE(on[cc::kFitWindow]);
    EXPECT_TRUE(on[cc::kSetAxes]);
    EXPECT_TRUE(on[cc::kInvert]);
    EXPECT_TRUE(on[cc::kShift]);
    EXPECT_TRUE(on[cc::kMark]);
    EXPECT_TRUE(on[cc::kExportImage]);
    EXPECT_FALSE(on[cc::kDeleteGrade]);
    EXPECT_FALSE(on[cc::kDeleteReading]);
    EXPECT_FALSE(on[cc::kChangeLoad]);
    EXPECT_FALSE(on[cc::kMoveTo]);
    EXPECT_FALSE(on[cc::kClearMarks]);
    EXPECT_FALSE(on[cc::kCurveStyle]);  // the style dialog is not offered here

    // On a grade point: delete grade, change load and move to; never delete
    // reading on Q-s.
    move(pixel_of_grade(3));
    on = menu_states();
    EXPECT_TRUE(on[cc::kDeleteGrade]);
    EXPECT_TRUE(on[cc::kChangeLoad]);
    EXPECT_TRUE(on[cc::kMoveTo]);
    EXPECT_FALSE(on[cc::kDeleteReading]);

    // On grade 0 only move to.
    move(empty_plot_pixel());
    move(pixel_of_grade(0));
    ASSERT_EQ(qs_.captured_grade(), 0);
    on = menu_states();
    EXPECT_FALSE(on[cc::kDeleteGrade]);
    EXPECT_FALSE(on[cc::kChangeLoad]);
    EXPECT_TRUE(on[cc::kMoveTo]);

    // With a mark: clear marks enabled.
    doc_.marks().push_back({1000, 2});
    on = menu_states();
    EXPECT_TRUE(on[cc::kClearMarks]);
}

TEST_F(CurveViewTest, ContextMenuTextsPromptsAndStatusTips) {
    const std::unique_ptr<QMenu> menu(view_.create_context_menu(nullptr));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(kCurveMenu.size()));
    EXPECT_EQ(actions[0]->text(), QStringLiteral("适合窗口(&F)"));
    EXPECT_EQ(actions[0]->statusTip(), QStringLiteral("使曲线大小正好适合窗口"));
    EXPECT_EQ(actions[0]->toolTip(), QStringLiteral("适合窗口"));
    EXPECT_EQ(actions[1]->statusTip(), QStringLiteral("放大曲线"));
    EXPECT_EQ(actions[13]->text(), QStringLiteral("导出图像(&E) ..."));
    EXPECT_EQ(actions[13]->statusTip(), QStringLiteral("将图像存为 windows图元文件(.EMF)"));

    // Hovering an item hands its prompt to the view, whence it goes up to
    // the frame's status bar.
    StatusTips tips;
    view_.installEventFilter(&tips);
    menu->popup(QPoint(10, 10));
    menu->setActiveAction(actions[9]);
    view_.removeEventFilter(&tips);
    menu->hide();
    ASSERT_FALSE(tips.tips.empty());
    EXPECT_EQ(tips.tips.back(), QStringLiteral("将所有采样点的位移值乘以 -1"));
}

TEST_F(CurveViewTest, ChosenMenuItemRunsWithTheFrozenCapture) {
    move(pixel_of_grade(3));
    const double before = doc_.record().grades.last_settlement(3);
    ui_.queue_number(before + 1.5);  // "移动到(&M) ..."
    bool shown = false;
    // The popup may not be up at the first look; a menu that never comes
    // (or an item that is missing) must not leave the test waiting.
    QTimer poll;
    int tries = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (++tries > 400) poll.stop();
            return;
        }
        poll.stop();
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == cc::kMoveTo) {
                shown = true;
                menu->setActiveAction(action);
            }
        }
        if (shown) {
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    poll.start(5);
    const QPoint at = pixel_of_grade(3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view_.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view_.viewport(), &event);
    ASSERT_TRUE(shown);
    EXPECT_FALSE(qs_.capture_armed());
    EXPECT_FALSE(qs_.menu_captured());  // move-to clears it
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    EXPECT_NEAR(doc_.record().grades.last_settlement(3), before + 1.5, 1e-9);
}

TEST_F(CurveViewTest, ZoomInOutAndFitWithScrollBars) {
    QSignalSpy zoomed(&view_, &CurveView::zoom_changed);
    const double fit_sx = qs_.sx();
    ASSERT_GT(fit_sx, 1.5);
    ASSERT_LT(fit_sx, 2.0);
    EXPECT_EQ(view_.horizontalScrollBar()->maximum(), 0);

    ASSERT_TRUE(view_.command_enabled(cc::kZoomIn));
    EXPECT_TRUE(view_.run_command(cc::kZoomIn));
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_EQ(doc_.zoom_factor(), 2.0);
    paint();
    paint();
    EXPECT_EQ(qs_.sx(), 2.0);
    // 1000 design units at 2 = 200 mm: larger than the window.
    const int picture = static_cast<int>(2000 * view_.pixels_per_unit());
    EXPECT_NEAR(view_.horizontalScrollBar()->maximum(),
                picture - view_.viewport()->width(), 2);
    EXPECT_GT(view_.verticalScrollBar()->maximum(), 0);

    // Scrolled, a logical point moves on the screen by the scroll.
    const QPoint before = view_.to_pixel(qs_.frame().origin);
    view_.verticalScrollBar()->setValue(50);
    EXPECT_EQ(view_.to_pixel(qs_.frame().origin), before - QPoint(0, 50));
    keep_picture(&view_, "curve_view_qs_zoom200.png");

    EXPECT_TRUE(view_.run_command(cc::kZoomOut));
    EXPECT_EQ(doc_.zoom_factor(), 1.5);
    paint();
    EXPECT_TRUE(view_.run_command(cc::kFitWindow));
    EXPECT_EQ(doc_.zoom_factor(), 0.0);
    EXPECT_EQ(zoomed.count(), 3);
    paint();
    paint();
    EXPECT_EQ(view_.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view_.verticalScrollBar()->maximum(), 0);
    EXPECT_NEAR(qs_.sx(), fit_sx, 1e-9);

    // At 8 there is no zooming in.
    doc_.set_zoom_factor(8);
    paint();
    EXPECT_FALSE(view_.command_enabled(cc::kZoomIn));
    EXPECT_FALSE(view_.run_command(cc::kZoomIn));
    EXPECT_EQ(doc_.zoom_factor(), 8.0);
}

TEST_F(CurveViewTest, FocusOutDisarmsAndFocusInAnnouncesTheView) {
    QSignalSpy focused(&view_, &CurveView::focused);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&view_, &in);
    ASSERT_EQ(focused.count(), 1);
    EXPECT_EQ(focused.takeFirst().at(0).value<CurveView*>(), &view_);

    move(pixel_of_grade(2));
    ASSERT_TRUE(qs_.capture_armed());
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(&view_, &out);
    EXPECT_FALSE(qs_.capture_armed());
}

TEST_F(CurveViewTest, TheKeptPictureAfterADragIsWhatAWholePaintDraws) {
    paint();
    EXPECT_EQ(view_.last_redrawn_share(), 0.0);  // nothing changed
    const QPoint at = pixel_of_grade(4);
    move(at);
    ASSERT_TRUE(qs_.capture_armed());
    move(at + QPoint(0, 30), Qt::LeftButton);
    move(at + QPoint(0, -25), Qt::LeftButton);
    const QImage kept = view_.grab().toImage();
    EXPECT_GT(view_.last_redrawn_share(), 0.0);
    EXPECT_LT(view_.last_redrawn_share(), 0.3);
    // Another size draws the window whole; back at this size, whole again.
    view_.resize(641, 640);
    paint();
    view_.resize(640, 640);
    const QImage whole = view_.grab().toImage();
    EXPECT_EQ(view_.last_redrawn_share(), 1.0);
    EXPECT_EQ(kept, whole);
}

TEST_F(CurveViewTest, DocumentUpdatesAndCommandsRepaintTheCurve) {
    // Inverting through the view changes the record and the next paint
    // shows it: the grade points move to the other side of zero.
    const double before = doc_.record().grades.last_settlement(5);
    ASSERT_GT(before, 0);
    EXPECT_TRUE(view_.run_command(cc::kInvert));
    EXPECT_NEAR(doc_.record().grades.last_settlement(5), -before, 0.006);
    view_.on_document_update(0);
    paint();
    EXPECT_NEAR(qs_.points()[5].settlement, -before, 0.006);
    EXPECT_LT(qs_.y_min(), 0);
}

}  // namespace
}  // namespace kvd::testing
