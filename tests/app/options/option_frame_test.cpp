// The options dialog from the main window: the commands that open it and
// where, 预览 then 取消 leaving the curves as they were, 确定 handing the
// document its settings, and the "常规" page's folders and 恢复默认值.

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "app/curves/curve_view.h"
#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/frame/sheets_wnd.h"
#include "app/options/color_button.h"
#include "app/options/option_dialog.h"
#include "app/options/option_page.h"
#include "app/options/spin_field.h"
#include "curves/curve_commands.h"
#include "curves/print_placement.h"
#include "doc/extended_display.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

class OptionFrameTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        set_extended_display(false);
        make_frame();
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
        ASSERT_TRUE(activate(&frame()));
    }
    void TearDown() override {
        set_extended_display(false);
        FrameTest::TearDown();
    }

    // Runs the command; `act` is given the dialog once it is up and must
    // close it. False when no dialog came.
    bool with_dialog(int command, std::function<void(COptionDialog*)> act) {
        auto came = std::make_shared<bool>(false);
        when_modal<COptionDialog>([act, came](COptionDialog* dialog) {
            *came = true;
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->isActiveWindow(); }, 3000));
            act(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        if (command == curve_command::kCurveStyle) {
            frame().show_curve(CurveKind::kQs);
            frame().curve_view(CurveKind::kQs)->run_command(command);
        } else {
            frame().run_command(command);
        }
        return *came;
    }

    QImage curve_picture() {
        CurveView* view = frame().curve_view(CurveKind::kQs);
        view->viewport()->repaint();
        return view->viewport()->grab().toImage();
    }
};

TEST_F(OptionFrameTest, EachCommandOpensTheDialogWhereItBelongs) {
    EXPECT_TRUE(frame().action(kOptions)->isEnabled());
    EXPECT_TRUE(frame().action(kPageSetup)->isEnabled());
    const std::pair<int, const char*> commands[] = {
        {kOptions, "常规"},
        {kPageSetup, "页面设置"},
        {curve_command::kCurveStyle, "图形样式"},
    };
    for (const auto& [command, text] : commands) {
        QString shown;
        bool expanded = false;
        EXPECT_TRUE(with_dialog(command, [&](COptionDialog* dialog) {
            shown = dialog->tree()->currentItem()->text(0);
            expanded = dialog->tree()->currentItem()->isExpanded();
            if (command == kOptions) keep_picture(dialog, "options_from_frame.png");
        })) << command;
        EXPECT_EQ(shown, QString::fromUtf8(text));
        EXPECT_EQ(expanded, command != kOptions);
    }
}

TEST_F(OptionFrameTest, PreviewThenCancelLeavesTheCurvesAsTheyWere) {
    const QImage before = curve_picture();
    const CurveStyle style = doc().curve_style();
    QImage previewed;
    ASSERT_TRUE(with_dialog(curve_command::kCurveStyle, [&](COptionDialog* dialog) {
        dialog->select_item(2);
        auto* width = dialog->current_page()->findChild<SpinField*>(QStringLiteral("id1089"));
        width->setFocus();
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("2.5"));
        when_modal<QColorDialog>([](QColorDialog* colours) {
            colours->setCurrentColor(QColor(0, 200, 0));
            colours->accept();
        });
        dialog->current_page()->findChild<CColorButton*>(QStringLiteral("id1094"))->click();
        EXPECT_EQ(curve_picture(), before);  // nothing shown before 预览
        dialog->preview_button()->click();
        previewed = curve_picture();
        EXPECT_EQ(dialog->session().style().lines.load_width, 25);
        dialog->cancel_button()->click();
    }));
    EXPECT_NE(previewed, before);
    EXPECT_EQ(doc().curve_style(), style);
    EXPECT_EQ(curve_picture(), before);
    EXPECT_FALSE(doc().is_modified());
}

TEST_F(OptionFrameTest, OkHandsTheDocumentItsSettingsAndTheExtendedDisplay) {
    const QImage before = curve_picture();
    ASSERT_TRUE(with_dialog(kOptions, [&](COptionDialog* dialog) {
        dialog->current_page()->findChild<QCheckBox*>(QStringLiteral("id1162"))->click();
        dialog->select_item(7);
        auto* left = dialog->current_page()->findChild<SpinField*>(QStringLiteral("id1142"));
        left->setFocus();
        left->selectAll();
        QTest::keyClicks(left, QStringLiteral("30"));
        dialog->select_item(2);
        dialog->session().style().lines.load_colour = style_rgb(0, 200, 0);
        frame().show_table(TableKind::kLoad);
        // OK takes the margin typed and not yet left as well.
        dialog->ok_button()->click();
    }));
    EXPECT_EQ(doc().page_setup().left_margin, 300);
    EXPECT_EQ(doc().curve_style().lines.load_colour, style_rgb(0, 200, 0));
    EXPECT_TRUE(extended_display());
    EXPECT_EQ(frame().active_grid_view(), frame().grid_view(TableKind::kSummary));
    EXPECT_NE(curve_picture(), before);
    EXPECT_FALSE(doc().is_modified());

    // Written at the end of the program with the rest of the settings.
    frame().close();
    QSettings stored = user_settings();
    EXPECT_EQ(stored.value(QStringLiteral("页面设置/左边距")).toInt(), 300);
}

TEST_F(OptionFrameTest, TheGeneralPageAsksBeforeMakingAFolderAndRestoresDefaults) {
    const QString missing = path("新的/测试文件");
    ASSERT_TRUE(with_dialog(kOptions, [&](COptionDialog* dialog) {
        auto* tests = dialog->current_page()->findChild<QLineEdit*>(QStringLiteral("id1206"));
        ui_.queue_answer(MessageAnswer::kNo);
        tests->setFocus();
        tests->setText(missing);
        emit tests->editingFinished();
        ASSERT_EQ(ui_.shown().size(), 1u);
        EXPECT_EQ(ui_.shown()[0].text, "该文件夹不存在，是否创建该文件夹？");
        EXPECT_FALSE(QFileInfo::exists(missing));
        EXPECT_EQ(tests->text(), missing);  // left for correcting
        EXPECT_TRUE(dialog->session().test_folder().empty());

        ui_.queue_answer(MessageAnswer::kYes);
        emit tests->editingFinished();
        EXPECT_TRUE(QFileInfo(missing).isDir());
        EXPECT_EQ(QString::fromStdString(dialog->session().test_folder()), missing);

        // An empty text puts the folder in use back.
        tests->setText(QStringLiteral("  "));
        emit tests->editingFinished();
        EXPECT_EQ(tests->text(), missing);

        // 恢复默认值: asked, then every page shows the defaults again.
        dialog->session().page_setup().left_margin = 400;
        dialog->select_item(7);
        dialog->select_item(0);
        ui_.clear_log();
        ui_.queue_answer(MessageAnswer::kYes);
        dialog->current_page()->findChild<QPushButton*>(QStringLiteral("id1175"))->click();
        ASSERT_EQ(ui_.shown().size(), 1u);
        EXPECT_EQ(ui_.shown()[0].text, "即将把所有的设置改为默认值，是否继续？");
        EXPECT_EQ(dialog->page(OptionPage::kMargin)
                      ->findChild<SpinField*>(QStringLiteral("id1142"))
                      ->field_text(),
                  QStringLiteral("25"));
        dialog->accept();
    }));
    // No install folder: both folders back to the program's defaults.
    EXPECT_TRUE(doc().settings().test_folder.empty());
    EXPECT_EQ(doc().page_setup().left_margin, 250);
}

}  // namespace
}  // namespace kvd::testing
