// Undo and redo in the document: each step brings the record back byte for
// byte as it would be saved, holds only what its command changed, and the
// modified flag follows the position of the saved file in the history.

#include <gtest/gtest.h>

#include <cstring>

#include "doc/doc_test_support.h"
#include "doc/saved_image.h"
#include "doc/undo_history.h"

namespace kvd::testing {
namespace {

class UndoTest : public DocTest {
protected:
    // A test of `grades` loading grades of `readings` readings each, as the
    // document's own starting point.
    void make_large_test(int grades, int readings) {
        CTestData& data = doc_.record().grades;
        data.clear();
        for (int g = 0; g < grades; ++g) {
            COneGradeData& grade = data.append_grade();
            for (int i = 0; i < readings; ++i) {
                SamplePoint p{};
                p.grade = g;
                p.loading = kLoading;
                p.load = 100 * g;
                p.channel[0] = 0.01 * (g * readings + i);
                grade.append(p);
            }
        }
        doc_.refresh_derived();
        doc_.absorb_unrecorded_changes();
        doc_.set_modified(false);
    }

    // Runs undo and redo around one command, checking the record both ways.
    template <typename Command>
    void expect_undoable(const std::string& name, Command command) {
        const SavedImage before = saved_image(doc_);
        {
            CommandStep step(doc_, name);
            command();
        }
        // A new step, with nothing left to redo.
        EXPECT_FALSE(doc_.can_redo()) << name;
        expect_undo_and_redo(doc_, before, name);
    }
};

TEST(CommandStepName, DropsTheAcceleratorAndTheEllipsis) {
    EXPECT_EQ(command_step_name("更改荷载值(&C)"), "更改荷载值");
    EXPECT_EQ(command_step_name("移动到(&M) ..."), "移动到");
    EXPECT_EQ(command_step_name("新建(&N)\tCtrl+N"), "新建");
    EXPECT_EQ(command_step_name("位移通道设置(&C)..."), "位移通道设置");
    EXPECT_EQ(command_step_name("将数据恢复到从测试仪刚传过来时的状态"),
              "将数据恢复到从测试仪刚传过来时的状态");
}

TEST_F(UndoTest, OneChangedReadingIsAStepOfThatReadingAlone) {
    make_large_test(10, 2000);
    const SavedImage before = saved_image(doc_);
    {
        const CommandStep step(doc_, "修改数据");
        SamplePoint p = *doc_.record().grades.get_reading(4, 700);
        p.channel[0] += 1.5;
        doc_.record().grades.put_reading(4, 700, p);
        doc_.refresh_derived();
        doc_.commit_change(change_notice(4, 700), false);
    }
    const SavedImage after = saved_image(doc_);

    ASSERT_EQ(doc_.history().size(), 1u);
    // Old and new reading and the bookkeeping round them: far below one
    // grade (2000 x 152 bytes), let alone the test.
    EXPECT_LT(doc_.history().bytes(), 2000u);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(doc_.undo_name(), "修改数据");

    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(saved_image(doc_), before);
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_FALSE(doc_.can_undo());
    ASSERT_TRUE(doc_.redo());
    EXPECT_EQ(saved_image(doc_), after);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_FALSE(doc_.can_redo());
}

TEST_F(UndoTest, DeletedAndInsertedGradesKeepTheirNeighboursNumbered) {
    make_large_test(12, 300);
    expect_undoable("删除本级", [&] {
        doc_.record().grades.remove_grade(3);
        doc_.commit_change(hint::kRefresh, true);
    });
    // The later grades are renumbered, not stored: the step holds the
    // deleted grade and the one whose first reading repeated it.
    const GradePatch& deleted = *doc_.history().step_to_undo().grades;
    EXPECT_EQ(deleted.shift, -1);
    EXPECT_LE(deleted.before.size(), 2u);
    EXPECT_LT(doc_.history().bytes(), 4u * 300 * sizeof(SamplePoint));

    expect_undoable("在此级之后插入一级", [&] {
        doc_.record().grades.insert_grade_after(0);
        doc_.commit_change(hint::kRefresh, true);
    });
    EXPECT_EQ(doc_.history().step_to_undo().grades->shift, 1);

    // Back over both steps, then forward again.
    const SavedImage now = saved_image(doc_);
    ASSERT_TRUE(doc_.undo());
    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(doc_.record().grades.grade_count(), 12);
    for (int g = 0; g < 12; ++g) EXPECT_EQ(doc_.record().grades.get_reading(g, 1)->grade, g);
    ASSERT_TRUE(doc_.redo());
    ASSERT_TRUE(doc_.redo());
    EXPECT_EQ(saved_image(doc_), now);
}

TEST_F(UndoTest, HeaderParametersAndMarksAreUndone) {
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));

