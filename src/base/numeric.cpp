#include "base/numeric.h"

#include <charconv>
#include <limits>

namespace kvd {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Removes a leading sign; true when it was "-".
bool take_sign(std::string_view& text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

std::size_t skip_digits(std::string_view text, std::size_t i) {
    while (i < text.size() && is_digit(text[i])) ++i;
    return i;
}

// Digits with at most one point and at least one digit, then an optional
// exponent: the whole of `number` (signless).
bool is_decimal_form(std::string_view number) {
    std::size_t i = skip_digits(number, 0);
    std::size_t digits = i;
    if (i < number.size() && number[i] == '.') {
        const std::size_t fraction = skip_digits(number, i + 1);
        digits += fraction - (i + 1);
        i = fraction;
    }
    if (digits == 0) return false;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
        const std::size_t exponent = skip_digits(number, i);
        if (exponent == i) return false;
        i = exponent;
    }
    return i == number.size();
}

// Whether a well-formed number that is out of a double's range is too small
// rather than too large: a negative exponent, or no exponent and only zeros
// before the point.
bool is_underflow(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos) return e + 1 < number.size() && number[e + 1] == '-';
    const std::string_view integer = number.substr(0, number.find('.'));
    return integer.find_first_not_of('0') == std::string_view::npos;
}

}  // namespace

bool parse_whole_number(std::string_view text, long long& value) {
    text = trimmed(text);
    const bool negative = take_sign(text);
    if (text.empty() || skip_digits(text, 0) != text.size()) return false;
    // The digits are read as the negative number they make, which also holds
    // the most negative long long.
    long long result = 0;
    for (char c : text) {
        const int digit = c - '0';
        if (result < (std::numeric_limits<long long>::min() + digit) / 10) return false;
        result = result * 10 - digit;
    }
    if (!negative) {
        if (result == std::numeric_limits<long long>::min()) return false;
        result = -result;
    }
    value = result;
    return true;
}

bool parse_decimal_number(std::string_view text, double& value) {
    text = trimmed(text);
    const bool negative = take_sign(text);
    if (!is_decimal_form(text)) return false;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        magnitude = is_underflow(text) ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc{} || end != text.data() + text.size()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace kvd
