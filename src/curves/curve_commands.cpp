#include "curves/curve_commands.h"

#include <cmath>
#include <optional>

#include "base/numeric.h"
#include "curves/curve_dialogs.h"
#include "curves/mark_computation.h"
#include "curves/point_edit.h"
#include "doc/record_edits.h"

namespace kvd {

namespace {

std::string_view curve_menu_text(int command) {
    for (const CurveMenuItem& item : kCurveMenu) {
        if (item.id == command) return item.text;
    }
    return {};
}

bool reading_curve(const CImage& curve) {
    return curve.window_id() == kSlgtWindowId;
}

// The common end of an edit that removes readings or changes several
// grades: the document brings the whole record up to date, marks itself
// modified and refreshes the views.
void finish(CLbxDoc& doc) {
    doc.commit_change(hint::kRefresh, true);
}

// A change refused because a displacement would leave its range.
void refuse_out_of_range(CLbxDoc& doc) {
    doc.ui().beep();
    doc.ui().show_error(kValueOutOfRange);
}

bool confirm(CLbxDoc& doc, const char* question) {
    doc.ui().beep();
    return doc.ui().message_box(question, kCaptionWarning, MessageButtons::kYesNo,
                                MessageIcon::kWarning) == MessageAnswer::kYes;
}

}  // namespace

std::string_view curve_command_prompt(int command) {
    for (const CurveMenuItem& item : kCurveMenu) {
        if (item.id == command) return item.prompt;
    }
    return {};
}

bool curve_command_enabled(int command, const CImage& curve) {
    namespace cc = curve_command;
    const bool captured = curve.menu_captured();
    const int marks = static_cast<int>(curve.doc().marks().size());
    switch (command) {
        case cc::kFitWindow:
        case cc::kSetAxes:
        case cc::kCurveStyle:
        case cc::kInvert:
        case cc::kShift:
        case cc::kExportImage:
            return true;
        case cc::kZoomIn:
            return curve.can_zoom_in();
        case cc::kZoomOut:
            return curve.can_zoom_out();
        case cc::kDeleteGrade:
            return !reading_curve(curve) && captured && curve.captured_grade() != 0;
        case cc::kDeleteReading:
            return reading_curve(curve) && captured;
        case cc::kChangeLoad:
            return captured && curve.captured_grade() != 0;
        case cc::kMoveTo:
            return captured;
        case cc::kMark:
            return curve.window_id() == kQsWindowId && marks < kMaxCurveMarks;
        case cc::kClearMarks:
            return marks > 0;
        default:
            return false;
    }
}

bool run_curve_command(int command, CImage& curve) {
    namespace cc = curve_command;
    if (!curve_command_enabled(command, curve)) return false;
    const CommandStep step(curve.doc(), command_step_name(curve_menu_text(command)));
    switch (command) {
        case cc::kFitWindow:
            curve.fit_window();
            return true;
        case cc::kZoomIn:
            curve.zoom_in();
            return true;
        case cc::kZoomOut:
            curve.zoom_out();
            return true;
        case cc::kSetAxes:
            return curve_edit::set_axes(curve);
        case cc::kDeleteGrade:
            return curve_edit::delete_grade(curve);
        case cc::kDeleteReading:
            return curve_edit::delete_reading(curve);
        case cc::kChangeLoad:
            return curve_edit::change_load(curve);
        case cc::kMoveTo:
            return curve_edit::move_to(curve);
        case cc::kInvert:
            return curve_edit::invert(curve.doc());
        case cc::kShift:
            return curve_edit::shift(curve.doc());
        case cc::kMark:
            return curve_edit::mark(curve.doc());
        case cc::kClearMarks:
            return curve_edit::clear_marks(curve.doc());
        default:
            return false;  // style and export: dialogs of their own
    }
}

namespace curve_edit {

bool delete_grade(CImage& curve) {
    if (!curve_command_enabled(curve_command::kDeleteGrade, curve)) return false;
    CLbxDoc& doc = curve.doc();
    const int g = curve.captured_grade();
    if (!doc.record().grades.grade(g)) return false;
    if (!confirm(doc, kConfirmDeleteGrade)) return false;
    doc.record().grades.remove_grade(g);
    curve.clear_menu_capture();
    finish(doc);
    return true;
}

bool delete_reading(CImage& curve) {
    if (!curve_command_enabled(curve_command::kDeleteReading, curve)) return false;
    CLbxDoc& doc = curve.doc();
    CTestData& grades = doc.record().grades;
    const int g = curve.captured_grade();
    const int r = curve.captured_reading();
    if (!grades.get_reading(g, r)) return false;
    if (!confirm(doc, delete_reading_question(grades, g))) return false;
    remove_reading_or_grade(grades, g, r);
    curve.clear_menu_capture();
    finish(doc);
    return true;
}

bool change_load(CImage& curve) {
    if (!curve_command_enabled(curve_command::kChangeLoad, curve)) return false;
    CLbxDoc& doc = curve.doc();
    const int g = curve.captured_grade();
    COneGradeData* grade = doc.record().grades.grade(g);
    bool changed = false;
    if (grade && !grade->empty()) {
        const NumberDialogRequest request =
            change_load_request(grade->front().load, doc.record().test_params.in_kpa());
        // Cancel gives -1; anything the dialog should have refused counts as
        // a Cancel too.
        const double load = doc.ui().ask_number(request).value_or(-1);
        if (load >= kMinEditedLoad && load <= kMaxEditedLoad && load == std::trunc(load)) {
            for (SamplePoint& p : grade->points()) p.load = static_cast<int>(load);
            doc.commit_change(change_notice(g, kWholeGrade), false);
            doc.update_all_views(change_notice(g + 1, 0));
            changed = true;
        }
    }
    curve.clear_menu_capture();
    return changed;
}

bool move_to(CImage& curve) {
    if (!curve_command_enabled(curve_command::kMoveTo, curve)) return false;
    CLbxDoc& doc = curve.doc();
    const CTestData& grades = doc.record().grades;
    const int g = curve.captured_grade();
    const int r = curve.captured_reading();
    std::optional<double> current;
    if (reading_curve(curve)) {
        if (const auto point = grades.get_reading(g, r)) current = point->settlement;
    } else if (grades.reading_count(g) > 0) {
        current = grades.last_settlement(g);
    }
    bool changed = false;
    if (current) {
        const std::optional<double> typed = doc.ui().ask_number(move_to_request(*current));
        if (typed && std::isfinite(*typed) && round2(*typed) != *current) {
            const double d = round2(*typed) - *current;
            changed = reading_curve(curve) ? add_to_reading(doc, g, r, d) : add_to_grade(doc, g, d);
            if (!changed) refuse_out_of_range(doc);
        }
    }
    curve.clear_menu_capture();
    return changed;
}

bool invert(CLbxDoc& doc) {
    if (!doc.record().grades.get_reading(0, 0)) {
        doc.ui().show_error(kNoReadings);
        return false;
    }
    if (!multiply_following(doc.record(), 0, 0, -1)) {
        refuse_out_of_range(doc);
        return false;
    }
    finish(doc);
    return true;
}

bool shift(CLbxDoc& doc) {
    if (!doc.record().grades.get_reading(0, 0)) {
        doc.ui().show_error(kNoReadings);
        return false;
    }
    const double first = doc.record().grades.last_settlement(0);
    const double value = round2(doc.ui().ask_number(add_value_request(first)).value_or(0.0));
    if (value == 0 || !std::isfinite(value)) return false;
    if (!add_to_following(doc.record(), 0, 0, value)) {
        refuse_out_of_range(doc);
        return false;
    }
    finish(doc);
    return true;
}

bool set_axes(CImage& curve) {
    CLbxDoc& doc = curve.doc();
    TestRecord& record = doc.record();
    TestParams& params = record.test_params;
    AxesDialogState initial;
    initial.coordinate_mode = params.coordinate_mode == 1 ? 1 : 0;
    initial.x_max = curve.x_max();
    initial.y_max = curve.y_min() + curve.y_range();
    initial.y_min = curve.y_min();
    initial.direction_kind = params.is_uplift() ? 2 : 1;
    initial.load_unit = load_unit_text(params.in_kpa());
    const AxesValidator validate = axes_validator(doc.ui(), record.grades.extremes());
    const std::optional<AxesDialogState> result = doc.ui().ask_axes(initial, validate);
    if (!result) return false;
    const AxesDialogState& s = *result;
    const int mode = s.coordinate_mode == 1 ? 1 : 0;
    // The dialog checks each field as it is left; user-defined axes that
    // still leave part of the test off the plot are not stored.
    if (mode == 1) {
        for (AxesField field : {AxesField::kXMax, AxesField::kYMax, AxesField::kYMin}) {
            if (validate(field, s) != FieldVerdict::kAccept) return false;
        }
    }
    if (!std::isfinite(s.y_max) || !std::isfinite(s.y_min)) return false;

    params.coordinate_mode = mode;
    params.direction_kind = s.direction_kind == 2 ? 2 : 1;
    params.x_axis_max = s.x_max;
    params.y_axis_max = s.y_max;
    params.y_axis_min = s.y_min;
    TestHeader& header = record.header;
    header.coordinate_mode = params.coordinate_mode;
    header.direction_kind = params.direction_kind;
    header.x_axis_max = params.x_axis_max;
    header.y_axis_max = params.y_axis_max;
    header.y_axis_min = params.y_axis_min;
    doc.commit_change(hint::kRefresh, false);
    return true;
}

bool mark(CLbxDoc& doc) {
    if (static_cast<int>(doc.marks().size()) >= kMaxCurveMarks) return false;
    const CTestData& grades = doc.record().grades;
    MarkDialogState initial;
    initial.load_unit = load_unit_text(doc.record().test_params.in_kpa());
    const MarkCalculator calculate = [&grades](const MarkDialogState& state) {
        return recompute_mark_fields(grades, state);
    };
    const std::optional<MarkDialogState> result = doc.ui().ask_mark(initial, calculate);
    if (!result) return false;
    const MarkResult m = mark_of_dialog(grades, *result);
    if (!m.valid) {
        doc.ui().beep();
        doc.ui().show_error(kMarkOffCurve);
        return false;
    }
    doc.set_modified();
    return doc.add_mark({m.load, m.settlement});
}

bool clear_marks(CLbxDoc& doc) {
    if (doc.marks().empty()) return false;
    doc.marks().clear();
    doc.commit_change(hint::kRefresh, false);
    return true;
}

}  // namespace curve_edit

}  // namespace kvd
