#pragma once
// The measures behind the rules that the standards leave to judgement: a
// "clear" steep drop of the load-settlement curve, a "clear" downward bend of
// an s-lgt tail, a "clear" proportional limit, and whether a grade was stable
// when it ended. Each is a stated number against a named threshold; what it
// finds is presented as a proposal that the engineer may overrule.
//
// Slopes are settlement per unit load of one grade: Δs_n / ΔQ_n, so that a
// first grade of double size does not look like a jump.

#include <optional>

#include "analysis/load_curve.h"

namespace kvd {

// Steep drop (rise, for uplift) of the curve: the slope of grade n is at least
// this many times the slope of grade n-1 AND the mean slope of the grades
// before it (the mean keeps one small, noisy grade from making a jump), and
// the grade settled at least kSteepDropMinIncrement. A proposal.
inline constexpr double kSteepDropSlopeFactor = 3.0;
inline constexpr double kSteepDropMinIncrement = 1.0;  // mm

struct SlopeJump {
    int index = -1;             // curve point of the first grade that jumps; -1: none
    double ratio_previous = 0;  // at index; when none, at the grade with the largest ratio
    double ratio_mean = 0;
    int largest_at = -1;  // point with the largest min(ratio_previous, ratio_mean)
};

SlopeJump find_slope_jump(const LoadCurve& curve);

// Proportional limit (p0): the end of the initial straight part. The first
// grade n >= 3 whose slope is at least this many times the mean slope of
// grades 1 ... n-1 ends it; p0 is the load of grade n-1. A proposal.
inline constexpr double kProportionalLimitFactor = 1.5;

struct ProportionalLimit {
    int index = -1;    // curve point of the limit (the last straight grade); -1: none
    double ratio = 0;  // at the grade after the limit; when none, the largest seen
    int largest_at = -1;
};

ProportionalLimit find_proportional_limit(const LoadCurve& curve);

// s-lgt tail: the slope of settlement against lg t over the last
// kTailReadings readings of a grade against the slope over its earlier
// readings. The tail bends clearly downwards when it is at least
// kTailBendFactor times steeper and the grade settled more than the stability
// criterion in its last hour (a stable grade is not failing). A proposal.
inline constexpr double kTailBendFactor = 2.0;
inline constexpr int kTailReadings = 3;

struct TailBend {
    bool measurable = false;  // at least kTailReadings + 1 readings after minute 0
    double early_slope = 0;   // mm per decade of time
    double tail_slope = 0;
    double ratio = 0;
    std::optional<double> last_hour;  // settlement in the grade's last 60 minutes
    bool bends = false;
};

TailBend tail_bend(const CurvePoint& point, double criterion_mm);

struct FirstTailBend {
    int index = -1;  // curve point of the first loaded grade whose tail bends; -1: none
    TailBend bend;   // at index; when none, at the grade with the largest ratio
    int largest_at = -1;
};

FirstTailBend find_tail_bend(const LoadCurve& curve, double criterion_mm);

// Relative stability at the end of a grade: the settlement of each of the last
// two hours not above the criterion (JGJ 106-2014 4.3.5: 0.1 mm per hour, twice
// in a row). Nothing when the grade was held less than two hours.
struct EndStability {
    double last_hour = 0;
    double hour_before = 0;
    bool stable = false;
};

std::optional<EndStability> end_stability(const CurvePoint& point, double criterion_mm);

// The standards' literal comparison of one grade's settlement with the one
// before: the first grade n >= 2 with Δs_n > factor · Δs_(n-1) and a
// cumulative settlement above min_total (mm); -1 when none.
int first_increment_exceeding(const LoadCurve& curve, double factor, double min_total = -1e300);

// The largest Δs_n / Δs_(n-1) of the curve (n >= 2, previous grade settling)
// and where; for saying how far from a threshold a test stayed.
struct IncrementRatio {
    double ratio = 0;
    int index = -1;
};
IncrementRatio largest_increment_ratio(const LoadCurve& curve);

// A grade held at least 24 hours without reaching relative stability.
inline constexpr int kDayMinutes = 24 * 60;
bool unstable_after_a_day(const CurvePoint& point, double criterion_mm);

// The settlement of a grade at minute t, by linear interpolation of its
// readings; nothing outside them.
std::optional<double> settlement_at_minute(const CurvePoint& point, double minutes);

}  // namespace kvd
