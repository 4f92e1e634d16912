#pragma once
// Least-squares straight line y = slope · x + intercept with its coefficient
// of determination, for the extrapolation methods and the s-lgt tails.

#include <span>

namespace kvd {

struct LineFit {
    bool ok = false;  // at least two distinct x values
    double slope = 0;
    double intercept = 0;
    double r2 = 0;  // 1 for a perfect fit; 1 too when every y is equal
    int points = 0;
};

LineFit fit_line(std::span<const double> x, std::span<const double> y);

}  // namespace kvd
