#include "doc/scripted_user_interface.h"

namespace kvd {

MessageAnswer ScriptedUserInterface::message_box(const std::string& text, const std::string& caption,
                                                 MessageButtons buttons, MessageIcon icon) {
    shown_.push_back({text, caption, buttons, icon});
    if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
    MessageAnswer answer = default_answer_;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    // Map the answer onto the buttons actually offered.
    if (buttons == MessageButtons::kOkCancel) {
        return answer == MessageAnswer::kYes || answer == MessageAnswer::kOk ? MessageAnswer::kOk
                                                                             : MessageAnswer::kCancel;
    }
    if (answer == MessageAnswer::kOk) return MessageAnswer::kYes;
    if (buttons == MessageButtons::kYesNo && answer == MessageAnswer::kCancel) return MessageAnswer::kNo;
    return answer;
}

std::optional<std::string> ScriptedUserInterface::ask_save_path(const SaveDialogRequest& request) {
    save_requests_.push_back(request);
    if (save_paths_.empty()) return std::nullopt;
    std::optional<std::string> path = save_paths_.front();
    save_paths_.pop_front();
    return path;
}

std::optional<double> ScriptedUserInterface::ask_number(const NumberDialogRequest& request) {
    number_requests_.push_back(request);
    if (numbers_.empty()) return std::nullopt;
    std::optional<double> value = numbers_.front();
    numbers_.pop_front();
    return value;
}

bool ScriptedUserInterface::ask_intervals(IntervalTable& load, IntervalTable& unload) {
    if (intervals_.empty()) return false;
    load = intervals_.front().first;
    unload = intervals_.front().second;
    intervals_.pop_front();
    return true;
}

}  // namespace kvd
