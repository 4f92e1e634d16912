#include "record/test_standards.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "base/text_codec.h"

namespace kvd {
namespace {

using Table = IntervalTable;

TestHeader blank_header() {
    TestHeader header;
    std::memset(&header, 0, sizeof header);
    return header;
}

template <typename T>
T header_value(const TestHeader& header, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&header) + offset, sizeof value);
    return value;
}

// Fields with values no standard uses, to see what a choice leaves alone.
StandardPageFields odd_fields(TestType type) {
    StandardPageFields f;
    f.test_type = type;
    f.max_load = 4321;
    f.loading_grades = 13;
    f.first_multiple = 3;
    f.stability_check_off = false;
    f.stability_minutes = 77;
    f.stability_count = 9;
    f.stability_criterion = 0.7;
    f.stability_start_minutes = 11;
    f.reuse_minutes = 22;
    f.unloading_grades = 6;
    f.unloading_minutes = 33;
    f.last_unloading_minutes = 444;
    f.load_intervals = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    f.unload_intervals = {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    f.test_code = 99;
    f.fast_method = 1;
    return f;
}

TEST(TestStandards, ListsFollowTheTypeWithTheirDefaultEntry) {
    const auto compression = standards_for(TestType::kCompression);
    ASSERT_EQ(compression.size(), 20u);
    EXPECT_EQ(compression.front(), "GB50007-2011 单桩竖向静载荷试验");
    EXPECT_EQ(compression[6], "DB42/269-2003 单桩竖向抗压(湖北省) - 试桩");
    EXPECT_EQ(compression[11], "快速维持荷载法——2小时");
    EXPECT_EQ(compression.back(), "竖向静载荷用户自定义试验");
    EXPECT_EQ(default_standard(TestType::kCompression), "JGJ106-2014 单桩竖向抗压静载试验");
    EXPECT_EQ(default_standard(TestType::kUplift), "JGJ106-2014 单桩竖向抗拔静载试验");
    EXPECT_EQ(default_standard(TestType::kHorizontal), "JGJ94-94 单桩水平静载试验");
    EXPECT_EQ(standards_for(TestType::kUplift).size(), 3u);
    EXPECT_EQ(standards_for(TestType::kHorizontal).size(), 2u);

    // Every entry but the user-defined ones has its row, and no row is orphaned.
    std::size_t with_rows = 0;
    for (TestType type : {TestType::kCompression, TestType::kUplift, TestType::kHorizontal}) {
        for (std::string_view name : standards_for(type)) {
            const bool user_defined = name.find("用户自定义") != std::string_view::npos;
            EXPECT_EQ(find_standard(name) == nullptr, user_defined) << name;
            EXPECT_EQ(type_of_standard(name), type) << name;
            with_rows += user_defined ? 0 : 1;
        }
    }
    EXPECT_EQ(with_rows, standard_rows().size());
    EXPECT_FALSE(type_of_standard("GB50007-2011").has_value());
}

TEST(TestStandards, ChoosingATypeSelectsAndAppliesItsDefaultStandard) {
    TestHeader header = blank_header();
    TestParams params;

    StandardPageFields f = odd_fields(TestType::kUplift);
    header.direction_kind = 2;
    params.direction_kind = 2;
    apply_test_type(TestType::kCompression, f, header, params);
    EXPECT_EQ(f.standard, "JGJ106-2014 单桩竖向抗压静载试验");
    EXPECT_EQ(f.loading_grades, 10);
    EXPECT_EQ(f.first_multiple, 2);
    EXPECT_FALSE(f.stability_check_off);
    EXPECT_EQ(f.stability_minutes, 60);
    EXPECT_EQ(f.stability_count, 2);
    EXPECT_DOUBLE_EQ(f.stability_criterion, 0.1);
    EXPECT_EQ(f.unloading_minutes, 60);
    EXPECT_EQ(f.unloading_grades, 5);
    EXPECT_EQ(f.last_unloading_minutes, 180);
    EXPECT_EQ(f.stability_start_minutes, 30);
    EXPECT_EQ(f.reuse_minutes, 30);
    EXPECT_EQ(f.test_code, 0);
    EXPECT_EQ(f.fast_method, 0);
    EXPECT_EQ(f.load_intervals, (Table{0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 30, 30, 30, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.max_load, 4321);  // no standard sets the maximum load
    EXPECT_EQ(header.direction_kind, 1);
    EXPECT_EQ(params.direction_kind, 1);
    EXPECT_EQ(header.test_type, 0);

    f = odd_fields(TestType::kCompression);
    apply_test_type(TestType::kUplift, f, header, params);
    EXPECT_EQ(f.standard, "JGJ106-2014 单桩竖向抗拔静载试验");
    EXPECT_EQ(f.test_code, 1);
    EXPECT_EQ(f.fast_method, 0);
    EXPECT_EQ(f.loading_grades, 10);
    EXPECT_EQ(f.last_unloading_minutes, 180);
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 30, 30, 30, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(header.direction_kind, 2);
    EXPECT_EQ(params.direction_kind, 2);
    EXPECT_EQ(header.test_type, 1);

    f = odd_fields(TestType::kCompression);
    apply_test_type(TestType::kHorizontal, f, header, params);
    EXPECT_EQ(f.standard, "JGJ94-94 单桩水平静载试验");
    EXPECT_TRUE(f.stability_check_off);
    EXPECT_FALSE(stability_controls_visible(f.stability_check_off));
    EXPECT_EQ(stability_minutes_label(f.stability_check_off), "每级加载时间(分钟)");
    EXPECT_EQ(f.test_code, 10);
    EXPECT_EQ(f.stability_minutes, 4);
    EXPECT_EQ(f.stability_count, 0);
    EXPECT_EQ(f.unloading_minutes, 2);
    EXPECT_EQ(f.last_unloading_minutes, 2);
    EXPECT_EQ(f.reuse_minutes, 22);  // the row leaves the reuse time as it was
    EXPECT_EQ(f.load_intervals, (Table{0, 4, 2, 4, 2, 4, 2, 4, 2, 4, 2, 4}));
    EXPECT_EQ(f.unload_intervals, Table{});
    EXPECT_EQ(header.direction_kind, 2);  // horizontal keeps the direction kind
    EXPECT_EQ(params.direction_kind, 2);
    EXPECT_EQ(header.test_type, 2);
}

TEST(TestStandards, UserDefinedEntriesKeepThePageAfterTheTypeResets) {
    StandardPageFields f = odd_fields(TestType::kCompression);
    ASSERT_TRUE(apply_standard("竖向静载荷用户自定义试验", f));
    EXPECT_EQ(f.standard, "竖向静载荷用户自定义试验");
    EXPECT_EQ(f.reuse_minutes, 0);
    EXPECT_EQ(f.stability_start_minutes, 0);
    EXPECT_EQ(f.last_unloading_minutes, 0);
    EXPECT_EQ(f.test_code, 0);
    EXPECT_EQ(f.fast_method, 0);
    const StandardPageFields before = odd_fields(TestType::kCompression);
    EXPECT_EQ(f.loading_grades, before.loading_grades);
    EXPECT_EQ(f.stability_minutes, before.stability_minutes);
    EXPECT_DOUBLE_EQ(f.stability_criterion, before.stability_criterion);
    EXPECT_EQ(f.unloading_grades, before.unloading_grades);
    EXPECT_EQ(f.load_intervals, before.load_intervals);
    EXPECT_EQ(f.unload_intervals, before.unload_intervals);

    // Uplift and horizontal resets touch the codes only.
    f = odd_fields(TestType::kUplift);
    ASSERT_TRUE(apply_standard("竖向抗拔用户自定义试验", f));
    EXPECT_EQ(f.test_code, 1);
    EXPECT_EQ(f.fast_method, 0);
    EXPECT_EQ(f.reuse_minutes, 22);
    EXPECT_EQ(f.stability_start_minutes, 11);
    EXPECT_EQ(f.last_unloading_minutes, 444);
    f = odd_fields(TestType::kHorizontal);
    ASSERT_TRUE(apply_standard("水平静载用户自定义试验", f));
    EXPECT_EQ(f.test_code, 10);
    EXPECT_EQ(f.last_unloading_minutes, 444);
}

TEST(TestStandards, RowsFillTheirTabledValues) {
    StandardPageFields f = odd_fields(TestType::kCompression);
    ASSERT_TRUE(apply_standard("快速维持荷载法——2小时", f));
    EXPECT_TRUE(f.stability_check_off);
    EXPECT_EQ(stability_minutes_label(f.stability_check_off), "每级加载时间(分钟)");
    EXPECT_EQ(f.stability_minutes, 120);
    EXPECT_EQ(f.last_unloading_minutes, 120);
    EXPECT_EQ(f.fast_method, 1);
    EXPECT_EQ(f.test_code, 0);
    ASSERT_TRUE(apply_standard("JGJ106-2014 单桩竖向抗压静载试验", f));
    EXPECT_FALSE(f.stability_check_off);
    EXPECT_EQ(stability_minutes_label(f.stability_check_off), "每次判稳时间(分钟)");
    EXPECT_TRUE(stability_controls_visible(f.stability_check_off));
    EXPECT_EQ(f.fast_method, 0);

    ASSERT_TRUE(apply_standard("DB42/269-2003 单桩竖向抗压(湖北省) - 工程桩", f));
    EXPECT_EQ(f.loading_grades, 8);
    EXPECT_EQ(f.first_multiple, 1);
    EXPECT_EQ(f.stability_start_minutes, 0);
    EXPECT_EQ(f.reuse_minutes, 30);
    EXPECT_EQ(f.fast_method, 1);
    EXPECT_EQ(f.load_intervals, (Table{0, 5, 5, 5, 15, 15, 15, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 30, 120, 120, 120, 120, 120, 120, 120, 120}));

    ASSERT_TRUE(apply_standard("DGJ32/TJ142-2012 单桩竖向抗压(江苏省) - 收敛法", f));
    EXPECT_EQ(f.loading_grades, 6);
    EXPECT_EQ(f.stability_minutes, 10);
    EXPECT_DOUBLE_EQ(f.stability_criterion, 0.0);
    EXPECT_EQ(f.unloading_minutes, 20);
    EXPECT_EQ(f.unloading_grades, 3);
    EXPECT_EQ(f.last_unloading_minutes, 40);
    EXPECT_EQ(f.stability_start_minutes, 40);
    EXPECT_EQ(f.load_intervals, (Table{0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20}));

    ASSERT_TRUE(apply_standard("JGJ340-2015 岩地基载荷试验", f));
    EXPECT_EQ(f.loading_grades, 15);
    EXPECT_DOUBLE_EQ(f.stability_criterion, 0.03);
    EXPECT_EQ(f.unloading_grades, 7);
    EXPECT_EQ(f.last_unloading_minutes, 150);
    EXPECT_EQ(f.reuse_minutes, 20);
    EXPECT_EQ(f.test_code, 9);
    EXPECT_EQ(f.load_intervals, (Table{0, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 10, 10, 10, 30, 30, 30, 30, 30, 30, 30, 30}));

    ASSERT_TRUE(apply_standard("TB10018-2003 平板载荷试验", f));
    EXPECT_EQ(f.loading_grades, 7);
    EXPECT_EQ(f.test_code, 5);
    EXPECT_EQ(f.load_intervals, (Table{0, 1, 2, 2, 5, 5, 15, 15, 15, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15}));

    ASSERT_TRUE(apply_standard("JGJ79-2012 复合地基静载荷试验", f));
    EXPECT_EQ(f.stability_count, 1);
    EXPECT_EQ(f.unloading_minutes, 30);
    EXPECT_EQ(f.test_code, 4);
    EXPECT_EQ(f.load_intervals, (Table{0, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 30, 150, 150, 150, 150, 150, 150, 150, 150, 150, 150}));

    ASSERT_TRUE(apply_standard("GB50007-2011 深层平板载荷试验", f));
    EXPECT_EQ(f.test_code, 6);
    EXPECT_EQ(f.unloading_grades, 0);
    EXPECT_EQ(f.load_intervals, (Table{0, 10, 10, 10, 15, 15, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, Table{});

    ASSERT_TRUE(apply_standard("DBJ15-60-2008 单桩竖向抗压(广东省) - 快速法", f));
    EXPECT_EQ(f.stability_start_minutes, 45);
    EXPECT_EQ(f.load_intervals, (Table{0, 5, 10, 15, 15, 15, 15, 15, 15, 15, 15, 15}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 5, 10, 15, 30, 30, 30, 30, 30, 30, 30, 30}));

    // The Hubei uplift row leaves the start of checking and the reuse time alone.
    f = odd_fields(TestType::kUplift);
    ASSERT_TRUE(apply_standard("DB42/269-2003 单桩竖向抗拔静载试验(湖北省)", f));
    EXPECT_EQ(f.stability_start_minutes, 11);
    EXPECT_EQ(f.reuse_minutes, 22);
    EXPECT_EQ(f.stability_count, 1);
    EXPECT_EQ(f.test_code, 1);
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 30, 120, 30, 30, 30, 30, 30, 30, 30}));
}

TEST(TestStandards, AStandardOutsideTheCurrentListChangesNothing) {
    StandardPageFields f = odd_fields(TestType::kCompression);
    EXPECT_FALSE(apply_standard("JGJ106-2014 单桩竖向抗拔静载试验", f));
    EXPECT_FALSE(apply_standard("no such standard", f));
    EXPECT_EQ(f.standard, "JGJ106-2014 单桩竖向抗压静载试验");
    EXPECT_EQ(f.test_code, 99);
    EXPECT_EQ(f.reuse_minutes, 22);
}

TEST(TestStandards, StoreAndLoadThroughTheHeaderImage) {
    StandardPageFields f = odd_fields(TestType::kUplift);
    f.standard = "DB42/269-2003 单桩竖向抗拔静载试验(湖北省)";
    f.stability_check_off = true;
    TestHeader header = blank_header();
    f.store_into(header);

    EXPECT_EQ(header_value<std::uint8_t>(header, 1076), 1);
    const std::string gbk = utf8_to_gbk(f.standard);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&header) + 827), gbk);
    EXPECT_EQ(header_value<std::int32_t>(header, 956), 4321);
    EXPECT_EQ(header_value<std::uint8_t>(header, 892), 3);
    EXPECT_EQ(header_value<std::uint8_t>(header, 893), 13);
    EXPECT_EQ(header_value<std::uint8_t>(header, 894), 1);
    EXPECT_EQ(header_value<std::uint8_t>(header, 895), 9);
    EXPECT_EQ(header_value<std::uint16_t>(header, 896), 77);
    EXPECT_FLOAT_EQ(header_value<float>(header, 900), 0.7f);
    EXPECT_EQ(header_value<std::uint16_t>(header, 904), 33);
    EXPECT_EQ(header_value<std::uint8_t>(header, 906), 6);
    EXPECT_EQ(header_value<std::uint16_t>(header, 908), 1);
    EXPECT_EQ(header_value<std::uint16_t>(header, 908 + 22), 12);
    EXPECT_EQ(header_value<std::uint16_t>(header, 932), 12);
    EXPECT_EQ(header_value<std::int32_t>(header, 1060), 444);
    EXPECT_EQ(header_value<std::uint16_t>(header, 1078), 11);
    EXPECT_EQ(header_value<std::uint8_t>(header, 1180), 99);
    EXPECT_EQ(header_value<std::uint8_t>(header, 1181), 1);

    StandardPageFields loaded;
    loaded.reuse_minutes = 5;
    loaded.load_from(header);
    EXPECT_EQ(loaded.test_type, TestType::kUplift);
    EXPECT_EQ(loaded.standard, f.standard);
    EXPECT_EQ(loaded.reuse_minutes, 5);  // the reuse time is not in the record
    EXPECT_EQ(loaded.loading_grades, 13);
    EXPECT_TRUE(loaded.stability_check_off);
    EXPECT_FLOAT_EQ(static_cast<float>(loaded.stability_criterion), 0.7f);
    EXPECT_EQ(loaded.load_intervals, f.load_intervals);
    EXPECT_EQ(loaded.unload_intervals, f.unload_intervals);
    EXPECT_EQ(loaded.last_unloading_minutes, 444);
    EXPECT_EQ(loaded.test_code, 99);

    header.test_type = 7;
    loaded.load_from(header);
    EXPECT_EQ(loaded.test_type, TestType::kCompression);
}

