#pragma once
// The result of interpreting one test: every rule of the applicable standard
// with its outcome, the value it gives (or why it gives none), the grade or
// interpolation the value came from and a one-line Chinese reason naming the
// standard and clause. The bearing-capacity tab, the report section and
// kvdtool all read this one type; none of them recomputes anything.
//
// Units: values are loads in kN, or pressures in kPa for foundation tests
// (TestAnalysis::unit says which); settlements in mm; times in minutes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvd {

// Stable identifiers of the rules and methods. They name a rule in the stored
// engineer's choice and in kvdtool's JSON, so a number is never reused.
enum class RuleId : std::uint16_t {
    kNone = 0,
    // JGJ 106-2014 4.3.7: why a compression test ended.
    kCompressionEndSteepDrop = 101,
    kCompressionEndUnstable = 102,
    kCompressionEndDesignLoad = 103,
    kCompressionEndAnchorUplift = 104,
    kCompressionEndLargeSettlement = 105,
    // JGJ 106-2014 4.4.2: the ultimate load of a compression test.
    kCompressionSteepDrop = 111,
    kCompressionSlgtBend = 112,
    kCompressionUnstable = 113,
    kCompressionSettlement40 = 114,
    kCompressionSettlement005D = 115,
    kCompressionMaximumLoad = 116,
    kCompressionCharacteristic = 117,
    // JGJ 106-2014 5.3.5 and 5.4.2-5.4.5: uplift.
    kUpliftEndSteepRise = 201,
    kUpliftEndLargeUplift = 202,
    kUpliftEndSteelStress = 203,
    kUpliftEndDesignLoad = 204,
    kUpliftSteepRise = 211,
    kUpliftDeltaLgtBend = 212,
    kUpliftBrokenBar = 213,
    kUpliftMaximumLoad = 214,
    kUpliftCharacteristic = 215,
    // Plate tests (GB 50007-2011 appendices C and D, JGJ 79-2012 appendix A).
    kPlateEndSqueezed = 301,
    kPlateEndSteepDrop = 302,
    kPlateEndUnstable = 303,
    kPlateEndRelativeSettlement = 304,
    kPlateEndFiveTimes = 305,
    kPlateProportionalLimit = 311,
    kPlateUltimate = 312,
    kPlateHalfUltimate = 313,
    kPlateRelativeSettlement = 314,
    kPlateCharacteristic = 315,
    // Rock (GB 50007-2011 appendix H).
    kRockEndUnstable = 401,
    kRockEndSteepDrop = 402,
    kRockProportionalLimit = 411,
    kRockUltimate = 412,
    kRockCharacteristic = 413,
    // Composite foundations (JGJ 79-2012 appendix B).
    kCompositeEndSteepDrop = 501,
    kCompositeEndRelativeSettlement = 502,
    kCompositeProportionalLimit = 511,
    kCompositeUltimate = 512,
    kCompositeLimitOrHalf = 513,
    kCompositeRelativeSettlement = 514,
    kCompositeCharacteristic = 515,
    // Classical methods, for comparison.
    kDavisson = 901,
    kChinKondner = 902,
    kDecourt = 903,
    kBrinchHansen80 = 904,
    kBrinchHansen90 = 905,
    kDeBeer = 906,
    kTenPercentDiameter = 907,
    // A value the engineer typed.
    kManual = 1000,
    // Statistics of a group of tests.
    kGroupStatistic = 1100,
    kGroupCharacteristic = 1101,
};

// A short ASCII key of the rule for machine-readable output ("jgj106_4.4.2_1").
std::string_view rule_key(RuleId id);

enum class RuleOutcome : std::uint8_t {
    kValue,          // the rule gives a value
    kAtLeast,        // the rule gives only a lower bound ("≥ Qmax")
    kOccurred,       // an ending condition that happened (value: the grade's load)
    kNotReached,     // the rule's condition does not occur in the data
    kNotApplicable,  // the rule needs what the test does not have (length, plate area ...)
};

std::string_view outcome_key(RuleOutcome outcome);
// "取值", "不小于", "出现", "未出现", "不适用".
std::string_view outcome_text(RuleOutcome outcome);

// Where a value came from.
struct ValueSource {
    enum class Kind : std::uint8_t {
        kNone,
        kGrade,         // the load of one grade
        kInterpolated,  // linear interpolation on the segment from_grade -> grade
        kFitted,        // a straight-line fit over grades from_grade ... to_grade
        kComputed,      // from other rules' values (min, half ...)
    };
    Kind kind = Kind::kNone;
    int grade = -1;       // kGrade; kInterpolated: the upper grade of the segment
    int from_grade = -1;  // kInterpolated: the lower grade; kFitted: the first fitted grade
    int to_grade = -1;    // kFitted: the last fitted grade
    double at = 0;        // kInterpolated: the settlement (mm) interpolated for
    double r2 = 0;        // kFitted: coefficient of determination of the fit

