#pragma once
// TestParams: the working parameter block derived from the header. The
// computations, tables and curves read it; it is rebuilt from the header
// whenever a file is read and never written to a file (but for converting an
// old-format test file). InstrumentParams: the header re-expressed in the field
// tester's own parameter layout, read by the raw record table and the upload.

#include <array>
#include <cstdint>
#include <string>

#include "record/sample_point.h"
#include "record/test_header.h"

namespace kvd {

// What a displacement channel measures ("未用", "沉降测试", "上拔测试").
enum class ChannelRole : std::int32_t {
    kUnused = 0,
    kTestPile = 1,
    kAnchorPile = 2,
};

inline constexpr int kIntervalCount = 12;
using IntervalTable = std::array<std::int32_t, kIntervalCount>;
using ChannelRoles = std::array<ChannelRole, kChannelCount>;

inline constexpr IntervalTable kDefaultLoadIntervals = {0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30};
inline constexpr IntervalTable kDefaultUnloadIntervals = {0,   15,  15,  30,  180, 180,
                                                          180, 180, 180, 180, 180, 180};

// Role of every channel as the header's in-use and test-pile bytes give it.
ChannelRoles channel_roles_from_header(const TestHeader& header);

struct TestParams {
    std::string site_name;    // UTF-8, at most 63 GBK bytes
    std::string pile_number;  // UTF-8, at most 63 GBK bytes
    std::int64_t test_time = 0;
    std::int32_t test_object = 0;  // 0 pile, 1 foundation
    std::int32_t pile_diameter = 0;
    std::int32_t pressure_unit = 0;  // 0 kN, 1 kPa
    double plate_area = 1.0;
    double replacement_ratio = 1.0;
    double pile_length = 0;
    std::int32_t direction_kind = 1;
    std::int32_t coordinate_mode = 0;
    std::int32_t x_axis_max = 0;
    double y_axis_min = 0;
    double y_axis_max = 0;
    IntervalTable load_intervals = kDefaultLoadIntervals;
    IntervalTable unload_intervals = kDefaultUnloadIntervals;
    ChannelRoles channel_role{ChannelRole::kTestPile};  // channel 1 on the test pile
    std::array<std::int32_t, kChannelCount> averaged{1};  // channel 1 averaged
    std::array<std::string, kChannelCount> anchor_pile_number;  // not stored in files
    std::int32_t section_shape = 0;

    bool is_uplift() const { return direction_kind == 2; }
    bool in_kpa() const { return test_object == 1 && pressure_unit == 1; }

    // Defaults of a new record, with the given test time.
    static TestParams defaults(std::int64_t now);
    // Derived from the header as every file read does.
    static TestParams from_header(const TestHeader& header);
    // Writes the parameters back into the header (old-format conversion).
    void store_into(TestHeader& header) const;
};

struct InstrumentParams {
    std::string tag;                // "VXRAC", "MEYPTX" for old-format files
    std::string instrument_number;  // header 777
    std::int64_t test_time = 0;
    std::int32_t test_code = 0;     // 4 when built from a header; 1 and 2 mark foundation tests
    std::int32_t reading_count = 0;
    std::int32_t mod_count = 0;
    std::int32_t max_load = 0;
    std::int32_t loading_grades = 0;
    std::int32_t first_multiple = 0;
    IntervalTable load_intervals{};
    IntervalTable unload_intervals{};
    ChannelRoles channel_role{};
    std::int32_t pressure_route = 0;  // 1 when the load comes from an oil-pressure sensor
    std::int32_t force_route = 0;
    std::int32_t cylinder_bore = 0;
    std::int32_t jack_count = 0;
    double max_settlement_alarm = 0;
    double max_uplift_alarm = 0;
    std::string jack_numbers;
    std::array<std::string, kChannelCount> sensor_numbers;
    std::array<char, 16> pressure_sensor_number{};  // raw header bytes

    // Built from the header and the record's counts.
    static InstrumentParams from_header(const TestHeader& header, std::int32_t reading_count,
                                        std::int32_t mod_count);
    // Writes the tester's parameters into the header (old-format conversion).
    void store_into(TestHeader& header) const;
};

}  // namespace kvd
