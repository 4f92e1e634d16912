#pragma once
// The station's side of the protocol: StationMessageParser cuts the byte
// stream a station receives into messages, and check_station_message says
// what is wrong with one (empty when nothing). The station simulator uses
// both; nothing here trusts a length from the wire beyond kMaxStationPayload.

#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_image.h"
#include "output/upload/upload_protocol.h"

namespace kvd::upload {

// Longer payloads are refused before any is buffered.
inline constexpr std::size_t kMaxStationPayload = 4096;

struct StationMessage {
    MessageHeader header;
    Bytes payload;
};

class StationMessageParser {
public:
    void feed(ByteView bytes);
    // The next complete message, or nothing when more bytes are needed or
    // the stream is broken (a header that is not one: nothing after it can
    // be framed).
    std::optional<StationMessage> next();
    bool broken() const { return !problem_.empty(); }
    const std::string& problem() const { return problem_; }

private:
    Bytes buffer_;
    std::size_t start_ = 0;  // first byte of buffer_ not yet consumed
    std::string problem_;
};

// What a station finds wrong in a well-framed message: the CRC byte, the
// payload length of its type, and for records the agreement of the record
// header's fields (identifier twice, marker bytes, record number, sequence
// value and count). Empty when the message is as it must be.
std::string check_station_message(const StationMessage& message);

// Fields of a type 2 payload (record number is index + 1).
struct RecordFields {
    std::uint32_t identifier = 0;
    int number = 0;
    std::uint16_t sequence = 0;
};
RecordFields record_fields(ByteView payload);

// The identifier a type 2 or type 5 payload names.
std::uint32_t named_identifier(ByteView payload);

}  // namespace kvd::upload
