// The new-file wizard (建立一个新文件) and the channel setup dialog
// (位移通道设置): what they show, what they refuse, and what File › New and
// 工具 › 位移通道设置 do with the document through the main window.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <cstring>
#include <memory>
#include <vector>

#include "app/tools/channel_setup_dialog.h"
#include "app/frame/frame_commands.h"
#include "app/tools/new_file_wizard_dialog.h"
#include "app/params/param_displacement_page.h"
#include "app/frame/sheets_wnd.h"
#include "base/numeric.h"
#include "app/frame/frame_test_support.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

void click_ok(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

std::vector<int> grade_loads(const CTestData& grades) {
    std::vector<int> loads;
    for (int g = 0; g < grades.grade_count(); ++g) loads.push_back(grades.first_load(g));
    return loads;
}

QStringList row_texts(const std::array<QLineEdit*, kIntervalCount>& fields) {
    QStringList texts;
    for (QLineEdit* field : fields) texts << field->text();
    return texts;
}

// ---- the wizard on its own ------------------------------------------------

class WizardTest : public FrameTest {
protected:
    // Clicks OK on a shown wizard whose field is refused with a platform
    // message box; returns that box's text.
    QString refused_text(CNewFileWizard& wizard) {
        auto text = std::make_shared<QString>();
        when_modal<QMessageBox>([text](QMessageBox* box) {
            *text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        click_ok(&wizard);
        return *text;
    }

    std::array<QLineEdit*, kIntervalCount> load_fields(const CNewFileWizard& wizard) {
        std::array<QLineEdit*, kIntervalCount> fields{};
        for (int i = 0; i < kIntervalCount; ++i)
            fields[static_cast<std::size_t>(i)] = wizard.load_field(i);
        return fields;
    }
    std::array<QLineEdit*, kIntervalCount> unload_fields(const CNewFileWizard& wizard) {
        std::array<QLineEdit*, kIntervalCount> fields{};
        for (int i = 0; i < kIntervalCount; ++i) {
            fields[static_cast<std::size_t>(i)] = wizard.unload_field(i);
        }
        return fields;
    }
};

TEST_F(WizardTest, ShowsTheDefaults) {
    CNewFileWizard wizard(ui_);
    wizard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));
    keep_picture(&wizard, "new_file_wizard.png");
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("建立一个新文件"));
    EXPECT_EQ(wizard.max_load_field()->text(), QStringLiteral("1000"));
    EXPECT_EQ(wizard.grades_field()->text(), QStringLiteral("10"));
    EXPECT_EQ(wizard.multiple_field()->text(), QStringLiteral("2"));
    EXPECT_TRUE(wizard.unloading_box()->isChecked());
    EXPECT_EQ(wizard.unloading_box()->text(), QStringLiteral("包含卸载数据"));
    EXPECT_EQ(row_texts(load_fields(wizard)).join(' '),
              QStringLiteral("0 5 10 15 15 15 30 30 30 30 30 30"));
    EXPECT_EQ(row_texts(unload_fields(wizard)).join(' '),
              QStringLiteral("0 15 15 30 180 180 180 180 180 180 180 180"));
    // Every field and label is as large as its text needs.
    for (QWidget* child : wizard.findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        EXPECT_GE(child->width(), child->minimumSizeHint().width())
            << child->metaObject()->className();
    }

    // OK on the defaults hands them over unchanged.
    click_ok(&wizard);
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    const WizardInput& input = wizard.input();
    EXPECT_EQ(input.max_load, 1000);
    EXPECT_EQ(input.grades, 10);
    EXPECT_EQ(input.first_multiple, 2);
    EXPECT_TRUE(input.include_unloading);
    EXPECT_EQ(input.load_intervals, kDefaultLoadIntervals);
    EXPECT_EQ(input.unload_intervals, kDefaultUnloadIntervals);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(WizardTest, RefusedInputKeepsTheDialogOpen) {
    CNewFileWizard wizard(ui_);
    wizard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));

    // The record rules: a later interval of 0, more first grades than grades.
    wizard.unload_field(1)->setText(QStringLiteral("0"));
    click_ok(&wizard);
    EXPECT_TRUE(wizard.isVisible());
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kWizardInputError);
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_EQ(ui_.beeps(), 1);
    wizard.unload_field(1)->setText(QStringLiteral("15"));
    wizard.grades_field()->setText(QStringLiteral("3"));
    wizard.multiple_field()->setText(QStringLiteral("4"));
    click_ok(&wizard);
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(ui_.shown().size(), 2u);
    wizard.grades_field()->setText(QStringLiteral("10"));
    wizard.multiple_field()->setText(QStringLiteral("2"));

    // The boxes' own checks: ranges, and text that is no whole number. Each
    // refusal names the box's limits and selects the box.
    ui_.clear_log();
    wizard.max_load_field()->setText(QStringLiteral("100001"));
    EXPECT_EQ(refused_text(wizard), QStringLiteral("请输入一个介于 1 和 100000 之间的整数。"));
    EXPECT_EQ(wizard.max_load_field()->selectedText(), QStringLiteral("100001"));
    wizard.max_load_field()->setText(QStringLiteral("600"));
    wizard.grades_field()->setText(QStringLiteral("31"));
    EXPECT_EQ(refused_text(wizard), QStringLiteral("请输入一个介于 1 和 30 之间的整数。"));
    wizard.grades_field()->setText(QStringLiteral("6"));
    wizard.multiple_field()->setText(QStringLiteral("0"));
    EXPECT_EQ(refused_text(wizard), QStringLiteral("请输入一个介于 1 和 9 之间的整数。"));
    wizard.multiple_field()->setText(QStringLiteral("2"));
    wizard.load_field(11)->setText(QString());
    EXPECT_EQ(refused_text(wizard), QStringLiteral("请输入一个整数。"));
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_TRUE(ui_.shown().empty());  // the record rules were not reached
    EXPECT_EQ(wizard.result(), QDialog::Rejected);

    // Corrected, OK goes through with what was typed.
    wizard.load_field(11)->setText(QStringLiteral("45"));
    wizard.unloading_box()->setChecked(false);
    click_ok(&wizard);
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(wizard.input().max_load, 600);
    EXPECT_EQ(wizard.input().grades, 6);
    EXPECT_EQ(wizard.input().load_intervals[11], 45);
    EXPECT_FALSE(wizard.input().include_unloading);
}

