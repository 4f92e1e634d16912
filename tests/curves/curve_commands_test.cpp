// The commands of a curve's context menu on points and on the whole test:
// when each is enabled, what each asks, what it does to the record and what
// the views are told. The fixture's test: loads 0, 100, 200, 300 kN at 0, 1,
// 2.5, 4.5 mm, then unloading to 200 kN (4.0 mm) and 0 kN (3.0 mm); every
// grade has two readings and channel 1 alone is averaged.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curve_command_fixture.h"
#include "doc/record_edits.h"

namespace kvd::testing {
namespace {

TEST_F(CurveCommandTest, MenuItemsInOrderWithTheirPrompts) {
    const std::vector<int> ids = {32790, 32787, 32788, 32798, 32795, 32783, 32784,
                                  32785, 32786, 32779, 32780, 32778, 32797, 32834};
    ASSERT_EQ(kCurveMenu.size(), ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(kCurveMenu[i].id, ids[i]) << i;
    EXPECT_EQ(kCurveMenu[5].text, "删除本级(&D)");
    EXPECT_EQ(kCurveMenu[8].text, "移动到(&M) ...");
    EXPECT_EQ(curve_command_prompt(cc::kDeleteReading), "删除当前锁定的采样点\n删除采样点 (Del)");
    EXPECT_EQ(curve_command_prompt(cc::kShift),
              "将所有采样点的位移值加上一个指定值(可以为负数)\n曲线平移");
    EXPECT_EQ(curve_command_prompt(cc::kExportImage), "将图像存为 windows图元文件(.EMF)\n导出图像");
    EXPECT_EQ(curve_command_prompt(12345), "");
    EXPECT_EQ(kCurveToolsMenuTitle, "曲线工具(&I)");
}

TEST_F(CurveCommandTest, PointCommandsFollowTheFrozenCaptureAndTheKind) {
    const std::vector<int> always = {cc::kFitWindow, cc::kSetAxes, cc::kCurveStyle,
                                     cc::kInvert,    cc::kShift,   cc::kExportImage};
    const std::vector<int> point = {cc::kDeleteGrade, cc::kDeleteReading, cc::kChangeLoad,
                                    cc::kMoveTo};

    right_click_qs(-1);
    for (int id : always) EXPECT_TRUE(enabled(id)) << id;
    for (int id : point) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(run(cc::kMoveTo));
    EXPECT_TRUE(ui_.number_requests().empty());

    // Grade 0 on Q-s: of the point commands only move-to.
    right_click_qs(0);
    EXPECT_TRUE(qs_.menu_captured());
    EXPECT_EQ(qs_.captured_grade(), 0);
    EXPECT_FALSE(enabled(cc::kDeleteGrade));
    EXPECT_FALSE(enabled(cc::kDeleteReading));
    EXPECT_FALSE(enabled(cc::kChangeLoad));
    EXPECT_TRUE(enabled(cc::kMoveTo));

    right_click_qs(2);
    EXPECT_TRUE(enabled(cc::kDeleteGrade));
    EXPECT_FALSE(enabled(cc::kDeleteReading));
    EXPECT_TRUE(enabled(cc::kChangeLoad));
    EXPECT_TRUE(enabled(cc::kMoveTo));

    // s-lgt: the reverse of the delete items; no marks there.
    SlgtStandIn slgt(doc_);
    slgt.right_click_on(2, 1);
    EXPECT_FALSE(curve_command_enabled(cc::kDeleteGrade, slgt));
    EXPECT_TRUE(curve_command_enabled(cc::kDeleteReading, slgt));
    EXPECT_TRUE(curve_command_enabled(cc::kChangeLoad, slgt));
    EXPECT_TRUE(curve_command_enabled(cc::kMoveTo, slgt));
    EXPECT_FALSE(curve_command_enabled(cc::kMark, slgt));
    slgt.right_click_on(0, 1);
    EXPECT_TRUE(curve_command_enabled(cc::kDeleteReading, slgt));
    EXPECT_FALSE(curve_command_enabled(cc::kChangeLoad, slgt));

    EXPECT_FALSE(enabled(12345));
    EXPECT_FALSE(run(12345));
    EXPECT_FALSE(run(cc::kCurveStyle));  // the options dialog's business
}

TEST_F(CurveCommandTest, ZoomAndMarkItemsFollowTheirLimits) {
    EXPECT_TRUE(enabled(cc::kZoomIn));
    EXPECT_TRUE(enabled(cc::kZoomOut));
    EXPECT_TRUE(run(cc::kZoomIn));
    EXPECT_EQ(doc_.zoom_factor(), 1.5);
    doc_.set_zoom_factor(8);
    paint();
    EXPECT_FALSE(enabled(cc::kZoomIn));
    EXPECT_TRUE(enabled(cc::kZoomOut));
    doc_.set_zoom_factor(0.5);
    paint();
    EXPECT_TRUE(enabled(cc::kZoomIn));
    EXPECT_FALSE(enabled(cc::kZoomOut));
    EXPECT_TRUE(run(cc::kFitWindow));
    EXPECT_EQ(doc_.zoom_factor(), 0);

    EXPECT_TRUE(enabled(cc::kMark));
    EXPECT_FALSE(enabled(cc::kClearMarks));
    for (int i = 0; i < 19; ++i) doc_.add_mark({100.0 + i, 1});
    EXPECT_TRUE(enabled(cc::kMark));
    doc_.add_mark({50, 0.5});
    EXPECT_FALSE(enabled(cc::kMark));
    EXPECT_TRUE(enabled(cc::kClearMarks));
    ui_.queue_mark({MarkMode::kByLoad, 150, 0, 0, "kN"});
    EXPECT_FALSE(run(cc::kMark));  // the 21st mark: not even asked
    EXPECT_TRUE(ui_.marks_shown().empty());
    EXPECT_EQ(doc_.marks().size(), 20u);
}

TEST_F(CurveCommandTest, DeleteGradeAsksThenRemovesAndRenumbers) {
    right_click_qs(2);
    reset();
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(run(cc::kDeleteGrade));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "您真的决定删除这一级数据吗?");
    EXPECT_EQ(ui_.shown()[0].caption, "警告");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(ui_.beeps(), 1);
    expect_unchanged_and_unmodified();
    EXPECT_TRUE(qs_.menu_captured());  // only a confirmed delete clears it

    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(run(cc::kDeleteGrade));
    const CTestData& grades = doc_.record().grades;
    ASSERT_EQ(grades.grade_count(), 5);
    EXPECT_EQ(grades.first_load(2), 300);
    EXPECT_EQ(reading(2, 1).grade, 2);
    EXPECT_EQ(reading(4, 0).grade, 4);
    // The former grade 3 now follows grade 1: its first reading repeats 1.00.
    EXPECT_DOUBLE_EQ(reading(2, 0).settlement, 1.0);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    EXPECT_FALSE(qs_.menu_captured());
    EXPECT_FALSE(enabled(cc::kDeleteGrade));
}

TEST_F(CurveCommandTest, DeleteReadingOnSlgtTakesTheGradeWhenItIsTheLast) {
    doc_.record().grades.duplicate_reading(1, 1);  // grade 1 has three readings
    SlgtStandIn slgt(doc_);
    slgt.right_click_on(1, 2);
    reset();
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(run_curve_command(cc::kDeleteReading, slgt));
    EXPECT_EQ(ui_.shown().at(0).text, "您真的决定删除这个数据吗?");
    expect_unchanged_and_unmodified();

    EXPECT_TRUE(run_curve_command(cc::kDeleteReading, slgt));
    EXPECT_EQ(doc_.record().grades.reading_count(1), 2);
    EXPECT_EQ(doc_.record().grades.grade_count(), 6);
    EXPECT_FALSE(slgt.menu_captured());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});

