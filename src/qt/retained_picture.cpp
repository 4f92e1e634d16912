#include "qt/retained_picture.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <type_traits>
#include <variant>

#include "qt/qt_font_metrics.h"

namespace kvd {

namespace {

// Measures texts as the canvas draws them (its fonts and its text cache).
class CanvasTextMetrics final : public FontMetrics {
public:
    explicit CanvasTextMetrics(QtCanvas& canvas, const QPaintDevice* device)
        : canvas_(canvas), fonts_(canvas.mapping().scale, device) {}

    int average_char_width(const Font& font) const override {
        return fonts_.average_char_width(font);
    }
    int line_height(const Font& font) const override { return fonts_.line_height(font); }
    Size text_extent(const Font& font, std::string_view text) const override {
        canvas_.set_font(font);
        return canvas_.text_extent(text);
    }

private:
    QtCanvas& canvas_;
    QtFontMetrics fonts_;
};

// Beyond this share of the image changed, it is drawn whole (no clipping).
constexpr double kWholeShare = 0.6;

// The device pixels a drawing may touch, generously: pens' widths and round
// ends, antialiased edges, a stamped marker's margin, text running past its
// box or hanging over it.
class DeviceBounds {
public:
    explicit DeviceBounds(QtCanvas& canvas) : canvas_(canvas) {}

    QRect of(const RecordedCommand& command) const {
        return std::visit([this](const auto& c) { return bounds(c); }, command);
    }
    // The segments of a polyline that meet at point i.
    QRect around_point(const recorded::Polyline& line, std::size_t i) const {
        const std::size_t first = i > 0 ? i - 1 : 0;
        const std::size_t last = std::min(i + 1, line.points.size() - 1);
        return points(std::span(line.points).subspan(first, last - first + 1), line.pen.width);
    }

private:
    static constexpr int kMargin = 3;  // device pixels round every drawing

    QRect device(const Rect& r, int pen_width) const {
        const int pen = static_cast<int>(std::ceil(std::max(1, pen_width) * scale()));
        return canvas_.device_rect(r).toAlignedRect().adjusted(-pen - kMargin, -pen - kMargin,
                                                               pen + kMargin, pen + kMargin);
    }
    QRect points(std::span<const Point> points, int pen_width) const {
        if (points.empty()) return {};
        Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
        for (Point p : points) {
            box.left = std::min(box.left, p.x);
            box.right = std::max(box.right, p.x);
            box.top = std::max(box.top, p.y);
            box.bottom = std::min(box.bottom, p.y);
        }
        return device(box, pen_width);
    }
    double scale() const { return canvas_.mapping().scale; }

    QRect bounds(const recorded::Line& c) const {
        const Point both[] = {c.from, c.to};
        return points(both, c.pen.width);
    }
    QRect bounds(const recorded::Polyline& c) const { return points(c.points, c.pen.width); }
    QRect bounds(const recorded::Polygon& c) const { return points(c.points, c.pen.width); }
    QRect bounds(const recorded::Rectangle& c) const { return device(c.rect, c.pen.width); }
    QRect bounds(const recorded::Ellipse& c) const { return device(c.bounds, c.pen.width); }
    QRect bounds(const recorded::FillRect& c) const { return device(c.rect, 0); }
    QRect bounds(const recorded::Text& c) const {
        // Wherever the alignment puts the widest line, and a cell over and
        // under the box for glyphs that overhang it.
        canvas_.set_font(c.font);
        const Size one_line = canvas_.text_extent(c.text);
        const int run = static_cast<int>(std::ceil(one_line.cx * scale()));
        const int cell = static_cast<int>(std::ceil(one_line.cy * scale()));
        return device(c.box, 0).adjusted(-run, -cell, run, cell);
    }
    template <typename Other>
    QRect bounds(const Other&) const {
        return {};
    }

    QtCanvas& canvas_;
};

}  // namespace

void replay(const std::vector<RecordedCommand>& record, Canvas& canvas) {
    for (const RecordedCommand& command : record) replay(command, canvas);
}

void replay(const RecordedCommand& command, Canvas& canvas) {
    std::visit(
        [&canvas](const auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, recorded::Line>) {
                canvas.set_pen(c.pen);
                canvas.line(c.from, c.to);
            } else if constexpr (std::is_same_v<T, recorded::Polyline>) {
                canvas.set_pen(c.pen);
                canvas.polyline(c.points);
            } else if constexpr (std::is_same_v<T, recorded::Polygon>) {
                canvas.set_pen(c.pen);
                canvas.set_brush(c.brush);
                canvas.polygon(c.points);
            } else if constexpr (std::is_same_v<T, recorded::Rectangle>) {
                canvas.set_pen(c.pen);
                canvas.set_brush(c.brush);
                canvas.rectangle(c.rect);
            } else if constexpr (std::is_same_v<T, recorded::Ellipse>) {
                canvas.set_pen(c.pen);
                canvas.set_brush(c.brush);
                canvas.ellipse(c.bounds);
            } else if constexpr (std::is_same_v<T, recorded::FillRect>) {
                canvas.fill_rect(c.rect, c.colour);
            } else if constexpr (std::is_same_v<T, recorded::Text>) {
                canvas.set_font(c.font);
                canvas.set_text_colour(c.colour);
                canvas.set_background(c.opaque, c.background);
                canvas.draw_text(c.box, c.text, c.format);
            }
        },
        command);
}

