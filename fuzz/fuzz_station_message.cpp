// Fuzzes the station's side: the byte stream is cut into messages whether it
// arrives at once or in pieces (the first byte sets the piece size), every
// message is checked, and a message framed again from its type and payload
// reads back the same. A difference aborts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "output/upload/station_parser.h"

namespace {

using namespace kvd;
using namespace kvd::upload;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::vector<StationMessage> frame_all(ByteView stream, std::size_t piece, std::string& problem) {
    StationMessageParser parser;
    std::vector<StationMessage> messages;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        parser.feed(stream.subspan(at, std::min(piece, stream.size() - at)));
        while (auto message = parser.next()) messages.push_back(*message);
    }
    problem = parser.problem();
    return messages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const ByteView stream(data + 1, size - 1);
    std::string whole_problem;
    std::string piece_problem;
    const std::vector<StationMessage> whole = frame_all(stream, stream.size() + 1, whole_problem);
    const std::vector<StationMessage> pieces = frame_all(stream, piece, piece_problem);
    if (whole.size() != pieces.size() || whole_problem != piece_problem) {
        fail("the pieces frame differently");
    }
    std::size_t framed = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const StationMessage& message = whole[i];
        if (message.payload != pieces[i].payload) fail("the pieces give another payload");
        if (message.payload.size() != message.header.length) fail("payload of another length");
        if (message.payload.size() > kMaxStationPayload) fail("payload beyond the limit");
        framed += kHeaderSize + message.payload.size();
        const std::string problem = check_station_message(message);
        if (problem.empty()) {
            (void)record_fields(message.payload);
            (void)named_identifier(message.payload);
        }
        const Bytes again = frame_message(static_cast<MessageType>(message.header.type),
                                          message.payload);
        StationMessageParser reparse;
        reparse.feed(again);
        const auto back = reparse.next();
        if (!back || back->payload != message.payload || back->header.type != message.header.type) {
            fail("a framed message does not read back");
        }
        if (!check_station_message(*back).empty() && problem.empty()) {
            fail("framing again made a good message bad");
        }
    }
    if (framed > stream.size()) fail("framed more bytes than arrived");
    return 0;
}
