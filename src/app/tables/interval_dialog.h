#pragma once
// IntervalDialog: "修改采样间隔时间", the twelve loading and twelve unloading
// sampling intervals (minutes) of the test. Each field shows its interval
// with "%d". OK takes the fields only when each holds a whole number of
// 0 ... 65535 minutes and no entry after the first was newly set to 0;
// otherwise the field is refused with its message and the dialog stays.

#include <QDialog>
#include <array>

#include "record/test_params.h"

class QLineEdit;

namespace kvd {

class IntervalDialog : public QDialog {
    Q_OBJECT

public:
    IntervalDialog(const IntervalTable& load, const IntervalTable& unload,
                   QWidget* parent = nullptr);

    // What the fields hold; meaningful once OK has taken them.
    IntervalTable load_intervals() const;
    IntervalTable unload_intervals() const;

    void accept() override;

    QLineEdit* load_field(int index) const { return load_fields_.at(static_cast<std::size_t>(index)); }
    QLineEdit* unload_field(int index) const {
        return unload_fields_.at(static_cast<std::size_t>(index));
    }

private:
    IntervalTable initial_load_{};
    IntervalTable initial_unload_{};
    std::array<QLineEdit*, kIntervalCount> load_fields_{};
    std::array<QLineEdit*, kIntervalCount> unload_fields_{};
};

}  // namespace kvd
