#include "draw/font_metrics.h"

namespace kvd {

namespace {

// A negative height (the em height) is taken as the cell height: close enough here.
int cell_height(const Font& font) {
    return font.height < 0 ? -font.height : font.height;
}

}  // namespace

int FixedFontMetrics::average_char_width(const Font& font) const {
    return (cell_height(font) + 1) / 2;
}

int FixedFontMetrics::line_height(const Font& font) const {
    return cell_height(font) * 115 / 100;
}

Size FixedFontMetrics::text_extent(const Font& font, std::string_view text) const {
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            width += average_char_width(font);
            i += 1;
        } else {
            width += cell_height(font);
            i += lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        }
    }
    return {width, line_height(font)};
}

}  // namespace kvd
