#pragma once
// Helpers for reading rendered pages in tests: where the ink is.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << list.join(QStringLiteral(", ")).toStdString();
}
inline std::ostream& operator<<(std::ostream& out, const QStringList& list) {
    return out << list.join(QStringLiteral(", ")).toStdString();
}

namespace kvd::test {

// A pixel clearly darker than white paper.
inline bool is_ink(QRgb pixel) {
    return qGray(pixel) < 160;
}

inline bool near_colour(QRgb pixel, const QColor& colour, int tolerance = 40) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// Bounding box of the ink inside `area`; empty when there is none.
inline QRect ink_bounds(const QImage& image, const QRect& area) {
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (is_ink(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

inline int ink_count(const QImage& image, const QRect& area) {
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) count += is_ink(image.pixel(x, y));
    }
    return count;
}

// Number of horizontal bands of rows holding ink, separated by blank rows:
// the number of text lines in `area`.
inline int ink_bands(const QImage& image, const QRect& area) {
    int bands = 0;
    bool in_band = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool ink = ink_count(image, QRect(area.left(), y, area.width(), 1)) > 0;
        if (ink && !in_band) ++bands;
        in_band = ink;
    }
    return bands;
}

}  // namespace kvd::test
