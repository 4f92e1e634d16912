// The anchor pile table: columns per anchor channel, captions from the anchor
// pile numbers, uplift within the grade and cumulative, the change range and
// the printed band.

#include "tables/mz_table.h"

#include <gtest/gtest.h>

#include "raw_table_fixture.h"

namespace kvd::testing {
namespace {

class MZTableTest : public ::testing::Test {
  protected:
    // The new document's template: 11 loading and 5 unloading grades, grade
    // 0 of one reading, the others of two.
    void make_anchors() {
        TestParams& p = doc_.record().test_params;
        p.channel_role[2] = ChannelRole::kAnchorPile;
        p.channel_role[5] = ChannelRole::kAnchorPile;
        p.anchor_pile_number[2] = "M1";
        p.anchor_pile_number[5] = "M2";
        // Channel 3 lifts 0.25 mm per grade, channel 6 0.5 mm; the first
        // reading of a grade repeats the previous grade's last.
        CTestData& grades = doc_.record().grades;
        for (int g = 0; g < grades.grade_count(); ++g) {
            auto points = grades.grade(g)->points();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const int step = i + 1 == points.size() ? g : g - 1;
                points[i].channel[2] = 0.25 * step;
                points[i].channel[5] = 0.5 * step;
            }
        }
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1714521600}; }};
    FixedFontMetrics metrics_;
    CMZTable table_{doc_, metrics_};
};

TEST_F(MZTableTest, WithoutAnchorChannelsTheHeaderAloneSaysWhyAndNoPages) {
    table_.fill();
    EXPECT_EQ(table_.column_count(), 1);
    EXPECT_EQ(table_.row_count(), 1);  // no loads without anchor piles beside them
    EXPECT_EQ(table_.cell_text(0, 0), "锚桩编号\n试桩荷载\n(kN)");
    EXPECT_EQ(table_.empty_text(), "本试验没有锚桩测试通道");
    EXPECT_FALSE(table_.change_range(3, kWholeGrade).has_value());
    PageSetup setup;
    EXPECT_EQ(table_.page_count(setup, PrintContent{}), 0);
    RecordingCanvas canvas;
    EXPECT_FALSE(table_.print_page(canvas, 1, setup, PrintContent{}));
}

TEST_F(MZTableTest, TwoAnchorsGiveFiveColumns) {
    make_anchors();
    table_.fill();
    ASSERT_EQ(table_.column_count(), 5);
    EXPECT_EQ(table_.empty_text(), "");
    EXPECT_EQ(table_.fixed_row_count(), 1);
    EXPECT_EQ(table_.fixed_column_count(), 1);
    EXPECT_EQ(table_.column_width(0), table_.chars_width(7));
    EXPECT_EQ(table_.column_width(4), table_.chars_width(8));
    EXPECT_EQ(table_.cell_text(0, 1), "M1\n本级\n(mm)");
    EXPECT_EQ(table_.cell_text(0, 4), "M2\n累计\n(mm)");

    // Grade 0 has a single reading: no uplift within it.
    EXPECT_EQ(table_.cell_text(1, 1), "   0.00");
    EXPECT_EQ(table_.cell_text(1, 2), "  0.00");
    EXPECT_EQ(table_.cell_text(4, 0), "300");
    EXPECT_EQ(table_.cell_text(4, 1), "   0.25");
    EXPECT_EQ(table_.cell_text(4, 2), "  0.75");
    EXPECT_EQ(table_.cell_text(4, 3), "   0.50");
    EXPECT_EQ(table_.cell_text(4, 4), "  1.50");

    EXPECT_EQ(table_.cell(4, 1)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell(4, 1)->background, kLoadingBackground);
    EXPECT_EQ(table_.cell(13, 4)->text_colour, kUnloadingText);
    EXPECT_EQ(table_.cell(13, 4)->background, kUnloadingBackground);

    using Part = HeaderCaption::Part;
    const auto captions = table_.header_captions();
    const std::vector<HeaderCaption> expected = {
        {0, 0, Part::kUpper, "锚桩编号"},   {0, 0, Part::kLower, "试桩荷载\n(kN)"},
        {1, 2, Part::kUpper, "M1"},         {1, 1, Part::kLower, "本级\n(mm)"},
        {2, 2, Part::kLower, "累计\n(mm)"}, {3, 4, Part::kUpper, "M2"},
        {3, 3, Part::kLower, "本级\n(mm)"}, {4, 4, Part::kLower, "累计\n(mm)"}};
    EXPECT_EQ(captions, expected);
}

TEST_F(MZTableTest, ChangeRangeReachesTheNextGradeOrTheWindowBottom) {
    make_anchors();
    table_.fill();
    EXPECT_EQ(table_.change_range(3, kWholeGrade), (CellRange{4, 1, 5, 4, false}));
    EXPECT_EQ(table_.change_range(15, 0), (CellRange{16, 1, 16, 4, true}));
    EXPECT_FALSE(table_.change_range(16, 0).has_value());
    EXPECT_FALSE(table_.change_range(-1, 0).has_value());
}

TEST_F(MZTableTest, PrintedBandUsesTheSpacedCaptions) {
    make_anchors();
    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    PageSetup setup;
    PrintContent content;
    ASSERT_EQ(table_.page_count(setup, content), 1);
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content));
    EXPECT_NE(canvas.find_text("单桩竖向抗压静载试验锚桩上拔量汇总表"), nullptr);
    EXPECT_EQ(count_exactly(canvas, "本 级\n(mm)"), 2);
    EXPECT_EQ(count_exactly(canvas, "累 计\n(mm)"), 2);
    EXPECT_EQ(count_exactly(canvas, "试桩荷载\n(kPa)"), 1);
    const auto* m2 = canvas.find_text("M2");
    ASSERT_NE(m2, nullptr);
    // Spanning its two columns, scaled from the grid widths.
    const int w0 = table_.column_width(0);
    const int w = table_.column_width(1);
    const int total = w0 + 4 * w;
    EXPECT_EQ(m2->box.left - setup.left_margin, (w0 + 2 * w) * setup.printable_width() / total);
    EXPECT_EQ(m2->box.right - setup.left_margin, setup.printable_width());
    EXPECT_NE(canvas.find_text("  1.50"), nullptr);  // body: the cell texts
}

}  // namespace
}  // namespace kvd::testing
