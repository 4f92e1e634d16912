#pragma once
// The values of the project page (工程参数, CParaDialog): site, pile or test
// point, pile or plate dimensions, test object and pressure unit, jacks and
// the pressure-to-load method, and the averaged channels. The page edits both
// the header and the TestParams working block; the pressure method and the
// averaged channels are written at once when chosen, the rest on store.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "record/test_header.h"
#include "record/test_params.h"

namespace kvd {

enum class PressureMethod : std::uint8_t {
    kCylinderBore = 0,         // 油缸内径
    kCalibrationTable = 1,     // 率定表
    kCalibrationEquation = 2,  // 率定方程 F(kN) = k · P(MPa) + b
    kRegressionEquation = 3,   // 回归方程 P(MPa) = k · F(kN) + b
};

// Input limits of the text boxes, in characters. The header fields are
// narrower in bytes for Chinese text; storing cuts at a character boundary.
inline constexpr std::size_t kSiteNameChars = 65;
inline constexpr std::size_t kPileNumberChars = 15;
inline constexpr std::size_t kJackNumbersChars = 31;
// The number boxes: pile length, plate area and replacement ratio take six
// characters, the pile diameter four; validate() refuses what they cannot hold.
inline constexpr double kSixCharMax = 999999;
inline constexpr int kDiameterMax = 9999;
// Both coefficients of the calibration equation.
inline constexpr double kEquationMax = 100000000;

// The method messages, shown with the error icon.
inline constexpr std::string_view kBoreMessage = "油缸内径不能小于等于0";
inline constexpr std::string_view kCalibrationKMessage = "率定方程中k 系数不能小于等于0";
inline constexpr std::string_view kRegressionKMessage = "回归方程中k 系数不能小于等于0";

struct ProjectPageFields {
    std::int64_t test_time = 0;          // 测试日期: header 16, TestParams
    std::string site_name;               // 工地名称: header 24, TestParams
    std::string pile_number;             // 试验桩号 / 试验点号: header 114, TestParams
    std::string serial_number;           // 检测流水号: header 89, shown only
    double pile_length = 0;              // m: header 140, TestParams
    int pile_diameter = 0;               // mm: header 144, TestParams
    double plate_area = 1.0;             // 压板面积: header 148, TestParams
    double replacement_ratio = 1.0;      // 置换率: header 152, TestParams
    int test_object = 0;                 // 0 桩, 1 地基: header 156, TestParams
    int pressure_unit = 0;               // 0 kN, 1 kPa: header 157, TestParams
    int section_shape = 0;               // 0 圆形, 1 方形: header 158, TestParams
    std::string pressure_sensor_number;  // header 1083, shown only
    int jack_count = 0;                  // header 184
    int cylinder_bore = 0;               // mm: header 180
    std::string jack_numbers;            // 千斤顶编号 (calibration table number): header 233
    PressureMethod pressure_method = PressureMethod::kCylinderBore;  // header 175
    double calibration_k = 0;  // 1286/1287, header 1064/1068 with method 2
    double calibration_b = 0;
    double regression_k = 0;  // 1288/1289, header 1064/1068 with method 3
    double regression_b = 0;
    std::array<bool, kChannelCount> averaged{};  // 平均通道: header 159 + i, TestParams

    // The whole page (view hints 30 and 60). The TestParams-based fields come
    // from TestParams, the working block the tables and curves use; the
    // equation coefficients go to the boxes of the stored method.
    void load_from(const TestHeader& header, const TestParams& params);
    // The TestParams-based fields only (view hint 0).
    void load_params_fields(const TestParams& params);
    // Stores the page (view hints 10 and 20): texts cut to their limits,
    // numbers clamped to what their fields hold, the coefficients of the
    // current method into header 1064/1068. The two shown-only texts are not
    // written.
    void store_into(TestHeader& header, TestParams& params) const;
};

// Refuses a number the page's boxes cannot hold (negative or too long
// lengths, areas, ratios and diameters; jack counts beyond one byte; equation
// coefficients outside 0 ... 100000000; values that are not numbers).
Status validate(const ProjectPageFields& fields);

// A method radio: the method's check, then the method and its values stored
// into the header at once. On refusal the message above is returned and the
// page and the header keep the previous method.
Status choose_pressure_method(PressureMethod method, ProjectPageFields& fields, TestHeader& header);

// Captions and boxes that follow the test object.
struct ProjectCaptions {
    std::string_view length;    // "桩     长" / "压板面积"
    std::string_view diameter;  // "桩     径" / "置 换 率"
    std::string_view number;    // "试验桩号" / "试验点号"
    bool pile_boxes_shown;      // 1005 and 1007; otherwise 1006 and 1008
};
ProjectCaptions project_captions(int test_object);

// The plate-area box is enabled only while the unit is kN.
inline bool plate_area_enabled(int pressure_unit) {
    return pressure_unit == 0;
}

// The averaged-channel box of channel j (0 ... 15) is enabled only while the
// channel is in use.
bool averaged_box_enabled(const TestParams& params, int channel);

// A click on an averaged-channel box stores all 16 boxes at once into
// TestParams and header 159 ... 174; the caller then recomputes every
// settlement.
void store_averaged(const std::array<bool, kChannelCount>& ticked, TestHeader& header,
                    TestParams& params);

// Which way the loads must be converted after the page was stored: loads are
// in kPa exactly for a foundation test with the kPa unit, so they are
// converted when that changes. Pass the TestParams from before and after the
// store; the conversion itself is convert_record_loads.
enum class LoadConversion { kNone, kToKpa, kToKn };
LoadConversion load_conversion(const TestParams& before, const TestParams& after);

std::string format_pile_length(double metres);   // "%.3f"
std::string format_plate_area(double square_m);  // "%-.3f"

}  // namespace kvd
