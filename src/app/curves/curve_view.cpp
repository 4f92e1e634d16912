#include "app/curves/curve_view.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <memory>

#include "curves/curve_commands.h"
#include "curves/curve_export.h"
#include "qt/qt_canvas.h"

namespace kvd {

namespace {

constexpr double kUnitsPerInch = 254.0;  // logical units of 0.1 mm
constexpr int kScrollStep = 20;          // pixels per arrow click

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool is_zoom(int command) {
    return command == curve_command::kFitWindow || command == curve_command::kZoomIn ||
           command == curve_command::kZoomOut;
}

}  // namespace

CurveView::CurveView(CImage& curve, QWidget* parent) : QAbstractScrollArea(parent), curve_(curve) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
}

CurveView::~CurveView() {
    end_drag();
}

void CurveView::end_drag() {
    if (!dragging_) return;
    dragging_ = false;
    curve_.doc().end_command();
}

double CurveView::pixels_per_unit() const {
    const int dpi = viewport()->logicalDpiX();
    return (dpi > 0 ? dpi : 96) / kUnitsPerInch;
}

Point CurveView::to_logical(QPoint pixel) const {
    const double ppu = pixels_per_unit();
    const double x = (pixel.x() + horizontalScrollBar()->value()) / ppu;
    const double y = -(pixel.y() + verticalScrollBar()->value()) / ppu;
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

QPoint CurveView::to_pixel(Point logical) const {
    const double ppu = pixels_per_unit();
    return {static_cast<int>(std::lround(logical.x * ppu)) - horizontalScrollBar()->value(),
            static_cast<int>(std::lround(-logical.y * ppu)) - verticalScrollBar()->value()};
}

QRect CurveView::pixel_rect(const Rect& logical) const {
    const QPoint a = to_pixel({logical.left, logical.top});
    const QPoint b = to_pixel({logical.right, logical.bottom});
    return QRect(a, b).normalized().adjusted(-2, -2, 2, 2);
}

Size CurveView::client_size() const {
    const double ppu = pixels_per_unit();
    return {static_cast<int>(std::lround(viewport()->width() / ppu)),
            static_cast<int>(std::lround(viewport()->height() / ppu))};
}

void CurveView::on_document_update(int hint) {
    (void)hint;  // every change may move the axes: the whole curve is redrawn
    viewport()->update();
}

bool CurveView::command_enabled(int command) const {
    // The style options are a dialog of the main window's.
    if (command == curve_command::kCurveStyle) return static_cast<bool>(style_dialog_);
    return curve_command_enabled(command, curve_);
}

bool CurveView::run_command(int command) {
    if (!command_enabled(command)) return false;
    if (command == curve_command::kCurveStyle) {
        // The dialog repaints the curves when it changes their style.
        style_dialog_();
        return false;
    }
    if (command == curve_command::kExportImage) {
        const bool written = export_curve_image(curve_);
        // The export left the curve's working state at the picture's scale:
        // paint now, before the mouse is hit-tested against it.
        viewport()->repaint();
        return written;
    }
    const bool changed = run_curve_command(command, curve_);
    if (is_zoom(command)) after_zoom();
    viewport()->update();
    return changed;
}

void CurveView::after_zoom() {
    emit zoom_changed();
    viewport()->update();
}

QMenu* CurveView::create_context_menu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const CurveMenuItem& item : kCurveMenu) {
        QAction* action = menu->addAction(text_of(item.text));
        action->setData(item.id);
        const QString prompt = text_of(item.prompt);
        const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(newline < 0 ? prompt : prompt.left(newline));
        if (newline >= 0) action->setToolTip(prompt.mid(newline + 1));
        action->setEnabled(command_enabled(item.id));
    }
    // A popup is a window of its own, where status tips stop: hand them to
    // this view, whence they reach the frame's status bar.
    connect(menu, &QMenu::hovered, this, [this](QAction* action) {
        QStatusTipEvent tip(action->statusTip());
        QCoreApplication::sendEvent(this, &tip);
    });
    return menu;
}

void CurveView::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(viewport());
    const double ppu = pixels_per_unit();
    const CanvasMapping mapping{ppu, -static_cast<double>(horizontalScrollBar()->value()),
                                -static_cast<double>(verticalScrollBar()->value()), true};
    texts_.start_paint();
    curve_.set_pixel_size(static_cast<int>(std::ceil(1.0 / ppu)));
    picture_.paint(painter, viewport()->size(), viewport()->devicePixelRatioF(), mapping,
                   QPainter::Antialiasing | QPainter::TextAntialiasing, &texts_,
                   [this](Canvas& canvas) { curve_.paint_window(canvas, client_size()); });
    // Scroll bars only for a zoomed picture; fitting the window needs none.
    const double zoom = curve_.doc().zoom_factor();
    const Size extent = zoom > 0 && std::isfinite(zoom) ? curve_.scroll_extent() : Size{};
    if (!(extent == extent_)) {
        extent_ = extent;
        if (!scroll_sync_queued_) {
            // Not from inside the paint: the bars may appear and resize the viewport.
            scroll_sync_queued_ = true;
            QTimer::singleShot(0, this, [this] {
                scroll_sync_queued_ = false;
                sync_scroll_bars();
            });
        }
    }
}

void CurveView::sync_scroll_bars() {
    const double ppu = pixels_per_unit();
    const int width = static_cast<int>(std::ceil(extent_.cx * ppu));
    const int height = static_cast<int>(std::ceil(extent_.cy * ppu));
    const QSize view = viewport()->size();
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
}

void CurveView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    sync_scroll_bars();
}

void CurveView::mouseMoveEvent(QMouseEvent* event) {
    const Point cursor = to_logical(event->position().toPoint());
    const bool left = (event->buttons() & Qt::LeftButton) != 0;
    if (left && curve_.capture_armed()) {
        // Dragging: the point follows the mouse; the cursor stays the resize arrow.
        if (!dragging_) {
            dragging_ = true;
            curve_.doc().begin_command(kDragStepName);
        }
        emit status_text(QString::fromStdString(curve_.cursor_request(cursor).status));
        if (const std::optional<Rect> dirty = curve_.mouse_move(cursor, true)) {
            viewport()->update(pixel_rect(*dirty));
        }
        return;
    }
    // A plain move lets go of the point under the mouse, then looks for one
    // at the new position.
    end_drag();
    curve_.mouse_move(cursor, false);
    hover(cursor);
}

void CurveView::mousePressEvent(QMouseEvent* event) {
    // The press itself may land on a point the last move did not reach.
    if (!curve_.capture_armed()) hover(to_logical(event->position().toPoint()));
    QAbstractScrollArea::mousePressEvent(event);
}

void CurveView::mouseReleaseEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) end_drag();
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CurveView::hover(Point cursor) {
    const HoverResult hover = curve_.cursor_request(cursor);
    emit status_text(QString::fromStdString(hover.status));
    if (curve_.capture_armed()) {
        viewport()->setCursor(Qt::SizeVerCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void CurveView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(QPoint(5, 5));
    curve_.context_menu_opened();
    int command = 0;
    {
        const std::unique_ptr<QMenu> menu(create_context_menu(this));
        if (QAction* chosen = menu->exec(at)) command = chosen->data().toInt();
    }
    QStatusTipEvent clear{QString()};
    QCoreApplication::sendEvent(this, &clear);
    curve_.context_menu_closed();
    if (command != 0) run_command(command);
}

void CurveView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    emit focused(this);
}

void CurveView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    end_drag();
    curve_.deactivate();
}

}  // namespace kvd