    expect_undoable("位移通道设置", [&] {
        ChannelSetup setup = doc_.channel_setup();
        setup.roles[1] = ChannelRole::kUnused;
        setup.anchor_pile_numbers[2] = "M-3";
        doc_.apply_channel_setup(setup);
    });
    EXPECT_FALSE(doc_.history().step_to_undo().header.empty());
    EXPECT_TRUE(doc_.history().step_to_undo().params);

    expect_undoable("标记", [&] { ASSERT_TRUE(doc_.add_mark({100, 1.25})); });
    ASSERT_TRUE(doc_.undo());
    EXPECT_TRUE(doc_.marks().empty());
    ASSERT_TRUE(doc_.redo());
    ASSERT_EQ(doc_.marks().size(), 1u);

    doc_.record().param_snapshots[0].stability_minutes += 7;
    expect_undoable("应用参数", [&] { ASSERT_TRUE(doc_.apply_snapshot(0)); });
    EXPECT_EQ(doc_.history().step_to_undo().header.size(), 1u);
}

TEST_F(UndoTest, TheEngineersChoiceIsOneStepThatMarksTheDocumentModified) {
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    ASSERT_FALSE(doc_.is_modified());
    EngineerChoice choice;
    choice.rule = 1000;
    choice.value = 2400;
    choice.data_fingerprint = 0x1234;
    choice.chosen_at = kFixedNow;
    choice.note = "复核";
    view_.hints.clear();

    ASSERT_TRUE(doc_.set_engineer_choice(choice, kChooseCapacityStep));
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_FALSE(view_.hints.empty());
    EXPECT_EQ(doc_.undo_name(), kChooseCapacityStep);
    // The same choice again is no step.
    EXPECT_FALSE(doc_.set_engineer_choice(choice, kChooseCapacityStep));

    ASSERT_TRUE(doc_.undo());
    EXPECT_FALSE(doc_.record().engineer_choice);
    EXPECT_FALSE(doc_.is_modified());
    ASSERT_TRUE(doc_.redo());
    ASSERT_TRUE(doc_.record().engineer_choice);
    EXPECT_EQ(*doc_.record().engineer_choice, choice);
    EXPECT_TRUE(doc_.is_modified());

    // Clearing is a step of its own, and the file image follows.
    expect_undoable(kClearCapacityStep, [&] {
        ASSERT_TRUE(doc_.set_engineer_choice(std::nullopt, kClearCapacityStep));
    });
    EXPECT_FALSE(doc_.record().engineer_choice);
    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(*doc_.record().engineer_choice, choice);
}

TEST_F(UndoTest, RestoreFromRawDataIsUndone) {
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    {
        CommandStep step(doc_, "删除本级");
        doc_.record().grades.remove_grade(1);
        doc_.commit_change(hint::kRefresh, true);
    }
    ASSERT_TRUE(doc_.add_mark({100, 1.0}));
    ui_.set_default_answer(MessageAnswer::kOk);
    expect_undoable("将数据恢复到从测试仪刚传过来时的状态",
                    [&] { ASSERT_TRUE(doc_.restore_from_raw_data()); });
    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(doc_.marks().size(), 1u);
    EXPECT_EQ(doc_.record().grades.grade_count(), 2);
}

TEST_F(UndoTest, TheWizardsNewTestIsUndoneToTheOpenFile) {
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    ASSERT_TRUE(doc_.upload_enabled());
    ASSERT_TRUE(doc_.add_mark({100, 1.0}));
    const SavedImage before = saved_image(doc_);
    const std::size_t raw = doc_.record().raw_readings.size();

    WizardInput input;
    input.max_load = 600;
    input.grades = 6;
    input.first_multiple = 2;
    ASSERT_TRUE(doc_.create_from_wizard(input));
    const SavedImage after = saved_image(doc_);
    EXPECT_EQ(doc_.undo_name(), kWizardStepName);
    EXPECT_TRUE(doc_.path().empty());

    ASSERT_TRUE(doc_.undo());
    EXPECT_EQ(saved_image(doc_), before);
    EXPECT_EQ(doc_.record().raw_readings.size(), raw);
    EXPECT_EQ(doc_.path(), path("t.PTX"));
    EXPECT_TRUE(doc_.upload_enabled());
    EXPECT_EQ(doc_.record().opened_kind, FileKind::kTestFile);
    EXPECT_TRUE(doc_.is_modified());  // the mark is still there

    ASSERT_TRUE(doc_.redo());
    EXPECT_EQ(saved_image(doc_), after);
    EXPECT_TRUE(doc_.path().empty());
    EXPECT_FALSE(doc_.upload_enabled());
    EXPECT_TRUE(doc_.marks().empty());
}

