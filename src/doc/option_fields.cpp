#include "doc/option_fields.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "base/format.h"

namespace kvd {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The span of the number at `pos` (after blanks and sign): digits, an
// optional fraction and an exponent that has digits.
std::size_t number_end(std::string_view text, std::size_t pos, bool fraction) {
    std::size_t i = pos;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    if (fraction && i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return pos;
    if (fraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && is_digit(text[e])) {
            while (e < text.size() && is_digit(text[e])) ++e;
            i = e;
        }
    }
    return i;
}

struct Leading {
    std::string_view digits;  // the number without its sign
    bool negative = false;
};

Leading leading_part(std::string_view text, bool fraction) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) ++i;
    Leading part;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        part.negative = text[i] == '-';
        ++i;
    }
    part.digits = text.substr(i, number_end(text, i, fraction) - i);
    return part;
}

int clamp_to(long long value, const SizedRange& range) {
    return static_cast<int>(std::clamp<long long>(value, range.min, range.max));
}

int factor(const SizedRange& range) {
    return range.unit == SizedUnit::kMillimetres ? 10 : 1;
}

}  // namespace

double leading_number(std::string_view text) {
    const Leading part = leading_part(text, true);
    if (part.digits.empty()) return 0;
    double value = 0;
    const auto [end, error] =
        std::from_chars(part.digits.data(), part.digits.data() + part.digits.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: far out when it has whole digits and no negative
        // exponent ("1e999", a hundred nines), otherwise next to nothing
        // ("1e-999", "0.000...1").
        const std::string_view mantissa = part.digits.substr(0, part.digits.find_first_of("eE"));
        const std::string_view whole = mantissa.substr(0, mantissa.find('.'));
        const bool negative_exponent =
            mantissa.size() < part.digits.size() &&
            part.digits.find('-', mantissa.size()) != std::string_view::npos;
        const bool has_whole = whole.find_first_not_of('0') != std::string_view::npos;
        value = has_whole && !negative_exponent ? HUGE_VAL : 0.0;
    } else if (error != std::errc()) {
        return 0;
    }
    return part.negative ? -value : value;
}

int leading_integer(std::string_view text) {
    const Leading part = leading_part(text, false);
    if (part.digits.empty()) return 0;
    long long value = 0;
    const auto [end, error] =
        std::from_chars(part.digits.data(), part.digits.data() + part.digits.size(), value);
    (void)end;
    if (error != std::errc()) value = LLONG_MAX;  // only too many digits get here
    if (part.negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int sized_value_from_text(std::string_view text, const SizedRange& range) {
    if (range.unit == SizedUnit::kMillimetres) {
        return clamp_to(leading_integer(text), range) * 10;
    }
    // Clamped as a double first: a typed 1e30 must not overflow the int.
    const double tenths = std::clamp(leading_number(text) * 10.0, static_cast<double>(range.min),
                                     static_cast<double>(range.max));
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
