// The file commands of the main window on copies of the samples: open with
// its checks and refusals, the recent-file list, save and save as with their
// questions and renames, the old-format choice, the question about a
// modified document, the restore from raw data and adding unloading data,
// all answered by a scripted user.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <cstring>

#include "app/frame/frame_commands.h"
#include "app/tables/grid_view.h"
#include "app/tools/new_file_wizard_dialog.h"
#include "frame_test_support.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

// The recent entries of the File menu: between its third separator and the
// one before "退出(&X)".
QList<QAction*> recent_entries(CMainFrame& frame) {
    QMenu* file = frame.menuBar()->actions().front()->menu();
    QList<QAction*> entries;
    int separators = 0;
    for (QAction* item : file->actions()) {
        if (item->isSeparator())
            ++separators;
        else if (separators == 3)
            entries << item;
    }
    return entries;
}

QStringList recent_menu_texts(CMainFrame& frame) {
    QStringList texts;
    for (QAction* entry : recent_entries(frame)) texts << entry->text();
    return texts;
}

QAction* recent_entry(CMainFrame& frame, int index) {
    return recent_entries(frame).value(index);
}

// A test file written by a program newer than this one.
QByteArray with_version(QByteArray bytes, double version) {
    std::memcpy(bytes.data() + 10, &version, sizeof version);
    return bytes;
}

// An old-format test file: a 1428-byte header (reading count at 398), then
// 84-byte readings: grade, flag, day count, clock text, nominal and measured
// load, oil pressure and 12 channels. Four grades of three readings.
QByteArray old_format_file() {
    constexpr int kReadings = 12;
    QByteArray bytes(1428 + kReadings * 84, '\0');
    std::memcpy(bytes.data(), "meyptx", 6);
    const std::uint16_t count = kReadings;
    std::memcpy(bytes.data() + 398, &count, 2);
    for (int i = 0; i < kReadings; ++i) {
        char* r = bytes.data() + 1428 + i * 84;
        const std::uint16_t grade = static_cast<std::uint16_t>(i / 3);
        const std::int16_t flag = 1;
        const double day = 45000.0 + i / 1440.0;
        const std::int32_t load = 200 * (i / 3);
        const float pressure = 1.5f * static_cast<float>(i / 3);
        std::memcpy(r, &grade, 2);
        std::memcpy(r + 2, &flag, 2);
        std::memcpy(r + 4, &day, 8);
        std::memcpy(r + 12, "08:30:00", 8);
        std::memcpy(r + 24, &load, 4);
        std::memcpy(r + 28, &load, 4);
        std::memcpy(r + 32, &pressure, 4);
        for (int c = 0; c < 2; ++c) {
            const float channel = 0.5f * static_cast<float>(i) + static_cast<float>(c);
            std::memcpy(r + 36 + 4 * c, &channel, 4);
        }
    }
    return bytes;
}

using FrameFilesTest = FrameTest;

TEST_F(FrameFilesTest, OpensTestFilesAndNamesTheWindowAfterThem) {
    make_frame();
    EXPECT_EQ(title(), window_title("新文件.KVD"));
    EXPECT_FALSE(frame().grid_view(TableKind::kRaw));

    const QString demo = copy("demo.PTX");
    ASSERT_TRUE(frame().open_file(demo));
    EXPECT_EQ(title(), window_title("demo.PTX"));
    EXPECT_EQ(doc().record().opened_kind, FileKind::kTestFile);
    EXPECT_FALSE(doc().is_modified());
    EXPECT_GT(doc().record().grades.grade_count(), 10);
    // A file with raw readings brings the raw record table.
    GridView* raw = frame().grid_view(TableKind::kRaw);
    ASSERT_TRUE(raw);
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + demo}));

    // The next file reuses the table.
    ASSERT_TRUE(frame().open_file(copy("uplift.PTX")));
    EXPECT_EQ(title(), window_title("uplift.PTX"));
    EXPECT_EQ(frame().grid_view(TableKind::kRaw), raw);
    EXPECT_EQ(recent_menu_texts(frame()).size(), 2);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(FrameFilesTest, RefusedFilesKeepTheOpenDocumentAndTheRecentList) {
    make_frame();
    const QString demo = copy("demo.PTX");
    ASSERT_TRUE(frame().open_file(demo));
    const int grades = doc().record().grades.grade_count();

    const QString newer = path("newer.PTX");
    ASSERT_TRUE(write_bytes(newer, with_version(file_bytes(demo), 2013.1017)));
    const QString exact = path("exact.PTX");
    ASSERT_TRUE(write_bytes(exact, with_version(file_bytes(demo), 2013.1016)));
    const QString foreign = path("foreign.PTX");
    ASSERT_TRUE(write_bytes(foreign, QByteArray("no test file at all")));

    EXPECT_FALSE(frame().open_file(newer));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "该文件为高版本所创建文件, 无法打开 ！");
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_FALSE(frame().open_file(foreign));
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].text, "未知文件类型, 无法打开 ！");
    EXPECT_EQ(title(), window_title("demo.PTX"));
    EXPECT_EQ(doc().record().grades.grade_count(), grades);
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + demo}));

    // The newest version this program reads opens.
    EXPECT_TRUE(frame().open_file(exact));
    EXPECT_EQ(title(), window_title("exact.PTX"));
}

