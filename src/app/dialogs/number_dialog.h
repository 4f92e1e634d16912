#pragma once
// NumberDialog: the dialogs that ask for one number ("加上一个固定值",
// "乘上一个固定值", "更改锁定点的荷载值", "移动锁定点到新的位置"). The
// request's labels stand above the field; a trailing unit label ("mm", "kN",
// "kPa") stands beside it. OK is refused, with the platform's number or
// range message, while the field holds anything the request does not take;
// the dialog then stays open with the field selected.

#include <QDialog>
#include <QString>
#include <optional>

#include "doc/user_interface.h"

class QLineEdit;

namespace kvd {

class NumberDialog : public QDialog {
    Q_OBJECT

public:
    explicit NumberDialog(const NumberDialogRequest& request, QWidget* parent = nullptr);

    QLineEdit* field() const { return field_; }
    // The value of the field once accepted.
    double value() const { return value_; }

    // What is wrong with the field's text for this request (the message the
    // dialog shows); empty when the text is fine and `value` is set.
    static QString check(const NumberDialogRequest& request, const QString& text, double& value);

public slots:
    void accept() override;

private:
    NumberDialogRequest request_;
    QLineEdit* field_ = nullptr;
    double value_ = 0;
};

// Whether a label is a unit shown beside the field rather than above it.
bool is_unit_label(const std::string& label);

}  // namespace kvd
