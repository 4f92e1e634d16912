#pragma once
// CMarkedDialog: "标记", a mark on the Q-s curve. The mode radios of "标记类型"
// enable the fields of "标记值" that the mode reads: by load the load, by
// settlement the settlement, by ratio the ratio, a free mark the load and
// the settlement. In the three computed modes every change typed into the
// enabled field has the calculator fill in the other two (0 when the curve
// has no such point): loads as "%d", settlements with two decimals, ratios
// with three.

#include <QDialog>

#include "doc/user_interface.h"

class QLineEdit;
class QRadioButton;

namespace kvd {

class CMarkedDialog : public QDialog {
    Q_OBJECT

public:
    CMarkedDialog(const MarkDialogState& initial, MarkCalculator calculate,
                  QWidget* parent = nullptr);

    // The mode and the three fields (a field that is not a number reads 0).
    MarkDialogState state() const;
    MarkMode mode() const { return mode_; }
    void set_mode(MarkMode mode);

    QRadioButton* mode_radio(MarkMode mode) const;
    QLineEdit* load_field() const { return load_; }
    QLineEdit* settlement_field() const { return settlement_; }
    QLineEdit* ratio_field() const { return ratio_; }

public slots:
    void accept() override;

private:
    // A change typed into `field`: recompute when it is the mode's field.
    void field_edited(QLineEdit* field);

    MarkDialogState initial_;
    MarkCalculator calculate_;
    MarkMode mode_ = MarkMode::kByLoad;
    QRadioButton* radios_[4] = {};
    QLineEdit* load_ = nullptr;
    QLineEdit* settlement_ = nullptr;
    QLineEdit* ratio_ = nullptr;
};

}  // namespace kvd
