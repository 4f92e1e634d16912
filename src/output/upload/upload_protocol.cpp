#include "output/upload/upload_protocol.h"

#include <cstring>

namespace kvd::upload {
namespace {

constexpr std::size_t kLengthAt = 4;
constexpr std::size_t kTypeAt = 8;
constexpr std::size_t kCrcAt = 9;
constexpr std::size_t kCheckAt = 10;
constexpr std::size_t kIdentifierAt = 12;
constexpr std::size_t kEchoAt = 16;
// Payload lengths whose low byte is above this carry no CRC.
constexpr std::size_t kLongestCrcRun = 127;

}  // namespace

std::uint8_t crc8_maxim(ByteView data) {
    std::uint8_t crc = 0;
    for (std::uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint8_t>((crc >> 1) ^ 0x8C)
                            : static_cast<std::uint8_t>(crc >> 1);
        }
    }
    return crc;
}

std::uint8_t header_crc(ByteView payload) {
    const std::size_t run = payload.size() % 256;
    if (run == 0 || run > kLongestCrcRun) return 0;
    return crc8_maxim(payload.first(run));
}

std::uint16_t check_word(const std::uint8_t* header) {
    int sum = kCheckWordBase;
    for (std::size_t i = kLengthAt; i < kLengthAt + 4; ++i) {
        sum += static_cast<std::int8_t>(header[i]);
    }
    sum += header[kCrcAt];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void put_u16(Bytes& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put_u32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

std::uint16_t get_u16(ByteView in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

std::uint32_t get_u32(ByteView in, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    return value;
}

Bytes frame_message(MessageType type, ByteView payload) {
    Bytes out(kHeaderSize + payload.size(), 0);
    std::memcpy(out.data(), kMagic, sizeof kMagic);
    put_u32(out, kLengthAt, static_cast<std::uint32_t>(payload.size()));
    out[kTypeAt] = static_cast<std::uint8_t>(type);
    out[kCrcAt] = header_crc(payload);
    put_u16(out, kCheckAt, check_word(out.data()));
    if (!payload.empty()) std::memcpy(out.data() + kHeaderSize, payload.data(), payload.size());
    return out;
}

std::optional<MessageHeader> parse_header(ByteView bytes) {
    if (bytes.size() < kHeaderSize) return std::nullopt;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    MessageHeader header;
    header.length = get_u32(bytes, kLengthAt);
    header.type = bytes[kTypeAt];
    header.crc = bytes[kCrcAt];
    header.check = get_u16(bytes, kCheckAt);
    if (header.check != check_word(bytes.data())) return std::nullopt;
    return header;
}

ReplyCheck check_reply(ByteView bytes, std::uint16_t expected_sequence) {
    ReplyCheck result;
    if (bytes.size() < kReplySize) {
        result.problem = ReplyProblem::kShort;
        return result;
    }
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        result.problem = ReplyProblem::kBadMagic;
        return result;
    }
    if (get_u16(bytes, kCheckAt) != check_word(bytes.data())) {
        result.problem = ReplyProblem::kBadCheckWord;
        return result;
    }
    result.reply.identifier = get_u32(bytes, kIdentifierAt);
    result.reply.echo = get_u16(bytes, kEchoAt);
    if (result.reply.identifier == 0) {
        result.problem = ReplyProblem::kZeroIdentifier;
    } else if (result.reply.echo != expected_sequence) {
        result.problem = ReplyProblem::kWrongEcho;
    }
    return result;
}

const char* describe(ReplyProblem problem) {
    switch (problem) {
        case ReplyProblem::kNone:
            return "应答正确";
        case ReplyProblem::kShort:
            return "应答不完整或无应答";
        case ReplyProblem::kBadMagic:
            return "应答标志错误";
        case ReplyProblem::kBadCheckWord:
            return "应答校验字错误";
        case ReplyProblem::kZeroIdentifier:
            return "应答中的试验编号为0";
        case ReplyProblem::kWrongEcho:
            return "应答序号不符";
    }
    return "应答错误";
}

Bytes build_reply(MessageType type, std::uint32_t identifier, std::uint16_t echo) {
    Bytes payload(kReplyPayloadSize, 0);
    put_u32(payload, 0, identifier);
    put_u16(payload, kEchoAt - kHeaderSize, echo);
    return frame_message(type, payload);
}

}  // namespace kvd::upload
