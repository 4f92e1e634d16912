#include "analysis/load_curve.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/test_family.h"
#include "base/format.h"
#include "base/text_codec.h"
#include "record/grade_compute.h"

namespace kvd {
namespace {

constexpr double kDefaultStabilityCriterion = 0.1;  // mm per hour, JGJ 106-2014 4.3.5

// The largest reading of the anchor-pile channels at the end of the last
// loading grade; nothing without anchor channels.
std::optional<double> anchor_uplift(const CTestData& grades, int last_loading,
                                    const TestParams& params) {
    const COneGradeData* grade = grades.grade(last_loading);
    if (!grade || grade->empty()) return std::nullopt;
    std::optional<double> largest;
    for (int j = 0; j < kChannelCount; ++j) {
        if (params.channel_role[static_cast<std::size_t>(j)] != ChannelRole::kAnchorPile) continue;
        const double value = grade->back().channel[j];
        if (std::isfinite(value) && (!largest || value > *largest)) largest = value;
    }
    return largest;
}

}  // namespace

double LoadCurve::max_load() const {
    double largest = 0;
    for (const CurvePoint& point : points) largest = std::max(largest, point.load);
    return largest;
}

double LoadCurve::last_settlement() const {
    return points.empty() ? 0 : points.back().settlement;
}

bool LoadCurve::loads_increasing() const {
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (!(points[i].load > points[i - 1].load)) return false;
    }
    return true;
}

AnalysisInput analysis_input(const TestRecord& record) {
    AnalysisInput input;
    TestSubject& subject = input.subject;
    const TestHeader& header = record.header;
    const TestParams& params = record.test_params;
    subject.method = read_gbk_field(header.test_method);
    subject.family = classify_test(header, subject.method);
    subject.name = params.pile_number;
    subject.pile_diameter_mm = std::max(0, params.pile_diameter);
    subject.pile_length_m =
        std::isfinite(params.pile_length) ? std::max(0.0, params.pile_length) : 0;
    subject.square_section = params.section_shape == 1;
    subject.plate_area_m2 =
        std::isfinite(header.plate_area) && header.plate_area > 0 ? header.plate_area : 0;
    subject.stability_criterion_mm =
        std::isfinite(header.stability_criterion) && header.stability_criterion > 0
            ? header.stability_criterion
            : kDefaultStabilityCriterion;
    subject.anchor_allowed_mm =
        std::isfinite(header.alarm_limits[1]) ? std::max(0.0f, header.alarm_limits[1]) : 0;
    if (std::string notice = rules_notice(subject.family, subject.method); !notice.empty()) {
        input.notices.push_back(notice);
    }

    // The same settlements and minutes the tables show, whatever the state of
    // the record's derived fields.
    CTestData grades = record.grades;
    recompute_minutes(grades, params);
    recompute_averages(grades, params);
    const std::vector<GradeSummary> summaries = summarize_grades(grades);

    const bool foundation =
        !is_pile_family(subject.family) && subject.family != TestFamily::kUnsupported;
    const bool to_pressure = foundation && !params.in_kpa() && subject.plate_area_m2 > 0;
    const double divisor = to_pressure ? subject.plate_area_m2 : 1.0;
    subject.unit = params.in_kpa() || to_pressure ? "kPa" : "kN";
    subject.design_max_load = header.max_load > 0 ? header.max_load / divisor : 0;
    if (foundation && subject.unit == "kN") {
        input.notices.push_back("未填写压板面积，按荷载 (kN) 判定，不能按相对变形取值。");
    }
    if (to_pressure) {
        input.notices.push_back(
            strprintf("荷载已按压板面积 %.3f m² 换算为压力 (kPa)。", subject.plate_area_m2));
    }

    int last_loading = -1;
    bool invalid_readings = false;
    for (std::size_t g = 0; g < summaries.size(); ++g) {
        const GradeSummary& summary = summaries[g];
        if (summary.loading != kLoading) {
            if (last_loading < 0) continue;
            const bool reloaded =
                std::any_of(summaries.begin() + static_cast<long>(g), summaries.end(),
                            [](const GradeSummary& s) { return s.loading == kLoading; });
            if (reloaded) input.notices.push_back("卸载后再加载的各级未参与判定。");
            break;
        }
        CurvePoint point;
        point.grade = static_cast<int>(g);
        point.load = summary.load / divisor;
        point.settlement = summary.cumulative;
        point.increment = input.curve.points.empty() ? 0.0 : summary.this_grade;
        point.holding_minutes = summary.holding_minutes;
        // A damaged file can hold gauge values that are not numbers; nothing
        // is read from such a grade or after it.
        if (!std::isfinite(point.settlement) || !std::isfinite(point.increment)) {
            input.notices.push_back(strprintf(
                "第 %d 级的位移读数不是有效数值，该级及其后各级未参与判定。", point.grade));
            break;
        }
        for (const SamplePoint& reading : grades.grade(static_cast<int>(g))->points()) {
            if (std::isfinite(reading.settlement)) {
                point.readings.push_back(
                    {static_cast<double>(reading.minutes), reading.settlement});
            } else {
                invalid_readings = true;
            }
        }
        input.curve.points.push_back(std::move(point));
        last_loading = static_cast<int>(g);
    }
    if (last_loading >= 0) subject.anchor_uplift_mm = anchor_uplift(grades, last_loading, params);
    if (invalid_readings) input.notices.push_back("部分读数的位移不是有效数值，已略去。");

    if (input.curve.points.size() < 2) {
        input.notices.push_back("加载级少于两级，无法判定承载力。");
    } else if (!input.curve.loads_increasing()) {
        input.notices.push_back("各加载级荷载未逐级增大，部分判定方法不适用，请核对荷载。");
    }
    if (!input.curve.empty() && input.curve.last_settlement() <= 0) {
        input.notices.push_back("末级累计位移不大于 0，请核对位移通道的方向与平均通道。");
    }
    input.fingerprint = curve_fingerprint(input.curve);
    return input;
}

