#include "analysis/curve_measures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/line_fit.h"

namespace kvd {
namespace {

// Ratios are capped so that a grade after one that did not settle at all
// compares as a very large, but finite, jump.
constexpr double kRatioCap = 1000.0;
// Settlements carry two decimals; a difference of exactly the criterion must
// not fail it by the last bit of a double.
constexpr double kTolerance = 1e-9;

double capped_ratio(double value, double reference) {
    if (value <= 0) return 0;
    if (reference <= value / kRatioCap) return kRatioCap;
    return value / reference;
}

// Δs/ΔQ of curve point i (i >= 1); nothing when the load did not increase.
std::optional<double> slope(const LoadCurve& curve, std::size_t i) {
    const double step = curve.points[i].load - curve.points[i - 1].load;
    if (!(step > 0)) return std::nullopt;
    return curve.points[i].increment / step;
}

// Mean slope of points 1 ... n-1 that have one.
std::optional<double> mean_slope_before(const LoadCurve& curve, std::size_t n) {
    double sum = 0;
    int count = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (auto s = slope(curve, i)) {
            sum += *s;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return sum / count;
}

}  // namespace

SlopeJump find_slope_jump(const LoadCurve& curve) {
    SlopeJump result;
    double largest = -1;
    for (std::size_t n = 2; n < curve.points.size(); ++n) {
        const auto current = slope(curve, n);
        const auto previous = slope(curve, n - 1);
        const auto mean = mean_slope_before(curve, n);
        if (!current || !previous || !mean) continue;
        const double to_previous = capped_ratio(*current, *previous);
        const double to_mean = capped_ratio(*current, *mean);
        const double combined = std::min(to_previous, to_mean);
        const bool jumps = combined >= kSteepDropSlopeFactor &&
                           curve.points[n].increment >= kSteepDropMinIncrement;
        if (combined > largest || jumps) {
            largest = combined;
            result.largest_at = static_cast<int>(n);
            result.ratio_previous = to_previous;
            result.ratio_mean = to_mean;
        }
        if (jumps) {
            result.index = static_cast<int>(n);
            return result;
        }
    }
    return result;
}

ProportionalLimit find_proportional_limit(const LoadCurve& curve) {
    ProportionalLimit result;
    double largest = -1;
    for (std::size_t n = 3; n < curve.points.size(); ++n) {
        const auto current = slope(curve, n);
        const auto mean = mean_slope_before(curve, n);
        if (!current || !mean) continue;
        const double ratio = capped_ratio(*current, *mean);
        if (ratio > largest || ratio >= kProportionalLimitFactor) {
            largest = ratio;
            result.largest_at = static_cast<int>(n);
            result.ratio = ratio;
        }
        if (ratio >= kProportionalLimitFactor) {
            result.index = static_cast<int>(n) - 1;
            return result;
        }
    }
    return result;
}

int first_increment_exceeding(const LoadCurve& curve, double factor, double min_total) {
    for (std::size_t n = 2; n < curve.points.size(); ++n) {
        const CurvePoint& point = curve.points[n];
        if (point.increment > factor * curve.points[n - 1].increment + kTolerance &&
            point.settlement > min_total) {
            return static_cast<int>(n);
        }
    }
    return -1;
}

IncrementRatio largest_increment_ratio(const LoadCurve& curve) {
    IncrementRatio largest;
    for (std::size_t n = 2; n < curve.points.size(); ++n) {
        const double before = curve.points[n - 1].increment;
        if (!(before > 0)) continue;
        const double ratio = curve.points[n].increment / before;
        if (ratio > largest.ratio) largest = {ratio, static_cast<int>(n)};
    }
    return largest;
}

std::optional<double> settlement_at_minute(const CurvePoint& point, double minutes) {
    const auto& r = point.readings;
    if (r.empty() || minutes < r.front().minutes || minutes > r.back().minutes) return std::nullopt;
    for (std::size_t i = 1; i < r.size(); ++i) {
        if (minutes <= r[i].minutes) {
            const double span = r[i].minutes - r[i - 1].minutes;
            if (!(span > 0)) return r[i].settlement;
            const double t = (minutes - r[i - 1].minutes) / span;
            return r[i - 1].settlement + t * (r[i].settlement - r[i - 1].settlement);
        }
    }
    return r.back().settlement;
}

TailBend tail_bend(const CurvePoint& point, double criterion_mm) {
    TailBend bend;
    std::vector<double> lg_t;
    std::vector<double> s;
    std::vector<double> minutes;
    for (const GradeReading& reading : point.readings) {
        if (reading.minutes <= 0) continue;
        lg_t.push_back(std::log10(reading.minutes));
        s.push_back(reading.settlement);
        minutes.push_back(reading.minutes);
    }
    const std::size_t n = lg_t.size();
    const std::size_t tail = kTailReadings;
    if (n < tail + 1) return bend;
    // The early part ends where the tail begins: they share that reading.
    const std::size_t early_count = n - tail + 1;
    const LineFit early =
        fit_line(std::span(lg_t).first(early_count), std::span(s).first(early_count));
    const LineFit late = fit_line(std::span(lg_t).last(tail), std::span(s).last(tail));
    if (!early.ok || !late.ok) return bend;
    bend.measurable = true;
    bend.early_slope = early.slope;
    bend.tail_slope = late.slope;
    bend.ratio = capped_ratio(late.slope, early.slope);
    const double hours = (minutes.back() - minutes[n - tail]) / 60.0;
    if (hours > 0) bend.last_hour = (s.back() - s[n - tail]) / hours;
    bend.bends = bend.ratio >= kTailBendFactor && bend.last_hour &&
                 *bend.last_hour > criterion_mm + kTolerance;
    return bend;
}

FirstTailBend find_tail_bend(const LoadCurve& curve, double criterion_mm) {
    FirstTailBend result;
    double largest = -1;
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        if (!(curve.points[i].load > 0)) continue;
        const TailBend bend = tail_bend(curve.points[i], criterion_mm);
        if (!bend.measurable) continue;
        if (bend.ratio > largest || bend.bends) {
            largest = bend.ratio;
            result.largest_at = static_cast<int>(i);
            result.bend = bend;
        }
        if (bend.bends) {
            result.index = static_cast<int>(i);
            return result;
        }
    }
    return result;
}

std::optional<EndStability> end_stability(const CurvePoint& point, double criterion_mm) {
    if (point.readings.empty()) return std::nullopt;
    // Two hourly settlements from readings half an hour apart over the last
    // hour and a half: t-90 -> t-30 and t-60 -> t.
    const double end = point.readings.back().minutes;
    const auto at = [&](double minutes) { return settlement_at_minute(point, minutes); };
    const auto s_end = at(end);
    const auto s_30 = at(end - 30);
    const auto s_60 = at(end - 60);
    const auto s_90 = at(end - 90);
    if (!s_end || !s_30 || !s_60 || !s_90) return std::nullopt;
    EndStability stability;
    stability.last_hour = *s_end - *s_60;
    stability.hour_before = *s_30 - *s_90;
    stability.stable = stability.last_hour <= criterion_mm + kTolerance &&
                       stability.hour_before <= criterion_mm + kTolerance;
    return stability;
}

bool unstable_after_a_day(const CurvePoint& point, double criterion_mm) {
    if (point.holding_minutes < kDayMinutes) return false;
    const auto stability = end_stability(point, criterion_mm);
    return stability && !stability->stable;
}

}  // namespace kvd
