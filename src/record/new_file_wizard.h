#pragma once
// The new-file wizard (建立一个新文件) at the record level: its input with the
// dialog's defaults and limits, the validation of the OK button, and the
// grades of a new hand-made test. The document adds the view hints and the
// modified flag around build_new_record.

#include <string_view>

#include "base/status.h"
#include "record/test_params.h"
#include "record/test_record.h"

namespace kvd {

inline constexpr std::string_view kWizardInputError = "对不起! 部分参数输入错误, 无法建立新文件!";

// Limits of the wizard's boxes (inclusive).
inline constexpr int kWizardMaxLoadMin = 1;
inline constexpr int kWizardMaxLoadMax = 100000;
inline constexpr int kWizardGradesMin = 1;
inline constexpr int kWizardGradesMax = 30;
inline constexpr int kWizardMultipleMin = 1;
inline constexpr int kWizardMultipleMax = 9;
// Sampling intervals, minutes: the header keeps the tables as uint16.
inline constexpr int kWizardIntervalMax = 65535;

struct WizardInput {
    int max_load = 1000;                                       // 最大预估载荷, kN
    int grades = 10;                                           // 分级数
    int first_multiple = 2;                                    // 首次加载级数
    bool include_unloading = true;                             // 包含卸载数据
    IntervalTable load_intervals = kDefaultLoadIntervals;      // 加载采样间隔时间, minutes
    IntervalTable unload_intervals = kDefaultUnloadIntervals;  // 卸载采样间隔时间, minutes
};

// Refuses, with kWizardInputError: an interval entry 2 ... 12 of either table
// that is 0 or less, a grade count of 0 or below the first multiple, and (as
// the dialog's own range checks would) any value outside the limits above or
// an interval that the header's 16-bit tables cannot hold (entry 1 below 0 or
// any entry above 65535).
Status validate(const WizardInput& input);

// Builds the new test in the record: validates first and leaves the record
// untouched on refusal. Otherwise the grades and the raw readings (with their
// snapshots and modification blocks) are cleared; the interval tables go
// into TestParams and the header, the maximum load, first multiple and grade
// count into the header; the loading grades i = 0, M, M + 1 ... G carry the
// load i · P / G (grade 0 one reading, the others two), all channels 0;
// unloading grades follow when asked for; the record becomes an analysis file
// (opened and save kind 2) and the minutes are scheduled. Header fields the
// wizard has no box for keep their values.
Status build_new_record(TestRecord& record, const WizardInput& input);

}  // namespace kvd
