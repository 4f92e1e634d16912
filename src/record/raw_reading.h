#pragma once
// RawReading: one reading exactly as the field tester recorded it (184-byte
// image), and ReadingParams: the control parameters in force when it was taken
// (68-byte image). A reading changed on the tester keeps a ModificationBlock of
// three RawReading images: before the change, at the change, after it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "record/sample_point.h"

namespace kvd {

// ReadingStatus words of a raw reading.
enum ReadingStatus : std::int32_t {
    kStatusNormal = 0,
    kStatusModified = 1,   // "修改过": a ModificationBlock follows in the file
    kStatusResumed = 2,    // "恢复试验"
    kStatusGaugeReset = 3, // "调表"
    kStatusCommError = 4,  // "通讯错误"
};

struct RawReading {
    std::int64_t time;        // clock time, seconds since 1970 UTC
    std::int32_t status;      // ReadingStatus
    std::int32_t loading;     // LoadingFlag
    std::int32_t grade;       // the tester's grade counter; a change starts a new grade
    std::int32_t index;       // 0-based index within the grade
    std::int32_t grade_load;  // nominal load of the grade, kN
    std::int32_t load_a;      // measured load shown with an oil-pressure load sensor
    std::int32_t load_b;      // measured load shown otherwise
    std::uint8_t reserved_36[4];  // carried unchanged
    double pressure_a;        // oil pressure, MPa, paired with load_a
    double pressure_b;        // oil pressure, MPa, paired with load_b
    double channel[kChannelCount];  // displacement gauges 1-16, mm
};

static_assert(offsetof(RawReading, time) == 0);
static_assert(offsetof(RawReading, status) == 8);
static_assert(offsetof(RawReading, loading) == 12);
static_assert(offsetof(RawReading, grade) == 16);
static_assert(offsetof(RawReading, index) == 20);
static_assert(offsetof(RawReading, grade_load) == 24);
static_assert(offsetof(RawReading, load_a) == 28);
static_assert(offsetof(RawReading, load_b) == 32);
static_assert(offsetof(RawReading, reserved_36) == 36);
static_assert(offsetof(RawReading, pressure_a) == 40);
static_assert(offsetof(RawReading, pressure_b) == 48);
static_assert(offsetof(RawReading, channel) == 56);
static_assert(sizeof(RawReading) == 184);

// The three images the tester keeps for a reading it changed.
using ModificationBlock = std::array<RawReading, 3>;
inline constexpr int kEntriesPerBlock = 3;
static_assert(sizeof(ModificationBlock) == 552);

// Each field is copied to the TestHeader offset named in its comment when a
// snapshot is applied.
struct ReadingParams {
    std::uint8_t stability_check_off;        // 894
    std::uint8_t stability_count;            // 895
    std::uint8_t unloading_grades;           // 906
    std::uint8_t reserved_3;
    std::uint16_t stability_minutes;         // 896
    std::uint8_t reserved_6[2];
    float stability_criterion;               // 900
    std::uint16_t unloading_minutes;         // 904
    std::uint8_t reserved_14[2];
    float alarm_limits[5];                   // 960-976
    std::uint8_t grade_alarm_on[2];          // 980, 981
    std::uint16_t grade_alarm_multiple[2];   // 982, 984
    std::uint8_t test_mode;                  // 986
    std::uint8_t reloading_off;              // 992
    std::uint8_t reloading_mode;             // 994
    std::uint8_t reserved_45[3];
    std::int32_t longest_pressurising_time;  // 988
    float load_drop_amount;                  // 996
    float load_drop_percentage;              // 1000
    std::int32_t last_unloading_minutes;     // 1060
    std::uint16_t field_1080;                // 1080
    std::uint8_t field_1082;                 // 1082
    std::uint8_t reserved_67;
};

static_assert(offsetof(ReadingParams, stability_check_off) == 0);
static_assert(offsetof(ReadingParams, stability_count) == 1);
static_assert(offsetof(ReadingParams, unloading_grades) == 2);
static_assert(offsetof(ReadingParams, stability_minutes) == 4);
static_assert(offsetof(ReadingParams, stability_criterion) == 8);
static_assert(offsetof(ReadingParams, unloading_minutes) == 12);
static_assert(offsetof(ReadingParams, alarm_limits) == 16);
static_assert(offsetof(ReadingParams, grade_alarm_on) == 36);
static_assert(offsetof(ReadingParams, grade_alarm_multiple) == 38);
static_assert(offsetof(ReadingParams, test_mode) == 42);
static_assert(offsetof(ReadingParams, reloading_off) == 43);
static_assert(offsetof(ReadingParams, reloading_mode) == 44);
static_assert(offsetof(ReadingParams, longest_pressurising_time) == 48);
static_assert(offsetof(ReadingParams, load_drop_amount) == 52);
static_assert(offsetof(ReadingParams, load_drop_percentage) == 56);
static_assert(offsetof(ReadingParams, last_unloading_minutes) == 60);
static_assert(offsetof(ReadingParams, field_1080) == 64);
static_assert(offsetof(ReadingParams, field_1082) == 66);
static_assert(sizeof(ReadingParams) == 68);

}  // namespace kvd
