#pragma once
// Local-time conversions for the time64 fields (seconds since 1970 UTC) that
// the program shows in the user's local time.

#include <cstdint>
#include <optional>
#include <string>

namespace kvd {

// strftime of t in local time, e.g. "%Y-%m-%d %H:%M".
std::string format_local_time(std::int64_t t, const char* format);

// Seconds since 1970 now.
std::int64_t current_time();

// Seconds since 1970 of a local calendar time; nullopt when it does not exist.
std::optional<std::int64_t> make_local_time(int year, int month, int day, int hour, int minute,
                                            int second);

}  // namespace kvd
