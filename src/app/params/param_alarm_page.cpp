#include "app/params/param_alarm_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "doc/lbx_doc.h"

namespace kvd {
namespace {

constexpr int kLimitChars = 10;
constexpr int kMultipleChars = 5;  // up to 65535

}  // namespace

CJiXianView::CJiXianView(CLbxDoc& doc, QWidget* parent)
    : ParamPage(doc, parent),
      binder_(*this, shown_, [](const AlarmPageFields& f) { return validate(f); }) {
    auto* group = new QGroupBox(QStringLiteral("极限值"), form());
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < limit_boxes_.size(); ++i) {
        limit_boxes_[i] =
            binder_.real([i](AlarmPageFields& f) -> double& { return f.limits[i]; }, kLimitChars);
        const int row = static_cast<int>(i);
        grid->addWidget(new QLabel(utf8(kAlarmLimitLabels[i]), group), row, 0);
        grid->addWidget(limit_boxes_[i], row, 1);
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const int row = 5 + static_cast<int>(i);
        grade_alarm_boxes_[i] = new QCheckBox(utf8(kGradeAlarmLabel), group);
        connect(grade_alarm_boxes_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
            shown_.grade_alarm_on[i] = checked;
            note_user_change();
        });
        multiple_boxes_[i] = binder_.integer(
            [i](AlarmPageFields& f) -> int& { return f.grade_alarm_multiple[i]; }, kMultipleChars);
        auto* times = new QHBoxLayout;
        times->addWidget(multiple_boxes_[i]);
        times->addWidget(new QLabel(QStringLiteral("倍"), group));
        if (i == 1) times->addWidget(new QLabel(QStringLiteral("且24小时不稳定"), group));
        times->addStretch(1);
        grid->addWidget(grade_alarm_boxes_[i], row, 0);
        grid->addLayout(times, row, 1);
    }
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(form());
    layout->addWidget(group);
    layout->addWidget(new QLabel(QStringLiteral("帮助"), form()));
    layout->addWidget(help_text(kAlarmHelpFirst));
    layout->addWidget(help_text(kAlarmHelpSecond));
    layout->addStretch(1);
    load_page();
}

void CJiXianView::load_page() {
    shown_.load_from(doc().record().header);
    for (std::size_t i = 0; i < 2; ++i) grade_alarm_boxes_[i]->setChecked(shown_.grade_alarm_on[i]);
    show_boxes();
}

void CJiXianView::store_page() {
    shown_.store_into(doc().record().header);
}

}  // namespace kvd