TEST_F(FrameFilesTest, RecentEntriesReopenWithEveryCheckAndVanishWithTheirFile) {
    make_frame();
    const QString unfinished = copy("unfinished.PTX");
    const QString demo = copy("demo.PTX");
    ui_.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(frame().open_file(unfinished));
    ASSERT_TRUE(frame().open_file(demo));
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + demo, "&2 " + unfinished}));
    EXPECT_EQ(settings_->recent_files(), QStringList({demo, unfinished}));
    ui_.clear_log();

    // The unfinished test asks again from the menu; No keeps the demo.
    ui_.queue_answer(MessageAnswer::kNo);
    recent_entry(frame(), 1)->trigger();
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "该文件试验未结束，是否继续用分析软件打开？  ");
    EXPECT_EQ(ui_.shown()[0].caption, "提示");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(title(), window_title("demo.PTX"));

    ui_.queue_answer(MessageAnswer::kYes);
    recent_entry(frame(), 1)->trigger();
    EXPECT_EQ(title(), window_title("unfinished.PTX"));
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + unfinished, "&2 " + demo}));

    // A file that is gone: the entry goes with the failed open.
    ASSERT_TRUE(QFile::remove(demo));
    ui_.clear_log();
    recent_entry(frame(), 1)->trigger();
    EXPECT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + unfinished}));
    EXPECT_EQ(title(), window_title("unfinished.PTX"));

    // The list outlives the window.
    frame().close();
    EXPECT_EQ(AppSettings().recent_files(), QStringList({unfinished}));
    make_frame();
    EXPECT_EQ(recent_menu_texts(frame()), QStringList({"&1 " + unfinished}));
}

TEST_F(FrameFilesTest, SavingATestFileAsksThenWritesAnAnalysisFileUnderTheNewName) {
    make_frame();
    const QString demo = copy("demo.PTX");
    const QByteArray original = file_bytes(demo);
    ASSERT_TRUE(frame().open_file(demo));

    // No: nothing is written.
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(frame().run_command(kSave));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text,
              "后缀名.PTX或.PTX2测试文件 将另存为 后缀名.KVD或.KVD2分析文件，是否继续？");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_TRUE(ui_.save_requests().empty());

    // Yes, then the dialog proposes the analysis name; a cancelled dialog
    // writes nothing either.
    EXPECT_FALSE(frame().run_command(kSave));
    ASSERT_EQ(ui_.save_requests().size(), 1u);
    const SaveDialogRequest& request = ui_.save_requests()[0];
    EXPECT_EQ(QString::fromStdString(request.proposed_name), path("demo.KVD"));
    EXPECT_EQ(request.title, "保存文件");
    EXPECT_EQ(request.filter, "KV静载测试分析文件(*.KVD;*.KVD2)|*.KVD;*.KVD2|");
    EXPECT_FALSE(QFile::exists(path("demo.KVD")));

    // A name chosen as a test file is saved as its analysis file.
    ui_.queue_save_path(path("pile S-12.ptx").toStdString());
    EXPECT_TRUE(frame().run_command(kSave));
    EXPECT_EQ(title(), window_title("pile S-12.KVD"));
    EXPECT_EQ(kind_of_file(path("pile S-12.KVD")), FileKind::kAnalysisWithRaw);
    EXPECT_FALSE(QFile::exists(path("pile S-12.ptx")));
    EXPECT_EQ(file_bytes(demo), original);
    EXPECT_FALSE(doc().is_modified());
    EXPECT_EQ(recent_menu_texts(frame()).front(), "&1 " + path("pile S-12.KVD"));

    // Now an analysis file: Save writes in place without asking.
    ui_.clear_log();
    doc().set_modified();
    EXPECT_TRUE(frame().run_command(kSave));
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_TRUE(ui_.save_requests().empty());
    EXPECT_FALSE(doc().is_modified());

    // Save As takes the new name.
    ui_.queue_save_path(path("copy.KVD").toStdString());
    EXPECT_TRUE(frame().run_command(kSaveAs));
    EXPECT_EQ(title(), window_title("copy.KVD"));
    EXPECT_EQ(kind_of_file(path("copy.KVD")), FileKind::kAnalysisWithRaw);
}

