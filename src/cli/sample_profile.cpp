#include "cli/sample_profile.h"

#include <algorithm>

#include "base/format.h"
#include "base/text_codec.h"
#include "record/file_format.h"

namespace kvd {
namespace {

constexpr IntervalTable kJgjLoad = {0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30};
constexpr IntervalTable kJgjUnload = {0, 15, 15, 30, 30, 30, 30, 30, 30, 30, 30, 30};
constexpr IntervalTable kPlateLoad = {0, 10, 10, 10, 15, 15, 30, 30, 30, 30, 30, 30};

// clang-format off
const SampleProfile kCompressionProfile = {
    .site = "某某花园二期 3#楼", .number = "S-12", .serial = "JC2023-0612-015",
    .method = "JGJ106-2014 单桩竖向抗压静载试验",
    .test_object = 0, .pressure_unit = 0, .test_type = 0, .test_code = 0, .direction_kind = 1,
    .max_load = 3000, .loading_grades = 10, .first_multiple = 2, .unloading_grades = 5,
    .unloading_minutes = 60, .last_unloading_minutes = 180, .stability_start = 30,
    .load_intervals = kJgjLoad, .unload_intervals = kJgjUnload,
    .pile_length = 32.5f, .pile_diameter = 800, .plate_area = 0, .cylinder_bore = 320, .jacks = 2,
    .anchor_channels = 2, .top_settlement = 22.0, .rebound = 0.32, .anchor_top = 3.2,
    .alarm_limits = {40, 10, 5, 45, 45}};

const SampleProfile kUpliftProfile = {
    .site = "某某广场地下车库抗浮工程", .number = "K-7", .serial = "JC2023-0705-008",
    .method = "JGJ106-2014 单桩竖向抗拔静载试验",
    .test_object = 0, .pressure_unit = 0, .test_type = 1, .test_code = 1, .direction_kind = 2,
    .max_load = 1200, .loading_grades = 10, .first_multiple = 2, .unloading_grades = 5,
    .unloading_minutes = 60, .last_unloading_minutes = 180, .stability_start = 30,
    .load_intervals = kJgjLoad, .unload_intervals = kJgjUnload,
    .pile_length = 18.0f, .pile_diameter = 600, .plate_area = 0, .cylinder_bore = 250, .jacks = 2,
    .anchor_channels = 2, .top_settlement = 9.5, .rebound = 0.55, .anchor_top = 1.2,
    .alarm_limits = {10, 40, 5, 45, 45}};

// A shallow plate test has no unloading grades under its standard.
const SampleProfile kPlateProfile = {
    .site = "某某工业园 5#厂房地基", .number = "T-3", .serial = "JC2023-0803-021",
    .method = "GB50007-2011 浅层平板载荷试验",
    .test_object = 1, .pressure_unit = 1, .test_type = 0, .test_code = 5, .direction_kind = 1,
    .max_load = 400, .loading_grades = 8, .first_multiple = 1, .unloading_grades = 0,
    .unloading_minutes = 0, .last_unloading_minutes = 0, .stability_start = 0,
    .load_intervals = kPlateLoad, .unload_intervals = {},
    .pile_length = 0, .pile_diameter = 0, .plate_area = 0.5f, .cylinder_bore = 200, .jacks = 1,
    .anchor_channels = 0, .top_settlement = 16.0, .rebound = 0, .anchor_top = 0,
    .alarm_limits = {50, 10, 5, 45, 45}};
// clang-format on

}  // namespace

const SampleProfile& sample_profile(SampleType type) {
    switch (type) {
        case SampleType::kUplift:
            return kUpliftProfile;
        case SampleType::kPlate:
            return kPlateProfile;
        default:
            return kCompressionProfile;
    }
}

TestHeader make_sample_header(const SampleProfile& p, int loading_grades, std::int64_t test_time,
                              SampleRandom& rng) {
    TestHeader h = default_test_header(test_time);
    write_gbk_field(h.format_tag, kFormatTag);
    write_gbk_field(h.site_name, p.site);
    write_gbk_field(h.serial_number, p.serial);
    write_gbk_field(h.pile_number, p.number);
    h.pile_length = p.pile_length;
    h.pile_diameter = p.pile_diameter;
    h.plate_area = p.plate_area;
    h.test_object = p.test_object;
    h.pressure_unit = p.pressure_unit;
    h.cylinder_bore = p.cylinder_bore;
    h.jack_count = static_cast<std::uint8_t>(p.jacks);
    const int first_jack = 3200 + rng.below(700);
    write_gbk_field(h.jack_numbers, p.jacks == 1
                                        ? strprintf("QJ-%d", first_jack)
                                        : strprintf("QJ-%d,QJ-%d", first_jack, first_jack + 1));
    const int first_sensor = 21000 + rng.below(9000);
    for (int j = 0; j < kSampleTestPileGauges + p.anchor_channels; ++j) {
        const bool on_test_pile = j < kSampleTestPileGauges;
        h.in_use[j] = 1;
        h.test_pile[j] = on_test_pile ? 1 : 0;
        h.averaged[j] = on_test_pile ? 1 : 0;
        // The test pile's gauges travel with the settlement, the anchors' against it.
        h.shortens[j] = (on_test_pile == (p.direction_kind == 2)) ? 1 : 0;
        write_gbk_field(h.sensor_numbers[j], strprintf("WY%05d", first_sensor + 3 * j));
    }
    write_gbk_field(h.instrument_number, strprintf("VX-%04d", 100 + rng.below(9000)));
    write_gbk_field(h.upload_number, strprintf("3205%06d", rng.below(1000000)));
    write_gbk_field(h.test_method, p.method);
    h.first_multiple = static_cast<std::uint8_t>(p.first_multiple);
    h.loading_grades = static_cast<std::uint8_t>(loading_grades);
    // Zero in the defaults and left so: pressure-to-load by cylinder bore,
    // stability check on, automatic test mode, reloading on, no fast method.
    h.stability_count = 2;
    h.stability_minutes = 60;
    h.stability_criterion = static_cast<float>(kSampleStabilityCriterion);
    h.unloading_minutes = static_cast<std::uint16_t>(p.unloading_minutes);
    h.unloading_grades = static_cast<std::uint8_t>(p.unloading_grades);
    for (int i = 0; i < kIntervalCount; ++i) {
        h.load_intervals[i] = static_cast<std::uint16_t>(p.load_intervals[i]);
        h.unload_intervals[i] = static_cast<std::uint16_t>(p.unload_intervals[i]);
    }
    h.max_load = p.max_load;
    std::copy(p.alarm_limits.begin(), p.alarm_limits.end(), h.alarm_limits);
    h.grade_alarm_on[0] = h.grade_alarm_on[1] = 1;
    h.grade_alarm_multiple[0] = 5;  // a grade settling five times the previous one
    h.grade_alarm_multiple[1] = 2;
    h.longest_pressurising_time = 600;
    h.reloading_mode = 1;
    h.load_sensor_type = 1;  // oil pressure
    h.load_drop_amount = static_cast<float>(p.max_load / 100);
    h.load_drop_percentage = 2.0f;
    h.pressure_sensor_range = 60;
    h.direction_kind = p.direction_kind;
    h.longitude = 120.62;
    h.latitude = 31.31;
    h.snapshot_size = kSnapshotSize;
    h.last_unloading_minutes = p.last_unloading_minutes;
    h.test_type = p.test_type;
    h.stability_start_minutes = static_cast<std::uint16_t>(p.stability_start);
    write_gbk_field(h.pressure_sensor_number, strprintf("YL-%04d", 1000 + rng.below(9000)));
    h.test_code = p.test_code;
    return h;
}

}  // namespace kvd
