// The paper table: a page setup's size finds its paper (whole millimetres,
// landscape swapped back) and with it the printer paper code.

#include <gtest/gtest.h>

#include "doc/paper_sizes.h"

namespace kvd {
namespace {

PageSetup paper(int width, int height, int landscape = 0) {
    PageSetup setup;
    setup.paper_width = width;
    setup.paper_height = height;
    setup.landscape = landscape;
    return setup;
}

TEST(PaperSizes, TheSetupsSizeFindsItsPaperAndCode) {
    EXPECT_EQ(paper_index_of(PageSetup{}), 1);  // the default A4
    EXPECT_EQ(paper_code_of(PageSetup{}), 9);
    // 16 开 184 x 260 mm is a named entry, yet printed as a user-defined size.
    EXPECT_EQ(paper_index_of(paper(1840, 2600)), 2);
    EXPECT_EQ(paper_code_of(paper(1840, 2600)), kUserDefinedPaperCode);
    // Landscape stores the size as placed: swapped back before the look-up.
    EXPECT_EQ(paper_index_of(paper(2600, 1840, 1)), 2);
    EXPECT_EQ(paper_index_of(paper(2970, 2100, 1)), 1);
    EXPECT_EQ(paper_code_of(paper(2970, 2100, 1)), 9);
    // ... and a portrait setup as wide as A4 is high is no A4.
    EXPECT_EQ(paper_index_of(paper(2970, 2100, 0)), kCustomPaperIndex);
    // Whole millimetres: tenths are cut, not rounded.
    EXPECT_EQ(paper_index_of(paper(2509, 3549)), 0);
    EXPECT_EQ(paper_code_of(paper(2509, 3549)), 12);
    EXPECT_EQ(paper_index_of(paper(2499, 3540)), kCustomPaperIndex);
    const int codes[] = {12, 9, 256, 13, 34, 28};
    for (int i = 0; i < kCustomPaperIndex; ++i) {
        const PaperSize& entry = kPaperSizes[static_cast<std::size_t>(i)];
        EXPECT_EQ(paper_index_for_size(entry.width_mm, entry.height_mm), i);
        EXPECT_EQ(paper_code_of(paper(entry.width_mm * 10, entry.height_mm * 10)), codes[i]);
    }
    EXPECT_EQ(paper_code_of(paper(1000, 1000)), kUserDefinedPaperCode);

    ASSERT_NE(paper_for_code(13), nullptr);
    EXPECT_STREQ(paper_for_code(13)->name, "B5 图纸");
    ASSERT_NE(paper_for_code(kUserDefinedPaperCode), nullptr);
    EXPECT_EQ(paper_for_code(kUserDefinedPaperCode)->width_mm, 184);
    EXPECT_EQ(paper_for_code(1), nullptr);
}

}  // namespace
}  // namespace kvd
