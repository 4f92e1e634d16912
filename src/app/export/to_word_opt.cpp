#include "app/export/to_word_opt.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"

namespace kvd {

CToWordOpt::CToWordOpt(bool raw_record_selectable, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("to_word_options"));
    setWindowTitle(QStringLiteral("输出到word选项"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("输出内容"), this);
    auto* grid = new QGridLayout(group);
    const WordReportOptions defaults;
    auto box = [&](const char* text, bool checked, int row, int column) {
        auto* check = new QCheckBox(QString::fromUtf8(text), group);
        check->setChecked(checked);
        grid->addWidget(check, row, column);
        return check;
    };
    summary_ = box("汇总表", defaults.summary, 0, 0);
    detail_ = box("详测表", defaults.detail, 0, 1);
    raw_ = box("原始记录表", defaults.raw, 1, 0);
    curves_ = box("曲线图表", defaults.curves, 1, 1);
    analysis_ = box("承载力分析", defaults.analysis, 2, 0);
    raw_->setEnabled(raw_record_selectable);
    layout->addWidget(group);
    layout->addWidget(make_ok_cancel(this));
    fix_dialog_size(this);
}

WordReportOptions CToWordOpt::options() const {
    return {summary_->isChecked(), detail_->isChecked(), raw_->isEnabled() && raw_->isChecked(),
            curves_->isChecked(), analysis_->isChecked()};
}

}  // namespace kvd
