#pragma once
// The four page-setup pages of the options dialog, on the working copy of
// the page setup (lengths typed in whole millimetres, kept in tenths):
//   CPaperPage        "纸张"      paper list, width and height, orientation
//   CMarginPage       "页边距"    four margins and the table row height
//   CPageNoPage       "页码"      numbering mode, format, position, numbers
//   CHeaderFooterPage "页眉页脚"  header and footer switches and texts
// Typed numbers are stored when their field is left (or on Enter) and only
// when the rules take them; a spin step stores at once when the page's
// values are all good. Lists, radios and check boxes store at once.

#include <array>

#include "app/options/option_page.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

namespace kvd {

class SpinField;

class CPaperPage : public OptionPageWidget {
    Q_OBJECT

public:
    CPaperPage(OptionSession& session, QWidget* parent = nullptr);
    void load() override;
    bool finish_edits() override;

private:
    void choose(int index);
    void turn(bool landscape);
    void show_size();

    QComboBox* papers_ = nullptr;          // 1133
    SpinField* width_ = nullptr;           // 1134
    SpinField* height_ = nullptr;          // 1135
    QButtonGroup* orientation_ = nullptr;  // 1056 "纵向" (0), 1057 "横向" (1)
    QLabel* picture_ = nullptr;            // 1136 portrait, 1137 landscape
};

class CMarginPage : public OptionPageWidget {
    Q_OBJECT

public:
    CMarginPage(OptionSession& session, QWidget* parent = nullptr);
    void load() override;
    bool finish_edits() override;

private:
    // Stores the five values when the rules take them; with `tell` a
    // refused value is explained and gets the focus.
    bool commit(bool tell);

    std::array<SpinField*, 5> fields_{};  // top 1140, bottom 1141, left 1142, right 1143, row 1144
};

class CPageNoPage : public OptionPageWidget {
    Q_OBJECT

public:
    CPageNoPage(OptionSession& session, QWidget* parent = nullptr);
    void load() override;
    bool finish_edits() override;

private:
    bool commit(SpinField* field, bool tell);
    void sync_total();

    QButtonGroup* mode_ = nullptr;   // 1056 ... 1059: modes 0 ... 3
    QComboBox* format_ = nullptr;    // 1146
    QComboBox* position_ = nullptr;  // 1148
    SpinField* first_ = nullptr;     // 1147
    SpinField* total_ = nullptr;     // 1149
};

class CHeaderFooterPage : public OptionPageWidget {
    Q_OBJECT

public:
    CHeaderFooterPage(OptionSession& session, QWidget* parent = nullptr);
    void load() override;

private:
    void sync_enabled();

    QCheckBox* header_on_ = nullptr;  // 1173
    QCheckBox* footer_on_ = nullptr;  // 1174
    QLineEdit* header_ = nullptr;     // 1171
    QLineEdit* footer_ = nullptr;     // 1172
};

}  // namespace kvd
