#include "doc/scripted_user_interface.h"

#include <algorithm>
#include <cmath>

namespace kvd {

namespace {

// Whether the number dialog of the request takes the value.
bool number_accepted(const NumberDialogRequest& request, double value) {
    if (!std::isfinite(value)) return false;
    if (request.integer && value != std::trunc(value)) return false;
    if (request.minimum && value < *request.minimum) return false;
    if (request.maximum && value > *request.maximum) return false;
    return true;
}

void set_field(AxesDialogState& state, AxesField field, double value) {
    switch (field) {
        case AxesField::kXMax:
            // The integer field holds what an int holds.
            state.x_max = std::isfinite(value)
                              ? static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0))
                              : 0;
            break;
        case AxesField::kYMax:
            state.y_max = value;
            break;
        case AxesField::kYMin:
            state.y_min = value;
            break;
    }
}

}  // namespace

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
    if (buttons == MessageButtons::kRetryCancel) {
        return answer == MessageAnswer::kRetry || answer == MessageAnswer::kYes ||
                       answer == MessageAnswer::kOk
                   ? MessageAnswer::kRetry
                   : MessageAnswer::kCancel;
    }
    if (answer == MessageAnswer::kRetry) answer = MessageAnswer::kYes;
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
    while (!numbers_.empty()) {
        const std::optional<double> value = numbers_.front();
        numbers_.pop_front();
        if (!value || number_accepted(request, *value)) return value;
        ++refused_numbers_;
    }
    return std::nullopt;
}

std::optional<AxesDialogState> ScriptedUserInterface::ask_axes(const AxesDialogState& initial,
                                                               const AxesValidator& validate) {
    axes_requests_.push_back(initial);
    if (axes_.empty()) return std::nullopt;
    const AxesScript script = axes_.front();
    axes_.pop_front();
    AxesDialogState state = initial;
    for (const AxesScript::Edit& edit : script.edits) {
        const AxesDialogState previous = state;
        set_field(state, edit.field, edit.value);
        if (validate && validate(edit.field, state) != FieldVerdict::kAccept) state = previous;
    }
    if (script.coordinate_mode) state.coordinate_mode = *script.coordinate_mode;
    if (script.direction_kind) state.direction_kind = *script.direction_kind;
    if (!script.accept) return std::nullopt;
    return state;
}

std::optional<MarkDialogState> ScriptedUserInterface::ask_mark(const MarkDialogState& initial,
                                                               const MarkCalculator& calculate) {
    if (marks_.empty()) {
        marks_shown_.push_back(initial);
        return std::nullopt;
    }
    const auto [typed, accept] = marks_.front();
    marks_.pop_front();
    MarkDialogState state = typed;
    state.load_unit = initial.load_unit;
    if (state.mode != MarkMode::kFree && calculate) state = calculate(state);
    marks_shown_.push_back(state);
    if (!accept) return std::nullopt;
    return state;
}

std::optional<ExportOptions> ScriptedUserInterface::ask_export_options(
    const ExportOptions& initial) {
    export_requests_.push_back(initial);
    while (!export_options_.empty()) {
        const std::optional<ExportOptions> options = export_options_.front();
        export_options_.pop_front();
        if (!options) return std::nullopt;
        const bool colour_ok = options->colour_mode == 0 || options->colour_mode == 1;
        if (colour_ok && options->ratio_percent >= kMinExportRatio &&
            options->ratio_percent <= kMaxExportRatio) {
            return options;
        }
        ++refused_numbers_;
    }
    return std::nullopt;
}

bool ScriptedUserInterface::ask_intervals(IntervalTable& load, IntervalTable& unload) {
    if (intervals_.empty()) return false;
    load = intervals_.front().first;
    unload = intervals_.front().second;
    intervals_.pop_front();
    return true;
}

}  // namespace kvd