TEST(TestStandards, OutOfRangeValuesAreRefusedAndStoredClampedNeverWrapped) {
    StandardPageFields f;
    EXPECT_TRUE(validate(f).ok());
    f.loading_grades = 300;  // within the page's 2500 but beyond the byte
    Status status = validate(f);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find("加载分级"), std::string::npos);
    EXPECT_NE(status.message().find("0 和 255"), std::string::npos);
    f.loading_grades = 10;
    f.stability_minutes = 1001;
    EXPECT_FALSE(validate(f).ok());
    f.stability_minutes = 60;
    f.unload_intervals[3] = -1;
    EXPECT_FALSE(validate(f).ok());
    f.unload_intervals[3] = 30;
    f.stability_criterion = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(validate(f).ok());

    f = StandardPageFields{};
    f.max_load = -5;
    f.loading_grades = 300;
    f.stability_count = 2500;
    f.stability_minutes = 5000;
    f.stability_start_minutes = 40000;
    f.last_unloading_minutes = 2000000;
    f.unloading_grades = -3;
    f.load_intervals[2] = 70000;
    f.unload_intervals[5] = -20;
    TestHeader header = blank_header();
    f.store_into(header);
    EXPECT_EQ(header.max_load, 0);
    EXPECT_EQ(header.loading_grades, 255);
    EXPECT_EQ(header.stability_count, 255);
    EXPECT_EQ(header.stability_minutes, 1000);
    EXPECT_EQ(header.stability_start_minutes, 32767);
    EXPECT_EQ(header.last_unloading_minutes, 999999);
    EXPECT_EQ(header.unloading_grades, 0);
    EXPECT_EQ(header.load_intervals[2], 65535);
    EXPECT_EQ(header.unload_intervals[5], 0);
}

TEST(TestStandards, PageDefaultsAndLabels) {
    const StandardPageFields f;
    EXPECT_EQ(f.test_type, TestType::kCompression);
    EXPECT_EQ(f.standard, "JGJ106-2014 单桩竖向抗压静载试验");
    EXPECT_EQ(f.max_load, 1000);
    EXPECT_EQ(f.unloading_grades, 2);
    EXPECT_EQ(f.reuse_minutes, 30);
    EXPECT_EQ(f.stability_start_minutes, 30);
    EXPECT_EQ(f.load_intervals, (Table{0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 30}));
    EXPECT_EQ(f.unload_intervals, (Table{0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 180}));
    EXPECT_EQ(max_load_label(false), "最大载荷值(kN)");
    EXPECT_EQ(max_load_label(true), "最大载荷值(kPa)");
}

}  // namespace
}  // namespace kvd
