#pragma once
// Rounding shared by every settlement the program shows or stores.

#include <cmath>

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

}  // namespace kvd
