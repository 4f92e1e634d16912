#pragma once
// QtFontMetrics: real text measurement for the program's screen, where the
// grid sizes its rows and columns from the font it shows. Fonts are given in
// some unit (screen pixels by default); answers come back in the same unit.

#include "draw/font_metrics.h"

class QPaintDevice;

namespace kvd {

class QtFontMetrics : public FontMetrics {
  public:
    // `device_per_unit`: device units per font unit; `device`: whose
    // resolution to measure at (nullptr: the screen, in whole pixels). Needs a
    // QGuiApplication.
    explicit QtFontMetrics(double device_per_unit = 1.0, const QPaintDevice* device = nullptr);

    int average_char_width(const Font& font) const override;
    // Cell height plus the face's external leading.
    int line_height(const Font& font) const override;
    // Advance width, and the cell height (the Font's height when positive).
    Size text_extent(const Font& font, std::string_view text) const override;

  private:
    int to_units(double device_length) const;

    double device_per_unit_;
    const QPaintDevice* device_;
};

}  // namespace kvd
