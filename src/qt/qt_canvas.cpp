#include "qt/qt_canvas.h"

#include <QPaintEngine>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <cmath>

namespace kvd {

namespace {

// Dash patterns in logical units (0.1 mm), as on and off lengths: the Windows
// screen patterns (18-6, 3-3, 9-6-3-6, 9-3-3-3-3-3 pixels at 96 dpi) carried
// over to paper so that dashes look alike on every device.
constexpr std::array<double, 2> kDash = {48, 16};
constexpr std::array<double, 2> kDot = {8, 8};
constexpr std::array<double, 4> kDashDot = {24, 16, 8, 16};
constexpr std::array<double, 6> kDashDotDot = {24, 8, 8, 8, 8, 8};

template <std::size_t N>
QList<qreal> dash_pattern(const std::array<double, N>& lengths, double scale, double pen_width) {
    // Qt measures dash patterns in pen widths; a cosmetic pen counts as 1.
    QList<qreal> pattern;
    for (double length : lengths) pattern.append(std::max(1.0, length * scale) / pen_width);
    return pattern;
}

QString to_qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where a block of text `height` high starts in its box, by the vertical flags.
double aligned_top(const QRectF& area, double height, TextFormat format) {
    if (format & kTextBottom) return area.bottom() - height;
    if (format & kTextVCentre) return area.top() + (area.height() - height) / 2.0;
    return area.top();
}

// Where a line `width` wide starts in its box, by the horizontal flags.
double aligned_left(const QRectF& area, double width, TextFormat format) {
    if (format & kTextRight) return area.right() - width;
    if (format & kTextCentre) return area.left() + (area.width() - width) / 2.0;
    return area.left();
}

}  // namespace

Colour to_colour(const QColor& colour) {
    return rgb(colour.red(), colour.green(), colour.blue());
}

QColor to_qcolor(Colour colour) {
    return QColor(red_of(colour), green_of(colour), blue_of(colour));
}

QPen to_qpen(const Pen& pen, double scale) {
    if (pen.style == PenStyle::kNull) return QPen(Qt::NoPen);
    QPen qpen(to_qcolor(pen.colour));
    // Width 0 is the thinnest line of the device (a cosmetic pen); any other
    // width is in logical units, as a Windows pen under a mapping mode, and
    // never thinner than one device unit. So a width-1 table rule prints
    // 0.1 mm wide rather than as a hairline of a 1200 dpi device.
    const bool hairline = pen.width <= 0;
    const double width = hairline ? 1.0 : std::max(1.0, pen.width * scale);
    qpen.setWidthF(hairline ? 0.0 : width);
    qpen.setCosmetic(hairline);
    const bool thin = pen.width <= 1;
    qpen.setCapStyle(thin ? Qt::FlatCap : Qt::RoundCap);
    qpen.setJoinStyle(thin ? Qt::MiterJoin : Qt::RoundJoin);
    // As with Windows pens, only a thin pen draws dashes and dots: a wider one
    // draws solid whatever its style.
    if (thin) {
        switch (pen.style) {
            case PenStyle::kDash:
                qpen.setDashPattern(dash_pattern(kDash, scale, width));
                break;
            case PenStyle::kDot:
                qpen.setDashPattern(dash_pattern(kDot, scale, width));
                break;
            case PenStyle::kDashDot:
                qpen.setDashPattern(dash_pattern(kDashDot, scale, width));
                break;
            case PenStyle::kDashDotDot:
                qpen.setDashPattern(dash_pattern(kDashDotDot, scale, width));
                break;
            default:
                break;
        }
    }
    return qpen;
}

QtCanvas::QtCanvas(QPainter& painter, const CanvasMapping& mapping, TextCache* texts)
    : painter_(painter), mapping_(mapping), texts_(texts) {
    // A broken scale would divide by zero in text_extent(); fall back to 1:1.
    if (!(mapping_.scale > 0) || !std::isfinite(mapping_.scale)) mapping_.scale = 1.0;
    install_font_substitutions();
    painter_.save();
}

QtCanvas::~QtCanvas() {
    painter_.restore();
}

void QtCanvas::set_pen(const Pen& pen) {
    if (pen == state_.pen) return;
    state_.pen = pen;
    pen_and_brush_.reset();
}
void QtCanvas::set_brush(const Brush& brush) {
    if (brush == state_.brush) return;
    state_.brush = brush;
    pen_and_brush_.reset();
}
void QtCanvas::set_font(const Font& font) {
    state_.font = font;
}
void QtCanvas::set_text_colour(Colour colour) {
    state_.text_colour = colour;
}

void QtCanvas::set_background(bool opaque, Colour colour) {
    state_.opaque = opaque;
    state_.background = colour;
}

QPointF QtCanvas::device_point(Point p) const {
    return mapping_.to_device(static_cast<double>(p.x) + state_.origin.x,
                              static_cast<double>(p.y) + state_.origin.y);
}

QRectF QtCanvas::device_rect(const Rect& rect) const {
    return QRectF(device_point({rect.left, rect.top}), device_point({rect.right, rect.bottom}))
        .normalized();
}

QPolygonF QtCanvas::device_polygon(std::span<const Point> points) const {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (Point p : points) polygon.append(device_point(p));
    return polygon;
}

void QtCanvas::apply_pen_and_brush() {
    // A curve draws thousands of segments and markers in one pen: the Qt pen
    // and brush are made when the canvas's change, and handed to the painter
    // (which passes over an unchanged one) before every figure.
    if (!pen_and_brush_) {
        QPen pen = to_qpen(state_.pen, mapping_.scale);
        // On a raster device a pen about one pixel wide looks alike drawn as
        // the one-pixel cosmetic pen, which is many times faster (a curve of
        // many thousand readings draws as many segments). Width 0 rather than
        // a cosmetic 1: the same pixels, and Qt's raster engine draws it
        // about half as fast again with antialiasing. Dash lengths are kept
        // in device pixels.
        if (pen.style() != Qt::NoPen && pen.widthF() < 1.5 && raster_untransformed()) {
            if (pen.style() == Qt::CustomDashLine) {
                QList<qreal> pattern = pen.dashPattern();
                for (qreal& length : pattern) length *= std::max(1.0, pen.widthF());
                pen.setDashPattern(pattern);
            }
            pen.setWidthF(0.0);
            pen.setCosmetic(true);
        }
        pen_and_brush_.emplace(pen, state_.brush.hollow ? QBrush(Qt::NoBrush)
                                                        : QBrush(to_qcolor(state_.brush.colour)));
    }
    painter_.setPen(pen_and_brush_->first);
    painter_.setBrush(pen_and_brush_->second);
}

void QtCanvas::line(Point from, Point to) {
    apply_pen_and_brush();
    painter_.drawLine(device_point(from), device_point(to));
}

void QtCanvas::polyline(std::span<const Point> points) {
    if (points.size() < 2) return;
    apply_pen_and_brush();
    painter_.drawPolyline(device_polygon(points));
}

void QtCanvas::polygon(std::span<const Point> points) {
    if (points.empty()) return;
    apply_pen_and_brush();
    // Windows fills polygons in alternate mode.
    painter_.drawPolygon(device_polygon(points), Qt::OddEvenFill);
}

void QtCanvas::rectangle(const Rect& rect) {
    apply_pen_and_brush();
    painter_.drawRect(device_rect(rect));
}

void QtCanvas::ellipse(const Rect& bounds) {
    apply_pen_and_brush();
    const QRectF device = device_rect(bounds);
    if (!stamp_ellipse(device)) painter_.drawEllipse(device);
}

bool QtCanvas::raster_untransformed() const {
    const QPaintEngine* engine = painter_.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster &&
           painter_.transform().type() <= QTransform::TxTranslate;
}

bool QtCanvas::stamp_ellipse(const QRectF& device) {
    constexpr double kLargestStamp = 48;  // device pixels
    if (!raster_untransformed() || device.width() > kLargestStamp ||
        device.height() > kLargestStamp) {
        return false;
    }
    const QSizeF size = device.size();
    if (!stamp_ || stamp_->size != size || stamp_->pen != painter_.pen() ||
        stamp_->brush != painter_.brush() || stamp_->hints != painter_.renderHints()) {
        // A pixel of room round the ellipse for the pen.
        QImage image(static_cast<int>(std::ceil(size.width())) + 3,
                     static_cast<int>(std::ceil(size.height())) + 3,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter stamp(&image);
        stamp.setRenderHints(painter_.renderHints());
        stamp.setPen(painter_.pen());
        stamp.setBrush(painter_.brush());
        stamp.drawEllipse(QRectF(QPointF(1, 1), size));
        stamp.end();
        stamp_ = EllipseStamp{size, painter_.pen(), painter_.brush(), painter_.renderHints(),
                              std::move(image)};
    }
    const QPoint at(static_cast<int>(std::lround(device.left())) - 1,
                    static_cast<int>(std::lround(device.top())) - 1);
    painter_.drawImage(at, stamp_->image);
    return true;
}

void QtCanvas::fill_rect(const Rect& rect, Colour colour) {
    painter_.fillRect(device_rect(rect), to_qcolor(colour));
}

const DeviceFont& QtCanvas::device_font() {
    if (!cached_font_ || *cached_font_ != state_.font) {
        device_font_ = make_device_font(state_.font, mapping_.scale, painter_.device());
        cached_font_ = state_.font;
        font_texts_ = nullptr;
    }
    return device_font_;
}

QStringList QtCanvas::layout_lines(const QString& text, TextFormat format, double width,
                                   const QFontMetricsF& metrics) const {
    QStringList lines;
    if (format & kTextSingleLine) {
        // One line whatever the text holds: line breaks become spaces.
        QString line = text;
        line.remove(QLatin1Char('\r'));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines.append(line);
    } else {
        for (QString paragraph : text.split(QLatin1Char('\n'))) {
            if (paragraph.endsWith(QLatin1Char('\r'))) paragraph.chop(1);
            if (!(format & kTextWordBreak) || paragraph.isEmpty()) {
                lines.append(paragraph);
                continue;
            }
            // Breaks at word boundaries (and between Chinese characters); a
            // word longer than the box stays whole, as with DrawText.
            QTextLayout layout(paragraph, device_font_.font, painter_.device());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(std::max(0.0, width));
                lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
            }
            layout.endLayout();
        }
    }
    if (format & kTextEndEllipsis) {
        for (QString& line : lines) {
            if (metrics.horizontalAdvance(line) > width) {
                line = metrics.elidedText(line, Qt::ElideRight, std::max(0.0, width));
            }
        }
    }
    return lines;
}

TextCache::FontTexts* QtCanvas::cached_texts() {
    if (!texts_ || !raster_untransformed()) return nullptr;
    const DeviceFont& font = device_font();
    if (!font_texts_) font_texts_ = &texts_->font(font.font);
    return font_texts_;
}

bool QtCanvas::draw_cached_line(const QRectF& area, const QString& text, TextFormat format) {
    TextCache::FontTexts* texts = cached_texts();
    if (!texts || text.isEmpty() || (format & kTextWordBreak) || text.contains(QLatin1Char('\n')) ||
        text.contains(QLatin1Char('\r'))) {
        return false;
    }
    const TextCache::Text& line = texts->text(text);
    const DeviceFont& font = device_font();
    // What does not fit is clipped or elided on the general road.
    const bool fits = line.advance <= area.width() && font.cell_height <= area.height();
    if (!fits && (format & (kTextEndEllipsis | kTextNoClip)) != kTextNoClip) return false;

    // No save and restore: the figures set their own pen and brush, and the
    // painter's font and pen matter to texts only.
    if (state_.opaque) painter_.fillRect(area, to_qcolor(state_.background));
    painter_.setFont(texts->font());
    painter_.setPen(to_qcolor(state_.text_colour));
    const double top = aligned_top(area, font.cell_height, format);
    const double left = aligned_left(area, line.advance, format);
    // The glyphs hang from the top of their line; the baseline is where the
    // general road puts it.
    painter_.drawStaticText(QPointF(left, top + font.ascent - line.baseline), line.glyphs);
    return true;
}

void QtCanvas::draw_text(const Rect& box, std::string_view text, TextFormat format) {
    const QRectF area = device_rect(box);
    const QString qtext = to_qstring(text);
    if (draw_cached_line(area, qtext, format)) return;
    const DeviceFont& font = device_font();
    const QFontMetricsF metrics(font.font, painter_.device());
    const QStringList lines = layout_lines(qtext, format, area.width(), metrics);

    painter_.save();
    if (!(format & kTextNoClip)) painter_.setClipRect(area, Qt::IntersectClip);
    if (state_.opaque) painter_.fillRect(area, to_qcolor(state_.background));
    painter_.setFont(font.font);
    painter_.setPen(to_qcolor(state_.text_colour));
    painter_.setBrush(Qt::NoBrush);

    // Lines are one cell high, as DrawText stacks them; vertical alignment
    // applies to the whole block.
    const double block = font.cell_height * static_cast<double>(lines.size());
    double top = aligned_top(area, block, format);
    for (const QString& line : lines) {
        const double left = aligned_left(area, metrics.horizontalAdvance(line), format);
        if (!line.isEmpty()) painter_.drawText(QPointF(left, top + font.ascent), line);
        top += font.cell_height;
    }
    painter_.restore();
}

Size QtCanvas::text_extent(std::string_view text) {
    const DeviceFont& font = device_font();
    const QString qtext = to_qstring(text);
    double width = 0;
    if (TextCache::FontTexts* texts = cached_texts()) {
        width = texts->text(qtext).advance;
    } else {
        width = QFontMetricsF(font.font, painter_.device()).horizontalAdvance(qtext);
    }
    return {static_cast<int>(std::lround(width / mapping_.scale)),
            static_cast<int>(std::lround(font.cell_height / mapping_.scale))};
}

void QtCanvas::save() {
    saved_.push_back(state_);
}

void QtCanvas::restore() {
    // A restore without a save is a fault of the drawing code; it changes nothing.
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
    pen_and_brush_.reset();
}

void QtCanvas::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
}

}  // namespace kvd
