#pragma once
// IntervalDialog: "修改采样间隔时间", the twelve loading and twelve unloading
// sampling intervals (minutes) of the test. Each field shows its interval
// with "%d" and reads back as a whole number; a field that does not hold one
// reads as 0.

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

    IntervalTable load_intervals() const;
    IntervalTable unload_intervals() const;

    QLineEdit* load_field(int index) const { return load_fields_.at(static_cast<std::size_t>(index)); }
    QLineEdit* unload_field(int index) const {
        return unload_fields_.at(static_cast<std::size_t>(index));
    }

private:
    std::array<QLineEdit*, kIntervalCount> load_fields_{};
    std::array<QLineEdit*, kIntervalCount> unload_fields_{};
};

}  // namespace kvd
