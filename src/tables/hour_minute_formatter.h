#pragma once
// HourMinuteFormatter: "%H:%M" of time64 values in local time, for tables
// that show the clock time of every reading (the raw record table may hold a
// hundred thousand). Asking the C library for the local time of each reading
// dominates such a fill, so the formatter asks once per clock hour: it takes
// the UTC offset at the first and the last second of the hour and, when both
// agree (no daylight-saving or zone change inside that hour), derives hour
// and minute arithmetically. An hour with a change falls back to the C
// library for each time in it.
//
// The offset is cached for one hour at a time, which suits readings in time
// order. Make one formatter per fill: it does not notice a change of the
// process's time zone while it lives.

#include <cstdint>
#include <string>

namespace kvd {

class HourMinuteFormatter {
  public:
    // "HH:MM" of t in local time; empty when t has no local time.
    std::string format(std::int64_t t);

  private:
    static constexpr std::int64_t kNoHour = INT64_MIN;

    std::int64_t hour_ = kNoHour;  // the cached hour, t / 3600 rounded down
    bool uniform_ = false;         // one offset holds for the whole cached hour
    std::int64_t offset_ = 0;      // seconds east of UTC in that hour
};

}  // namespace kvd
