#pragma once
// The two areas of the open dialog's preview. CFileInfoWnd shows the
// summary of the selected file, one line per row; CFilePreviewWnd its small
// load-displacement curve, or a text for test files, or a cross when there
// is nothing to draw (preview off, a file it cannot read). Both only show
// what a FilePreview (record/file_preview.h) holds.

#include <QWidget>

#include "record/file_preview.h"

namespace kvd {

class CFileInfoWnd : public QWidget {
    Q_OBJECT

public:
    explicit CFileInfoWnd(QWidget* parent = nullptr);

    // Lines separated by "\n"; empty for nothing.
    void set_text(const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

class CFilePreviewWnd : public QWidget {
    Q_OBJECT

public:
    explicit CFilePreviewWnd(QWidget* parent = nullptr);

    // What to draw: the preview of the selected file, or a cross when
    // enabled is false.
    void set_preview(const FilePreview& preview, bool enabled);
    PreviewPicture picture() const;
    QString text() const;
    // The curve as it is drawn in the area's present size.
    PreviewCurveGeometry geometry() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FilePreview preview_;
    bool enabled_ = false;
};

}  // namespace kvd
