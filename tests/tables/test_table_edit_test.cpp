// In-place edits of the detail tables: typed loads, readings, readings
// appended below the last one, moved planned times, and the edits that are
// refused (with their messages) or that would reach past the readings.

#include <gtest/gtest.h>

#include "detail_table_fixture.h"

namespace kvd::testing {
namespace {

class DetailEditTest : public DetailTableTest {
protected:
    DetailEditTest() {
        load_.fill();
        unload_.fill();
        clear_logs();
    }
    void expect_refused(const char* message) {
        expect_message(message, "错误", MessageButtons::kOk, MessageIcon::kError);
        EXPECT_FALSE(doc_.is_modified());
        EXPECT_TRUE(log_.hints.empty());
        clear_logs();
    }
};

TEST_F(DetailEditTest, TypedReadingMovesTheAveragedChannels) {
    // Channel 4 is averaged but unused: it moves with the others, and the
    // settlement still counts only the test-pile channels.
    doc_.record().test_params.averaged[3] = 1;
    ASSERT_TRUE(load_.end_edit(2, 2, "1.5"));  // grade 1, reading 1: 1.20 -> 1.50
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.5);
    EXPECT_NEAR(reading(1, 1).channel[0], 1.4, 1e-12);
    EXPECT_NEAR(reading(1, 1).channel[1], 1.6, 1e-12);
    EXPECT_NEAR(reading(1, 1).channel[3], 0.3, 1e-12);
    EXPECT_EQ(reading(1, 1).channel[2], 6.0);  // not averaged: untouched
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(log_.hints, std::vector<int>{change_notice(1, 1)});
    load_.fill();
    EXPECT_EQ(load_.cell_text(2, 2), "  1.50");

    // The last reading of a grade carries over into the next grade's row 1.
    ASSERT_TRUE(load_.end_edit(3, 2, "-0.004"));  // rounds to -0.00 -> 0
    EXPECT_DOUBLE_EQ(reading(1, 2).settlement, 0.0);
    EXPECT_DOUBLE_EQ(reading(2, 0).settlement, 0.0);

    // The test's first reading is edited in the load table's first column.
    ASSERT_TRUE(load_.end_edit(1, 1, "2.346"));
    EXPECT_DOUBLE_EQ(reading(0, 0).settlement, 2.35);
    EXPECT_DOUBLE_EQ(reading(1, 0).settlement, 2.35);
}

TEST_F(DetailEditTest, TextThatIsNotOneNumberIsRefusedAndTheOldValueKept) {
    const CTestData before = doc_.record().grades;
    const IntervalTable intervals = doc_.record().test_params.load_intervals;
    // Row 0 is the load, rows 1 ... n the readings, the row below them an
    // appended reading, column 0 the planned times.
    const std::pair<int, int> cells[] = {{0, 2}, {2, 2}, {4, 2}, {2, 0}};
    for (const char* typed :
         {"2.5..-", "2.5xyz", "abc", "3-4", "1.2.3", "--1", "1e", "", " ", "inf", "2,5"}) {
        for (const auto& [row, column] : cells) {
            SCOPED_TRACE(std::string(typed) + " at " + std::to_string(row) + "," +
                         std::to_string(column));
            EXPECT_FALSE(load_.end_edit(row, column, typed));
            expect_refused("请输入一个数字。");
        }
    }
    const CTestData& after = doc_.record().grades;
    ASSERT_EQ(after.total_readings(), before.total_readings());
    for (int g = 0; g < before.grade_count(); ++g) {
        for (int i = 0; i < before.reading_count(g); ++i) {
            EXPECT_EQ(after.get_reading(g, i)->load, before.get_reading(g, i)->load);
            EXPECT_EQ(after.get_reading(g, i)->channel[0], before.get_reading(g, i)->channel[0]);
        }
    }
    EXPECT_EQ(doc_.record().test_params.load_intervals, intervals);

    // Blanks around one number are no fault.
    ASSERT_TRUE(load_.end_edit(2, 2, " 1.5 "));
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.5);
}

TEST_F(DetailEditTest, TypedReadingIsStoredExactlyWhateverTheUnroundedAverage) {
    // Averages that sit right on a rounding half: the typed value, not one
    // a hundredth off, is what the table then shows.
    for (const double offset : {0.005, -0.005, 0.0049999, 0.0050001}) {
        SamplePoint& point = doc_.record().grades.grade(1)->points()[1];
        point.channel[0] = 1.0 + offset;
        point.channel[1] = 1.0 + offset;
        doc_.refresh_derived();
        for (const char* typed : {"5.5", "0.01", "-2.35"}) {
            ASSERT_TRUE(load_.end_edit(2, 2, typed));
            EXPECT_DOUBLE_EQ(reading(1, 1).settlement, std::stod(typed)) << offset << " " << typed;
        }
    }
}

