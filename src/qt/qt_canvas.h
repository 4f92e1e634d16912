#pragma once
// QtCanvas: the Canvas backend over a QPainter, for the screen, the printer,
// PDF, PNG and SVG. The caller begins the painter on its device and says how
// logical units map to the painter's coordinates; the canvas leaves the
// painter's own transform alone and does the mapping itself, so that text
// stays upright whether logical y grows upwards (pages, 0.1 mm) or downwards.

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "qt/font_setup.h"
#include "qt/text_cache.h"

namespace kvd {

// From logical units to the painter's coordinates ("device" below).
struct CanvasMapping {
    double scale = 1.0;     // device units per logical unit
    double origin_x = 0.0;  // device position of the logical origin
    double origin_y = 0.0;
    bool y_up = true;  // logical y grows upwards, device y downwards

    // Pages in 0.1 mm on a device of `dpi` dots per inch, origin at the
    // device's (0, 0) (the paper's top-left corner), y up.
    static CanvasMapping page(double dpi) { return {dpi / 254.0, 0.0, 0.0, true}; }

    QPointF to_device(double x, double y) const {
        return {origin_x + x * scale, y_up ? origin_y - y * scale : origin_y + y * scale};
    }
};

class QtCanvas : public Canvas {
  public:
    // `painter` must be active and outlive the canvas; its state is saved here
    // and restored when the canvas goes. A view that paints the same texts
    // again and again passes its TextCache: one-line texts on a raster device
    // without scaling are then drawn from glyphs kept between paints.
    QtCanvas(QPainter& painter, const CanvasMapping& mapping, TextCache* texts = nullptr);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void set_pen(const Pen& pen) override;
    void set_brush(const Brush& brush) override;
    void set_font(const Font& font) override;
    void set_text_colour(Colour colour) override;
    void set_background(bool opaque, Colour colour) override;

    void line(Point from, Point to) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void rectangle(const Rect& rect) override;
    void ellipse(const Rect& bounds) override;
    void fill_rect(const Rect& rect, Colour colour) override;

    void draw_text(const Rect& box, std::string_view text, TextFormat format) override;
    Size text_extent(std::string_view text) override;

    void save() override;
    void restore() override;
    void translate(int dx, int dy) override;

    const CanvasMapping& mapping() const { return mapping_; }
    // The device rectangle of a logical one (origin applied), normalised.
    QRectF device_rect(const Rect& rect) const;

  private:
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        Colour text_colour = kBlack;
        bool opaque = false;
        Colour background = kWhite;
        Point origin;
    };

    QPointF device_point(Point p) const;
    QPolygonF device_polygon(std::span<const Point> points) const;
    void apply_pen_and_brush();
    const DeviceFont& device_font();
    QStringList layout_lines(const QString& text, TextFormat format, double width,
                             const QFontMetricsF& metrics) const;
    // The texts of the device font when a text cache may be used, else nullptr.
    TextCache::FontTexts* cached_texts();
    // draw_text for one line from the cache; false when the text needs the
    // general road (several lines, breaking, clipping or eliding to do).
    bool draw_cached_line(const QRectF& area, const QString& text, TextFormat format);

    // A small ellipse on a raster device, stamped from a picture drawn once:
    // a curve of many thousand readings draws as many equal markers, and
    // rasterising each anew is what makes its repaint slow. False when the
    // ellipse must be drawn as such (a vector device, a large or transformed
    // one).
    bool stamp_ellipse(const QRectF& device);
    // Painting pixels (screen, image) without scaling: pixel-exact shortcuts
    // are allowed.
    bool raster_untransformed() const;

    struct EllipseStamp {
        QSizeF size;
        QPen pen;
        QBrush brush;
        QPainter::RenderHints hints;
        QImage image;
    };

    QPainter& painter_;
    CanvasMapping mapping_;
    std::optional<EllipseStamp> stamp_;
    State state_;
    // The Qt pen and brush of state_, made when first needed after a change.
    std::optional<std::pair<QPen, QBrush>> pen_and_brush_;
    std::vector<State> saved_;
    std::optional<Font> cached_font_;  // the Font that device_font_ was made for
    DeviceFont device_font_;
    TextCache* texts_ = nullptr;
    TextCache::FontTexts* font_texts_ = nullptr;  // of device_font_, when looked up
};

// QPen and QColor of Canvas values on a device of `scale` device units per
// logical unit; exposed for the widgets that draw beside a canvas.
QColor to_qcolor(Colour colour);
// And back: the colour value of a QColor (its alpha dropped).
Colour to_colour(const QColor& colour);
QPen to_qpen(const Pen& pen, double scale);

}  // namespace kvd