    static ValueSource of_grade(int g);
    static ValueSource interpolated(int lower, int upper, double settlement);
    static ValueSource fitted(int first, int last, double r2);
    static ValueSource computed();
};

// "第 5 级", "第 4～5 级间插值 (s = 40.00 mm)", "第 5～9 级拟合 (R² = 0.9935)".
// Grade numbers are shown as in the tables (the grade index as it stands).
std::string describe_source(const ValueSource& source);

struct RuleResult {
    RuleId id = RuleId::kNone;
    std::string title;   // "陡降段起点"
    std::string clause;  // "JGJ 106-2014 第 4.4.2 条第 1 款"
    RuleOutcome outcome = RuleOutcome::kNotReached;
    double value = 0;  // kValue, kAtLeast, kOccurred
    ValueSource source;
    std::string reason;  // one line: what was measured and what followed
    // A judgement rule ("clear steep drop"): a stated measure against a named
    // threshold, which the engineer may overrule.
    bool proposal = false;
    // Values the rule took without the test giving them (a default modulus, an
    // unconfirmed threshold ...), each one sentence.
    std::vector<std::string> assumptions;

    bool gives_value() const {
        return outcome == RuleOutcome::kValue || outcome == RuleOutcome::kAtLeast;
    }

    static RuleResult make(RuleId id, std::string_view title, std::string_view clause);
    // Setters of the outcome; each also sets the reason.
    void set_value(double v, const ValueSource& from, std::string why);
    void set_at_least(double v, const ValueSource& from, std::string why);
    void set_occurred(double load, int grade, std::string why);
    void set_not_reached(std::string why);
    void set_not_applicable(std::string why);
};

enum class TestFamily : std::uint8_t {
    kPileCompression,  // JGJ 106-2014 chapter 4
    kPileUplift,       // JGJ 106-2014 chapter 5
    kShallowPlate,     // GB 50007-2011 appendix C (and treated ground, JGJ 79-2012 appendix A)
    kDeepPlate,        // GB 50007-2011 appendix D
    kRock,             // GB 50007-2011 appendix H
    kComposite,        // JGJ 79-2012 appendix B
    kUnsupported,      // horizontal tests and anything unknown
};

std::string_view family_key(TestFamily family);
std::string_view family_title(TestFamily family);
// Piles are compared by their ultimate load, foundations by the characteristic value.
inline bool is_pile_family(TestFamily family) {
    return family == TestFamily::kPileCompression || family == TestFamily::kPileUplift;
}

struct TestAnalysis {
    TestFamily family = TestFamily::kUnsupported;
    std::string standard;       // the standard whose rules were applied ("JGJ 106-2014")
    std::string unit;           // "kN" or "kPa"
    std::string test_name;      // pile or test point number
    double max_load = 0;        // largest load (pressure) of a loading grade
    double max_settlement = 0;  // cumulative settlement (uplift) of the last loading grade
    int loading_grades = 0;

    std::vector<RuleResult> ending;   // why the test ended (explains, gives no value)
    std::vector<RuleResult> rules;    // the reading rules in the standard's order
    std::vector<RuleResult> methods;  // classical methods, for comparison only
    RuleResult ultimate;              // proposed Qu (piles) or pu (foundations; may be not reached)
    RuleResult characteristic;        // Ra, fak, fspk or the rock's characteristic value
    std::vector<std::string> notices;    // what the engineer must know about the data
    std::uint32_t data_fingerprint = 0;  // of the loading grades analysed

    // What a group of tests of this family takes its statistics over.
    const RuleResult& group_value() const {
        return is_pile_family(family) ? ultimate : characteristic;
    }
};

// A value with its unit, to whole units when it is one ("2275 kN", "121.5 kPa").
std::string format_quantity(double value, std::string_view unit);
// A rule's value column, as every table of rules shows it: "2400 kN",
// "≥ 3000 kN", the load at which an ending condition occurred; empty for a
// rule with no value.
std::string rule_value_text(const RuleResult& rule, std::string_view unit);
// Its outcome column: outcome_text, and "（建议）" for a judgement rule that
// gives a value.
std::string rule_outcome_text(const RuleResult& rule);
// "Qu = 2400 kN", "Qu ≥ 3000 kN", or the outcome's words when there is no value.
std::string format_result_value(const RuleResult& result, std::string_view symbol,
                                std::string_view unit);

}  // namespace kvd
