#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <array>

namespace kvd {
namespace {

TEST(TextCodec, RoundTripsChineseThroughGbk) {
    const std::string text = "工地名称 A-12（试桩）";
    std::string gbk = utf8_to_gbk(text);
    EXPECT_EQ(gbk.substr(0, 2), "\xB9\xA4");  // 工
    EXPECT_EQ(gbk_to_utf8(gbk), text);
}

TEST(TextCodec, UnrepresentableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(utf8_to_gbk("a😀b"), "a?b");            // outside GBK
    EXPECT_EQ(utf8_to_gbk("a\xFF" "b"), "a?b");       // not UTF-8
    EXPECT_EQ(gbk_to_utf8("a\x81"), "a?");            // lead byte cut off
    EXPECT_EQ(gbk_to_utf8("\xFF" "x"), "?x");
}

TEST(TextCodec, FieldsTruncateAtCharacterBoundaries) {
    std::array<char, 6> field;
    field.fill('#');
    // Five bytes are available: "ab" (2) + "中" (2) fits, "文" would split.
    write_gbk_field(field, "ab中文");
    EXPECT_EQ(read_gbk_field(field), "ab中");
    EXPECT_EQ(field[4], '\0');
    EXPECT_EQ(field[5], '\0');

    std::array<char, 5> odd;
    write_gbk_field(odd, "中文字");  // 4 bytes usable: two characters
    EXPECT_EQ(read_gbk_field(odd), "中文");

    // A field without a terminating zero is read to its end.
    std::array<char, 3> full = {'a', 'b', 'c'};
    EXPECT_EQ(read_gbk_field(full), "abc");

    EXPECT_EQ(truncate_for_gbk_field("桩号ABC", 5), "桩号A");
}

}  // namespace
}  // namespace kvd
