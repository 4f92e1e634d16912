// The old "meyptx" test format. Only its readings are known: a 1428-byte
// header holding the reading count (uint16 at 398), then 84-byte readings.
// The rest of the old header (project texts, channel settings, interval
// tables) is not known; those parameters get the defaults of a new test and
// the user is told so.

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/format.h"
#include "base/local_time.h"
#include "record/file_format.h"
#include "record/grade_compute.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

// One reading as stored. The double at offset 4 is not 8-aligned in the file,
// so the struct is packed; it is only ever copied whole, never referenced by
// member address.
#pragma pack(push, 1)
struct PackedOldReading {
    std::uint16_t grade;
    std::int16_t flag;  // non-zero while loading
    double date;        // day count since 1899-12-30; only the day is used
    char clock[8];      // "HH:MM:SS"
    std::uint8_t reserved_20[4];
    std::int32_t grade_load;
    std::int32_t measured_load;
    float pressure;     // oil pressure, MPa
    float channel[12];  // mm
};
#pragma pack(pop)

static_assert(offsetof(PackedOldReading, grade) == 0);
static_assert(offsetof(PackedOldReading, flag) == 2);
static_assert(offsetof(PackedOldReading, date) == 4);
static_assert(offsetof(PackedOldReading, clock) == 12);
static_assert(offsetof(PackedOldReading, grade_load) == 24);
static_assert(offsetof(PackedOldReading, measured_load) == 28);
static_assert(offsetof(PackedOldReading, pressure) == 32);
static_assert(offsetof(PackedOldReading, channel) == 36);
static_assert(sizeof(PackedOldReading) == kOldReadingSize);

constexpr int kOleDaysTo1970 = 25569;  // 1899-12-30 to 1970-01-01

// Year, month, day of a count of days since 1970-01-01 (proleptic Gregorian).
void civil_from_days(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t old_reading_time(const PackedOldReading& old) {
    if (!std::isfinite(old.date) || std::fabs(old.date) > 3e6) return 0;
    int year = 0, month = 0, day = 0;
    civil_from_days(static_cast<long long>(std::floor(old.date)) - kOleDaysTo1970, year, month,
                    day);
    char clock[9] = {};
    std::memcpy(clock, old.clock, 8);
    int hour = 0, minute = 0, second = 0;
    if (std::sscanf(clock, "%d:%d:%d", &hour, &minute, &second) != 3) hour = minute = second = 0;
    return make_local_time(year, month, day, hour, minute, second).value_or(0);
}

RawReading convert(const PackedOldReading& old, std::int32_t index) {
    RawReading raw{};
    raw.time = old_reading_time(old);
    raw.status = kStatusNormal;
    raw.loading = old.flag != 0 ? kLoading : kUnloading;
    raw.grade = old.grade;
    raw.index = index;
    raw.grade_load = old.grade_load;
    raw.load_a = raw.load_b = old.measured_load;
    raw.pressure_a = 0;
    raw.pressure_b = old.pressure;
    for (int j = 0; j < 12; ++j) {
        // The old tester kept two decimals; pass through the same text form.
        raw.channel[j] =
            std::strtod(strprintf("%.2f", static_cast<double>(old.channel[j])).c_str(), nullptr);
    }
    return raw;
}

}  // namespace

Status read_old_format(ByteReader& in, TestRecord& record, ReadReport& report) {
    report = ReadReport{};
    std::uint16_t count = 0;
    if (!in.seek(kOldReadingCountOffset) || !in.read(count)) {
        return Status::failure(kMessageDamaged);
    }
    const std::size_t available =
        in.size() > kOldHeaderSize ? (in.size() - kOldHeaderSize) / kOldReadingSize : 0;
    const std::size_t claimed = std::min<std::size_t>(count, available);
    report.claimed_readings = count;

    // An initial zero-load reading built from the first stored one comes
    // first, then every stored reading.
    PackedOldReading old{};
    if (claimed == 0 || !in.seek(kOldHeaderSize) || !in.read(old)) {
        return count > 0 ? Status::failure(kMessageDamaged)
                         : Status::failure("老版本PTX文件中没有读数，无法打开 ！");
    }
    const std::int64_t first_time = old_reading_time(old);
    record = TestRecord::make_empty(first_time);
    record.opened_kind = record.save_kind = FileKind::kOldTestFile;
    RawReading initial = convert(old, 0);
    initial.grade = 0;
    initial.grade_load = initial.load_a = initial.load_b = 0;
    initial.pressure_a = initial.pressure_b = 0;
    record.raw_readings.reserve(claimed + 1);
    record.raw_readings.push_back(initial);
    record.raw_readings.push_back(convert(old, 0));
    std::int32_t index = 0;
    std::uint16_t previous_grade = old.grade;
    while (record.raw_readings.size() <= claimed && in.read(old)) {
        index = old.grade == previous_grade ? index + 1 : 0;
        previous_grade = old.grade;
        record.raw_readings.push_back(convert(old, index));
    }
    const std::size_t present = record.raw_readings.size() - 1;
    report.recovered_readings = static_cast<long long>(present);
    report.damaged = present < count;

    TestParams& params = record.test_params;
    params.direction_kind = 1;
    InstrumentParams tester;
    tester.tag = "MEYPTX";
    tester.instrument_number = "000";
    tester.test_time = first_time;
    tester.load_intervals = params.load_intervals;
    tester.unload_intervals = params.unload_intervals;
    tester.channel_role = params.channel_role;
    tester.store_into(record.header);
    params.store_into(record.header);
    record.rebuild_params();
    record.instrument_params.tag = tester.tag;
    build_grades_from_old_raw(record);

    report.notices.push_back(
        "老版本PTX文件只读取了原始读数；工地名称、桩号、通道设置和记录间隔未能读取，"
        "已使用默认值，请在参数页中核对。");
    if (report.damaged) report.notices.insert(report.notices.begin(), damage_notice(report));
    return Status::success();
}

}  // namespace kvd
