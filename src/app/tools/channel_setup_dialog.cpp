#include "app/tools/channel_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"

namespace kvd {
namespace {

// The list's items in ChannelRole order (item i is role i).
constexpr const char* kRoleNames[] = {"未用", "沉降测试", "上拔测试"};

int role_index(ChannelRole role) {
    const auto index = static_cast<int>(role);
    return index >= 0 && index < static_cast<int>(std::size(kRoleNames)) ? index : 0;
}

}  // namespace

CChannelSetupDialog::CChannelSetupDialog(const ChannelSetup& setup, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("channel_setup_dialog"));
    setWindowTitle(QStringLiteral("位移通道设置"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("通道"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("测试用途"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("锚桩编号"), this), 0, 2);

    const int number_width = fontMetrics().horizontalAdvance(QString(
                                 static_cast<int>(kAnchorPileNumberChars), QLatin1Char('0'))) +
                             12;
    for (std::size_t j = 0; j < roles_.size(); ++j) {
        const int row = static_cast<int>(j) + 1;
        auto* channel = new QLabel(QString::number(row), this);
        channel->setAlignment(Qt::AlignCenter);
        grid->addWidget(channel, row, 0);

        QComboBox* role = new QComboBox(this);
        for (const char* name : kRoleNames) role->addItem(QString::fromUtf8(name));
        role->setCurrentIndex(role_index(setup.roles[j]));
        grid->addWidget(role, row, 1);
        roles_[j] = role;

        auto* number = new QLineEdit(QString::fromStdString(setup.anchor_pile_numbers[j]), this);
        number->setMaxLength(static_cast<int>(kAnchorPileNumberChars));
        number->setMinimumWidth(number_width);
        grid->addWidget(number, row, 2);
        numbers_[j] = number;

        connect(role, &QComboBox::currentIndexChanged, this, [this, j] { enable_number(j); });
        enable_number(j);
    }
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
    roles_[0]->setFocus(Qt::OtherFocusReason);
}

void CChannelSetupDialog::enable_number(std::size_t row) {
    numbers_[row]->setEnabled(roles_[row]->currentIndex() ==
                              static_cast<int>(ChannelRole::kAnchorPile));
}

ChannelSetup CChannelSetupDialog::setup() const {
    ChannelSetup result;
    for (std::size_t j = 0; j < roles_.size(); ++j) {
        result.roles[j] = static_cast<ChannelRole>(roles_[j]->currentIndex());
        result.anchor_pile_numbers[j] = numbers_[j]->text().toStdString();
    }
    return result;
}

}  // namespace kvd
