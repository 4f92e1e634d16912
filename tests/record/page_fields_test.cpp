#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "base/text_codec.h"
#include "record/control_page_fields.h"
#include "record/displacement_page_fields.h"
#include "record/grade_compute.h"
#include "record/page_fields.h"
#include "record/project_page_fields.h"

namespace kvd {
namespace {

TestHeader blank_header() {
    TestHeader header;
    std::memset(&header, 0, sizeof header);
    return header;
}

const char* at(const TestHeader& header, std::size_t offset) {
    return reinterpret_cast<const char*>(&header) + offset;
}

template <typename T>
T header_value(const TestHeader& header, std::size_t offset) {
    T value;
    std::memcpy(&value, at(header, offset), sizeof value);
    return value;
}

std::string repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST(PageFieldHelpers, LimitsCountCharactersAndNumbersNeverWrap) {
    EXPECT_EQ(limit_characters("工地名称测试", 3), "工地名");
    EXPECT_EQ(limit_characters("ab工地", 3), "ab工");
    EXPECT_EQ(limit_characters("abc", 10), "abc");
    EXPECT_EQ(clamp_to_field<std::uint8_t>(300), 255);
    EXPECT_EQ(clamp_to_field<std::uint8_t>(-1), 0);
    EXPECT_EQ(clamp_to_field<std::uint16_t>(70000, 0, 1000), 1000);
    EXPECT_EQ(clamp_to_float(std::numeric_limits<double>::quiet_NaN(), -5, 5), 0.0f);
    EXPECT_EQ(clamp_to_float(1e300), std::numeric_limits<float>::max());
    EXPECT_EQ(check_int_field("桩径", 10000, 0, 9999).message(),
              "桩径: 请输入一个介于 0 和 9999 之间的整数。");
    EXPECT_TRUE(check_int_field("桩径", 9999, 0, 9999).ok());
    EXPECT_FALSE(check_real_field("经度", std::numeric_limits<double>::infinity(), 0, 360).ok());
}

TEST(ProjectPage, StoreAndLoadKeepEveryFieldWithinItsBytes) {
    ProjectPageFields f;
    f.test_time = 1700000000;
    f.site_name = repeat("工地", 40);         // 80 characters, 160 GBK bytes
    f.pile_number = "试桩-0123456789ABCDEF";  // more than 15 characters
    f.pile_length = 23.5;
    f.pile_diameter = 800;
    f.plate_area = 2.0;
    f.replacement_ratio = 0.25;
    f.test_object = 1;
    f.pressure_unit = 1;
    f.section_shape = 1;
    f.jack_count = 3;
    f.cylinder_bore = 320;
    f.jack_numbers = "QJ-01";
    f.averaged[2] = true;

    TestHeader header = blank_header();
    std::memcpy(header.serial_number, "SN1", 4);  // the byte after the site name field
    TestParams params;
    f.store_into(header, params);

    // The site name stops inside its 65 bytes: the serial number survives.
    EXPECT_EQ(std::string(at(header, 89)), "SN1");
    EXPECT_EQ(at(header, 24)[64], '\0');
    EXPECT_EQ(read_gbk_field(header.site_name), repeat("工地", 16));
    EXPECT_EQ(params.site_name, repeat("工地", 15) + "工");  // TestParams holds 63 bytes
    EXPECT_EQ(read_gbk_field(header.pile_number), "试桩-0123456789AB");  // 15 characters
    EXPECT_FLOAT_EQ(header_value<float>(header, 140), 23.5f);
    EXPECT_EQ(header_value<std::int32_t>(header, 144), 800);
    EXPECT_FLOAT_EQ(header_value<float>(header, 148), 2.0f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 152), 0.25f);
    EXPECT_EQ(header_value<std::uint8_t>(header, 156), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 157), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 158), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 159 + 2), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 159), 0);
    EXPECT_EQ(header_value<std::uint8_t>(header, 184), 3);
    EXPECT_EQ(header_value<std::int32_t>(header, 180), 320);
    EXPECT_EQ(std::string(at(header, 233)), "QJ-01");
    EXPECT_EQ(header_value<std::int64_t>(header, 16), 1700000000);
    EXPECT_TRUE(params.in_kpa());
    EXPECT_EQ(params.averaged[2], 1);
    EXPECT_EQ(params.averaged[0], 0);

    ProjectPageFields loaded;
    loaded.load_from(header, params);
    EXPECT_EQ(loaded.serial_number, "SN1");
    EXPECT_EQ(loaded.pile_diameter, 800);
    EXPECT_DOUBLE_EQ(loaded.plate_area, 2.0);
    EXPECT_EQ(loaded.test_object, 1);
    EXPECT_EQ(loaded.jack_numbers, "QJ-01");
    EXPECT_TRUE(loaded.averaged[2]);
    EXPECT_FALSE(loaded.averaged[0]);

    EXPECT_EQ(format_pile_length(23.5), "23.500");
    EXPECT_EQ(format_plate_area(2.0), "2.000");
}

