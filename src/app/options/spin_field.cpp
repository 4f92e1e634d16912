#include "app/options/spin_field.h"

#include <QLineEdit>

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
        *target_ = sized_value_from_text(text.toStdString(), range_);
        sync_steps();
        emit changed();
    });
    connect(field_, &SpinField::finished, this, &SizedField::show_value);
    connect(field_, &SpinField::stepped, this, [this](int steps) {
        *target_ = sized_value_after_step(*target_, steps, range_);
        show_value();
        emit changed();
    });
}

void SizedField::load() {
    show_value();
}

void SizedField::show_value() {
    field_->set_field_text(QString::fromStdString(sized_text(*target_, range_)));
    sync_steps();
}

void SizedField::sync_steps() {
    const int position = sized_spin_position(*target_, range_);
    field_->set_steps_enabled(position<range_.max, position> range_.min);
}

}  // namespace kvd
