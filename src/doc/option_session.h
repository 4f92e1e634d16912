#pragma once
// OptionSession: one opening of the options dialog "选项". The dialog's pages
// edit working copies of the document's curve style, page setup, print
// content, data folders and the extended display switch; the document sees
// them only when the user asks:
//
//   open      saved style = working style = the document's; the rest copied
//   预览       the document's curve style = the working one (curve pages only)
//   确定       the document takes every working copy; the extended display
//             switch follows its check box; the summary table is shown
//   取消       the document's curve style = the saved one (undoing 预览);
//             the rest was never applied
//
// The tree of the dialog is here too, as data: which page each item shows,
// which items 预览 works on and where each start item leads.

#include <array>
#include <string>
#include <string_view>

#include "doc/lbx_doc.h"
#include "doc/settings_store.h"

namespace kvd {

// The pages of the dialog.
enum class OptionPage {
    kGeneral,      // "常规"
    kChooseChild,  // the page of a branch: "请点击子项以选择相应的项目"
    kCurveSetup,
    kCoord,
    kMark,
    kPaper,
    kMargin,
    kPageNumber,
    kHeaderFooter,
    kImagePrint,
    kTablePrint,
};

struct OptionTreeItem {
    std::string_view text;
    int parent = -1;  // index of the branch; -1 at the top
    OptionPage page = OptionPage::kGeneral;
};

inline constexpr int kCurveStyleBranch = 1;
inline constexpr int kPageSetupBranch = 5;
inline constexpr int kPrintOptionsBranch = 10;

inline constexpr std::array<OptionTreeItem, 13> kOptionTree = {{
    {"常规", -1, OptionPage::kGeneral},
    {"图形样式", -1, OptionPage::kChooseChild},
    {"曲线样式", kCurveStyleBranch, OptionPage::kCurveSetup},
    {"标题和坐标", kCurveStyleBranch, OptionPage::kCoord},
    {"标记和背景", kCurveStyleBranch, OptionPage::kMark},
    {"页面设置", -1, OptionPage::kChooseChild},
    {"纸张", kPageSetupBranch, OptionPage::kPaper},
    {"页边距", kPageSetupBranch, OptionPage::kMargin},
    {"页码", kPageSetupBranch, OptionPage::kPageNumber},
    {"页眉页脚", kPageSetupBranch, OptionPage::kHeaderFooter},
    {"打印选项", -1, OptionPage::kChooseChild},
    {"曲线部分", kPrintOptionsBranch, OptionPage::kImagePrint},
    {"表格部分", kPrintOptionsBranch, OptionPage::kTablePrint},
}};

inline constexpr char kChooseChildText[] = "请点击子项以选择相应的项目";

// Start items: what the dialog selects when it opens.
inline constexpr int kStartAsBuilt = 0;       // the tree as built ("选项(&O)")
inline constexpr int kStartCurveStyle = 1;    // "设置曲线样式(&S)"
inline constexpr int kStartPageSetup = 2;     // "页面设置(&G)"
inline constexpr int kStartPrintOptions = 3;  // "打印设置(&R)..."

// The branch a start item expands and selects; -1 for any other value.
int start_tree_item(int start);
// "预览" works on the children of "图形样式" only.
bool preview_enabled(int item);
// The page-setup and print-option pages show the page preview beside them.
bool shows_page_preview(OptionPage page);

// "恢复默认值".
inline constexpr char kRestoreDefaultsQuestion[] = "即将把所有的设置改为默认值，是否继续？";
inline constexpr char kSettingsNotWrittenMessage[] =
    "设置未能写入配置文件，请检查配置文件所在的文件夹是否可写。";

class OptionSession {
public:
    // `store` keeps the settings that a confirmed "恢复默认值" writes;
    // `button_face` is the curve background it restores (the desktop's
    // button-face colour in the program).
    OptionSession(CLbxDoc& doc, SettingsStore& store,
                  StyleColour button_face = kDefaultCurveBackground);

    // Where the pages ask the user.
    UserInterface& ui() { return doc_.ui(); }

    // The working copies the pages edit.
    CurveStyle& style() { return working_.curve_style; }
    PageSetup& page_setup() { return working_.page_setup; }
    PrintContent& print_content() { return working_.print_content; }
    const PrintContent& print_content() const { return working_.print_content; }
    const PageSetup& page_setup() const { return working_.page_setup; }
    // Empty: the program's default folder.
    std::string& test_folder() { return working_.test_folder; }
    std::string& calibration_folder() { return working_.calibration_folder; }
    bool& extended_display() { return extended_display_; }
    const DocumentSettings& working() const { return working_; }
    const CurveStyle& saved_style() const { return saved_style_; }

    // "预览" with a tree item selected: false (nothing done) unless the item
    // is a curve style page.
    bool preview(int item);
    // "确定" and "取消". After either the session is done. accept() is false
    // when restored defaults could not be written to the settings (the user
    // was told; the document has them all the same).
    bool accept();
    void cancel();
    // "恢复默认值": asks first; on yes the working copies become the
    // defaults (the table title's height and spacing kept, both folders the
    // install folder) and the extended display check box is cleared. Like
    // every other change in the dialog they take effect with "确定", which
    // then also writes them to the settings; "取消" undoes them. False when
    // the user said no.
    bool restore_defaults();

private:
    CLbxDoc& doc_;
    SettingsStore& store_;
    StyleColour button_face_;
    CurveStyle saved_style_;
    DocumentSettings working_;
    bool extended_display_ = false;
    bool restored_ = false;
};

}  // namespace kvd
