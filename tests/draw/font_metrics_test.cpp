#include "draw/font_metrics.h"

#include <gtest/gtest.h>

namespace kvd {
namespace {

TEST(FixedFontMetricsTest, CountsCharactersNotBytes) {
    const FixedFontMetrics metrics;
    Font font;
    font.height = 30;
    EXPECT_EQ(metrics.average_char_width(font), 15);
    EXPECT_EQ(metrics.line_height(font), 34);
    // "㎡" and "Φ" are multi-byte: one full-height character each, whatever their byte count.
    EXPECT_EQ(metrics.text_extent(font, "1.50 ㎡").cx, 5 * 15 + 30);
    EXPECT_EQ(metrics.text_extent(font, "Φ800").cx, 30 + 3 * 15);
    EXPECT_EQ(metrics.text_extent(font, "").cx, 0);
    // An em height (negative) measures like the same cell height.
    font.height = -30;
    EXPECT_EQ(metrics.text_extent(font, "1.50 ㎡"), (Size{5 * 15 + 30, 34}));
    // A stray lead byte at the end does not read past the text.
    EXPECT_EQ(metrics.text_extent(font, std::string_view("a\xE5", 2)).cx, 15 + 30);
}

}  // namespace
}  // namespace kvd
