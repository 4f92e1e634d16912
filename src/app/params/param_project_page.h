#pragma once
// CParaView: the project page (工程参数): the site, the pile or test point and
// its dimensions, the test object and pressure unit, the jacks and how the
// load follows from the pressure, and the channels averaged into the
// settlement.
//
// When the record changes:
// - the pressure method and the averaged-channel boxes are written as they
//   are clicked (the boxes also refresh every view, which recompute the
//   settlements);
// - everything else is applied when the user leaves the page having changed
//   something, and whenever the document asks the pages to store (hints 10
//   and 20): stored, relabelled by the test object, and the loads converted
//   when they change between kN and kPa;
// - hint 0 shows the record's working parameters again (pending edits are
//   applied first, so that they are not lost).

#include <QMetaObject>
#include <array>

#include "app/params/param_page.h"
#include "record/project_page_fields.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QHBoxLayout;

namespace kvd {

// Told when the loads would have to change between kN and kPa over a plate
// area of 0; the test object and the unit then stay as they were.
inline constexpr char kNoPlateAreaMessage[] = "压板面积为0, 无法在kN和kPa之间换算荷载!";

class CParaView : public ParamPage {
    Q_OBJECT

public:
    explicit CParaView(CLbxDoc& doc, QWidget* parent = nullptr);
    ~CParaView() override;

    const ProjectPageFields& fields() const { return shown_; }

    // Stores the page into the record, as leaving the page does.
    void apply();

    QDateEdit* test_date() const { return test_date_; }
    QLineEdit* site_name_box() const { return site_name_; }
    QLineEdit* pile_number_box() const { return pile_number_; }
    QLineEdit* serial_number_box() const { return serial_number_; }
    QLineEdit* pile_length_box() const { return pile_length_; }
    QLineEdit* pile_diameter_box() const { return pile_diameter_; }
    QLineEdit* plate_area_box() const { return plate_area_; }
    QLineEdit* replacement_ratio_box() const { return replacement_ratio_; }
    QLineEdit* cylinder_bore_box() const { return cylinder_bore_; }
    QLineEdit* jack_count_box() const { return jack_count_; }
    QLineEdit* jack_numbers_box() const { return jack_numbers_; }
    QLineEdit* calibration_k_box() const { return calibration_k_; }
    QLineEdit* regression_k_box() const { return regression_k_; }
    QLabel* length_label() const { return length_label_; }
    QLabel* diameter_label() const { return diameter_label_; }
    QLabel* number_label() const { return number_label_; }
    QButtonGroup* test_object() const { return test_object_; }          // 0 桩, 1 地基
    QButtonGroup* pressure_unit() const { return pressure_unit_; }      // 0 kN, 1 kPa
    QButtonGroup* section_shape() const { return section_shape_; }      // 0 圆形, 1 方形
    QButtonGroup* pressure_method() const { return pressure_method_; }  // PressureMethod ids
    QCheckBox* averaged_box(int j) const { return averaged_[static_cast<std::size_t>(j)]; }

protected:
    void load_page() override;
    void store_page() override;
    bool stores_on(int hint) const override;
    void other_hint(int hint) override;

private:
    QButtonGroup* choice_group(const char* title, std::array<const char*, 2> names,
                               QHBoxLayout* row, int ProjectPageFields::*field);
    QWidget* build_method_group();
    QWidget* build_averaged_group();
    void choose_method(PressureMethod method);
    void click_averaged();
    // The controls that follow the record's working parameters.
    void show_params_fields();
    void relabel();

    ProjectPageFields shown_;
    FieldBinder<ProjectPageFields> binder_;
    QMetaObject::Connection focus_watch_;
    bool applying_ = false;
    QDateEdit* test_date_ = nullptr;
    QLineEdit* site_name_ = nullptr;
    QLineEdit* pile_number_ = nullptr;
    QLineEdit* serial_number_ = nullptr;
    QLineEdit* pile_length_ = nullptr;
    QLineEdit* pile_diameter_ = nullptr;
    QLineEdit* plate_area_ = nullptr;
    QLineEdit* replacement_ratio_ = nullptr;
    QLineEdit* sensor_number_ = nullptr;
    QLineEdit* jack_count_ = nullptr;
    QLineEdit* cylinder_bore_ = nullptr;
    QLineEdit* jack_numbers_ = nullptr;
    QLineEdit* calibration_k_ = nullptr;
    QLineEdit* calibration_b_ = nullptr;
    QLineEdit* regression_k_ = nullptr;
    QLineEdit* regression_b_ = nullptr;
    QLabel* length_label_ = nullptr;
    QLabel* diameter_label_ = nullptr;
    QLabel* number_label_ = nullptr;
    QButtonGroup* test_object_ = nullptr;
    QButtonGroup* pressure_unit_ = nullptr;
    QButtonGroup* section_shape_ = nullptr;
    QButtonGroup* pressure_method_ = nullptr;
    std::array<QCheckBox*, kChannelCount> averaged_{};
};

}  // namespace kvd
