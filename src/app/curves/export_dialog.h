#pragma once
// CExportDialog: "图像导出选项", how a curve picture is exported — black and
// white or colour, and the height-to-width ratio in percent (10 ... 1000).
// Beside the ratio field an up/down control (and the Up/Down keys in the
// field) steps the ratio in tens; its position is ratio / 10 within 1 ... 100.
// Leaving the field with a ratio out of range sends the focus back to it;
// OK refuses such a ratio with the range message.

#include <QDialog>

#include "doc/user_interface.h"

class QLineEdit;
class QRadioButton;
class QToolButton;

namespace kvd {

class CExportDialog : public QDialog {
    Q_OBJECT

public:
    explicit CExportDialog(const ExportOptions& initial, QWidget* parent = nullptr);

    // The options once accepted.
    ExportOptions options() const { return options_; }

    QRadioButton* black_and_white_radio() const { return black_and_white_; }
    QRadioButton* colour_radio() const { return colour_; }
    QLineEdit* ratio_field() const { return ratio_; }
    QToolButton* up_button() const { return up_; }
    QToolButton* down_button() const { return down_; }
    int spin_position() const { return spin_position_; }
    // One step of the up/down control: +1 up, -1 down.
    void step(int delta);

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ratio_left();

    ExportOptions options_;
    QRadioButton* black_and_white_ = nullptr;
    QRadioButton* colour_ = nullptr;
    QLineEdit* ratio_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int spin_position_ = 15;
};

}  // namespace kvd
