#include "tables/raw_reading_text.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "base/numeric.h"

namespace kvd {
namespace {

// printf's "%W.2f": std::to_chars with a precision formats exactly as printf
// does in the "C" locale, several times faster, which matters for the
// hundreds of thousands of cells of a long raw record.
std::string fixed_two(double value, std::size_t width) {
    char buffer[400];  // the longest double in fixed notation fits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) return {};
    const auto length = static_cast<std::size_t>(result.ptr - buffer);
    std::string text;
    if (length < width) text.assign(width - length, ' ');
    text.append(buffer, length);
    return text;
}

}  // namespace

std::vector<int> channels_in_use(const InstrumentParams& instrument) {
    std::vector<int> channels;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (instrument.channel_role[static_cast<std::size_t>(ch)] != ChannelRole::kUnused) {
            channels.push_back(ch);
        }
    }
    return channels;
}

int planned_interval(const InstrumentParams& instrument, const RawReading& reading) {
    const IntervalTable& table =
        reading.loading == kLoading ? instrument.load_intervals : instrument.unload_intervals;
    const int index = std::clamp(reading.index, 0, kIntervalCount - 1);
    return table[static_cast<std::size_t>(index)];
}

RawTextFormatter::RawTextFormatter(const InstrumentParams& instrument)
    : pressure_route_(instrument.pressure_route == 1) {
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (instrument.channel_role[static_cast<std::size_t>(ch)] == ChannelRole::kTestPile) {
            test_pile_channels_.push_back(ch);
        }
    }
}

int RawTextFormatter::measured_load(const RawReading& reading) const {
    return pressure_route_ ? reading.load_a : reading.load_b;
}

std::string RawTextFormatter::pressure(const RawReading& reading) const {
    return fixed52(pressure_route_ ? reading.pressure_a : reading.pressure_b);
}

double RawTextFormatter::average(const RawReading& reading) const {
    if (test_pile_channels_.empty()) return 0;
    double sum = 0;
    for (int ch : test_pile_channels_) sum += reading.channel[ch];
    // + 0.0 turns a negative zero into 0 so that it never prints "-0.00".
    return round2(sum / static_cast<double>(test_pile_channels_.size())) + 0.0;
}

std::string RawTextFormatter::integer(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string RawTextFormatter::fixed62(double value) {
    return fixed_two(value, 6);
}
std::string RawTextFormatter::fixed52(double value) {
    return fixed_two(value, 5);
}
std::string RawTextFormatter::fixed2(double value) {
    return fixed_two(value, 0);
}

}  // namespace kvd
