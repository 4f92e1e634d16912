// The sized fields of the curve style pages: typed texts to stored tenths,
// texts that are not numbers, the shown texts, clamping and the spin steps.

#include "doc/option_fields.h"

#include <gtest/gtest.h>

namespace kvd::testing {
namespace {

TEST(OptionFieldsTest, ATextThatIsNotOneNumberGivesNoValue) {
    for (const char* text : {"", " ", "mm", "2.5..-", "2.5x", "-1.5x", "mm 2", ".", "-", "nan",
                             "inf", "2e", "1,5", "2.6 mm mm", "2 cm"}) {
        EXPECT_FALSE(sized_value_from_text(text, kLineWidthRange)) << text;
        EXPECT_FALSE(sized_value_from_text(text, kTitleHeightRange)) << text;
    }
    // The field's own texts, with or without the unit, are numbers.
    EXPECT_EQ(sized_value_from_text("  2.6 mm", kLineWidthRange), 26);
    EXPECT_EQ(sized_value_from_text("2.6mm", kLineWidthRange), 26);
    EXPECT_EQ(sized_value_from_text("+.5 ", kLineWidthRange), 5);
    EXPECT_EQ(sized_value_from_text("  12 mm", kTitleHeightRange), 120);
}

TEST(OptionFieldsTest, WidthsAreTypedInMillimetresAndStoredInTenthsWithinTheirRange) {
    EXPECT_EQ(sized_value_from_text("2.56", kLineWidthRange), 26);
    EXPECT_EQ(sized_text(26, kLineWidthRange), " 2.6 mm");
    EXPECT_EQ(sized_value_from_text("0", kLineWidthRange), 1);  // at least a tenth
    EXPECT_EQ(sized_value_from_text("0.14", kLineWidthRange), 1);
    EXPECT_EQ(sized_value_from_text("0.15", kLineWidthRange), 2);  // to the nearest tenth
    EXPECT_EQ(sized_value_from_text("2", kLineWidthRange), 20);
    EXPECT_EQ(sized_value_from_text("5.1", kLineWidthRange), 50);  // 5 mm at most
    EXPECT_EQ(sized_value_from_text("1e30", kLineWidthRange), 50);
    EXPECT_EQ(sized_value_from_text("-1e400", kLineWidthRange), 1);
    EXPECT_EQ(sized_value_from_text("-4", kLineWidthRange), 1);
    EXPECT_EQ(sized_text(1, kLineWidthRange), " 0.1 mm");
    EXPECT_EQ(sized_text(50, kLineWidthRange), " 5.0 mm");
    // What a field shows reads back as the same value.
    for (int v = kLineWidthRange.min; v <= kLineWidthRange.max; ++v) {
        EXPECT_EQ(sized_value_from_text(sized_text(v, kLineWidthRange), kLineWidthRange), v);
    }

    // The diameter may be 0: no markers.
    EXPECT_EQ(sized_value_from_text("0", kPointDiameterRange), 0);
    EXPECT_EQ(sized_value_from_text("1.5", kPointDiameterRange), 15);
    EXPECT_EQ(sized_value_from_text("9", kPointDiameterRange), 40);
    EXPECT_EQ(sized_text(0, kPointDiameterRange), " 0.0 mm");
}

TEST(OptionFieldsTest, HeightsAreWholeMillimetresStoredTimesTen) {
    EXPECT_EQ(sized_value_from_text("25", kTitleHeightRange), 200);  // 20 mm at most
    EXPECT_EQ(sized_text(200, kTitleHeightRange), "  20 mm");
    EXPECT_EQ(sized_value_from_text("6.9", kTitleHeightRange), 60);  // the whole millimetres
    EXPECT_EQ(sized_value_from_text("1", kTitleHeightRange), 30);    // 3 mm at least
    EXPECT_EQ(sized_value_from_text("0", kTickHeightRange), 10);
    EXPECT_EQ(sized_value_from_text("11", kMarkHeightRange), 100);
    EXPECT_EQ(sized_text(60, kTitleHeightRange), "   6 mm");
    // A stored height between millimetres shows its whole millimetres.
    EXPECT_EQ(sized_text(35, kTickHeightRange), "   3 mm");
}

TEST(OptionFieldsTest, SpinStepsMoveTheShownNumberWithinTheRange) {
    EXPECT_EQ(sized_spin_position(26, kLineWidthRange), 26);
    EXPECT_EQ(sized_value_after_step(26, 1, kLineWidthRange), 27);
    EXPECT_EQ(sized_value_after_step(50, 1, kLineWidthRange), 50);
    EXPECT_EQ(sized_value_after_step(1, -1, kLineWidthRange), 1);
    EXPECT_EQ(sized_value_after_step(5, -10, kLineWidthRange), 1);
    EXPECT_EQ(sized_value_after_step(0, -1, kPointDiameterRange), 0);

    EXPECT_EQ(sized_spin_position(60, kTitleHeightRange), 6);
    EXPECT_EQ(sized_value_after_step(60, 1, kTitleHeightRange), 70);
    EXPECT_EQ(sized_value_after_step(200, 1, kTitleHeightRange), 200);
    EXPECT_EQ(sized_value_after_step(30, -1, kTitleHeightRange), 30);
    // A stored value outside the range comes back into it on the first step.
    EXPECT_EQ(sized_value_after_step(500, -1, kTickHeightRange), 100);
    EXPECT_EQ(sized_value_after_step(35, 1, kTickHeightRange), 40);
}

}  // namespace
}  // namespace kvd::testing
