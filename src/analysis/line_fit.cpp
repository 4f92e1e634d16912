#include "analysis/line_fit.h"

#include <algorithm>
#include <cmath>

namespace kvd {

LineFit fit_line(std::span<const double> x, std::span<const double> y) {
    LineFit fit;
    const std::size_t n = std::min(x.size(), y.size());
    fit.points = static_cast<int>(n);
    if (n < 2) return fit;
    double mean_x = 0;
    double mean_y = 0;
    for (std::size_t i = 0; i < n; ++i) {
        mean_x += x[i];
        mean_y += y[i];
    }
    mean_x /= static_cast<double>(n);
    mean_y /= static_cast<double>(n);
    double sxx = 0;
    double sxy = 0;
    double syy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - mean_x;
        const double dy = y[i] - mean_y;
        sxx += dx * dx;
        sxy += dx * dy;
        syy += dy * dy;
    }
    if (!(sxx > 0) || !std::isfinite(sxx) || !std::isfinite(syy)) return fit;
    fit.ok = true;
    fit.slope = sxy / sxx;
    fit.intercept = mean_y - fit.slope * mean_x;
    fit.r2 = syy > 0 ? (sxy * sxy) / (sxx * syy) : 1.0;
    return fit;
}

}  // namespace kvd
