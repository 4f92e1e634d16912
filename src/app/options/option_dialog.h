#pragma once
// COptionDialog "选项": every option of the program in one dialog. A tree
// (1069) on the left chooses the page shown in the page area (1072) on the
// right, under a caption band with the item's text; the page-setup and
// print-option pages have the page preview (1073) beside them.
//
//   +-----------+----------------------------------------------+
//   | 常规      | ▒▒ 曲线样式 ▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒▒ |
//   | 图形样式  |  page                     | [page preview]   |
//   |  曲线样式 |                           |                  |
//   |  ...      |                           |                  |
//   |-----------|                           |                  |
//   |                           [确定] [预览] [取消]            |
//   +----------------------------------------------------------+
//
// The pages edit the working copies of an OptionSession; 预览 (enabled on
// the curve style pages only) shows the working curve style in the curves,
// 确定 gives the document everything, 取消 (and Escape, and closing the
// window) puts the curve style of the opening back. A page holding a
// refused value keeps the focus: neither another page nor 确定 is taken
// until it is put right.

#include <QDialog>
#include <array>
#include <memory>

#include "app/dialogs/data_folders.h"
#include "doc/option_session.h"

class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace kvd {

class CaptionBand;
class OptionPageWidget;
class PagePreviewWidget;

class COptionDialog : public QDialog {
    Q_OBJECT

public:
    // `start`: kStartCurveStyle, kStartPageSetup, kStartPrintOptions, or
    // anything else for the first page. `button_face` is the curve
    // background "恢复默认值" gives.
    COptionDialog(CLbxDoc& doc, SettingsStore& store, int start, const DataFolders& defaults,
                  StyleColour button_face, QWidget* parent = nullptr);
    ~COptionDialog() override;

    OptionSession& session() { return *session_; }
    QTreeWidget* tree() const { return tree_; }
    QPushButton* ok_button() const { return ok_; }
    QPushButton* preview_button() const { return preview_; }
    QPushButton* cancel_button() const { return cancel_; }
    CaptionBand* caption() const { return caption_; }
    PagePreviewWidget* page_preview() const { return page_preview_; }
    // The tree item selected (an index into kOptionTree); -1 for none.
    int current_item() const;
    // Selects an item as a click does (the page shown must let go first).
    void select_item(int item);
    OptionPageWidget* page(OptionPage page) const;
    OptionPageWidget* current_page() const;

    void accept() override;
    void reject() override;

private:
    void build_tree();
    void add_pages(const DataFolders& defaults);
    void item_changed(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void show_item(int item);
    void reload_pages();

    std::unique_ptr<OptionSession> session_;
    QTreeWidget* tree_ = nullptr;
    std::array<QTreeWidgetItem*, kOptionTree.size()> items_{};
    CaptionBand* caption_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<OptionPageWidget*, 11> page_widgets_{};  // by OptionPage
    PagePreviewWidget* page_preview_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool done_ = false;
};

}  // namespace kvd
