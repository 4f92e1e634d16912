#pragma once
// CCoordDialog: "设定坐标尺寸", how the curves' axes are set — automatic or
// user-defined, the horizontal maximum and the vertical maximum and minimum,
// and the direction of the displacement axis.
//
// A field is checked by the validator when it loses the focus (and, for the
// field still being edited, when OK is pressed). On a refusal the validator
// has told the user why; the field gets back the value it had before the
// edit, and the focus as well when the user chose Retry. OK never closes the
// dialog on a refused value. The check runs just after the focus has moved,
// outside the focus change itself, so that the message box and the refocus
// do not fight the focus chain.

#include <QDialog>
#include <array>

#include "doc/user_interface.h"

class QLineEdit;
class QRadioButton;

namespace kvd {

class CCoordDialog : public QDialog {
    Q_OBJECT

public:
    CCoordDialog(const AxesDialogState& initial, AxesValidator validate,
                 QWidget* parent = nullptr);

    // What the dialog holds now (a field that is not a number reads as 0 for
    // the horizontal maximum, not-a-number for the others).
    AxesDialogState state() const;

    QLineEdit* field(AxesField which) const { return fields_.at(index(which)); }
    QRadioButton* auto_radio() const { return auto_radio_; }
    QRadioButton* user_radio() const { return user_radio_; }
    QRadioButton* down_radio() const { return down_radio_; }
    QRadioButton* up_radio() const { return up_radio_; }

    // Runs the check of a field whose text changed since its last check;
    // false when the value was refused (and put back).
    bool check_field(AxesField which);

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(AxesField which) { return static_cast<std::size_t>(which); }

    AxesDialogState initial_;
    AxesValidator validate_;
    std::array<QLineEdit*, 3> fields_{};
    std::array<QString, 3> accepted_texts_;  // each field's value before the edit
    QRadioButton* auto_radio_ = nullptr;
    QRadioButton* user_radio_ = nullptr;
    QRadioButton* down_radio_ = nullptr;
    QRadioButton* up_radio_ = nullptr;
    bool checking_ = false;  // a check (and its message box) is running
};

}  // namespace kvd
