#pragma once
// The test types and test standards (试验方法) of the test-standard page, and
// the page's values as a plain struct. Choosing a standard fills the loading
// schedule, the stability rule and the two record-interval tables with the
// standard's values, which the user may then change; the values live in the
// TestHeader. The Qt page (CShiYanDlg) and kvdtool both go through here.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"
#include "record/test_header.h"
#include "record/test_params.h"

namespace kvd {

// Test type radios of the page, stored in header 1076.
enum class TestType : std::uint8_t {
    kCompression = 0,  // 竖向抗压
    kUplift = 1,       // 竖向抗拔
    kHorizontal = 2,   // 水平试验
};

inline constexpr std::array<std::string_view, 3> kTestTypeNames = {"竖向抗压", "竖向抗拔",
                                                                   "水平试验"};

// The standards offered for a type, in list order.
std::span<const std::string_view> standards_for(TestType type);
// The entry selected when the type is chosen: JGJ106-2014 for compression
// (index 1), the first entry otherwise.
int default_standard_index(TestType type);
std::string_view default_standard(TestType type);
// The type whose list holds the standard; nothing for an unknown text.
std::optional<TestType> type_of_standard(std::string_view name);

// One row of the standards table. An empty optional leaves the page value as
// it was (the user-defined entries have no row at all).
struct StandardRow {
    std::string_view name;
    std::optional<int> loading_grades;           // G, 加载分级
    std::optional<int> first_multiple;           // M, 首次加载级数
    std::optional<bool> stability_check_off;     // S, 是否判稳 (true = 否)
    std::optional<int> stability_minutes;        // T, per check, or per grade with the check off
    std::optional<int> stability_count;          // N, 判稳次数
    std::optional<double> stability_criterion;   // C, mm
    std::optional<int> unloading_minutes;        // U, per unloading grade
    std::optional<int> unloading_grades;         // K, 卸载分级
    std::optional<int> last_unloading_minutes;   // L
    std::optional<int> stability_start_minutes;  // B, 开始判稳时间
    std::optional<int> reuse_minutes;            // R, 复用时间 (page only)
    std::optional<int> test_code;                // header 1180
    std::optional<int> fast_method;              // header 1181
    std::optional<IntervalTable> load_intervals;
    std::optional<IntervalTable> unload_intervals;
};

// Every row of the standards table (the user-defined entries have none).
std::span<const StandardRow> standard_rows();
// The row of a standard; nullptr for a user-defined entry or an unknown text.
const StandardRow* find_standard(std::string_view name);

// Page limits (inclusive). Several fields of the page accept more than their
// one-byte header field holds; validate() narrows those limits to the field.
inline constexpr int kMaxLoadMin = 0;              // 最大载荷值: 0 ... int32 max
inline constexpr int kGradeCountMax = 2500;        // 加载分级, 首次加载级数, 判稳次数
inline constexpr int kStabilityMinutesMax = 1000;  // 每次判稳时间
inline constexpr int kStartMinutesMax = 32767;     // 开始判稳时间
inline constexpr int kLastUnloadingMax = 999999;   // 卸载最后一级维持时间

// The values of the test-standard page. Defaults are the page's own before a
// record is loaded.
struct StandardPageFields {
    TestType test_type = TestType::kCompression;
    std::string standard = "JGJ106-2014 单桩竖向抗压静载试验";  // header 827
    int max_load = 1000;                                        // 956
    int loading_grades = 10;                                    // 893
    int first_multiple = 2;                                     // 892
    bool stability_check_off = false;                           // 894
    int stability_minutes = 60;                                 // 896
    int stability_count = 2;                                    // 895
    double stability_criterion = 0.1;                           // 900, mm
    int stability_start_minutes = 30;                           // 1078
    int reuse_minutes = 30;                                     // page only, never stored
    int unloading_grades = 2;                                   // 906
    int unloading_minutes = 60;                                 // 904
    int last_unloading_minutes = 180;                           // 1060
    IntervalTable load_intervals = kDefaultLoadIntervals;       // 908
    IntervalTable unload_intervals = kDefaultUnloadIntervals;   // 932
    int test_code = 0;    // 1180, follows the choice of type and standard
    int fast_method = 0;  // 1181

    // Copies the header fields into the page (view hints 30 and 60). The
    // reuse time is not in the header and keeps its page value. A test type
    // byte outside 0 ... 2 reads as compression.
    void load_from(const TestHeader& header);
    // Copies the page into the header (view hint 10), the standard text as
    // GBK and every number clamped to its page limit and its field.
    void store_into(TestHeader& header) const;
};

// Refuses a value outside the page's limits (narrowed to the header field).
Status validate(const StandardPageFields& fields);

// Chooses a test type: selects the type's default standard and applies it,
// records the type in header 1076 and sets the direction kind of the header and of TestParams to 1
// for compression and 2 for uplift (horizontal leaves it unchanged).
void apply_test_type(TestType type, StandardPageFields& fields, TestHeader& header,
                     TestParams& params);

// Chooses a standard of the current type's list: the type's resets
// (compression: reuse time, start of checking and last unloading grade 0,
// test code 0; uplift: test code 1; horizontal: test code 10; fast flag 0
// for all), then the row's values. The user-defined entries set nothing more.
// False, and nothing changed, when the text is not in the current list.
bool apply_standard(std::string_view name, StandardPageFields& fields);

// Label of field 1187: per check with the check on, per grade with it off.
inline constexpr std::string_view kStabilityMinutesLabel = "每次判稳时间(分钟)";
inline constexpr std::string_view kGradeMinutesLabel = "每级加载时间(分钟)";
std::string_view stability_minutes_label(bool stability_check_off);

// 判稳次数 (1188), 判稳标准 (1189), 开始判稳时间 (1212) and 复用时间 (1207),
// with their labels, show only while the stability check is on.
inline constexpr std::array<int, 4> kStabilityControlIds = {1188, 1189, 1212, 1207};
inline bool stability_controls_visible(bool stability_check_off) {
    return !stability_check_off;
}

// Label 1225: the largest load of the schedule, in the load unit of the test.
inline constexpr std::string_view max_load_label(bool kpa) {
    return kpa ? "最大载荷值(kPa)" : "最大载荷值(kN)";
}

}  // namespace kvd
