#pragma once
// Load-settlement curves for the interpretation tests, built as the analysis
// sees them: each loading grade held on the slow maintained-load schedule
// (readings at 0, 5, 15, 30, 45, 60 minutes, then every 30), its settlement
// reaching the grade's final value quickly (a stable grade) or creeping at a
// steady rate to the end (a grade that does not stabilise). Settlements carry
// two decimals as the tables show them.

#include <cmath>
#include <vector>

#include "analysis/load_curve.h"
#include "base/numeric.h"

namespace kvd::test {

inline std::vector<double> schedule(int hold_minutes) {
    std::vector<double> minutes = {0, 5, 15, 30, 45, 60};
    while (minutes.back() + 30 <= hold_minutes) minutes.push_back(minutes.back() + 30);
    while (minutes.back() > hold_minutes) minutes.pop_back();
    return minutes;
}

struct GradePlan {
    double load = 0;
    double settlement = 0;  // cumulative at the end of the grade, mm
    int hold_minutes = 120;
    double creep_mm_per_hour = 0;  // > 0: the grade is still settling at this rate
};

// A stable grade gets 65 % of its settlement at once and the rest with an
// 8-minute time constant; a creeping one reaches its end value at the given
// steady rate.
inline CurvePoint make_grade(int grade, double from, const GradePlan& plan) {
    CurvePoint point;
    point.grade = grade;
    point.load = plan.load;
    point.settlement = round2(plan.settlement);
    point.increment = round2(point.settlement - round2(from));
    point.holding_minutes = plan.hold_minutes;
    const double total = plan.settlement - from;
    for (double t : schedule(plan.hold_minutes)) {
        double s = from;
        if (t > 0 && plan.creep_mm_per_hour > 0) {
            const double creep = plan.creep_mm_per_hour * plan.hold_minutes / 60.0;
            s = from + (total - creep) + plan.creep_mm_per_hour * t / 60.0;
        } else if (t > 0) {
            s = from + total * (1 - 0.35 * std::exp(-t / 8.0));
        }
        point.readings.push_back({t, round2(s)});
    }
    point.readings.back().settlement = point.settlement;
    return point;
}

inline LoadCurve make_curve(const std::vector<GradePlan>& grades) {
    LoadCurve curve;
    double from = 0;
    for (std::size_t g = 0; g < grades.size(); ++g) {
        curve.points.push_back(make_grade(static_cast<int>(g), from, grades[g]));
        from = grades[g].settlement;
    }
    if (!curve.points.empty()) curve.points.front().increment = 0;
    return curve;
}

// Loads and settlements of equal grades, each stable after two hours.
inline LoadCurve simple_curve(const std::vector<double>& loads,
                              const std::vector<double>& settlements) {
    std::vector<GradePlan> grades;
    for (std::size_t i = 0; i < loads.size() && i < settlements.size(); ++i) {
        grades.push_back({loads[i], settlements[i]});
    }
    return make_curve(grades);
}

inline TestSubject pile_subject(double diameter_mm = 600, double length_m = 20) {
    TestSubject subject;
    subject.family = TestFamily::kPileCompression;
    subject.method = "JGJ106-2014 单桩竖向抗压静载试验";
    subject.name = "T-1";
    subject.unit = "kN";
    subject.pile_diameter_mm = diameter_mm;
    subject.pile_length_m = length_m;
    return subject;
}

inline TestSubject plate_subject(TestFamily family, double area_m2, bool square = true) {
    TestSubject subject;
    subject.family = family;
    subject.method = family == TestFamily::kComposite   ? "JGJ79-2012 复合地基静载荷试验"
                     : family == TestFamily::kDeepPlate ? "GB50007-2011 深层平板载荷试验"
                     : family == TestFamily::kRock      ? "GB50007-2011 岩石地基载荷试验"
                                                        : "GB50007-2011 浅层平板载荷试验";
    subject.name = "P-1";
    subject.unit = "kPa";
    subject.plate_area_m2 = area_m2;
    subject.square_section = square;
    return subject;
}

inline AnalysisInput make_input(const TestSubject& subject, const LoadCurve& curve) {
    AnalysisInput input;
    input.subject = subject;
    input.curve = curve;
    input.fingerprint = curve_fingerprint(curve);
    return input;
}

// The rule of an analysis with the id, or nullptr.
inline const RuleResult* find_rule(const std::vector<RuleResult>& rules, RuleId id) {
    for (const RuleResult& rule : rules) {
        if (rule.id == id) return &rule;
    }
    return nullptr;
}

}  // namespace kvd::test
