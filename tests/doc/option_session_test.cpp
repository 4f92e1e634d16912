// One opening of the options dialog on the document: the working copies,
// 预览 / 确定 / 取消, "恢复默认值", the tree's start items, and the data
// folder fields of the "常规" page.

#include "doc/option_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doc/data_folder.h"
#include "doc/extended_display.h"
#include "doc_test_support.h"

namespace kvd::testing {
namespace {

class RecordingFrame : public DocFrame {
public:
    void show_table_request(ShowTableCode code, int count) override {
        (void)count;
        codes.push_back(code);
    }
    std::vector<ShowTableCode> codes;
};

class OptionSessionTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        set_extended_display(false);
        doc_.add_view(&view_);
        doc_.set_frame(&frame_);
        doc_.set_zoom_factor(2);
    }
    void TearDown() override {
        set_extended_display(false);
        DocTest::TearDown();
    }

    MemorySettings memory_;
    SettingsStore store_{memory_};
    RecordingFrame frame_;
};

TEST_F(OptionSessionTest, PreviewShowsTheWorkingStyleAndCancelPutsTheOpeningOneBack) {
    const CurveStyle opening = doc_.curve_style();
    const PageSetup opening_page = doc_.page_setup();
    OptionSession session(doc_, store_);
    session.style().lines.load_colour = style_rgb(1, 2, 3);
    session.style().frame.title_font_size = 200;
    session.page_setup().left_margin = 400;
    // Editing alone changes nothing in the document.
    EXPECT_EQ(doc_.curve_style(), opening);

    // 预览 only from a curve style page: "常规", a branch, the page-setup and
    // print pages do nothing.
    for (int item : {0, kCurveStyleBranch, kPageSetupBranch, 6, 9, 11, 12, -1, 13}) {
        EXPECT_FALSE(session.preview(item)) << item;
    }
    EXPECT_EQ(doc_.curve_style(), opening);
    EXPECT_TRUE(view_.hints.empty());

    ASSERT_TRUE(session.preview(2));
    EXPECT_EQ(doc_.curve_style().lines.load_colour, style_rgb(1, 2, 3));
    EXPECT_EQ(doc_.curve_style().frame.title_font_size, 200);
    EXPECT_DOUBLE_EQ(doc_.zoom_factor(), 2);
    EXPECT_EQ(doc_.page_setup().left_margin, opening_page.left_margin);  // not previewed
    EXPECT_EQ(view_.hints, (std::vector<int>{hint::kRefresh}));

    session.style().lines.load_colour = style_rgb(9, 9, 9);
    ASSERT_TRUE(session.preview(4));
    EXPECT_EQ(doc_.curve_style().lines.load_colour, style_rgb(9, 9, 9));

    session.cancel();
    EXPECT_EQ(doc_.curve_style(), opening);
    EXPECT_EQ(doc_.page_setup().left_margin, opening_page.left_margin);
    EXPECT_EQ(view_.hints.back(), hint::kRefresh);
    EXPECT_TRUE(frame_.codes.empty());
    EXPECT_FALSE(doc_.is_modified());  // options are not part of the file
}

TEST_F(OptionSessionTest, OkGivesTheDocumentEveryWorkingCopy) {
    OptionSession session(doc_, store_);
    session.style().lines.unload_width = 7;
    session.page_setup().header_text = "某某检测中心";
    session.page_setup().print_header = 1;
    session.print_content().curve_layout = 0;
    session.test_folder() = "/data/tests";
    session.extended_display() = true;
    EXPECT_TRUE(session.accept());

    EXPECT_EQ(doc_.curve_style().lines.unload_width, 7);
    EXPECT_DOUBLE_EQ(doc_.zoom_factor(), 2);
    EXPECT_EQ(doc_.page_setup().header_text, "某某检测中心");
    EXPECT_EQ(doc_.page_setup().print_header, 1);
    EXPECT_EQ(doc_.print_content().curve_layout, 0);
    EXPECT_EQ(doc_.settings().test_folder, "/data/tests");
    EXPECT_TRUE(extended_display());
    EXPECT_EQ(frame_.codes, (std::vector<ShowTableCode>{ShowTableCode::kSummary}));
    EXPECT_FALSE(view_.hints.empty());
    EXPECT_EQ(memory_.size(), 0u);  // the settings are written at the end of the program

    // And the check box switches it off again.
    OptionSession again(doc_, store_);
    EXPECT_TRUE(again.extended_display());
    again.extended_display() = false;
    again.accept();
    EXPECT_FALSE(extended_display());
}

TEST_F(OptionSessionTest, RestoringDefaultsAsksAndTakesEffectWithOk) {
    memory_.write_text("常规", "安装位置", "/opt/kvd");
    doc_.page_setup().title_height = 120;
    doc_.page_setup().left_margin = 400;
    doc_.curve_style().frame.background = style_rgb(255, 255, 255);
    doc_.curve_style().lines.load_colour = style_rgb(0, 255, 0);
    set_extended_display(true);

    OptionSession session(doc_, store_, style_rgb(200, 201, 202));
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(session.restore_defaults());
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "即将把所有的设置改为默认值，是否继续？");
    EXPECT_EQ(ui_.shown()[0].caption, "警告");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(session.page_setup().left_margin, 400);

    ui_.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(session.restore_defaults());
    EXPECT_EQ(session.page_setup().left_margin, 250);
    EXPECT_EQ(session.page_setup().title_height, 120);  // kept
    EXPECT_EQ(session.style().lines.load_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(session.style().frame.background, style_rgb(200, 201, 202));  // the button face
    EXPECT_EQ(session.test_folder(), "/opt/kvd");
    EXPECT_EQ(session.calibration_folder(), "/opt/kvd");
    EXPECT_FALSE(session.extended_display());
    // Nothing reaches the document or the settings before OK.
    EXPECT_EQ(doc_.page_setup().left_margin, 400);
    EXPECT_TRUE(extended_display());
    EXPECT_FALSE(memory_.read_int("页面设置", "左边距"));

    EXPECT_TRUE(session.accept());
    EXPECT_EQ(doc_.page_setup().left_margin, 250);
    EXPECT_FALSE(extended_display());
    EXPECT_EQ(memory_.read_int("页面设置", "左边距"), 250);
    EXPECT_EQ(memory_.read_int("图形样式", "加载曲线颜色"), 160 * 65536);
    EXPECT_EQ(memory_.read_text("常规", "测试文件位置"), "/opt/kvd");
}

