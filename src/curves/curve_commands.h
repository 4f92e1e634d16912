#pragma once
// The commands of a curve window's context menu (menu 103) and of the curve
// tools menu (menu 201) that the main menu bar carries while a curve is
// active: the menu as data, when each item is enabled, and the commands that
// change the record, the axes settings or the marks. Commands on a point act
// on the capture the curve froze when its context menu opened
// (CImage::menu_captured, captured_grade, captured_reading); the kind comes
// from the curve's window identifier.
//
// Every command that changes something marks the document modified and
// refreshes its views; a No, a Cancel or a refused value changes nothing (the
// modified flag included). Point edits tell the views which reading changed
// ((grade << 16) | reading, the whole grade as 0xFFFF, and the next grade's
// first reading when a grade's last reading or the whole grade changed);
// deletes, invert, shift, axes and marks refresh with hint 0.

#include <array>
#include <string_view>

#include "curves/image.h"

namespace kvd {

namespace curve_command {
inline constexpr int kFitWindow = 32790;  // handled by the main window
inline constexpr int kZoomIn = 32787;
inline constexpr int kZoomOut = 32788;
inline constexpr int kSetAxes = 32798;
inline constexpr int kCurveStyle = 32795;  // the options dialog's curve pages
inline constexpr int kDeleteGrade = 32783;
inline constexpr int kDeleteReading = 32784;
inline constexpr int kChangeLoad = 32785;
inline constexpr int kMoveTo = 32786;
inline constexpr int kInvert = 32779;
inline constexpr int kShift = 32780;
inline constexpr int kMark = 32778;
inline constexpr int kClearMarks = 32797;
inline constexpr int kExportImage = 32834;  // the image export dialog
}  // namespace curve_command

inline constexpr int kCurveContextMenuId = 103;
inline constexpr int kCurveToolsMenuId = 201;
inline constexpr std::string_view kCurveToolsMenuTitle = "曲线工具(&I)";

// One item: its text, command and status-bar prompt ("prompt\ntool tip").
struct CurveMenuItem {
    int id = 0;
    std::string_view text;
    std::string_view prompt;
};

// Menus 103 and 201, top to bottom.
inline constexpr std::array<CurveMenuItem, 14> kCurveMenu = {{
    {curve_command::kFitWindow, "适合窗口(&F)", "使曲线大小正好适合窗口\n适合窗口"},
    {curve_command::kZoomIn, "放大(&Z)", "放大曲线"},
    {curve_command::kZoomOut, "缩小(&U)", "缩小曲线"},
    {curve_command::kSetAxes, "设定坐标(&O)", "定义横、纵坐标的值或方向\n设定坐标"},
    {curve_command::kCurveStyle, "设置曲线样式(&S)", "自定义曲线的样式(包括字体、线型、颜色等)"},
    {curve_command::kDeleteGrade, "删除本级(&D)", "删除当前锁定的一级采样数据"},
    {curve_command::kDeleteReading, "删除本次读数(&I)", "删除当前锁定的采样点\n删除采样点 (Del)"},
    {curve_command::kChangeLoad, "更改荷载值(&C)", "更改当前捕获的采样点的荷载值"},
    {curve_command::kMoveTo, "移动到(&M) ...", "将当前捕获的采样点移动到指定位置"},
    {curve_command::kInvert, "曲线反相(&R)", "将所有采样点的位移值乘以 -1\n曲线反向"},
    {curve_command::kShift, "曲线平移(&P)",
     "将所有采样点的位移值加上一个指定值(可以为负数)\n曲线平移"},
    {curve_command::kMark, "标记(&K)", "在曲线上用线段标出指定点"},
    {curve_command::kClearMarks, "清除标记(&L)", "清除曲线上的指示标记"},
    {curve_command::kExportImage, "导出图像(&E) ...", "将图像存为 windows图元文件(.EMF)\n导出图像"},
}};

// The status-bar prompt of a menu command; empty for another id.
std::string_view curve_command_prompt(int command);

// Whether a menu item is enabled on this curve: zoom within its steps; the
// point commands with a frozen capture (delete grade and change load not on
// grade 0; delete grade off s-lgt, delete reading on s-lgt only); marks on
// Q-s below the maximum; clear marks with at least one mark. Unknown ids: false.
bool curve_command_enabled(int command, const CImage& curve);

// Runs a menu command on the curve when it is enabled. True when it changed
// the record, the axes settings, the marks or the zoom. The style and export
// commands open dialogs of other parts of the program and are not run here
// (false).
bool run_curve_command(int command, CImage& curve);

namespace curve_edit {

// 32783, 32784: beep, the confirmation ("警告", Yes/No, warning icon), then
// the captured grade, or the captured reading (the whole grade when it has 2
// readings or fewer), is removed and the readings renumbered. The frozen
// capture is cleared after a confirmed delete.
bool delete_grade(CImage& curve);
bool delete_reading(CImage& curve);
// 32785: the load dialog opening with the captured grade's load; OK sets the
// load of every reading of the grade.
bool change_load(CImage& curve);
// 32786: the displacement dialog opening with the captured reading's
// settlement (s-lgt) or the grade's cumulative settlement; a different value
// (to two decimals) moves the reading or the grade by the difference.
// change_load and move_to clear the frozen capture whatever the answer.
bool move_to(CImage& curve);
// 32779: every averaged channel x -1, to two decimals.
bool invert(CLbxDoc& doc);
// 32780: "加上一个固定值" opening with the value that brings grade 0's
// cumulative settlement to zero; a value other than 0 (to two decimals) is
// added to every averaged channel.
bool shift(CLbxDoc& doc);
// 32798: "设定坐标尺寸" opening with the curve's current axes; OK stores the
// axes settings in TestParams and the header.
bool set_axes(CImage& curve);
// 32778: "标记"; OK with a valid mark appends it (while there are fewer than
// kMaxCurveMarks).
bool mark(CLbxDoc& doc);
// 32797: removes every mark.
bool clear_marks(CLbxDoc& doc);

}  // namespace curve_edit

}  // namespace kvd
