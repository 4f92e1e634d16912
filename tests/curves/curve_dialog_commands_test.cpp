// The curve commands with dialogs of their own: "设定坐标(&O)" (the field
// checks, what OK stores) and "标记(&K)" / "清除标记(&L)". Same fixture as
// curve_commands_test.cpp.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "curve_command_fixture.h"
#include "curves/curve_dialogs.h"

namespace kvd::testing {
namespace {

TEST_F(CurveCommandTest, SetAxesChecksEachFieldAndStoresOnOk) {
    reset();
    EXPECT_FALSE(run(cc::kSetAxes));  // Cancel
    ASSERT_EQ(ui_.axes_requests().size(), 1u);
    const AxesDialogState opened = ui_.axes_requests()[0];
    EXPECT_EQ(opened.coordinate_mode, 0);
    EXPECT_EQ(opened.x_max, 300);
    EXPECT_EQ(opened.y_max, 5);
    EXPECT_EQ(opened.y_min, 0);
    EXPECT_EQ(opened.direction_kind, 1);
    EXPECT_EQ(opened.load_unit, "kN");
    expect_unchanged_and_unmodified();

    using Edit = ScriptedUserInterface::AxesScript::Edit;
    ScriptedUserInterface::AxesScript script;
    script.edits = {Edit{AxesField::kYMax, 4.0}, Edit{AxesField::kXMax, 250},
                    Edit{AxesField::kYMin, 0.5}, Edit{AxesField::kXMax, 400},
                    Edit{AxesField::kYMax, 10},  Edit{AxesField::kYMin, -1}};
    script.coordinate_mode = 1;
    script.direction_kind = 2;
    ui_.queue_axes(script);
    ui_.queue_answer(MessageAnswer::kRetry);
    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_TRUE(run(cc::kSetAxes));
    ASSERT_EQ(ui_.shown().size(), 3u);
    EXPECT_EQ(ui_.shown()[0].text, "纵坐标最大值小于最大沉降量!");
    EXPECT_EQ(ui_.shown()[1].text, "横坐标最大值小于最大荷载值!");
    EXPECT_EQ(ui_.shown()[2].text, "纵坐标最小值大于最小沉降量!");
    for (const auto& shown : ui_.shown()) {
        EXPECT_EQ(shown.caption, "错误");
        EXPECT_EQ(shown.buttons, MessageButtons::kRetryCancel);
        EXPECT_EQ(shown.icon, MessageIcon::kError);
    }
    EXPECT_EQ(ui_.beeps(), 3);

    const TestParams& p = doc_.record().test_params;
    EXPECT_EQ(p.coordinate_mode, 1);
    EXPECT_EQ(p.direction_kind, 2);
    EXPECT_EQ(p.x_axis_max, 400);
    EXPECT_EQ(p.y_axis_max, 10);
    EXPECT_EQ(p.y_axis_min, -1);
    const TestHeader& h = doc_.record().header;
    EXPECT_EQ(h.coordinate_mode, 1);
    EXPECT_EQ(h.direction_kind, 2);
    EXPECT_EQ(h.x_axis_max, 400);
    EXPECT_EQ(h.y_axis_max, 10);
    EXPECT_EQ(h.y_axis_min, -1);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    paint();
    EXPECT_EQ(qs_.x_max(), 400);
    EXPECT_EQ(qs_.y_min(), -1);
    EXPECT_EQ(qs_.y_range(), 11);
}

TEST_F(CurveCommandTest, SetAxesNeverStoresAxesThatCutTheTest) {
    // User-defined axes set earlier no longer cover the test; OK without
    // touching the fields does not store them again.
    TestParams& p = doc_.record().test_params;
    p.coordinate_mode = 1;
    p.x_axis_max = 300;
    p.y_axis_min = 0;
    p.y_axis_max = 3;
    paint();
    reset();
    ui_.queue_axes({});
    ui_.set_default_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(run(cc::kSetAxes));
    EXPECT_EQ(ui_.shown().at(0).text, "纵坐标最大值小于最大沉降量!");
    expect_unchanged_and_unmodified();
    EXPECT_EQ(p.y_axis_max, 3);

    // Switching to automatic axes is always possible.
    ScriptedUserInterface::AxesScript automatic;
    automatic.coordinate_mode = 0;
    ui_.queue_axes(automatic);
    EXPECT_TRUE(run(cc::kSetAxes));
    EXPECT_EQ(p.coordinate_mode, 0);
}

TEST_F(CurveCommandTest, AxesFieldChecks) {
    const Extremes e{300, 4.5, -0.5};
    AxesDialogState s{1, 300, 4.5, -0.5, 1, "kN"};
    for (AxesField f : {AxesField::kXMax, AxesField::kYMax, AxesField::kYMin}) {
        EXPECT_EQ(axes_field_error(f, s, e), "");
    }
    s.x_max = 299;
    EXPECT_EQ(axes_field_error(AxesField::kXMax, s, e), "横坐标最大值小于最大荷载值!");
    s.y_max = std::nan("");
    EXPECT_EQ(axes_field_error(AxesField::kYMax, s, e), "纵坐标最大值小于最大沉降量!");
    s.y_min = -0.49;
    EXPECT_EQ(axes_field_error(AxesField::kYMin, s, e), "纵坐标最小值大于最小沉降量!");

    const AxesValidator validate = axes_validator(ui_, e);
    ui_.queue_answer(MessageAnswer::kRetry);
    EXPECT_EQ(validate(AxesField::kXMax, s), FieldVerdict::kRestoreAndRetry);
    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_EQ(validate(AxesField::kXMax, s), FieldVerdict::kRestore);
    s.x_max = 500;
    EXPECT_EQ(validate(AxesField::kXMax, s), FieldVerdict::kAccept);
    EXPECT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.beeps(), 2);
}

TEST_F(CurveCommandTest, MarksInEveryMode) {
    reset();
    EXPECT_FALSE(run(cc::kMark));  // Cancel
    EXPECT_TRUE(doc_.marks().empty());
    EXPECT_EQ(ui_.marks_shown().at(0).load_unit, "kN");
    expect_unchanged_and_unmodified();

    ui_.queue_mark({MarkMode::kByLoad, 150, 0, 0, ""});
    EXPECT_TRUE(run(cc::kMark));
    EXPECT_DOUBLE_EQ(ui_.marks_shown().back().settlement, 1.75);
    EXPECT_DOUBLE_EQ(ui_.marks_shown().back().ratio, 0.012);
    ui_.queue_mark({MarkMode::kBySettlement, 0, 3.5, 0, ""});
    EXPECT_TRUE(run(cc::kMark));
    ui_.queue_mark({MarkMode::kByRatio, 0, 0, 0.015, ""});
    EXPECT_TRUE(run(cc::kMark));
    ui_.queue_mark({MarkMode::kFree, 120, 3, 0, ""});
    EXPECT_TRUE(run(cc::kMark));
    ASSERT_EQ(doc_.marks().size(), 4u);
    const std::vector<std::pair<double, double>> expected = {
        {150, 1.75}, {250, 3.5}, {300, 4.5}, {120, 3}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(doc_.marks()[i].load, expected[i].first) << i;
        EXPECT_DOUBLE_EQ(doc_.marks()[i].settlement, expected[i].second) << i;
    }
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>(4, hint::kRefresh));

    // Nothing to mark: a settlement the curve never reaches, a free mark
    // beyond the largest load, a dialog cancelled after typing.
    reset();
    ui_.queue_mark({MarkMode::kBySettlement, 0, 40.0, 0, ""});
    EXPECT_FALSE(run(cc::kMark));
    EXPECT_EQ(ui_.marks_shown().back().load, 0);
    EXPECT_EQ(ui_.marks_shown().back().ratio, 0);
    ui_.queue_mark({MarkMode::kFree, 400, 3, 0, ""});
    EXPECT_FALSE(run(cc::kMark));
    ui_.queue_mark({MarkMode::kByLoad, 150, 0, 0, ""}, false);
    EXPECT_FALSE(run(cc::kMark));
    EXPECT_EQ(doc_.marks().size(), 4u);
    expect_unchanged_and_unmodified();

    // Marks are drawn by Q-s only, and cleared together.
    EXPECT_TRUE(run(cc::kClearMarks));
    EXPECT_TRUE(doc_.marks().empty());
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    EXPECT_FALSE(enabled(cc::kClearMarks));
    EXPECT_FALSE(run(cc::kClearMarks));
}

}  // namespace
}  // namespace kvd::testing
