// Undo and redo in the main window: the 编辑 menu and the toolbar buttons name
// the step they take back, a drag with the mouse is one step, Ctrl+Z and
// Ctrl+Y are their shortcuts, and the title's modified state follows.

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QToolBar>
#include <cmath>

#include "app/curves/curve_view.h"
#include "app/frame/frame_commands.h"
#include "curves/q_s.h"
#include "frame_test_support.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

class FrameUndoTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame(false, true, QSize(1600, 1000));
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    }

    // Press on `from`, move in steps to `to` with the button held, release.
    static void drag(CurveView* view, QPoint from, QPoint to) {
        QWidget* port = view->viewport();
        send_mouse(port, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        send_mouse(port, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step) {
            send_mouse(port, QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton,
                       Qt::LeftButton);
        }
        send_mouse(port, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    QAction* undo() { return frame().action(kUndo); }
    QAction* redo() { return frame().action(kRedo); }
};

TEST_F(FrameUndoTest, TheEditMenuAndToolbarCarryUndoAndRedo) {
    QMenu* edit = frame().menuBar()->actions().at(1)->menu();
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->title(), QStringLiteral("编辑(&E)"));
    EXPECT_TRUE(edit->actions().contains(undo()));
    EXPECT_TRUE(edit->actions().contains(redo()));
    EXPECT_TRUE(frame().file_toolbar()->actions().contains(undo()));
    EXPECT_TRUE(frame().file_toolbar()->actions().contains(redo()));
    EXPECT_EQ(undo()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo()->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(undo()->icon().isNull());
    // Nothing to take back in a file just opened.
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_FALSE(redo()->isEnabled());
    EXPECT_EQ(undo()->text(), QStringLiteral("撤销(&U)"));
}

TEST_F(FrameUndoTest, ADragIsOneStepTakenBackAndDoneAgain) {
    frame().show_curve(CurveKind::kQs);
    CurveView* view = frame().curve_view(CurveKind::kQs);
    view->grab();
    auto& qs = static_cast<CQ_s&>(view->curve());
    constexpr int kGrade = 4;
    const double before = doc().record().grades.last_settlement(kGrade);
    const QPoint at = view->to_pixel(qs.points()[kGrade].at);
    drag(view, at, at + QPoint(0, 40));
    const double after = doc().record().grades.last_settlement(kGrade);
    ASSERT_NE(after, before);

    EXPECT_TRUE(undo()->isEnabled());
    EXPECT_EQ(undo()->text(), QStringLiteral("撤销 拖动数据点(&U)"));
    EXPECT_EQ(undo()->toolTip(), QStringLiteral("撤销 拖动数据点"));
    EXPECT_EQ(doc().history().size(), 1u);

    undo()->trigger();
    EXPECT_EQ(doc().record().grades.last_settlement(kGrade), before);
    EXPECT_FALSE(doc().is_modified());
    EXPECT_FALSE(undo()->isEnabled());
    EXPECT_TRUE(redo()->isEnabled());
    EXPECT_EQ(redo()->text(), QStringLiteral("重做 拖动数据点(&R)"));
    // The curve is drawn where the point was.
    view->grab();
    EXPECT_NEAR(view->to_pixel(qs.points()[kGrade].at).y(), at.y(), 2);

    redo()->trigger();
    EXPECT_EQ(doc().record().grades.last_settlement(kGrade), after);
    EXPECT_TRUE(doc().is_modified());
}

TEST_F(FrameUndoTest, WholeTestCommandsAreNamedAfterTheirMenuItems) {
    ui_.set_default_answer(MessageAnswer::kOk);
    // A restore right after opening gives the record as opened: nothing to
    // take back. After a correction it brings the tester's readings back.
    frame().show_curve(CurveKind::kQs);
    ASSERT_TRUE(frame().run_command(kInvert));
    EXPECT_EQ(undo()->text(), QStringLiteral("撤销 曲线反相(&U)"));
    ASSERT_TRUE(frame().run_command(kRestoreRawData));
    EXPECT_EQ(undo()->text(), QStringLiteral("撤销 将数据恢复到从测试仪刚传过来时的状态(&U)"));
    ASSERT_TRUE(frame().run_command(kUndo));
    EXPECT_EQ(redo()->text(), QStringLiteral("重做 将数据恢复到从测试仪刚传过来时的状态(&R)"));
    ASSERT_TRUE(frame().run_command(kUndo));
    EXPECT_FALSE(doc().is_modified());
    EXPECT_EQ(redo()->text(), QStringLiteral("重做 曲线反相(&R)"));
}

}  // namespace
}  // namespace kvd::testing
