#pragma once
// CShiYanView: the test-standard page (试验标准). The test type and the
// standard (试验方法) chosen from the type's list fill the loading schedule,
// the stability rule and the two record-interval tables with the standard's
// values, which the user may then change. The type is written into the header
// when chosen (it decides the direction of the curves); the other values when
// the document asks the pages to store (hint 10).

#include <array>

#include "app/params/param_page.h"
#include "record/test_standards.h"

class QComboBox;
class QGridLayout;

namespace kvd {

class CShiYanView : public ParamPage {
    Q_OBJECT

public:
    explicit CShiYanView(CLbxDoc& doc, QWidget* parent = nullptr);

    const StandardPageFields& fields() const { return shown_; }

    // The user's choices, as the radios and the list make them.
    void choose_type(TestType type);
    void choose_standard(int index);

    QButtonGroup* test_type() const { return test_type_; }
    QComboBox* standard_list() const { return standards_; }
    QButtonGroup* stability_check() const { return stability_check_; }  // 0 是, 1 否
    QLabel* max_load_label() const { return max_load_label_; }
    QLabel* stability_minutes_label() const { return stability_minutes_label_; }
    QLineEdit* max_load_box() const { return max_load_; }
    QLineEdit* loading_grades_box() const { return loading_grades_; }
    QLineEdit* stability_minutes_box() const { return stability_minutes_; }
    QLineEdit* last_unloading_box() const { return last_unloading_; }
    // The boxes (and their captions) shown only while the stability check is on.
    const std::array<QWidget*, 8>& stability_controls() const { return stability_controls_; }
    QLineEdit* load_interval_box(int i) const {
        return load_intervals_[static_cast<std::size_t>(i)];
    }
    QLineEdit* unload_interval_box(int i) const {
        return unload_intervals_[static_cast<std::size_t>(i)];
    }

protected:
    void load_page() override;
    void store_page() override;
    // The interval tables are also changed from the detail tables; the page
    // takes such a change at once, so that its next store does not write
    // back the intervals it showed before.
    void other_hint(int hint) override;

private:
    // The caption of the largest load, in the test's load unit.
    void show_load_unit();
    QLineEdit* add_int(QGridLayout* grid, int row, int column, const char* caption,
                       int StandardPageFields::*field, int max_chars,
                       QLabel** caption_out = nullptr);
    void fill_standard_list();
    void show_fields();
    // Remembers the record's interval tables as the page last saw them.
    void note_record_intervals();

    // The header's interval tables when the page last loaded or stored.
    IntervalTable record_load_intervals_{};
    IntervalTable record_unload_intervals_{};

    StandardPageFields shown_;
    FieldBinder<StandardPageFields> binder_;
    QButtonGroup* test_type_ = nullptr;
    QButtonGroup* stability_check_ = nullptr;
    QComboBox* standards_ = nullptr;
    QLabel* max_load_label_ = nullptr;
    QLabel* stability_minutes_label_ = nullptr;
    QLineEdit* max_load_ = nullptr;
    QLineEdit* loading_grades_ = nullptr;
    QLineEdit* stability_minutes_ = nullptr;
    QLineEdit* last_unloading_ = nullptr;
    std::array<QWidget*, 8> stability_controls_{};
    std::array<QLineEdit*, kIntervalCount> load_intervals_{};
    std::array<QLineEdit*, kIntervalCount> unload_intervals_{};
};

}  // namespace kvd
