#pragma once
// SamplePoint: one reading as the analysis works with it, stored in analysis
// files as this 152-byte little-endian image.

#include <cstddef>
#include <cstdint>

namespace kvd {

inline constexpr int kChannelCount = 16;

// LoadingFlag of readings and grades.
inline constexpr std::int32_t kUnloading = 0;
inline constexpr std::int32_t kLoading = 1;

struct SamplePoint {
    std::int32_t grade;     // 0-based index of the grade the reading belongs to
    std::int32_t loading;   // kLoading or kUnloading
    std::int32_t load;      // load of the grade, whole kN (or kPa)
    std::int32_t minutes;   // scheduled minutes since the grade began
    double channel[kChannelCount];  // displacement gauges 1-16, mm
    double settlement;      // average over the averaged channels, two decimals
};

static_assert(offsetof(SamplePoint, grade) == 0);
static_assert(offsetof(SamplePoint, loading) == 4);
static_assert(offsetof(SamplePoint, load) == 8);
static_assert(offsetof(SamplePoint, minutes) == 12);
static_assert(offsetof(SamplePoint, channel) == 16);
static_assert(offsetof(SamplePoint, settlement) == 144);
static_assert(sizeof(SamplePoint) == 152);

}  // namespace kvd
