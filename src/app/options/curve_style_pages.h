#pragma once
// The three curve style pages of the options dialog, each editing the
// working copy of the curve style (sizes in tenths of a millimetre):
//   CCurveSetup  "曲线样式"    loading and unloading curves, sample points
//   CCoordPage   "标题和坐标"  title, tick labels, axes
//   CMarkPage    "标记和背景"  mark texts and lines, background
// Controls are named after their identifiers ("id1089") for the tests.

#include "app/options/option_page.h"

class QButtonGroup;

namespace kvd {

class CCurveSetup : public OptionPageWidget {
    Q_OBJECT

public:
    CCurveSetup(OptionSession& session, QWidget* parent = nullptr);
    void load() override;

private:
    QButtonGroup* filled_ = nullptr;  // 1056 "实心" (1), 1057 "空心" (0)
};

class CCoordPage : public OptionPageWidget {
    Q_OBJECT

public:
    CCoordPage(OptionSession& session, QWidget* parent = nullptr);
};

class CMarkPage : public OptionPageWidget {
    Q_OBJECT

public:
    CMarkPage(OptionSession& session, QWidget* parent = nullptr);
};

}  // namespace kvd
