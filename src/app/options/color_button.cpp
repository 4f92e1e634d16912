#include "app/options/color_button.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "qt/qt_canvas.h"

namespace kvd {
namespace {

// The colour fills the face inside this inset.
constexpr int kInsetX = 6;
constexpr int kInsetY = 4;

}  // namespace

CColorButton::CColorButton(QWidget* parent)
    : QPushButton(parent), colour_(to_colour(palette().color(QPalette::Button))) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CColorButton::choose);
}

void CColorButton::set_colour(Colour colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

QSize CColorButton::sizeHint() const {
    const int h = fontMetrics().height() + 2 * kInsetY + 4;
    return {std::max(56, 3 * h), h};
}

void CColorButton::choose() {
    QColorDialog dialog(to_qcolor(colour_), this);
    dialog.setWindowTitle(QStringLiteral("颜色"));
    // Qt's own dialog, in Chinese whatever the desktop's language is.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return;
    const Colour chosen = to_colour(dialog.selectedColor());
    set_colour(chosen);
    emit colour_chosen(chosen);
}

void CColorButton::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), pal.color(QPalette::Button));
    // Two tones per side: outer light and dark, then lighter inner ones.
    const bool down = isDown();
    QColor light = pal.color(QPalette::Light);
    QColor dark = pal.color(QPalette::Shadow);
    QColor inner_light = pal.color(QPalette::Midlight);
    QColor inner_dark = pal.color(QPalette::Dark);
    if (down) {
        std::swap(light, dark);
        std::swap(inner_light, inner_dark);
    }
    auto frame = [&painter](const QRect& f, const QColor& top_left, const QColor& bottom_right) {
        painter.setPen(top_left);
        painter.drawLine(f.topLeft(), f.topRight());
        painter.drawLine(f.topLeft(), f.bottomLeft());
        painter.setPen(bottom_right);
        painter.drawLine(f.bottomLeft(), f.bottomRight());
        painter.drawLine(f.topRight(), f.bottomRight());
    };
    frame(r, light, dark);
    frame(r.adjusted(1, 1, -1, -1), inner_light, inner_dark);

    const QRect face = rect().adjusted(kInsetX, kInsetY, -kInsetX, -kInsetY);
    if (isEnabled()) {
        painter.fillRect(face, to_qcolor(colour_));
    } else {
        painter.fillRect(face, pal.color(QPalette::Disabled, QPalette::Button));
    }
    if (!text().isEmpty()) {
        painter.setPen(isEnabled() ? pal.color(QPalette::ButtonText)
                                   : pal.color(QPalette::Disabled, QPalette::Text));
        painter.drawText(face, Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 2, -3, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace kvd
