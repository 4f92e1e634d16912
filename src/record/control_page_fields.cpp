#include "record/control_page_fields.h"

#include "base/text_codec.h"
#include "record/page_fields.h"

namespace kvd {

void ControlPageFields::load_from(const TestHeader& h) {
    manual = h.test_mode == 1;
    longest_pressurising_time = h.longest_pressurising_time;
    reloading_off = h.reloading_off == 1;
    reload_by_percentage = h.reloading_mode == 1;
    load_drop_amount = h.load_drop_amount;
    load_drop_percentage = h.load_drop_percentage;
    pressure_sensor_range = h.pressure_sensor_range;
    load_sensor_type = h.load_sensor_type == 1 ? 1 : 0;
    displacement_sensor_type = h.displacement_sensor_type == 1 ? 1 : 0;
    upload_mode = h.upload_mode;
    instrument_number = read_gbk_field(h.instrument_number);
    upload_number = read_gbk_field(h.upload_number);
    longitude = h.longitude;
    latitude = h.latitude;
}

void ControlPageFields::store_into(TestHeader& h) const {
    h.test_mode = manual ? 1 : 0;
    h.longest_pressurising_time =
        clamp_to_field<std::int32_t>(longest_pressurising_time, 0, kPressurisingTimeMax);
    h.reloading_off = reloading_off ? 1 : 0;
    h.reloading_mode = reload_by_percentage ? 1 : 0;
    h.load_drop_amount = clamp_to_float(load_drop_amount, 0, kLoadDropAmountMax);
    h.load_drop_percentage = clamp_to_float(load_drop_percentage, 0, kLoadDropPercentMax);
    h.pressure_sensor_range =
        clamp_to_field<std::uint16_t>(pressure_sensor_range, 0, kSensorRangeMax);
    // The tester always reads the load through the oil pressure.
    h.load_sensor_type = 1;
    h.displacement_sensor_type = displacement_sensor_type == 1 ? 1 : 0;
    h.upload_mode = clamp_to_field<std::uint8_t>(upload_mode);
    write_gbk_field(h.instrument_number,
                    limit_characters(instrument_number, kInstrumentNumberChars));
    write_gbk_field(h.upload_number, limit_characters(upload_number, kInstrumentNumberChars));
    h.longitude = clamp_real(longitude, 0, kDegreesMax);
    h.latitude = clamp_real(latitude, 0, kDegreesMax);
}

Status validate(const ControlPageFields& f) {
    return first_failure({
        check_int_field("最长加压时间 (秒)", f.longest_pressurising_time, 0, kPressurisingTimeMax),
        check_real_field("掉载量设置(kN)", f.load_drop_amount, 0, kLoadDropAmountMax),
        check_real_field("掉载量设置(%)", f.load_drop_percentage, 0, kLoadDropPercentMax),
        check_int_field("压力传感器最大量程(Mpa)", f.pressure_sensor_range, 0, kSensorRangeMax),
        check_int_field("数据上传模式", f.upload_mode, 0, 255),
        check_real_field("经度", f.longitude, 0, kDegreesMax),
        check_real_field("纬度", f.latitude, 0, kDegreesMax),
    });
}

ReloadingControls reloading_controls(const ControlPageFields& f) {
    ReloadingControls shown;
    if (f.reloading_off) return shown;
    shown.mode_shown = true;
    shown.amount_shown = !f.reload_by_percentage;
    shown.percentage_shown = f.reload_by_percentage;
    shown.unit_label = f.reload_by_percentage ? "%" : "kN";
    return shown;
}

void AlarmPageFields::load_from(const TestHeader& h) {
    for (std::size_t i = 0; i < limits.size(); ++i) limits[i] = h.alarm_limits[i];
    for (std::size_t i = 0; i < 2; ++i) {
        grade_alarm_on[i] = h.grade_alarm_on[i] != 0;
        grade_alarm_multiple[i] = h.grade_alarm_multiple[i];
    }
}

void AlarmPageFields::store_into(TestHeader& h) const {
    for (std::size_t i = 0; i < limits.size(); ++i) h.alarm_limits[i] = clamp_to_float(limits[i]);
    for (std::size_t i = 0; i < 2; ++i) {
        h.grade_alarm_on[i] = grade_alarm_on[i] ? 1 : 0;
        h.grade_alarm_multiple[i] = clamp_to_field<std::uint16_t>(grade_alarm_multiple[i]);
    }
}

Status validate(const AlarmPageFields& f) {
    constexpr int kMultipleMax = 65535;  // stored as uint16
    return first_failure({
        check_finite_field(kAlarmLimitLabels[0], f.limits[0]),
        check_finite_field(kAlarmLimitLabels[1], f.limits[1]),
        check_finite_field(kAlarmLimitLabels[2], f.limits[2]),
        check_finite_field(kAlarmLimitLabels[3], f.limits[3]),
        check_finite_field(kAlarmLimitLabels[4], f.limits[4]),
        check_int_field("后级沉降≥前级沉降 倍数", f.grade_alarm_multiple[0], 0, kMultipleMax),
        check_int_field("后级沉降≥前级沉降 倍数", f.grade_alarm_multiple[1], 0, kMultipleMax),
    });
}

}  // namespace kvd
