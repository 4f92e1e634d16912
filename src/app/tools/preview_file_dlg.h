#pragma once
// CPreviewFileDlg: the open dialog of File › Open ("打开"). Under the file
// list it shows the selected file's summary (CFileInfoWnd) and small curve
// (CFilePreviewWnd) while the check box " 预览" is on, and it classifies the
// chosen file when the dialog is accepted, preview or not: the open command
// refuses, asks or opens by that class (file_class()). Classifying reads only
// a bounded part of the file (record/file_preview.h), so moving through a
// folder of large or damaged files stays quick.

#include <QFileDialog>

#include "record/file_preview.h"

class QCheckBox;

namespace kvd {

// The program's test and analysis files in its open dialogs. The text in
// front is what the user sees; the last bracket is the pattern list (Qt
// separates patterns with blanks and matches them in any letter case).
inline constexpr char kOpenFilter[] =
    "KV静载分析文件，测试文件 (*.KVD;*.PTX;*.KVD2;*.PTX2) (*.KVD *.PTX *.KVD2 *.PTX2)";

class CFileInfoWnd;
class CFilePreviewWnd;

class CPreviewFileDlg : public QFileDialog {
    Q_OBJECT

public:
    CPreviewFileDlg(QWidget* parent, const QString& folder);

    // The class of the file chosen with OK (kUnclassified before, and for a
    // file that could not be read).
    FileClass file_class() const { return chosen_.probe.file_class; }
    // The file last previewed and its preview.
    const QString& previewed_path() const { return previewed_path_; }
    const FilePreview& preview() const { return preview_; }

    QCheckBox* preview_box() const { return preview_box_; }
    CFileInfoWnd* info_window() const { return info_; }
    CFilePreviewWnd* curve_window() const { return curve_; }

    // Previews path now (as a selection in the list does while the preview is on).
    void preview_file_at(const QString& path);

public slots:
    void accept() override;

private:
    void selection_changed(const QString& path);
    void refresh_windows();

    QCheckBox* preview_box_ = nullptr;
    CFileInfoWnd* info_ = nullptr;
    CFilePreviewWnd* curve_ = nullptr;
    QString previewed_path_;
    FilePreview preview_;
    FilePreview chosen_;
};

}  // namespace kvd
