#include "app/tools/preview_file_dlg.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/dialog_support.h"
#include "app/tools/file_preview_wnd.h"

namespace kvd {
namespace {

FilePreview preview_of(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return FilePreview{};
    return preview_file(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

}  // namespace

CPreviewFileDlg::CPreviewFileDlg(QWidget* parent, const QString& folder)
    : QFileDialog(parent, QStringLiteral("打开"), folder, QString::fromUtf8(kOpenFilter)) {
    setObjectName(QStringLiteral("preview_file_dialog"));
    // The preview lives in the dialog's own layout, so the widget dialog is used.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setOption(QFileDialog::ReadOnly);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    set_file_dialog_texts(this);

    auto* area = new QWidget(this);
    auto* rows = new QVBoxLayout(area);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* windows = new QHBoxLayout;
    info_ = new CFileInfoWnd(area);
    curve_ = new CFilePreviewWnd(area);
    windows->addWidget(info_);
    windows->addWidget(curve_, 1);  // stretches to the right edge of the list
    rows->addLayout(windows);
    preview_box_ = new QCheckBox(QStringLiteral(" 预览"), area);
    preview_box_->setChecked(true);
    rows->addWidget(preview_box_, 0, Qt::AlignLeft);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(area, grid->rowCount(), 0, 1, grid->columnCount());
    }

    connect(this, &QFileDialog::currentChanged, this, &CPreviewFileDlg::selection_changed);
    // A name typed or put into the name field (selectFile) is a selection too.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            const QString path = directory().absoluteFilePath(text);
            if (!text.isEmpty() && QFileInfo(path).isFile()) selection_changed(path);
        });
    }
    connect(preview_box_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            const QStringList selected = selectedFiles();
            if (!selected.isEmpty()) preview_file_at(selected.constFirst());
        }
        refresh_windows();
    });
    refresh_windows();
}

void CPreviewFileDlg::selection_changed(const QString& path) {
    if (preview_box_->isChecked() && path != previewed_path_) preview_file_at(path);
}

void CPreviewFileDlg::preview_file_at(const QString& path) {
    previewed_path_ = path;
    preview_ = preview_of(path);
    refresh_windows();
}

void CPreviewFileDlg::refresh_windows() {
    const bool on = preview_box_->isChecked();
    info_->set_text(on ? QString::fromStdString(preview_info_text(preview_)) : QString());
    curve_->set_preview(preview_, on);
}

void CPreviewFileDlg::accept() {
    // Classified afresh, preview or not: the file may have changed meanwhile,
    // and a file that cannot be read must not keep another one's class.
    const QStringList selected = selectedFiles();
    chosen_ = selected.size() == 1 ? preview_of(selected.constFirst()) : FilePreview{};
    QFileDialog::accept();
}

}  // namespace kvd
