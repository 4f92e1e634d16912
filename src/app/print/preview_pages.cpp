#include "app/print/preview_pages.h"

#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "qt/page_render.h"

namespace kvd {
namespace {

constexpr int kGap = 16;     // pixels round and between the pages
constexpr int kShadow = 4;   // the paper's shadow
constexpr double kUnitsPerInch = 254.0;

}  // namespace

PreviewPages::PreviewPages(PrintPages& job, QWidget* parent)
    : QWidget(parent), job_(job), paper_(job.paper()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    relayout();
}

int PreviewPages::shown_count() const {
    if (!two_pages_ || zoom_ > 0) return 1;
    return first_ < job_.total() ? 2 : 1;
}

int PreviewPages::last_first_page() const {
    // Two pages side by side end with the last two.
    const int total = std::max(1, job_.total());
    return two_pages_ && zoom_ == 0 ? std::max(1, total - 1) : total;
}

void PreviewPages::set_first_page(int page) {
    const int clamped = std::clamp(page, 1, last_first_page());
    if (clamped == first_) return;
    first_ = clamped;
    relayout();
}

void PreviewPages::set_two_pages(bool two) {
    if (two == two_pages_) return;
    two_pages_ = two;
    relayout();
}

void PreviewPages::set_zoom(double zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    relayout();
}

void PreviewPages::set_fit_area(QSize area) {
    if (area == fit_area_) return;
    fit_area_ = area;
    relayout();
}

std::vector<int> PreviewPages::kept_pages() const {
    std::vector<int> pages;
    for (const auto& [page, kept] : kept_) pages.push_back(page);
    return pages;
}

double PreviewPages::scale() const {
    if (paper_.cx <= 0 || paper_.cy <= 0) return 0;
    if (zoom_ > 0) return zoom_ * logicalDpiY() / kUnitsPerInch;
    const int n = shown_count();
    const double across = (fit_area_.width() - (n + 1) * kGap - kShadow) /
                          (static_cast<double>(paper_.cx) * n);
    const double down = (fit_area_.height() - 2 * kGap - kShadow) / static_cast<double>(paper_.cy);
    return std::max(0.01, std::min(across, down));
}

QRect PreviewPages::page_rect(int slot) const {
    const double s = scale();
    const int w = static_cast<int>(std::lround(paper_.cx * s));
    const int h = static_cast<int>(std::lround(paper_.cy * s));
    const int n = shown_count();
    const int all = n * w + (n - 1) * kGap;
    const int left = std::max(kGap, (width() - all) / 2);
    const int top = std::max(kGap, (height() - h) / 2);
    return QRect(left + slot * (w + kGap), top, w, h);
}

void PreviewPages::relayout() {
    first_ = std::clamp(first_, 1, last_first_page());
    const double s = scale();
    const int n = shown_count();
    const QSize wanted(static_cast<int>(std::lround(paper_.cx * s)) * n + (n + 1) * kGap + kShadow,
                       static_cast<int>(std::lround(paper_.cy * s)) + 2 * kGap + kShadow);
    if (zoom_ > 0) {
        resize(wanted.expandedTo(fit_area_));
    } else {
        resize(fit_area_);
    }
    // Only the pages in view keep their pictures.
    for (auto it = kept_.begin(); it != kept_.end();) {
        it = it->first < first_ || it->first > last_page() ? kept_.erase(it) : std::next(it);
    }
    update();
    emit pages_changed();
}

const QImage& PreviewPages::picture(int page, QSize pixels) {
    Kept& kept = kept_[page];
    if (kept.pixels != pixels || kept.image.isNull()) {
        const double ratio = devicePixelRatioF();
        // The resolution that makes the paper `pixels` wide on this screen.
        const double dpi = pixels.width() * ratio * kUnitsPerInch / paper_.cx;
        QImage image;
        const Status drawn = render_page_to_image(
            image, paper_, [this, page](Canvas& canvas) { job_.draw_page(canvas, page); },
            std::clamp(static_cast<int>(std::lround(dpi)), 10, 2400));
        if (drawn.ok()) image.setDevicePixelRatio(ratio);
        kept.pixels = pixels;
        kept.image = std::move(image);
        render_log_.push_back(page);
    }
    return kept.image;
}

void PreviewPages::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    for (int slot = 0; slot < shown_count(); ++slot) {
        const int page = first_ + slot;
        if (page > job_.total()) break;
        const QRect rect = page_rect(slot);
        if (!rect.intersects(event->rect().adjusted(-kShadow, -kShadow, kShadow, kShadow))) {
            continue;
        }
        painter.fillRect(rect.translated(kShadow, kShadow), palette().color(QPalette::Shadow));
        painter.fillRect(rect, Qt::white);
        const QImage& image = picture(page, rect.size());
        if (!image.isNull()) painter.drawImage(rect, image);
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

}  // namespace kvd
