#pragma once
// The two print-option pages of the options dialog, on the working copy of
// the print content; every change is stored at once:
//   CImagePrintOption "曲线部分"  the curves, their aspect and layout (a
//                                 layout checks and locks the curves it
//                                 prints together), the simple summary table
//   CTablePrintOption "表格部分"  the tables and the bearing-capacity
//                                 interpretation after the summary, the
//                                 report title (a composite foundation title
//                                 prints the 0-minute rows) and the sign-off
//                                 line

#include <array>

#include "app/options/option_page.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace kvd {

class CImagePrintOption : public OptionPageWidget {
    Q_OBJECT

public:
    CImagePrintOption(OptionSession& session, QWidget* parent = nullptr);
    void load() override;

private:
    void sync_locks();

    QCheckBox* summary_ = nullptr;        // 1141
    std::array<QCheckBox*, 3> curves_{};  // 1138 Q-s, 1139 s-lgt, 1140 s-lgQ
    QButtonGroup* aspect_ = nullptr;      // 1056 "3 : 2" (0), 1057 "1 : 1" (1)
    QButtonGroup* layout_ = nullptr;      // 1058, 1059, 1152, 1153: layouts 0 ... 3
};

class CTablePrintOption : public OptionPageWidget {
    Q_OBJECT

public:
    CTablePrintOption(OptionSession& session, QWidget* parent = nullptr);
    void load() override;

private:
    // 1132, 1133, 1134, 1217 (0-minute rows), 1154, 1135, 1136, 1250 (承载力分析)
    std::array<QCheckBox*, 8> tables_{};
    QComboBox* title_ = nullptr;        // 1159
    QButtonGroup* sign_off_ = nullptr;  // 1056 ... 1058: modes 0 ... 2
};

}  // namespace kvd
