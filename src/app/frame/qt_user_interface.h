#pragma once
// QtUserInterface: the document's UserInterface on Qt widgets — message boxes
// with the program's captions, icons and buttons, the system beep, the save
// dialog and the small value dialogs of the table and curve commands.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "doc/user_interface.h"

namespace kvd {

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the dialogs are centred on (the main window once it exists).
    void set_parent(QWidget* parent) { parent_ = parent; }
    QWidget* parent() const { return parent_; }

    MessageAnswer message_box(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    void beep() override;
    std::optional<std::string> ask_save_path(const SaveDialogRequest& request) override;
    std::optional<double> ask_number(const NumberDialogRequest& request) override;
    bool ask_intervals(IntervalTable& load, IntervalTable& unload) override;
    std::optional<AxesDialogState> ask_axes(const AxesDialogState& initial,
                                            const AxesValidator& validate) override;
    std::optional<MarkDialogState> ask_mark(const MarkDialogState& initial,
                                            const MarkCalculator& calculate) override;
    std::optional<ExportOptions> ask_export_options(const ExportOptions& initial) override;

    // The save dialog's filter from the program's "描述|*.A;*.B|...|" form:
    // one Qt filter per pair, "描述 (*.A *.B)" (a description that names its
    // patterns in parentheses keeps them), pairs separated by ";;".
    static QString qt_file_filter(const std::string& filter);
    // The extension the save dialog appends to a name typed without one: the
    // first filter's first pattern ("*.WMF" gives "WMF"); empty for "*.*".
    static QString default_suffix(const std::string& filter);

private:
    // The window a dialog or message box is centred on and modal to: the
    // dialog open now, else the parent.
    QWidget* dialog_parent() const;

    QPointer<QWidget> parent_;
};

}  // namespace kvd
