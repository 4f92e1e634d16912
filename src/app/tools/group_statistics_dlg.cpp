#include "app/tools/group_statistics_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/dialog_support.h"
#include "app/tools/preview_file_dlg.h"
#include "doc/user_interface.h"

namespace kvd {
namespace {

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList choose_with_dialog(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("添加文件"), folder, QString::fromUtf8(kOpenFilter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    set_file_dialog_texts(&dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

// The key a file is found again by: the same file by another path is the same file.
QString file_key(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QTableWidget* make_table(QWidget* parent, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(true);
    table->setTextElideMode(Qt::ElideNone);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setHighlightSections(false);
    // Wrapped texts take as many lines as the columns' widths need, also
    // once the window is laid out or resized.
    QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized, table,
                     [table] { table->resizeRowsToContents(); });
    return table;
}

QTableWidgetItem* item_of(const std::string& text) {
    auto* item = new QTableWidgetItem(text_of(text));
    item->setToolTip(text_of(text));
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

}  // namespace

CGroupStatisticsDlg::CGroupStatisticsDlg(UserInterface& ui, const QString& folder, QWidget* parent)
    : QDialog(parent), ui_(ui), folder_(folder) {
    setObjectName(QStringLiteral("group_statistics_dialog"));
    setWindowTitle(QStringLiteral("多桩统计"));
    choose_files_ = [this](const QString& start) { return choose_with_dialog(this, start); };

    add_ = new QPushButton(QStringLiteral("添加文件..."), this);
    remove_ = new QPushButton(QStringLiteral("移除"), this);
    clear_ = new QPushButton(QStringLiteral("清空"), this);
    copy_ = new QPushButton(QStringLiteral("复制"), this);
    copy_->setToolTip(QStringLiteral("将统计表以制表符分隔的文字复制到剪贴板"));
    preview_ = new QPushButton(QStringLiteral("打印预览..."), this);
    word_ = new QPushButton(QStringLiteral("导出Word..."), this);
    small_cap_ = new QCheckBox(QString::fromUtf8(kSmallCapPiles), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addWidget(clear_);
    buttons->addSpacing(16);
    buttons->addWidget(small_cap_);
    buttons->addStretch(1);
    buttons->addWidget(copy_);
    buttons->addWidget(preview_);
    buttons->addWidget(word_);

    QStringList headers;
    for (const char* header : kGroupTableHeader) headers << QString::fromUtf8(header);
    list_ = make_table(this, headers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QHeaderView* header = list_->horizontalHeader();
    for (int c = 0; c < kGroupTableColumns; ++c) {
        header->setSectionResizeMode(c,
                                     c == 4 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    }

    detail_ = new QLabel(this);
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detail_->setMinimumHeight(fontMetrics().height() * 2 + 4);
    detail_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    summary_ = make_table(this, {QStringLiteral("项目"), QStringLiteral("结果")});
    summary_->setSelectionMode(QAbstractItemView::NoSelection);
    summary_->setFocusPolicy(Qt::NoFocus);
    summary_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    summary_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(list_, 3);
    layout->addWidget(detail_);
    layout->addWidget(summary_, 4);
    layout->addWidget(close);

    connect(add_, &QPushButton::clicked, this, &CGroupStatisticsDlg::choose_and_add);
    connect(remove_, &QPushButton::clicked, this, &CGroupStatisticsDlg::remove_selected);
    connect(clear_, &QPushButton::clicked, this, &CGroupStatisticsDlg::clear_files);
    connect(copy_, &QPushButton::clicked, this, &CGroupStatisticsDlg::copy_table);
    connect(preview_, &QPushButton::clicked, this, &CGroupStatisticsDlg::preview_requested);
    connect(word_, &QPushButton::clicked, this, &CGroupStatisticsDlg::word_requested);
    connect(small_cap_, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        remove_->setEnabled(!list_->selectedItems().isEmpty());
        show_detail();
    });
    resize(980, 660);
    refresh();
}

CGroupStatisticsDlg::~CGroupStatisticsDlg() {
    // The tables are deleted after this object's members: nothing they say
    // while they go may reach the handlers above.
    for (QTableWidget* table : {list_, summary_}) {
        table->blockSignals(true);
        table->horizontalHeader()->blockSignals(true);
    }
}

void CGroupStatisticsDlg::choose_and_add() {
    const QStringList paths = choose_files_(folder_);
    if (paths.isEmpty()) return;
    folder_ = QFileInfo(paths.constFirst()).absolutePath();
    add_files(paths);
}

void CGroupStatisticsDlg::add_files(const QStringList& paths) {
    QStringList refused;
    for (const QString& path : paths) {
        const QString key = file_key(path);
        const QString name = QFileInfo(path).fileName();
        if (keys_.contains(key)) {
            refused << QStringLiteral("%1 已在列表中，未重复添加。").arg(name);
            continue;
        }
        const std::string local = QFile::encodeName(path).toStdString();
        GroupFile file = read_group_file(local, name.toStdString(), AnalysisOptions{});
        if (const int same = same_test_index(files_, file); same >= 0) {
            refused << QStringLiteral("%1 与已添加的 %2 是同一试验（%3）的数据，未重复添加。")
                           .arg(name, text_of(file_names_[static_cast<std::size_t>(same)]),
                                text_of(file.value.member.name));
            continue;
        }
        files_.push_back(std::move(file));
        file_names_.push_back(name.toStdString());
        keys_ << key;
    }
    refresh();
    if (!refused.isEmpty()) ui_.show_warning(refused.join(QLatin1Char('\n')).toStdString());
}

void CGroupStatisticsDlg::remove_selected() {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows) {
        const auto at = static_cast<std::size_t>(row);
        if (at >= files_.size()) continue;
        files_.erase(files_.begin() + row);
        file_names_.erase(file_names_.begin() + row);
        keys_.removeAt(row);
    }
    refresh();
}

void CGroupStatisticsDlg::clear_files() {
    files_.clear();
    file_names_.clear();
    keys_.clear();
    refresh();
}

QString CGroupStatisticsDlg::table_text() const {
    return text_of(group_table_text(table_));
}

void CGroupStatisticsDlg::copy_table() {
    QApplication::clipboard()->setText(table_text());
}

void CGroupStatisticsDlg::refresh() {
    // The cap option means a minimum for piles and for composite foundations
    // on small footings; plates and rock have no such rule.
    TestFamily family = TestFamily::kPileCompression;
    for (const GroupFile& file : files_) {
        if (file.counted()) {
            family = file.analysis.family;
            break;
        }
    }
    const bool composite = family == TestFamily::kComposite;
    small_cap_->setText(QString::fromUtf8(composite ? kSmallCapComposite : kSmallCapPiles));
    small_cap_->setEnabled(composite || is_pile_family(family));

    GroupOptions options;
    options.small_cap = small_cap_->isEnabled() && small_cap_->isChecked();
    group_ = group_of_files(files_, options);
    table_ = make_group_table(files_, file_names_, group_);
    fill_rows();
    fill_summary();
    remove_->setEnabled(!list_->selectedItems().isEmpty());
    clear_->setEnabled(!files_.empty());
    copy_->setEnabled(!files_.empty());
    preview_->setEnabled(!files_.empty());
    word_->setEnabled(!files_.empty());
    show_detail();
}

void CGroupStatisticsDlg::fill_rows() {
    list_->clearContents();
    list_->setRowCount(static_cast<int>(table_.rows.size()));
    for (std::size_t r = 0; r < table_.rows.size(); ++r) {
        for (int c = 0; c < kGroupTableColumns; ++c) {
            QTableWidgetItem* item = item_of(table_.rows[r][static_cast<std::size_t>(c)]);
            if (c == 2) item->setToolTip(text_of(files_[r].path));
            if (c == 0 || c == 5) item->setTextAlignment(Qt::AlignCenter);
            list_->setItem(static_cast<int>(r), c, item);
        }
    }
    list_->resizeRowsToContents();
}

void CGroupStatisticsDlg::fill_summary() {
    summary_->clearContents();
    summary_->setRowCount(static_cast<int>(table_.summary.size()));
    for (std::size_t r = 0; r < table_.summary.size(); ++r) {
        summary_->setItem(static_cast<int>(r), 0, item_of(table_.summary[r].label));
        summary_->setItem(static_cast<int>(r), 1, item_of(table_.summary[r].text));
    }
    summary_->resizeRowsToContents();
}

void CGroupStatisticsDlg::show_detail() {
    const QList<QTableWidgetItem*> selected = list_->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.constFirst()->row();
    if (row < 0 || static_cast<std::size_t>(row) >= files_.size()) {
        detail_->setText(files_.empty()
                             ? QStringLiteral("用“添加文件...”选择同一场地、同一条件下的试验文件。")
                             : QStringLiteral("选中一行可看该试验取值的说明。"));
        return;
    }
    const GroupFile& file = files_[static_cast<std::size_t>(row)];
    if (!file.counted()) {
        detail_->setText(text_of(file_names_[static_cast<std::size_t>(row)] + "：" + file.refusal));
        return;
    }
    // A choice's own reason is only the engineer's note.
    const std::string& reason = file.value.member.value.reason;
    const bool plain_choice = file.value.basis == MemberBasis::kChoice && reason == "工程师选定";
    detail_->setText(text_of(file.value.member.name + "：" + file.value.basis_detail +
                             (plain_choice ? "" : "。" + reason)));
}

}  // namespace kvd
