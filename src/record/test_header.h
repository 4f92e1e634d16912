#pragma once
// TestHeader: the descriptive and parameter block of a test, a 1640-byte
// little-endian image shared by every file kind. Texts are NUL-terminated GBK
// inside their fields (use read_gbk_field / write_gbk_field). Fields named
// field_NNNN or reserved_NNNN have no meaning to this program; they are kept
// and written back unchanged.

#include <cstddef>
#include <cstdint>

#include "record/raw_reading.h"
#include "record/sample_point.h"

namespace kvd {

struct TestHeader {
    char format_tag[14];                   // "VXRAC" when built from the tester's block
    std::uint8_t reserved_14[2];
    std::int64_t test_time;                // 测试日期, seconds since 1970 UTC
    char site_name[65];                    // 工地名称
    char serial_number[25];                // 检测流水号
    char pile_number[25];                  // 试验桩号 / 试验点号
    std::uint8_t reserved_139;
    float pile_length;                     // m
    std::int32_t pile_diameter;            // mm (side length of a square pile)
    float plate_area;                      // 压板面积, foundation tests
    float replacement_ratio;               // 置换率, foundation tests
    std::uint8_t test_object;              // 0 pile, 1 foundation
    std::uint8_t pressure_unit;            // 0 kN, 1 kPa
    std::uint8_t section_shape;            // 0 circular, 1 square
    std::uint8_t averaged[kChannelCount];  // 平均通道
    std::uint8_t pressure_method;          // 0 bore, 1 table, 2 calibration eq., 3 regression eq.
    std::uint8_t reserved_176[4];
    std::int32_t cylinder_bore;            // 油缸内径, mm
    std::uint8_t jack_count;
    std::uint8_t in_use[kChannelCount];
    std::uint8_t test_pile[kChannelCount];  // 1 test pile, 0 anchor pile
    std::uint8_t shortens[kChannelCount];   // 0 extends, 1 shortens in a normal test
    char jack_numbers[32];                 // 千斤顶编号
    char sensor_numbers[kChannelCount][32];  // 位移编号
    char instrument_number[16];            // 仪器编号
    char upload_number[16];                // 上传编号
    std::uint8_t reserved_809[18];
    char test_method[65];                  // the chosen standard's text
    std::uint8_t first_multiple;           // 首次加载级数
    std::uint8_t loading_grades;           // 加载分级
    std::uint8_t stability_check_off;      // 是否判稳: 0 on, 1 off
    std::uint8_t stability_count;          // 判稳次数
    std::uint16_t stability_minutes;       // 每次判稳时间
    std::uint8_t reserved_898[2];
    float stability_criterion;             // 判稳标准, mm
    std::uint16_t unloading_minutes;       // per unloading grade
    std::uint8_t unloading_grades;         // 卸载分级
    std::uint8_t reserved_907;
    std::uint16_t load_intervals[12];      // loading IntervalTable, minutes
    std::uint16_t unload_intervals[12];    // unloading IntervalTable, minutes
    std::int32_t max_load;                 // 最大载荷值, kN or kPa
    float alarm_limits[5];                 // max settlement, max uplift, uneven, extension, shortening
    std::uint8_t grade_alarm_on[2];        // 后级沉降≥前级沉降 switches
    std::uint16_t grade_alarm_multiple[2]; // their multiples
    std::uint8_t test_mode;                // 0 automatic, 1 manual
    std::uint8_t reserved_987;
    std::int32_t longest_pressurising_time;  // s
    std::uint8_t reloading_off;            // 是否补载: 0 on, 1 off
    std::uint8_t displacement_sensor_type; // 0 frequency, 1 capacitive grid
    std::uint8_t reloading_mode;           // 0 by value, 1 by percentage
    std::uint8_t load_sensor_type;         // 0 force, 1 oil pressure
    float load_drop_amount;                // kN
    float load_drop_percentage;            // %
    std::uint16_t pressure_sensor_range;   // MPa
    std::uint8_t upload_mode;
    std::uint8_t field_1007;
    std::int32_t direction_kind;           // 2 vertical uplift, else compression
    std::int32_t coordinate_mode;          // 0 automatic axes, 1 user-defined
    std::int32_t x_axis_max;               // user-defined load-axis maximum
    std::uint8_t reserved_1020[4];
    double y_axis_min;                     // user-defined displacement axis, mm
    double y_axis_max;
    double longitude;                      // degrees 0-360
    double latitude;
    std::int32_t snapshot_size;            // bytes of one ReadingParams in the file
    std::int32_t last_unloading_minutes;   // holding time of the last unloading grade
    float equation_k;
    float equation_b;
    std::int32_t upload_progress;
    std::uint8_t test_type;                // method page: 0 compression, 1 uplift, 2 horizontal
    std::uint8_t reserved_1077;
    std::uint16_t stability_start_minutes; // 开始判稳时间
    std::uint16_t field_1080;
    std::uint8_t field_1082;
    char pressure_sensor_number[16];       // 压力传感器编号
    std::uint8_t reserved_1099;
    std::int16_t reserved_list_1100[20];
    std::int16_t reserved_list_1140[16];
    std::uint8_t field_1172;
    std::uint8_t reserved_1173;
    std::uint16_t field_1174;
    std::uint16_t upload_state;
    std::uint8_t reserved_1178[2];
    std::uint8_t test_code;                // set by the choice of standard
    std::uint8_t fast_method;              // fast-method flag
    std::uint8_t reserved_1182[458];
};

static_assert(offsetof(TestHeader, format_tag) == 0);
static_assert(offsetof(TestHeader, test_time) == 16);
static_assert(offsetof(TestHeader, site_name) == 24);
static_assert(offsetof(TestHeader, serial_number) == 89);
static_assert(offsetof(TestHeader, pile_number) == 114);
static_assert(offsetof(TestHeader, pile_length) == 140);
static_assert(offsetof(TestHeader, pile_diameter) == 144);
static_assert(offsetof(TestHeader, plate_area) == 148);
static_assert(offsetof(TestHeader, replacement_ratio) == 152);
static_assert(offsetof(TestHeader, test_object) == 156);
static_assert(offsetof(TestHeader, pressure_unit) == 157);
static_assert(offsetof(TestHeader, section_shape) == 158);
static_assert(offsetof(TestHeader, averaged) == 159);
static_assert(offsetof(TestHeader, pressure_method) == 175);
static_assert(offsetof(TestHeader, cylinder_bore) == 180);
static_assert(offsetof(TestHeader, jack_count) == 184);
static_assert(offsetof(TestHeader, in_use) == 185);
static_assert(offsetof(TestHeader, test_pile) == 201);
static_assert(offsetof(TestHeader, shortens) == 217);
static_assert(offsetof(TestHeader, jack_numbers) == 233);
static_assert(offsetof(TestHeader, sensor_numbers) == 265);
static_assert(offsetof(TestHeader, instrument_number) == 777);
static_assert(offsetof(TestHeader, upload_number) == 793);
static_assert(offsetof(TestHeader, test_method) == 827);
static_assert(offsetof(TestHeader, first_multiple) == 892);
static_assert(offsetof(TestHeader, loading_grades) == 893);
static_assert(offsetof(TestHeader, stability_check_off) == 894);
static_assert(offsetof(TestHeader, stability_count) == 895);
static_assert(offsetof(TestHeader, stability_minutes) == 896);
static_assert(offsetof(TestHeader, stability_criterion) == 900);
static_assert(offsetof(TestHeader, unloading_minutes) == 904);
static_assert(offsetof(TestHeader, unloading_grades) == 906);
static_assert(offsetof(TestHeader, load_intervals) == 908);
static_assert(offsetof(TestHeader, unload_intervals) == 932);
static_assert(offsetof(TestHeader, max_load) == 956);
static_assert(offsetof(TestHeader, alarm_limits) == 960);
static_assert(offsetof(TestHeader, grade_alarm_on) == 980);
static_assert(offsetof(TestHeader, grade_alarm_multiple) == 982);
static_assert(offsetof(TestHeader, test_mode) == 986);
static_assert(offsetof(TestHeader, longest_pressurising_time) == 988);
static_assert(offsetof(TestHeader, reloading_off) == 992);
static_assert(offsetof(TestHeader, displacement_sensor_type) == 993);
static_assert(offsetof(TestHeader, reloading_mode) == 994);
static_assert(offsetof(TestHeader, load_sensor_type) == 995);
static_assert(offsetof(TestHeader, load_drop_amount) == 996);
static_assert(offsetof(TestHeader, load_drop_percentage) == 1000);
static_assert(offsetof(TestHeader, pressure_sensor_range) == 1004);
static_assert(offsetof(TestHeader, upload_mode) == 1006);
static_assert(offsetof(TestHeader, field_1007) == 1007);
static_assert(offsetof(TestHeader, direction_kind) == 1008);
static_assert(offsetof(TestHeader, coordinate_mode) == 1012);
static_assert(offsetof(TestHeader, x_axis_max) == 1016);
static_assert(offsetof(TestHeader, y_axis_min) == 1024);
static_assert(offsetof(TestHeader, y_axis_max) == 1032);
static_assert(offsetof(TestHeader, longitude) == 1040);
static_assert(offsetof(TestHeader, latitude) == 1048);
static_assert(offsetof(TestHeader, snapshot_size) == 1056);
static_assert(offsetof(TestHeader, last_unloading_minutes) == 1060);
static_assert(offsetof(TestHeader, equation_k) == 1064);
static_assert(offsetof(TestHeader, equation_b) == 1068);
static_assert(offsetof(TestHeader, upload_progress) == 1072);
static_assert(offsetof(TestHeader, test_type) == 1076);
static_assert(offsetof(TestHeader, stability_start_minutes) == 1078);
static_assert(offsetof(TestHeader, field_1080) == 1080);
static_assert(offsetof(TestHeader, field_1082) == 1082);
static_assert(offsetof(TestHeader, pressure_sensor_number) == 1083);
static_assert(offsetof(TestHeader, reserved_list_1100) == 1100);
static_assert(offsetof(TestHeader, reserved_list_1140) == 1140);
static_assert(offsetof(TestHeader, field_1172) == 1172);
static_assert(offsetof(TestHeader, field_1174) == 1174);
static_assert(offsetof(TestHeader, upload_state) == 1176);
static_assert(offsetof(TestHeader, test_code) == 1180);
static_assert(offsetof(TestHeader, fast_method) == 1181);
static_assert(offsetof(TestHeader, reserved_1182) == 1182);
static_assert(sizeof(TestHeader) == 1640);


// Size of one ReadingParams snapshot in every file this program writes.
inline constexpr std::int32_t kSnapshotSize = static_cast<std::int32_t>(sizeof(ReadingParams));

// Header of a new record: zero but for the defaults a new test gets.
TestHeader default_test_header(std::int64_t now);

// Copies a reading's control parameters into the header.
void apply_snapshot(const ReadingParams& snapshot, TestHeader& header);

// The inverse of apply_snapshot: the header's control parameters as a snapshot.
ReadingParams snapshot_from_header(const TestHeader& header);

// Direction kind 2 is vertical uplift; anything else is compression.
inline bool is_uplift(const TestHeader& header) { return header.direction_kind == 2; }

}  // namespace kvd
