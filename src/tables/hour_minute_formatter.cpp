#include "tables/hour_minute_formatter.h"

#include <ctime>
#include <optional>

namespace kvd {
namespace {

constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int64_t floor_mod(std::int64_t a, std::int64_t b) {
    return a - floor_div(a, b) * b;
}

std::optional<std::tm> local_parts(std::int64_t t) {
    const std::time_t time = static_cast<std::time_t>(t);
    if (static_cast<std::int64_t>(time) != t) return std::nullopt;
    std::tm parts{};
    if (localtime_r(&time, &parts) == nullptr) return std::nullopt;
    return parts;
}

std::string two_digits_pair(int hour, int minute) {
    const char text[5] = {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10),
                          ':', static_cast<char>('0' + minute / 10),
                          static_cast<char>('0' + minute % 10)};
    return std::string(text, sizeof text);
}

}  // namespace

std::string HourMinuteFormatter::format(std::int64_t t) {
    const std::int64_t hour = floor_div(t, kSecondsPerHour);
    if (hour != hour_) {
        hour_ = hour;
        uniform_ = false;
        // Neither end of the hour may overflow: t is well inside the range
        // whenever the C library knows its local time.
        if (hour > INT64_MIN / kSecondsPerHour + 1 && hour < INT64_MAX / kSecondsPerHour - 1) {
            const auto first = local_parts(hour * kSecondsPerHour);
            const auto last = local_parts(hour * kSecondsPerHour + kSecondsPerHour - 1);
            if (first && last && first->tm_gmtoff == last->tm_gmtoff) {
                uniform_ = true;
                offset_ = first->tm_gmtoff;
            }
        }
    }
    if (uniform_) {
        const std::int64_t local = t + offset_;
        const auto of_day = floor_mod(local, kSecondsPerDay);
        return two_digits_pair(static_cast<int>(of_day / kSecondsPerHour),
                               static_cast<int>(of_day % kSecondsPerHour / 60));
    }
    const auto parts = local_parts(t);
    if (!parts) return {};
    return two_digits_pair(parts->tm_hour, parts->tm_min);
}

}  // namespace kvd