TEST(ProjectPage, ValidationRefusesWhatTheBoxesCannotHold) {
    ProjectPageFields f;
    EXPECT_TRUE(validate(f).ok());
    f.pile_diameter = 10000;
    EXPECT_NE(validate(f).message().find("桩径"), std::string::npos);
    f.pile_diameter = 600;
    f.pile_length = -1;
    EXPECT_FALSE(validate(f).ok());
    f.pile_length = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(validate(f).ok());
    f.pile_length = 12;
    f.calibration_k = 1e9;
    EXPECT_FALSE(validate(f).ok());
    f.calibration_k = 1;
    f.jack_count = 256;
    EXPECT_FALSE(validate(f).ok());
}

TEST(ProjectPage, PressureMethodChecksRefuseAndKeepThePreviousMethod) {
    TestHeader header = blank_header();
    ProjectPageFields f;
    f.calibration_k = 3.5;
    f.calibration_b = 1.25;
    ASSERT_TRUE(choose_pressure_method(PressureMethod::kCalibrationEquation, f, header).ok());
    EXPECT_EQ(header_value<std::uint8_t>(header, 175), 2);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1064), 3.5f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1068), 1.25f);

    f.regression_k = 0;
    f.regression_b = 7;
    Status status = choose_pressure_method(PressureMethod::kRegressionEquation, f, header);
    EXPECT_EQ(status.message(), "回归方程中k 系数不能小于等于0");
    EXPECT_EQ(f.pressure_method, PressureMethod::kCalibrationEquation);
    EXPECT_EQ(header_value<std::uint8_t>(header, 175), 2);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1064), 3.5f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1068), 1.25f);

    f.calibration_k = -1;
    EXPECT_EQ(choose_pressure_method(PressureMethod::kCalibrationEquation, f, header).message(),
              "率定方程中k 系数不能小于等于0");
    f.calibration_k = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(choose_pressure_method(PressureMethod::kCalibrationEquation, f, header).ok());
    f.cylinder_bore = 0;
    EXPECT_EQ(choose_pressure_method(PressureMethod::kCylinderBore, f, header).message(),
              "油缸内径不能小于等于0");
    EXPECT_EQ(header_value<std::uint8_t>(header, 175), 2);

    f.cylinder_bore = 250;
    ASSERT_TRUE(choose_pressure_method(PressureMethod::kCylinderBore, f, header).ok());
    EXPECT_EQ(header_value<std::uint8_t>(header, 175), 0);
    EXPECT_EQ(header_value<std::int32_t>(header, 180), 250);

    f.jack_numbers = "QLD-7";
    ASSERT_TRUE(choose_pressure_method(PressureMethod::kCalibrationTable, f, header).ok());
    EXPECT_EQ(header_value<std::uint8_t>(header, 175), 1);
    EXPECT_EQ(std::string(at(header, 233)), "QLD-7");

    f.regression_k = 0.02;
    ASSERT_TRUE(choose_pressure_method(PressureMethod::kRegressionEquation, f, header).ok());
    EXPECT_EQ(f.pressure_method, PressureMethod::kRegressionEquation);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1064), 0.02f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1068), 7.0f);

    // Loading puts the coefficients into the boxes of the stored method.
    ProjectPageFields loaded;
    loaded.load_from(header, TestParams{});
    EXPECT_EQ(loaded.pressure_method, PressureMethod::kRegressionEquation);
    EXPECT_FLOAT_EQ(static_cast<float>(loaded.regression_k), 0.02f);
    EXPECT_EQ(loaded.calibration_k, 0);
}

