// The workbook tab strips of the table and curve panes.

#include "app/frame/sheets_wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "doc/extended_display.h"

namespace kvd {
namespace {

constexpr int kTabPadding = 9;     // pixels each side of a title
constexpr int kTabSlant = 5;       // pixels the tab's sides lean in
constexpr int kScrollStep = 4;     // pixels per step when tabs scroll
constexpr int kSplitterWidth = 5;  // the grip between tabs and scroll bar
constexpr double kMinBarShare = 0.1;
constexpr double kMaxBarShare = 0.8;

// The modification record table is reachable only in the extended display.
bool hidden_by_display(const QString& title) {
    return !extended_display() && title == QString::fromUtf8("修改记录表");
}

}  // namespace

CSheetsWnd::CSheetsWnd(TabPosition position, QColor background, QWidget* parent)
    : QWidget(parent), position_(position), background_(background) {
    setCursor(Qt::ArrowCursor);
    QFont strip_font = font();
    strip_font.setWeight(QFont::Light);
    setFont(strip_font);
}

int CSheetsWnd::strip_height() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 4;
}

QRect CSheetsWnd::line_rect() const {
    const int h = strip_height();
    return position_ == TabPosition::kTop ? QRect(0, 0, width(), h)
                                          : QRect(0, height() - h, width(), h);
}

QRect CSheetsWnd::strip_rect() const {
    return line_rect();
}

QRect CSheetsWnd::arrows_rect() const {
    const QRect strip = strip_rect();
    return QRect(strip.left(), strip.top(), std::min(2 * strip.height(), strip.width()),
                 strip.height());
}

int CSheetsWnd::add_page(QWidget* page, const QString& title) {
    return insert_page(page_count(), page, title);
}

int CSheetsWnd::insert_page(int index, QWidget* page, const QString& title) {
    page->setParent(this);
    index = std::clamp(index, 0, page_count());
    pages_.insert(pages_.begin() + index, Page{page, title, false});
    if (active_ >= index) ++active_;
    if (active_ < 0) {
        active_ = index;
        page->show();
    } else {
        page->hide();
    }
    layout_children();
    update();
    return index;
}

void CSheetsWnd::set_page_title(int index, const QString& title) {
    if (index < 0 || index >= page_count()) return;
    pages_[static_cast<size_t>(index)].title = title;
    update();
}

QString CSheetsWnd::page_title(int index) const {
    if (index < 0 || index >= page_count()) return {};
    const QString& title = pages_[static_cast<size_t>(index)].title;
    return title.isEmpty() ? QStringLiteral("Sheet") : title;
}

void CSheetsWnd::set_page_hidden(int index, bool hidden) {
    if (index < 0 || index >= page_count()) return;
    pages_[static_cast<size_t>(index)].hidden = hidden;
    scroll_tabs(0);
    update();
}

bool CSheetsWnd::page_hidden(int index) const {
    if (index < 0 || index >= page_count()) return true;
    const Page& page = pages_[static_cast<size_t>(index)];
    return page.hidden || hidden_by_display(page.title);
}

int CSheetsWnd::page_count() const {
    return static_cast<int>(pages_.size());
}

QWidget* CSheetsWnd::page(int index) const {
    if (index < 0 || index >= page_count()) return nullptr;
    return pages_[static_cast<size_t>(index)].widget;
}

int CSheetsWnd::index_of(QWidget* page) const {
    for (int i = 0; i < page_count(); ++i) {
        if (page && pages_[static_cast<size_t>(i)].widget == page) return i;
    }
    return -1;
}

QWidget* CSheetsWnd::active_page() const {
    return page(active_);
}

int CSheetsWnd::active_index() const {
    return active_;
}

void CSheetsWnd::activate(QWidget* new_page) {
    const int index = index_of(new_page);
    if (index < 0 || index == active_ || page_hidden(index)) return;
    QWidget* old_page = active_page();
    emit page_changing(old_page, new_page);
    active_ = index;
    layout_children();
    new_page->show();
    if (old_page) old_page->hide();
    scroll_to_active();
    update();
    emit page_changed(new_page);
}

