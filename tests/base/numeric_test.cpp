#include "base/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(Strprintf, FormatsLikePrintfOfAnyLength) {
    EXPECT_EQ(strprintf("%5.2f%%", 12.345), "12.35%");
    EXPECT_EQ(strprintf("%s", ""), "");
    std::string long_text(1000, 'x');
    EXPECT_EQ(strprintf("[%s]", long_text.c_str()).size(), 1002u);
}

}  // namespace
}  // namespace kvd
