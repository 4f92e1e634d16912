// The raw record table: layout and titles, cell texts and colours under both
// states of the extended display, intervals and early readings, averages, the
// merged load column, applying a reading's snapshot, and the printed pages
// (rows per page, page mapping, the test information block, band and body).

#include "tables/source_table.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/text_codec.h"
#include "doc/doc_view.h"
#include "raw_table_fixture.h"

namespace kvd::testing {
namespace {

class HintLog : public DocView {
  public:
    void on_update(int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class SourceTableTest : public RawTableTest {
  protected:
    // Grade 1 (100 kN) of three readings, grade 2 (200 kN) of two.
    void add_two_grades() {
        add(raw(1, 0, 100, local(8, 0)));
        add(raw(1, 1, 100, local(8, 5)));
        add(raw(1, 2, 100, local(8, 15)));
        add(raw(2, 0, 200, local(8, 15)));
        add(raw(2, 1, 200, local(8, 20)));
        rebuild();
    }
    void set_channels(int reading, double ch1, double ch2, double ch4 = 7.0) {
        RawReading& r = doc_.record().raw_readings[static_cast<std::size_t>(reading)];
        r.channel[0] = ch1;
        r.channel[1] = ch2;
        r.channel[3] = ch4;
    }

    CSourceTable table_{doc_, metrics_};
};

TEST_F(SourceTableTest, LayoutAndTitlesFollowTheChannelsInUse) {
    add_two_grades();
    table_.fill();
    // Channels 1, 2 and 4 are in use: 3 + 7 columns.
    ASSERT_EQ(table_.column_count(), 10);
    EXPECT_EQ(table_.row_count(), 6);
    EXPECT_EQ(table_.fixed_row_count(), 1);
    EXPECT_EQ(table_.fixed_column_count(), 0);
    EXPECT_EQ(table_.cell_text(0, 0), "本级\n荷载\n(kN)");
    EXPECT_EQ(table_.cell_text(0, 1), "实测\n荷载\n(kN)");
    EXPECT_EQ(table_.cell_text(0, 2), "实测\n油压\n(MPa)");
    EXPECT_EQ(table_.cell_text(0, 3), "记录\n时间\n时:分");
    EXPECT_EQ(table_.cell_text(0, 4), "实际\n间隔\n(分)");
    EXPECT_EQ(table_.cell_text(0, 5), "位移\n通道\n1(mm)");
    EXPECT_EQ(table_.cell_text(0, 7), "位移\n通道\n4(mm)");
    EXPECT_EQ(table_.cell_text(0, 8), "平均\n沉降\n(mm)");
    EXPECT_EQ(table_.cell_text(0, 9), "\n备注\n");
    EXPECT_EQ(table_.row_height(0), 3 * table_.default_row_height() - 2);
    EXPECT_EQ(table_.column_width(0), table_.chars_width(7));
    EXPECT_EQ(table_.column_width(8), table_.chars_width(8));
    EXPECT_EQ(table_.column_width(9), table_.chars_width(10));

    TestHeader& h = doc_.record().header;
    h.test_object = 1;
    h.pressure_unit = 1;
    h.direction_kind = 2;
    h.in_use[3] = 0;
    rebuild();
    table_.fill();
    ASSERT_EQ(table_.column_count(), 9);
    EXPECT_EQ(table_.cell_text(0, 0), "本级\n荷载\n(kPa)");
    EXPECT_EQ(table_.cell_text(0, 1), "实测\n荷载\n(kPa)");
    EXPECT_EQ(table_.cell_text(0, 7), "平均\n上拔\n(mm)");
}

TEST_F(SourceTableTest, EmptyLogHasTheTitleRowOnly) {
    table_.fill();
    EXPECT_EQ(table_.row_count(), 1);
    PageSetup setup;
    EXPECT_EQ(table_.page_count(setup, PrintContent{}), 0);
}

TEST_F(SourceTableTest, CellTextsFollowTheLoadRoute) {
    add_two_grades();
    set_channels(1, 1.0, 1.255);
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 0), "100");
    EXPECT_EQ(table_.cell_text(2, 1), "102");    // force sensor: loadB
    EXPECT_EQ(table_.cell_text(2, 2), " 2.25");  // and pressureB
    EXPECT_EQ(table_.cell_text(2, 3), "08:05");
    EXPECT_EQ(table_.cell_text(2, 4), "5");
    EXPECT_EQ(table_.cell_text(2, 5), "  1.00");
    EXPECT_EQ(table_.cell_text(2, 6), "  1.25");  // "%6.2f" of 1.255 as printf rounds it
    EXPECT_EQ(table_.cell_text(2, 7), "  7.00");
    // The anchor channel stays out of the average; (1.0 + 1.255) / 2 rounds up.
    EXPECT_EQ(table_.cell_text(2, 8), "  1.13");
    EXPECT_DOUBLE_EQ(table_.reading_average(1), 1.13);

