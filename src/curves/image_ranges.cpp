// CImage: the ranges of the axes and the mapping from values to the device.

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "curves/image.h"

namespace kvd {

namespace {

// The zero search below ends after a few steps for any real test; this bound
// only keeps an absurd span (a damaged file) from running for ever.
constexpr int kMaxRangeSearch = 100000;

double finite_or_zero(double v) {
    return std::isfinite(v) ? v : 0;
}

}  // namespace

DisplacementRange auto_displacement_range(double largest, double smallest) {
    const double hi = std::max(finite_or_zero(largest), 0.0);
    const double lo = std::min(finite_or_zero(smallest), 0.0);
    const double span = hi - lo;
    DisplacementRange r;
    r.y_min = lo;
    r.y_range = span < 5 ? std::trunc(span - 0.0001) + 1 : 5 * std::trunc((span - 0.0001) / 5 + 1);
    if (!(lo < 0 && hi > 0)) return r;
    // Zero must fall on one of the ten major divisions.
    for (int attempt = 0; attempt < kMaxRangeSearch; ++attempt) {
        const double step = r.y_range / 10;
        int i = 1;
        while (i <= 9 && !(-i * step < lo)) ++i;
        if (i <= 9 && (10 - i) * step > hi) {
            r.y_min = -i * step;
            return r;
        }
        r.y_range += r.y_range < 5 ? 1 : 5;
    }
    return r;
}

const Extremes& CImage::record_extremes() {
    const std::uint64_t serial = doc_.record_serial();
    if (span_.extremes_serial != serial) {
        span_.extremes = std::as_const(doc_).record().grades.extremes();
        span_.extremes_serial = serial;
    }
    return span_.extremes;
}

// timeMax is twice the largest time of a loading grade's reading; timeMin
// the smallest positive one (kNoMinutes when there is none).
void CImage::scan_times() {
    const std::uint64_t serial = doc_.record_serial();
    if (span_.times_serial == serial) return;
    const CTestData& grades = std::as_const(doc_).record().grades;
    long long largest = 0;
    int smallest_positive = kNoMinutes;
    bool any = false;
    for (int g = 0; g < grade_count_; ++g) {
        const COneGradeData* grade = grades.grade(g);
        if (!grade || grade->empty() || grade->front().loading != kLoading) continue;
        for (const SamplePoint& p : grade->points()) {
            largest = any ? std::max<long long>(largest, p.minutes) : p.minutes;
            any = true;
            if (p.minutes > 0 && p.minutes < smallest_positive) smallest_positive = p.minutes;
        }
    }
    span_.time_max = static_cast<int>(std::clamp<long long>(
        2 * largest, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    span_.time_min = smallest_positive;
    span_.times_serial = serial;
}

void CImage::calc_ranges() {
    const TestRecord& record = std::as_const(doc_).record();
    const TestParams& params = record.test_params;
    const CTestData& grades = record.grades;
    if (params.coordinate_mode == 1) {
        x_max_ = params.x_axis_max;
        y_min_ = params.y_axis_min;
        y_range_ = params.y_axis_max - params.y_axis_min;
    } else if (!capture_armed_) {
        // While a point is dragged the axes stay where they are.
        const Extremes& e = record_extremes();
        x_max_ = e.max_abs_load;
        const DisplacementRange r = auto_displacement_range(e.max_settlement, e.min_settlement);
        y_min_ = r.y_min;
        y_range_ = r.y_range;
    }

    plot_width_ = to_logical(static_cast<double>(frame_.plot_right.x) - frame_.origin.x);
    plot_height_ = to_logical(static_cast<double>(frame_.plot_bottom.y) - frame_.origin.y);
    grade_count_ = std::min(grades.grade_count(), kMaxCurveGrades);
    loading_grade_count_ = std::min(grades.loading_grade_count(), grade_count_);
    scan_times();
    time_max_ = span_.time_max;
    time_min_ = span_.time_min;
}

bool CImage::has_axes() const {
    return x_max_ > 0 && time_max_ > 0 && std::isfinite(y_min_) && std::isfinite(y_range_) &&
           y_range_ != 0;
}

int CImage::device_y(double settlement) const {
    if (y_range_ == 0 || !std::isfinite(y_range_)) return frame_.origin.y;
    const double offset = std::trunc((settlement - y_min_) * plot_height_ / y_range_);
    return to_logical(offset + frame_.origin.y);
}

int CImage::device_x(long long load) const {
    if (x_max_ <= 0) return frame_.origin.x;
    // Within the int range a product with the plot width fits 64 bits; a
    // load beyond it lies far off the axis either way.
    constexpr long long kLimit = std::numeric_limits<int>::max();
    const long long q = std::clamp(load, -kLimit, kLimit);
    const long long x = q * plot_width_ / x_max_ + frame_.origin.x;
    return to_logical(static_cast<double>(x));
}

double CImage::settlement_at(int y) const {
    if (plot_height_ == 0) return y_min_;
    return y_min_ - (static_cast<double>(frame_.origin.y) - y) * y_range_ / plot_height_;
}

Rect CImage::plot_rect() const {
    const Point o = frame_.origin;
    return {std::min(o.x, frame_.plot_right.x), std::max(o.y, frame_.plot_bottom.y),
            std::max(o.x, frame_.plot_right.x), std::min(o.y, frame_.plot_bottom.y)};
}

bool CImage::in_plot(Point p, int slack) const {
    const Rect r = plot_rect();
    return p.x >= r.left - slack && p.x <= r.right + slack && p.y <= r.top + slack &&
           p.y >= r.bottom - slack;
}

}  // namespace kvd