// ---- File › New through the main window -------------------------------------

TEST_F(WizardTest, FileNewBuildsTheTestOfTheWizard) {
    make_frame();
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ASSERT_TRUE(doc().upload_enabled());
    ui_.clear_log();

    bool refused_stayed = false;
    when_modal<CNewFileWizard>([&](CNewFileWizard* wizard) {
        // A refusal first: the message, and the wizard is still there.
        wizard->load_field(3)->setText(QStringLiteral("0"));
        click_ok(wizard);
        refused_stayed = wizard->isVisible() && ui_.shown().size() == 1;
        wizard->load_field(3)->setText(QStringLiteral("20"));
        wizard->max_load_field()->setText(QStringLiteral("1000"));
        wizard->grades_field()->setText(QStringLiteral("5"));
        wizard->multiple_field()->setText(QStringLiteral("5"));
        click_ok(wizard);
        if (wizard->isVisible()) wizard->reject();  // never leave it open
    });
    ASSERT_TRUE(frame().run_command(kNew));
    EXPECT_TRUE(refused_stayed);

    // Grades 0 and P only, and the one unloading grade at 0.
    const CTestData& grades = doc().record().grades;
    EXPECT_EQ(grade_loads(grades), (std::vector<int>{0, 1000, 0}));
    EXPECT_EQ(grades.loading_grade_count(), 2);
    EXPECT_EQ(grades.reading_count(0), 1);
    EXPECT_EQ(grades.reading_count(1), 2);
    EXPECT_EQ(doc().record().test_params.load_intervals[3], 20);
    EXPECT_EQ(doc().record().header.load_intervals[3], 20);
    EXPECT_EQ(doc().record().header.max_load, 1000);
    EXPECT_EQ(doc().record().header.loading_grades, 5);
    EXPECT_EQ(doc().record().header.first_multiple, 5);

    // A new document: no path, no raw record, nothing to upload; modified,
    // so that it is not closed without a question.
    EXPECT_TRUE(doc().path().empty());
    EXPECT_EQ(title(), window_title("新文件.KVD"));
    EXPECT_EQ(doc().record().raw_count(), 0);
    EXPECT_FALSE(doc().upload_enabled());
    EXPECT_TRUE(doc().is_modified());
    EXPECT_FALSE(frame().action(kRestoreRawData)->isEnabled());
}

