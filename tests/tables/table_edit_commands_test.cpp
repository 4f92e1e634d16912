// The detail tables' popup: menu states of each kind of cell, the commands
// each state offers, the Insert and Delete keys, and every command with its
// confirmation or dialog answered each way.

#include "tables/table_edit_commands.h"

#include <gtest/gtest.h>

#include "detail_table_fixture.h"

namespace kvd::testing {
namespace {

const std::vector<int> kAllCommands = {32796, 32781, 32782, 32783, 32784, 32814, 32793, 32820};

class TableCommandTest : public DetailTableTest {
protected:
    TableCommandTest() {
        load_.fill();
        unload_.fill();
        clear_logs();
    }
    // The commands a table offers on a cell.
    static std::vector<int> offered(CTestTable& table, CellId cell) {
        table.set_target_cell(cell);
        std::vector<int> ids;
        for (int id : kAllCommands) {
            if (table.enabled(id)) ids.push_back(id);
        }
        return ids;
    }
    void expect_unchanged_and_unmodified() {
        EXPECT_FALSE(doc_.is_modified());
        EXPECT_TRUE(log_.hints.empty());
    }
    void expect_question(const char* text) {
        expect_message(text, "警告", MessageButtons::kYesNo, MessageIcon::kWarning);
    }
};

TEST_F(TableCommandTest, PopupItemsInOrder) {
    std::vector<std::pair<int, std::string_view>> items;
    for (const TablePopupItem& item : kTablePopupMenu) items.emplace_back(item.id, item.text);
    const std::vector<std::pair<int, std::string_view>> expected = {
        {32796, "更改采样间隔(&C)"},
        {0, ""},
        {32781, "在此级之后插入一级(&G)"},
        {32782, "在此数据之后插入一个读数(&T)"},
        {32783, "删除本级(&D)"},
        {32784, "删除本次读数(&I)"},
        {0, ""},
        {32814, "此数和以后的所有数加上固定值(&P)"},
        {32793, "此数和以后的所有数乘上固定值(&R)"},
        {0, ""},
        {32820, "加入卸载数据(&U)"},
    };
    EXPECT_EQ(items, expected);
}

TEST_F(TableCommandTest, MenuStateOfEachKindOfCell) {
    EXPECT_EQ(load_.menu_state_for({-1, -1}), 1);
    EXPECT_EQ(load_.menu_state_for({5, 0}), 1);
    EXPECT_EQ(load_.menu_state_for({2, 4}), 1);    // no such grade
    EXPECT_EQ(load_.menu_state_for({101, 2}), 1);  // below the grid
    EXPECT_EQ(load_.menu_state_for({0, 1}), 3);
    EXPECT_EQ(load_.menu_state_for({1, 1}), 4);
    EXPECT_EQ(load_.menu_state_for({2, 1}), 3);
    EXPECT_EQ(load_.menu_state_for({0, 2}), 2);
    EXPECT_EQ(load_.menu_state_for({1, 2}), 5);
    EXPECT_EQ(load_.menu_state_for({2, 2}), 6);
    EXPECT_EQ(load_.menu_state_for({3, 2}), 6);
    EXPECT_EQ(load_.menu_state_for({4, 2}), 2);
    // The unload table's first column is like any other.
    EXPECT_EQ(unload_.menu_state_for({1, 1}), 5);
    EXPECT_EQ(unload_.menu_state_for({0, 1}), 2);
    EXPECT_EQ(unload_.menu_state_for({2, 1}), 6);
    EXPECT_EQ(unload_.menu_state_for({3, 1}), 2);

    EXPECT_EQ(load_.menu_state(), 1);
    load_.set_target_cell({3, 2});
    EXPECT_EQ(load_.menu_state(), 6);
    load_.set_target_cell({1, 1});
    EXPECT_EQ(load_.menu_state(), 4);
}

TEST_F(TableCommandTest, CommandsOfferedInEachState) {
    using V = std::vector<int>;
    EXPECT_EQ(offered(load_, {5, 0}), (V{32796}));                                            // 1
    EXPECT_EQ(offered(load_, {0, 2}), (V{32796, 32781, 32783}));                              // 2
    EXPECT_EQ(offered(load_, {0, 1}), (V{32796, 32781}));                                     // 3
    EXPECT_EQ(offered(load_, {1, 1}), (V{32796, 32781, 32814, 32793}));                       // 4
    EXPECT_EQ(offered(load_, {1, 2}), (V{32796, 32781, 32782, 32783}));                       // 5
    EXPECT_EQ(offered(load_, {2, 2}), (V{32796, 32781, 32782, 32783, 32784, 32814, 32793}));  // 6
    EXPECT_FALSE(command_enabled(12345, 6, true));

    // Adding unloading data is offered only while there is no unloading grade.
    build({{0, 1}, {100, 2}, {200, 2}}, {});
    EXPECT_EQ(offered(load_, {5, 0}), (V{32796, 32820}));
    load_.set_target_cell({5, 0});
    ASSERT_TRUE(load_.run_command(32820));
    EXPECT_EQ(doc_.record().grades.grade_count(), 4);
    EXPECT_EQ(doc_.record().grades.first_load(3), 0);
    EXPECT_EQ(doc_.record().grades.get_reading(3, 0)->loading, kUnloading);
    EXPECT_FALSE(load_.enabled(32820));
    EXPECT_FALSE(load_.run_command(32820));
    EXPECT_EQ(doc_.record().grades.grade_count(), 4);
}

TEST_F(TableCommandTest, DisabledCommandsDoNothing) {
    load_.set_target_cell({0, 2});  // state 2
    EXPECT_FALSE(load_.run_command(32784));
    EXPECT_FALSE(load_.run_command(32814));
    EXPECT_FALSE(load_.run_command(12345));
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_TRUE(ui_.number_requests().empty());
    expect_unchanged_and_unmodified();
}

TEST_F(TableCommandTest, InsertAndDeleteKeysFollowTheCurrentCell) {
    for (CellId cell : {CellId{5, 0}, CellId{0, 2}, CellId{4, 2}}) {  // states 1 and 2
        ASSERT_TRUE(load_.set_current_cell(cell));
        EXPECT_FALSE(load_.key_command(TableKey::kInsert));
        EXPECT_FALSE(load_.key_command(TableKey::kDelete));
    }
    EXPECT_TRUE(ui_.shown().empty());
    expect_unchanged_and_unmodified();

    ASSERT_TRUE(load_.set_current_cell({1, 2}));  // state 5: insert only
    EXPECT_FALSE(load_.key_command(TableKey::kDelete));
    EXPECT_TRUE(load_.key_command(TableKey::kInsert));
    EXPECT_EQ(readings(1), 4);

    ASSERT_TRUE(load_.set_current_cell({3, 2}));  // state 6: both
    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(load_.key_command(TableKey::kDelete));
    EXPECT_EQ(readings(1), 3);
    EXPECT_TRUE(load_.key_command(TableKey::kInsert));
    EXPECT_EQ(readings(1), 4);
}

TEST_F(TableCommandTest, DeleteGradeAsksFirst) {
    load_.set_target_cell({2, 3});  // grade 2
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(load_.run_command(kCommandDeleteGrade));
    expect_question("您真的决定删除这一级数据吗?");
    EXPECT_EQ(doc_.record().grades.grade_count(), 5);
    expect_unchanged_and_unmodified();

    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(load_.run_command(kCommandDeleteGrade));
    ASSERT_EQ(doc_.record().grades.grade_count(), 4);
    EXPECT_EQ(reading(2, 1).load, 100);  // the former grade 3
    EXPECT_EQ(reading(2, 1).grade, 2);
    EXPECT_EQ(reading(3, 0).grade, 3);
    EXPECT_DOUBLE_EQ(reading(2, 0).settlement, reading(1, 2).settlement);  // renumbered
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    EXPECT_EQ(load_.menu_state(), 1);  // the column is gone
}

TEST_F(TableCommandTest, DeleteReadingAsksFirstAndTakesTheGradeWithItsLastTwo) {
    load_.set_target_cell({2, 2});  // grade 1, reading 1 of 3
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(load_.run_command(kCommandDeleteReading));
    expect_question("您真的决定删除这个数据吗?");
    EXPECT_EQ(readings(1), 3);
    expect_unchanged_and_unmodified();
    clear_logs();

    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(load_.run_command(kCommandDeleteReading));
    ASSERT_EQ(readings(1), 2);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.3);
    EXPECT_EQ(reading(1, 1).minutes, 5);
    EXPECT_TRUE(doc_.is_modified());
    doc_.set_modified(false);
    clear_logs();

