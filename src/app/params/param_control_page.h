#pragma once
// CHeZaiView: the control page (控制参数): how the field tester runs the test
// (automatic or manual, pressurising time, reloading after a load drop), its
// sensors, the upload mode and numbers, and the site's position. The program
// only keeps the values with the test; the page stores them into the header
// when the document asks the pages to store (hints 10 and 20).

#include <array>

#include "app/params/param_page.h"
#include "record/control_page_fields.h"

class QComboBox;
class QGridLayout;

namespace kvd {

// The entries of 数据上传模式; the header keeps the index.
inline constexpr std::array<std::string_view, 3> kUploadModeNames = {"不上传", "实时上传",
                                                                     "试验结束后上传"};

class CHeZaiView : public ParamPage {
    Q_OBJECT

public:
    explicit CHeZaiView(CLbxDoc& doc, QWidget* parent = nullptr);

    const ControlPageFields& fields() const { return shown_; }

    QButtonGroup* test_mode() const { return test_mode_; }
    QButtonGroup* reloading() const { return reloading_; }            // 0 是, 1 否
    QButtonGroup* reloading_mode() const { return reloading_mode_; }  // 0 数值, 1 百分比
    QButtonGroup* load_sensor() const { return load_sensor_; }
    QButtonGroup* displacement_sensor() const { return displacement_sensor_; }
    QLineEdit* pressurising_time_box() const { return pressurising_time_; }
    QLineEdit* amount_box() const { return amount_; }
    QLineEdit* percentage_box() const { return percentage_; }
    QLabel* amount_unit() const { return amount_unit_; }
    QLineEdit* sensor_range_box() const { return sensor_range_; }
    QComboBox* upload_mode() const { return upload_mode_; }
    QLineEdit* instrument_number_box() const { return instrument_number_; }
    QLineEdit* upload_number_box() const { return upload_number_; }
    QLineEdit* longitude_box() const { return longitude_; }
    QLineEdit* latitude_box() const { return latitude_; }

protected:
    void load_page() override;
    void store_page() override;
    bool stores_on(int hint) const override;

private:
    // A caption and two radios (ids 0 and 1); `take` gets the id clicked.
    QButtonGroup* radio_row(QGridLayout* grid, int row, const char* caption, const char* first,
                            const char* second, std::function<void(int)> take);
    void show_reloading_controls();

    ControlPageFields shown_;
    FieldBinder<ControlPageFields> binder_;
    QButtonGroup* test_mode_ = nullptr;
    QButtonGroup* reloading_ = nullptr;
    QButtonGroup* reloading_mode_ = nullptr;
    QButtonGroup* load_sensor_ = nullptr;
    QButtonGroup* displacement_sensor_ = nullptr;
    QLineEdit* pressurising_time_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* percentage_ = nullptr;
    QLineEdit* sensor_range_ = nullptr;
    QLineEdit* instrument_number_ = nullptr;
    QLineEdit* upload_number_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QComboBox* upload_mode_ = nullptr;
    QLabel* mode_label_ = nullptr;
    QLabel* amount_label_ = nullptr;
    QLabel* amount_unit_ = nullptr;
    std::array<QWidget*, 2> mode_radios_{};
};

}  // namespace kvd
