#pragma once
// CToWordOpt: the dialog "输出到word选项" (207) of the Word export. Its group
// "输出内容" chooses the sections: "汇总表" (1209, on), "详测表" (1163, off),
// "原始记录表" (1164, off; enabled only when the test has more than one raw
// record), "曲线图表" (1165, on) and "承载力分析" (off: the
// interpretation after the summary).

#include <QDialog>

#include "output/word/word_office.h"

class QCheckBox;

namespace kvd {

class CToWordOpt : public QDialog {
    Q_OBJECT

public:
    CToWordOpt(bool raw_record_selectable, QWidget* parent = nullptr);

    // The sections as checked (raw record off while it cannot be chosen).
    WordReportOptions options() const;

    QCheckBox* summary_box() const { return summary_; }
    QCheckBox* detail_box() const { return detail_; }
    QCheckBox* raw_box() const { return raw_; }
    QCheckBox* curves_box() const { return curves_; }
    QCheckBox* analysis_box() const { return analysis_; }

private:
    QCheckBox* summary_ = nullptr;
    QCheckBox* detail_ = nullptr;
    QCheckBox* raw_ = nullptr;
    QCheckBox* curves_ = nullptr;
    QCheckBox* analysis_ = nullptr;
};

}  // namespace kvd
