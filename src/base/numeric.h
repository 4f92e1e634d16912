#pragma once
// Rounding shared by every settlement the program shows or stores, and the
// reading of a whole number given as text.

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

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

// A whole number in decimal making up the whole text (as strtoll reads it:
// leading blanks and a sign allowed, nothing after it); false for anything
// else and for a number beyond long long.
inline bool parse_whole_number(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && end != text.c_str() && *end == '\0';
}

}  // namespace kvd
