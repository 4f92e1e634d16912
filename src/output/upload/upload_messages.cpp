#include "output/upload/upload_messages.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/format.h"
#include "base/numeric.h"
#include "base/text_codec.h"
#include "output/upload/upload_protocol.h"
#include "record/test_params.h"

namespace kvd::upload {
namespace {

// Channels the station knows of.
constexpr int kWireChannels = 12;
constexpr char kVerticalTestText[] = "竖向试验";

// Verification block.
constexpr std::size_t kInstrumentAt = 0;
constexpr std::size_t kInstrumentBytes = 12;
constexpr std::size_t kSerialAt = 16;
constexpr std::size_t kSerialBytes = 23;
constexpr std::size_t kPileAt = 40;
constexpr std::size_t kPileBytes = 15;
constexpr std::size_t kTestTimeAt = 56;
constexpr std::size_t kParameterBlockAt = 84;

// Parameter block, from its start.
namespace param {
constexpr std::size_t kKindText = 8;
constexpr std::size_t kKindTextBytes = 31;
constexpr std::size_t kMethod = 40;
constexpr std::size_t kMethodUnits = 31;  // UTF-16 code units before the terminator
constexpr std::size_t kMaxLoad = 104;
constexpr std::size_t kLoadingGrades = 108;
constexpr std::size_t kFirstMultiple = 110;
constexpr std::size_t kStabilitySwitch = 112;
constexpr std::size_t kStabilityCount = 113;
constexpr std::size_t kStabilityCriterion = 114;
constexpr std::size_t kStabilityMinutes = 118;
constexpr std::size_t kLoadIntervals = 120;
constexpr std::size_t kUnloadIntervals = 132;
constexpr std::size_t kUnloadingMinutes = 144;
constexpr std::size_t kUnloadingGrades = 146;
constexpr std::size_t kLastUnloadingMinutes = 148;
constexpr std::size_t kTestMode = 150;
constexpr std::size_t kReloadingSwitch = 151;
constexpr std::size_t kReloadingMode = 152;
constexpr std::size_t kLoadDrop = 153;
constexpr std::size_t kJackCount = 157;
constexpr std::size_t kPressureMethod = 159;
constexpr std::size_t kCylinderBore = 160;
constexpr std::size_t kJackNumbers = 162;
constexpr std::size_t kJackNumberBytes = 31;  // byte 193 stays 0
constexpr std::size_t kEquationK = 194;
constexpr std::size_t kEquationB = 198;
constexpr std::size_t kChannelUse = 202;
constexpr std::size_t kChannelDirection = 214;
constexpr std::size_t kSensorType = 226;
constexpr std::size_t kSensorNumbers = 227;
constexpr std::size_t kSensorNumberStride = 32;
constexpr std::size_t kLoadSensorType = 611;
}  // namespace param

// Record: the 28-byte record header, then the reading from 28.
namespace rec {
constexpr std::size_t kIdentifier = 0;
constexpr std::size_t kNumber = 4;
constexpr std::size_t kMarker = 6;
constexpr std::uint8_t kMarkerBytes[4] = {0x00, 0x01, 0x00, 0x01};
constexpr std::size_t kSequence = 26;
constexpr std::size_t kIdentifierAgain = 28;
constexpr std::size_t kTime = 32;
constexpr std::size_t kPressure = 40;
constexpr std::size_t kLoad = 44;
constexpr std::size_t kInUse = 48;
constexpr std::size_t kChannels = 60;
constexpr std::size_t kMean = 108;
constexpr std::size_t kLoading = 112;
constexpr std::size_t kGradeLoad = 113;
constexpr std::size_t kGrade = 117;
constexpr std::size_t kReadingNumber = 119;
constexpr std::size_t kMinutes = 121;
constexpr std::size_t kCount = 123;
constexpr int kCountOffset = 10;
}  // namespace rec

constexpr std::size_t kEndInstrumentAt = 4;

template <class T>
void put_raw(Bytes& out, std::size_t at, const T& value) {
    std::memcpy(out.data() + at, &value, sizeof(T));
}

void put_u8(Bytes& out, std::size_t at, std::uint8_t value) {
    out[at] = value;
}

// A wide value in a 16-bit field, clamped rather than wrapped.
std::uint16_t clamp_u16(long long value) {
    return static_cast<std::uint16_t>(std::clamp<long long>(value, 0, 65535));
}

// GBK bytes of a NUL-terminated header field, at most max_bytes of them, cut
// at a character boundary; the wire field's remaining bytes stay zero.
template <std::size_t N>
void put_text(Bytes& out, std::size_t at, const char (&field)[N], std::size_t max_bytes) {
    const std::string_view text(field, ::strnlen(field, N));
    const std::string_view fitted = truncate_gbk(text, max_bytes);
    if (!fitted.empty()) std::memcpy(out.data() + at, fitted.data(), fitted.size());
}

// UTF-16 code units of well-formed UTF-8 (what gbk_to_utf8 gives).
std::u16string utf16_of(std::string_view utf8) {
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + length > utf8.size()) length = 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        if (length == 1 && lead >= 0x80) code = U'?';
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return units;
}

void put_method(Bytes& out, std::size_t at, const TestHeader& header) {
    const std::string_view gbk(header.test_method,
                               ::strnlen(header.test_method, sizeof header.test_method));
    std::u16string units = utf16_of(gbk_to_utf8(gbk));
    if (units.size() > param::kMethodUnits) {
        std::size_t keep = param::kMethodUnits;
        // Never the first half of a surrogate pair on its own.
        if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF) --keep;
        units.resize(keep);
    }
    for (std::size_t i = 0; i < units.size(); ++i) put_u16(out, at + 2 * i, units[i]);
}

