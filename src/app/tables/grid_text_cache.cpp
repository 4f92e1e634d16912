#include "app/tables/grid_text_cache.h"

namespace kvd {

const GridTextCache::Text& GridTextCache::FontTexts::text(const QString& text) {
    auto found = texts_.constFind(text);
    if (found != texts_.constEnd()) return *found;
    if (texts_.size() >= kKeptTexts) texts_.clear();
    Text laid_out;
    laid_out.glyphs.setText(text);
    laid_out.glyphs.setTextFormat(Qt::PlainText);
    laid_out.glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
    laid_out.glyphs.prepare(QTransform(), font_);
    laid_out.size = laid_out.glyphs.size();
    return *texts_.insert(text, laid_out);
}

GridTextCache::FontTexts& GridTextCache::font(const Font& key, const QFont& font) {
    for (FontTexts& known : fonts_) {
        if (known.key() == key) return known;
    }
    return fonts_.emplace_back(key, font);
}

}  // namespace kvd