double plate_width_m(const TestSubject& subject) {
    if (subject.plate_area_m2 <= 0) return 0;
    return subject.square_section ? std::sqrt(subject.plate_area_m2)
                                  : std::sqrt(4 * subject.plate_area_m2 / std::numbers::pi);
}

double pile_area_m2(const TestSubject& subject) {
    const double d = subject.pile_diameter_mm / 1000.0;
    return subject.square_section ? d * d : std::numbers::pi * d * d / 4;
}

double pile_elastic_slope(const TestSubject& subject, double modulus_mpa) {
    const double area = pile_area_m2(subject);
    if (!(area > 0) || !(subject.pile_length_m > 0) || !(modulus_mpa > 0)) return 0;
    // Q [kN] · L [m] / (E [MPa] · 1000 [kN/m² per MPa] · A [m²]) is in m; · 1000 gives mm.
    return subject.pile_length_m / (modulus_mpa * area);
}

std::optional<CurveLoad> load_at_line(const LoadCurve& curve, double intercept, double slope) {
    const auto excess = [&](const CurvePoint& p) {
        return p.settlement - (intercept + slope * p.load);
    };
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        const CurvePoint& upper = curve.points[i];
        const double above = excess(upper);
        if (above < 0) continue;
        if (above == 0 || i == 0) return CurveLoad{upper.load, ValueSource::of_grade(upper.grade)};
        const CurvePoint& lower = curve.points[i - 1];
        const double below = excess(lower);  // < 0, or the loop had stopped there
        const double t = -below / (above - below);
        const double load = lower.load + t * (upper.load - lower.load);
        const double settlement = lower.settlement + t * (upper.settlement - lower.settlement);
        return CurveLoad{load, ValueSource::interpolated(lower.grade, upper.grade, settlement)};
    }
    return std::nullopt;
}

std::optional<CurveLoad> load_at_settlement(const LoadCurve& curve, double settlement) {
    return load_at_line(curve, settlement, 0);
}

std::optional<double> settlement_at_load(const LoadCurve& curve, double load) {
    const auto& p = curve.points;
    if (p.empty() || !curve.loads_increasing() || load < p.front().load || load > p.back().load) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (load <= p[i].load) {
            const double t = (load - p[i - 1].load) / (p[i].load - p[i - 1].load);
            return p[i - 1].settlement + t * (p[i].settlement - p[i - 1].settlement);
        }
    }
    return p.back().settlement;
}

std::uint32_t curve_fingerprint(const LoadCurve& curve) {
    uLong crc = crc32(0L, Z_NULL, 0);
    for (const CurvePoint& point : curve.points) {
        const std::int64_t values[2] = {std::llround(point.load * 100),
                                        std::llround(point.settlement * 100)};
        crc = crc32(crc, reinterpret_cast<const Bytef*>(values), sizeof values);
    }
    return static_cast<std::uint32_t>(crc);
}

}  // namespace kvd
