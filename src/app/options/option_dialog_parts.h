#pragma once
// Two painted parts of the options dialog:
//   CaptionBand        above the page area: the selected item's text in bold
//                      on a band shaded from the button-shadow colour on the
//                      left to the button face on the right
//   PagePreviewWidget  beside the page-setup and print-option pages: the
//                      page as the working page setup and print content
//                      would print it (area 1073)

#include <QWidget>

#include "doc/page_setup.h"

namespace kvd {

class CaptionBand : public QWidget {
    Q_OBJECT

public:
    explicit CaptionBand(QWidget* parent = nullptr);
    void set_text(const QString& text);
    QString text() const { return text_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont caption_font() const;

    QString text_;
};

class PagePreviewWidget : public QWidget {
    Q_OBJECT

public:
    // The copies must outlive the widget; it reads them on every paint.
    PagePreviewWidget(const PageSetup& setup, const PrintContent& content,
                      QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PageSetup& setup_;
    const PrintContent& content_;
};

}  // namespace kvd
