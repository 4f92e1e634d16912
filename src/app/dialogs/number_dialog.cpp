#include "app/dialogs/number_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>
#include <string>
#include <vector>

#include "app/dialogs/dialog_support.h"

namespace kvd {

namespace {

QString bound_text(double bound, bool integer) {
    return integer ? QString::number(static_cast<long long>(bound)) : number_text(bound);
}

}  // namespace

bool is_unit_label(const std::string& label) {
    return label == "mm" || label == "kN" || label == "kPa" || label == "%";
}

NumberDialog::NumberDialog(const NumberDialogRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setWindowTitle(QString::fromStdString(request.title));
    auto* layout = new QVBoxLayout(this);

    std::vector<std::string> texts = request.labels;
    QString unit;
    if (texts.size() > 1 && is_unit_label(texts.back())) {
        unit = QString::fromStdString(texts.back());
        texts.pop_back();
    }
    for (const std::string& text : texts) {
        layout->addWidget(new QLabel(QString::fromStdString(text), this));
    }

    field_ = make_number_field(this, 14);
    if (request.integer && std::isfinite(request.initial) && std::abs(request.initial) < 2e9) {
        field_->setText(QString::number(static_cast<long long>(std::llround(request.initial))));
    } else {
        field_->setText(number_text(request.initial, request.decimals));
    }
    field_->selectAll();
    auto* row = new QHBoxLayout;
    row->addWidget(field_, 1);
    if (!unit.isEmpty()) row->addWidget(new QLabel(unit, this));
    layout->addLayout(row);
    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
    field_->setFocus(Qt::OtherFocusReason);
}

QString NumberDialog::check(const NumberDialogRequest& request, const QString& text,
                            double& value) {
    const bool ranged = request.minimum && request.maximum;
    const QString range_message =
        ranged ? QString::fromUtf8(request.integer ? kIntegerRangeMessage : kNumberRangeMessage)
                     .arg(bound_text(*request.minimum, request.integer),
                          bound_text(*request.maximum, request.integer))
               : QString();
    std::optional<double> parsed;
    if (request.integer) {
        if (const std::optional<int> whole = parse_integer(text)) parsed = *whole;
        if (!parsed) return QString::fromUtf8(kEnterIntegerMessage);
    } else {
        parsed = parse_number(text);
        if (!parsed) return QString::fromUtf8(kEnterNumberMessage);
    }
    const bool below = request.minimum && *parsed < *request.minimum;
    const bool above = request.maximum && *parsed > *request.maximum;
    if (below || above) {
        if (ranged) return range_message;
        // One bound only: say which way the value is wrong with the bound given.
        return below ? QString::fromUtf8(kNumberRangeMessage)
                           .arg(bound_text(*request.minimum, request.integer),
                                QStringLiteral("∞"))
                     : QString::fromUtf8(kNumberRangeMessage)
                           .arg(QStringLiteral("-∞"),
                                bound_text(*request.maximum, request.integer));
    }
    value = *parsed;
    return {};
}

void NumberDialog::accept() {
    double value = 0;
    const QString error = check(request_, field_->text(), value);
    if (!error.isEmpty()) {
        refuse_field(field_, error);
        return;
    }
    value_ = value;
    QDialog::accept();
}

}  // namespace kvd
