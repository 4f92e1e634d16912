#include "output/upload/station_parser.h"

#include <cstring>

#include "base/format.h"

namespace kvd::upload {
namespace {

// The record layout is spelled out again here on purpose: the station checks
// what the client built, so it must not share the client's offsets.
constexpr std::size_t kRecordNumberAt = 4;
constexpr std::size_t kMarkerAt = 6;
constexpr std::uint8_t kMarker[4] = {0x00, 0x01, 0x00, 0x01};
constexpr std::size_t kSequenceAt = 26;
constexpr std::size_t kSecondIdentifierAt = 28;
constexpr std::size_t kCountAt = 123;
constexpr int kCountOffset = 10;
// "竖向试验" in GBK at offset 8 of the parameter block, which starts at 84.
constexpr std::size_t kKindTextAt = 84 + 8;
constexpr std::uint8_t kVerticalTestGbk[] = {0xCA, 0xFA, 0xCF, 0xF2, 0xCA, 0xD4, 0xD1, 0xE9, 0x00};

std::size_t expected_length(std::uint8_t type) {
    switch (static_cast<MessageType>(type)) {
        case MessageType::kVerification:
            return kVerificationPayloadSize;
        case MessageType::kRecord:
            return kRecordPayloadSize;
        case MessageType::kEnd:
            return kEndPayloadSize;
    }
    return 0;
}

std::string check_record(ByteView payload) {
    const RecordFields fields = record_fields(payload);
    if (fields.identifier == 0) return "试验编号为0";
    if (get_u32(payload, kSecondIdentifierAt) != fields.identifier) return "两处试验编号不一致";
    if (std::memcmp(payload.data() + kMarkerAt, kMarker, sizeof kMarker) != 0)
        return "标志字节错误";
    if (fields.number < 1) return "记录号为0";
    if (fields.sequence != fields.number - 1 + kRecordSequenceOffset) return "序号与记录号不符";
    if (get_u16(payload, kCountAt) != fields.number - 1 + kCountOffset) return "计数与记录号不符";
    return {};
}

}  // namespace

void StationMessageParser::feed(ByteView bytes) {
    if (broken()) return;
    // Drop what was consumed before the buffer grows again.
    if (start_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<StationMessage> StationMessageParser::next() {
    if (broken()) return std::nullopt;
    const ByteView rest = ByteView(buffer_).subspan(start_);
    if (rest.size() < kHeaderSize) return std::nullopt;
    const std::optional<MessageHeader> header = parse_header(rest);
    if (!header) {
        problem_ = "报文头错误（标志或校验字不符）";
        return std::nullopt;
    }
    if (header->length > kMaxStationPayload) {
        problem_ = strprintf("报文长度 %u 超出限制", header->length);
        return std::nullopt;
    }
    if (rest.size() - kHeaderSize < header->length) return std::nullopt;
    StationMessage message;
    message.header = *header;
    const ByteView payload = rest.subspan(kHeaderSize, header->length);
    message.payload.assign(payload.begin(), payload.end());
    start_ += kHeaderSize + header->length;
    return message;
}

RecordFields record_fields(ByteView payload) {
    RecordFields fields;
    if (payload.size() < kRecordPayloadSize) return fields;
    fields.identifier = get_u32(payload, 0);
    fields.number = get_u16(payload, kRecordNumberAt);
    fields.sequence = get_u16(payload, kSequenceAt);
    return fields;
}

std::uint32_t named_identifier(ByteView payload) {
    return payload.size() >= 4 ? get_u32(payload, 0) : 0;
}

std::string check_station_message(const StationMessage& message) {
    const std::uint8_t type = message.header.type;
    const std::size_t want = expected_length(type);
    if (want == 0) return strprintf("未知报文类型 %d", type);
    if (message.payload.size() != want) {
        return strprintf("类型 %d 的报文长度应为 %zu，实为 %zu", type, want,
                         message.payload.size());
    }
    if (message.header.crc != header_crc(message.payload)) return "CRC 校验错误";
    switch (static_cast<MessageType>(type)) {
        case MessageType::kVerification:
            if (std::memcmp(message.payload.data() + kKindTextAt, kVerticalTestGbk,
                            sizeof kVerticalTestGbk) != 0) {
                return "参数块缺少“竖向试验”";
            }
            return {};
        case MessageType::kRecord:
            return check_record(message.payload);
        case MessageType::kEnd:
            return named_identifier(message.payload) == 0 ? "试验编号为0" : std::string();
    }
    return {};
}

}  // namespace kvd::upload