TEST_F(FrameFilesTest, AFailedSaveKeepsNameKindAndModifiedFlag) {
    make_frame();
    ASSERT_TRUE(frame().open_file(copy("demo.KVD")));
    doc().set_modified();
    ui_.queue_save_path(path("missing folder/x.KVD").toStdString());
    EXPECT_FALSE(frame().run_command(kSaveAs));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(title(), window_title("demo.KVD"));
    EXPECT_TRUE(doc().is_modified());
    EXPECT_EQ(recent_menu_texts(frame()).size(), 1);
}

TEST_F(FrameFilesTest, OldFormatFilesAreSavedAsTheUserChooses) {
    make_frame();
    const QString old_file = path("old.PTX");
    ASSERT_TRUE(write_bytes(old_file, old_format_file()));
    ASSERT_TRUE(frame().open_file(old_file));
    EXPECT_EQ(doc().record().opened_kind, FileKind::kOldTestFile);
    // The old format holds only the readings: the open says so.
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].caption, "警告");
    ui_.clear_log();
    const QByteArray original = file_bytes(old_file);

    // Cancel: nothing written.
    ui_.queue_answer(MessageAnswer::kYes);  // save the test file as analysis file?
    ui_.queue_answer(MessageAnswer::kCancel);
    ui_.queue_save_path(path("old.PTX").toStdString());
    EXPECT_FALSE(frame().run_command(kSave));
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].text,
              "将老版本ptx文件保存成什么格式？\n\n选择“是”将保存为分析文件KVD格式\n\n"
              "选择“否”将保存为新的PTX文件格式\n\n选择“取消”取消本次操作");
    EXPECT_EQ(ui_.shown()[1].caption, "转换数据格式");
    EXPECT_EQ(ui_.shown()[1].buttons, MessageButtons::kYesNoCancel);
    EXPECT_EQ(file_bytes(old_file), original);
    EXPECT_FALSE(QFile::exists(path("old.KVD")));
    EXPECT_EQ(title(), window_title("old.PTX"));

    // No: a test file of the current format under the same base name.
    ui_.queue_answer(MessageAnswer::kNo);
    ui_.queue_save_path(path("converted.xyz").toStdString());
    ASSERT_TRUE(frame().run_command(kSaveAs));
    EXPECT_EQ(title(), window_title("converted.PTX"));
    EXPECT_EQ(kind_of_file(path("converted.PTX")), FileKind::kTestFile);

    // Yes (from the old file again): an analysis file.
    ASSERT_TRUE(frame().open_file(old_file));
    ui_.queue_answer(MessageAnswer::kYes);
    ui_.queue_answer(MessageAnswer::kYes);
    ui_.queue_save_path(path("old.PTX").toStdString());
    ASSERT_TRUE(frame().run_command(kSave));
    EXPECT_EQ(title(), window_title("old.KVD"));
    EXPECT_EQ(kind_of_file(path("old.KVD")), FileKind::kAnalysisWithRaw);
    EXPECT_EQ(file_bytes(old_file), original);
}

