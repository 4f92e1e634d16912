#include "doc/option_fields.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "base/numeric.h"

namespace kvd {
namespace {

// The number of a sized field's text: the field shows its unit after the
// number (" 2.6 mm"), so a trailing "mm" is part of what it may hold.
std::optional<double> sized_number(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.ends_with("mm")) text.remove_suffix(2);
    double value = 0;
    if (!parse_decimal_number(text, value) || std::isnan(value)) return std::nullopt;
    return value;
}

int clamp_to(long long value, const SizedRange& range) {
    return static_cast<int>(std::clamp<long long>(value, range.min, range.max));
}

int factor(const SizedRange& range) {
    return range.unit == SizedUnit::kMillimetres ? 10 : 1;
}

}  // namespace

std::optional<int> sized_value_from_text(std::string_view text, const SizedRange& range) {
    const std::optional<double> number = sized_number(text);
    if (!number) return std::nullopt;
    // Clamped as a double first: a typed 1e30 must not overflow the int.
    if (range.unit == SizedUnit::kMillimetres) {
        const double millimetres = std::clamp(std::trunc(*number), static_cast<double>(range.min),
                                              static_cast<double>(range.max));
        return static_cast<int>(millimetres) * 10;
    }
    const double tenths =
        std::clamp(*number * 10.0, static_cast<double>(range.min), static_cast<double>(range.max));
    return clamp_to(std::lround(tenths), range);
}

std::string sized_text(int stored, const SizedRange& range) {
    if (range.unit == SizedUnit::kMillimetres) return strprintf("%4d mm", stored / 10);
    return strprintf("%4.1f mm", stored / 10.0);
}

int sized_spin_position(int stored, const SizedRange& range) {
    return stored / factor(range);
}

int sized_value_after_step(int stored, int delta, const SizedRange& range) {
    const long long position = static_cast<long long>(sized_spin_position(stored, range)) + delta;
    return clamp_to(position, range) * factor(range);
}

}  // namespace kvd
