#include "app/curves/marked_dialog.h"

#include <QDialogButtonBox>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "app/dialogs/dialog_support.h"

namespace kvd {

namespace {

constexpr MarkMode kModes[] = {MarkMode::kByLoad, MarkMode::kBySettlement, MarkMode::kByRatio,
                               MarkMode::kFree};
constexpr const char* kModeTexts[] = {"根据荷载", "根据位移", "根据 位移 / 荷载", "自由标记"};

int mode_index(MarkMode mode) {
    return static_cast<int>(mode);
}

QString load_text(double load) {
    if (!std::isfinite(load) || std::fabs(load) > 2e9) return QStringLiteral("0");
    return QString::number(std::llround(load));
}

}  // namespace

CMarkedDialog::CMarkedDialog(const MarkDialogState& initial, MarkCalculator calculate,
                             QWidget* parent)
    : QDialog(parent), initial_(initial), calculate_(std::move(calculate)) {
    setWindowTitle(QStringLiteral("标记"));
    auto* layout = new QVBoxLayout(this);

    auto* kinds = new QGroupBox(QStringLiteral("标记类型"), this);
    auto* kinds_layout = new QGridLayout(kinds);
    auto* group = new QButtonGroup(kinds);
    for (int i = 0; i < 4; ++i) {
        radios_[i] = new QRadioButton(QString::fromUtf8(kModeTexts[i]), kinds);
        kinds_layout->addWidget(radios_[i], i / 2, i % 2);
        group->addButton(radios_[i], i);
    }
    kinds_layout->setHorizontalSpacing(24);
    layout->addWidget(kinds);

    auto* values = new QGroupBox(QStringLiteral("标记值"), this);
    auto* grid = new QGridLayout(values);
    load_ = make_number_field(values, 12);
    settlement_ = make_number_field(values, 12);
    ratio_ = make_number_field(values, 12);
    const char* captions[] = {"标记荷载值", "标记位移值", "标记 位移 / 荷载 值"};
    const QString units[] = {QString::fromStdString(initial.load_unit), QStringLiteral("mm"),
                             QString()};
    QLineEdit* fields[] = {load_, settlement_, ratio_};
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(QString::fromUtf8(captions[row]), values);
        label->setBuddy(fields[row]);
        grid->addWidget(label, row, 0);
        grid->addWidget(fields[row], row, 1);
        grid->addWidget(new QLabel(units[row], values), row, 2);
        connect(fields[row], &QLineEdit::textEdited, this,
                [this, field = fields[row]] { field_edited(field); });
    }
    grid->setColumnStretch(1, 1);
    layout->addWidget(values);
    load_->setText(load_text(initial.load));
    settlement_->setText(number_text(initial.settlement));
    ratio_->setText(number_text(initial.ratio));

    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);

    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id >= 0 && id < 4) set_mode(kModes[id]);
    });
    set_mode(initial.mode);
}

QRadioButton* CMarkedDialog::mode_radio(MarkMode mode) const {
    return radios_[mode_index(mode)];
}

void CMarkedDialog::set_mode(MarkMode mode) {
    mode_ = mode;
    radios_[mode_index(mode)]->setChecked(true);
    load_->setEnabled(mode == MarkMode::kByLoad || mode == MarkMode::kFree);
    settlement_->setEnabled(mode == MarkMode::kBySettlement || mode == MarkMode::kFree);
    ratio_->setEnabled(mode == MarkMode::kByRatio);
}

MarkDialogState CMarkedDialog::state() const {
    MarkDialogState s = initial_;
    s.mode = mode_;
    s.load = parse_integer(load_->text()).value_or(0);
    s.settlement = parse_number(settlement_->text()).value_or(0);
    s.ratio = parse_number(ratio_->text()).value_or(0);
    return s;
}

void CMarkedDialog::field_edited(QLineEdit* field) {
    if (!calculate_) return;
    QLineEdit* source = mode_ == MarkMode::kByLoad         ? load_
                        : mode_ == MarkMode::kBySettlement ? settlement_
                        : mode_ == MarkMode::kByRatio      ? ratio_
                                                           : nullptr;
    if (field != source) return;
    const MarkDialogState shown = calculate_(state());
    if (field != load_) load_->setText(load_text(shown.load));
    if (field != settlement_) settlement_->setText(number_text(shown.settlement, 2));
    if (field != ratio_) ratio_->setText(number_text(shown.ratio, 3));
}

void CMarkedDialog::accept() {
    // The fields the mode reads must hold numbers (the load a whole one).
    const bool reads_load = mode_ == MarkMode::kByLoad || mode_ == MarkMode::kFree;
    const bool reads_settlement = mode_ == MarkMode::kBySettlement || mode_ == MarkMode::kFree;
    if (reads_load && !parse_integer(load_->text())) {
        refuse_field(load_, QString::fromUtf8(kEnterIntegerMessage));
        return;
    }
    if (reads_settlement && !parse_number(settlement_->text())) {
        refuse_field(settlement_, QString::fromUtf8(kEnterNumberMessage));
        return;
    }
    if (mode_ == MarkMode::kByRatio && !parse_number(ratio_->text())) {
        refuse_field(ratio_, QString::fromUtf8(kEnterNumberMessage));
        return;
    }
    QDialog::accept();
}

}  // namespace kvd
