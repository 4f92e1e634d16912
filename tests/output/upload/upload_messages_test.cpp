// The three payloads byte for byte. The header is laid out from its byte
// offsets (not through the program's struct) and every payload field is read
// back at its wire offset, so a field in the wrong place cannot agree with
// itself.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

#include "base/text_codec.h"
#include "output/upload/upload_messages.h"
#include "output/upload/upload_protocol.h"
#include "record/file_fixtures.h"

namespace kvd::upload {
namespace {

using fixture::Image;

std::string gbk(const char* utf8) {
    return utf8_to_gbk(utf8);
}

TestHeader header_from(const Image& image) {
    TestHeader header;
    EXPECT_EQ(image.size(), sizeof header);
    std::memcpy(&header, image.bytes().data(), sizeof header);
    return header;
}

// A header with a distinct value in every field the station receives.
Image station_header() {
    Image h(1640);
    h.i64(16, 1686587400);                  // test time
    h.text(89, "JC2023-0612-015");          // serial number
    h.text(114, gbk("试桩S-12"));           // pile number
    h.u8(175, 2).i32(180, 320).u8(184, 2);  // pressure method, bore, jacks
    const std::uint8_t in_use[16] = {1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    const std::uint8_t test_pile[16] = {1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    for (std::size_t j = 0; j < 16; ++j) {
        h.u8(185 + j, in_use[j]).u8(201 + j, test_pile[j]).u8(217 + j, j % 2 ? 1 : 0);
        h.text(265 + 32 * j, "WY-" + std::to_string(j + 1));
    }
    h.text(233, "QJ-01,QJ-02");
    h.text(777, "VX-2620");
    h.text(827, gbk("JGJ106-2014 单桩竖向抗压静载试验"));
    h.u8(892, 2).u8(893, 10).u8(894, 1).u8(895, 3).u16(896, 30).f32(900, 0.1f);
    h.u16(904, 60).u8(906, 5);
    const std::uint16_t load[12] = {0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 300};
    const std::uint16_t unload[12] = {0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 0x1B4};
    for (std::size_t i = 0; i < 12; ++i) h.u16(908 + 2 * i, load[i]).u16(932 + 2 * i, unload[i]);
    h.i32(956, 3000).u8(986, 1).u8(992, 0).u8(993, 1).u8(994, 0).u8(995, 1);
    h.f32(996, 12.5f).f32(1000, 7.5f).i32(1060, 180).f32(1064, 1.25f).f32(1068, -3.5f);
    return h;
}

float f32_at(const Bytes& p, std::size_t at) {
    std::uint32_t bits = get_u32(p, at);
    return std::bit_cast<float>(bits);
}
double f64_at(const Bytes& p, std::size_t at) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, p.data() + at, 8);
    return std::bit_cast<double>(bits);
}
std::string text_at(const Bytes& p, std::size_t at, std::size_t width) {
    return std::string(reinterpret_cast<const char*>(p.data() + at), width);
}
std::string padded(const std::string& s, std::size_t width) {
    return s + std::string(width - s.size(), '\0');
}

TEST(UploadMessages, VerificationPayloadFieldByField) {
    const TestHeader header = header_from(station_header());
    const Bytes p = verification_payload(header);
    ASSERT_EQ(p.size(), 696u);
    EXPECT_EQ(text_at(p, 0, 16), padded("VX-2620", 16));
    EXPECT_EQ(text_at(p, 16, 24), padded("JC2023-0612-015", 24));
    EXPECT_EQ(text_at(p, 40, 16), padded(gbk("试桩S-12"), 16));
    EXPECT_EQ(f64_at(p, 56), 1686587400.0);
    EXPECT_EQ(Bytes(p.begin() + 64, p.begin() + 84), Bytes(20, 0));

    const std::size_t b = 84;  // parameter block
    EXPECT_EQ(f64_at(p, b + 0), 0.0);
    EXPECT_EQ(text_at(p, b + 8, 32), padded(gbk("竖向试验"), 32));
    // The method as UTF-16LE: "JGJ106-2014 单桩竖向抗压静载试验" is 23 units.
    const std::u16string method = u"JGJ106-2014 单桩竖向抗压静载试验";
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint16_t unit = i < method.size() ? method[i] : 0;
        EXPECT_EQ(get_u16(p, b + 40 + 2 * i), unit) << i;
    }
    EXPECT_EQ(get_u32(p, b + 104), 3000u);
    EXPECT_EQ(get_u16(p, b + 108), 10);
    EXPECT_EQ(get_u16(p, b + 110), 2);
    EXPECT_EQ(p[b + 112], 1);
    EXPECT_EQ(p[b + 113], 3);
    EXPECT_EQ(f32_at(p, b + 114), 0.1f);
    EXPECT_EQ(get_u16(p, b + 118), 30);
    // Low bytes of the interval tables: 300 = 0x12C -> 0x2C, 0x1B4 -> 0xB4.
    EXPECT_EQ(Bytes(p.begin() + b + 120, p.begin() + b + 132),
              (Bytes{0, 5, 10, 15, 15, 15, 30, 30, 30, 30, 30, 0x2C}));
    EXPECT_EQ(Bytes(p.begin() + b + 132, p.begin() + b + 144),
              (Bytes{0, 15, 15, 30, 180, 180, 180, 180, 180, 180, 180, 0xB4}));
    EXPECT_EQ(get_u16(p, b + 144), 60);
    EXPECT_EQ(get_u16(p, b + 146), 5);
    EXPECT_EQ(get_u16(p, b + 148), 180);
    EXPECT_EQ(p[b + 150], 1);
    EXPECT_EQ(p[b + 151], 0);
    EXPECT_EQ(p[b + 152], 0);
    EXPECT_EQ(f32_at(p, b + 153), 12.5f);  // reloading by value: the amount
    EXPECT_EQ(get_u16(p, b + 157), 2);
    EXPECT_EQ(p[b + 159], 2);
    EXPECT_EQ(get_u16(p, b + 160), 320);
    EXPECT_EQ(text_at(p, b + 162, 32), padded("QJ-01,QJ-02", 32));
    EXPECT_EQ(f32_at(p, b + 194), 1.25f);
    EXPECT_EQ(f32_at(p, b + 198), -3.5f);
    // 1 anchor pile, 2 test pile, 0 not in use; channel 13 is not sent.
    EXPECT_EQ(Bytes(p.begin() + b + 202, p.begin() + b + 214),
              (Bytes{2, 2, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(p.begin() + b + 214, p.begin() + b + 226),
              (Bytes{0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(p[b + 226], 1);
    for (std::size_t j = 0; j < 12; ++j) {
        const bool in_use = j < 3 || j == 4;
        EXPECT_EQ(text_at(p, b + 227 + 32 * j, 32),
                  in_use ? padded("WY-" + std::to_string(j + 1), 32) : std::string(32, '\0'))
            << j;
    }
    EXPECT_EQ(p[b + 611], 1);

    // Reloading by percentage sends the percentage.
    Image by_percentage = station_header();
    by_percentage.u8(994, 1);
    EXPECT_EQ(f32_at(verification_payload(header_from(by_percentage)), b + 153), 7.5f);
}

TEST(UploadMessages, LongTextsAreCutAtACharacterBoundary) {
    Image h = station_header();
    h.text(777, "ABCDEFGHIJKLMNO");                          // 15 of 16: 12 go
    h.text(89, "123456789012345678901234");                  // 24 of 25: 23 go
    h.text(114, gbk("一二三四五六七八九十").substr(0, 16));  // 8 characters: 7 fit in 15 bytes
    h.text(233, std::string(31, 'J'));
    h.text(827, gbk("一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二"));  // 32
    h.text(265, std::string(31, 'S'));
    const Bytes p = verification_payload(header_from(h));
    EXPECT_EQ(text_at(p, 0, 16), padded("ABCDEFGHIJKL", 16));
    EXPECT_EQ(text_at(p, 16, 24), padded("12345678901234567890123", 24));
    EXPECT_EQ(text_at(p, 40, 16), padded(gbk("一二三四五六七"), 16));
    EXPECT_EQ(p[55], 0);
    EXPECT_EQ(text_at(p, 84 + 162, 32), padded(std::string(31, 'J'), 32));
    EXPECT_EQ(p[84 + 193], 0);
    EXPECT_EQ(text_at(p, 84 + 227, 32), padded(std::string(31, 'S'), 32));
    // 31 UTF-16 units, then the terminator.
    EXPECT_EQ(get_u16(p, 84 + 40 + 2 * 30), u"一"[0]);
    EXPECT_EQ(get_u16(p, 84 + 40 + 2 * 31), 0);

    // A pile number whose 15th byte is the first half of a character.
    Image odd = station_header();
    odd.text(114, "A" + gbk("一二三四五六七八"));  // 17 bytes: "A" + 7 characters = 15
    EXPECT_EQ(text_at(verification_payload(header_from(odd)), 40, 16),
              padded("A" + gbk("一二三四五六七"), 16));
    Image odd2 = station_header();
    odd2.text(114, "AB" + gbk("一二三四五六七"));  // 16 bytes: 15th is a lead byte
    EXPECT_EQ(text_at(verification_payload(header_from(odd2)), 40, 16),
              padded("AB" + gbk("一二三四五六"), 16));
}

fixture::Raw reading_for_wire() {
    fixture::Raw r;
    r.time = 1686590000;
    r.loading = 1;
    r.grade = 3;
    r.index = 13;
    r.grade_load = 1200;
    r.load_a = 1187;
    r.load_b = 999;
    r.pressure_a = 21.5;
    r.pressure_b = 9.0;
    const double values[16] = {1.234, 1.245, 9.9, 0, 1.3, 0, 0, 0, 0, 0, 0, 0, 7.777, 0, 0, 0};
    for (std::size_t j = 0; j < 16; ++j) r.channel[j] = values[j];
    return r;
}

RawReading raw_from(const fixture::Raw& r) {
    RawReading raw;
    const Bytes bytes = fixture::encode(r);
    std::memcpy(&raw, bytes.data(), sizeof raw);
    return raw;
}

TEST(UploadMessages, RecordPayloadFieldByField) {
    const TestHeader header = header_from(station_header());
    const RawReading reading = raw_from(reading_for_wire());
    const Bytes p = record_payload(header, reading, 41, 0x01020304);
    ASSERT_EQ(p.size(), 125u);
    EXPECT_EQ(get_u32(p, 0), 0x01020304u);
    EXPECT_EQ(get_u16(p, 4), 42);
    EXPECT_EQ(Bytes(p.begin() + 6, p.begin() + 10), (Bytes{0, 1, 0, 1}));
    EXPECT_EQ(f64_at(p, 10), 0.0);
    EXPECT_EQ(f64_at(p, 18), 0.0);
    EXPECT_EQ(get_u16(p, 26), 46);
    EXPECT_EQ(record_sequence(41), 46);
    EXPECT_EQ(get_u32(p, 28), 0x01020304u);
    EXPECT_EQ(f64_at(p, 32), 1686590000.0);
    EXPECT_EQ(f32_at(p, 40), 21.5f);
    EXPECT_EQ(get_u32(p, 44), 1187u);
    EXPECT_EQ(Bytes(p.begin() + 48, p.begin() + 60), (Bytes{1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(f32_at(p, 60), 1.234f);
    EXPECT_EQ(f32_at(p, 60 + 4 * 2), 9.9f);
    EXPECT_EQ(f32_at(p, 60 + 4 * 4), 1.3f);
    // Test pile channels in use: 1, 2 and 5 (3 is an anchor pile, 13 not sent):
    // (1.234 + 1.245 + 1.3) / 3 = 1.2597 -> 1.26.
    EXPECT_EQ(f32_at(p, 108), 1.26f);
    EXPECT_EQ(p[112], 1);
    EXPECT_EQ(get_u32(p, 113), 1200u);
    EXPECT_EQ(get_u16(p, 117), 3);
    EXPECT_EQ(get_u16(p, 119), 14);
    // Index 13: entries 1..11 of the loading table, then entry 11 twice more:
    // 5+10+15+15+15+30+30+30+30+30+300 + 2 x 300.
    EXPECT_EQ(get_u16(p, 121), 510 + 600);
    EXPECT_EQ(get_u16(p, 123), 51);
    EXPECT_EQ(record_label(reading), "加载 3-14");

    // Unloading: the unloading table and label.
    fixture::Raw unloading = reading_for_wire();
    unloading.loading = 0;
    unloading.index = 2;
    const RawReading back = raw_from(unloading);
    EXPECT_EQ(minutes_in_grade(header, back), 30);
    EXPECT_EQ(record_label(back), "卸载 3-3");
    EXPECT_EQ(get_u16(record_payload(header, back, 0, 9), 121), 30);
    // Index 0 is the grade's start.
    unloading.index = 0;
    EXPECT_EQ(minutes_in_grade(header, raw_from(unloading)), 0);
}

TEST(UploadMessages, MeanOfTheTestPileChannels) {
    Image h = station_header();
    fixture::Raw r = reading_for_wire();
    // Negative readings round away from zero: (-1.234 - 1.245 - 1.3) / 3 = -1.2597 -> -1.26.
    for (double& value : r.channel) value = -value;
    EXPECT_EQ(test_pile_mean(header_from(h), raw_from(r)), -1.26f);
    // Rounded, not cut: (1.0 + 1.0149) / 2 = 1.00745 -> 1.01.
    Image two = station_header();
    for (std::size_t j = 0; j < 16; ++j) two.u8(185 + j, j < 2).u8(201 + j, j < 2);
    fixture::Raw pair;
    pair.channel[0] = 1.0;
    pair.channel[1] = 1.0149;
    EXPECT_EQ(test_pile_mean(header_from(two), raw_from(pair)), 1.01f);
    // No channel on the test pile: 0.
    Image none = station_header();
    for (std::size_t j = 0; j < 16; ++j) none.u8(201 + j, 0);
    EXPECT_EQ(test_pile_mean(header_from(none), raw_from(reading_for_wire())), 0.0f);
}

TEST(UploadMessages, EndPayload) {
    Image h = station_header();
    h.text(777, "ABCDEFGHIJKLMNO");
    const Bytes p = end_payload(header_from(h), 4242);
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(get_u32(p, 0), 4242u);
    EXPECT_EQ(text_at(p, 4, 12), "ABCDEFGHIJKL");
    const Bytes framed = frame_message(MessageType::kEnd, p);
    EXPECT_EQ(framed[9], crc8_maxim(p));
}

}  // namespace
}  // namespace kvd::upload
