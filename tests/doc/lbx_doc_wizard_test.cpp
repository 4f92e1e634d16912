// The document's ends of two dialogs: a new test from the new-file wizard's
// input, and the channel roles and anchor pile numbers of the channel setup.

#include "base/numeric.h"
#include "doc_test_support.h"

namespace kvd::testing {
namespace {

std::vector<int> grade_loads(const CTestData& grades) {
    std::vector<int> loads;
    for (int g = 0; g < grades.grade_count(); ++g) loads.push_back(grades.first_load(g));
    return loads;
}

class DocWizardTest : public DocTest {
protected:
    // The field-tester record of the fixtures, opened from a file.
    void open_test_file() {
        write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
        ASSERT_TRUE(doc_.open(path("t.PTX")));
        view_.hints.clear();
        ui_.clear_log();
    }
};

TEST_F(DocWizardTest, RefusedWizardInputChangesNothing) {
    open_test_file();
    ASSERT_TRUE(doc_.add_mark({100, 1.0}));
    doc_.set_modified(true);
    view_.hints.clear();
    const std::vector<int> loads = grade_loads(doc_.record().grades);

    WizardInput input;
    input.unload_intervals[1] = 0;
    EXPECT_FALSE(doc_.create_from_wizard(input));
    EXPECT_EQ(ui_.beeps(), 1);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kWizardInputError);
    EXPECT_EQ(ui_.shown()[0].caption, kCaptionError);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);

    input = WizardInput{};
    input.grades = 3;
    input.first_multiple = 4;
    EXPECT_FALSE(doc_.create_from_wizard(input));
    EXPECT_EQ(ui_.shown().size(), 2u);

