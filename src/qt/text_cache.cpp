#include "qt/text_cache.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>

namespace kvd {

const TextCache::Text& TextCache::FontTexts::text(const QString& text) {
    auto found = texts_.constFind(text);
    if (found != texts_.constEnd()) return *found;
    if (texts_.size() >= kKeptTexts) texts_.clear();
    Text laid_out;
    laid_out.glyphs.setText(text);
    laid_out.glyphs.setTextFormat(Qt::PlainText);
    laid_out.glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
    laid_out.glyphs.prepare(QTransform(), font_);
    laid_out.size = laid_out.glyphs.size();
    laid_out.advance = QFontMetricsF(font_).horizontalAdvance(text);
    // Characters the face lacks come from another face, whose ascent may be
    // the line's.
    QTextLayout line_of(text, font_);
    line_of.beginLayout();
    const QTextLine line = line_of.createLine();
    line_of.endLayout();
    laid_out.baseline = line.isValid() ? line.ascent() : QFontMetricsF(font_).ascent();
    return *texts_.insert(text, laid_out);
}

void TextCache::start_paint() {
    std::erase_if(fonts_, [](const FontTexts& texts) { return !texts.used_; });
    for (FontTexts& texts : fonts_) texts.used_ = false;
}

TextCache::FontTexts& TextCache::font(const QFont& font) {
    for (FontTexts& known : fonts_) {
        if (known.font_ == font) {
            known.used_ = true;
            return known;
        }
    }
    return fonts_.emplace_back(font);
}

}  // namespace kvd
