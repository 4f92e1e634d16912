#pragma once
// The inspection station's wire format: every message is a 12-byte header and
// a payload, every integer little-endian.
//
//   0  "crvn"
//   4  payload length L (uint32)
//   8  message type (1 verification, 2 raw record, 5 end)
//   9  CRC-8/MAXIM of the first (L mod 256) payload bytes when that lies in
//      1 ... 127, else 0
//   10 check word (uint16): 436 + bytes 4..7 as signed bytes + byte 9, mod 2^16
//
// The station answers each message with 18 bytes: a header as above, the
// station's test identifier (uint32, never 0) at 12 and at 16 the echo
// (uint16) of the message's sequence value (0 for types 1 and 5, record index
// + 5 for type 2). Both the client and the station simulator build and check
// messages here, so the two can only agree on what this file says.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_image.h"

namespace kvd::upload {

inline constexpr std::uint8_t kMagic[4] = {'c', 'r', 'v', 'n'};
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kReplySize = 18;
inline constexpr std::uint16_t kCheckWordBase = 436;

enum class MessageType : std::uint8_t {
    kVerification = 1,
    kRecord = 2,
    kEnd = 5,
};

inline constexpr std::size_t kVerificationPayloadSize = 696;
inline constexpr std::size_t kRecordPayloadSize = 125;
inline constexpr std::size_t kEndPayloadSize = 16;
// Payload of a reply: identifier and echo.
inline constexpr std::size_t kReplyPayloadSize = kReplySize - kHeaderSize;

// Sequence values the reply must echo.
inline constexpr std::uint16_t kVerificationSequence = 0;
inline constexpr std::uint16_t kEndSequence = 0;
inline constexpr int kRecordSequenceOffset = 5;

// CRC-8/MAXIM (Dallas 1-Wire): reflected polynomial 0x8C, initial value 0,
// no final XOR. Of "123456789" it is 0xA1.
std::uint8_t crc8_maxim(ByteView data);

// The header's CRC byte for a payload: the CRC of its first (L mod 256)
// bytes when that count is 1 ... 127, otherwise 0.
std::uint8_t header_crc(ByteView payload);

// The check word over header bytes 4..7 (signed) and 9 (unsigned).
std::uint16_t check_word(const std::uint8_t* header);

// A whole message: header and payload.
Bytes frame_message(MessageType type, ByteView payload);

struct MessageHeader {
    std::uint32_t length = 0;
    std::uint8_t type = 0;
    std::uint8_t crc = 0;
    std::uint16_t check = 0;
};

// The header at the start of bytes when its magic and check word are right.
std::optional<MessageHeader> parse_header(ByteView bytes);

struct Reply {
    std::uint32_t identifier = 0;
    std::uint16_t echo = 0;
};

// Why a reply was refused, as the status line says it; nothing for an
// accepted one.
enum class ReplyProblem {
    kNone,
    kShort,  // fewer than 18 bytes
    kBadMagic,
    kBadCheckWord,
    kZeroIdentifier,
    kWrongEcho,
};

struct ReplyCheck {
    ReplyProblem problem = ReplyProblem::kNone;
    Reply reply;
    bool accepted() const { return problem == ReplyProblem::kNone; }
};

// Checks a reply (the bytes received for one message) against the sequence
// value of the message it answers.
ReplyCheck check_reply(ByteView bytes, std::uint16_t expected_sequence);

// The user's words for a refused reply.
const char* describe(ReplyProblem problem);

// The 18 bytes a station answers with.
Bytes build_reply(MessageType type, std::uint32_t identifier, std::uint16_t echo);

// Little-endian field access for payload building and checking.
void put_u16(Bytes& out, std::size_t at, std::uint16_t value);
void put_u32(Bytes& out, std::size_t at, std::uint32_t value);
std::uint16_t get_u16(ByteView in, std::size_t at);
std::uint32_t get_u32(ByteView in, std::size_t at);

}  // namespace kvd::upload
