#pragma once
// GridTextCache: the laid-out texts of a table's cells, kept from one paint
// to the next. Laying a text out (shaping it into glyphs) is most of what a
// table's paint costs; a table shows the same few hundred texts paint after
// paint (a drag changes a column or two), so a text is laid out once per font
// and drawn from its glyphs afterwards.

#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QStaticText>
#include <QString>
#include <deque>

#include "draw/canvas.h"

namespace kvd {

class GridTextCache {
public:
    struct Text {
        QStaticText glyphs;
        QSizeF size;  // of the laid-out line, pixels
    };

    // The texts of one font; stable while the cache lives.
    class FontTexts {
    public:
        FontTexts(const Font& key, const QFont& font) : key_(key), font_(font) {}
        const Font& key() const { return key_; }
        // The text laid out in this font (laid out now when it is new).
        const Text& text(const QString& text);

    private:
        // Beyond this many texts the font starts again: a long table scrolled
        // through must not keep every number it ever showed.
        static constexpr qsizetype kKeptTexts = 4096;
        Font key_;
        QFont font_;
        QHash<QString, Text> texts_;
    };

    FontTexts& font(const Font& key, const QFont& font);

private:
    std::deque<FontTexts> fonts_;
};

}  // namespace kvd
