#pragma once
// Font set-up: the program's faces ("Times New Roman", "宋体", ...) are not on
// a Linux machine. They are mapped to installed stand-ins (Liberation Serif is
// metric-compatible with Times New Roman; Noto Serif/Sans CJK SC stand in for
// the Chinese faces) so that Chinese never falls back to whatever face
// fontconfig happens to prefer.
//
// A Font's height is the character cell height (ascent + descent) of the face
// the program names, not of its stand-in: Noto CJK has a much taller cell per
// em than 宋体, so sizing it by its own cell would print Chinese a third
// smaller than intended. make_device_font() therefore sizes and places the
// stand-in with the named face's proportions where those are known.

#include <QFont>
#include <QString>
#include <QStringList>

#include "draw/canvas.h"

class QPaintDevice;

namespace kvd {

// Registers the substitutions with QFont. Needs a QGuiApplication; calling it
// again does nothing. The renderers and QtCanvas call it themselves.
void install_font_substitutions();

// The faces the program knows by name and maps to stand-ins ("Times New
// Roman", "宋体", "黑体" ...), in a fixed order: what the font lists offer
// before the installed families.
QStringList program_font_faces();

// The installed family that stands in for the serif Chinese faces (宋体 ...):
// "Noto Serif CJK SC", or "Noto Sans CJK SC" when the serif is not installed.
QString chinese_serif_family();
// The stand-in for the sans Chinese faces (黑体 ...): "Noto Sans CJK SC".
QString chinese_sans_family();

// A Font made ready for one device. Lengths are in device units.
struct DeviceFont {
    QFont font;
    double cell_height = 0;  // one line: the Font's height on the device
    double ascent = 0;       // from the top of the cell to the baseline
    double external_leading = 0;
    double average_char_width = 0;
};

// `device_per_unit`: device units per unit of the Font's height; `device`
// nullptr means screen pixels. The QFont gets fractional sizes through the
// device's resolution. As in a Windows logical font, a positive height is the
// cell height, a negative one the character (em) height, 0 a default size.
DeviceFont make_device_font(const Font& font, double device_per_unit, const QPaintDevice* device);

}  // namespace kvd
