#pragma once
// CPrintPreview: "打印预览", the report's pages on screen as they will
// print. A modal window over the main window with a toolbar
//
//   打印(&P)... | 首页 上一页(&V) 下一页(&N) 末页 | 第 [n] 页 共 N 页 | 两页(&T) | 放大(&I) 缩小(&O) | 关闭(&C)
//
// over the page area (PreviewPages), which renders only the pages in view.
// Page Up / Page Down, Home / End and the mouse wheel (when the pages fit
// the window) turn the pages. "打印(&P)..." closes the preview and asks the
// caller to print (print_requested()), as the print command does.

#include <QDialog>

#include "output/print/print_job.h"

class QAction;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace kvd {

class PreviewPages;

class CPrintPreview : public QDialog {
    Q_OBJECT

public:
    CPrintPreview(PrintPages& job, const QString& document_name, QWidget* parent = nullptr);

    PreviewPages& pages() const { return *pages_; }
    bool print_requested() const { return print_requested_; }

    // The toolbar commands, for the keyboard and the tests.
    void next_page();
    void previous_page();
    void first_page();
    void last_page();
    void toggle_two_pages();
    void zoom_in();
    void zoom_out();
    void request_print();

    QAction* print_action() const { return print_; }
    QAction* next_action() const { return next_; }
    QAction* previous_action() const { return previous_; }
    QAction* two_pages_action() const { return two_pages_; }
    QAction* zoom_in_action() const { return zoom_in_; }
    QAction* zoom_out_action() const { return zoom_out_; }
    QSpinBox* page_box() const { return page_box_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh_states();
    void fit_to_view();

    PrintPages& job_;
    PreviewPages* pages_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QAction* print_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
    QAction* two_pages_ = nullptr;
    QAction* zoom_in_ = nullptr;
    QAction* zoom_out_ = nullptr;
    QAction* close_ = nullptr;
    QSpinBox* page_box_ = nullptr;
    QLabel* total_label_ = nullptr;
    int zoom_step_ = -1;  // -1: fit; else the index of PreviewPages::kZoomFactors
    bool print_requested_ = false;
};

// "打印预览(&V)": counts the job (nothing to print: a beep and the message),
// shows the preview and prints when it asks to. True when the preview was
// shown.
bool preview_report(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables,
                    QWidget* parent);

}  // namespace kvd