    doc_.record().header.load_sensor_type = 1;  // oil pressure: loadA, pressureA
    rebuild();
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 1), "101");
    EXPECT_EQ(table_.cell_text(2, 2), " 1.50");
}

TEST_F(SourceTableTest, WithoutTestPileChannelsEveryAverageIsZero) {
    add_two_grades();
    for (int r = 0; r < 5; ++r) set_channels(r, 1.0 + r, 2.0 + r);
    TestHeader& h = doc_.record().header;
    h.test_pile[0] = h.test_pile[1] = 0;  // all three channels watch anchors now
    rebuild();
    table_.fill();
    for (int row = 1; row <= 5; ++row) EXPECT_EQ(table_.cell_text(row, 8), "  0.00") << row;
}

TEST_F(SourceTableTest, IntervalsAreWholeMinutesAndEarlyReadingsAreMarked) {
    // The first reading sits at index 3 (planned 15 minutes): never early.
    add(raw(1, 3, 100, local(8, 0)));
    add(raw(1, 4, 100, local(8, 1, 59)));   // 1 min 59 s after: "1", planned 15: early
    add(raw(1, 5, 100, local(8, 16, 59)));  // exactly 15 min: on time
    add(raw(2, 0, 200, local(8, 16, 59)));  // index 0 plans 0 minutes
    RawReading unloading = raw(3, 1, 100, local(8, 30));
    unloading.loading = kUnloading;  // unloading index 1 plans 15 minutes
    add(unloading);
    rebuild();
    set_extended_display(true);
    table_.fill();

    EXPECT_EQ(table_.cell_text(1, 4), "0");
    EXPECT_EQ(table_.cell(1, 4)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell_text(1, 9), "");
    EXPECT_EQ(table_.cell_text(2, 4), "1");
    EXPECT_EQ(table_.cell(2, 4)->text_colour, kEarlyText);
    EXPECT_EQ(table_.cell_text(2, 9), "提前记录");
    EXPECT_EQ(table_.cell_text(3, 4), "15");
    EXPECT_EQ(table_.cell(3, 4)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell_text(4, 4), "0");
    EXPECT_EQ(table_.cell_text(4, 9), "");
    EXPECT_EQ(table_.cell_text(5, 4), "13");  // 13 min 1 s against the unloading plan
    EXPECT_EQ(table_.cell(5, 4)->text_colour, kEarlyText);

    set_extended_display(false);
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 9), " ");
    EXPECT_EQ(table_.cell_text(3, 9), "");
}

TEST_F(SourceTableTest, ClockGoingBackwardsGivesANegativeEarlyInterval) {
    add(raw(1, 0, 100, local(8, 10)));
    add(raw(1, 1, 100, local(8, 7, 30)));
    rebuild();
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 4), "-2");
    EXPECT_EQ(table_.cell(2, 4)->text_colour, kEarlyText);
}

TEST_F(SourceTableTest, DamagedReadingsShowWhatTheyHoldWithoutFault) {
    RawReading first = raw(1, -5, 100, INT64_MIN);  // an index before the table: entry 0
    RawReading second = raw(1, 99, 100, INT64_MAX);  // past the table: entry 11 (30 minutes)
    second.channel[0] = std::numeric_limits<double>::quiet_NaN();
    second.channel[1] = 1e300;
    add(first);
    add(second);
    rebuild();
    table_.fill();
    EXPECT_EQ(table_.cell_text(1, 3), "");  // no local time
    EXPECT_EQ(table_.cell_text(2, 4), std::to_string(std::numeric_limits<int>::max()));
    EXPECT_EQ(table_.cell(2, 4)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell_text(2, 5), "   nan");
    EXPECT_EQ(table_.cell_text(2, 6).size(), 304u);  // "1000...000.00", as printf writes it

    std::swap(doc_.record().raw_readings[0].time, doc_.record().raw_readings[1].time);
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 4), std::to_string(std::numeric_limits<int>::min()));
    EXPECT_EQ(table_.cell(2, 4)->text_colour, kEarlyText);
}

TEST_F(SourceTableTest, RemarksUnderBothStatesOfTheExtendedDisplay) {
    const std::int32_t statuses[] = {kStatusNormal, kStatusModified, kStatusResumed,
                                     kStatusGaugeReset, kStatusCommError};
    for (int i = 0; i < 5; ++i) {
        RawReading r = raw(1, 0, 100, local(8, 0));  // index 0 plans 0: never early
        r.status = statuses[i];
        add(r);
    }
    rebuild();
    set_extended_display(true);
    table_.fill();
    const char* on[] = {"", "修改过", "恢复试验", "调表", "通讯错误"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table_.cell_text(i + 1, 9), on[i]) << i;

    set_extended_display(false);
    table_.fill();
    const char* off[] = {"", "", " ", " ", " "};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table_.cell_text(i + 1, 9), off[i]) << i;
}

