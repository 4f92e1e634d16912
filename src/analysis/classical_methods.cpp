#include "analysis/classical_methods.h"

#include <algorithm>
#include <cmath>

#include "analysis/common_rules.h"
#include "analysis/line_fit.h"
#include "base/format.h"

namespace kvd {
namespace {

// The loaded, settled points of a fitting range.
struct FitPoints {
    std::vector<double> load;
    std::vector<double> settlement;
    int first_grade = -1;
    int last_grade = -1;
};

FitPoints fit_points(const LoadCurve& curve, FitRange range) {
    FitPoints points;
    const int last = std::min(range.last, static_cast<int>(curve.points.size()) - 1);
    for (int i = std::max(range.first, 0); i <= last; ++i) {
        const CurvePoint& p = curve.points[static_cast<std::size_t>(i)];
        if (!(p.load > 0) || !(p.settlement > 0)) continue;
        if (points.first_grade < 0) points.first_grade = p.grade;
        points.last_grade = p.grade;
        points.load.push_back(p.load);
        points.settlement.push_back(p.settlement);
    }
    return points;
}

// f(load, settlement) of every point, the quantity an extrapolation plots.
template <class F>
std::vector<double> transformed(const FitPoints& points, F f) {
    std::vector<double> out;
    for (std::size_t i = 0; i < points.load.size(); ++i)
        out.push_back(f(points.load[i], points.settlement[i]));
    return out;
}

std::string fit_text(const FitPoints& points, const LineFit& fit) {
    return strprintf("第 %d～%d 级共 %d 点拟合，R² = %.4f", points.first_grade, points.last_grade,
                     fit.points, fit.r2);
}

// A fitted line that may be used: enough points and a good fit; else the
// rule says why not.
bool usable_fit(const FitPoints& points, const LineFit& fit, RuleResult& rule) {
    if (static_cast<int>(points.load.size()) < kMinFitPoints || !fit.ok) {
        rule.set_not_applicable(strprintf("拟合范围内有效点少于 %d 个", kMinFitPoints));
        return false;
    }
    if (fit.r2 < kMinFitR2) {
        rule.set_not_reached(fit_text(points, fit) +
                             strprintf("，低于 %.2f，不给出外推值", kMinFitR2));
        return false;
    }
    return true;
}

}  // namespace

FitRange fit_range(const LoadCurve& curve, const AnalysisOptions& options,
                   const RuleResult& davisson_result) {
    const int n = static_cast<int>(curve.points.size());
    FitRange range{0, n - 1};
    if (options.fit_first_grade >= 0 || options.fit_last_grade >= 0) {
        range.first = n;
        range.last = -1;
        for (int i = 0; i < n; ++i) {
            const int grade = curve.points[static_cast<std::size_t>(i)].grade;
            if (grade >= options.fit_first_grade && range.first == n) range.first = i;
            if (options.fit_last_grade < 0 || grade <= options.fit_last_grade) range.last = i;
        }
        return range;
    }
    int first = n / 2;
    if (davisson_result.outcome == RuleOutcome::kValue) {
        const auto at =
            std::find_if(curve.points.begin(), curve.points.end(),
                         [&](const CurvePoint& p) { return p.load >= davisson_result.value; });
        first = static_cast<int>(at - curve.points.begin());
    }
    range.first = std::max(0, std::min(first, n - kMinFitPoints));
    return range;
}

RuleResult davisson(const LoadCurve& curve, const TestSubject& subject,
                    const AnalysisOptions& options) {
    RuleResult rule = RuleResult::make(RuleId::kDavisson, "Davisson 偏移界限", "Davisson (1972)");
    const double elastic = pile_elastic_slope(subject, options.elastic_modulus_mpa);
    if (!(elastic > 0)) {
        rule.set_not_applicable("需要桩长和桩径");
        return rule;
    }
    if (!options.modulus_given) rule.assumptions.push_back(modulus_assumption(options));
    const double offset = kDavissonOffsetMm + subject.pile_diameter_mm / kDavissonDiameterDivisor;
    const std::string line = strprintf(
        "偏移线 s = QL/(AE) + 4 + D/120 = %.3e·Q + %.2f mm（L = %.2f m，A = "
        "%.4f m²，E = %.0f MPa）",
        elastic, offset, subject.pile_length_m, pile_area_m2(subject), options.elastic_modulus_mpa);
    if (auto at = load_at_line(curve, offset, elastic)) {
        rule.set_value(at->load, at->source, "Q-s 曲线与" + line + "的交点");
    } else {
        rule.set_not_reached("Q-s 曲线未到达" + line);
    }
    return rule;
}

RuleResult chin_kondner(const LoadCurve& curve, FitRange range) {
    RuleResult rule =
        RuleResult::make(RuleId::kChinKondner, "Chin-Kondner 双曲线外推", "Chin (1970)");
    const FitPoints points = fit_points(curve, range);
    const LineFit fit =
        fit_line(points.settlement, transformed(points, [](double q, double s) { return s / q; }));
    if (!usable_fit(points, fit, rule)) return rule;
    if (!(fit.slope > 0)) {
        rule.set_not_reached(fit_text(points, fit) + "，s/Q-s 直线斜率不为正，无渐近值");
        return rule;
    }
    rule.set_value(1 / fit.slope,
                   ValueSource::fitted(points.first_grade, points.last_grade, fit.r2),
                   strprintf("s/Q = C1·s + C2，C1 = %.4e /kN，C2 = %.4e mm/kN，Qu = 1/C1；",
                             fit.slope, fit.intercept) +
                       fit_text(points, fit));
    return rule;
}

RuleResult decourt(const LoadCurve& curve, FitRange range) {
    RuleResult rule = RuleResult::make(RuleId::kDecourt, "Decourt 外推", "Decourt (1999)");
    const FitPoints points = fit_points(curve, range);
    const LineFit fit =
        fit_line(points.load, transformed(points, [](double q, double s) { return q / s; }));
    if (!usable_fit(points, fit, rule)) return rule;
    if (!(fit.slope < 0) || !(fit.intercept > 0)) {
        rule.set_not_reached(fit_text(points, fit) + "，Q/s 未随荷载线性减小，与荷载轴无交点");
        return rule;
    }
    rule.set_value(-fit.intercept / fit.slope,
                   ValueSource::fitted(points.first_grade, points.last_grade, fit.r2),
                   strprintf("Q/s = C1·Q + C2，C1 = %.4e /mm，C2 = %.4f kN/mm，Qu = −C2/C1；",
                             fit.slope, fit.intercept) +
                       fit_text(points, fit));
    return rule;
}

RuleResult brinch_hansen_80(const LoadCurve& curve, FitRange range) {
    RuleResult rule =
        RuleResult::make(RuleId::kBrinchHansen80, "Brinch Hansen 80% 准则", "Brinch Hansen (1963)");
    const FitPoints points = fit_points(curve, range);
    const LineFit fit =
        fit_line(points.settlement,
                 transformed(points, [](double q, double s) { return std::sqrt(s) / q; }));
    if (!usable_fit(points, fit, rule)) return rule;
    const double c1 = fit.slope;
    const double c2 = fit.intercept;
    if (!(c1 > 0) || !(c2 > 0)) {
        rule.set_not_reached(fit_text(points, fit) + "，√s/Q-s 直线的斜率或截距不为正");
        return rule;
    }
    const double ultimate = 1 / (2 * std::sqrt(c1 * c2));
    const double at = c2 / c1;
    const std::string measured = strprintf(
                                     "√s/Q = C1·s + C2，C1 = %.4e，C2 = %.4e，Qu = 1/(2√(C1·C2)) = "
                                     "%.0f kN，su = C2/C1 = %.2f mm；",
                                     c1, c2, ultimate, at) +
                                 fit_text(points, fit);
    if (at > curve.last_settlement()) {
        rule.set_not_reached(measured + strprintf("；su 大于实测最大沉降 %.2f mm，不给出外推值",
                                                  curve.last_settlement()));
        return rule;
    }
    rule.set_value(ultimate, ValueSource::fitted(points.first_grade, points.last_grade, fit.r2),
                   measured);
    return rule;
}

RuleResult brinch_hansen_90(const LoadCurve& curve) {
    RuleResult rule =
        RuleResult::make(RuleId::kBrinchHansen90, "Brinch Hansen 90% 准则", "Brinch Hansen (1963)");
    if (curve.points.size() < 3 || !curve.loads_increasing()) {
        rule.set_not_applicable("需要至少三级逐级增大的荷载");
        return rule;
    }
    // s(Q) - 2 s(0.9 Q) is linear between the loads where Q or 0.9 Q meets a grade.
    const double lowest = curve.points.front().load / 0.9;
    std::vector<double> loads;
    for (const CurvePoint& p : curve.points) {
        for (double q : {p.load, p.load / 0.9}) {
            if (q > 0 && q >= lowest && q <= curve.max_load()) loads.push_back(q);
        }
    }
    std::sort(loads.begin(), loads.end());
    const auto excess = [&](double q) {
        return *settlement_at_load(curve, q) - 2 * *settlement_at_load(curve, 0.9 * q);
    };
    for (std::size_t k = 1; k < loads.size(); ++k) {
        const double before = excess(loads[k - 1]);
        const double after = excess(loads[k]);
        if (before < 0 && after >= 0) {
            const double q =
                loads[k - 1] + (loads[k] - loads[k - 1]) * (-before / (after - before));
            const double s = *settlement_at_load(curve, q);
            const auto upper = std::find_if(curve.points.begin(), curve.points.end(),
                                            [&](const CurvePoint& p) { return p.load >= q; });
            const int lower_grade =
                upper == curve.points.begin() ? upper->grade : (upper - 1)->grade;
            rule.set_value(q, ValueSource::interpolated(lower_grade, upper->grade, s),
                           strprintf("s(Qu) = %.2f mm 为 s(0.9Qu) = %.2f mm 的 2 倍", s,
                                     *settlement_at_load(curve, 0.9 * q)));
            return rule;
        }
    }
    rule.set_not_reached("实测范围内沉降未达到 0.9 倍荷载下沉降的 2 倍");
    return rule;
}

RuleResult de_beer(const LoadCurve& curve) {
    RuleResult rule = RuleResult::make(RuleId::kDeBeer, "De Beer 双对数折线", "De Beer (1967)");
    rule.proposal = true;
    std::vector<double> x;
    std::vector<double> y;
    std::vector<int> grades;
    for (const CurvePoint& p : curve.points) {
        if (!(p.load > 0) || !(p.settlement > 0)) continue;
        x.push_back(std::log10(p.load));
        y.push_back(std::log10(p.settlement));
        grades.push_back(p.grade);
    }
    const int n = static_cast<int>(x.size());
    if (n < 2 * kMinFitPoints) {
        rule.set_not_applicable(strprintf("有效点少于 %d 个", 2 * kMinFitPoints));
        return rule;
    }
    const auto squares = [&](const LineFit& fit, int from, int to) {
        double sum = 0;
        for (int i = from; i < to; ++i) {
            const double r = y[static_cast<std::size_t>(i)] -
                             (fit.slope * x[static_cast<std::size_t>(i)] + fit.intercept);
            sum += r * r;
        }
        return sum;
    };
    LineFit lower;
    LineFit upper;
    int split = -1;
    double best = 0;
    for (int k = kMinFitPoints; k <= n - kMinFitPoints; ++k) {
        const auto u = static_cast<std::size_t>(k);
        const LineFit a = fit_line(std::span(x).first(u), std::span(y).first(u));
        const LineFit b = fit_line(std::span(x).subspan(u), std::span(y).subspan(u));
        if (!a.ok || !b.ok) continue;
        const double total = squares(a, 0, k) + squares(b, k, n);
        if (split < 0 || total < best) {
            best = total;
            split = k;
            lower = a;
            upper = b;
        }
    }
    if (split < 0 || !(lower.slope > 0) || upper.slope < kDeBeerSlopeFactor * lower.slope) {
        rule.set_not_reached(
            strprintf("双对数图上两段直线斜率 %.2f、%.2f，上段未明显变陡（阈值 %.1f 倍）",
                      lower.slope, upper.slope, kDeBeerSlopeFactor));
        return rule;
    }
    const double meet = (upper.intercept - lower.intercept) / (lower.slope - upper.slope);
    if (meet < x.front() || meet > x.back()) {
        rule.set_not_reached("两段直线的交点不在实测荷载范围内");
        return rule;
    }
    rule.set_value(
        std::pow(10.0, meet),
        ValueSource::fitted(grades.front(), grades.back(), std::min(lower.r2, upper.r2)),
        strprintf("lg s-lg Q 两段直线（第 %d～%d 级斜率 %.2f，第 %d～%d 级斜率 %.2f）的交点",
                  grades.front(), grades[static_cast<std::size_t>(split) - 1], lower.slope,
                  grades[static_cast<std::size_t>(split)], grades.back(), upper.slope));
    return rule;
}

RuleResult ten_percent_diameter(const LoadCurve& curve, const TestSubject& subject) {
    RuleResult rule = RuleResult::make(RuleId::kTenPercentDiameter, "沉降达桩径的 10%",
                                       "EN 1997-1:2004 第 7.6.1.1 条");
    if (!(subject.pile_diameter_mm > 0)) {
        rule.set_not_applicable("未填写桩径");
        return rule;
    }
    const double limit = kDiameterCriterion * subject.pile_diameter_mm;
    if (auto at = load_at_settlement(curve, limit)) {
        rule.set_value(at->load, at->source,
                       strprintf("累计沉降达到 0.1D = %.2f mm 处的荷载", limit));
    } else {
        rule.set_not_reached(strprintf("最大累计沉降 %.2f mm，未达到 0.1D = %.2f mm",
                                       curve.last_settlement(), limit));
    }
    rule.assumptions.push_back("以桩径作为桩端直径（未扩底）。");
    return rule;
}

std::vector<RuleResult> classical_methods(const AnalysisInput& input,
                                          const AnalysisOptions& options) {
    const LoadCurve& curve = input.curve;
    RuleResult dav = davisson(curve, input.subject, options);
    const FitRange range = fit_range(curve, options, dav);
    RuleResult chin = chin_kondner(curve, range);
    RuleResult dec = decourt(curve, range);
    for (RuleResult* extrapolation : {&chin, &dec}) {
        if (!extrapolation->gives_value()) continue;
        if (dav.outcome == RuleOutcome::kNotReached) {
            extrapolation->set_not_reached(strprintf(
                "拟合得 %.0f kN，但试验未超过 Davisson 界限，外推值不可靠", extrapolation->value));
        } else if (dav.outcome == RuleOutcome::kNotApplicable) {
            extrapolation->assumptions.push_back(
                "缺桩长或桩径，未能核对试验是否超过 Davisson 界限。");
        }
    }
    return {dav,
            chin,
            dec,
            brinch_hansen_80(curve, range),
            brinch_hansen_90(curve),
            de_beer(curve),
            ten_percent_diameter(curve, input.subject)};
}

}  // namespace kvd