TEST_F(DetailEditTest, UnchangedTextChangesNothing) {
    // What a cell shows, typed back (Escape restores the text and still ends
    // the edit), leaves the record and the modified flag alone.
    ASSERT_TRUE(load_.end_edit(2, 2, load_.cell_text(2, 2)));
    ASSERT_TRUE(load_.end_edit(0, 2, load_.cell_text(0, 2)));
    ASSERT_TRUE(load_.end_edit(5, 0, load_.cell_text(5, 0)));
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_TRUE(log_.hints.empty());
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(DetailEditTest, TypedLoadSetsEveryReadingOfTheGrade) {
    ASSERT_TRUE(load_.end_edit(0, 3, "250.5"));
    for (int i = 0; i < readings(2); ++i) EXPECT_EQ(reading(2, i).load, 251);
    EXPECT_EQ(reading(1, 0).load, 100);
    // The notice names the whole grade edited, not a reading of another one.
    EXPECT_EQ(log_.hints, std::vector<int>{change_notice(2, kWholeGrade)});
    ASSERT_TRUE(unload_.end_edit(0, 2, "-2.7"));
    EXPECT_EQ(reading(4, 1).load, -2);  // integer part of v + 0.5
}

TEST_F(DetailEditTest, TypingBelowTheLastReadingAppendsReadingsAtThePlannedTimes) {
    ASSERT_EQ(readings(1), 3);
    ASSERT_TRUE(load_.end_edit(6, 2, "1.5"));
    ASSERT_EQ(readings(1), 6);
    const int minutes[] = {0, 5, 15, 30, 45, 60};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(reading(1, i).minutes, minutes[i]) << i;
    for (int i = 3; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(reading(1, i).settlement, 1.5) << i;
        EXPECT_NEAR(reading(1, i).channel[0], 1.4, 1e-12);
        EXPECT_EQ(reading(1, i).channel[2], 0.0);  // channels not averaged are cleared
        EXPECT_EQ(reading(1, i).load, 100);
        EXPECT_EQ(reading(1, i).grade, 1);
    }
    EXPECT_DOUBLE_EQ(reading(2, 0).settlement, 1.5);  // the next grade starts there
    EXPECT_EQ(log_.hints, std::vector<int>{change_notice(1, 5)});
    load_.fill();
    EXPECT_EQ(load_.cell_text(6, 2), "  1.50");
    EXPECT_EQ(load_.cell(6, 2)->background, kLoadingBackground);
    clear_logs();
    doc_.set_modified(false);

    // Typing 0 below the readings appends nothing; nothing typed is no number.
    EXPECT_TRUE(load_.end_edit(9, 2, "0"));
    EXPECT_FALSE(load_.end_edit(9, 2, ""));
    expect_refused("请输入一个数字。");
    EXPECT_EQ(readings(1), 6);
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_TRUE(log_.hints.empty());

    // Unloading readings take the unloading intervals 0, 15, 15, 30.
    ASSERT_TRUE(unload_.end_edit(4, 1, "3"));
    ASSERT_EQ(readings(3), 4);
    EXPECT_EQ(reading(3, 2).minutes, 30);
    EXPECT_EQ(reading(3, 3).minutes, 60);
}

TEST_F(DetailEditTest, PlannedTimeMovesBetweenItsNeighbours) {
    // Row 5 is at 45 min, between 30 (row 4) and 60 (row 6).
    ASSERT_TRUE(load_.end_edit(5, 0, "40"));
    EXPECT_EQ(params().load_intervals[4], 10);
    EXPECT_EQ(params().load_intervals[5], 20);
    EXPECT_EQ(doc_.record().header.load_intervals[4], 10);  // saved with the file
    EXPECT_EQ(doc_.record().header.load_intervals[5], 20);
    EXPECT_EQ(log_.hints, std::vector<int>{hint::kRefresh});
    EXPECT_TRUE(doc_.is_modified());
    load_.fill();
    EXPECT_EQ(load_.cell_text(5, 0), "40");
    EXPECT_EQ(load_.cell_text(6, 0), "60");
    doc_.set_modified(false);
    clear_logs();

    // Exactly the time of a neighbour is refused.
    const IntervalTable before = params().load_intervals;
    EXPECT_FALSE(load_.end_edit(5, 0, "30"));
    expect_refused(kTimeBetweenNeighbours);
    EXPECT_FALSE(load_.end_edit(5, 0, "60"));
    expect_refused(kTimeBetweenNeighbours);
    EXPECT_EQ(params().load_intervals, before);
    EXPECT_EQ(std::string(kTimeBetweenNeighbours),
              "输入的数必须在上一个时刻和下一个时刻之间才有效!\n"
              "如果一定要改为此数，您可以从后面的时间向前改动!");

    // The unload table moves the unloading intervals.
    ASSERT_TRUE(unload_.end_edit(3, 0, "20"));
    EXPECT_EQ(params().unload_intervals[2], 5);
    EXPECT_EQ(params().unload_intervals[3], 40);
    EXPECT_EQ(params().load_intervals, before);
}

TEST_F(DetailEditTest, TwelfthTimeMovesEveryLaterTime) {
    ASSERT_EQ(load_.cell_text(11, 0), "210");
    ASSERT_EQ(load_.cell_text(12, 0), "240");
    EXPECT_FALSE(load_.end_edit(12, 0, "210"));
    expect_refused(kTimeAfterPrevious);
    EXPECT_FALSE(load_.end_edit(12, 0, "200"));
    expect_refused(kTimeAfterPrevious);
    EXPECT_EQ(std::string(kTimeAfterPrevious), "输入的数必须大于上一个时刻才有效!");

    ASSERT_TRUE(load_.end_edit(12, 0, "250"));
    EXPECT_EQ(params().load_intervals[11], 40);
    load_.fill();
    EXPECT_EQ(load_.cell_text(12, 0), "250");
    EXPECT_EQ(load_.cell_text(13, 0), "290");

    // An interval the file cannot keep is refused.
    doc_.set_modified(false);
    clear_logs();
    EXPECT_FALSE(load_.end_edit(12, 0, "100000"));
    expect_refused(kIntervalTooLong);
    EXPECT_EQ(params().load_intervals[11], 40);
}

TEST_F(DetailEditTest, ValuesOutOfRangeAreRefused) {
    for (const char* text : {"1e300", "1e400", "-2000000000"}) {
        EXPECT_FALSE(load_.end_edit(2, 2, text)) << text;
        expect_refused(kValueOutOfRange);
        EXPECT_FALSE(load_.end_edit(0, 2, text)) << text;
        expect_refused(kValueOutOfRange);
        EXPECT_FALSE(load_.end_edit(7, 0, text)) << text;
        expect_refused(kValueOutOfRange);
    }
    EXPECT_DOUBLE_EQ(reading(1, 1).settlement, 1.2);
    EXPECT_EQ(reading(1, 1).load, 100);
}

TEST_F(DetailEditTest, EditsStayInsideTheGridAndTheReadings) {
    // Cells outside the grid or the shown grades are not edited.
    EXPECT_FALSE(load_.end_edit(101, 2, "1"));
    EXPECT_FALSE(load_.end_edit(-1, 2, "1"));
    EXPECT_FALSE(load_.end_edit(2, 4, "1"));
    EXPECT_FALSE(load_.end_edit(2, -1, "1"));
    EXPECT_FALSE(unload_.end_edit(2, 3, "1"));
    EXPECT_FALSE(load_.end_edit(13, 0, "400"));
    EXPECT_FALSE(doc_.is_modified());

    // A grade of 400 readings: row 100 is reading 99, and nothing beyond it
    // is read or written.
    const SamplePoint last = reading(1, 2);
    doc_.record().grades.grade(1)->insert(1, last, 397);
    ASSERT_EQ(readings(1), 400);
    doc_.refresh_derived();
    const SamplePoint after = reading(1, 100);
    ASSERT_TRUE(load_.end_edit(100, 2, "7.5"));
    EXPECT_EQ(readings(1), 400);
    EXPECT_DOUBLE_EQ(reading(1, 99).settlement, 7.5);
    EXPECT_DOUBLE_EQ(reading(1, 100).settlement, after.settlement);
    EXPECT_DOUBLE_EQ(reading(1, 98).settlement, after.settlement);

    // An empty grade has no reading to build new ones from.
    doc_.record().grades.append_grade();
    unload_.fill();
    EXPECT_FALSE(unload_.end_edit(3, 3, "1"));
}

}  // namespace
}  // namespace kvd::testing
