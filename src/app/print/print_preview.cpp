#include "app/print/print_preview.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <iterator>

#include "app/print/preview_pages.h"
#include "app/print/report_printer.h"

namespace kvd {
namespace {

constexpr int kZoomCount = static_cast<int>(std::size(PreviewPages::kZoomFactors));

}  // namespace

CPrintPreview::CPrintPreview(PrintPages& job, const QString& document_name, QWidget* parent)
    : QDialog(parent), job_(job) {
    setObjectName(QStringLiteral("print_preview"));
    setWindowTitle(document_name + QStringLiteral(" - 打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* text, void (CPrintPreview::*slot)()) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    print_ = add("打印(&P)...", &CPrintPreview::request_print);
    bar->addSeparator();
    first_ = add("首页", &CPrintPreview::first_page);
    previous_ = add("上一页(&V)", &CPrintPreview::previous_page);
    next_ = add("下一页(&N)", &CPrintPreview::next_page);
    last_ = add("末页", &CPrintPreview::last_page);
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral(" 第 "), bar));
    page_box_ = new QSpinBox(bar);
    page_box_->setRange(1, std::max(1, job.total()));
    page_box_->setToolTip(QStringLiteral("转到第几页"));
    bar->addWidget(page_box_);
    total_label_ = new QLabel(QStringLiteral(" 页  共 %1 页 ").arg(job.total()), bar);
    bar->addWidget(total_label_);
    bar->addSeparator();
    two_pages_ = add("两页(&T)", &CPrintPreview::toggle_two_pages);
    bar->addSeparator();
    zoom_in_ = add("放大(&I)", &CPrintPreview::zoom_in);
    zoom_out_ = add("缩小(&O)", &CPrintPreview::zoom_out);
    bar->addSeparator();
    close_ = bar->addAction(QStringLiteral("关闭(&C)"));
    connect(close_, &QAction::triggered, this, &QDialog::reject);

    pages_ = new PreviewPages(job, this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("preview_area"));
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidget(pages_);
    scroll_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_, 1);

    connect(page_box_, &QSpinBox::valueChanged, this, [this](int page) {
        pages_->set_first_page(page);
        refresh_states();
    });
    connect(pages_, &PreviewPages::pages_changed, this, &CPrintPreview::refresh_states);

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    resize(available.width() * 4 / 5, available.height() * 9 / 10);
    refresh_states();
}

void CPrintPreview::refresh_states() {
    const int first = pages_->first_page();
    const int last = pages_->last_page();
    first_->setEnabled(first > 1);
    previous_->setEnabled(first > 1);
    next_->setEnabled(last < job_.total());
    last_->setEnabled(last < job_.total());
    two_pages_->setText(pages_->two_pages() ? QStringLiteral("一页(&O)")
                                            : QStringLiteral("两页(&T)"));
    two_pages_->setEnabled(job_.total() > 1 && zoom_step_ < 0);
    zoom_in_->setEnabled(zoom_step_ + 1 < kZoomCount);
    zoom_out_->setEnabled(zoom_step_ >= 0);
    const QSignalBlocker quiet(page_box_);
    page_box_->setValue(first);
}

void CPrintPreview::fit_to_view() { pages_->set_fit_area(scroll_->viewport()->size()); }

void CPrintPreview::next_page() { pages_->set_first_page(pages_->first_page() + 1); }
void CPrintPreview::previous_page() { pages_->set_first_page(pages_->first_page() - 1); }
void CPrintPreview::first_page() { pages_->set_first_page(1); }
void CPrintPreview::last_page() { pages_->set_first_page(job_.total()); }

void CPrintPreview::toggle_two_pages() {
    pages_->set_two_pages(!pages_->two_pages());
    refresh_states();
}

void CPrintPreview::zoom_in() {
    if (zoom_step_ + 1 >= kZoomCount) return;
    ++zoom_step_;
    pages_->set_zoom(PreviewPages::kZoomFactors[zoom_step_]);
    refresh_states();
}

void CPrintPreview::zoom_out() {
    if (zoom_step_ < 0) return;
    --zoom_step_;
    pages_->set_zoom(zoom_step_ < 0 ? 0 : PreviewPages::kZoomFactors[zoom_step_]);
    refresh_states();
}

void CPrintPreview::request_print() {
    print_requested_ = true;
    accept();
}

void CPrintPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageDown:
            next_page();
            return;
        case Qt::Key_PageUp:
            previous_page();
            return;
        case Qt::Key_Home:
            first_page();
            return;
        case Qt::Key_End:
            last_page();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CPrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fit_to_view();
}

bool CPrintPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport()) {
        if (event->type() == QEvent::Resize) fit_to_view();
        // While the pages fit, the wheel turns them; zoomed, it scrolls.
        if (event->type() == QEvent::Wheel && pages_->zoom() == 0) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (delta < 0) next_page();
            if (delta > 0) previous_page();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool preview_report(CLbxDoc& doc, const FontMetrics& metrics, PrintTables tables,
                    QWidget* parent) {
    bool print = false;
    {
        PrintJob job(doc, metrics, tables);
        if (!has_pages_to_print(job, doc.ui())) return false;
        CPrintPreview preview(job, QString::fromStdString(doc.display_name()), parent);
        preview.exec();
        print = preview.print_requested();
    }
    if (print) print_report(doc, metrics, tables, parent);
    return true;
}

}  // namespace kvd
