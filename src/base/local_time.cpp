#include "base/local_time.h"

#include <ctime>

namespace kvd {

std::string format_local_time(std::int64_t t, const char* format) {
    std::time_t time = static_cast<std::time_t>(t);
    std::tm parts{};
    if (localtime_r(&time, &parts) == nullptr) return {};
    char buffer[128];
    std::size_t n = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, n);
}

std::int64_t current_time() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::optional<std::int64_t> make_local_time(int year, int month, int day, int hour, int minute,
                                            int second) {
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 60) {
        return std::nullopt;
    }
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    std::time_t t = std::mktime(&parts);
    if (t == static_cast<std::time_t>(-1)) return std::nullopt;
    return static_cast<std::int64_t>(t);
}

}  // namespace kvd
