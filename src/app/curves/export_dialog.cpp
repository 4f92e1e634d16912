#include "app/curves/export_dialog.h"

#include <QDialogButtonBox>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialog_support.h"
#include "curves/curve_export.h"

namespace kvd {

namespace {

QToolButton* arrow_button(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 13);
    return button;
}

}  // namespace

CExportDialog::CExportDialog(const ExportOptions& initial, QWidget* parent)
    : QDialog(parent), options_(initial) {
    setWindowTitle(QStringLiteral("图像导出选项"));
    auto* layout = new QVBoxLayout(this);

    auto* colours = new QGroupBox(QStringLiteral("  图形色彩 "), this);
    auto* colour_row = new QHBoxLayout(colours);
    black_and_white_ = new QRadioButton(QStringLiteral("  黑白"), colours);
    colour_ = new QRadioButton(QStringLiteral("  彩色"), colours);
    colour_row->addWidget(black_and_white_);
    colour_row->addSpacing(24);
    colour_row->addWidget(colour_);
    colour_row->addStretch(1);
    auto* group = new QButtonGroup(colours);
    group->addButton(black_and_white_, 0);
    group->addButton(colour_, 1);
    (initial.colour_mode == 1 ? colour_ : black_and_white_)->setChecked(true);
    layout->addWidget(colours);

    auto* ratio_row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("图形长宽比"), this);
    ratio_ = make_number_field(this, 6);
    ratio_->setText(QString::number(initial.ratio_percent));
    ratio_->installEventFilter(this);
    caption->setBuddy(ratio_);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    up_ = arrow_button(this, Qt::UpArrow);
    down_ = arrow_button(this, Qt::DownArrow);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    ratio_row->addWidget(caption);
    ratio_row->addWidget(ratio_, 1);
    ratio_row->addLayout(arrows);
    ratio_row->addWidget(new QLabel(QStringLiteral("%"), this));
    layout->addLayout(ratio_row);
    spin_position_ = ratio_spin_position(initial.ratio_percent)
                         .value_or(ratio_spin_position(ExportOptions{}.ratio_percent).value());
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });

    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
    ratio_->setFocus(Qt::OtherFocusReason);
    ratio_->selectAll();
}

void CExportDialog::step(int delta) {
    spin_position_ = std::clamp(spin_position_ + delta, kMinRatioSpin, kMaxRatioSpin);
    ratio_->setText(QString::number(ratio_of_spin_position(spin_position_)));
    if (ratio_->hasFocus()) ratio_->selectAll();
}

void CExportDialog::ratio_left() {
    if (!isVisible() || result() != QDialog::Rejected) return;
    const std::optional<int> percent = parse_integer(ratio_->text());
    const std::optional<int> position = percent ? ratio_spin_position(*percent) : std::nullopt;
    if (position) {
        spin_position_ = *position;
        return;
    }
    ratio_->setFocus(Qt::OtherFocusReason);
    ratio_->selectAll();
}

bool CExportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ratio_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // After the focus change, not inside it.
            QTimer::singleShot(0, this, [this] { ratio_left(); });
        }
    } else if (watched == ratio_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CExportDialog::accept() {
    const std::optional<int> percent = parse_integer(ratio_->text());
    if (!percent) {
        refuse_field(ratio_, QString::fromUtf8(kEnterIntegerMessage));
        return;
    }
    if (!valid_export_ratio(*percent)) {
        refuse_field(ratio_, QString::fromUtf8(kExportRatioRangeMessage));
        return;
    }
    options_.colour_mode = colour_->isChecked() ? 1 : 0;
    options_.ratio_percent = *percent;
    QDialog::accept();
}

}  // namespace kvd