    slgt.right_click_on(3, 1);
    reset();
    EXPECT_TRUE(run_curve_command(cc::kDeleteReading, slgt));
    EXPECT_EQ(ui_.shown().at(0).text, std::string(kConfirmDeleteLastReading));
    EXPECT_EQ(ui_.beeps(), 1);
    EXPECT_EQ(doc_.record().grades.grade_count(), 5);
    EXPECT_EQ(doc_.record().grades.first_load(3), 200);  // the first unloading grade
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(CurveCommandTest, ChangeLoadSetsTheWholeGrade) {
    right_click_qs(2);
    reset();
    EXPECT_FALSE(run(cc::kChangeLoad));  // Cancel
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    const NumberDialogRequest request = ui_.number_requests()[0];
    EXPECT_EQ(request.title, "更改锁定点的荷载值");
    EXPECT_EQ(request.labels, (std::vector<std::string>{"请输入新的荷载值", "kN"}));
    EXPECT_EQ(request.initial, 200);
    EXPECT_TRUE(request.integer);
    EXPECT_EQ(request.minimum, 1);
    EXPECT_EQ(request.maximum, 100000);
    expect_unchanged_and_unmodified();
    EXPECT_FALSE(qs_.menu_captured());  // cleared whatever the answer

    right_click_qs(2);
    reset();
    // The dialog refuses what is not a whole number in 1 ... 100000.
    for (double v : {0.0, 100001.0, 150.5, 250.0}) ui_.queue_number(v);
    EXPECT_TRUE(run(cc::kChangeLoad));
    EXPECT_EQ(ui_.refused_numbers(), 3);
    EXPECT_EQ(reading(2, 0).load, 250);
    EXPECT_EQ(reading(2, 1).load, 250);
    EXPECT_EQ(reading(3, 0).load, 300);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(2, kWholeGrade), change_notice(3, 0)}));
    EXPECT_FALSE(qs_.menu_captured());

    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    right_click_qs(2);
    reset();
    run(cc::kChangeLoad);
    EXPECT_EQ(ui_.number_requests().at(0).labels.at(1), "kPa");
    EXPECT_EQ(ui_.number_requests().at(0).initial, 250);
}

