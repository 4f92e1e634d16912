// Undo and redo of the document: the commands change the record in place; at
// the end of each the document keeps what differs from the previous step
// (undo_history.h) as one step, named after the command.

#include "doc/lbx_doc.h"
#include "record/grade_compute.h"

namespace kvd {

EditableParts CLbxDoc::editable_parts() {
    return {record_.grades.grades(), record_.header, record_.test_params, marks_,
            record_.engineer_choice};
}

void CLbxDoc::reset_history() {
    // The caller has brought the derived values up to date, so that a step
    // holds only what its command changed.
    last_step_state_ = copy_of(editable_parts());
    history_.clear();
    command_depth_ = 0;
    command_name_.clear();
    if (frame_) frame_->history_changed();
}

void CLbxDoc::capture_step(const std::string& name) {
    UndoStep step = difference(last_step_state_, editable_parts());
    last_step_state_.drop_grades();
    if (step.empty()) return;
    step.name = name;
    apply_step(step, last_step_state_, StepDirection::kForward);
    history_.push(std::move(step));
    if (frame_) frame_->history_changed();
}

void CLbxDoc::absorb_unrecorded_changes() {
    const UndoStep unrecorded = difference(last_step_state_, editable_parts());
    apply_step(unrecorded, last_step_state_, StepDirection::kForward);
}

void CLbxDoc::note_change(bool readings_changed) {
    ++record_serial_;
    modified_ = true;
    if (command_depth_ > 0) return;
    if (readings_changed) {
        // Readings changed outside any command: there is no copy of them to
        // measure the change against, and the steps before it would no
        // longer fit the record. The history starts again here.
        history_.clear(false);
        last_step_state_ = copy_of(editable_parts());
        if (frame_) frame_->history_changed();
        return;
    }
    capture_step(kPageEditStepName);
}

void CLbxDoc::set_modified(bool modified) {
    if (modified) {
        note_change(false);
    } else {
        modified_ = false;
    }
}

void CLbxDoc::begin_command(std::string name) {
    if (command_depth_++ > 0) return;
    command_name_ = std::move(name);
    // What the command changes is measured against the readings as they are
    // now; the copy lives until the command ends.
    last_step_state_.take_grades(record_.grades.grades());
}

void CLbxDoc::end_command() {
    if (command_depth_ == 0) return;
    if (--command_depth_ == 0) capture_step(command_name_);
}

std::string CLbxDoc::undo_name() const {
    return can_undo() ? history_.step_to_undo().name : std::string();
}

std::string CLbxDoc::redo_name() const {
    return can_redo() ? history_.step_to_redo().name : std::string();
}

DocumentImage CLbxDoc::document_image() const {
    return {record_, marks_, path_, upload_enabled_};
}

void CLbxDoc::restore_document(const DocumentImage& image) {
    record_ = image.record;
    marks_ = image.marks;
    path_ = image.path;
    upload_enabled_ = image.upload_enabled;
    last_step_state_ = copy_of(editable_parts());
}

void CLbxDoc::move_in_history(StepDirection direction) {
    const bool forward = direction == StepDirection::kForward;
    const UndoStep& step = forward ? history_.step_to_redo() : history_.step_to_undo();
    const bool whole = step.replaces_document();
    if (whole) {
        restore_document(forward ? *step.document_after : *step.document_before);
    } else {
        apply_step(step, editable_parts(), direction);
        apply_step(step, last_step_state_, direction);
    }
    if (forward) {
        history_.moved_forward();
    } else {
        history_.moved_back();
    }
    modified_ = !history_.at_saved();
    if (frame_) frame_->history_changed();
    // The pages show the header and TestParams, which the step may have
    // changed; a replaced document is shown as a loaded one.
    update_all_views(whole ? hint::kFileLoaded : hint::kLoadPages);
}

bool CLbxDoc::undo() {
    if (command_depth_ != 0) return false;
    update_all_views(hint::kStorePages);
    if (!can_undo()) return false;
    move_in_history(StepDirection::kBackward);
    return true;
}

bool CLbxDoc::redo() {
    if (command_depth_ != 0) return false;
    update_all_views(hint::kStorePages);
    if (!can_redo()) return false;
    move_in_history(StepDirection::kForward);
    return true;
}

}  // namespace kvd
