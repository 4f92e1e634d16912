#include "curves/mark_computation.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "base/numeric.h"

namespace kvd {

namespace {

// The ratio search walks the curve in steps of 0.01 mm. A real test spans a
// few hundred millimetres; this bound on the steps of one search (100 m of
// settlement) keeps a damaged file's absurd values from stalling the dialog,
// which searches again on every key.
constexpr long long kMaxRatioSteps = 10'000'000;

struct LoadingCurve {
    std::vector<double> loads;
    std::vector<double> settlements;
    std::size_t size() const { return loads.size(); }
};

LoadingCurve loading_curve(const CTestData& grades) {
    LoadingCurve curve;
    for (int g = 0; g < grades.grade_count(); ++g) {
        const COneGradeData* grade = grades.grade(g);
        if (!grade || grade->empty() || grade->front().loading != kLoading) continue;
        curve.loads.push_back(grade->front().load);
        curve.settlements.push_back(grade->back().settlement);
    }
    return curve;
}

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

double ratio_of(double settlement, double load) {
    return load != 0 ? round3(settlement / load) : 0;
}

// The load at settlement s on segment k (the upper load when the segment is flat).
double load_on_segment(const LoadingCurve& c, std::size_t k, double s) {
    const double l0 = c.loads[k], l1 = c.loads[k + 1];
    const double s0 = c.settlements[k], s1 = c.settlements[k + 1];
    if (s1 == s0) return round_whole(l1);
    return round_whole(l0 + (s - s0) * (l1 - l0) / (s1 - s0));
}

MarkResult by_load(const LoadingCurve& c, double q) {
    if (!std::isfinite(q)) return {};
    for (std::size_t k = 0; k + 1 < c.size(); ++k) {
        const double l0 = c.loads[k], l1 = c.loads[k + 1];
        if (!(l0 <= q && q <= l1)) continue;
        const double s0 = c.settlements[k], s1 = c.settlements[k + 1];
        const double s = round2(l1 == l0 ? s0 : s0 + (q - l0) * (s1 - s0) / (l1 - l0));
        if (!std::isfinite(s)) return {};
        return {q, s, ratio_of(s, q), true};
    }
    return {};
}

MarkResult by_settlement(const LoadingCurve& c, double s) {
    if (!std::isfinite(s)) return {};
    for (std::size_t k = 0; k + 1 < c.size(); ++k) {
        const double s0 = c.settlements[k], s1 = c.settlements[k + 1];
        const bool between = (s0 <= s && s <= s1) || (s1 <= s && s <= s0);
        if (!between) continue;
        const double q = load_on_segment(c, k, s);
        if (!std::isfinite(q)) return {};
        return {q, s, ratio_of(s, q), true};
    }
    return {};
}

MarkResult by_ratio(const LoadingCurve& c, double value) {
    const double r = round3(value);
    if (!std::isfinite(r) || c.size() < 2) return {};
    long long budget = kMaxRatioSteps;
    for (std::size_t k = c.size() - 1; k-- > 0;) {
        const double s0 = c.settlements[k], s1 = c.settlements[k + 1];
        if (s1 == s0 || !finite(s0, s1) || !finite(c.loads[k], c.loads[k + 1])) continue;
        // From S[k+1] toward S[k] in steps of 0.01 mm, both ends included;
        // the settlements are two-decimal values, so the span is whole steps.
        const double direction = s1 > s0 ? -0.01 : 0.01;
        const double span = std::floor(std::fabs(s1 - s0) * 100 + 1e-6);
        const long long last =
            span < static_cast<double>(budget) ? static_cast<long long>(span) : budget;
        for (long long j = 0; j <= last; ++j) {
            if (--budget < 0) return {};
            const double s = round2(s1 + static_cast<double>(j) * direction);
            const double q = load_on_segment(c, k, s);
            if (q == 0 || !std::isfinite(q)) continue;
            if (round3(s / q) == r) return {q, s, r, true};
        }
    }
    return {};
}

}  // namespace

double round3(double x) {
    const double shifted = x >= 0 ? (x + 0.0005) * 1000.0 : (x - 0.0005) * 1000.0;
    return std::trunc(shifted) / 1000.0;
}

double round_whole(double x) {
    return std::trunc(x >= 0 ? x + 0.5 : x - 0.5);
}

MarkResult compute_mark(const CTestData& grades, MarkMode mode, double value) {
    const LoadingCurve curve = loading_curve(grades);
    switch (mode) {
        case MarkMode::kByLoad:
            return by_load(curve, value);
        case MarkMode::kBySettlement:
            return by_settlement(curve, value);
        case MarkMode::kByRatio:
            return by_ratio(curve, value);
        case MarkMode::kFree:
            break;
    }
    return {};
}

MarkResult free_mark(const CTestData& grades, double load, double settlement) {
    const Extremes e = grades.extremes();
    MarkResult result{load, settlement, 0, false};
    result.valid = load >= 0 && load <= e.max_abs_load && settlement >= e.min_settlement &&
                   settlement <= e.max_settlement;
    return result;
}

MarkDialogState recompute_mark_fields(const CTestData& grades, const MarkDialogState& state) {
    MarkDialogState shown = state;
    switch (state.mode) {
        case MarkMode::kByLoad: {
            const MarkResult m = compute_mark(grades, state.mode, state.load);
            shown.settlement = m.settlement;
            shown.ratio = m.ratio;
            break;
        }
        case MarkMode::kBySettlement: {
            const MarkResult m = compute_mark(grades, state.mode, state.settlement);
            shown.load = m.load;
            shown.ratio = m.ratio;
            break;
        }
        case MarkMode::kByRatio: {
            const MarkResult m = compute_mark(grades, state.mode, state.ratio);
            shown.load = m.load;
            shown.settlement = m.settlement;
            break;
        }
        case MarkMode::kFree:
            break;
    }
    return shown;
}

MarkResult mark_of_dialog(const CTestData& grades, const MarkDialogState& state) {
    switch (state.mode) {
        case MarkMode::kByLoad:
            return compute_mark(grades, state.mode, state.load);
        case MarkMode::kBySettlement:
            return compute_mark(grades, state.mode, state.settlement);
        case MarkMode::kByRatio:
            return compute_mark(grades, state.mode, state.ratio);
        case MarkMode::kFree:
            return free_mark(grades, state.load, state.settlement);
    }
    return {};
}

}  // namespace kvd