TEST_F(CurveCommandTest, MoveToShiftsTheGradeOrTheReading) {
    right_click_qs(0);
    reset();
    EXPECT_FALSE(run(cc::kMoveTo));  // Cancel
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    EXPECT_EQ(ui_.number_requests()[0].title, "移动锁定点到新的位置");
    EXPECT_EQ(ui_.number_requests()[0].labels,
              (std::vector<std::string>{"请输入新的位移值", "mm"}));
    EXPECT_EQ(ui_.number_requests()[0].initial, 0);
    EXPECT_EQ(ui_.number_requests()[0].decimals, 2);
    expect_unchanged_and_unmodified();
    EXPECT_FALSE(qs_.menu_captured());

    // The same value to two decimals changes nothing.
    right_click_qs(1);
    reset();
    ui_.queue_number(1.004);
    EXPECT_FALSE(run(cc::kMoveTo));
    EXPECT_EQ(ui_.number_requests().at(0).initial, 1.0);
    expect_unchanged_and_unmodified();

    right_click_qs(1);
    reset();
    ui_.queue_number(2.345);
    EXPECT_TRUE(run(cc::kMoveTo));
    EXPECT_DOUBLE_EQ(settlement(1), 2.35);
    EXPECT_DOUBLE_EQ(reading(2, 0).settlement, 2.35);  // repeats grade 1's last
    EXPECT_DOUBLE_EQ(settlement(2), 2.5);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(1, kWholeGrade), change_notice(2, 0)}));
    EXPECT_FALSE(qs_.menu_captured());

    // s-lgt moves the captured reading alone.
    SlgtStandIn slgt(doc_);
    slgt.right_click_on(3, 1);
    reset();
    ui_.queue_number(5);
    EXPECT_TRUE(run_curve_command(cc::kMoveTo, slgt));
    EXPECT_EQ(ui_.number_requests().at(0).initial, 4.5);
    EXPECT_DOUBLE_EQ(reading(3, 1).settlement, 5.0);
    EXPECT_DOUBLE_EQ(reading(3, 0).settlement, 2.5);
    EXPECT_EQ(log_.hints, (std::vector<int>{change_notice(3, 1), change_notice(4, 0)}));

    // A displacement beyond any gauge is refused with a message.
    slgt.right_click_on(3, 1);
    reset();
    ui_.queue_number(5e9);
    EXPECT_FALSE(run_curve_command(cc::kMoveTo, slgt));
    EXPECT_EQ(ui_.shown().at(0).text, "输入的数超出范围!");
    expect_unchanged_and_unmodified();
}

TEST_F(CurveCommandTest, InvertTwiceRestoresToTwoDecimals) {
    doc_.record().grades.grade(2)->points()[1].channel[0] = 2.456;
    doc_.record().grades.grade(2)->points()[1].channel[1] = 7.777;  // not averaged
    reset();
    EXPECT_TRUE(run(cc::kInvert));
    EXPECT_TRUE(ui_.number_requests().empty());
    EXPECT_DOUBLE_EQ(reading(2, 1).channel[0], -2.46);
    EXPECT_DOUBLE_EQ(settlement(2), -2.46);
    EXPECT_DOUBLE_EQ(settlement(3), -4.5);
    EXPECT_DOUBLE_EQ(settlement(5), -3.0);
    EXPECT_EQ(reading(2, 1).channel[1], 7.777);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});

    EXPECT_TRUE(run(cc::kInvert));
    EXPECT_DOUBLE_EQ(reading(2, 1).channel[0], 2.46);
    EXPECT_DOUBLE_EQ(settlement(1), 1.0);
    EXPECT_DOUBLE_EQ(settlement(3), 4.5);
}

TEST_F(CurveCommandTest, ShiftBringsTheFirstGradeToZero) {
    build({{0, 0.37}, {100, 1.2}, {200, 2.5}, {0, 1.9, false}});
    paint();
    reset();
    EXPECT_FALSE(run(cc::kShift));  // Cancel counts as 0
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    const NumberDialogRequest& request = ui_.number_requests()[0];
    EXPECT_EQ(request.title, "加上一个固定值");
    EXPECT_EQ(request.labels, (std::vector<std::string>{"请输入要加上的位移变化值",
                                                        "(如果为负值表示减去一个固定值)", "mm"}));
    EXPECT_DOUBLE_EQ(request.initial, -0.37);
    expect_unchanged_and_unmodified();

    ui_.queue_number(0.004);  // 0 to two decimals
    EXPECT_FALSE(run(cc::kShift));
    expect_unchanged_and_unmodified();

    // Confirmed as it opens.
    ui_.queue_number(-0.37);
    EXPECT_TRUE(run(cc::kShift));
    EXPECT_DOUBLE_EQ(settlement(0), 0.0);
    EXPECT_DOUBLE_EQ(settlement(1), 0.83);
    EXPECT_DOUBLE_EQ(settlement(2), 2.13);
    EXPECT_DOUBLE_EQ(settlement(3), 1.53);  // unloading grades too
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});

    reset();
    ui_.queue_number(-5e9);
    EXPECT_FALSE(run(cc::kShift));
    EXPECT_EQ(ui_.shown().at(0).text, "输入的数超出范围!");
    expect_unchanged_and_unmodified();
}

}  // namespace
}  // namespace kvd::testing
