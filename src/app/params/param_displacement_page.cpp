#include "app/params/param_displacement_page.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

// The gauge number field holds 31 bytes of text.
constexpr int kSensorNumberChars = 31;
// The channels stand in two blocks of eight side by side, so that the page
// fits the pane's usual height; each block has five columns.
constexpr int kRowsPerBlock = 8;
constexpr int kBlockColumns = 6;  // five and a spacer

}  // namespace

CWeiYiView::CWeiYiView(CLbxDoc& doc, QWidget* parent)
    : ParamPage(doc, parent), binder_(*this, shown_, nullptr) {
    auto* grid = new QGridLayout;
    for (int block = 0; block < 2; ++block) {
        const int column = block * kBlockColumns;
        grid->addWidget(label("通道"), 0, column);
        grid->addWidget(label("位移编号"), 0, column + 1);
        grid->addWidget(label("使用目的"), 0, column + 2, 1, 2);
        grid->addWidget(label("运动方向"), 0, column + 4, 1, 2);
    }
    for (std::size_t j = 0; j < rows_.size(); ++j) {
        const int block = static_cast<int>(j) / kRowsPerBlock;
        const int grid_row = 1 + static_cast<int>(j) % kRowsPerBlock;
        const int column = block * kBlockColumns;
        ChannelRow& row = rows_[j];
        row.in_use = new QCheckBox(QString::number(j + 1), form());
        connect(row.in_use, &QCheckBox::clicked, this, [this, j](bool checked) {
            shown_.channels[j].in_use = checked;
            enable_radios(j);
            note_user_change();
        });
        row.sensor_number = binder_.text(
            [j](DisplacementPageFields& f) -> std::string& { return f.channels[j].sensor_number; },
            kSensorNumberChars);
        row.sensor_number->setMinimumWidth(
            row.sensor_number->fontMetrics().horizontalAdvance(QStringLiteral("WY000000")) + 12);
        row.purpose = new QButtonGroup(this);
        row.direction = new QButtonGroup(this);
        grid->addWidget(row.in_use, grid_row, column);
        grid->addWidget(row.sensor_number, grid_row, column + 1);
        for (int id = 0; id < 2; ++id) {
            grid->addWidget(
                radio(kPurposeNames[static_cast<std::size_t>(id)].data(), row.purpose, id),
                grid_row, column + 2 + id);
            grid->addWidget(
                radio(kDirectionNames[static_cast<std::size_t>(id)].data(), row.direction, id),
                grid_row, column + 4 + id);
        }
        connect(row.purpose, &QButtonGroup::idClicked, this, [this, j](int id) {
            shown_.channels[j].test_pile = id == 1;
            note_user_change();
        });
        connect(row.direction, &QButtonGroup::idClicked, this, [this, j](int id) {
            shown_.channels[j].shortens = id == 1;
            note_user_change();
        });
    }
    grid->setColumnMinimumWidth(kBlockColumns - 1, 24);
    grid->setColumnStretch(2 * kBlockColumns, 1);

    auto* layout = new QVBoxLayout(form());
    layout->addLayout(grid);
    layout->addWidget(help_text(kDisplacementHelpText));
    layout->addStretch(1);
    load_page();
}

void CWeiYiView::enable_radios(std::size_t j) {
    const bool enabled = channel_radios_enabled(shown_.channels[j]);
    for (QAbstractButton* button : rows_[j].purpose->buttons()) button->setEnabled(enabled);
    for (QAbstractButton* button : rows_[j].direction->buttons()) button->setEnabled(enabled);
}

void CWeiYiView::load_page() {
    shown_.load_from(doc().record().header);
    for (std::size_t j = 0; j < rows_.size(); ++j) {
        const ChannelFields& channel = shown_.channels[j];
        rows_[j].in_use->setChecked(channel.in_use);
        check_button(rows_[j].purpose, channel.test_pile ? 1 : 0);
        check_button(rows_[j].direction, channel.shortens ? 1 : 0);
        enable_radios(j);
    }
    show_boxes();
}

void CWeiYiView::store_page() {
    shown_.store_into(doc().record().header);
}

}  // namespace kvd
