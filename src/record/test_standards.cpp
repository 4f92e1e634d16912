#include "record/test_standards.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

#include "base/text_codec.h"
#include "record/page_fields.h"

namespace kvd {
namespace {

constexpr std::string_view kCompressionStandards[] = {
    "GB50007-2011 单桩竖向静载荷试验",
    "JGJ106-2014 单桩竖向抗压静载试验",
    "JGJ340-2015 土地基载荷试验",
    "JGJ340-2015 岩地基载荷试验",
    "JGJ340-2015 竖向增强体载荷试验",
    "JGJ340-2015 复合地基载荷试验",
    "DB42/269-2003 单桩竖向抗压(湖北省) - 试桩",
    "DB42/269-2003 单桩竖向抗压(湖北省) - 工程桩",
    "DBJ15-60-2008 单桩竖向抗压(广东省) - 快速法",
    "DGJ32/TJ142-2012 单桩竖向抗压(江苏省) - 收敛法",
    "快速维持荷载法——1小时",
    "快速维持荷载法——2小时",
    "GB50007-2011 浅层平板载荷试验",
    "GB50007-2011 深层平板载荷试验",
    "GB50007-2011 岩石地基载荷试验",
    "TB10018-2003 平板载荷试验",
    "DBJ15-60-2008 平板载荷试验(广东省)",
    "JGJ79-2012 处理后地基静载荷试验",
    "JGJ79-2012 复合地基静载荷试验",
    "竖向静载荷用户自定义试验",
};

constexpr std::string_view kUpliftStandards[] = {
    "JGJ106-2014 单桩竖向抗拔静载试验",
    "DB42/269-2003 单桩竖向抗拔静载试验(湖北省)",
    "竖向抗拔用户自定义试验",
};

constexpr std::string_view kHorizontalStandards[] = {
    "JGJ94-94 单桩水平静载试验",
    "水平静载用户自定义试验",
};

// An interval table from its leading entries, the rest filled with `rest`.
constexpr IntervalTable intervals(std::initializer_list<int> head, int rest) {
    IntervalTable table{};
    std::size_t i = 0;
    for (int value : head) table[i++] = value;
    for (; i < table.size(); ++i) table[i] = rest;
    return table;
}

// Loading tables shared by several rows.
constexpr IntervalTable kPileLoading = intervals({0, 5, 10, 15, 15, 15}, 30);
constexpr IntervalTable kProvincialLoading = intervals({0, 5, 5, 5, 15, 15, 15}, 30);
constexpr IntervalTable kPlateLoading = intervals({0, 10, 10, 10, 15, 15}, 30);
constexpr IntervalTable kNone = intervals({}, 0);

// Each row as the standard prescribes it; std::nullopt marks a value the
// standard leaves as it was on the page.
constexpr StandardRow kRows[] = {
    {"JGJ106-2014 单桩竖向抗压静载试验", 10, 2, false, 60, 2, 0.1, 60, 5, 180, 30, 30, 0, 0,
     kPileLoading, intervals({0, 15, 15}, 30)},
    {"DB42/269-2003 单桩竖向抗压(湖北省) - 试桩", 8, 1, false, 60, 2, 0.1, 60, 4, 180, 0, 30, 0, 0,
     kProvincialLoading, intervals({0, 15, 15, 30}, 120)},
    {"DB42/269-2003 单桩竖向抗压(湖北省) - 工程桩", 8, 1, false, 60, 2, 0.1, 60, 4, 180, 0, 30, 0,
     1, kProvincialLoading, intervals({0, 15, 15, 30}, 120)},
    {"DBJ15-60-2008 单桩竖向抗压(广东省) - 快速法", 10, 2, false, 15, 1, 0.0, 15, 5, 120, 45, 0, 0,
     1, intervals({0, 5, 10}, 15), intervals({0, 5, 10, 15}, 30)},
    {"JGJ340-2015 竖向增强体载荷试验", 10, 2, false, 60, 2, 0.1, 60, 5, 180, 30, 30, 0, 0,
     kPileLoading, intervals({0, 15, 15, 30}, 60)},
    {"GB50007-2011 单桩竖向静载荷试验", 8, 1, false, 60, 2, 0.1, 60, 4, 180, 0, 0, 0, 0,
     kProvincialLoading, intervals({0, 15, 15, 30}, 120)},
    {"DGJ32/TJ142-2012 单桩竖向抗压(江苏省) - 收敛法", 6, 1, false, 10, 2, 0.0, 20, 3, 40, 40, 0, 0,
     1, intervals({0}, 5), intervals({0}, 20)},
    {"快速维持荷载法——1小时", 10, 2, true, 60, 2, 0.1, 60, 5, 60, 0, 0, 0, 1, kPileLoading,
     intervals({0, 15, 15}, 30)},
    {"快速维持荷载法——2小时", 10, 2, true, 120, 2, 0.1, 60, 5, 120, 0, 0, 0, 1, kPileLoading,
     intervals({0, 15, 15}, 30)},
    {"JGJ340-2015 土地基载荷试验", 8, 2, false, 60, 2, 0.1, 60, 4, 180, 0, 0, 5, 0, kPlateLoading,
     intervals({0, 10, 20, 30}, 60)},
    {"JGJ340-2015 复合地基载荷试验", 8, 2, false, 60, 1, 0.1, 60, 4, 180, 0, 0, 4, 0,
     intervals({0}, 30), intervals({0, 30, 30}, 120)},
    {"JGJ340-2015 岩地基载荷试验", 15, 2, false, 30, 2, 0.03, 30, 7, 150, 0, 20, 9, 0,
     intervals({0}, 10), intervals({0, 10, 10, 10}, 30)},
    {"GB50007-2011 浅层平板载荷试验", 8, 1, false, 60, 2, 0.1, 0, 0, 0, 0, 0, 5, 0, kPlateLoading,
     kNone},
    {"GB50007-2011 深层平板载荷试验", 10, 1, false, 60, 2, 0.1, 0, 0, 0, 0, 0, 6, 0, kPlateLoading,
     kNone},
    {"TB10018-2003 平板载荷试验", 7, 1, false, 60, 2, 0.1, 60, 4, 120, 0, 0, 5, 0,
     intervals({0, 1, 2, 2, 5, 5, 15, 15, 15, 30, 30, 30}, 30), intervals({0}, 15)},
    {"DBJ15-60-2008 平板载荷试验(广东省)", 10, 2, false, 60, 1, 0.1, 30, 5, 120, 0, 0, 5, 0,
     kPileLoading, intervals({0, 5, 10, 15}, 120)},
    {"GB50007-2011 岩石地基载荷试验", 10, 2, false, 10, 3, 0.01, 30, 5, 120, 0, 0, 9, 0,
     intervals({0}, 10), intervals({0, 10, 10, 10}, 30)},
    {"JGJ79-2012 处理后地基静载荷试验", 8, 1, false, 60, 2, 0.1, 0, 0, 0, 0, 0, 4, 0, kPlateLoading,
     kNone},
    {"JGJ79-2012 复合地基静载荷试验", 8, 1, false, 60, 1, 0.1, 30, 4, 180, 0, 0, 4, 0,
     intervals({0}, 30), intervals({0, 30}, 150)},
    {"JGJ106-2014 单桩竖向抗拔静载试验", 10, 2, false, 60, 2, 0.1, 60, 5, 180, 30, 30, 1, 0,
     kPileLoading, intervals({0, 15, 15}, 30)},
    {"DB42/269-2003 单桩竖向抗拔静载试验(湖北省)", 10, 1, false, 60, 1, 0.1, 60, 5, 180,
     std::nullopt, std::nullopt, 1, 0, kProvincialLoading, intervals({0, 15, 15, 30, 120}, 30)},
    {"JGJ94-94 单桩水平静载试验", 10, 1, true, 4, 0, 0.0, 2, 0, 2, 0, std::nullopt, 10, 0,
     intervals({0, 4, 2, 4, 2, 4, 2, 4, 2, 4, 2, 4}, 4), kNone},
};

template <typename T, typename U>
void set_if(const std::optional<T>& value, U& field) {
    if (value) field = *value;
}

}  // namespace

std::span<const std::string_view> standards_for(TestType type) {
    switch (type) {
        case TestType::kUplift:
            return kUpliftStandards;
        case TestType::kHorizontal:
            return kHorizontalStandards;
        case TestType::kCompression:
            break;
    }
    return kCompressionStandards;
}

int default_standard_index(TestType type) {
    return type == TestType::kCompression ? 1 : 0;
}

std::string_view default_standard(TestType type) {
    return standards_for(type)[static_cast<std::size_t>(default_standard_index(type))];
}

std::optional<TestType> type_of_standard(std::string_view name) {
    for (TestType type : {TestType::kCompression, TestType::kUplift, TestType::kHorizontal}) {
        const auto list = standards_for(type);
        if (std::find(list.begin(), list.end(), name) != list.end()) return type;
    }
    return std::nullopt;
}

std::span<const StandardRow> standard_rows() {
    return kRows;
}

const StandardRow* find_standard(std::string_view name) {
    for (const StandardRow& row : kRows) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

void StandardPageFields::load_from(const TestHeader& h) {
    test_type = h.test_type <= 2 ? static_cast<TestType>(h.test_type) : TestType::kCompression;
    standard = read_gbk_field(h.test_method);
    max_load = h.max_load;
    loading_grades = h.loading_grades;
    first_multiple = h.first_multiple;
    stability_check_off = h.stability_check_off != 0;
    stability_minutes = h.stability_minutes;
    stability_count = h.stability_count;
    stability_criterion = h.stability_criterion;
    stability_start_minutes = h.stability_start_minutes;
    unloading_grades = h.unloading_grades;
    unloading_minutes = h.unloading_minutes;
    last_unloading_minutes = h.last_unloading_minutes;
    std::copy(std::begin(h.load_intervals), std::end(h.load_intervals), load_intervals.begin());
    std::copy(std::begin(h.unload_intervals), std::end(h.unload_intervals),
              unload_intervals.begin());
    test_code = h.test_code;
    fast_method = h.fast_method;
}

void StandardPageFields::store_into(TestHeader& h) const {
    h.test_type = static_cast<std::uint8_t>(test_type);
    write_gbk_field(h.test_method, standard);
    h.max_load = clamp_to_field<std::int32_t>(max_load, kMaxLoadMin);
    h.loading_grades = clamp_to_field<std::uint8_t>(loading_grades, 0, kGradeCountMax);
    h.first_multiple = clamp_to_field<std::uint8_t>(first_multiple, 0, kGradeCountMax);
    h.stability_check_off = stability_check_off ? 1 : 0;
    h.stability_minutes = clamp_to_field<std::uint16_t>(stability_minutes, 0, kStabilityMinutesMax);
    h.stability_count = clamp_to_field<std::uint8_t>(stability_count, 0, kGradeCountMax);
    h.stability_criterion = clamp_to_float(stability_criterion);
    h.stability_start_minutes =
        clamp_to_field<std::uint16_t>(stability_start_minutes, 0, kStartMinutesMax);
    h.unloading_grades = clamp_to_field<std::uint8_t>(unloading_grades);
    h.unloading_minutes = clamp_to_field<std::uint16_t>(unloading_minutes);
    h.last_unloading_minutes =
        clamp_to_field<std::int32_t>(last_unloading_minutes, 0, kLastUnloadingMax);
    for (int i = 0; i < kIntervalCount; ++i) {
        h.load_intervals[i] = clamp_to_field<std::uint16_t>(load_intervals[i]);
        h.unload_intervals[i] = clamp_to_field<std::uint16_t>(unload_intervals[i]);
    }
    h.test_code = clamp_to_field<std::uint8_t>(test_code);
    h.fast_method = clamp_to_field<std::uint8_t>(fast_method);
}

Status validate(const StandardPageFields& f) {
    constexpr int kByte = 255;
    constexpr int kWord = 65535;
    const Status status = first_failure({
        check_int_field("最大载荷值", f.max_load, kMaxLoadMin, std::numeric_limits<int>::max()),
        check_int_field("加载分级", f.loading_grades, 0, std::min(kGradeCountMax, kByte)),
        check_int_field("首次加载级数", f.first_multiple, 0, std::min(kGradeCountMax, kByte)),
        check_int_field(stability_minutes_label(f.stability_check_off), f.stability_minutes, 0,
                        kStabilityMinutesMax),
        check_int_field("判稳次数", f.stability_count, 0, std::min(kGradeCountMax, kByte)),
        check_finite_field("判稳标准(mm)", f.stability_criterion),
        check_int_field("开始判稳时间", f.stability_start_minutes, 0, kStartMinutesMax),
        check_int_field("卸载分级", f.unloading_grades, 0, kByte),
        check_int_field("卸载每级测试时间(分钟)", f.unloading_minutes, 0, kWord),
        check_int_field("卸载最后一级维持时间(分钟)", f.last_unloading_minutes, 0,
                        kLastUnloadingMax),
    });
    if (!status.ok()) return status;
    for (int i = 0; i < kIntervalCount; ++i) {
        const Status interval = first_failure({
            check_int_field("记录间隔表 加载", f.load_intervals[i], 0, kWord),
            check_int_field("记录间隔表 卸载", f.unload_intervals[i], 0, kWord),
        });
        if (!interval.ok()) return interval;
    }
    return Status::success();
}

void apply_test_type(TestType type, StandardPageFields& fields, TestHeader& header,
                     TestParams& params) {
    fields.test_type = type;
    apply_standard(default_standard(type), fields);
    header.test_type = static_cast<std::uint8_t>(type);
    if (type == TestType::kHorizontal) return;
    const std::int32_t direction = type == TestType::kUplift ? 2 : 1;
    header.direction_kind = direction;
    params.direction_kind = direction;
}

bool apply_standard(std::string_view name, StandardPageFields& fields) {
    const auto list = standards_for(fields.test_type);
    if (std::find(list.begin(), list.end(), name) == list.end()) return false;
    fields.standard = std::string(name);
    fields.fast_method = 0;
    switch (fields.test_type) {
        case TestType::kCompression:
            fields.reuse_minutes = 0;
            fields.stability_start_minutes = 0;
            fields.last_unloading_minutes = 0;
            fields.test_code = 0;
            break;
        case TestType::kUplift:
            fields.test_code = 1;
            break;
        case TestType::kHorizontal:
            fields.test_code = 10;
            break;
    }
    const StandardRow* row = find_standard(name);
    if (row == nullptr) return true;  // a user-defined entry
    set_if(row->loading_grades, fields.loading_grades);
    set_if(row->first_multiple, fields.first_multiple);
    set_if(row->stability_check_off, fields.stability_check_off);
    set_if(row->stability_minutes, fields.stability_minutes);
    set_if(row->stability_count, fields.stability_count);
    set_if(row->stability_criterion, fields.stability_criterion);
    set_if(row->unloading_minutes, fields.unloading_minutes);
    set_if(row->unloading_grades, fields.unloading_grades);
    set_if(row->last_unloading_minutes, fields.last_unloading_minutes);
    set_if(row->stability_start_minutes, fields.stability_start_minutes);
    set_if(row->reuse_minutes, fields.reuse_minutes);
    set_if(row->test_code, fields.test_code);
    set_if(row->fast_method, fields.fast_method);
    set_if(row->load_intervals, fields.load_intervals);
    set_if(row->unload_intervals, fields.unload_intervals);
    return true;
}

std::string_view stability_minutes_label(bool stability_check_off) {
    return stability_check_off ? kGradeMinutesLabel : kStabilityMinutesLabel;
}

}  // namespace kvd