TEST_F(UndoTest, TheModifiedFlagFollowsTheSavedFile) {
    make_large_test(4, 5);
    auto change = [&](double d) {
        const CommandStep step(doc_, "修改数据");
        SamplePoint p = *doc_.record().grades.get_reading(2, 3);
        p.channel[0] += d;
        doc_.record().grades.put_reading(2, 3, p);
        doc_.refresh_derived();
        doc_.commit_change(change_notice(2, 3), false);
    };
    change(1);
    change(2);
    ASSERT_TRUE(doc_.save(path("a.KVD")));
    EXPECT_FALSE(doc_.is_modified());
    const Bytes file = read("a.KVD");

    ASSERT_TRUE(doc_.undo());
    EXPECT_TRUE(doc_.is_modified());
    ASSERT_TRUE(doc_.redo());
    EXPECT_FALSE(doc_.is_modified());
    // What the document holds at the saved position is what the file holds.
    ASSERT_TRUE(doc_.save(path("b.KVD")));
    EXPECT_EQ(read("b.KVD"), file);

    // A new change after going back replaces the saved position: no undo or
    // redo reaches the file's state again.
    ASSERT_TRUE(doc_.undo());
    change(5);
    EXPECT_FALSE(doc_.can_redo());
    ASSERT_TRUE(doc_.undo());
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(UndoTest, ACommandIsOneStepAndACancelledOneNone) {
    make_large_test(4, 5);
    {
        CommandStep step(doc_, "拖动数据点");
        for (int k = 0; k < 5; ++k) {
            SamplePoint p = *doc_.record().grades.get_reading(1, 2);
            p.channel[0] += 0.1;
            doc_.record().grades.put_reading(1, 2, p);
            doc_.commit_change(change_notice(1, 2), false);
            EXPECT_FALSE(doc_.can_undo());  // not while the drag goes on
        }
    }
    EXPECT_EQ(doc_.history().size(), 1u);
    EXPECT_EQ(doc_.undo_name(), "拖动数据点");
    { CommandStep step(doc_, "曲线平移"); }
    EXPECT_EQ(doc_.history().size(), 1u);
}

TEST_F(UndoTest, ReadingsChangedOutsideACommandStartANewHistory) {
    make_large_test(3, 3);
    ASSERT_TRUE(doc_.add_mark({1, 1}));
    ASSERT_TRUE(doc_.can_undo());
    doc_.record().grades.remove_grade(1);
    doc_.commit_change(hint::kRefresh, true);
    // The mark's step would no longer fit: nothing is undone wrongly.
    EXPECT_FALSE(doc_.can_undo());
    EXPECT_TRUE(doc_.is_modified());
    ASSERT_TRUE(doc_.add_mark({2, 2}));
    ASSERT_TRUE(doc_.undo());
    EXPECT_TRUE(doc_.is_modified());  // the file's state is out of reach
}

TEST_F(UndoTest, OpeningAnotherFileStartsANewHistory) {
    make_large_test(3, 3);
    ASSERT_TRUE(doc_.add_mark({1, 1}));
    ASSERT_TRUE(doc_.can_undo());
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    EXPECT_FALSE(doc_.can_undo());
    EXPECT_FALSE(doc_.can_redo());
    ASSERT_TRUE(doc_.add_mark({1, 1}));
    doc_.new_document();
    EXPECT_FALSE(doc_.can_undo());
}

TEST_F(UndoTest, PendingPageEditsAreStoredAsAStepBeforeUndo) {
    make_large_test(3, 3);
    ASSERT_TRUE(doc_.add_mark({1, 1}));
    // A page that stores its edit when asked to (hint 10).
    struct Page : DocView {
        CLbxDoc* doc = nullptr;
        bool pending = true;
        void on_update(int hint) override {
            if (hint != hint::kStorePages || !pending) return;
            pending = false;
            doc->record().header.pile_diameter = 800;
            doc->set_modified(true);
        }
    } page;
    page.doc = &doc_;
    doc_.add_view(&page);
    ASSERT_TRUE(doc_.undo());  // takes back the page's edit, the mark stays
    doc_.remove_view(&page);
    EXPECT_NE(doc_.record().header.pile_diameter, 800);
    EXPECT_EQ(doc_.marks().size(), 1u);
    EXPECT_EQ(doc_.redo_name(), kPageEditStepName);
}

}  // namespace
}  // namespace kvd::testing
