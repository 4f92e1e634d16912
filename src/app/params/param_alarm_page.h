#pragma once
// CJiXianView: the alarm limits page (报警参数). It shows and edits the limits
// the field tester watches during a test: largest settlement and uplift,
// uneven settlement, the gauges' travel alarms and the two grade-to-grade
// stop criteria. The program only keeps them with the test; a typed value
// reaches the header when the document asks the pages to store (hint 10).

#include <array>

#include "app/params/param_page.h"
#include "record/control_page_fields.h"

class QCheckBox;

namespace kvd {

inline constexpr std::string_view kAlarmHelpFirst =
    "    1.最大载荷值指本次实验的最大加载量，当加载量大于次极限值时，程序自动报警；\n"
    "    2.最大沉降量指本次实验最大允许沉降量，当实际沉降量大于此极限时，程序自动报；\n"
    "    3.最大上拔值：加载过程中锚桩过程中锚桩的最大允许上拔量，当实际上拔量大于次极限值时，"
    "程序自动报警，若没有设置测试锚桩的位移通道此功能无效；\n"
    "    4.不均匀沉降：基桩上各位移传感器读数的最大允许差值，当某两个位移传感器读数的差值大于此"
    "极限值时，自动报警；";
inline constexpr std::string_view kAlarmHelpSecond =
    "    5.位移伸长量报警：位移总的伸长量为50mm，当其绝对伸长量大于该设定值时，仪器将报警，"
    "提示位移记行程即将走完，需要重新安装；\n"
    "    6.位移所缩短量报警：位移计量最小的缩短量为0mm，当其绝对缩短量小于改设定值时，仪器将"
    "报警，提示位移计行程即将走完，需要重新安装。";

class CJiXianView : public ParamPage {
    Q_OBJECT

public:
    explicit CJiXianView(CLbxDoc& doc, QWidget* parent = nullptr);

    const AlarmPageFields& fields() const { return shown_; }
    QLineEdit* limit_box(int i) const { return limit_boxes_[static_cast<std::size_t>(i)]; }
    QLineEdit* multiple_box(int i) const { return multiple_boxes_[static_cast<std::size_t>(i)]; }
    QCheckBox* grade_alarm_box(int i) const {
        return grade_alarm_boxes_[static_cast<std::size_t>(i)];
    }

protected:
    void load_page() override;
    void store_page() override;

private:
    AlarmPageFields shown_;
    FieldBinder<AlarmPageFields> binder_;
    std::array<QLineEdit*, 5> limit_boxes_{};
    std::array<QLineEdit*, 2> multiple_boxes_{};
    std::array<QCheckBox*, 2> grade_alarm_boxes_{};
};

}  // namespace kvd