TEST_F(FrameFilesTest, ReplacingAModifiedDocumentAsksFirst) {
    make_frame();
    const QString kvd = copy("demo.KVD");
    const QByteArray original = file_bytes(kvd);
    const QString plate = copy("plate.PTX");
    ASSERT_TRUE(frame().open_file(kvd));
    const double settlement = doc().record().grades.last_settlement(5);
    ASSERT_NE(settlement, 0);
    ASSERT_TRUE(frame().run_command(kInvert));
    ASSERT_TRUE(doc().is_modified());
    ui_.clear_log();

    // Cancel: the modified document stays, for every way of replacing it.
    ui_.set_default_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(frame().open_file(plate));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "是否保存对“demo.KVD”的更改？");
    EXPECT_EQ(ui_.shown()[0].caption, "ROzadazoza");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNoCancel);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kQuestion);
    EXPECT_FALSE(frame().run_command(kNew));
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(ui_.shown().size(), 3u);
    EXPECT_EQ(title(), window_title("demo.KVD"));
    EXPECT_TRUE(doc().is_modified());
    EXPECT_EQ(doc().record().grades.last_settlement(5), -settlement);

    // No: the other file opens, the first stays as it was on disk.
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_TRUE(frame().open_file(plate));
    EXPECT_EQ(title(), window_title("plate.PTX"));
    EXPECT_EQ(file_bytes(kvd), original);

    // Yes: saved in place first, then replaced by a new document.
    ASSERT_TRUE(frame().open_file(kvd));
    ASSERT_TRUE(frame().run_command(kInvert));
    ui_.queue_answer(MessageAnswer::kYes);
    when_modal<CNewFileWizard>([](CNewFileWizard* wizard) { wizard->accept(); });
    EXPECT_TRUE(frame().run_command(kNew));
    EXPECT_EQ(title(), window_title("新文件.KVD"));
    // A test made by hand is not yet in any file.
    EXPECT_TRUE(doc().is_modified());
    ui_.queue_answer(MessageAnswer::kNo);
    ASSERT_TRUE(frame().open_file(kvd));
    EXPECT_EQ(doc().record().grades.last_settlement(5), -settlement);
}

TEST_F(FrameFilesTest, RestoreFromRawDataUndoesTheEditsAfterAWarning) {
    make_frame();
    ASSERT_FALSE(frame().action(kRestoreRawData)->isEnabled());  // the template has no raw data
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(frame().action(kRestoreRawData)->isEnabled());
    const double settlement = doc().record().grades.last_settlement(3);
    ASSERT_TRUE(frame().run_command(kInvert));
    ui_.clear_log();

    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(frame().run_command(kRestoreRawData));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "从原始数据恢复将废除对数据进行的所有修改!\n您是否继续?");
    EXPECT_EQ(ui_.shown()[0].caption, "警告");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kOkCancel);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(ui_.beeps(), 1);
    EXPECT_EQ(doc().record().grades.last_settlement(3), -settlement);

    ui_.queue_answer(MessageAnswer::kOk);
    EXPECT_TRUE(frame().run_command(kRestoreRawData));
    EXPECT_TRUE(doc().is_modified());
    // The restored readings are what is saved.
    ui_.queue_answer(MessageAnswer::kYes);
    ui_.queue_save_path(path("restored.KVD").toStdString());
    ASSERT_TRUE(frame().run_command(kSave));
    ASSERT_TRUE(frame().open_file(path("restored.KVD")));
    // The document's values, as read without any table or curve filled first.
    EXPECT_EQ(doc().record().grades.last_settlement(3), settlement);
}

TEST_F(FrameFilesTest, UnloadingDataIsOfferedOnlyForALoadingOnlyTest) {
    make_frame();
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    EXPECT_FALSE(frame().action(kAddUnloading)->isEnabled());
    EXPECT_FALSE(frame().run_command(kAddUnloading));

    // Without its unloading grades the test may have them added.
    CTestData& grades = doc().record().grades;
    const int loading = grades.loading_grade_count();
    while (grades.grade_count() > loading) grades.remove_grade(grades.grade_count() - 1);
    doc().commit_change(hint::kRefresh, true);
    EXPECT_TRUE(frame().action(kAddUnloading)->isEnabled());
    ASSERT_TRUE(frame().show_table(TableKind::kUnload));
    GridView* unload = frame().active_grid_view();
    ASSERT_TRUE(unload);
    EXPECT_EQ(cell(unload->table(), 0, 1), "");

    EXPECT_TRUE(frame().run_command(kAddUnloading));
    EXPECT_GT(grades.grade_count(), loading);
    EXPECT_FALSE(frame().action(kAddUnloading)->isEnabled());
    // The unloading table in front shows the new grades.
    EXPECT_NE(cell(unload->table(), 0, 1), "");
}

}  // namespace
}  // namespace kvd::testing
