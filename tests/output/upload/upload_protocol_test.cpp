// The message header, its CRC byte and check word, and the reply checks,
// against bytes written out here from the wire layout.

#include <gtest/gtest.h>

#include <string>

#include "output/upload/upload_protocol.h"

namespace kvd::upload {
namespace {

Bytes payload_of(std::size_t size, std::uint8_t seed) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(seed + i * 7);
    return out;
}

// A reply laid out by hand: "crvn", L = 6, type, CRC, check word, identifier, echo.
Bytes hand_reply(std::uint32_t identifier, std::uint16_t echo, std::uint8_t type = 2) {
    Bytes reply = {'c', 'r', 'v', 'n', 6, 0, 0, 0, type, 0, 0, 0};
    for (int i = 0; i < 4; ++i) reply.push_back(static_cast<std::uint8_t>(identifier >> (8 * i)));
    reply.push_back(static_cast<std::uint8_t>(echo & 0xFF));
    reply.push_back(static_cast<std::uint8_t>(echo >> 8));
    reply[9] = crc8_maxim(ByteView(reply).subspan(12, 6));
    const int check = 436 + 6 + reply[9];
    reply[10] = static_cast<std::uint8_t>(check & 0xFF);
    reply[11] = static_cast<std::uint8_t>(check >> 8);
    return reply;
}

TEST(UploadProtocol, Crc8MaximAndWhichPayloadBytesItCovers) {
    const std::string check = "123456789";
    EXPECT_EQ(crc8_maxim(ByteView(reinterpret_cast<const std::uint8_t*>(check.data()), 9)), 0xA1);
    EXPECT_EQ(crc8_maxim({}), 0);

    // Type 1 (L = 696, 696 mod 256 = 184 > 127): no CRC.
    const Bytes verification = payload_of(696, 3);
    EXPECT_EQ(header_crc(verification), 0);
    // Type 2 (L = 125): all of it. Type 5 (L = 16): all of it.
    const Bytes record = payload_of(125, 5);
    EXPECT_EQ(header_crc(record), crc8_maxim(record));
    EXPECT_NE(header_crc(record), 0);
    const Bytes end = payload_of(16, 9);
    EXPECT_EQ(header_crc(end), crc8_maxim(end));
    // L = 261: the first 5 bytes only; L = 128 and 256: none.
    const Bytes long_one = payload_of(261, 1);
    EXPECT_EQ(header_crc(long_one), crc8_maxim(ByteView(long_one).first(5)));
    EXPECT_NE(header_crc(long_one), crc8_maxim(long_one));
    EXPECT_EQ(header_crc(payload_of(128, 1)), 0);
    EXPECT_EQ(header_crc(payload_of(256, 1)), 0);
    EXPECT_EQ(crc8_maxim(ByteView(payload_of(127, 1))), header_crc(payload_of(127, 1)));
}

TEST(UploadProtocol, FramedMessagesCarryTheirHeaderByteForByte) {
    // L = 696 = B8 02 00 00, CRC 0: check word 436 - 72 + 2 = 366 = 6E 01.
    const Bytes verification = frame_message(MessageType::kVerification, payload_of(696, 3));
    ASSERT_EQ(verification.size(), 12u + 696u);
    const Bytes header(verification.begin(), verification.begin() + 12);
    EXPECT_EQ(header, (Bytes{'c', 'r', 'v', 'n', 0xB8, 0x02, 0, 0, 1, 0, 0x6E, 0x01}));
    EXPECT_EQ(check_word(verification.data()), 366);
    EXPECT_EQ(Bytes(verification.begin() + 12, verification.end()), payload_of(696, 3));

    // L = 125 = 7D: check word 436 + 125 + CRC.
    const Bytes record_payload = payload_of(125, 5);
    const Bytes record = frame_message(MessageType::kRecord, record_payload);
    const std::uint8_t crc = crc8_maxim(record_payload);
    EXPECT_EQ(record[4], 0x7D);
    EXPECT_EQ(record[8], 2);
    EXPECT_EQ(record[9], crc);
    EXPECT_EQ(record[10] | (record[11] << 8), 436 + 125 + crc);

    // L = 16: type 5.
    const Bytes end = frame_message(MessageType::kEnd, payload_of(16, 9));
    EXPECT_EQ(end[8], 5);
    EXPECT_EQ(end[10] | (end[11] << 8), 436 + 16 + crc8_maxim(payload_of(16, 9)));

    // Bytes 4..7 count as signed: L = 0x80FF: 436 + (-1) + (-128) + 0.
    const std::uint8_t odd[12] = {'c', 'r', 'v', 'n', 0xFF, 0x80, 0, 0, 2, 0x90, 0, 0};
    EXPECT_EQ(check_word(odd), 436 - 1 - 128 + 0x90);
    // The sum wraps in 16 bits.
    const std::uint8_t low[12] = {'c', 'r', 'v', 'n', 0x80, 0x80, 0x80, 0x80, 2, 0, 0, 0};
    EXPECT_EQ(check_word(low), 436 - 512 + 65536);

    const auto parsed = parse_header(record);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->length, 125u);
    EXPECT_EQ(parsed->type, 2);
    EXPECT_EQ(parsed->crc, crc);
    Bytes bad = record;
    bad[11] ^= 1;
    EXPECT_FALSE(parse_header(bad).has_value());
    bad = record;
    bad[0] = 'C';
    EXPECT_FALSE(parse_header(bad).has_value());
}

TEST(UploadProtocol, RepliesAreAcceptedOnlyWithMagicCheckWordIdentifierAndEcho) {
    const Bytes good = hand_reply(1001, 7);
    EXPECT_EQ(build_reply(MessageType::kRecord, 1001, 7), good);
    const ReplyCheck accepted = check_reply(good, 7);
    EXPECT_TRUE(accepted.accepted());
    EXPECT_EQ(accepted.reply.identifier, 1001u);
    EXPECT_EQ(accepted.reply.echo, 7);

    EXPECT_EQ(check_reply(good, 8).problem, ReplyProblem::kWrongEcho);
    EXPECT_EQ(check_reply(hand_reply(0, 7), 7).problem, ReplyProblem::kZeroIdentifier);
    EXPECT_EQ(check_reply(ByteView(good).first(17), 7).problem, ReplyProblem::kShort);
    EXPECT_EQ(check_reply({}, 7).problem, ReplyProblem::kShort);
    Bytes bad_magic = good;
    bad_magic[3] = 'm';
    EXPECT_EQ(check_reply(bad_magic, 7).problem, ReplyProblem::kBadMagic);
    Bytes bad_check = good;
    bad_check[10] ^= 0x40;
    EXPECT_EQ(check_reply(bad_check, 7).problem, ReplyProblem::kBadCheckWord);
    // The check word covers the CRC byte: a changed CRC byte is refused too.
    Bytes bad_crc = good;
    bad_crc[9] ^= 1;
    EXPECT_EQ(check_reply(bad_crc, 7).problem, ReplyProblem::kBadCheckWord);
    // The reply's CRC and type are not part of the checks.
    EXPECT_TRUE(check_reply(hand_reply(5, 0, 9), 0).accepted());
    // Every refusal has words for the status line.
    for (ReplyProblem problem :
         {ReplyProblem::kShort, ReplyProblem::kBadMagic, ReplyProblem::kBadCheckWord,
          ReplyProblem::kZeroIdentifier, ReplyProblem::kWrongEcho}) {
        EXPECT_FALSE(std::string(describe(problem)).empty());
    }
}

}  // namespace
}  // namespace kvd::upload