    // Two readings left: deleting one deletes the grade.
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(load_.run_command(kCommandDeleteReading));
    expect_question("这是本级唯一的记录数据，删除此数据将会删掉这一级数据，\n您真的要删除吗?");
    expect_unchanged_and_unmodified();
    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(load_.run_command(kCommandDeleteReading));
    EXPECT_EQ(doc_.record().grades.grade_count(), 4);
    EXPECT_EQ(doc_.record().grades.first_load(1), 200);
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(TableCommandTest, InsertReadingCopiesTheTargetAndRenumbers) {
    load_.set_target_cell({2, 2});
    EXPECT_TRUE(load_.run_command(kCommandInsertReading));
    ASSERT_EQ(readings(1), 4);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.2);
    EXPECT_DOUBLE_EQ(reading(1, 2).settlement, 1.2);
    EXPECT_DOUBLE_EQ(reading(1, 3).settlement, 1.3);
    EXPECT_EQ(reading(1, 3).minutes, 30);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});

    // A grade holding as many readings as a table has rows takes no more:
    // neither from the menu nor with the Insert key.
    doc_.record().grades.grade(1)->insert(1, reading(1, 1), 96);
    ASSERT_EQ(readings(1), 100);
    EXPECT_FALSE(load_.enabled(kCommandInsertReading));
    EXPECT_FALSE(load_.run_command(kCommandInsertReading));
    ASSERT_TRUE(load_.set_current_cell({2, 2}));
    EXPECT_FALSE(load_.key_command(TableKey::kInsert));
    EXPECT_EQ(readings(1), 100);
}

