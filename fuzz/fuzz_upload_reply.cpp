// Fuzzes the check of the station's replies. The first two bytes are the
// sequence value the reply must echo, the rest is what arrived. An accepted
// reply must be one that says what the checks require; a reply built by the
// station's side for the same values must always be accepted.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "output/upload/upload_protocol.h"

namespace {

using namespace kvd;
using namespace kvd::upload;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto expected = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    const ByteView reply(data + 2, size - 2);
    const ReplyCheck check = check_reply(reply, expected);
    (void)describe(check.problem);
    if (check.accepted()) {
        if (reply.size() < kReplySize) fail("accepted a short reply");
        if (std::memcmp(reply.data(), kMagic, sizeof kMagic) != 0) fail("accepted a wrong magic");
        if (get_u16(reply, 10) != check_word(reply.data())) fail("accepted a wrong check word");
        if (check.reply.identifier == 0) fail("accepted identifier 0");
        if (check.reply.echo != expected) fail("accepted a wrong echo");
        if (!parse_header(reply)) fail("an accepted reply has no header");
    }
    const std::uint32_t identifier = reply.size() >= 4 ? get_u32(reply, 0) | 1u : 1u;
    if (!check_reply(build_reply(MessageType::kRecord, identifier, expected), expected).accepted()) {
        fail("a station's reply was refused");
    }
    return 0;
}
