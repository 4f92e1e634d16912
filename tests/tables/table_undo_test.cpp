// Every command of the detail tables' popup, the Insert and Delete keys and
// the edits typed into cells, undone and redone: the record comes back byte
// for byte as saved, each command is one step named as in the popup, and a
// command answered No or cancelled leaves no step.

#include <gtest/gtest.h>

#include "detail_table_fixture.h"
#include "doc/saved_image.h"
#include "tables/table_edit_commands.h"

namespace kvd::testing {
namespace {

class TableUndoTest : public DetailTableTest {
protected:
    TableUndoTest() {
        doc_.absorb_unrecorded_changes();
        load_.fill();
        unload_.fill();
        ui_.set_default_answer(MessageAnswer::kYes);
    }

    // Runs a popup command on a cell of the load table.
    void expect_popup_command(int command, CellId cell, const std::string& name) {
        load_.set_target_cell(cell);
        ASSERT_TRUE(load_.enabled(command)) << name;
        const SavedImage before = saved_image(doc_);
        ASSERT_TRUE(load_.run_command(command)) << name;
        // A new step, with nothing left to redo.
        EXPECT_FALSE(doc_.can_redo()) << name;
        expect_undo_and_redo(doc_, before, name);
        // Back to where the command started, for the next one.
        ASSERT_TRUE(doc_.undo());
    }

    void expect_typed(CellId cell, const char* text) {
        const SavedImage before = saved_image(doc_);
        ASSERT_TRUE(load_.end_edit(cell.row, cell.column, text)) << text;
        expect_undo_and_redo(doc_, before, kCellEditStepName);
        ASSERT_TRUE(doc_.undo());
    }
};

TEST_F(TableUndoTest, EveryPopupCommandIsUndoneAndRedone) {
    IntervalTable load = params().load_intervals;
    load[1] = 10;
    ui_.queue_intervals(load, params().unload_intervals);
    expect_popup_command(kCommandChangeIntervals, {2, 2}, "更改采样间隔");
    expect_popup_command(kCommandInsertGrade, {2, 2}, "在此级之后插入一级");
    expect_popup_command(kCommandInsertReading, {2, 2}, "在此数据之后插入一个读数");
    expect_popup_command(kCommandDeleteGrade, {2, 2}, "删除本级");
    expect_popup_command(kCommandDeleteReading, {2, 2}, "删除本次读数");
    // A grade of two readings goes whole.
    expect_popup_command(kCommandDeleteReading, {2, 3}, "删除本次读数");
    ui_.queue_number(0.5);
    expect_popup_command(kCommandAddValue, {2, 2}, "此数和以后的所有数加上固定值");
    ui_.queue_number(-1);
    expect_popup_command(kCommandMultiply, {2, 2}, "此数和以后的所有数乘上固定值");
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(TableUndoTest, AddingUnloadingDataIsUndone) {
    build({{0, 1}, {100, 3}, {200, 2}, {300, 2}}, {});
    doc_.absorb_unrecorded_changes();
    load_.fill();
    expect_popup_command(kCommandAddUnloading, {2, 2}, "加入卸载数据");
    EXPECT_EQ(doc_.record().grades.grade_count(), 4);
}

TEST_F(TableUndoTest, TheKeysAreUndoneAsTheirPopupItems) {
    load_.set_current_cell({2, 2});
    SavedImage before = saved_image(doc_);
    ASSERT_TRUE(load_.key_command(TableKey::kInsert));
    expect_undo_and_redo(doc_, before, "在此数据之后插入一个读数");
    before = saved_image(doc_);
    ASSERT_TRUE(load_.key_command(TableKey::kDelete));
    expect_undo_and_redo(doc_, before, "删除本次读数");
}

TEST_F(TableUndoTest, TypedValuesAreUndone) {
    expect_typed({2, 2}, "3.75");  // a reading
    expect_typed({0, 3}, "250");   // a grade's load
    expect_typed({2, 0}, "7");     // a planned time
    expect_typed({5, 3}, "2.5");   // readings appended below the last
}

TEST_F(TableUndoTest, RefusedOrCancelledCommandsLeaveNoStep) {
    ui_.set_default_answer(MessageAnswer::kNo);
    load_.set_target_cell({2, 2});
    EXPECT_FALSE(load_.run_command(kCommandDeleteGrade));
    ui_.queue_number(std::nullopt);
    EXPECT_FALSE(load_.run_command(kCommandAddValue));
    EXPECT_FALSE(load_.end_edit(2, 2, "99999999999"));  // out of range
    EXPECT_FALSE(doc_.can_undo());
}

}  // namespace
}  // namespace kvd::testing