    // Not even the pages were asked to store: the document is as it was.
    EXPECT_TRUE(view_.hints.empty());
    EXPECT_EQ(grade_loads(doc_.record().grades), loads);
    EXPECT_EQ(doc_.path(), path("t.PTX"));
    EXPECT_EQ(doc_.record().raw_count(), 8);
    EXPECT_EQ(doc_.marks().size(), 1u);
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(DocWizardTest, AcceptedWizardInputReplacesTheOpenTest) {
    open_test_file();
    ASSERT_TRUE(doc_.upload_enabled());
    ASSERT_TRUE(doc_.add_mark({100, 1.0}));
    view_.hints.clear();

    WizardInput input;
    input.max_load = 600;
    input.grades = 6;
    input.first_multiple = 2;
    input.load_intervals[1] = 7;
    ASSERT_TRUE(doc_.create_from_wizard(input));

    // The pages store their edits first; the views then load the new test.
    EXPECT_EQ(view_.hints, (std::vector<int>{hint::kStorePages, hint::kFileLoaded}));
    const CTestData& grades = doc_.record().grades;
    EXPECT_EQ(grade_loads(grades), (std::vector<int>{0, 200, 300, 400, 500, 600, 400, 200, 0}));
    EXPECT_EQ(grades.loading_grade_count(), 6);
    EXPECT_EQ(grades.get_reading(1, 1)->minutes, 7);
    EXPECT_EQ(doc_.record().header.max_load, 600);
    EXPECT_EQ(doc_.record().test_params.load_intervals[1], 7);

    // A new hand-made test: no file, no raw readings, no marks, nothing to
    // upload, and modified so that closing it asks to save.
    EXPECT_TRUE(doc_.path().empty());
    EXPECT_EQ(doc_.display_name(), kDefaultDocumentName);
    EXPECT_EQ(doc_.record().raw_count(), 0);
    EXPECT_TRUE(doc_.marks().empty());
    EXPECT_FALSE(doc_.upload_enabled());
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(doc_.record().save_kind, FileKind::kAnalysis);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(DocWizardTest, ChannelSetupShowsTheRolesOfTheTest) {
    open_test_file();
    doc_.record().test_params.anchor_pile_number[2] = "M-3";
    const ChannelSetup setup = doc_.channel_setup();
    EXPECT_EQ(setup.roles[0], ChannelRole::kTestPile);
    EXPECT_EQ(setup.roles[1], ChannelRole::kTestPile);
    EXPECT_EQ(setup.roles[2], ChannelRole::kAnchorPile);
    for (int j = 3; j < kChannelSetupRows; ++j) EXPECT_EQ(setup.roles[j], ChannelRole::kUnused);
    EXPECT_EQ(setup.anchor_pile_numbers[2], "M-3");
    EXPECT_EQ(setup.anchor_pile_numbers[0], "");
}

TEST_F(DocWizardTest, ChannelSetupStoresRolesAndRecomputesTheSettlements) {
    open_test_file();
    doc_.refresh_derived();
    const SamplePoint before = *doc_.record().grades.get_reading(1, 1);
    ASSERT_DOUBLE_EQ(before.settlement, round2((before.channel[0] + before.channel[1]) / 2));
    ASSERT_FALSE(doc_.is_modified());

    ChannelSetup setup = doc_.channel_setup();
    setup.roles[1] = ChannelRole::kUnused;
    setup.roles[3] = ChannelRole::kAnchorPile;
    setup.roles[4] = static_cast<ChannelRole>(7);                    // not a role: unused
    setup.anchor_pile_numbers[3] = "锚桩一二三四五六七八九十ABCDE";  // 17 characters
    doc_.apply_channel_setup(setup);

    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(view_.hints, std::vector<int>{hint::kLoadPages});
    const TestParams& params = doc_.record().test_params;
    const TestHeader& header = doc_.record().header;
    EXPECT_EQ(params.channel_role[1], ChannelRole::kUnused);
    EXPECT_EQ(params.averaged[1], 0);  // an unused channel is no longer averaged
    EXPECT_EQ(params.averaged[0], 1);
    EXPECT_EQ(params.channel_role[3], ChannelRole::kAnchorPile);
    EXPECT_EQ(params.channel_role[4], ChannelRole::kUnused);
    EXPECT_EQ(params.anchor_pile_number[3], "锚桩一二三四五六七八九十ABC");
    EXPECT_EQ(header.in_use[1], 0);
    EXPECT_EQ(header.averaged[1], 0);
    EXPECT_EQ(header.in_use[3], 1);
    EXPECT_EQ(header.test_pile[3], 0);
    EXPECT_EQ(header.in_use[4], 0);
    // Only channel 1 is averaged now.
    const SamplePoint after = *doc_.record().grades.get_reading(1, 1);
    EXPECT_DOUBLE_EQ(after.settlement, round2(after.channel[0]));
    EXPECT_NE(after.settlement, before.settlement);

    // The roles survive a save; the anchor pile numbers live in no file.
    ASSERT_TRUE(doc_.save(path("t.KVD")));
    ASSERT_TRUE(doc_.open(path("t.KVD")));
    const TestParams& reread = doc_.record().test_params;
    EXPECT_EQ(reread.channel_role[1], ChannelRole::kUnused);
    EXPECT_EQ(reread.channel_role[3], ChannelRole::kAnchorPile);
    EXPECT_EQ(reread.averaged[1], 0);
    EXPECT_EQ(reread.anchor_pile_number[3], "");
}

TEST_F(DocWizardTest, ChannelSetupLeavesTheChannelsWithoutARow) {
    open_test_file();
    TestHeader& header = doc_.record().header;
    header.in_use[14] = 1;
    header.test_pile[14] = 1;
    doc_.record().test_params.channel_role[14] = ChannelRole::kTestPile;
    doc_.record().test_params.anchor_pile_number[15] = "M-16";

    doc_.apply_channel_setup(doc_.channel_setup());
    EXPECT_EQ(header.in_use[14], 1);
    EXPECT_EQ(header.test_pile[14], 1);
    EXPECT_EQ(doc_.record().test_params.channel_role[14], ChannelRole::kTestPile);
    EXPECT_EQ(doc_.record().test_params.anchor_pile_number[15], "M-16");
}

}  // namespace
}  // namespace kvd::testing