TEST_F(SourceTableTest, ColoursAlternateByGradeAndFollowTheExtendedDisplay) {
    add_two_grades();
    doc_.record().raw_readings[1].status = kStatusModified;
    doc_.record().raw_readings[2].status = kStatusModified;
    doc_.record().raw_readings[2].time = local(8, 9);  // 4 minutes after, 10 planned: early
    set_extended_display(false);
    table_.fill();
    // Grade numbers 1 (odd) and 2 (even).
    EXPECT_EQ(table_.cell(1, 0)->background, kOddGradeBackground);
    EXPECT_EQ(table_.cell(1, 9)->background, kOddGradeBackground);
    EXPECT_EQ(table_.cell(4, 3)->background, kEvenGradeBackground);
    EXPECT_EQ(table_.cell(2, 0)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell(2, 3)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell(2, 5)->text_colour, kRawChannelText);
    EXPECT_EQ(table_.cell(2, 7)->text_colour, kRawChannelText);
    EXPECT_EQ(table_.cell(2, 8)->text_colour, kLoadingText);

    set_extended_display(true);
    table_.fill();
    EXPECT_EQ(table_.cell(2, 0)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell(2, 3)->text_colour, kBlack);
    EXPECT_EQ(table_.cell(2, 5)->text_colour, kBlack);
    EXPECT_EQ(table_.cell(2, 9)->text_colour, kBlack);
    EXPECT_EQ(table_.cell(3, 4)->text_colour, kEarlyText);  // early wins over the modified look
    EXPECT_EQ(table_.cell(4, 5)->text_colour, kRawChannelText);
}

TEST_F(SourceTableTest, ColumnZeroMergesConsecutiveReadingsOfOneGrade) {
    add_two_grades();
    add(raw(3, 0, 300, local(8, 30)));
    rebuild();
    table_.fill();
    EXPECT_EQ(table_.merged_rows(0), (std::vector<RowSpan>{{1, 3}, {4, 5}}));
    EXPECT_TRUE(table_.merged_rows(1).empty());
    EXPECT_EQ(table_.merged_span(2, 0), (RowSpan{1, 3}));
    EXPECT_EQ(table_.merged_span(5, 0), (RowSpan{4, 5}));
    EXPECT_EQ(table_.merged_span(6, 0), (RowSpan{6, 6}));
    EXPECT_EQ(table_.merged_span(2, 1), (RowSpan{2, 2}));
    EXPECT_EQ(table_.merged_span(0, 0), (RowSpan{0, 0}));
    EXPECT_EQ(table_.merged_span(99, 0), (RowSpan{99, 99}));
    // Every row keeps its own load text for exports and dumps.
    EXPECT_EQ(table_.cell_text(3, 0), "100");
}

TEST_F(SourceTableTest, ThisGradeSettlementIsMeasuredFromThePreviousGradesLastReading) {
    // A log that begins at grade 2 has no earlier reading: base 0.
    add(raw(2, 0, 100, local(8, 0)));
    add(raw(2, 1, 100, local(8, 5)));
    add(raw(3, 0, 200, local(8, 15)));
    add(raw(3, 1, 200, local(8, 20)));
    add(raw(1, 0, 0, local(8, 30)));  // grade number 1 is measured from 0 again
    rebuild();
    const double averages[] = {0.5, 1.25, 1.25, 2.0, 0.3};
    for (int r = 0; r < 5; ++r) set_channels(r, averages[r], averages[r]);
    table_.fill();
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(0), 0.5);
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(1), 1.25);
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(2), 0.0);
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(3), 0.75);
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(4), 0.3);
    EXPECT_DOUBLE_EQ(table_.this_grade_settlement(5), 0.0);
}

TEST_F(SourceTableTest, PressingARowAppliesItsSnapshotOnlyForFilesThatKeepThem) {
    add_two_grades();
    HintLog log;
    doc_.add_view(&log);
    table_.fill();

    EXPECT_TRUE(table_.can_apply_snapshot());
    EXPECT_TRUE(table_.press_row(3));  // reading 2
    EXPECT_EQ(doc_.record().header.stability_count, 12);
    EXPECT_EQ(log.hints, std::vector<int>{hint::kFileLoaded});
    EXPECT_FALSE(table_.press_row(0));  // the title row
    EXPECT_FALSE(table_.press_row(6));
    EXPECT_EQ(log.hints.size(), 1u);

    doc_.record().opened_kind = FileKind::kAnalysisWithRaw;
    EXPECT_TRUE(table_.press_row(1));
    EXPECT_EQ(doc_.record().header.stability_count, 10);

    doc_.record().opened_kind = FileKind::kAnalysis;
    EXPECT_FALSE(table_.can_apply_snapshot());
    EXPECT_FALSE(table_.press_row(2));
    EXPECT_EQ(doc_.record().header.stability_count, 10);
    EXPECT_EQ(log.hints.size(), 2u);
    doc_.remove_view(&log);
}

}  // namespace
}  // namespace kvd::testing
