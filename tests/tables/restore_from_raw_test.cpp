// Restore from raw data brings back what the tester sent: after a round of
// edits and a restore, every reading, every table cell and every parameter
// the tables and curves read equals what a fresh open of the same file shows.

#include <gtest/gtest.h>

#include <string>

#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "record/grade_compute.h"
#include "tables/table_edit_commands.h"
#include "tables/table_factory.h"

namespace kvd {
namespace {

std::string sample(const char* name) {
    return std::string(KVD_SOURCE_DIR) + "/samples/" + name;
}

void expect_same_readings(const TestRecord& restored, const TestRecord& opened) {
    const CTestData& a = restored.grades;
    const CTestData& b = opened.grades;
    ASSERT_EQ(a.grade_count(), b.grade_count());
    for (int g = 0; g < b.grade_count(); ++g) {
        ASSERT_EQ(a.reading_count(g), b.reading_count(g)) << "grade " << g;
        for (int i = 0; i < b.reading_count(g); ++i) {
            SCOPED_TRACE("grade " + std::to_string(g) + " reading " + std::to_string(i));
            const SamplePoint p = *a.get_reading(g, i);
            const SamplePoint q = *b.get_reading(g, i);
            EXPECT_EQ(p.grade, q.grade);
            EXPECT_EQ(p.loading, q.loading);
            EXPECT_EQ(p.load, q.load);
            EXPECT_EQ(p.minutes, q.minutes);
            EXPECT_EQ(p.settlement, q.settlement);
            for (int j = 0; j < kChannelCount; ++j) EXPECT_EQ(p.channel[j], q.channel[j]) << j;
        }
    }
    const TestParams& p = restored.test_params;
    const TestParams& q = opened.test_params;
    EXPECT_EQ(p.load_intervals, q.load_intervals);
    EXPECT_EQ(p.unload_intervals, q.unload_intervals);
    EXPECT_EQ(p.channel_role, q.channel_role);
    EXPECT_EQ(p.averaged, q.averaged);
    EXPECT_EQ(p.test_time, q.test_time);
    EXPECT_EQ(p.test_object, q.test_object);
    EXPECT_EQ(p.pressure_unit, q.pressure_unit);
    EXPECT_EQ(p.direction_kind, q.direction_kind);
    EXPECT_EQ(p.x_axis_max, q.x_axis_max);
    const TestTotals x = compute_totals(a);
    const TestTotals y = compute_totals(b);
    EXPECT_EQ(x.max_settlement, y.max_settlement);
    EXPECT_EQ(x.rebound, y.rebound);
    EXPECT_EQ(x.rebound_ratio, y.rebound_ratio);
}

void expect_same_tables(CLbxDoc& restored, CLbxDoc& opened) {
    FixedFontMetrics metrics;
    for (const TableName& name : table_names()) {
        SCOPED_TRACE(name.key);
        auto a = make_table(name.kind, restored, metrics);
        auto b = make_table(name.kind, opened, metrics);
        a->fill();
        b->fill();
        ASSERT_EQ(a->row_count(), b->row_count());
        ASSERT_EQ(a->column_count(), b->column_count());
        for (int row = 0; row < b->row_count(); ++row) {
            for (int column = 0; column < b->column_count(); ++column) {
                ASSERT_EQ(a->cell_text(row, column), b->cell_text(row, column))
                    << "row " << row << " column " << column;
            }
        }
    }
}

// A round of the edits a user makes: intervals, the channel setup, a grade
// inserted, a reading deleted, a value added to the readings, the unit.
void edit_everything(CLbxDoc& doc, ScriptedUserInterface& ui) {
    IntervalTable load = doc.record().test_params.load_intervals;
    IntervalTable unload = doc.record().test_params.unload_intervals;
    load[1] += 10;
    unload[1] += 20;
    ui.queue_intervals(load, unload);
    ASSERT_TRUE(table_edit::change_sampling_intervals(doc));

    ChannelSetup setup = doc.channel_setup();
    for (auto& role : setup.roles) {
        if (role == ChannelRole::kUnused) {
            role = ChannelRole::kTestPile;
            break;
        }
    }
    setup.roles[0] = ChannelRole::kAnchorPile;
    doc.apply_channel_setup(setup);

    ASSERT_TRUE(table_edit::insert_grade_after(doc, 1));
    ui.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(table_edit::delete_reading(doc, 2, 1));
    ui.queue_number(1.5);
    ASSERT_TRUE(table_edit::add_fixed_value(doc, 3, 0));
    doc.record().test_params.plate_area = 2;
    doc.convert_load_unit(!doc.record().test_params.in_kpa());
}

TEST(RestoreFromRawData, EqualsAFreshOpenOfTheFile) {
    for (const char* file : {"demo.PTX", "plate.PTX", "uplift.PTX", "unfinished.PTX"}) {
        SCOPED_TRACE(file);
        ScriptedUserInterface opened_ui;
        opened_ui.set_default_answer(MessageAnswer::kYes);  // the unfinished test
        CLbxDoc opened(opened_ui);
        ASSERT_TRUE(opened.open(sample(file)));

        ScriptedUserInterface ui;
        ui.set_default_answer(MessageAnswer::kYes);
        CLbxDoc restored(ui);
        ASSERT_TRUE(restored.open(sample(file)));
        ASSERT_TRUE(restored.can_restore_from_raw_data());
        edit_everything(restored, ui);
        ui.queue_answer(MessageAnswer::kOk);
        ASSERT_TRUE(restored.restore_from_raw_data());

        expect_same_readings(restored.record(), opened.record());
        expect_same_tables(restored, opened);
    }
}

// The grade that follows the top of the loading part keeps every reading
// the tester took: the summary shows its whole holding time.
TEST(RestoreFromRawData, KeepsTheFirstUnloadingReading) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(sample("demo.PTX")));
    const CTestData& grades = doc.record().grades;
    const int first_unloading = grades.loading_grade_count();
    ASSERT_LT(first_unloading, grades.grade_count());
    const int readings = grades.reading_count(first_unloading);
    const int holding = grades.grade(first_unloading)->back().minutes;

    ui.queue_answer(MessageAnswer::kOk);
    ASSERT_TRUE(doc.restore_from_raw_data());
    EXPECT_EQ(grades.reading_count(first_unloading), readings);
    EXPECT_EQ(grades.grade(first_unloading)->back().minutes, holding);
}

// What the restore brought back is what a save keeps.
TEST(RestoreFromRawData, SurvivesSaveAndReopen) {
    ScriptedUserInterface ui;
    ui.set_default_answer(MessageAnswer::kYes);
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(sample("demo.PTX")));
    edit_everything(doc, ui);
    ui.queue_answer(MessageAnswer::kOk);
    ASSERT_TRUE(doc.restore_from_raw_data());
    const std::string saved = ::testing::TempDir() + "/restored.KVD";
    ASSERT_TRUE(doc.save(saved));

    ScriptedUserInterface reopened_ui;
    CLbxDoc reopened(reopened_ui);
    ASSERT_TRUE(reopened.open(saved));
    ScriptedUserInterface opened_ui;
    CLbxDoc opened(opened_ui);
    ASSERT_TRUE(opened.open(sample("demo.PTX")));
    expect_same_readings(reopened.record(), opened.record());
}

}  // namespace
}  // namespace kvd