void put_parameter_block(Bytes& out, std::size_t at, const TestHeader& h) {
    // Time (offset 0) stays 0 in the verification message.
    const std::string kind_text = utf8_to_gbk(kVerticalTestText);
    std::memcpy(out.data() + at + param::kKindText, kind_text.data(),
                std::min(kind_text.size(), param::kKindTextBytes));
    put_method(out, at + param::kMethod, h);
    put_raw(out, at + param::kMaxLoad, h.max_load);
    put_u16(out, at + param::kLoadingGrades, h.loading_grades);
    put_u16(out, at + param::kFirstMultiple, h.first_multiple);
    put_u8(out, at + param::kStabilitySwitch, h.stability_check_off);
    put_u8(out, at + param::kStabilityCount, h.stability_count);
    put_raw(out, at + param::kStabilityCriterion, h.stability_criterion);
    put_u16(out, at + param::kStabilityMinutes, h.stability_minutes);
    for (std::size_t i = 0; i < 12; ++i) {
        put_u8(out, at + param::kLoadIntervals + i, static_cast<std::uint8_t>(h.load_intervals[i]));
        put_u8(out, at + param::kUnloadIntervals + i,
               static_cast<std::uint8_t>(h.unload_intervals[i]));
    }
    put_u16(out, at + param::kUnloadingMinutes, h.unloading_minutes);
    put_u16(out, at + param::kUnloadingGrades, h.unloading_grades);
    put_u16(out, at + param::kLastUnloadingMinutes, clamp_u16(h.last_unloading_minutes));
    put_u8(out, at + param::kTestMode, h.test_mode);
    put_u8(out, at + param::kReloadingSwitch, h.reloading_off);
    put_u8(out, at + param::kReloadingMode, h.reloading_mode);
    const float load_drop = h.reloading_mode == 1 ? h.load_drop_percentage : h.load_drop_amount;
    put_raw(out, at + param::kLoadDrop, load_drop);
    put_u16(out, at + param::kJackCount, h.jack_count);
    put_u8(out, at + param::kPressureMethod, h.pressure_method);
    put_u16(out, at + param::kCylinderBore, clamp_u16(h.cylinder_bore));
    put_text(out, at + param::kJackNumbers, h.jack_numbers, param::kJackNumberBytes);
    put_raw(out, at + param::kEquationK, h.equation_k);
    put_raw(out, at + param::kEquationB, h.equation_b);
    for (int j = 0; j < kWireChannels; ++j) {
        const auto c = static_cast<std::size_t>(j);
        const bool in_use = h.in_use[c] == 1;
        // The station's codes: 0 not in use, 1 anchor pile, 2 test pile.
        put_u8(out, at + param::kChannelUse + c, in_use ? (h.test_pile[c] == 1 ? 2 : 1) : 0);
        put_u8(out, at + param::kChannelDirection + c, h.shortens[c]);
        if (in_use) {
            put_text(out, at + param::kSensorNumbers + c * param::kSensorNumberStride,
                     h.sensor_numbers[c], param::kSensorNumberStride - 1);
        }
    }
    put_u8(out, at + param::kSensorType, h.displacement_sensor_type);
    put_u8(out, at + param::kLoadSensorType, h.load_sensor_type);
}

}  // namespace

