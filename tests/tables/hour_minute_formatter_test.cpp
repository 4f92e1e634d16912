// The clock texts of the raw tables against the C library's local time, in
// zones with daylight saving (changes on the hour and on the half hour) and
// with a half-hour offset, and a raw record table of a hundred thousand
// readings.

#include "tables/hour_minute_formatter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "base/local_time.h"
#include "raw_table_fixture.h"
#include "tables/source_table.h"

namespace kvd::testing {
namespace {

// Sets TZ for one test and puts the previous value back.
class ZoneGuard {
  public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::string saved_;
    bool had_ = false;
};

// Every `step` seconds over `span` seconds from `from`, in order (as readings
// come) and then backwards (the cache must follow a clock that jumps back).
void expect_agrees(std::int64_t from, std::int64_t span, std::int64_t step) {
    HourMinuteFormatter formatter;
    for (std::int64_t t = from; t < from + span; t += step) {
        ASSERT_EQ(formatter.format(t), format_local_time(t, "%H:%M")) << t;
    }
    for (std::int64_t t = from + span; t > from; t -= step) {
        ASSERT_EQ(formatter.format(t), format_local_time(t, "%H:%M")) << t;
    }
}

TEST(HourMinuteFormatterTest, AgreesWithTheCLibraryAcrossZoneChanges) {
    const std::int64_t year2024 = 1704067200;  // 2024-01-01 00:00 UTC
    const std::int64_t year = 366LL * 86400;
    const char* zones[] = {
        "CST-8",                                // the tests' zone: no changes
        "CET-1CEST,M3.5.0,M10.5.0/3",           // changes on the hour
        "NST3:30NDT,M3.2.0/2:30,M11.1.0/1:30",  // half-hour offset, changes on the half hour
        "IST-5:30",                             // half-hour offset
        "EST5EDT,M3.2.0,M11.1.0",
    };
    for (const char* zone : zones) {
        SCOPED_TRACE(zone);
        ZoneGuard guard(zone);
        expect_agrees(year2024, year, 1777);  // a year, every half hour or so
        // Second by second around each change of the year.
        std::int64_t previous = year2024;
        std::tm parts{};
        std::time_t t0 = static_cast<std::time_t>(year2024);
        localtime_r(&t0, &parts);
        long offset = parts.tm_gmtoff;
        for (std::int64_t t = year2024; t < year2024 + year; t += 900) {
            std::time_t now = static_cast<std::time_t>(t);
            localtime_r(&now, &parts);
            if (parts.tm_gmtoff != offset) {
                expect_agrees(previous - 3600, 3 * 3600, 7);
                offset = parts.tm_gmtoff;
            }
            previous = t;
        }
    }
    // Before 1970 and far ahead.
    ZoneGuard guard("CET-1CEST,M3.5.0,M10.5.0/3");
    expect_agrees(-86400 * 3, 86400 * 6, 599);
    expect_agrees(4102444800LL, 86400, 599);  // 2100
}

TEST(HourMinuteFormatterTest, TimesWithoutLocalTimeGiveNoText) {
    HourMinuteFormatter formatter;
    EXPECT_EQ(formatter.format(INT64_MAX), "");
    EXPECT_EQ(formatter.format(INT64_MIN), "");
    EXPECT_EQ(formatter.format(0), format_local_time(0, "%H:%M"));
}

class LargeRawTableTest : public RawTableTest {};

TEST_F(LargeRawTableTest, FillsAHundredThousandReadings) {
    const std::int64_t start = local(8, 0);
    for (int i = 0; i < 100000; ++i) {
        RawReading r = raw(1 + i / 12, i % 12, 100 * (1 + i / 12), start + 61 * i);
        r.channel[0] = 0.01 * i;
        doc_.record().raw_readings.push_back(r);
    }
    rebuild();
    CSourceTable table(doc_, metrics_);
    table.fill();
    ASSERT_EQ(table.row_count(), 100001);
    for (int i = 0; i < 100000; i += 997) {
        EXPECT_EQ(table.cell_text(i + 1, 3), format_local_time(start + 61 * i, "%H:%M")) << i;
    }
    EXPECT_EQ(table.cell_text(100000, 4), "1");
    EXPECT_EQ(table.merged_rows(0).size(), 8334u);
}

}  // namespace
}  // namespace kvd::testing
