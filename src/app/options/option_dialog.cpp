#include "app/options/option_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/options/curve_style_pages.h"
#include "app/options/general_info_dialog.h"
#include "app/options/option_dialog_parts.h"
#include "app/options/page_setup_pages.h"
#include "app/options/print_option_pages.h"

namespace kvd {
namespace {

constexpr int kTreeWidth = 150;
constexpr int kBandGap = 5;  // between the caption band and the page area

// The page of a branch: it only points at the items below it.
class ChooseChildPage : public OptionPageWidget {
public:
    ChooseChildPage(OptionSession& session, QWidget* parent) : OptionPageWidget(session, parent) {
        auto* label = new QLabel(QString::fromUtf8(kChooseChildText), this);
        label->setAlignment(Qt::AlignCenter);
        column()->addStretch();
        column()->addWidget(label);
        column()->addStretch();
    }
};

std::size_t index_of(OptionPage page) {
    return static_cast<std::size_t>(page);
}

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

COptionDialog::COptionDialog(CLbxDoc& doc, SettingsStore& store, int start,
                             const DataFolders& defaults, StyleColour button_face, QWidget* parent)
    : QDialog(parent), session_(std::make_unique<OptionSession>(doc, store, button_face)) {
    setObjectName(QStringLiteral("option_dialog"));
    setWindowTitle(QStringLiteral("选项"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("id1069"));
    tree_->setHeaderHidden(true);
    tree_->setFixedWidth(kTreeWidth);
    tree_->setRootIsDecorated(true);
    caption_ = new CaptionBand(this);
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("id1072"));
    page_preview_ = new PagePreviewWidget(session_->page_setup(), session_->print_content(), this);
    page_preview_->setObjectName(QStringLiteral("id1073"));

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    preview_ = new QPushButton(QStringLiteral("预览"), this);
    preview_->setObjectName(QStringLiteral("id1070"));
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    ok_->setDefault(true);
    preview_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    auto* etched = new QFrame(this);
    etched->setFrameShape(QFrame::HLine);
    etched->setFrameShadow(QFrame::Sunken);
    etched->setFixedWidth(kTreeWidth);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(pages_, 1);
    body->addWidget(page_preview_);
    auto* right = new QVBoxLayout;
    right->setSpacing(kBandGap);
    right->addWidget(caption_);
    right->addLayout(body, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(preview_);
    buttons->addWidget(cancel_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(tree_, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(etched, 1, 0);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    build_tree();
    add_pages(defaults);
    reload_pages();

    connect(tree_, &QTreeWidget::currentItemChanged, this, &COptionDialog::item_changed);
    connect(ok_, &QPushButton::clicked, this, &COptionDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &COptionDialog::reject);
    connect(preview_, &QPushButton::clicked, this, [this] { session_->preview(current_item()); });

    // The size that holds the largest page beside the preview, kept.
    page_preview_->setVisible(true);
    setFixedSize(sizeHint());
    const int branch = start_tree_item(start);
    if (branch >= 0) items_[static_cast<std::size_t>(branch)]->setExpanded(true);
    select_item(branch >= 0 ? branch : 0);
}

COptionDialog::~COptionDialog() {
    // The pages and the preview point into the session, which is gone before
    // QDialog's own destructor hides the window. Hide now, so that a field
    // with the focus finishes its edit while the session is there, and let
    // the pages go before it does.
    hide();
    delete pages_;
    delete page_preview_;
}

void COptionDialog::build_tree() {
    for (std::size_t i = 0; i < kOptionTree.size(); ++i) {
        const OptionTreeItem& entry = kOptionTree[i];
        QTreeWidgetItem* item =
            entry.parent < 0 ? new QTreeWidgetItem(tree_)
                             : new QTreeWidgetItem(items_[static_cast<std::size_t>(entry.parent)]);
        item->setText(0, text_of(entry.text));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        items_[i] = item;
    }
}

void COptionDialog::add_pages(const DataFolders& defaults) {
    OptionSession& s = *session_;
    auto* general = new CGeneralInfoDialog(s, defaults, pages_);
    connect(general, &CGeneralInfoDialog::defaults_restored, this, &COptionDialog::reload_pages);
    page_widgets_[index_of(OptionPage::kGeneral)] = general;
    page_widgets_[index_of(OptionPage::kChooseChild)] = new ChooseChildPage(s, pages_);
    page_widgets_[index_of(OptionPage::kCurveSetup)] = new CCurveSetup(s, pages_);
    page_widgets_[index_of(OptionPage::kCoord)] = new CCoordPage(s, pages_);
    page_widgets_[index_of(OptionPage::kMark)] = new CMarkPage(s, pages_);
    page_widgets_[index_of(OptionPage::kPaper)] = new CPaperPage(s, pages_);
    page_widgets_[index_of(OptionPage::kMargin)] = new CMarginPage(s, pages_);
    page_widgets_[index_of(OptionPage::kPageNumber)] = new CPageNoPage(s, pages_);
    page_widgets_[index_of(OptionPage::kHeaderFooter)] = new CHeaderFooterPage(s, pages_);
    page_widgets_[index_of(OptionPage::kImagePrint)] = new CImagePrintOption(s, pages_);
    page_widgets_[index_of(OptionPage::kTablePrint)] = new CTablePrintOption(s, pages_);
    for (OptionPageWidget* page : page_widgets_) {
        pages_->addWidget(page);
        connect(page, &OptionPageWidget::changed, page_preview_, qOverload<>(&QWidget::update));
    }
}

void COptionDialog::reload_pages() {
    for (OptionPageWidget* page : page_widgets_) page->load();
    page_preview_->update();
}

int COptionDialog::current_item() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

OptionPageWidget* COptionDialog::page(OptionPage which) const {
    return page_widgets_[index_of(which)];
}

OptionPageWidget* COptionDialog::current_page() const {
    return static_cast<OptionPageWidget*>(pages_->currentWidget());
}

void COptionDialog::select_item(int item) {
    if (item < 0 || item >= static_cast<int>(items_.size())) return;
    tree_->setCurrentItem(items_[static_cast<std::size_t>(item)]);
    // The first selection does not change the current item when it is
    // already current: show it all the same.
    if (current_item() == item) show_item(item);
}

void COptionDialog::item_changed(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (!current) return;
    if (previous && current != previous && !current_page()->finish_edits()) {
        // The page keeps the focus on its refused value; the tree stays.
        const QSignalBlocker block(tree_);
        tree_->setCurrentItem(previous);
        return;
    }
    show_item(current->data(0, Qt::UserRole).toInt());
}

void COptionDialog::show_item(int item) {
    const OptionTreeItem& entry = kOptionTree[static_cast<std::size_t>(item)];
    pages_->setCurrentWidget(page(entry.page));
    caption_->set_text(text_of(entry.text));
    page_preview_->setVisible(shows_page_preview(entry.page));
    page_preview_->update();
    preview_->setEnabled(preview_enabled(item));
}

void COptionDialog::accept() {
    if (done_ || !current_page()->finish_edits()) return;
    done_ = true;
    session_->accept();
    QDialog::accept();
}

void COptionDialog::reject() {
    if (done_) return;
    done_ = true;
    session_->cancel();
    QDialog::reject();
}

}  // namespace kvd
