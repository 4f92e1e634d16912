#include "record/project_page_fields.h"

#include "base/format.h"
#include "base/text_codec.h"
#include "record/page_fields.h"

namespace kvd {
namespace {

// TestParams keeps its texts in 64-byte blocks.
constexpr std::size_t kParamTextBytes = 63;

}  // namespace

void ProjectPageFields::load_params_fields(const TestParams& p) {
    test_time = p.test_time;
    site_name = p.site_name;
    pile_number = p.pile_number;
    pile_length = p.pile_length;
    pile_diameter = p.pile_diameter;
    plate_area = p.plate_area;
    replacement_ratio = p.replacement_ratio;
    test_object = p.test_object;
    pressure_unit = p.pressure_unit;
    section_shape = p.section_shape;
    for (int j = 0; j < kChannelCount; ++j) averaged[j] = p.averaged[j] != 0;
}

void ProjectPageFields::load_from(const TestHeader& h, const TestParams& p) {
    load_params_fields(p);
    serial_number = read_gbk_field(h.serial_number);
    pressure_sensor_number = read_gbk_field(h.pressure_sensor_number);
    jack_count = h.jack_count;
    cylinder_bore = h.cylinder_bore;
    jack_numbers = read_gbk_field(h.jack_numbers);
    pressure_method = h.pressure_method <= 3 ? static_cast<PressureMethod>(h.pressure_method)
                                             : PressureMethod::kCylinderBore;
    calibration_k = calibration_b = regression_k = regression_b = 0;
    if (pressure_method == PressureMethod::kCalibrationEquation) {
        calibration_k = h.equation_k;
        calibration_b = h.equation_b;
    } else if (pressure_method == PressureMethod::kRegressionEquation) {
        regression_k = h.equation_k;
        regression_b = h.equation_b;
    }
}

void ProjectPageFields::store_into(TestHeader& h, TestParams& p) const {
    const std::string site = limit_characters(site_name, kSiteNameChars);
    const std::string pile = limit_characters(pile_number, kPileNumberChars);
    const float length = clamp_to_float(pile_length, 0, kSixCharMax);
    const int diameter = clamp_to_field<std::int32_t>(pile_diameter, 0, kDiameterMax);
    const float area = clamp_to_float(plate_area, 0, kSixCharMax);
    const float ratio = clamp_to_float(replacement_ratio, 0, kSixCharMax);

    h.test_time = test_time;
    write_gbk_field(h.site_name, site);
    write_gbk_field(h.pile_number, pile);
    h.pile_length = length;
    h.pile_diameter = diameter;
    h.plate_area = area;
    h.replacement_ratio = ratio;
    h.test_object = test_object == 1 ? 1 : 0;
    h.pressure_unit = pressure_unit == 1 ? 1 : 0;
    h.section_shape = section_shape == 1 ? 1 : 0;
    h.jack_count = clamp_to_field<std::uint8_t>(jack_count);
    h.cylinder_bore = clamp_to_field<std::int32_t>(cylinder_bore, 0);
    write_gbk_field(h.jack_numbers, limit_characters(jack_numbers, kJackNumbersChars));
    h.pressure_method = static_cast<std::uint8_t>(pressure_method);
    if (pressure_method == PressureMethod::kCalibrationEquation) {
        h.equation_k = clamp_to_float(calibration_k, 0, kEquationMax);
        h.equation_b = clamp_to_float(calibration_b, 0, kEquationMax);
    } else if (pressure_method == PressureMethod::kRegressionEquation) {
        h.equation_k = clamp_to_float(regression_k);
        h.equation_b = clamp_to_float(regression_b);
    }

    p.test_time = test_time;
    p.site_name = truncate_for_gbk_field(site, kParamTextBytes);
    p.pile_number = truncate_for_gbk_field(pile, kParamTextBytes);
    p.pile_length = length;
    p.pile_diameter = diameter;
    p.plate_area = area;
    p.replacement_ratio = ratio;
    p.test_object = h.test_object;
    p.pressure_unit = h.pressure_unit;
    p.section_shape = h.section_shape;
    store_averaged(averaged, h, p);
}

Status validate(const ProjectPageFields& f) {
    return first_failure({
        check_real_field("桩长", f.pile_length, 0, kSixCharMax),
        check_int_field("桩径", f.pile_diameter, 0, kDiameterMax),
        check_real_field("压板面积", f.plate_area, 0, kSixCharMax),
        check_real_field("置换率", f.replacement_ratio, 0, kSixCharMax),
        check_int_field("千斤顶数量", f.jack_count, 0, 255),
        check_int_field("油缸内径mm", f.cylinder_bore, 0, 2147483647),
        check_real_field("率定方程 k", f.calibration_k, 0, kEquationMax),
        check_real_field("率定方程 b", f.calibration_b, 0, kEquationMax),
        check_finite_field("回归方程 k", f.regression_k),
        check_finite_field("回归方程 b", f.regression_b),
    });
}

Status choose_pressure_method(PressureMethod method, ProjectPageFields& f, TestHeader& h) {
    switch (method) {
        case PressureMethod::kCylinderBore:
            if (f.cylinder_bore <= 0) return Status::failure(std::string(kBoreMessage));
            h.cylinder_bore = f.cylinder_bore;
            break;
        case PressureMethod::kCalibrationTable:
            write_gbk_field(h.jack_numbers, limit_characters(f.jack_numbers, kJackNumbersChars));
            break;
        case PressureMethod::kCalibrationEquation:
            // "Not greater than 0" also catches a k that is not a number.
            if (!(f.calibration_k > 0)) return Status::failure(std::string(kCalibrationKMessage));
            h.equation_k = clamp_to_float(f.calibration_k, 0, kEquationMax);
            h.equation_b = clamp_to_float(f.calibration_b, 0, kEquationMax);
            break;
        case PressureMethod::kRegressionEquation:
            if (!(f.regression_k > 0)) return Status::failure(std::string(kRegressionKMessage));
            h.equation_k = clamp_to_float(f.regression_k);
            h.equation_b = clamp_to_float(f.regression_b);
            break;
    }
    f.pressure_method = method;
    h.pressure_method = static_cast<std::uint8_t>(method);
    return Status::success();
}

ProjectCaptions project_captions(int test_object) {
    if (test_object == 1) return {"压板面积", "置 换 率", "试验点号", false};
    return {"桩     长", "桩     径", "试验桩号", true};
}

bool averaged_box_enabled(const TestParams& params, int channel) {
    if (channel < 0 || channel >= kChannelCount) return false;
    return params.channel_role[static_cast<std::size_t>(channel)] != ChannelRole::kUnused;
}

void store_averaged(const std::array<bool, kChannelCount>& ticked, TestHeader& h, TestParams& p) {
    for (int j = 0; j < kChannelCount; ++j) {
        h.averaged[j] = ticked[static_cast<std::size_t>(j)] ? 1 : 0;
        p.averaged[static_cast<std::size_t>(j)] = h.averaged[j];
    }
}

LoadConversion load_conversion(const TestParams& before, const TestParams& after) {
    if (before.in_kpa() == after.in_kpa()) return LoadConversion::kNone;
    return after.in_kpa() ? LoadConversion::kToKpa : LoadConversion::kToKn;
}

std::string format_pile_length(double metres) {
    return strprintf("%.3f", metres);
}

std::string format_plate_area(double square_m) {
    return strprintf("%-.3f", square_m);
}

}  // namespace kvd
