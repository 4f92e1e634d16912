#pragma once
// The dialogs of the curve commands as the core sees them: what each asks
// (title, labels, bounds, the value it opens with) and the checks the axes
// dialog runs when one of its fields loses the focus. The desktop program
// shows them; tests answer them through ScriptedUserInterface.

#include <string>

#include "doc/user_interface.h"
#include "record/test_data.h"

namespace kvd {

// "更改锁定点的荷载值": a whole load of 1 ... 100000 beside its unit.
inline constexpr char kChangeLoadTitle[] = "更改锁定点的荷载值";
inline constexpr int kMinEditedLoad = 1;
inline constexpr int kMaxEditedLoad = 100000;
NumberDialogRequest change_load_request(int load, bool kpa);

// "移动锁定点到新的位置": a displacement in mm, shown to two decimals.
inline constexpr char kMoveToTitle[] = "移动锁定点到新的位置";
NumberDialogRequest move_to_request(double settlement);

// "设定坐标尺寸" and "标记".
inline constexpr char kAxesDialogTitle[] = "设定坐标尺寸";
inline constexpr char kMarkDialogTitle[] = "标记";
// Told when the values of the mark dialog give no point of the curve.
inline constexpr char kMarkOffCurve[] =
    "标记值不在试验曲线的范围内, 无法标记!\n请输入曲线范围内的荷载值、位移值或位移/荷载值。";
// Told when a command on the whole test meets a test without readings.
inline constexpr char kNoReadings[] = "本试验没有采样数据!";

// The unit shown beside loads: "kPa" for a foundation test in kPa, else "kN".
const char* load_unit_text(bool kpa);

// The messages of the axes dialog when a field does not cover the test.
inline constexpr char kAxesXMaxTooSmall[] = "横坐标最大值小于最大荷载值!";
inline constexpr char kAxesYMaxTooSmall[] = "纵坐标最大值小于最大沉降量!";
inline constexpr char kAxesYMinTooLarge[] = "纵坐标最小值大于最小沉降量!";

// The message for a field whose value leaves part of the test off the axes:
// the horizontal maximum below the largest load, the vertical maximum below
// the largest settlement, the vertical minimum above the smallest settlement
// (a value that is not a number fails too). Empty when the field is fine.
std::string axes_field_error(AxesField field, const AxesDialogState& state,
                             const Extremes& extremes);

// The validator the axes dialog calls: on an error it beeps and shows the
// message (caption "错误", Retry/Cancel, stop icon); the dialog then puts the
// previous value back and, on Retry, gives the field the focus again.
AxesValidator axes_validator(UserInterface& ui, const Extremes& extremes);

}  // namespace kvd
