#include "record/test_params.h"

#include <algorithm>
#include <cstring>

#include "base/text_codec.h"

namespace kvd {
namespace {

constexpr std::size_t kParamTextBytes = 64;  // TestParams texts are char[64]

IntervalTable intervals_from(const std::uint16_t (&stored)[kIntervalCount]) {
    IntervalTable table{};
    std::copy(std::begin(stored), std::end(stored), table.begin());
    return table;
}

void store_intervals(const IntervalTable& table, std::uint16_t (&stored)[kIntervalCount]) {
    for (int i = 0; i < kIntervalCount; ++i) {
        stored[i] = static_cast<std::uint16_t>(std::clamp(table[i], 0, 65535));
    }
}

void store_roles(const ChannelRoles& roles, TestHeader& header) {
    for (int j = 0; j < kChannelCount; ++j) {
        header.in_use[j] = roles[j] != ChannelRole::kUnused ? 1 : 0;
        header.test_pile[j] = roles[j] == ChannelRole::kTestPile ? 1 : 0;
    }
}

}  // namespace

ChannelRoles channel_roles_from_header(const TestHeader& header) {
    ChannelRoles roles{};
    for (int j = 0; j < kChannelCount; ++j) {
        if (header.in_use[j] != 1) roles[j] = ChannelRole::kUnused;
        else if (header.test_pile[j] == 1) roles[j] = ChannelRole::kTestPile;
        else roles[j] = ChannelRole::kAnchorPile;
    }
    return roles;
}

TestParams TestParams::defaults(std::int64_t now) {
    TestParams params;
    params.test_time = now;
    return params;
}

TestParams TestParams::from_header(const TestHeader& h) {
    TestParams p;
    p.site_name = truncate_for_gbk_field(read_gbk_field(h.site_name), kParamTextBytes - 1);
    p.pile_number = truncate_for_gbk_field(read_gbk_field(h.pile_number), kParamTextBytes - 1);
    p.test_time = h.test_time;
    p.test_object = h.test_object;
    p.pile_diameter = h.pile_diameter;
    p.pressure_unit = h.pressure_unit;
    p.plate_area = h.plate_area;
    p.replacement_ratio = h.replacement_ratio;
    p.pile_length = h.pile_length;
    p.direction_kind = h.direction_kind;
    p.coordinate_mode = h.coordinate_mode;
    p.x_axis_max = h.x_axis_max;
    p.y_axis_min = h.y_axis_min;
    p.y_axis_max = h.y_axis_max;
    p.load_intervals = intervals_from(h.load_intervals);
    p.unload_intervals = intervals_from(h.unload_intervals);
    p.channel_role = channel_roles_from_header(h);
    for (int j = 0; j < kChannelCount; ++j) p.averaged[j] = h.averaged[j];
    p.section_shape = h.section_shape;
    return p;
}

void TestParams::store_into(TestHeader& h) const {
    write_gbk_field(h.site_name, site_name);
    write_gbk_field(h.pile_number, pile_number);
    h.test_time = test_time;
    h.test_object = static_cast<std::uint8_t>(test_object);
    h.pile_diameter = pile_diameter;
    h.pressure_unit = static_cast<std::uint8_t>(pressure_unit);
    h.plate_area = static_cast<float>(plate_area);
    h.replacement_ratio = static_cast<float>(replacement_ratio);
    h.pile_length = static_cast<float>(pile_length);
    h.direction_kind = direction_kind;
    h.coordinate_mode = coordinate_mode;
    h.x_axis_max = x_axis_max;
    h.y_axis_min = y_axis_min;
    h.y_axis_max = y_axis_max;
    store_intervals(load_intervals, h.load_intervals);
    store_intervals(unload_intervals, h.unload_intervals);
    store_roles(channel_role, h);
    for (int j = 0; j < kChannelCount; ++j) h.averaged[j] = averaged[j] != 0 ? 1 : 0;
    h.section_shape = static_cast<std::uint8_t>(section_shape);
}

InstrumentParams InstrumentParams::from_header(const TestHeader& h, std::int32_t reading_count,
                                               std::int32_t mod_count) {
    InstrumentParams p;
    p.tag = "VXRAC";
    p.instrument_number = read_gbk_field(h.instrument_number);
    p.test_time = h.test_time;
    p.test_code = 4;
    p.reading_count = reading_count;
    p.mod_count = mod_count;
    p.max_load = h.max_load;
    p.loading_grades = h.loading_grades;
    p.first_multiple = h.first_multiple;
    p.load_intervals = intervals_from(h.load_intervals);
    p.unload_intervals = intervals_from(h.unload_intervals);
    p.channel_role = channel_roles_from_header(h);
    p.pressure_route = h.load_sensor_type == 1 ? 1 : 0;
    p.force_route = p.pressure_route == 1 ? 0 : 1;
    p.cylinder_bore = h.cylinder_bore;
    p.jack_count = h.jack_count;
    p.max_settlement_alarm = h.alarm_limits[0];
    p.max_uplift_alarm = h.alarm_limits[1];
    p.jack_numbers = read_gbk_field(h.jack_numbers);
    for (int j = 0; j < kChannelCount; ++j) p.sensor_numbers[j] = read_gbk_field(h.sensor_numbers[j]);
    std::memcpy(p.pressure_sensor_number.data(), h.pressure_sensor_number, 16);
    return p;
}

void InstrumentParams::store_into(TestHeader& h) const {
    write_gbk_field(h.format_tag, tag);
    write_gbk_field(h.instrument_number, instrument_number);
    h.test_time = test_time;
    h.max_load = max_load;
    h.loading_grades = static_cast<std::uint8_t>(std::clamp(loading_grades, 0, 255));
    h.first_multiple = static_cast<std::uint8_t>(std::clamp(first_multiple, 0, 255));
    store_intervals(load_intervals, h.load_intervals);
    store_intervals(unload_intervals, h.unload_intervals);
    store_roles(channel_role, h);
    h.load_sensor_type = pressure_route == 1 ? 1 : 0;
    h.cylinder_bore = cylinder_bore;
    h.jack_count = static_cast<std::uint8_t>(std::clamp(jack_count, 0, 255));
    h.alarm_limits[0] = static_cast<float>(max_settlement_alarm);
    h.alarm_limits[1] = static_cast<float>(max_uplift_alarm);
    write_gbk_field(h.jack_numbers, jack_numbers);
    for (int j = 0; j < kChannelCount; ++j) write_gbk_field(h.sensor_numbers[j], sensor_numbers[j]);
    std::memcpy(h.pressure_sensor_number, pressure_sensor_number.data(), 16);
}

}  // namespace kvd