TEST_F(WizardTest, CancelledWizardKeepsTheDocument) {
    make_frame();
    const QString demo = copy("demo.PTX");
    ASSERT_TRUE(frame().open_file(demo));
    const std::vector<int> loads = grade_loads(doc().record().grades);

    when_modal<CNewFileWizard>([](CNewFileWizard* wizard) {
        wizard->grades_field()->setText(QStringLiteral("3"));
        wizard->reject();
    });
    EXPECT_FALSE(frame().run_command(kNew));
    EXPECT_EQ(grade_loads(doc().record().grades), loads);
    EXPECT_EQ(QString::fromStdString(doc().path()), demo);
    EXPECT_EQ(title(), window_title("demo.PTX"));
    EXPECT_FALSE(doc().is_modified());
    EXPECT_GT(doc().record().raw_count(), 0);
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(WizardTest, FileNewAsksToSaveAModifiedDocumentFirst) {
    make_frame();
    ASSERT_TRUE(frame().open_file(copy("demo.KVD")));
    ASSERT_TRUE(frame().run_command(kInvert));
    ASSERT_TRUE(doc().is_modified());
    const std::vector<int> loads = grade_loads(doc().record().grades);
    ui_.clear_log();

    // Cancel: no wizard (the watchdog would fail a wizard left open).
    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(frame().run_command(kNew));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "是否保存对“demo.KVD”的更改？");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNoCancel);
    EXPECT_TRUE(doc().is_modified());

    // No: the question comes before the wizard; the wizard's Cancel then
    // still keeps the modified document.
    ui_.queue_answer(MessageAnswer::kNo);
    std::size_t asked_before_wizard = 0;
    when_modal<CNewFileWizard>([&](CNewFileWizard* wizard) {
        asked_before_wizard = ui_.shown().size();
        wizard->reject();
    });
    EXPECT_FALSE(frame().run_command(kNew));
    EXPECT_EQ(asked_before_wizard, 2u);
    EXPECT_TRUE(doc().is_modified());
    EXPECT_EQ(grade_loads(doc().record().grades), loads);

    // No, then OK: the new test replaces it.
    ui_.queue_answer(MessageAnswer::kNo);
    when_modal<CNewFileWizard>([](CNewFileWizard* wizard) { click_ok(wizard); });
    EXPECT_TRUE(frame().run_command(kNew));
    EXPECT_EQ(ui_.shown().size(), 3u);
    EXPECT_EQ(
        grade_loads(doc().record().grades),
        (std::vector<int>{0, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 800, 600, 400, 200, 0}));
    EXPECT_EQ(title(), window_title("新文件.KVD"));
}

TEST_F(WizardTest, TheRefusalShowsARealMessageBoxOverTheWizard) {
    make_frame(true);
    QString message;
    QString caption;
    bool stayed = false;
    when_modal<CNewFileWizard>([&](CNewFileWizard* wizard) {
        wizard->grades_field()->setText(QStringLiteral("1"));  // below the first multiple 2
        when_modal<QMessageBox>(
            [&](QMessageBox* box) {
                message = box->text();
                caption = box->windowTitle();
                box->button(QMessageBox::Ok)->click();
            },
            wizard);
        click_ok(wizard);
        stayed = wizard->isVisible();
        wizard->reject();
    });
    EXPECT_FALSE(frame().run_command(kNew));
    EXPECT_EQ(message, QString::fromUtf8(kWizardInputError.data(),
                                         static_cast<qsizetype>(kWizardInputError.size())));
    EXPECT_EQ(caption, QStringLiteral("错误"));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(doc().record().grades.grade_count(), 16);  // still the template
}

// ---- the channel setup dialog -----------------------------------------------

class ChannelSetupTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame();
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
        ui_.clear_log();
    }

    CWeiYiView& displacement_page() {
        return *qobject_cast<CWeiYiView*>(frame().parameter_sheet().page(1));
    }
};

TEST_F(ChannelSetupTest, TheToolsMenuOffersIt) {
    QAction* item = frame().action(kChannelSetup);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), QStringLiteral("位移通道设置(&C)..."));
    EXPECT_EQ(item->statusTip(), QStringLiteral("设置各位移通道的测试用途和锚桩编号"));
    EXPECT_TRUE(item->isEnabled());
    QMenu* tools = nullptr;
    for (QAction* menu : frame().menuBar()->actions()) {
        if (menu->text() == QStringLiteral("工具(&T)")) tools = menu->menu();
    }
    ASSERT_TRUE(tools);
    EXPECT_TRUE(tools->actions().contains(item));
}

