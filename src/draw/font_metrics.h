#pragma once
// FontMetrics: text measurement without a screen. The grid derives its column
// widths from the font's average character width and height; the core uses a
// fixed approximation, the program passes the screen font's real metrics.

#include <string_view>

#include "draw/canvas.h"

namespace kvd {

class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    // Average character width (of the Latin letters) of a font, in its units.
    virtual int average_char_width(const Font& font) const = 0;
    // Height plus external leading of one line.
    virtual int line_height(const Font& font) const = 0;
    virtual Size text_extent(const Font& font, std::string_view text) const = 0;
};

// Width of an ASCII character half the font height, of any other character
// the full height; line height 1.15 times the height. Close enough to the
// program's fonts for layout decisions and fully reproducible.
class FixedFontMetrics : public FontMetrics {
public:
    int average_char_width(const Font& font) const override;
    int line_height(const Font& font) const override;
    Size text_extent(const Font& font, std::string_view text) const override;
};

}  // namespace kvd