QRegion RetainedPicture::changes(const std::vector<RecordedCommand>& now, QtCanvas& measure) const {
    const DeviceBounds bounds(measure);
    QRegion changed;
    if (now.size() == record_.size()) {
        // The same drawings, some moved: each pair that differs, where it was
        // and where it is; a polyline that kept its points' count, round the
        // points that moved.
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] == record_[i]) continue;
            const auto* before = std::get_if<recorded::Polyline>(&record_[i]);
            const auto* after = std::get_if<recorded::Polyline>(&now[i]);
            if (before && after && before->pen == after->pen &&
                before->points.size() == after->points.size()) {
                for (std::size_t p = 0; p < after->points.size(); ++p) {
                    if (before->points[p] == after->points[p]) continue;
                    changed += bounds.around_point(*before, p);
                    changed += bounds.around_point(*after, p);
                }
                continue;
            }
            changed += bounds.of(record_[i]);
            changed += bounds.of(now[i]);
        }
        return changed;
    }
    // Drawings came or went: everything between the first and the last
    // difference, before and after.
    std::size_t head = 0;
    while (head < now.size() && head < record_.size() && now[head] == record_[head]) ++head;
    std::size_t tail = 0;
    while (tail < now.size() - head && tail < record_.size() - head &&
           now[now.size() - 1 - tail] == record_[record_.size() - 1 - tail]) {
        ++tail;
    }
    for (std::size_t i = head; i < record_.size() - tail; ++i) changed += bounds.of(record_[i]);
    for (std::size_t i = head; i < now.size() - tail; ++i) changed += bounds.of(now[i]);
    return changed;
}

void RetainedPicture::paint(QPainter& target, QSize pixels, qreal ratio,
                            const CanvasMapping& mapping, QPainter::RenderHints hints,
                            TextCache* texts, const std::function<void(Canvas&)>& draw) {
    const QSize device_pixels = (QSizeF(pixels) * ratio).toSize();
    bool whole = !valid_ || mapping.scale != mapping_.scale ||
                 mapping.origin_x != mapping_.origin_x || mapping.origin_y != mapping_.origin_y ||
                 mapping.y_up != mapping_.y_up || hints != hints_ ||
                 (texts != nullptr) != cached_texts_;
    if (image_.size() != device_pixels || image_.devicePixelRatio() != ratio) {
        image_ = QImage(device_pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        image_.fill(Qt::white);
        whole = true;
    }
    valid_ = false;  // until the image is drawn
    if (image_.isNull()) return;

    std::vector<RecordedCommand> now;
    double share = 1;
    {
        QPainter painter(&image_);
        painter.setRenderHints(hints);
        QtCanvas canvas(painter, mapping, texts);
        const CanvasTextMetrics metrics(canvas, &image_);
        RecordingCanvas recorder(metrics);
        recorder.reserve(record_.size());
        draw(recorder);
        now = recorder.take_commands();

        // Painter coordinates: device pixels over the ratio.
        QRegion region;
        if (!whole) {
            region = changes(now, canvas);
            double changed = 0;
            for (const QRect& r : region) changed += static_cast<double>(r.width()) * r.height();
            share =
                std::min(1.0, changed / (static_cast<double>(pixels.width()) * pixels.height()));
            whole = share > kWholeShare;
        }
        if (whole) {
            share = 1;
            replay(now, canvas);
        } else if (!region.isEmpty()) {
            // Only the drawings that reach the changed places: the clip keeps
            // the rest of their pixels as they were.
            painter.setClipRegion(region);
            const DeviceBounds bounds(canvas);
            const QRect reach = region.boundingRect();
            for (const RecordedCommand& command : now) {
                const QRect drawn = bounds.of(command);
                if (drawn.intersects(reach) && region.intersects(drawn)) replay(command, canvas);
            }
        }
    }
    record_ = std::move(now);
    mapping_ = mapping;
    hints_ = hints;
    cached_texts_ = texts != nullptr;
    valid_ = true;
    last_redrawn_share_ = share;
    target.drawImage(QPointF(0, 0), image_);
}

}  // namespace kvd
