#include "app/options/style_combos.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "curves/mark_symbol.h"
#include "qt/qt_canvas.h"

namespace kvd {
namespace {

constexpr int kPenStyles = 5;
constexpr QSize kLineIcon{96, 12};
constexpr QSize kSymbolIcon{64, 20};

// Qt's pen styles for the stored Windows numbers 0 ... 4.
Qt::PenStyle qt_pen_style(int style) {
    switch (style) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

// An icon drawn twice: in the window-text colour for the list, and in the
// highlighted-text colour for the selected entry.
template <typename Draw>
QIcon two_tone_icon(const QPalette& palette, QSize size, Draw draw) {
    QIcon icon;
    const std::pair<QIcon::Mode, QPalette::ColorRole> modes[] = {
        {QIcon::Normal, QPalette::WindowText},
        {QIcon::Active, QPalette::WindowText},
        {QIcon::Selected, QPalette::HighlightedText},
    };
    for (const auto& [mode, role] : modes) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            draw(painter, palette.color(role));
        }
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

void select_data(QComboBox* combo, int value) {
    combo->setCurrentIndex(combo->findData(value));
}

int selected_data(const QComboBox* combo) {
    return combo->currentIndex() < 0 ? -1 : combo->currentData().toInt();
}

}  // namespace

CLineStyleCombo::CLineStyleCombo(QWidget* parent) : QComboBox(parent) {
    setIconSize(kLineIcon);
    for (int style = 0; style < kPenStyles; ++style) {
        const QIcon icon = two_tone_icon(palette(), kLineIcon, [style](QPainter& p, QColor ink) {
            p.setPen(QPen(ink, 1, qt_pen_style(style)));
            const int y = kLineIcon.height() / 2;
            p.drawLine(0, y, kLineIcon.width() - 1, y);
        });
        addItem(icon, QString(), style);
    }
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit value_chosen(itemData(index).toInt()); });
}

void CLineStyleCombo::show_value(int pen_style) {
    select_data(this, pen_style);
}

int CLineStyleCombo::value() const {
    return selected_data(this);
}

CMarkFontCombo::CMarkFontCombo(QWidget* parent) : QComboBox(parent) {
    setIconSize(kSymbolIcon);
    for (int symbol = 0; symbol < static_cast<int>(kMarkSymbols.size()); ++symbol) {
        if (symbol == 0) {
            addItem(QStringLiteral(" 无"), symbol);
        } else {
            const QIcon icon =
                two_tone_icon(palette(), kSymbolIcon, [symbol](QPainter& p, QColor ink) {
                    p.setRenderHint(QPainter::TextAntialiasing);
                    QtCanvas canvas(p, CanvasMapping{1.0, 0.0, 0.0, true});
                    canvas.set_text_colour(rgb(ink.red(), ink.green(), ink.blue()));
                    Font font;
                    font.face = "Times New Roman";
                    font.height = 14;
                    // Left-aligned in the icon: the pair ends where its width says.
                    const MarkSymbol pair = mark_symbol(symbol);
                    Font small = font;
                    small.height = font.height * 3 / 5;
                    canvas.set_font(small);
                    int width = pair.subscript.empty() ? 0 : canvas.text_extent(pair.subscript).cx;
                    canvas.set_font(font);
                    width += canvas.text_extent(pair.symbol).cx;
                    draw_mark_symbol(canvas, symbol, 2 + width, -2, font.height, font);
                });
            addItem(icon, QString(), symbol);
        }
        setItemData(count() - 1, QSize(kSymbolIcon.width(), kItemHeight), Qt::SizeHintRole);
    }
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit value_chosen(itemData(index).toInt()); });
}

void CMarkFontCombo::show_value(int symbol) {
    select_data(this, symbol);
}

int CMarkFontCombo::value() const {
    return selected_data(this);
}

}  // namespace kvd
