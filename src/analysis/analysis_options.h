#pragma once
// What the engineer may set for an interpretation that the test file does not
// hold: the pile's elastic modulus, the alternatives the standards leave open
// and the kind of a composite foundation. Every default is stated where a
// rule uses it.

#include <cstdint>
#include <string_view>

namespace kvd {

// Elastic modulus of the pile for the elastic shortening of long piles and the
// Davisson offset line: C30 concrete, 3.00 × 10^4 N/mm² (GB 50010-2010 table
// 4.1.5). An assumption unless the engineer gives the pile's own.
inline constexpr double kDefaultConcreteModulusMpa = 3.0e4;

// Relative settlement s/b (s/d) of the plate rules of GB 50007-2011 C.0.7 and
// D.0.6: 0.010 to 0.015, the engineer's choice; 0.010 unless chosen.
inline constexpr double kDefaultPlateRelativeSettlement = 0.010;
inline constexpr double kMinPlateRelativeSettlement = 0.010;
inline constexpr double kMaxPlateRelativeSettlement = 0.015;

// The reinforcement of a composite foundation, which decides its relative
// settlement (JGJ 79-2012 appendix B).
enum class CompositeKind : std::uint8_t {
    kUnspecified,
    kGravelColumn,      // 沉管砂石桩、振冲碎石桩、柱锤冲扩桩: 0.010
    kCompactionColumn,  // 灰土挤密桩、土挤密桩: 0.008
    kCfgOnGravel,  // 水泥粉煤灰碎石桩、夯实水泥土桩，以卵石、圆砾、密实粗中砂为主: 0.008
    kCfgOnClay,         // 同上，以黏性土、粉土为主: 0.010
    kCementSoil,        // 水泥土搅拌桩、旋喷桩: 0.006
    kCementSoilStrong,  // 同上，桩身强度大于 1.0 MPa 且桩身质量均匀: 0.008
};

// The relative settlement of the kind; 0 when unspecified.
double composite_relative_settlement(CompositeKind kind);
std::string_view composite_kind_key(CompositeKind kind);
std::string_view composite_kind_title(CompositeKind kind);
// The kind named by its key; false for an unknown key.
bool composite_kind_from_key(std::string_view key, CompositeKind& kind);

struct AnalysisOptions {
    double elastic_modulus_mpa = kDefaultConcreteModulusMpa;
    bool modulus_given = false;  // false: the default above was taken
    // JGJ 106-2014 4.4.2(4): for D >= 800 mm the load at s = 0.05 D "may" be
    // taken instead of s = 40 mm; both are reported, this picks the proposal.
    bool take_005d = false;
    // Grades fitted by the extrapolation methods (record grade indices, both
    // inclusive); -1 lets the method choose (see classical_methods.h).
    int fit_first_grade = -1;
    int fit_last_grade = -1;
    double plate_relative_settlement = kDefaultPlateRelativeSettlement;
    CompositeKind composite = CompositeKind::kUnspecified;
};

}  // namespace kvd
