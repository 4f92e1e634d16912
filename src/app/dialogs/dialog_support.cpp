#include "app/dialogs/dialog_support.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "doc/lbx_doc.h"

namespace kvd {

namespace {

struct ButtonText {
    QMessageBox::StandardButton button;
    const char* text;
};
constexpr ButtonText kButtonTexts[] = {
    {QMessageBox::Ok, "确定"},   {QMessageBox::Cancel, "取消"},    {QMessageBox::Yes, "是(&Y)"},
    {QMessageBox::No, "否(&N)"}, {QMessageBox::Retry, "重试(&R)"},
};

QMessageBox::StandardButtons standard_buttons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOk:
            return QMessageBox::Ok;
        case MessageButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::kRetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The first button is the default one, as on the original platform.
QMessageBox::StandardButton default_button(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kYesNo:
        case MessageButtons::kYesNoCancel:
            return QMessageBox::Yes;
        case MessageButtons::kRetryCancel:
            return QMessageBox::Retry;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon message_icon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kError:
            return QMessageBox::Critical;
        case MessageIcon::kWarning:
            return QMessageBox::Warning;
        case MessageIcon::kQuestion:
            return QMessageBox::Question;
        case MessageIcon::kInformation:
            return QMessageBox::Information;
        case MessageIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

// The answer for a box closed without a button (Escape, the close button):
// the box's way out.
MessageAnswer escape_answer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOk:
            return MessageAnswer::kOk;
        case MessageButtons::kYesNo:
            return MessageAnswer::kNo;
        default:
            return MessageAnswer::kCancel;
    }
}

}  // namespace

MessageAnswer show_message_box(QWidget* parent, const QString& text, const QString& caption,
                               MessageButtons buttons, MessageIcon icon) {
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    QMessageBox box(message_icon(icon), caption, text, standard_buttons(buttons), parent);
    // The program speaks Chinese whatever translations Qt has: the buttons
    // carry the texts of the system's own Chinese message boxes.
    for (const auto& [button, label] : kButtonTexts) {
        if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(label));
    }
    box.setDefaultButton(default_button(buttons));
    if (buttons == MessageButtons::kYesNo) box.setEscapeButton(QMessageBox::No);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked ? box.standardButton(clicked) : QMessageBox::NoButton) {
        case QMessageBox::Ok:
            return MessageAnswer::kOk;
        case QMessageBox::Cancel:
            return MessageAnswer::kCancel;
        case QMessageBox::Yes:
            return MessageAnswer::kYes;
        case QMessageBox::No:
            return MessageAnswer::kNo;
        case QMessageBox::Retry:
            return MessageAnswer::kRetry;
        default:
            return escape_answer(buttons);
    }
}

void set_file_dialog_texts(QFileDialog* dialog) {
    // Qt's own dialog, not the desktop's: it speaks the program's language
    // (and Qt's Chinese translations) whatever the desktop's language is.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
    dialog->setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围(&I):"));
    dialog->setLabelText(QFileDialog::FileName, QStringLiteral("文件名(&N):"));
    dialog->setLabelText(QFileDialog::FileType,
                         save ? QStringLiteral("保存类型(&T):") : QStringLiteral("文件类型(&T):"));
    dialog->setLabelText(QFileDialog::Accept,
                         save ? QStringLiteral("保存(&S)") : QStringLiteral("打开(&O)"));
    dialog->setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
}

void refuse_field(QLineEdit* field, const QString& message) {
    show_message_box(field ? field->window() : nullptr, message,
                     QString::fromUtf8(kApplicationTitle), MessageButtons::kOk,
                     MessageIcon::kWarning);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

std::optional<double> parse_number(const QString& text) {
    double value = 0;
    if (!parse_decimal_number(text.toStdString(), value) || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parse_integer(const QString& text) {
    long long value = 0;
    if (!parse_whole_number(text.toStdString(), value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::optional<int> read_whole_number_field(QLineEdit* field, int low, int high) {
    const std::optional<int> value = parse_integer(field->text());
    if (!value) {
        refuse_field(field, QString::fromUtf8(kEnterIntegerMessage));
        return std::nullopt;
    }
    if (*value < low || *value > high) {
        refuse_field(field, QString::fromUtf8(kIntegerRangeMessage).arg(low).arg(high));
        return std::nullopt;
    }
    return value;
}

QString number_text(double value, int decimals) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    if (value == 0) value = 0;  // no "-0"
    if (decimals >= 0) {
        QString text = QString::number(value, 'f', decimals);
        // A value that rounds to zero is shown without its sign.
        if (text.startsWith(QLatin1Char('-')) && text.toDouble() == 0) text.remove(0, 1);
        return text;
    }
    return QString::number(value, 'g', std::numeric_limits<double>::max_digits10 - 2);
}

QLineEdit* make_number_field(QWidget* parent, int chars) {
    auto* field = new QLineEdit(parent);
    const QFontMetrics metrics(field->font());
    field->setMinimumWidth(metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 12);
    return field;
}

QDialogButtonBox* make_ok_cancel(QDialog* dialog) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

void fix_dialog_size(QDialog* dialog) {
    if (QLayout* layout = dialog->layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kvd
