#pragma once
// The sized fields of the curve style pages (line widths, the point
// diameter, the character heights): how a typed text becomes a stored value,
// how a stored value is shown, and what their spin controls step through.
//
// Stored values are tenths of a millimetre, as on paper at zoom 1. Widths and
// the diameter are typed and shown in millimetres with one decimal and their
// spin steps by a tenth; character heights are typed and shown in whole
// millimetres and their spin steps by a millimetre. A value out of range is
// clamped into it, never refused: the field always holds something the
// curves can draw. A text that is not a number is refused.

#include <optional>
#include <string>
#include <string_view>

namespace kvd {

enum class SizedUnit {
    kTenths,       // shown "%4.1f mm" of tenths / 10, typed in mm to a tenth
    kMillimetres,  // shown "%4d mm", typed in whole mm, stored mm x 10
};

struct SizedRange {
    int min = 0;  // in the unit the field is typed in: tenths or millimetres
    int max = 0;
    SizedUnit unit = SizedUnit::kTenths;
};

// Line widths up to 5 mm: as wide as the stored settings keep, so that a
// width typed here (2.56 mm is taken as 2.6 mm) is still there after a restart.
inline constexpr SizedRange kLineWidthRange{1, 50, SizedUnit::kTenths};
inline constexpr SizedRange kPointDiameterRange{0, 40, SizedUnit::kTenths};
inline constexpr SizedRange kTitleHeightRange{3, 20, SizedUnit::kMillimetres};
inline constexpr SizedRange kTickHeightRange{1, 10, SizedUnit::kMillimetres};
inline constexpr SizedRange kMarkHeightRange{1, 10, SizedUnit::kMillimetres};

// The stored value (tenths of a millimetre) a typed text gives: one number,
// with or without the " mm" the field shows after it; widths and the
// diameter to the nearest tenth, heights the whole millimetres; clamped to
// the range. Nothing for a text that is not one number: the field refuses it
// with kEnterNumberMessage and keeps its value.
std::optional<int> sized_value_from_text(std::string_view text, const SizedRange& range);
// The text a stored value is shown as (" 2.6 mm", "  20 mm").
std::string sized_text(int stored, const SizedRange& range);
// The spin position of a stored value: tenths, or whole millimetres.
int sized_spin_position(int stored, const SizedRange& range);
// A spin step from a stored value: the position moved by delta, clamped,
// back as a stored value.
int sized_value_after_step(int stored, int delta, const SizedRange& range);

}  // namespace kvd
