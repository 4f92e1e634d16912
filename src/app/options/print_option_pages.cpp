#include "app/options/print_option_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvd {
namespace {

QCheckBox* check_box(QWidget* parent, int id, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(control_name(id));
    return box;
}

// The flags of PrintContent a page's check boxes stand for.
using Flag = int PrintContent::*;

}  // namespace

// ---- 曲线部分 ---------------------------------------------------------------

namespace {
constexpr std::array<Flag, 3> kCurveFlags = {&PrintContent::qs_curve, &PrintContent::slgt_curve,
                                             &PrintContent::slgq_curve};
}  // namespace

CImagePrintOption::CImagePrintOption(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* curves = add_group(QStringLiteral("打印的曲线"));
    QWidget* cbox = curves->parentWidget();
    summary_ = check_box(cbox, 1141, " 打印简单的汇总表");
    curves_ = {check_box(cbox, 1138, " Q-s   曲线"), check_box(cbox, 1139, " s-lgt  曲线"),
               check_box(cbox, 1140, " s-lgQ 曲线")};
    curves->addWidget(summary_, 0, 0, 1, 3);
    for (int i = 0; i < 3; ++i) curves->addWidget(curves_[static_cast<std::size_t>(i)], 1, i);

    QGridLayout* aspect = add_group(QStringLiteral("图形长宽比"));
    QWidget* abox = aspect->parentWidget();
    aspect_ = new QButtonGroup(this);
    aspect->addWidget(add_radio(aspect_, abox, 1056, "3 : 2", 0), 0, 0);
    aspect->addWidget(add_radio(aspect_, abox, 1057, "1 : 1", 1), 0, 1);
    aspect->setColumnStretch(2, 1);

    QGridLayout* layout = add_group(QStringLiteral("打印版式"));
    QWidget* lbox = layout->parentWidget();
    layout_ = new QButtonGroup(this);
    layout->addWidget(add_radio(layout_, lbox, 1058, "每条曲线单独打印一页", 0), 0, 0);
    layout->addWidget(add_radio(layout_, lbox, 1059, "Q-s和s-lgt曲线在同一页", 1), 1, 0);
    layout->addWidget(add_radio(layout_, lbox, 1152, "s-lgt和s-lgQ曲线在同一页", 2), 2, 0);
    layout->addWidget(add_radio(layout_, lbox, 1153, "三条曲线打印在同一页", 3), 3, 0);
    column()->addStretch();

    connect(summary_, &QCheckBox::clicked, this, [this](bool on) {
        session().print_content().simple_summary = on ? 1 : 0;
        emit changed();
    });
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        connect(curves_[i], &QCheckBox::clicked, this, [this, flag = kCurveFlags[i]](bool on) {
            session().print_content().*flag = on ? 1 : 0;
            emit changed();
        });
    }
    connect(aspect_, &QButtonGroup::idClicked, this, [this](int value) {
        session().print_content().curve_aspect = value;
        emit changed();
    });
    connect(layout_, &QButtonGroup::idClicked, this, [this](int value) {
        set_curve_layout(session().print_content(), value);
        sync_locks();
        emit changed();
    });
}

void CImagePrintOption::load() {
    const PrintContent& content = session().print_content();
    summary_->setChecked(content.simple_summary != 0);
    check_value(aspect_, content.curve_aspect);
    check_value(layout_, content.curve_layout);
    sync_locks();
}

void CImagePrintOption::sync_locks() {
    const PrintContent& content = session().print_content();
    const std::array<bool, 3> locked = curves_locked_by_layout(content.curve_layout);
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        curves_[i]->setChecked(content.*kCurveFlags[i] != 0);
        curves_[i]->setEnabled(!locked[i]);
    }
}

// ---- 表格部分 ---------------------------------------------------------------

namespace {
constexpr int kZeroMinuteBox = 3;
constexpr std::array<std::pair<int, const char*>, 8> kTableBoxes = {{
    {1132, "汇总表"},
    {1133, "加载详细数据表"},
    {1134, "卸载详细数据表"},
    {1217, "加(卸)详细表0分钟"},
    {1154, "锚桩汇总表"},
    {1135, "原始记录表"},
    {1136, "修改记录表"},
    {1250, "承载力分析"},
}};
constexpr std::array<Flag, 8> kTableFlags = {
    &PrintContent::summary,
    &PrintContent::loading_detail,
    &PrintContent::unloading_detail,
    &PrintContent::zero_minute_rows,
    &PrintContent::anchor_pile,
    &PrintContent::raw_record,
    &PrintContent::modification_record,
    &PrintContent::analysis,
};
}  // namespace

CTablePrintOption::CTablePrintOption(OptionSession& options, QWidget* parent)
    : OptionPageWidget(options, parent) {
    QGridLayout* tables = add_group(QStringLiteral("打印的表格"));
    QWidget* tbox = tables->parentWidget();
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        tables_[i] = check_box(tbox, kTableBoxes[i].first, kTableBoxes[i].second);
        const int n = static_cast<int>(i);
        tables->addWidget(tables_[i], n / 2, n % 2);
        connect(tables_[i], &QCheckBox::clicked, this, [this, flag = kTableFlags[i]](bool on) {
            session().print_content().*flag = on ? 1 : 0;
            emit changed();
        });
    }

    QGridLayout* title = add_group(QStringLiteral("表格标题"));
    title_ = new QComboBox(title->parentWidget());
    title_->setObjectName(control_name(1159));
    for (const char* text : kTableTitles) title_->addItem(QString::fromUtf8(text));
    title->addWidget(title_, 0, 0);
    title->setColumnStretch(1, 1);
    connect(title_, &QComboBox::activated, this, [this](int index) {
        set_table_title(session().print_content(), index);
        tables_[kZeroMinuteBox]->setChecked(session().print_content().zero_minute_rows != 0);
        emit changed();
    });

    QGridLayout* sign = add_group(QStringLiteral("打印批注"));
    QWidget* sbox = sign->parentWidget();
    sign_off_ = new QButtonGroup(this);
    sign->addWidget(add_radio(sign_off_, sbox, 1056, "每页都打印", kSignOffEveryPage), 0, 0);
    sign->addWidget(add_radio(sign_off_, sbox, 1057, "每页都不打印", kSignOffNever), 0, 1);
    sign->addWidget(add_radio(sign_off_, sbox, 1058, "仅首页打印(原始记录除外)", kSignOffFirstPage),
                    1, 0, 1, 2);
    connect(sign_off_, &QButtonGroup::idClicked, this, [this](int mode) {
        session().print_content().sign_off = mode;
        emit changed();
    });
    column()->addStretch();
}

void CTablePrintOption::load() {
    const PrintContent& content = session().print_content();
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        tables_[i]->setChecked(content.*kTableFlags[i] != 0);
    }
    title_->setCurrentIndex(content.table_title);
    check_value(sign_off_, content.sign_off);
}

}  // namespace kvd
