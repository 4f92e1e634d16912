#include "app/options/option_dialog_parts.h"

#include <QPainter>
#include <QPixmap>

#include "curves/page_preview.h"
#include "qt/qt_canvas.h"

namespace kvd {
namespace {

constexpr int kBandStrips = 128;
constexpr int kCaptionLeft = 10;
constexpr int kCaptionTop = 4;

}  // namespace

CaptionBand::CaptionBand(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CaptionBand::set_text(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
}

QFont CaptionBand::caption_font() const {
    // The dialog's font, half as large again, bold.
    QFont font = this->font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 1.5);
    } else {
        font.setPixelSize(font.pixelSize() * 3 / 2);
    }
    font.setWeight(QFont::Bold);
    return font;
}

QSize CaptionBand::sizeHint() const {
    const QFontMetrics metrics(caption_font());
    return {kCaptionLeft + metrics.horizontalAdvance(text_) + kCaptionLeft,
            metrics.height() + 2 * kCaptionTop};
}

void CaptionBand::paintEvent(QPaintEvent* event) {
    (void)event;
    // Drawn off-screen and copied in one piece, so that it never flickers
    // strip by strip.
    QPixmap band(size() * devicePixelRatioF());
    band.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter p(&band);
        const QColor left = palette().color(QPalette::Dark);
        const QColor right = palette().color(QPalette::Button);
        const int w = width();
        for (int i = 0; i < kBandStrips; ++i) {
            const auto channel = [i](int a, int b) { return a + (b - a) * i / (kBandStrips - 1); };
            const QColor strip(channel(left.red(), right.red()),
                               channel(left.green(), right.green()),
                               channel(left.blue(), right.blue()));
            const int x0 = w * i / kBandStrips;
            const int x1 = w * (i + 1) / kBandStrips;
            p.fillRect(QRect(x0, 0, x1 - x0, height()), strip);
        }
        p.setFont(caption_font());
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(QRect(kCaptionLeft, kCaptionTop, w - kCaptionLeft, height() - 2 * kCaptionTop),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
    }
    QPainter(this).drawPixmap(0, 0, band);
}

PagePreviewWidget::PagePreviewWidget(const PageSetup& setup, const PrintContent& content,
                                     QWidget* parent)
    : QWidget(parent), setup_(setup), content_(content) {
    setMinimumSize(200, 240);
}

QSize PagePreviewWidget::sizeHint() const {
    return {230, 300};
}

void PagePreviewWidget::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(this);
    const QPalette& pal = palette();
    PagePreviewColours colours;
    colours.face = to_colour(pal.color(QPalette::Button));
    colours.shadow = to_colour(pal.color(QPalette::Dark));
    colours.dark_shadow = to_colour(pal.color(QPalette::Shadow));
    colours.highlight = to_colour(pal.color(QPalette::Light));
    colours.window = to_colour(pal.color(QPalette::Base));
    colours.window_text = to_colour(pal.color(QPalette::Text));
    // One unit a pixel, y up from the top edge: the widget's rectangle is
    // (0, 0) to (width, -height).
    QtCanvas canvas(painter, CanvasMapping{1.0, 0.0, 0.0, true});
    draw_page_preview(canvas, Rect{0, 0, width() - 1, -(height() - 1)}, setup_, content_, colours);
}

}  // namespace kvd