TEST(ProjectPage, CaptionsEnabledBoxesAndUnitSwitch) {
    ProjectCaptions pile = project_captions(0);
    EXPECT_EQ(pile.length, "桩     长");
    EXPECT_EQ(pile.diameter, "桩     径");
    EXPECT_EQ(pile.number, "试验桩号");
    EXPECT_TRUE(pile.pile_boxes_shown);
    ProjectCaptions ground = project_captions(1);
    EXPECT_EQ(ground.length, "压板面积");
    EXPECT_EQ(ground.diameter, "置 换 率");
    EXPECT_EQ(ground.number, "试验点号");
    EXPECT_FALSE(ground.pile_boxes_shown);
    EXPECT_TRUE(plate_area_enabled(0));
    EXPECT_FALSE(plate_area_enabled(1));

    // A foundation test switched to kPa with plate area 2 halves every load.
    TestRecord record = TestRecord::make_empty(0);
    SamplePoint point{};
    point.load = 101;
    record.grades.append_grade().append(point);
    ProjectPageFields f;
    f.load_from(record.header, record.test_params);
    f.test_object = 1;
    f.plate_area = 2;
    f.store_into(record.header, record.test_params);
    const TestParams before = record.test_params;
    EXPECT_EQ(load_conversion(before, record.test_params), LoadConversion::kNone);
    f.pressure_unit = 1;
    f.store_into(record.header, record.test_params);
    ASSERT_EQ(load_conversion(before, record.test_params), LoadConversion::kToKpa);
    ASSERT_TRUE(convert_record_loads(record, true));
    EXPECT_EQ(record.grades.first_load(0), 51);

    // Back to a pile test: the loads are kN again.
    TestParams kpa = record.test_params;
    f.test_object = 0;
    f.store_into(record.header, record.test_params);
    EXPECT_EQ(load_conversion(kpa, record.test_params), LoadConversion::kToKn);
}

TEST(ProjectPage, AveragedChannelsStoreAllSixteenAndDriveTheSettlement) {
    TestRecord record = TestRecord::make_empty(0);
    record.test_params.channel_role[0] = ChannelRole::kTestPile;
    record.test_params.channel_role[1] = ChannelRole::kAnchorPile;
    record.test_params.averaged[0] = 1;
    EXPECT_TRUE(averaged_box_enabled(record.test_params, 0));
    EXPECT_TRUE(averaged_box_enabled(record.test_params, 1));
    EXPECT_FALSE(averaged_box_enabled(record.test_params, 2));
    EXPECT_FALSE(averaged_box_enabled(record.test_params, 16));
    EXPECT_FALSE(averaged_box_enabled(record.test_params, -1));

    SamplePoint point{};
    point.channel[0] = 1.5;
    record.grades.append_grade().append(point);
    recompute_averages(record.grades, record.test_params);
    EXPECT_DOUBLE_EQ(record.grades.last_settlement(0), 1.5);

    std::array<bool, kChannelCount> ticked{};
    ticked[5] = true;  // a channel not on the test pile
    store_averaged(ticked, record.header, record.test_params);
    for (int j = 0; j < kChannelCount; ++j) {
        EXPECT_EQ(header_value<std::uint8_t>(record.header, 159 + static_cast<std::size_t>(j)),
                  j == 5 ? 1 : 0);
        EXPECT_EQ(record.test_params.averaged[static_cast<std::size_t>(j)], j == 5 ? 1 : 0);
    }
    recompute_averages(record.grades, record.test_params);
    EXPECT_DOUBLE_EQ(record.grades.last_settlement(0), 0.0);
}

TEST(DisplacementPage, ChannelsMapToTheirHeaderBytes) {
    DisplacementPageFields f;
    f.channels[0] = {true, "WY-001", true, false};
    f.channels[15] = {true, repeat("位移", 20), false, true};
    TestHeader header = blank_header();
    std::memset(header.instrument_number, 'I', 15);  // follows sensor number 16
    f.store_into(header);
    EXPECT_EQ(header_value<std::uint8_t>(header, 185), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 201), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 217), 0);
    EXPECT_EQ(std::string(at(header, 265)), "WY-001");
    EXPECT_EQ(header_value<std::uint8_t>(header, 185 + 15), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 201 + 15), 0);
    EXPECT_EQ(header_value<std::uint8_t>(header, 217 + 15), 1);
    EXPECT_EQ(at(header, 265 + 32 * 15)[31], '\0');
    EXPECT_EQ(at(header, 777)[0], 'I');
    EXPECT_EQ(header_value<std::uint8_t>(header, 185 + 7), 0);

    DisplacementPageFields loaded;
    loaded.load_from(header);
    EXPECT_EQ(loaded.channels[0].sensor_number, "WY-001");
    EXPECT_TRUE(loaded.channels[0].test_pile);
    EXPECT_EQ(loaded.channels[15].sensor_number, repeat("位移", 7) + "位");  // 30 of 31 bytes
    EXPECT_TRUE(loaded.channels[15].shortens);
    EXPECT_TRUE(channel_radios_enabled(loaded.channels[15]));
    EXPECT_FALSE(channel_radios_enabled(loaded.channels[7]));

    EXPECT_EQ(kDisplacementHelpText,
              "帮助：“使用目的”就是这个表的功能，是用来测试试桩位移变化，还是用来测试锚桩位移变化；"
              "\n“运动方向”就是安装这个伸缩杆在正常试验中是逐渐伸长还是逐渐缩短。");
}