TEST_F(TableCommandTest, InsertGradeAfterTheTargetOrAtTheEnd) {
    load_.set_target_cell({3, 2});  // grade 1
    EXPECT_TRUE(load_.run_command(kCommandInsertGrade));
    const CTestData& grades = doc_.record().grades;
    ASSERT_EQ(grades.grade_count(), 6);
    ASSERT_EQ(readings(2), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(reading(2, i).grade, 2);
        EXPECT_EQ(reading(2, i).load, 100);
        EXPECT_EQ(reading(2, i).loading, kLoading);
        EXPECT_DOUBLE_EQ(reading(2, i).settlement, 1.3);
    }
    EXPECT_EQ(reading(2, 1).minutes, 5);
    EXPECT_EQ(reading(3, 0).grade, 3);  // the former grade 2
    EXPECT_EQ(grades.first_load(3), 200);
    EXPECT_EQ(reading(5, 1).grade, 5);
    EXPECT_TRUE(doc_.is_modified());

    unload_.set_target_cell({0, 2});  // the last grade, state 2
    EXPECT_TRUE(unload_.run_command(kCommandInsertGrade));
    ASSERT_EQ(grades.grade_count(), 7);
    EXPECT_EQ(reading(6, 0).grade, 6);
    EXPECT_EQ(reading(6, 0).loading, kUnloading);
    EXPECT_EQ(reading(5, 0).grade, 5);
}

TEST_F(TableCommandTest, AddValueAsksThenShiftsTheRestOfTheTest) {
    doc_.record().test_params.averaged[3] = 1;  // averaged, whatever its role
    load_.set_target_cell({2, 2});              // grade 1, reading 1 at 1.20

    EXPECT_FALSE(load_.run_command(kCommandAddValue));  // cancelled: 0
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    const NumberDialogRequest& request = ui_.number_requests()[0];
    EXPECT_EQ(request.title, "加上一个固定值");
    EXPECT_EQ(request.labels, (std::vector<std::string>{"请输入要加上的位移变化值",
                                                        "(如果为负值表示减去一个固定值)", "mm"}));
    EXPECT_DOUBLE_EQ(request.initial, -1.2);
    ui_.queue_number(0.004);  // rounds to 0: nothing
    EXPECT_FALSE(load_.run_command(kCommandAddValue));
    expect_unchanged_and_unmodified();

    ui_.queue_number(0.126);
    EXPECT_TRUE(load_.run_command(kCommandAddValue));
    EXPECT_DOUBLE_EQ(reading(1, 0).settlement, 0.1);  // before the target
    EXPECT_DOUBLE_EQ(reading(0, 0).settlement, 0.1);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.33);
    EXPECT_DOUBLE_EQ(reading(1, 2).settlement, 1.43);
    EXPECT_DOUBLE_EQ(reading(4, 1).settlement, 4.33);  // unloading grades too
    EXPECT_DOUBLE_EQ(reading(4, 1).channel[3], 0.13);
    EXPECT_EQ(reading(4, 1).channel[2], 9.0);  // not averaged
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    doc_.set_modified(false);
    clear_logs();

    // A value that would take readings out of range is refused whole.
    ui_.queue_number(5e9);
    EXPECT_FALSE(load_.run_command(kCommandAddValue));
    expect_message(kValueOutOfRange, "错误", MessageButtons::kOk, MessageIcon::kError);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.33);
    expect_unchanged_and_unmodified();
}

