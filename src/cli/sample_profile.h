#pragma once
// The set-up of the field tester for each kind of sample test (standard,
// schedule, site, jacks and gauges, and the soil's response in round figures),
// the header the tester writes from it, and the sample generator's random
// numbers. Used by the sample maker only.

#include <array>
#include <cstdint>

#include "cli/sample_maker.h"
#include "record/test_header.h"
#include "record/test_params.h"

namespace kvd {

// splitmix64: small, fast and the same on every platform, so that a seed
// gives the same sample everywhere.
class SampleRandom {
  public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }  // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // Bell-shaped noise, mean 0, standard deviation 1 (sum of four uniforms).
    double noise() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508; }

  private:
    std::uint64_t state_;
};

inline constexpr int kSampleTestPileGauges = 4;           // channels 1-4, averaged
inline constexpr double kSampleStabilityCriterion = 0.1;  // mm per hour, two hours running

struct SampleProfile {
    const char* site;
    const char* number;  // pile number, or test point number for a foundation test
    const char* serial;
    const char* method;  // the standard's text as the method page names it
    std::uint8_t test_object, pressure_unit, test_type, test_code;
    std::int32_t direction_kind;
    int max_load;  // kN, or kPa for the plate test
    int loading_grades, first_multiple, unloading_grades;
    int unloading_minutes, last_unloading_minutes, stability_start;
    IntervalTable load_intervals, unload_intervals;
    float pile_length;  // m
    int pile_diameter;  // mm
    float plate_area;   // m²
    int cylinder_bore;  // mm
    int jacks;
    int anchor_channels;    // gauges on anchor piles (or the reaction supports), channels 5-6
    double top_settlement;  // mm at the maximum load
    double rebound;         // share of the top settlement recovered at zero load
    double anchor_top;      // anchor pile movement at the maximum load, mm
    std::array<float, 5> alarm_limits;
};

// kUnfinished uses the compression test's set-up.
const SampleProfile& sample_profile(SampleType type);

// The header as the tester fills it; numbers of jacks, gauges and instrument
// are drawn from rng.
TestHeader make_sample_header(const SampleProfile& p, int loading_grades, std::int64_t test_time,
                              SampleRandom& rng);

}  // namespace kvd