TEST_F(OptionSessionTest, RestoredDefaultsUndoneByCancel) {
    doc_.page_setup().left_margin = 400;
    OptionSession session(doc_, store_);
    ui_.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(session.restore_defaults());
    session.cancel();
    EXPECT_EQ(doc_.page_setup().left_margin, 400);
    EXPECT_EQ(memory_.size(), 0u);  // nothing written
}

class FailingSettings : public MemorySettings {
public:
    bool flush() override { return false; }
};

TEST_F(OptionSessionTest, RestoredDefaultsThatCannotBeWrittenAreReported) {
    FailingSettings failing;
    SettingsStore store(failing);
    OptionSession session(doc_, store);
    ui_.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(session.restore_defaults());
    EXPECT_FALSE(session.accept());
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].text, kSettingsNotWrittenMessage);
    EXPECT_EQ(ui_.shown()[1].caption, "错误");
    EXPECT_EQ(doc_.page_setup().left_margin, 250);  // the document has them all the same
}

TEST(OptionTreeTest, StartItemsAndPreviewFollowTheTree) {
    EXPECT_EQ(kOptionTree[static_cast<std::size_t>(start_tree_item(kStartCurveStyle))].text,
              "图形样式");
    EXPECT_EQ(kOptionTree[static_cast<std::size_t>(start_tree_item(kStartPageSetup))].text,
              "页面设置");
    EXPECT_EQ(kOptionTree[static_cast<std::size_t>(start_tree_item(kStartPrintOptions))].text,
              "打印选项");
    EXPECT_EQ(start_tree_item(kStartAsBuilt), -1);
    EXPECT_EQ(start_tree_item(4), -1);
    int previews = 0;
    for (int i = 0; i < static_cast<int>(kOptionTree.size()); ++i) {
        const OptionTreeItem& item = kOptionTree[static_cast<std::size_t>(i)];
        if (item.parent >= 0) {
            EXPECT_EQ(kOptionTree[static_cast<std::size_t>(item.parent)].page,
                      OptionPage::kChooseChild);
        }
        if (preview_enabled(i)) {
            ++previews;
            EXPECT_EQ(item.parent, kCurveStyleBranch) << item.text;
        }
        EXPECT_EQ(shows_page_preview(item.page),
                  item.parent == kPageSetupBranch || item.parent == kPrintOptionsBranch)
            << item.text;
    }
    EXPECT_EQ(previews, 3);
}

// ---- the data folder fields -------------------------------------------------

TEST_F(DocTest, AFolderFieldKeepsAFolderThatExistsOrIsCreated) {
    const std::string current = path("old");
    std::filesystem::create_directories(current);
    std::filesystem::create_directories(dir_ / "exists");

    FolderEdit edit = edit_data_folder(ui_, "  " + path("exists") + "/ ", current);
    EXPECT_EQ(edit.folder, path("exists"));
    EXPECT_EQ(edit.text, path("exists"));
    EXPECT_TRUE(ui_.shown().empty());

    // Empty: the folder in use stays and is shown again.
    edit = edit_data_folder(ui_, "   ", current);
    EXPECT_EQ(edit.folder, current);
    EXPECT_EQ(edit.text, current);

    // Not there, and the user does not want it: nothing created, the old
    // folder in use, the text left for correcting.
    ui_.queue_answer(MessageAnswer::kNo);
    edit = edit_data_folder(ui_, path("new/数据"), current);
    EXPECT_EQ(edit.folder, current);
    EXPECT_EQ(edit.text, path("new/数据"));
    EXPECT_FALSE(exists("new"));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "该文件夹不存在，是否创建该文件夹？");
    EXPECT_EQ(ui_.shown()[0].caption, "警告");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);

    ui_.queue_answer(MessageAnswer::kYes);
    edit = edit_data_folder(ui_, path("new/数据"), current);
    EXPECT_EQ(edit.folder, path("new/数据"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "new" / "数据"));
}

TEST_F(DocTest, AFolderThatCannotBeCreatedIsReportedAndTheOldOneKept) {
    const std::string current = path("old");
    std::ofstream(dir_ / "file") << "x";
    ui_.queue_answer(MessageAnswer::kYes);
    FolderEdit edit = edit_data_folder(ui_, path("file/sub"), current);
    EXPECT_EQ(edit.folder, current);
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].text, "无法建立指定的文件夹：" + path("file/sub"));
    EXPECT_EQ(ui_.shown()[1].caption, "错误");
    EXPECT_EQ(ui_.shown()[1].icon, MessageIcon::kError);

    // A file where the folder should be is not a folder either.
    ui_.clear_log();
    ui_.queue_answer(MessageAnswer::kYes);
    edit = edit_data_folder(ui_, path("file"), current);
    EXPECT_EQ(edit.folder, current);
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].caption, "错误");
}

}  // namespace
}  // namespace kvd::testing