TEST_F(TableCommandTest, MultiplyAsksThenScalesTheRestOfTheTest) {
    doc_.record().grades.grade(4)->get(1)->channel[0] = 1.234;
    load_.set_target_cell({1, 1});  // state 4: the whole test

    EXPECT_FALSE(load_.run_command(kCommandMultiply));  // cancelled: 1
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    EXPECT_EQ(ui_.number_requests()[0].title, "乘上一个固定值");
    EXPECT_EQ(ui_.number_requests()[0].labels,
              (std::vector<std::string>{"请输入要乘上的倍数", "(如果为 -1 表示位移数据正负变换)"}));
    EXPECT_DOUBLE_EQ(ui_.number_requests()[0].initial, -1.0);
    ui_.queue_number(1.0);
    EXPECT_FALSE(load_.run_command(kCommandMultiply));
    expect_unchanged_and_unmodified();

    ui_.queue_number(-1.0);
    EXPECT_TRUE(load_.run_command(kCommandMultiply));
    EXPECT_DOUBLE_EQ(reading(0, 0).settlement, -0.1);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, -1.2);
    EXPECT_DOUBLE_EQ(reading(4, 1).channel[0], -1.23);  // to two decimals
    EXPECT_EQ(reading(4, 1).channel[2], 9.0);
    EXPECT_TRUE(doc_.is_modified());
    doc_.set_modified(false);
    clear_logs();

    ui_.queue_number(1e300);
    EXPECT_FALSE(load_.run_command(kCommandMultiply));
    expect_message(kValueOutOfRange, "错误", MessageButtons::kOk, MessageIcon::kError);
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, -1.2);
    expect_unchanged_and_unmodified();
}

TEST_F(TableCommandTest, ChangeIntervalsStoresBothTablesOnOk) {
    load_.set_target_cell({5, 0});
    EXPECT_FALSE(load_.run_command(kCommandChangeIntervals));  // cancelled
    expect_unchanged_and_unmodified();

    IntervalTable load = {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 70000};
    IntervalTable unload = {0, -5, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
    // An interval after the first set to 0 or less would put two readings on
    // one minute: refused, nothing changed.
    for (int wrong : {-5, 0}) {
        unload[1] = wrong;
        ui_.queue_intervals(load, unload);
        EXPECT_FALSE(load_.run_command(kCommandChangeIntervals)) << wrong;
        expect_message(kIntervalNotPositive, "错误", MessageButtons::kOk, MessageIcon::kError);
        expect_unchanged_and_unmodified();
        clear_logs();
    }
    EXPECT_EQ(first_unplanned_interval(load, load), -1);  // a 0 kept as it was is no change
    IntervalTable zero_first = load;
    zero_first[0] = 0;
    EXPECT_EQ(first_unplanned_interval(load, zero_first), -1);  // the first may be 0
    zero_first[7] = -1;
    EXPECT_EQ(first_unplanned_interval(load, zero_first), 7);

    unload[1] = 10;
    ui_.queue_intervals(load, unload);
    EXPECT_TRUE(load_.run_command(kCommandChangeIntervals));
    load[11] = 65535;  // what the file can keep
    EXPECT_EQ(params().load_intervals, load);
    EXPECT_EQ(params().unload_intervals, unload);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(doc_.record().header.load_intervals[i], load[static_cast<std::size_t>(i)]);
        EXPECT_EQ(doc_.record().header.unload_intervals[i], unload[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(reading(1, 2).minutes, 6);  // renumbered
    EXPECT_EQ(reading(3, 1).minutes, 10);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    unload_.fill();
    EXPECT_EQ(unload_.cell_text(3, 0), "20");
}

}  // namespace
}  // namespace kvd::testing
