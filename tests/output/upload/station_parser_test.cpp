// The station's side: framing a byte stream that arrives in pieces, refusing
// what cannot be framed, and the checks of each message's contents.

#include <gtest/gtest.h>

#include <cstring>

#include "output/upload/station_parser.h"
#include "output/upload/upload_messages.h"
#include "upload_test_support.h"

namespace kvd::upload::testing {
namespace {

TestHeader any_header() {
    TestHeader header;
    const fixture::Image image = fixture::make_header();
    std::memcpy(&header, image.bytes().data(), sizeof header);
    return header;
}

RawReading any_reading() {
    RawReading reading;
    const Bytes bytes = fixture::encode(fixture::sample_raw(3, 2));
    std::memcpy(&reading, bytes.data(), sizeof reading);
    return reading;
}

TEST(StationParser, FramesMessagesThatArriveInPieces) {
    const TestHeader header = any_header();
    Bytes stream = frame_message(MessageType::kVerification, verification_payload(header));
    const Bytes record =
        frame_message(MessageType::kRecord, record_payload(header, any_reading(), 4, 77));
    const Bytes end = frame_message(MessageType::kEnd, end_payload(header, 77));
    stream.insert(stream.end(), record.begin(), record.end());
    stream.insert(stream.end(), end.begin(), end.end());

    StationMessageParser parser;
    std::vector<StationMessage> messages;
    // One byte at a time, then in odd pieces: the same three messages.
    for (std::uint8_t byte : stream) {
        parser.feed(ByteView(&byte, 1));
        while (auto message = parser.next()) messages.push_back(*message);
    }
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_FALSE(parser.broken());
    EXPECT_EQ(messages[0].header.type, 1);
    EXPECT_EQ(messages[0].payload.size(), 696u);
    EXPECT_EQ(messages[1].header.type, 2);
    EXPECT_EQ(messages[2].payload, end_payload(header, 77));
    for (const StationMessage& message : messages) {
        EXPECT_EQ(check_station_message(message), "") << int(message.header.type);
    }
    const RecordFields fields = record_fields(messages[1].payload);
    EXPECT_EQ(fields.identifier, 77u);
    EXPECT_EQ(fields.number, 5);
    EXPECT_EQ(fields.sequence, 9);

    StationMessageParser pieces;
    messages.clear();
    for (std::size_t at = 0; at < stream.size(); at += 100) {
        pieces.feed(ByteView(stream).subspan(at, std::min<std::size_t>(100, stream.size() - at)));
        while (auto message = pieces.next()) messages.push_back(*message);
    }
    EXPECT_EQ(messages.size(), 3u);
}

TEST(StationParser, RefusesWhatCannotBeFramed) {
    StationMessageParser bad_magic;
    const Bytes junk = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'};
    bad_magic.feed(junk);
    EXPECT_FALSE(bad_magic.next().has_value());
    EXPECT_TRUE(bad_magic.broken());

    // A valid header announcing 1 GiB: refused before anything is kept.
    Bytes huge = frame_message(MessageType::kRecord, {});
    huge[4] = 0;
    huge[5] = 0;
    huge[6] = 0;
    huge[7] = 0x40;
    huge[10] = static_cast<std::uint8_t>(check_word(huge.data()) & 0xFF);
    huge[11] = static_cast<std::uint8_t>(check_word(huge.data()) >> 8);
    StationMessageParser oversize;
    oversize.feed(huge);
    EXPECT_FALSE(oversize.next().has_value());
    EXPECT_TRUE(oversize.broken());
    EXPECT_NE(oversize.problem().find("超出限制"), std::string::npos);

    // An incomplete message waits for more.
    StationMessageParser waiting;
    waiting.feed(ByteView(frame_message(MessageType::kEnd, Bytes(16, 1))).first(20));
    EXPECT_FALSE(waiting.next().has_value());
    EXPECT_FALSE(waiting.broken());
}

TEST(StationParser, ChecksTheContentsOfEachMessage) {
    const TestHeader header = any_header();
    auto framed = [](MessageType type, const Bytes& payload) {
        StationMessageParser parser;
        parser.feed(frame_message(type, payload));
        return *parser.next();
    };
    const Bytes record = record_payload(header, any_reading(), 4, 77);
    EXPECT_EQ(check_station_message(framed(MessageType::kRecord, record)), "");

    StationMessage wrong_crc = framed(MessageType::kRecord, record);
    wrong_crc.header.crc ^= 1;
    EXPECT_EQ(check_station_message(wrong_crc), "CRC 校验错误");
    EXPECT_NE(check_station_message(framed(MessageType::kRecord, Bytes(124, 0))), "");
    EXPECT_NE(check_station_message(framed(static_cast<MessageType>(3), Bytes(16, 0))), "");

    auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes changed = record;
        changed[at] = value;
        return check_station_message(framed(MessageType::kRecord, changed));
    };
    EXPECT_EQ(with(28, 78), "两处试验编号不一致");
    EXPECT_EQ(with(7, 0), "标志字节错误");
    EXPECT_EQ(with(26, 10), "序号与记录号不符");
    EXPECT_EQ(with(123, 15), "计数与记录号不符");

    Bytes verification = verification_payload(header);
    EXPECT_EQ(check_station_message(framed(MessageType::kVerification, verification)), "");
    verification[84 + 8] = 'x';
    EXPECT_NE(check_station_message(framed(MessageType::kVerification, verification)), "");
    EXPECT_EQ(check_station_message(framed(MessageType::kEnd, end_payload(header, 0))),
              "试验编号为0");
}

}  // namespace
}  // namespace kvd::upload::testing
