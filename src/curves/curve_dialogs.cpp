#include "curves/curve_dialogs.h"

namespace kvd {

const char* load_unit_text(bool kpa) {
    return kpa ? "kPa" : "kN";
}

NumberDialogRequest change_load_request(int load, bool kpa) {
    NumberDialogRequest request;
    request.title = kChangeLoadTitle;
    request.labels = {"请输入新的荷载值", load_unit_text(kpa)};
    request.initial = load;
    request.integer = true;
    request.minimum = kMinEditedLoad;
    request.maximum = kMaxEditedLoad;
    return request;
}

NumberDialogRequest move_to_request(double settlement) {
    NumberDialogRequest request;
    request.title = kMoveToTitle;
    request.labels = {"请输入新的位移值", "mm"};
    request.initial = settlement;
    request.decimals = 2;
    return request;
}

std::string axes_field_error(AxesField field, const AxesDialogState& state,
                             const Extremes& extremes) {
    // Written so that a value that is not a number fails as well.
    switch (field) {
        case AxesField::kXMax:
            return state.x_max < extremes.max_abs_load ? kAxesXMaxTooSmall : "";
        case AxesField::kYMax:
            return !(state.y_max >= extremes.max_settlement) ? kAxesYMaxTooSmall : "";
        case AxesField::kYMin:
            return !(state.y_min <= extremes.min_settlement) ? kAxesYMinTooLarge : "";
    }
    return {};
}

AxesValidator axes_validator(UserInterface& ui, const Extremes& extremes) {
    return [&ui, extremes](AxesField field, const AxesDialogState& state) {
        const std::string error = axes_field_error(field, state, extremes);
        if (error.empty()) return FieldVerdict::kAccept;
        ui.beep();
        const MessageAnswer answer =
            ui.message_box(error, kCaptionError, MessageButtons::kRetryCancel, MessageIcon::kError);
        return answer == MessageAnswer::kRetry ? FieldVerdict::kRestoreAndRetry
                                               : FieldVerdict::kRestore;
    };
}

}  // namespace kvd
