#pragma once
// CWeiYiView: the displacement page (位移参数). For each of the 16 channels:
// whether it is in use, the gauge's number, what it measures (锚桩 / 试桩) and
// which way it travels in a normal test (伸长 / 缩短). The page edits the
// header when the document asks the pages to store (hint 10); the channel
// roles that the computations use follow from it when the record is next read.

#include <array>

#include "app/params/param_page.h"
#include "record/displacement_page_fields.h"

class QCheckBox;

namespace kvd {

class CWeiYiView : public ParamPage {
    Q_OBJECT

public:
    explicit CWeiYiView(CLbxDoc& doc, QWidget* parent = nullptr);

    const DisplacementPageFields& fields() const { return shown_; }

    // The controls of channel j (0 ... 15).
    struct ChannelRow {
        QCheckBox* in_use = nullptr;
        QLineEdit* sensor_number = nullptr;
        QButtonGroup* purpose = nullptr;    // ids 0 锚桩, 1 试桩
        QButtonGroup* direction = nullptr;  // ids 0 伸长, 1 缩短
    };
    const ChannelRow& row(int j) const { return rows_[static_cast<std::size_t>(j)]; }

protected:
    void load_page() override;
    void store_page() override;

private:
    void enable_radios(std::size_t j);

    DisplacementPageFields shown_;
    FieldBinder<DisplacementPageFields> binder_;
    std::array<ChannelRow, kChannelCount> rows_{};
};

}  // namespace kvd
