// The document's commands: the new-document template, restore from raw data,
// add unloading data, load unit conversion, snapshots and marks.

#include "doc_test_support.h"
#include "record/grade_compute.h"
#include "record/test_file_reader.h"

namespace kvd::testing {
namespace {

TEST_F(DocTest, NewDocumentTemplateSurvivesSaveAndReopen) {
    const CTestData& grades = doc_.record().grades;
    ASSERT_EQ(grades.grade_count(), 16);
    EXPECT_EQ(grades.loading_grade_count(), 11);
    const int loads[] = {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 800, 600, 400, 200, 0};
    for (int g = 0; g < 16; ++g) {
        EXPECT_EQ(grades.first_load(g), loads[g]) << g;
        EXPECT_EQ(grades.reading_count(g), g == 0 ? 1 : 2) << g;
    }
    EXPECT_EQ(grades.get_reading(1, 1)->minutes, 5);
    EXPECT_EQ(grades.get_reading(12, 1)->minutes, 15);
    EXPECT_EQ(doc_.record().save_kind, FileKind::kAnalysis);
    EXPECT_EQ(doc_.display_name(), kDefaultDocumentName);

    // A reading typed into the template keeps its settlement after a save and
    // reopen: the header carries the channel setup the tables used.
    SamplePoint point = *grades.get_reading(3, 1);
    point.channel[0] = 2.5;
    doc_.record().grades.put_reading(3, 1, point);
    doc_.refresh_derived();
    ASSERT_DOUBLE_EQ(doc_.record().grades.get_reading(3, 1)->settlement, 2.5);
    ASSERT_TRUE(doc_.save(path("new.KVD")));
    ASSERT_TRUE(doc_.open(path("new.KVD")));
    doc_.refresh_derived();
    EXPECT_EQ(doc_.record().grades.grade_count(), 16);
    EXPECT_DOUBLE_EQ(doc_.record().grades.get_reading(3, 1)->settlement, 2.5);
    EXPECT_EQ(doc_.record().grades.get_reading(1, 1)->minutes, 5);
}

TEST_F(DocTest, RestoreFromRawDataWarnsThenRebuilds) {
    EXPECT_FALSE(doc_.can_restore_from_raw_data());
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    ASSERT_TRUE(doc_.can_restore_from_raw_data());
    doc_.record().grades.remove_grade(0);
    ASSERT_TRUE(doc_.add_mark({100, 1.0}));
    ui_.clear_log();

    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(doc_.restore_from_raw_data());
    EXPECT_EQ(ui_.beeps(), 1);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kRestoreWarning);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kOkCancel);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(doc_.record().grades.grade_count(), 2);
    EXPECT_EQ(doc_.marks().size(), 1u);

    doc_.set_modified(false);
    view_.hints.clear();
    EXPECT_TRUE(doc_.restore_from_raw_data());
    // Every raw reading is back: grades 0 and 1 with three readings each, then
    // the unloading grade with raws 6 and 7.
    const CTestData& grades = doc_.record().grades;
    ASSERT_EQ(grades.grade_count(), 3);
    EXPECT_EQ(grades.reading_count(2), 2);
    EXPECT_EQ(grades.get_reading(2, 1)->grade, 2);
    EXPECT_TRUE(doc_.marks().empty());
    EXPECT_TRUE(doc_.is_modified());
    // The project texts survive; the channel setup is the file's, and the
    // pages are told to show it as after opening.
    EXPECT_EQ(doc_.record().test_params.site_name, "测试");
    EXPECT_EQ(doc_.record().test_params.averaged[2], 1);
    EXPECT_EQ(doc_.record().test_params.channel_role[2], ChannelRole::kAnchorPile);
    EXPECT_EQ(view_.hints, std::vector<int>{hint::kFileLoaded});

