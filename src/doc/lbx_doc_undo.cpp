// Undo and redo of the document: the commands change the record in place; at
// the end of each the document keeps what differs from the previous step
// (undo_history.h) as one step, named after the command.

#include "doc/lbx_doc.h"
#include "record/grade_compute.h"

namespace kvd {

EditableParts CLbxDoc::editable_parts() {
    return {record_.grades.grades(), record_.header, record_.test_params, marks_};
}

void CLbxDoc::reset_history() {
    // A step must hold what its command changed, not the averages and minutes
    // that the first window to paint would bring up to date.
    kvd::refresh_derived(record_);
    last_step_state_ = copy_of(editable_parts());
    history_.clear();
    command_depth_ = 0;
    command_name_.clear();
    if (frame_) frame_->history_changed();
}

void CLbxDoc::capture_step(const std::string& name) {
    UndoStep step = difference(last_step_state_, editable_parts());
    if (step.empty()) return;
    step.name = name;
    apply_step(step, last_step_state_.parts(), StepDirection::kForward);
    history_.push(std::move(step));
    if (frame_) frame_->history_changed();
}

void CLbxDoc::absorb_unrecorded_changes() {
    const UndoStep unrecorded = difference(last_step_state_, editable_parts());
    apply_step(unrecorded, last_step_state_.parts(), StepDirection::kForward);
}

void CLbxDoc::note_change() {
    modified_ = true;
    if (command_depth_ == 0) capture_step(kPageEditStepName);
}

void CLbxDoc::set_modified(bool modified) {
    if (modified) {
        note_change();
    } else {
        modified_ = false;
    }
}

void CLbxDoc::begin_command(std::string name) {
    if (command_depth_++ == 0) command_name_ = std::move(name);
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
        apply_step(step, last_step_state_.parts(), direction);
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
