#pragma once
// CChannelSetupDialog: "位移通道设置", what displacement channels 1 ... 12
// measure. Each row has the channel's 测试用途 ("未用", "沉降测试", "上拔测试",
// the ChannelRole values in that order) and its 锚桩编号, the anchor pile
// number, which can be typed only while the channel is on an anchor pile
// (上拔测试). The frame opens it with the document's channel setup and hands
// the result back to the document on OK.

#include <QDialog>
#include <array>

#include "doc/lbx_doc.h"

class QComboBox;
class QLineEdit;

namespace kvd {

class CChannelSetupDialog : public QDialog {
    Q_OBJECT

public:
    explicit CChannelSetupDialog(const ChannelSetup& setup, QWidget* parent = nullptr);

    // What the rows hold now.
    ChannelSetup setup() const;

    // Row 0 is channel 1.
    QComboBox* role_box(int row) const { return roles_.at(static_cast<std::size_t>(row)); }
    QLineEdit* number_field(int row) const { return numbers_.at(static_cast<std::size_t>(row)); }

private:
    void enable_number(std::size_t row);

    std::array<QComboBox*, kChannelSetupRows> roles_{};
    std::array<QLineEdit*, kChannelSetupRows> numbers_{};
};

}  // namespace kvd
