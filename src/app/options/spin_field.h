#pragma once
// SpinField: a text field with a spin control whose text and steps belong to
// its owner. The field does not interpret what is typed and never rewrites
// it; it reports typing, leaving and steps, and its owner decides what is
// stored and shown.
//
// SizedField binds a SpinField to one sized value of the curve style (a
// width, the diameter or a character height): typing stores the clamped
// value at once, leaving the field (or Enter) shows it in the display
// format (after refusing, with the program's message, a text that is not a
// number), and a step moves it within its range.

#include <QAbstractSpinBox>
#include <QLineEdit>

#include "doc/option_fields.h"

namespace kvd {

class SpinField : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit SpinField(QWidget* parent = nullptr);

    // The text part, for refusing what it holds.
    QLineEdit* edit() const { return lineEdit(); }
    QString field_text() const;
    void set_field_text(const QString& text);
    // Which arrows work.
    void set_steps_enabled(bool up, bool down);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void edited(const QString& text);  // every change the user types
    void stepped(int steps);           // +1 up, -1 down (or more, page keys)
    void finished();                   // Enter, or the field lost the focus

protected:
    StepEnabled stepEnabled() const override;

private:
    bool up_ = true;
    bool down_ = true;
};

class SizedField : public QObject {
    Q_OBJECT

public:
    // `target` is a field of the working copy and must outlive this.
    SizedField(SpinField* field, int* target, const SizedRange& range);

    SpinField* field() const { return field_; }
    // Shows the stored value.
    void load();

signals:
    void changed();

private:
    void leave();
    void show_value();
    void sync_steps();

    SpinField* field_;
    int* target_;
    SizedRange range_;
    bool editing_ = false;       // typed into since last shown
    int value_before_edit_ = 0;  // the stored value when the typing began
    bool refusing_ = false;
};

}  // namespace kvd
