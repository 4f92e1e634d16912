// The classical interpretations on curves whose answers are known in closed
// form, and on the load test used to illustrate Chin and Decourt (values
// checked by an independent least-squares fit).

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/classical_methods.h"
#include "analysis_fixture.h"

namespace kvd {
namespace {

// Points without readings and without rounding, for the closed forms.
LoadCurve exact_curve(const std::vector<double>& loads, const std::vector<double>& settlements) {
    LoadCurve curve;
    for (std::size_t i = 0; i < loads.size(); ++i) {
        CurvePoint point;
        point.grade = static_cast<int>(i);
        point.load = loads[i];
        point.settlement = settlements[i];
        point.increment = i == 0 ? 0 : settlements[i] - settlements[i - 1];
        curve.points.push_back(point);
    }
    return curve;
}

FitRange all(const LoadCurve& curve) {
    return {0, static_cast<int>(curve.points.size()) - 1};
}

TEST(ClassicalMethods, ChinAndDecourtGiveTheExactUltimateOfAHyperbola) {
    // s/Q = C1 · s + C2 with C1 = 1/2000 per kN: Q = s / (s/2000 + 0.004).
    std::vector<double> loads = {0};
    std::vector<double> settlements = {0};
    for (double s = 2; s <= 20; s += 2) {
        settlements.push_back(s);
        loads.push_back(s / (s / 2000 + 0.004));
    }
    const LoadCurve curve = exact_curve(loads, settlements);
    const RuleResult chin = chin_kondner(curve, all(curve));
    ASSERT_EQ(chin.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(chin.value, 2000, 1e-6);
    EXPECT_NEAR(chin.source.r2, 1, 1e-12);
    EXPECT_EQ(chin.source.from_grade, 1);  // the origin carries no s/Q
    const RuleResult dec = decourt(curve, all(curve));
    ASSERT_EQ(dec.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(dec.value, 2000, 1e-6);
}

TEST(ClassicalMethods, ChinAndDecourtOnTheIllustratedLoadTestFittedFromTheSixthPoint) {
    const LoadCurve curve =
        test::simple_curve({0, 100, 200, 300, 400, 501, 601, 701, 801, 901, 1001, 1101},
                           {0, 0.82, 1.34, 1.82, 2.33, 2.97, 3.59, 4.44, 5.45, 6.59, 8.02, 9.61});
    const FitRange from_sixth{5, 11};
    const RuleResult chin = chin_kondner(curve, from_sixth);
    ASSERT_EQ(chin.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(chin.value, 2274.886, 0.01);
    EXPECT_NEAR(chin.source.r2, 0.99355, 1e-4);
    EXPECT_EQ(describe_source(chin.source), "第 5～11 级拟合 (R² = 0.9935)");
    const RuleResult dec = decourt(curve, from_sixth);
    EXPECT_NEAR(dec.value, 2314.983, 0.01);
}

TEST(ClassicalMethods, ChinOverestimatesAnExponentialCurve) {
    // Q = 1500 (1 - e^(-0.08 s)) approaches 1500 kN; the hyperbola fitted to the
    // last six points puts its asymptote near 2170 kN.
    std::vector<double> loads = {0};
    std::vector<double> settlements = {0};
    for (double s = 2; s <= 20; s += 2) {
        settlements.push_back(s);
        loads.push_back(1500 * (1 - std::exp(-0.08 * s)));
    }
    const LoadCurve curve = exact_curve(loads, settlements);
    EXPECT_NEAR(chin_kondner(curve, {5, 10}).value, 2173.45, 0.01);
}

TEST(ClassicalMethods, BrinchHansen80OnItsOwnCurveAndOnlyWithinTheMeasuredSettlement) {
    // √s / Q = 1e-4 · s + 2.5e-3: Qu = 1 / (2 √(C1 C2)) = 1000 kN at su = C2 / C1 = 25 mm.
    auto hansen_curve = [](double last) {
        std::vector<double> loads = {0};
        std::vector<double> settlements = {0};
        for (double s = 2; s <= last; s += 2) {
            settlements.push_back(s);
            loads.push_back(std::sqrt(s) / (1e-4 * s + 2.5e-3));
        }
        return exact_curve(loads, settlements);
    };
    const LoadCurve to40 = hansen_curve(40);
    const RuleResult full = brinch_hansen_80(to40, all(to40));
    ASSERT_EQ(full.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(full.value, 1000, 1e-6);
    EXPECT_NE(full.reason.find("su = C2/C1 = 25.00 mm"), std::string::npos) << full.reason;
    const LoadCurve to20 = hansen_curve(20);
    EXPECT_EQ(brinch_hansen_80(to20, all(to20)).outcome, RuleOutcome::kNotReached);
}

TEST(ClassicalMethods, BrinchHansen90SolvesTheDoubledSettlementOnTheInterpolatedCurve) {
    // Linear to 10 mm at 2000 kN, then 0.05 mm/kN: on Q in [2000, 2222.2]
    // 10 + 0.05 (Q - 2000) = 2 · 0.005 · 0.9 Q gives Q = 90 / 0.041.
    const LoadCurve curve = exact_curve({0, 1000, 2000, 3000}, {0, 5, 10, 60});
    const RuleResult rule = brinch_hansen_90(curve);
    ASSERT_EQ(rule.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(rule.value, 90 / 0.041, 1e-6);
    EXPECT_EQ(rule.source.from_grade, 2);
    EXPECT_EQ(rule.source.grade, 3);
    EXPECT_EQ(brinch_hansen_90(exact_curve({0, 1000, 2000, 3000}, {0, 5, 10, 15})).outcome,
              RuleOutcome::kNotReached);
}

TEST(ClassicalMethods, DeBeerReadsTheBreakOfTheLogLogPlot) {
    // s ∝ Q up to 1000 kN, s ∝ Q⁴ beyond: the two lines meet at 1000 kN.
    std::vector<double> loads = {0};
    std::vector<double> settlements = {0};
    for (double q = 200; q <= 2000; q += 200) {
        loads.push_back(q);
        settlements.push_back(q <= 1000 ? 0.005 * q : 5 * std::pow(q / 1000, 4));
    }
    const RuleResult rule = de_beer(exact_curve(loads, settlements));
    ASSERT_EQ(rule.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(rule.value, 1000, 1e-6);
    // A straight log-log line has no break.
    std::vector<double> straight;
    for (double q : loads) straight.push_back(0.005 * q);
    EXPECT_EQ(de_beer(exact_curve(loads, straight)).outcome, RuleOutcome::kNotReached);
}

TEST(ClassicalMethods, DavissonOffsetLineAndTheExtrapolationsItGuards) {
    const TestSubject subject = test::pile_subject(600, 20);
    const AnalysisOptions options;
    const LoadCurve curve =
        test::simple_curve({0, 500, 1000, 1500, 2000, 2500, 3000}, {0, 2, 4.2, 6.6, 9.4, 13, 18});
    // s = Q · 20 / (3.0e4 · π · 0.3²) + 4 + 600/120.
    const double k = 20 / (3.0e4 * std::numbers::pi * 0.09);
    const double below = 13 - (9 + k * 2500);
    const double above = 18 - (9 + k * 3000);
    const RuleResult rule = davisson(curve, subject, options);
    ASSERT_EQ(rule.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(rule.value, 2500 + 500 * (-below / (above - below)), 1e-6);
    EXPECT_EQ(rule.assumptions.size(), 1u);  // the default modulus
    EXPECT_EQ(davisson(curve, test::pile_subject(0, 20), options).outcome,
              RuleOutcome::kNotApplicable);

    // The same pile stopped at 2500 kN never reached the line: Chin and Decourt
    // fit, but give no value.
    const LoadCurve stopped =
        test::simple_curve({0, 500, 1000, 1500, 2000, 2500}, {0, 2, 4.2, 6.6, 9.4, 13});
    const std::vector<RuleResult> methods =
        classical_methods(test::make_input(subject, stopped), options);
    ASSERT_EQ(methods.size(), 7u);
    EXPECT_EQ(methods[0].outcome, RuleOutcome::kNotReached);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(methods[i].outcome, RuleOutcome::kNotReached) << methods[i].title;
        EXPECT_NE(methods[i].reason.find("Davisson"), std::string::npos) << methods[i].reason;
    }
}

TEST(ClassicalMethods, TenPercentOfTheDiameter) {
    const TestSubject subject = test::pile_subject(600, 20);
    const LoadCurve curve = test::simple_curve({0, 1000, 2000, 3000}, {0, 20, 50, 70});
    const RuleResult rule = ten_percent_diameter(curve, subject);
    ASSERT_EQ(rule.outcome, RuleOutcome::kValue);
    EXPECT_NEAR(rule.value, 2500, 1e-9);  // 60 mm halfway from 50 to 70 mm
    EXPECT_EQ(ten_percent_diameter(test::simple_curve({0, 1000}, {0, 20}), subject).outcome,
              RuleOutcome::kNotReached);
}

TEST(ClassicalMethods, PoorFitsAndTooFewPointsGiveNoExtrapolation) {
    const LoadCurve scattered = exact_curve({0, 100, 200, 300, 400, 500}, {0, 1, 6, 2, 9, 3});
    EXPECT_EQ(chin_kondner(scattered, all(scattered)).outcome, RuleOutcome::kNotReached);
    const LoadCurve two = exact_curve({0, 100, 200}, {0, 1, 2.5});
    EXPECT_EQ(chin_kondner(two, all(two)).outcome, RuleOutcome::kNotApplicable);
}

}  // namespace
}  // namespace kvd
