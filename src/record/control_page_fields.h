#pragma once
// The values of the control page (控制参数, CHeZaiDlg) and of the alarm page
// (报警参数, CjiXianDlg): the field tester's control settings and the limits it
// watches during a test. The program only stores them with the test; no
// analysis reads them.

#include <array>
#include <string>
#include <string_view>

#include "base/status.h"
#include "record/test_header.h"

namespace kvd {

// Page limits (inclusive).
inline constexpr int kPressurisingTimeMax = 2000;          // 最长加压时间, s
inline constexpr double kLoadDropAmountMax = 2000;         // 掉载量, kN
inline constexpr double kLoadDropPercentMax = 1000;        // 掉载量, %
inline constexpr int kSensorRangeMax = 3000;               // 压力传感器最大量程, MPa
inline constexpr double kDegreesMax = 360;                 // 经度, 纬度
inline constexpr std::size_t kInstrumentNumberChars = 15;  // 仪器编号, 上传编号

struct ControlPageFields {
    bool manual = false;                 // 试验方式 自动 / 人工: header 986
    int longest_pressurising_time = 60;  // s: header 988
    bool reloading_off = false;          // 是否补载 是 / 否: header 992
    bool reload_by_percentage = false;   // 补载方式 数值 / 百分比: header 994
    double load_drop_amount = 20;        // kN: header 996
    double load_drop_percentage = 10;    // %: header 1000
    int pressure_sensor_range = 70;      // MPa: header 1004
    int load_sensor_type = 1;            // 荷载传感器类型 力 (0) / 油压 (1): header 995
    int displacement_sensor_type = 0;    // 调频式 (0) / 容栅式 (1): header 993
    int upload_mode = 1;                 // index into the upload-mode list: header 1006
    std::string instrument_number;       // header 777
    std::string upload_number;           // header 793
    double longitude = 0;                // degrees: header 1040
    double latitude = 0;                 // degrees: header 1048

    void load_from(const TestHeader& header);
    // Numbers clamped to the page limits and their fields; the load sensor
    // type is always stored as 1 (oil pressure), whatever the radio shows.
    void store_into(TestHeader& header) const;
};

Status validate(const ControlPageFields& fields);

// Which of the reloading controls show: with 是否补载 = 否 none of them; else
// the mode radios and either the amount (1246, unit "kN") or the percentage
// (1247, unit "%").
struct ReloadingControls {
    bool mode_shown = false;
    bool amount_shown = false;
    bool percentage_shown = false;
    std::string_view unit_label;  // empty when hidden
};
ReloadingControls reloading_controls(const ControlPageFields& fields);

// The alarm page's limits (极限值).
inline constexpr std::array<std::string_view, 5> kAlarmLimitLabels = {
    "最大沉降值(mm)", "最大上拨值(mm)", "不均匀沉降值(mm)", "位移伸长量报警值(mm)",
    "位移缩短量报警值(mm)"};
inline constexpr std::string_view kGradeAlarmLabel = "后级沉降≥前级沉降";

struct AlarmPageFields {
    std::array<double, 5> limits{};             // mm: header 960 ... 976
    std::array<bool, 2> grade_alarm_on{};       // header 980, 981
    std::array<int, 2> grade_alarm_multiple{};  // 倍: header 982, 984 (uint16)

    void load_from(const TestHeader& header);
    // Multiples clamped to 0 ... 65535, limits to the float range.
    void store_into(TestHeader& header) const;
};

// Refuses limits that are not numbers and multiples outside 0 ... 65535.
Status validate(const AlarmPageFields& fields);

}  // namespace kvd
