#pragma once
// What the bearing-capacity rules read: the loading grades of a test as a
// load-settlement curve (with each grade's readings for the s-lgt rules), and
// the few facts about the pile or plate that the rules need. Built from a
// TestRecord with the same settlements and minutes the tables show.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_result.h"
#include "record/test_record.h"

namespace kvd {

struct GradeReading {
    double minutes = 0;     // since the grade began
    double settlement = 0;  // cumulative, mm
};

struct CurvePoint {
    int grade = 0;            // index of the grade in the record (as the tables number it)
    double load = 0;          // kN, or kPa for a foundation test analysed in pressure
    double settlement = 0;    // cumulative settlement at the end of the grade, mm
    double increment = 0;     // this grade's settlement, mm (0 for the first point)
    int holding_minutes = 0;  // minutes of the grade's last reading
    std::vector<GradeReading> readings;
};

// The loading grades in test order; the first is normally load 0.
struct LoadCurve {
    std::vector<CurvePoint> points;

    bool empty() const { return points.empty(); }
    double max_load() const;
    double last_settlement() const;
    // Every load greater than the one before: the curve is a function of load.
    bool loads_increasing() const;
};

// Facts about the test the rules need beyond the curve.
struct TestSubject {
    TestFamily family = TestFamily::kUnsupported;
    std::string method;           // the header's test method text
    std::string name;             // pile or test point number
    std::string unit;             // "kN" or "kPa"
    double pile_diameter_mm = 0;  // side length of a square pile
    double pile_length_m = 0;
    bool square_section = false;          // piles; plates take the same shape byte
    double plate_area_m2 = 0;             // foundation tests; 0 when not given
    double design_max_load = 0;           // 最大载荷值 in the analysis unit; 0 when not given
    double stability_criterion_mm = 0.1;  // 判稳标准 (header 900), 0.1 mm when not set
    // Anchor piles: the largest average uplift at the last loading grade, and
    // the maximum-uplift alarm limit taken as their allowed uplift (0: none).
    std::optional<double> anchor_uplift_mm;
    double anchor_allowed_mm = 0;
};

struct AnalysisInput {
    TestSubject subject;
    LoadCurve curve;
    std::vector<std::string> notices;
    std::uint32_t fingerprint = 0;  // of the loads and settlements analysed
};

// The loading grades of the record with minutes and averages recomputed as
// the tables compute them. Foundation tests recorded in kN with a plate area
// are converted to pressures (kPa), the unit the foundation standards use.
AnalysisInput analysis_input(const TestRecord& record);

// Plate width b (square plate) or diameter d (round plate), m; 0 when the
// area is unknown.
double plate_width_m(const TestSubject& subject);

// The cross-section area of the pile, m² (circle of the diameter, or the
// square of its side); 0 when the diameter is unknown.
double pile_area_m2(const TestSubject& subject);

// Elastic shortening of the pile as a free-standing column per unit load,
// L / (E · A): mm per kN with L in m, E in MPa and A in m²; 0 when the length
// or the diameter is unknown.
double pile_elastic_slope(const TestSubject& subject, double modulus_mpa);

// A load read off the curve, with where it came from.
struct CurveLoad {
    double load = 0;
    ValueSource source;
};

// The first load at which the settlement reaches intercept + slope · load
// (mm, load in the curve's unit), interpolated linearly on the segment that
// crosses the line; nothing when the curve stays below it. The line through
// 0 with slope 0 is a plain settlement ("the load at s = 40 mm").
std::optional<CurveLoad> load_at_line(const LoadCurve& curve, double intercept, double slope);
std::optional<CurveLoad> load_at_settlement(const LoadCurve& curve, double settlement);

// The settlement at a load by linear interpolation; nothing outside the
// curve's loads or when loads do not increase.
std::optional<double> settlement_at_load(const LoadCurve& curve, double load);

// CRC-32 over the loads and settlements of the points (loads in 1/100 of the
// unit, settlements in 1/100 mm), so that a change of the readings analysed
// changes it.
std::uint32_t curve_fingerprint(const LoadCurve& curve);

}  // namespace kvd