void CSheetsWnd::activate_next(bool forward) {
    const int count = page_count();
    for (int step = 1; step < count; ++step) {
        const int index = ((active_ + (forward ? step : -step)) % count + count) % count;
        if (!page_hidden(index)) {
            activate(page(index));
            return;
        }
    }
}

int CSheetsWnd::tab_width(int index) const {
    return fontMetrics().horizontalAdvance(page_title(index)) + 2 * kTabPadding;
}

int CSheetsWnd::total_tab_width() const {
    int total = 0;
    for (int i = 0; i < page_count(); ++i) {
        if (!page_hidden(i)) total += tab_width(i);
    }
    return total;
}

QRect CSheetsWnd::tab_rect(int index) const {
    if (page_hidden(index)) return {};
    const QRect strip = strip_rect();
    int x = arrows_rect().right() + 1 - tab_offset_;
    for (int i = 0; i < index; ++i) {
        if (!page_hidden(i)) x += tab_width(i);
    }
    return QRect(x, strip.top(), tab_width(index), strip.height());
}

int CSheetsWnd::tab_at(QPoint point) const {
    const QRect strip = strip_rect();
    if (!strip.contains(point) || arrows_rect().contains(point)) return -1;
    for (int i = 0; i < page_count(); ++i) {
        if (tab_rect(i).contains(point)) return i;
    }
    return -1;
}

void CSheetsWnd::scroll_tabs(int pixels) {
    const int room = strip_rect().width() - arrows_rect().width();
    const int most = std::max(0, total_tab_width() - std::max(0, room) + kScrollStep);
    tab_offset_ = std::clamp(tab_offset_ + pixels, 0, most);
    update();
}

void CSheetsWnd::scroll_to_active() {
    if (active_ < 0) return;
    const QRect strip = strip_rect();
    const int first = arrows_rect().right() + 1;
    for (int guard = 0; guard < 10000; ++guard) {
        const QRect tab = tab_rect(active_);
        if (tab.isEmpty()) return;
        if (tab.left() < first && tab_offset_ > 0) {
            tab_offset_ = std::max(0, tab_offset_ - kScrollStep);
        } else if (tab.right() > strip.right() && tab.width() < strip.right() - first) {
            tab_offset_ += kScrollStep;
        } else {
            return;
        }
    }
}

void CSheetsWnd::layout_children() {
    const QRect line = line_rect();
    const QRect area = position_ == TabPosition::kTop
                           ? QRect(0, line.bottom() + 1, width(), height() - line.height())
                           : QRect(0, 0, width(), line.top());
    if (QWidget* page = active_page()) page->setGeometry(area);
}

void CSheetsWnd::resizeEvent(QResizeEvent*) {
    layout_children();
    scroll_tabs(0);
    // The active tab stays in view when the strip narrows (or was brought
    // forward before the sheet had its size).
    scroll_to_active();
}

void CSheetsWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect strip = strip_rect();
    painter.fillRect(line_rect(), background_);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The arrows: left and right halves of a small scroll-bar-like control.
    const QRect arrows = arrows_rect();
    const int half = arrows.width() / 2;
    const int room = strip.width() - arrows.width();
    const bool left_enabled = tab_offset_ > 0;
    const bool right_enabled = tab_offset_ + std::max(0, room) < total_tab_width();
    const QColor enabled = palette().color(QPalette::ButtonText);
    const QColor disabled = palette().color(QPalette::Disabled, QPalette::ButtonText);
    for (int side = 0; side < 2; ++side) {
        const QRect button(arrows.left() + side * half, arrows.top(), half, arrows.height());
        painter.setPen(palette().color(QPalette::Mid));
        painter.setBrush(background_);
        painter.drawRect(button.adjusted(0, 0, -1, -1));
        const int cx = button.center().x();
        const int cy = button.center().y();
        const int r = std::max(2, button.height() / 5);
        QPolygon arrow;
        if (side == 0) {
            arrow << QPoint(cx - r, cy) << QPoint(cx + r / 2 + 1, cy - r)
                  << QPoint(cx + r / 2 + 1, cy + r);
        } else {
            arrow << QPoint(cx + r, cy) << QPoint(cx - r / 2 - 1, cy - r)
                  << QPoint(cx - r / 2 - 1, cy + r);
        }
        const bool on = side == 0 ? left_enabled : right_enabled;
        painter.setPen(Qt::NoPen);
        painter.setBrush(on ? enabled : disabled);
        painter.drawPolygon(arrow);
    }

    painter.setClipRect(QRect(arrows.right() + 1, strip.top(), room, strip.height()));
    const bool bottom = position_ == TabPosition::kBottom;
    const QColor page_colour = palette().color(QPalette::Base);
    auto draw_tab = [&](int index) {
        const QRect tab = tab_rect(index);
        if (tab.isEmpty()) return;
        const bool active = index == active_;
        // The edge next to the page is the wide one.
        const int near_y = bottom ? tab.top() : tab.bottom();
        const int far_y = bottom ? tab.bottom() - 1 : tab.top() + 1;
        QPolygon shape;
        shape << QPoint(tab.left() - kTabSlant + 1, near_y) << QPoint(tab.left() + 2, far_y)
              << QPoint(tab.right() - 2, far_y) << QPoint(tab.right() + kTabSlant - 1, near_y);
        painter.setBrush(active ? page_colour : background_);
        painter.setPen(active ? QColor(128, 128, 128) : QColor(Qt::black));
        painter.drawPolygon(shape);
        if (active) {
            // Open towards the page.
            painter.setPen(page_colour);
            painter.drawLine(tab.left() - kTabSlant + 2, near_y, tab.right() + kTabSlant - 2,
                             near_y);
        }
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(tab, Qt::AlignCenter | Qt::TextSingleLine, page_title(index));
    };
    // Inactive tabs first, so that the active one lies on top of its neighbours.
    for (int i = 0; i < page_count(); ++i) {
        if (i != active_) draw_tab(i);
    }
    if (active_ >= 0) draw_tab(active_);
}

void CSheetsWnd::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QRect arrows = arrows_rect();
    if (arrows.contains(point)) {
        const bool left = point.x() < arrows.left() + arrows.width() / 2;
        scroll_tabs(left ? -4 * kScrollStep : 4 * kScrollStep);
        return;
    }
    const int index = tab_at(point);
    if (index >= 0) {
        activate(page(index));
        if (QWidget* active = active_page()) active->setFocus(Qt::MouseFocusReason);
    }
}

CTableSheet::CTableSheet(QColor background, QWidget* parent)
    : CSheetsWnd(TabPosition::kBottom, background, parent) {
    bar_ = new QScrollBar(Qt::Horizontal, this);
    bar_->setRange(0, 0);
    setMouseTracking(true);
    layout_children();
}

QScrollBar* CTableSheet::horizontal_bar() const {
    return bar_;
}

void CTableSheet::set_bar_share(double share) {
    bar_share_ = std::clamp(share, kMinBarShare, kMaxBarShare);
    layout_children();
    update();
}

QRect CTableSheet::splitter_rect() const {
    const QRect line = line_rect();
    const int bar_left = line.right() + 1 - static_cast<int>(line.width() * bar_share_);
    return QRect(bar_left - kSplitterWidth, line.top(), kSplitterWidth, line.height());
}

QRect CTableSheet::strip_rect() const {
    const QRect line = line_rect();
    return QRect(line.left(), line.top(), std::max(0, splitter_rect().left() - line.left()),
                 line.height());
}

void CTableSheet::layout_children() {
    CSheetsWnd::layout_children();
    if (!bar_) return;
    const QRect line = line_rect();
    const QRect grip = splitter_rect();
    bar_->setGeometry(grip.right() + 1, line.top(), line.right() - grip.right(), line.height());
}

void CTableSheet::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton &&
        splitter_rect().contains(event->position().toPoint())) {
        dragging_ = true;
        return;
    }
    CSheetsWnd::mousePressEvent(event);
}

void CTableSheet::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (dragging_) {
        const QRect line = line_rect();
        if (line.width() > 0) {
            set_bar_share(1.0 - static_cast<double>(point.x() - line.left()) / line.width());
        }
        return;
    }
    setCursor(splitter_rect().contains(point) ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void CTableSheet::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) dragging_ = false;
}

CImageSheet::CImageSheet(QColor background, QWidget* parent)
    : CSheetsWnd(TabPosition::kTop, background, parent) {}

}  // namespace kvd
