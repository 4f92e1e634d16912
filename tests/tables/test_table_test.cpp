// The load and unload detail tables on screen: fill texts and colours, the
// corner captions, which cells may be edited and the redraw ranges.

#include "tables/test_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "detail_table_fixture.h"

namespace kvd::testing {
namespace {

TEST_F(DetailTableTest, LoadTableFillsTimesLoadsReadingsAndColours) {
    load_.fill();
    ASSERT_EQ(load_.row_count(), 101);
    ASSERT_EQ(load_.column_count(), 4);  // time column + three loading grades
    EXPECT_EQ(load_.fixed_row_count(), 1);
    EXPECT_EQ(load_.fixed_column_count(), 1);
    EXPECT_EQ(load_.control_id(), 61451);
    EXPECT_EQ(load_.table_name(), "加载详测表");
    EXPECT_EQ(load_.row_height(0), 3 * load_.default_row_height() - 2);
    EXPECT_EQ(load_.row_height(50), load_.default_row_height());
    EXPECT_EQ(load_.column_width(0), load_.chars_width(10));
    EXPECT_EQ(load_.column_width(3), load_.chars_width(8));

    EXPECT_EQ(load_.cell_text(0, 0), "荷载\n(kN)\n时间\n(min)");
    EXPECT_EQ(load_.cell_text(0, 2), "100");
    // Planned times from the loading intervals 0, 5, 10, 15, 15, 15, 30 ...;
    // past the twelfth each row adds the twelfth interval.
    const char* times[] = {"0",   "5",   "15",  "30",  "45",  "60",  "90",
                           "120", "150", "180", "210", "240", "270", "300"};
    for (int row = 1; row <= 14; ++row) EXPECT_EQ(load_.cell_text(row, 0), times[row - 1]) << row;
    EXPECT_EQ(load_.cell_text(100, 0), std::to_string(240 + 88 * 30));

    // Grade 1 has 3 readings: rows 1-3 filled, the rest grey and empty.
    EXPECT_EQ(load_.cell_text(1, 2), "  0.10");
    EXPECT_EQ(load_.cell_text(2, 2), "  1.20");
    EXPECT_EQ(load_.cell_text(3, 2), "  1.30");
    for (int row = 4; row <= 100; ++row) {
        ASSERT_EQ(load_.cell_text(row, 2), "") << row;
        ASSERT_EQ(load_.cell(row, 2)->text_colour, kEmptyCellColour) << row;
        ASSERT_EQ(load_.cell(row, 2)->background, kEmptyCellColour) << row;
    }
    EXPECT_EQ(load_.cell(2, 2)->text_colour, kLoadingText);
    EXPECT_EQ(load_.cell(2, 2)->background, kLoadingBackground);
    EXPECT_EQ(load_.cell(1, 2)->text_colour, kDisabledText);  // row 1 of a later grade
    EXPECT_EQ(load_.cell(1, 2)->background, kLoadingBackground);
    EXPECT_EQ(load_.cell(1, 1)->text_colour, kLoadingText);  // the test's first reading
    EXPECT_EQ(load_.cell(0, 2)->text_colour, kLoadingText);
    EXPECT_EQ(load_.cell(0, 2)->background, kDefaultColour);
    EXPECT_EQ(load_.cell(5, 0)->text_colour, kDefaultColour);
}

TEST_F(DetailTableTest, UnloadTableShowsOnlyUnloadingGradesInItsColours) {
    unload_.fill();
    ASSERT_EQ(unload_.column_count(), 3);
    EXPECT_EQ(unload_.control_id(), 61452);
    EXPECT_EQ(unload_.table_name(), "卸载详测表");
    EXPECT_EQ(unload_.grade_of_column(1), 3);
    EXPECT_EQ(unload_.grade_of_column(3), -1);
    EXPECT_EQ(unload_.cell_text(0, 1), "100");
    EXPECT_EQ(unload_.cell_text(0, 2), "0");
    // Times from the unloading intervals 0, 15, 15, 30, 180 ...
    EXPECT_EQ(unload_.cell_text(2, 0), "15");
    EXPECT_EQ(unload_.cell_text(5, 0), "240");
    EXPECT_EQ(unload_.cell_text(2, 1), "  3.20");
    EXPECT_EQ(unload_.cell(1, 1)->text_colour, kDisabledText);  // even in the first column
    EXPECT_EQ(unload_.cell(1, 1)->background, kUnloadingBackground);
    EXPECT_EQ(unload_.cell(2, 2)->text_colour, kUnloadingText);
    EXPECT_EQ(unload_.cell(2, 2)->background, kUnloadingBackground);
    EXPECT_EQ(unload_.cell(0, 1)->text_colour, kUnloadingText);
    EXPECT_EQ(unload_.cell(3, 2)->background, kEmptyCellColour);
}

TEST_F(DetailTableTest, RefillDropsWhatTheRecordNoLongerHas) {
    load_.fill();
    ASSERT_EQ(load_.cell_text(3, 2), "  1.30");
    doc_.record().grades.remove_reading(1, 2);
    doc_.record().grades.remove_grade(2);
    load_.fill();
    EXPECT_EQ(load_.column_count(), 3);
    EXPECT_EQ(load_.cell_text(3, 2), "");
    EXPECT_EQ(load_.cell(3, 2)->background, kEmptyCellColour);
}

TEST_F(DetailTableTest, TestWithoutUnloadingShowsAnEmptyTableThatSaysWhy) {
    build({{0, 1}, {100, 3}}, {});
    unload_.fill();
    // The header alone: no column of times over readings that do not exist.
    EXPECT_EQ(unload_.column_count(), 1);
    EXPECT_EQ(unload_.row_count(), 1);
    EXPECT_EQ(unload_.empty_text(), "本试验没有卸载数据");
    EXPECT_TRUE(unload_.printed_readings().empty());
    EXPECT_FALSE(unload_.can_edit(2, 1));
    EXPECT_FALSE(unload_.can_edit(2, 0));
    load_.fill();
    EXPECT_EQ(load_.row_count(), 101);
    EXPECT_EQ(load_.empty_text(), "");
}

TEST_F(DetailTableTest, CornerCaptionsFollowUnitAndCurrentCell) {
    load_.fill();
    auto captions = load_.header_captions();
    ASSERT_EQ(captions.size(), 5u);
    EXPECT_EQ(captions[0].part, HeaderCaption::Part::kDiagonalUpper);
    EXPECT_EQ(captions[0].text, "荷载\n(kN)");
    EXPECT_EQ(captions[1].part, HeaderCaption::Part::kDiagonalLower);
    EXPECT_EQ(captions[1].text, "时间\n(min)");
    EXPECT_FALSE(captions[0].bold);
    EXPECT_EQ(captions[3].text, "100");

    ASSERT_TRUE(load_.set_current_cell({5, 0}));
    EXPECT_TRUE(load_.header_captions()[0].bold);
    EXPECT_TRUE(load_.header_captions()[1].bold);
    ASSERT_TRUE(load_.set_current_cell({0, 2}));
    EXPECT_TRUE(load_.header_captions()[1].bold);
    ASSERT_TRUE(load_.set_current_cell({5, 2}));
    EXPECT_FALSE(load_.header_captions()[0].bold);

    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    load_.fill();
    EXPECT_EQ(load_.header_captions()[0].text, "荷载\n(kPa)");
    EXPECT_EQ(load_.cell_text(0, 0), "荷载\n(kPa)\n时间\n(min)");
}

TEST_F(DetailTableTest, EditableCellsOfEachTable) {
    load_.fill();
    unload_.fill();
    for (CTestTable* table :
         {static_cast<CTestTable*>(&load_), static_cast<CTestTable*>(&unload_)}) {
        EXPECT_FALSE(table->can_edit(0, 0));
        EXPECT_FALSE(table->can_edit(1, 0));
        EXPECT_TRUE(table->can_edit(2, 0));
        EXPECT_TRUE(table->can_edit(12, 0));
        EXPECT_FALSE(table->can_edit(13, 0));
        EXPECT_FALSE(table->can_edit(101, 2));
        EXPECT_FALSE(table->can_edit(2, table->shown_grades() + 1));  // no such grade column
        EXPECT_FALSE(table->can_edit(1, 2));
        EXPECT_TRUE(table->can_edit(0, 2));
        EXPECT_TRUE(table->can_edit(2, 2));
        EXPECT_TRUE(table->can_edit(100, 2));  // below the readings: appends
    }
    // The first grade column: the load table allows row 1 only.
    EXPECT_TRUE(load_.can_edit(1, 1));
    EXPECT_FALSE(load_.can_edit(0, 1));
    EXPECT_FALSE(load_.can_edit(2, 1));
    EXPECT_FALSE(unload_.can_edit(1, 1));
    EXPECT_TRUE(unload_.can_edit(0, 1));
    EXPECT_TRUE(unload_.can_edit(2, 1));

    // Only a digit, "-", "." or a double-click starts an edit.
    EXPECT_TRUE(load_.begin_edit(2, 2, U'7'));
    EXPECT_TRUE(load_.begin_edit(2, 2, U'-'));
    EXPECT_TRUE(load_.begin_edit(2, 2, U'.'));
    EXPECT_TRUE(load_.begin_edit(2, 2, std::nullopt));
    EXPECT_FALSE(load_.begin_edit(2, 2, U'a'));
    EXPECT_FALSE(load_.begin_edit(2, 2, U' '));
    EXPECT_FALSE(load_.begin_edit(1, 2, U'7'));

    // Without an averaged channel nothing may be edited.
    doc_.record().test_params.averaged.fill(0);
    EXPECT_FALSE(load_.can_edit(2, 2));
    EXPECT_FALSE(load_.can_edit(2, 0));
    EXPECT_FALSE(load_.end_edit(2, 2, "1.5"));
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(DetailTableTest, ChangeRangesNameTheCellsOfAReadingOrGrade) {
    EXPECT_EQ(load_.change_range(1, 2), (CellRange{3, 2, 3, 2}));
    EXPECT_EQ(load_.change_range(1, kWholeGrade), (CellRange{1, 2, 3, 2}));
    EXPECT_EQ(load_.change_range(3, 0), std::nullopt);  // an unloading grade
    EXPECT_EQ(load_.change_range(-1, 0), std::nullopt);
    EXPECT_EQ(load_.change_range(1, 100), std::nullopt);  // below the grid
    EXPECT_EQ(load_.change_range(1, -1), std::nullopt);
    EXPECT_EQ(unload_.change_range(1, 1), std::nullopt);  // loading grades are ignored
    EXPECT_EQ(unload_.change_range(3, 1), (CellRange{2, 1, 2, 1}));
    EXPECT_EQ(unload_.change_range(4, kWholeGrade), (CellRange{1, 2, 2, 2}));
    EXPECT_EQ(unload_.change_range(5, 0), std::nullopt);

    // A grade longer than the grid: the whole-grade range stops at row 100.
    const SamplePoint copy = reading(1, 1);
    doc_.record().grades.grade(1)->insert(1, copy, 400);
    EXPECT_EQ(load_.change_range(1, kWholeGrade), (CellRange{1, 2, 100, 2}));
    EXPECT_EQ(load_.change_range(1, 99), (CellRange{100, 2, 100, 2}));
}

}  // namespace
}  // namespace kvd::testing
