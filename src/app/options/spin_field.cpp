#include "app/options/spin_field.h"

#include <QLineEdit>

#include "app/dialogs/dialog_support.h"

namespace kvd {

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {
    setAccelerated(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textEdited, this, &SpinField::edited);
    connect(this, &QAbstractSpinBox::editingFinished, this, &SpinField::finished);
}

QString SpinField::field_text() const {
    return lineEdit()->text();
}

void SpinField::set_field_text(const QString& text) {
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void SpinField::set_steps_enabled(bool up, bool down) {
    up_ = up;
    down_ = down;
    update();
}

void SpinField::stepBy(int steps) {
    emit stepped(steps);
    selectAll();
}

QValidator::State SpinField::validate(QString& input, int& pos) const {
    (void)input;
    (void)pos;
    return QValidator::Acceptable;  // the owner reads the text
}

void SpinField::fixup(QString& input) const {
    (void)input;
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (isEnabled() && !isReadOnly()) {
        if (up_) enabled |= StepUpEnabled;
        if (down_) enabled |= StepDownEnabled;
    }
    return enabled;
}

SizedField::SizedField(SpinField* field, int* target, const SizedRange& range)
    : QObject(field), field_(field), target_(target), range_(range) {
    connect(field_, &SpinField::edited, this, [this](const QString& text) {
        // Stored at once, clamped; the text is the user's until they leave.
        // A text that is not (yet) a number stores nothing.
        if (!editing_) {
            editing_ = true;
            value_before_edit_ = *target_;
        }
        const std::optional<int> value = sized_value_from_text(text.toStdString(), range_);
        if (!value) return;
        *target_ = *value;
        sync_steps();
        emit changed();
    });
    connect(field_, &SpinField::finished, this, &SizedField::leave);
    connect(field_, &SpinField::stepped, this, [this](int steps) {
        *target_ = sized_value_after_step(*target_, steps, range_);
        show_value();
        emit changed();
    });
}

void SizedField::leave() {
    // The message box taking the focus finishes the field again.
    if (refusing_) return;
    if (editing_ && !sized_value_from_text(field_->field_text().toStdString(), range_)) {
        // What was stored on the way ("2.5" of "2.5..-") goes too.
        const bool stored = *target_ != value_before_edit_;
        *target_ = value_before_edit_;
        if (stored) emit changed();
        refusing_ = true;
        refuse_field(field_->edit(), QString::fromUtf8(kEnterNumberMessage));
        refusing_ = false;
    }
    show_value();
}

void SizedField::load() {
    show_value();
}

void SizedField::show_value() {
    editing_ = false;
    field_->set_field_text(QString::fromStdString(sized_text(*target_, range_)));
    sync_steps();
}

void SizedField::sync_steps() {
    const int position = sized_spin_position(*target_, range_);
    field_->set_steps_enabled(position<range_.max, position> range_.min);
}

}  // namespace kvd
