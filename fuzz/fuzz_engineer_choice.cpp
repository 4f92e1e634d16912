// Fuzzes the engineer's choice block: the decoder over any bytes and the
// search for a block at the end of a file. A block that decodes must encode
// to a block that decodes to the same choice.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "record/engineer_choice.h"

namespace {

using namespace kvd;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "engineer choice round trip: %s\n", what);
    std::abort();
}

void check(const EngineerChoice& choice) {
    const Bytes again = encode_choice(choice);
    if (again.size() != kChoiceBlockSize) fail("block size");
    EngineerChoice decoded;
    if (!decode_choice(again, decoded).ok()) fail("own block refused");
    if (!(decoded == choice)) fail("choice changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    EngineerChoice choice;
    if (decode_choice(bytes, choice).ok()) check(choice);
    if (const auto trailing = trailing_choice(bytes)) check(*trailing);
    return 0;
}
