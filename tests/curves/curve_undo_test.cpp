// Every command of the curve menu that changes the record or the marks, and
// a drag, undone and redone: the record comes back byte for byte as saved,
// each command is one step named as in the menu, a whole drag is one step.

#include <gtest/gtest.h>

#include "curve_command_fixture.h"
#include "doc/saved_image.h"
#include "doc/undo_history.h"

namespace kvd::testing {
namespace {

class CurveUndoTest : public CurveCommandTest {
protected:
    CurveUndoTest() {
        doc_.absorb_unrecorded_changes();
        ui_.set_default_answer(MessageAnswer::kYes);
    }

    // Runs a command on a curve, checks undo and redo, and undoes it again
    // so that the next command starts from the same record.
    void expect_command(int command, CImage& curve, const std::string& name) {
        const SavedImage before = saved_image(doc_);
        ASSERT_TRUE(run_curve_command(command, curve)) << name;
        // A new step, with nothing left to redo.
        EXPECT_FALSE(doc_.can_redo()) << name;
        expect_undo_and_redo(doc_, before, name);
        ASSERT_TRUE(doc_.undo());
        EXPECT_EQ(saved_image(doc_), before) << name;
        paint();
    }
};

TEST_F(CurveUndoTest, EveryCurveCommandIsUndoneAndRedone) {
    SlgtStandIn slgt(doc_);
    right_click_qs(2);
    expect_command(cc::kDeleteGrade, qs_, "删除本级");
    slgt.right_click_on(3, 1);
    expect_command(cc::kDeleteReading, slgt, "删除本次读数");
    right_click_qs(2);
    ui_.queue_number(250);
    expect_command(cc::kChangeLoad, qs_, "更改荷载值");
    right_click_qs(3);
    ui_.queue_number(6.2);
    expect_command(cc::kMoveTo, qs_, "移动到");
    slgt.right_click_on(2, 1);
    ui_.queue_number(1.1);
    expect_command(cc::kMoveTo, slgt, "移动到");
    expect_command(cc::kInvert, qs_, "曲线反相");
    ui_.queue_number(0.75);
    expect_command(cc::kShift, qs_, "曲线平移");

    ScriptedUserInterface::AxesScript axes;
    axes.edits = {{AxesField::kXMax, 400}, {AxesField::kYMax, 10}};
    axes.coordinate_mode = 1;
    axes.direction_kind = 2;
    ui_.queue_axes(axes);
    expect_command(cc::kSetAxes, qs_, "设定坐标");

    ui_.queue_mark({MarkMode::kByLoad, 150, 0, 0, "kN"});
    expect_command(cc::kMark, qs_, "标记");
    ui_.queue_mark({MarkMode::kByLoad, 150, 0, 0, "kN"});
    ASSERT_TRUE(run(cc::kMark));
    expect_command(cc::kClearMarks, qs_, "清除标记");
    EXPECT_EQ(doc_.marks().size(), 1u);
}

TEST_F(CurveUndoTest, AWholeDragIsOneStep) {
    const SavedImage before = saved_image(doc_);
    qs_.cursor_request({900, -825});  // grade 3
    ASSERT_EQ(qs_.captured_grade(), 3);
    {
        CommandStep drag(doc_, kDragStepName);
        ASSERT_TRUE(qs_.mouse_move({900, -700}, true).has_value());
        ASSERT_TRUE(qs_.mouse_move({900, -650}, true).has_value());
        ASSERT_TRUE(qs_.mouse_move({900, -600}, true).has_value());
    }
    EXPECT_EQ(doc_.history().size(), 1u);
    // The step holds the dragged grade and the next one's first reading.
    EXPECT_LE(doc_.history().step_to_undo().points.size(), 2u);
    expect_undo_and_redo(doc_, before, kDragStepName);
    ASSERT_TRUE(doc_.undo());
    EXPECT_DOUBLE_EQ(settlement(3), 4.5);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(CurveUndoTest, ZoomAndCancelledCommandsLeaveNoStep) {
    ASSERT_TRUE(run(cc::kZoomIn));
    ui_.queue_number(std::nullopt);
    EXPECT_FALSE(run(cc::kShift));
    right_click_qs(2);
    ui_.set_default_answer(MessageAnswer::kNo);
    EXPECT_FALSE(run(cc::kDeleteGrade));
    EXPECT_FALSE(doc_.can_undo());
}

}  // namespace
}  // namespace kvd::testing
