#pragma once
// UserInterface: the only way the core talks to the user. Commands that ask
// (confirmations, errors, the save dialog) run in the core and speak through
// this interface; the desktop program implements it with message boxes and
// file dialogs, tests and kvdtool with scripted answers.

#include <optional>
#include <string>
#include <vector>

#include "record/test_params.h"

namespace kvd {

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kError, kWarning, kQuestion, kInformation };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

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

// A dialog asking for one decimal number ("加上一个固定值", "乘上一个固定值").
struct NumberDialogRequest {
    std::string title;
    std::vector<std::string> labels;  // the dialog's texts, top to bottom
    double initial = 0;               // the value the field opens with
};

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

    // Conveniences for the common boxes.
    void show_error(const std::string& text) {
        message_box(text, kCaptionError, MessageButtons::kOk, MessageIcon::kError);
    }
    void show_warning(const std::string& text) {
        message_box(text, kCaptionWarning, MessageButtons::kOk, MessageIcon::kWarning);
    }
};

}  // namespace kvd