TEST(ControlPage, DefaultsStoreAndVisibility) {
    ControlPageFields f;
    EXPECT_EQ(f.longest_pressurising_time, 60);
    EXPECT_DOUBLE_EQ(f.load_drop_amount, 20);
    EXPECT_DOUBLE_EQ(f.load_drop_percentage, 10);
    EXPECT_EQ(f.pressure_sensor_range, 70);
    EXPECT_EQ(f.load_sensor_type, 1);
    EXPECT_EQ(f.displacement_sensor_type, 0);
    EXPECT_EQ(f.upload_mode, 1);
    EXPECT_TRUE(validate(f).ok());

    f.manual = true;
    f.reload_by_percentage = true;
    f.load_sensor_type = 0;
    f.displacement_sensor_type = 1;
    f.instrument_number = "仪器编号一二三四五六七八九十";  // 14 characters
    f.upload_number = "U-1234567890123456";                // 18 characters
    f.longitude = 114.3;
    f.latitude = 30.6;
    f.longest_pressurising_time = 5000;  // clamped, never wrapped
    TestHeader header = blank_header();
    f.store_into(header);
    EXPECT_EQ(header_value<std::uint8_t>(header, 986), 1);
    EXPECT_EQ(header_value<std::int32_t>(header, 988), 2000);
    EXPECT_EQ(header_value<std::uint8_t>(header, 994), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 995), 1);  // always oil pressure
    EXPECT_EQ(header_value<std::uint8_t>(header, 993), 1);
    EXPECT_FLOAT_EQ(header_value<float>(header, 996), 20.0f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 1000), 10.0f);
    EXPECT_EQ(header_value<std::uint16_t>(header, 1004), 70);
    EXPECT_EQ(header_value<std::uint8_t>(header, 1006), 1);
    EXPECT_DOUBLE_EQ(header_value<double>(header, 1040), 114.3);
    EXPECT_DOUBLE_EQ(header_value<double>(header, 1048), 30.6);
    EXPECT_EQ(std::string(at(header, 793)), "U-1234567890123");
    EXPECT_EQ(read_gbk_field(header.instrument_number), "仪器编号一二三");  // 15 bytes max

    ControlPageFields loaded;
    loaded.load_from(header);
    EXPECT_TRUE(loaded.manual);
    EXPECT_EQ(loaded.load_sensor_type, 1);
    EXPECT_EQ(loaded.upload_number, "U-1234567890123");

    f.longest_pressurising_time = 2001;
    EXPECT_NE(validate(f).message().find("最长加压时间"), std::string::npos);
    f.longest_pressurising_time = 60;
    f.latitude = 361;
    EXPECT_FALSE(validate(f).ok());

    ControlPageFields v;
    ReloadingControls shown = reloading_controls(v);
    EXPECT_TRUE(shown.mode_shown && shown.amount_shown && !shown.percentage_shown);
    EXPECT_EQ(shown.unit_label, "kN");
    v.reload_by_percentage = true;
    shown = reloading_controls(v);
    EXPECT_TRUE(shown.mode_shown && !shown.amount_shown && shown.percentage_shown);
    EXPECT_EQ(shown.unit_label, "%");
    v.reloading_off = true;
    shown = reloading_controls(v);
    EXPECT_FALSE(shown.mode_shown || shown.amount_shown || shown.percentage_shown);
    EXPECT_TRUE(shown.unit_label.empty());
}

TEST(AlarmPage, LimitsAndMultiplesRoundTrip) {
    AlarmPageFields f;
    f.limits = {40, 10, 5, 45, 3};
    f.grade_alarm_on = {true, false};
    f.grade_alarm_multiple = {2, 70000};
    EXPECT_FALSE(validate(f).ok());
    TestHeader header = blank_header();
    f.store_into(header);
    EXPECT_FLOAT_EQ(header_value<float>(header, 960), 40.0f);
    EXPECT_FLOAT_EQ(header_value<float>(header, 976), 3.0f);
    EXPECT_EQ(header_value<std::uint8_t>(header, 980), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 981), 0);
    EXPECT_EQ(header_value<std::uint16_t>(header, 982), 2);
    EXPECT_EQ(header_value<std::uint16_t>(header, 984), 65535);

    AlarmPageFields loaded;
    loaded.load_from(header);
    EXPECT_EQ(loaded.limits[3], 45);
    EXPECT_TRUE(loaded.grade_alarm_on[0]);
    EXPECT_EQ(loaded.grade_alarm_multiple[1], 65535);
    EXPECT_TRUE(validate(loaded).ok());
}

}  // namespace
}  // namespace kvd
