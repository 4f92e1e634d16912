#include "base/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "base/format.h"

namespace kvd {
namespace {

TEST(Round2, HalvesGoAwayFromZeroAfterTruncation) {
    EXPECT_DOUBLE_EQ(round2(1.2345), 1.23);  // (1.2345 + 0.005) * 100 = 123.95 -> 123
    EXPECT_DOUBLE_EQ(round2(-1.2351), -1.24);
    EXPECT_DOUBLE_EQ(round2(0.125), 0.13);
    EXPECT_DOUBLE_EQ(round2(-0.125), -0.13);
    EXPECT_DOUBLE_EQ(round2(0.0), 0.0);
    EXPECT_DOUBLE_EQ(round2(12.999), 13.0);
    // Large values do not overflow an integer conversion.
    EXPECT_DOUBLE_EQ(round2(1e15), 1e15);
    // A value just below zero gives zero, never a negative zero shown as "-0.00".
    EXPECT_FALSE(std::signbit(round2(-0.004)));
    EXPECT_EQ(strprintf("%.2f", round2(-0.001)), "0.00");
}

TEST(ParseWholeNumber, TakesOnlyOneWholeNumber) {
    long long value = 7;
    const std::pair<const char*, long long> good[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+5", 5},
        {"  12\t", 12},
        {"007", 7},
        {"9223372036854775807", 9223372036854775807LL},
        {"-9223372036854775808", -9223372036854775807LL - 1}};
    for (const auto& [text, expected] : good) {
        ASSERT_TRUE(parse_whole_number(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    value = 7;
    for (const char* text :
         {"", " ", "-", "+", "12.0", "1e3", "3-4", "2.5..-", "abc", "12a", "--1", "+-1", "1 2",
          "0x10", "9223372036854775808", "-9223372036854775809", "１２"}) {
        EXPECT_FALSE(parse_whole_number(text, value)) << text;
        EXPECT_EQ(value, 7) << text;  // untouched
    }
}

TEST(ParseDecimalNumber, TakesOnlyOneDecimalNumber) {
    double value = 7;
    const std::pair<const char*, double> good[] = {
        {"1.5", 1.5},       {"  -2.25", -2.25}, {"+.5", 0.5},  {"5.", 5.0},        {"1e2", 100.0},
        {"-1.5E-1", -0.15}, {"0", 0.0},         {"12 ", 12.0}, {"\t3.25\t", 3.25}, {"007.50", 7.5}};
    for (const auto& [text, expected] : good) {
        ASSERT_TRUE(parse_decimal_number(text, value)) << text;
        EXPECT_DOUBLE_EQ(value, expected) << text;
    }
    value = 7;
    for (const char* text : {"",    " ",    ".",    "-",     "+.",  "2.5..-", "2.5xyz", "3-4",
                             "--1", "+-1",  "1..2", "1.2.3", "e5",  "1e",     "1e+",    "1e2.5",
                             "inf", "-inf", "nan",  "0x1p3", "1,5", "1 000",  "abc",    "2.5-"}) {
        EXPECT_FALSE(parse_decimal_number(text, value)) << text;
        EXPECT_EQ(value, 7) << text;  // untouched
    }
    // Beyond a double: an infinity of its sign for the range checks, or 0.
    ASSERT_TRUE(parse_decimal_number("1e400", value));
    EXPECT_TRUE(std::isinf(value) && value > 0);
    ASSERT_TRUE(parse_decimal_number("-" + std::string(400, '9'), value));
    EXPECT_TRUE(std::isinf(value) && value < 0);
    ASSERT_TRUE(parse_decimal_number("1e-400", value));
    EXPECT_EQ(value, 0.0);
}

TEST(Strprintf, FormatsLikePrintfOfAnyLength) {
    EXPECT_EQ(strprintf("%5.2f%%", 12.345), "12.35%");
    EXPECT_EQ(strprintf("%s", ""), "");
    std::string long_text(1000, 'x');
    EXPECT_EQ(strprintf("[%s]", long_text.c_str()).size(), 1002u);
}

}  // namespace
}  // namespace kvd