Bytes verification_payload(const TestHeader& header) {
    Bytes out(kVerificationPayloadSize, 0);
    put_text(out, kInstrumentAt, header.instrument_number, kInstrumentBytes);
    put_text(out, kSerialAt, header.serial_number, kSerialBytes);
    put_text(out, kPileAt, header.pile_number, kPileBytes);
    put_raw(out, kTestTimeAt, static_cast<double>(header.test_time));
    put_parameter_block(out, kParameterBlockAt, header);
    return out;
}

std::uint16_t record_sequence(int index) {
    return clamp_u16(index + kRecordSequenceOffset);
}

float test_pile_mean(const TestHeader& header, const RawReading& reading) {
    double sum = 0;
    int count = 0;
    for (int j = 0; j < kWireChannels; ++j) {
        const auto c = static_cast<std::size_t>(j);
        if (header.in_use[c] == 1 && header.test_pile[c] == 1) {
            sum += reading.channel[c];
            ++count;
        }
    }
    return count == 0 ? 0.0f : static_cast<float>(round2(sum / count));
}

std::uint16_t minutes_in_grade(const TestHeader& header, const RawReading& reading) {
    const std::uint16_t* table =
        reading.loading == kLoading ? header.load_intervals : header.unload_intervals;
    const long long index = std::max(reading.index, 0);
    constexpr long long kLastEntry = kIntervalCount - 1;
    long long minutes = 0;
    for (long long entry = 1; entry <= std::min(index, kLastEntry); ++entry)
        minutes += table[entry];
    // Entries past the last count as the last one.
    if (index > kLastEntry) minutes += (index - kLastEntry) * table[kLastEntry];
    return clamp_u16(minutes);
}

Bytes record_payload(const TestHeader& header, const RawReading& reading, int index,
                     std::uint32_t identifier) {
    Bytes out(kRecordPayloadSize, 0);
    put_u32(out, rec::kIdentifier, identifier);
    put_u16(out, rec::kNumber, clamp_u16(index + 1LL));
    std::memcpy(out.data() + rec::kMarker, rec::kMarkerBytes, sizeof rec::kMarkerBytes);
    // Offsets 10 and 18: two doubles 0.0, already zero.
    put_u16(out, rec::kSequence, record_sequence(index));
    put_u32(out, rec::kIdentifierAgain, identifier);
    put_raw(out, rec::kTime, static_cast<double>(reading.time));
    put_raw(out, rec::kPressure, static_cast<float>(reading.pressure_a));
    put_raw(out, rec::kLoad, reading.load_a);
    for (int j = 0; j < kWireChannels; ++j) {
        const auto c = static_cast<std::size_t>(j);
        put_u8(out, rec::kInUse + c, header.in_use[c]);
        put_raw(out, rec::kChannels + 4 * c, static_cast<float>(reading.channel[c]));
    }
    put_raw(out, rec::kMean, test_pile_mean(header, reading));
    put_u8(out, rec::kLoading, static_cast<std::uint8_t>(reading.loading));
    put_raw(out, rec::kGradeLoad, reading.grade_load);
    put_u16(out, rec::kGrade, clamp_u16(reading.grade));
    put_u16(out, rec::kReadingNumber, clamp_u16(reading.index + 1LL));
    put_u16(out, rec::kMinutes, minutes_in_grade(header, reading));
    put_u16(out, rec::kCount, clamp_u16(index + static_cast<long long>(rec::kCountOffset)));
    return out;
}

Bytes end_payload(const TestHeader& header, std::uint32_t identifier) {
    Bytes out(kEndPayloadSize, 0);
    put_u32(out, 0, identifier);
    put_text(out, kEndInstrumentAt, header.instrument_number, kInstrumentBytes);
    return out;
}

std::string record_label(const RawReading& reading) {
    return strprintf("%s %d-%lld", reading.loading == kLoading ? "加载" : "卸载", reading.grade,
                     reading.index + 1LL);
}

}  // namespace kvd::upload
