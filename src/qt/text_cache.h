#pragma once
// TextCache: one-line texts laid out into glyphs once and kept from one paint
// to the next. Laying a text out (shaping it into glyphs) is most of what
// drawing a short text costs; a table shows the same few hundred texts paint
// after paint (a drag changes a column or two) and a curve the same labels,
// so a text is laid out once per font and drawn from its glyphs afterwards.
// The glyphs are laid out for the screen: for painting on screen and into
// images without scaling.
//
// A view owns one and calls start_paint() before each paint: the fonts the
// last paint did not use are let go then (a curve's fonts change with the
// window's size). Within a paint the FontTexts handed out stay valid.

#include <QFont>
#include <QHash>
#include <QSizeF>
#include <QStaticText>
#include <QString>
#include <deque>

namespace kvd {

class TextCache {
public:
    struct Text {
        QStaticText glyphs;
        QSizeF size;      // of the laid-out line, pixels
        double advance;   // where the next character would start, pixels
        double baseline;  // from the top of the line, pixels (the tallest face's ascent)
    };

    // The texts of one font.
    class FontTexts {
    public:
        explicit FontTexts(const QFont& font) : font_(font) {}
        const QFont& font() const { return font_; }
        // The text laid out in this font (laid out now when it is new).
        const Text& text(const QString& text);

    private:
        friend class TextCache;
        // Beyond this many texts the font starts again: a long table scrolled
        // through must not keep every number it ever showed.
        static constexpr qsizetype kKeptTexts = 4096;
        QFont font_;
        QHash<QString, Text> texts_;
        bool used_ = true;
    };

    // Lets go of the fonts not used since the last call. Never during a paint.
    void start_paint();
    FontTexts& font(const QFont& font);

private:
    std::deque<FontTexts> fonts_;
};

}  // namespace kvd
