#pragma once
// ScriptedUserInterface: a UserInterface that answers from a script instead of
// a person. Tests queue the answers they expect to be asked for and inspect
// every message shown; kvdtool answers every question with a fixed answer.

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "doc/user_interface.h"

namespace kvd {

class ScriptedUserInterface : public UserInterface {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    // Answers for the next message boxes that offer a choice, in order. When
    // the queue is empty the default answer is used (Yes / OK).
    void queue_answer(MessageAnswer answer) { answers_.push_back(answer); }
    void set_default_answer(MessageAnswer answer) { default_answer_ = answer; }
    // Paths for the next save dialogs; an empty queue cancels the dialog.
    void queue_save_path(std::optional<std::string> path) { save_paths_.push_back(std::move(path)); }

    // Values for the next number dialogs; an empty queue cancels. A value
    // the dialog refuses (not whole where it must be, out of its bounds) is
    // counted as refused and the next queued value is typed instead.
    void queue_number(std::optional<double> value) { numbers_.push_back(value); }

    // The next axes dialog: the edits are typed in order, each field left
    // (and so validated) right after its edit; a refused value is put back.
    struct AxesScript {
        struct Edit {
            AxesField field;
            double value;
        };
        std::vector<Edit> edits;
        std::optional<int> coordinate_mode;
        std::optional<int> direction_kind;
        bool accept = true;  // OK, else Cancel
    };
    void queue_axes(AxesScript script) { axes_.push_back(std::move(script)); }
    // The next mark dialog: the mode and the values typed into the fields it
    // enables (the other fields are computed as the dialog does). An empty
    // queue cancels.
    void queue_mark(const MarkDialogState& typed, bool accept = true) {
        marks_.push_back({typed, accept});
    }
    // Options for the next export options dialogs; an empty queue (or a
    // queued nothing) cancels. Options the dialog refuses (a colour mode
    // other than 0 or 1, a ratio outside its range) are counted in
    // refused_numbers() and the next queued options are typed instead.
    void queue_export_options(std::optional<ExportOptions> options) {
        export_options_.push_back(options);
    }
    // Tables for the next interval dialogs; an empty queue cancels.
    void queue_intervals(const IntervalTable& load, const IntervalTable& unload) {
        intervals_.push_back({load, unload});
    }

    MessageAnswer message_box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    void beep() override { ++beeps_; }
    std::optional<std::string> ask_save_path(const SaveDialogRequest& request) override;
    std::optional<double> ask_number(const NumberDialogRequest& request) override;
    bool ask_intervals(IntervalTable& load, IntervalTable& unload) override;
    std::optional<AxesDialogState> ask_axes(const AxesDialogState& initial,
                                            const AxesValidator& validate) override;
    std::optional<MarkDialogState> ask_mark(const MarkDialogState& initial,
                                            const MarkCalculator& calculate) override;
    std::optional<ExportOptions> ask_export_options(const ExportOptions& initial) override;
    // The options each export dialog opened with.
    const std::vector<ExportOptions>& export_requests() const { return export_requests_; }
    const std::vector<NumberDialogRequest>& number_requests() const { return number_requests_; }
    int refused_numbers() const { return refused_numbers_; }
    // The values each axes dialog opened with; what each mark dialog showed last.
    const std::vector<AxesDialogState>& axes_requests() const { return axes_requests_; }
    const std::vector<MarkDialogState>& marks_shown() const { return marks_shown_; }

    const std::vector<Shown>& shown() const { return shown_; }
    const std::vector<SaveDialogRequest>& save_requests() const { return save_requests_; }
    int beeps() const { return beeps_; }
    void clear_log() {
        shown_.clear();
        save_requests_.clear();
        number_requests_.clear();
        axes_requests_.clear();
        marks_shown_.clear();
        export_requests_.clear();
        refused_numbers_ = 0;
        beeps_ = 0;
    }

private:
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> save_paths_;
    std::deque<std::optional<double>> numbers_;
    std::deque<std::pair<IntervalTable, IntervalTable>> intervals_;
    std::vector<NumberDialogRequest> number_requests_;
    std::deque<AxesScript> axes_;
    std::deque<std::pair<MarkDialogState, bool>> marks_;
    std::vector<AxesDialogState> axes_requests_;
    std::vector<MarkDialogState> marks_shown_;
    std::deque<std::optional<ExportOptions>> export_options_;
    std::vector<ExportOptions> export_requests_;
    int refused_numbers_ = 0;
    MessageAnswer default_answer_ = MessageAnswer::kYes;
    std::vector<Shown> shown_;
    std::vector<SaveDialogRequest> save_requests_;
    int beeps_ = 0;
};

}  // namespace kvd
