#include "qt/qt_font_metrics.h"

#include <QFontMetricsF>
#include <cmath>

#include "qt/font_setup.h"

namespace kvd {

QtFontMetrics::QtFontMetrics(double device_per_unit, const QPaintDevice* device)
    : device_per_unit_(device_per_unit > 0 && std::isfinite(device_per_unit) ? device_per_unit
                                                                             : 1.0),
      device_(device) {}

int QtFontMetrics::to_units(double device_length) const {
    return static_cast<int>(std::lround(device_length / device_per_unit_));
}

int QtFontMetrics::average_char_width(const Font& font) const {
    return to_units(make_device_font(font, device_per_unit_, device_).average_char_width);
}

int QtFontMetrics::line_height(const Font& font) const {
    const DeviceFont device_font = make_device_font(font, device_per_unit_, device_);
    return to_units(device_font.cell_height + device_font.external_leading);
}

Size QtFontMetrics::text_extent(const Font& font, std::string_view text) const {
    const DeviceFont device_font = make_device_font(font, device_per_unit_, device_);
    const QFontMetricsF metrics =
        device_ ? QFontMetricsF(device_font.font, device_) : QFontMetricsF(device_font.font);
    const double width = metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return {to_units(width), to_units(device_font.cell_height)};
}

}  // namespace kvd
