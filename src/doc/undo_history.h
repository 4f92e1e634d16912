#pragma once
// Undo and redo of the document's edits. The commands change the record in
// place and know nothing of undo; the document keeps a copy of what an edit
// can change (the grades, the header, TestParams and the curve marks) as of
// the last step, and when a command ends it compares the record with that copy
// and keeps only what differs as one step:
//
//   grades    the changed readings of each changed grade, or, when grades were
//             inserted or deleted, the changed run of whole grades (the grades
//             after it are only renumbered, which the step redoes by a shift);
//   header    the changed byte runs of the 1640-byte image;
//   params    TestParams before and after, when they differ;
//   marks     the mark list before and after, when it differs;
//   choice    the engineer's choice of the bearing capacity before and after,
//             when it differs.
//
// A step therefore costs memory in proportion to what the command changed, not
// to the size of the test. Replacing the whole document (a new test from the
// wizard) keeps both documents whole instead.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/curve_mark.h"
#include "record/engineer_choice.h"
#include "record/test_record.h"

namespace kvd {

// The default name of a change no command named (a parameter page's field).
inline constexpr char kPageEditStepName[] = "更改参数";
// The name of a dragged point's step.
inline constexpr char kDragStepName[] = "拖动数据点";
// The name of a new test made by the wizard, when the caller gave none.
inline constexpr char kWizardStepName[] = "新建";
// The name of an edit typed into a table cell.
inline constexpr char kCellEditStepName[] = "修改数据";

// A command's name in the undo menu: its menu text without the accelerator
// ("更改荷载值(&C)" and "移动到(&M) ..." give "更改荷载值" and "移动到").
std::string command_step_name(std::string_view menu_text);

// What the document's edits can change, as references into the record.
struct EditableParts {
    std::vector<COneGradeData>& grades;
    TestHeader& header;
    TestParams& params;
    std::vector<CurveMark>& marks;
    std::optional<EngineerChoice>& choice;
};

// The copy of those parts that steps are measured against. The grades are
// copied only while a command runs (has_grades): between commands the
// document holds one copy of the readings, not two.
struct EditableCopy {
    std::vector<COneGradeData> grades;
    bool has_grades = false;
    TestHeader header{};
    TestParams params;
    std::vector<CurveMark> marks;
    std::optional<EngineerChoice> choice;

    EditableParts parts() { return {grades, header, params, marks, choice}; }
    void take_grades(const std::vector<COneGradeData>& now);
    void drop_grades();
};

// A copy without the grades.
EditableCopy copy_of(const EditableParts& parts);

// Readings [first, first + before.size()) of one grade became `after`.
struct PointPatch {
    int grade = 0;
    int first = 0;
    std::vector<SamplePoint> before;
    std::vector<SamplePoint> after;
};

// Grades [first, first + before.size()) became `after`; every later grade's
// readings had their grade number raised by `shift` (after.size() -
// before.size()).
struct GradePatch {
    int first = 0;
    std::vector<COneGradeData> before;
    std::vector<COneGradeData> after;
    int shift = 0;
};

// Bytes [offset, offset + before.size()) of the header image.
struct HeaderRun {
    std::size_t offset = 0;
    std::vector<unsigned char> before;
    std::vector<unsigned char> after;
};

// The whole document, for a step that replaces it.
struct DocumentImage {
    TestRecord record;
    std::vector<CurveMark> marks;
    std::string path;
    bool upload_enabled = false;
};

struct ParamsChange {
    TestParams before;
    TestParams after;
};

struct MarksChange {
    std::vector<CurveMark> before;
    std::vector<CurveMark> after;
};

struct ChoiceChange {
    std::optional<EngineerChoice> before;
    std::optional<EngineerChoice> after;
};

struct UndoStep {
    std::string name;
    std::vector<PointPatch> points;
    std::unique_ptr<GradePatch> grades;
    std::vector<HeaderRun> header;
    std::unique_ptr<ParamsChange> params;
    std::unique_ptr<MarksChange> marks;
    std::unique_ptr<ChoiceChange> choice;
    // Both set for a step that replaced the document.
    std::unique_ptr<DocumentImage> document_before;
    std::unique_ptr<DocumentImage> document_after;

    bool empty() const;
    bool replaces_document() const { return document_before != nullptr; }
    // Memory the step holds, in bytes.
    std::size_t bytes() const;
};

// The step that turns `before` into `now` (empty when they are the same);
// the grades are compared only when `before` holds them.
UndoStep difference(const EditableCopy& before, const EditableParts& now);

// Applies a step's changes (not a document replacement) to the parts:
// forward redoes it, backward undoes it.
enum class StepDirection { kBackward, kForward };
void apply_step(const UndoStep& step, EditableParts parts, StepDirection direction);
// The same on a copy; its grades only when it holds them.
void apply_step(const UndoStep& step, EditableCopy& copy, StepDirection direction);

// The list of steps and the position in it. The position where the document
// equals its file is remembered, so that the modified flag can follow undo and
// redo; it is lost when a new step replaces the steps after it.
class UndoHistory {
public:
    // No steps; the position is that of the file unless `at_saved` is false.
    void clear(bool at_saved = true);
    // Appends a step after the current position, dropping the steps that
    // could have been redone.
    void push(UndoStep step);

    bool can_undo() const { return position_ > 0; }
    bool can_redo() const { return position_ < steps_.size(); }
    const UndoStep& step_to_undo() const { return steps_[position_ - 1]; }
    const UndoStep& step_to_redo() const { return steps_[position_]; }
    void moved_back() { --position_; }
    void moved_forward() { ++position_; }

    void mark_saved() { saved_ = position_; }
    bool at_saved() const { return saved_ == position_; }

    std::size_t size() const { return steps_.size(); }
    std::size_t bytes() const;

private:
    std::vector<UndoStep> steps_;
    std::size_t position_ = 0;
    std::optional<std::size_t> saved_ = 0;
};

}  // namespace kvd
