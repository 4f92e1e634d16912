#include "app/curves/coord_dialog.h"

#include <QDialogButtonBox>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <utility>

#include "app/dialogs/dialog_support.h"

namespace kvd {

namespace {

constexpr std::array<AxesField, 3> kFields = {AxesField::kXMax, AxesField::kYMax,
                                              AxesField::kYMin};

QGroupBox* radio_pair(QWidget* parent, const char* title, QRadioButton* first,
                      QRadioButton* second) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    auto* row = new QHBoxLayout(group);
    row->addWidget(first);
    row->addSpacing(24);
    row->addWidget(second);
    row->addStretch(1);
    auto* buttons = new QButtonGroup(group);
    buttons->addButton(first);
    buttons->addButton(second);
    return group;
}

}  // namespace

CCoordDialog::CCoordDialog(const AxesDialogState& initial, AxesValidator validate,
                           QWidget* parent)
    : QDialog(parent), initial_(initial), validate_(std::move(validate)) {
    setWindowTitle(QStringLiteral("设定坐标尺寸"));
    auto* layout = new QVBoxLayout(this);

    auto_radio_ = new QRadioButton(QStringLiteral("自动设定"), this);
    user_radio_ = new QRadioButton(QStringLiteral("用户自定义"), this);
    layout->addWidget(radio_pair(this, "坐标值设定方式", auto_radio_, user_radio_));
    (initial.coordinate_mode == 1 ? user_radio_ : auto_radio_)->setChecked(true);

    auto* grid = new QGridLayout;
    const char* captions[] = {"横坐标最大值", "纵坐标最大值", "纵坐标最小值"};
    const QString units[] = {QString::fromStdString(initial.load_unit), QStringLiteral("mm"),
                             QStringLiteral("mm")};
    const QString texts[] = {QString::number(initial.x_max), number_text(initial.y_max),
                             number_text(initial.y_min)};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* label = new QLabel(QString::fromUtf8(captions[i]), this);
        fields_[i] = make_number_field(this, 12);
        fields_[i]->setText(texts[i]);
        accepted_texts_[i] = texts[i];
        fields_[i]->installEventFilter(this);
        label->setBuddy(fields_[i]);
        grid->addWidget(label, row, 0);
        grid->addWidget(fields_[i], row, 1);
        grid->addWidget(new QLabel(units[i], this), row, 2);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    down_radio_ = new QRadioButton(QStringLiteral("向下"), this);
    up_radio_ = new QRadioButton(QStringLiteral("向上"), this);
    layout->addWidget(radio_pair(this, "纵坐标方向", down_radio_, up_radio_));
    (initial.direction_kind == 2 ? up_radio_ : down_radio_)->setChecked(true);

    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
}

AxesDialogState CCoordDialog::state() const {
    AxesDialogState s = initial_;
    s.coordinate_mode = user_radio_->isChecked() ? 1 : 0;
    s.direction_kind = up_radio_->isChecked() ? 2 : 1;
    s.x_max = parse_integer(fields_[0]->text()).value_or(0);
    s.y_max = parse_number(fields_[1]->text()).value_or(std::numeric_limits<double>::quiet_NaN());
    s.y_min = parse_number(fields_[2]->text()).value_or(std::numeric_limits<double>::quiet_NaN());
    return s;
}

bool CCoordDialog::check_field(AxesField which) {
    const std::size_t i = index(which);
    QLineEdit* field = fields_[i];
    if (checking_ || field->text() == accepted_texts_[i]) return true;
    // A text that is not one number is refused before the axes rules see it;
    // the field gets back the value it held.
    const bool integer = i == 0;
    const bool number = integer ? parse_integer(field->text()).has_value()
                                : parse_number(field->text()).has_value();
    if (!number) {
        checking_ = true;
        refuse_field(field,
                     QString::fromUtf8(integer ? kEnterIntegerMessage : kEnterNumberMessage));
        checking_ = false;
        field->setText(accepted_texts_[i]);
        field->selectAll();
        return false;
    }
    FieldVerdict verdict = FieldVerdict::kAccept;
    if (validate_) {
        checking_ = true;
        verdict = validate_(which, state());
        checking_ = false;
    }
    if (verdict == FieldVerdict::kAccept) {
        accepted_texts_[i] = field->text();
        return true;
    }
    field->setText(accepted_texts_[i]);
    if (verdict == FieldVerdict::kRestoreAndRetry) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
    return false;
}

bool CCoordDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The dialog losing the activation, or a popup over the field, is
        // not leaving the field.
        const bool leaves = reason != Qt::ActiveWindowFocusReason &&
                            reason != Qt::PopupFocusReason;
        for (AxesField which : kFields) {
            if (leaves && watched == fields_[index(which)]) {
                QTimer::singleShot(0, this, [this, which] {
                    if (isVisible() && result() == QDialog::Rejected) check_field(which);
                });
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CCoordDialog::accept() {
    // The field being edited is left by pressing OK: check it (and any
    // other whose check is still pending) before closing.
    for (AxesField which : kFields) {
        if (!check_field(which)) return;
    }
    QDialog::accept();
}

}  // namespace kvd