    // Saved at once, with no window in between: the file holds the averages
    // of the restored readings, not zeros.
    const SamplePoint restored = *grades.get_reading(1, 2);
    ASSERT_NE(restored.settlement, 0.0);
    EXPECT_DOUBLE_EQ(restored.settlement,
                     average_settlement(restored.channel, doc_.record().test_params));
    ASSERT_TRUE(doc_.save(path("t.KVD")));
    TestRecord reread;
    ReadReport report;
    ASSERT_TRUE(read_record(read("t.KVD"), reread, report).ok());
    EXPECT_DOUBLE_EQ(reread.grades.get_reading(1, 2)->settlement, restored.settlement);
}

TEST_F(DocTest, AddUnloadingDataOnlyWhileThereIsNone) {
    EXPECT_FALSE(doc_.can_add_unloading_data());  // the template has unloading grades
    EXPECT_FALSE(doc_.add_unloading_data());
    EXPECT_EQ(doc_.record().grades.grade_count(), 16);

    for (int g = 15; g >= 11; --g) doc_.record().grades.remove_grade(g);
    doc_.set_modified(false);
    ASSERT_TRUE(doc_.can_add_unloading_data());
    view_.hints.clear();
    ASSERT_TRUE(doc_.add_unloading_data());
    EXPECT_EQ(doc_.record().grades.grade_count(), 16);
    EXPECT_EQ(doc_.record().grades.first_load(11), 800);
    EXPECT_EQ(doc_.record().grades.first_load(15), 0);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_FALSE(view_.hints.empty());
}

TEST_F(DocTest, LoadUnitConversionTakesTheMarksAlong) {
    doc_.record().test_params.plate_area = 0.5;
    doc_.record().test_params.x_axis_max = 1000;
    ASSERT_TRUE(doc_.add_mark({100, 2.0}));
    ASSERT_TRUE(doc_.convert_load_unit(true));
    EXPECT_EQ(doc_.record().grades.first_load(1), 200);
    EXPECT_EQ(doc_.record().test_params.x_axis_max, 2000);
    EXPECT_EQ(doc_.record().header.x_axis_max, 2000);
    EXPECT_DOUBLE_EQ(doc_.marks()[0].load, 200);
    ASSERT_TRUE(doc_.convert_load_unit(false));
    EXPECT_EQ(doc_.record().grades.first_load(1), 100);
    EXPECT_DOUBLE_EQ(doc_.marks()[0].load, 100);

    doc_.record().test_params.plate_area = 0;
    doc_.set_modified(false);
    EXPECT_FALSE(doc_.convert_load_unit(true));
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(DocTest, SnapshotsAndMarksHaveTheirLimits) {
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    view_.hints.clear();
    ASSERT_TRUE(doc_.apply_snapshot(5));
    EXPECT_EQ(doc_.record().header.stability_count, 5);
    EXPECT_EQ(view_.hints, std::vector<int>{hint::kFileLoaded});
    EXPECT_FALSE(doc_.apply_snapshot(8));
    EXPECT_FALSE(doc_.apply_snapshot(-1));

    for (int i = 0; i < kMaxCurveMarks; ++i) ASSERT_TRUE(doc_.add_mark({1.0 * i, 0}));
    EXPECT_FALSE(doc_.add_mark({0, 0}));
    EXPECT_EQ(static_cast<int>(doc_.marks().size()), kMaxCurveMarks);
    doc_.close();
    EXPECT_TRUE(doc_.marks().empty());
    EXPECT_EQ(doc_.record().raw_count(), 0);
    EXPECT_EQ(doc_.record().grades.grade_count(), 0);
}

TEST_F(DocTest, ViewsCanLeaveWhileBeingTold) {
    struct Leaving : DocView {
        CLbxDoc* doc = nullptr;
        int calls = 0;
        void on_update(int) override {
            ++calls;
            doc->remove_view(this);
        }
    } leaving;
    leaving.doc = &doc_;
    doc_.add_view(&leaving);
    doc_.update_all_views(hint::kRefresh);
    doc_.update_all_views(hint::kRefresh);
    EXPECT_EQ(leaving.calls, 1);
}

}  // namespace
}  // namespace kvd::testing
