#pragma once
// Rounding shared by every settlement the program shows or stores, and the
// readers of numbers typed as text.

#include <cmath>
#include <string_view>

namespace kvd {

// x to two decimals, halves away from zero: (x ± 0.005) · 100 truncated toward
// zero, divided by 100. Every average settlement, per-grade difference and
// typed or scaled displacement goes through it, so that the tables, curves and
// exports agree to the last digit.
inline double round2(double x) {
    double shifted = x >= 0 ? (x + 0.005) * 100.0 : (x - 0.005) * 100.0;
    // + 0.0 turns the -0.0 of a value just below zero into 0.0 ("-0.00" otherwise).
    return std::trunc(shifted) / 100.0 + 0.0;
}

// The messages that refuse a typed text that is not a number (the texts the
// platform's own number fields give).
inline constexpr char kEnterNumberMessage[] = "请输入一个数字。";
inline constexpr char kEnterIntegerMessage[] = "请输入一个整数。";

// The program's two readers of typed numbers. Each takes the whole text:
// blanks (spaces, tabs) around the number, nothing else besides it.

// A whole number in decimal: an optional sign and digits. False for anything
// else ("12.0", "1e3", "3-4", "") and for a number beyond long long.
bool parse_whole_number(std::string_view text, long long& value);

// A decimal number: an optional sign, digits with at most one point (at
// least one digit in all) and an optional exponent ("e" or "E", an optional
// sign, digits). False for anything else: "2.5..-", "2.5xyz", "--1", ".",
// "inf", "nan", hexadecimal, "". A number too large for a double reads as
// an infinity of its sign (a range check then refuses it), one too small as 0.
bool parse_decimal_number(std::string_view text, double& value);

}  // namespace kvd