TEST_F(ChannelSetupTest, ShowsTheRolesAndNumbersOfTheTest) {
    doc().record().test_params.anchor_pile_number[4] = "M-2";
    QStringList roles;
    QStringList numbers;
    QList<bool> enabled;
    QStringList items;
    QList<bool> enabled_after;
    when_modal<CChannelSetupDialog>([&](CChannelSetupDialog* dialog) {
        keep_picture(dialog, "channel_setup_dialog.png");
        for (int i = 0; i < dialog->role_box(0)->count(); ++i)
            items << dialog->role_box(0)->itemText(i);
        for (int row = 0; row < kChannelSetupRows; ++row) {
            roles << dialog->role_box(row)->currentText();
            numbers << dialog->number_field(row)->text();
            enabled << dialog->number_field(row)->isEnabled();
        }
        // The number box follows the role.
        dialog->role_box(0)->setCurrentIndex(2);
        enabled_after << dialog->number_field(0)->isEnabled();
        dialog->role_box(4)->setCurrentIndex(1);
        enabled_after << dialog->number_field(4)->isEnabled();
        dialog->role_box(0)->setCurrentIndex(0);
        enabled_after << dialog->number_field(0)->isEnabled();
        dialog->reject();
    });
    EXPECT_FALSE(frame().run_command(kChannelSetup));

    EXPECT_EQ(items, QStringList({"未用", "沉降测试", "上拔测试"}));
    // The demo: four gauges on the test pile, two on anchor piles.
    EXPECT_EQ(roles.mid(0, 6), QStringList({"沉降测试", "沉降测试", "沉降测试", "沉降测试",
                                            "上拔测试", "上拔测试"}));
    for (int row = 6; row < kChannelSetupRows; ++row) EXPECT_EQ(roles.value(row), "未用") << row;
    EXPECT_EQ(numbers.value(4), QStringLiteral("M-2"));
    EXPECT_EQ(numbers.value(5), QString());
    for (int row = 0; row < kChannelSetupRows; ++row) {
        EXPECT_EQ(enabled.value(row), row == 4 || row == 5) << row;
    }
    EXPECT_EQ(enabled_after, QList<bool>({true, false, false}));
    // Cancel changed nothing.
    EXPECT_FALSE(doc().is_modified());
    EXPECT_EQ(doc().record().test_params.channel_role[0], ChannelRole::kTestPile);
    EXPECT_EQ(doc().record().test_params.channel_role[4], ChannelRole::kAnchorPile);
}

TEST_F(ChannelSetupTest, OkStoresTheRolesAndRecomputesTheSettlements) {
    doc().refresh_derived();
    const SamplePoint before = *doc().record().grades.get_reading(3, 1);
    ASSERT_DOUBLE_EQ(before.settlement, round2((before.channel[0] + before.channel[1] +
                                                before.channel[2] + before.channel[3]) /
                                               4));
    ASSERT_TRUE(displacement_page().row(1).in_use->isChecked());

    when_modal<CChannelSetupDialog>([](CChannelSetupDialog* dialog) {
        dialog->role_box(1)->setCurrentIndex(0);  // channel 2 unused
        dialog->role_box(6)->setCurrentIndex(2);  // channel 7 on an anchor pile
        dialog->number_field(6)->setText(QStringLiteral("锚桩M-7"));
        click_ok(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    ASSERT_TRUE(frame().run_command(kChannelSetup));

    const TestParams& params = doc().record().test_params;
    EXPECT_EQ(params.channel_role[1], ChannelRole::kUnused);
    EXPECT_EQ(params.averaged[1], 0);
    EXPECT_EQ(params.channel_role[6], ChannelRole::kAnchorPile);
    EXPECT_EQ(params.anchor_pile_number[6], "锚桩M-7");
    EXPECT_EQ(params.channel_role[0], ChannelRole::kTestPile);
    EXPECT_TRUE(doc().is_modified());
    EXPECT_EQ(title(), window_title("demo.PTX"));

    // Channels 1, 3 and 4 make the settlement now.
    const SamplePoint after = *doc().record().grades.get_reading(3, 1);
    EXPECT_DOUBLE_EQ(after.settlement,
                     round2((after.channel[0] + after.channel[2] + after.channel[3]) / 3));
    EXPECT_NE(after.settlement, before.settlement);

    // The displacement page shows the new setup.
    EXPECT_FALSE(displacement_page().row(1).in_use->isChecked());
    EXPECT_TRUE(displacement_page().row(6).in_use->isChecked());
    EXPECT_EQ(displacement_page().row(6).purpose->checkedId(), 0);  // 锚桩
}

TEST_F(ChannelSetupTest, CancelChangesNothing) {
    const TestHeader header = doc().record().header;
    const ChannelSetup setup = doc().channel_setup();
    when_modal<CChannelSetupDialog>([](CChannelSetupDialog* dialog) {
        dialog->role_box(0)->setCurrentIndex(0);
        dialog->role_box(7)->setCurrentIndex(2);
        dialog->number_field(7)->setText(QStringLiteral("M-8"));
        dialog->reject();
    });
    EXPECT_FALSE(frame().run_command(kChannelSetup));
    EXPECT_FALSE(doc().is_modified());
    const ChannelSetup now = doc().channel_setup();
    EXPECT_EQ(now.roles, setup.roles);
    EXPECT_EQ(now.anchor_pile_numbers, setup.anchor_pile_numbers);
    EXPECT_EQ(std::memcmp(&doc().record().header, &header, sizeof header), 0);
}

}  // namespace
}  // namespace kvd::testing
