#pragma once
// UserInterface: the only way the core talks to the user. Commands that ask
// (confirmations, errors, the save dialog) run in the core and speak through
// this interface; the desktop program implements it with message boxes and
// file dialogs, tests and kvdtool with scripted answers.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "doc/curve_mark.h"
#include "record/test_params.h"

namespace kvd {

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
enum class MessageIcon { kNone, kError, kWarning, kQuestion, kInformation };
enum class MessageAnswer { kOk, kCancel, kYes, kNo, kRetry };

// The message captions the program uses.
inline constexpr char kCaptionError[] = "错误";
inline constexpr char kCaptionWarning[] = "警告";
inline constexpr char kCaptionPrompt[] = "提示";

struct SaveDialogRequest {
    std::string proposed_name;   // file name or path proposed to the user
    std::string filter;          // "描述(*.KVD;*.KVD2)|*.KVD;*.KVD2|"
    std::string title;
    std::string initial_folder;  // empty: where the system leaves it
};

// A dialog asking for one number ("加上一个固定值", "乘上一个固定值",
// "更改锁定点的荷载值", "移动锁定点到新的位置").
struct NumberDialogRequest {
    std::string title;
    std::vector<std::string> labels;  // the dialog's texts, top to bottom
    double initial = 0;               // the value the field opens with
    // The field takes whole numbers only, and only within the bounds when
    // they are set; the dialog refuses anything else with the platform's
    // number or range message and stays open.
    bool integer = false;
    std::optional<double> minimum;
    std::optional<double> maximum;
    int decimals = -1;  // decimals the field shows; -1: as the platform shows a double
};

// "设定坐标尺寸": how the curves' axes are set.
struct AxesDialogState {
    int coordinate_mode = 0;  // 0 "自动设定", 1 "用户自定义"
    int x_max = 0;            // "横坐标最大值", kN or kPa
    double y_max = 0;         // "纵坐标最大值", mm
    double y_min = 0;         // "纵坐标最小值", mm
    int direction_kind = 1;   // 1 "向下" (compression), 2 "向上" (uplift)
    std::string load_unit;    // "kN" or "kPa", beside the horizontal maximum
};
enum class AxesField { kXMax, kYMax, kYMin };
// What the axes dialog does once a field has lost the focus.
enum class FieldVerdict {
    kAccept,           // keep the typed value
    kRestore,          // put the previous value back
    kRestoreAndRetry,  // put it back and give the field the focus again
};
// Called by the dialog when a field loses the focus, with all its values (the
// new one included). The validator tells the user what is wrong itself.
using AxesValidator = std::function<FieldVerdict(AxesField, const AxesDialogState&)>;

// "标记": a mark on the Q-s curve.
struct MarkDialogState {
    MarkMode mode = MarkMode::kByLoad;
    double load = 0;        // "标记荷载值", a whole number, kN or kPa
    double settlement = 0;  // "标记位移值", mm
    double ratio = 0;       // "标记 位移 / 荷载 值"
    std::string load_unit;  // "kN" or "kPa"
};
// Called by the dialog after every change typed into a field that the mode
// computes from (load, settlement or ratio): the values all three fields show
// then. The free mode computes nothing.
using MarkCalculator = std::function<MarkDialogState(const MarkDialogState&)>;

// "图像导出选项": how a curve picture is exported.
struct ExportOptions {
    int colour_mode = 0;      // 0 "  黑白" (black on white), 1 "  彩色"
    int ratio_percent = 150;  // "图形长宽比": height to width of the picture, percent
    friend bool operator==(const ExportOptions&, const ExportOptions&) = default;
};
// The range of the ratio field; the dialog refuses anything else on OK.
inline constexpr int kMinExportRatio = 10;
inline constexpr int kMaxExportRatio = 1000;

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual MessageAnswer message_box(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    virtual void beep() = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> ask_save_path(const SaveDialogRequest& request) = 0;
    // The number typed, or nothing when the user cancelled. The dialog itself
    // refuses text that is not a number.
    virtual std::optional<double> ask_number(const NumberDialogRequest& request) = 0;
    // "修改采样间隔时间": edits both interval tables in place; false on Cancel
    // (the tables are then unchanged).
    virtual bool ask_intervals(IntervalTable& load, IntervalTable& unload) = 0;
    // "设定坐标尺寸" and "标记": the values on OK, nothing on Cancel.
    virtual std::optional<AxesDialogState> ask_axes(const AxesDialogState& initial,
                                                    const AxesValidator& validate) = 0;
    virtual std::optional<MarkDialogState> ask_mark(const MarkDialogState& initial,
                                                    const MarkCalculator& calculate) = 0;
    // "图像导出选项": the options on OK (the ratio within kMinExportRatio ...
    // kMaxExportRatio, the dialog sees to it), nothing on Cancel.
    virtual std::optional<ExportOptions> ask_export_options(const ExportOptions& initial) = 0;

    // Conveniences for the common boxes.
    void show_error(const std::string& text) {
        message_box(text, kCaptionError, MessageButtons::kOk, MessageIcon::kError);
    }
    void show_warning(const std::string& text) {
        message_box(text, kCaptionWarning, MessageButtons::kOk, MessageIcon::kWarning);
    }
};

}  // namespace kvd
