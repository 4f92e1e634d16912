// The help menu: the manual (F1, Shift+F1), the support page, the two update
// checks and the about box. A recording launcher stands in for the browser
// and the updater, so nothing is opened or started.

#include <gtest/gtest.h>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "app/frame/desktop_launcher.h"
#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/frame/help_commands.h"
#include "doc/help_settings.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

class RecordingLauncher : public DesktopLauncher {
public:
    bool open_url(const QUrl& url) override {
        urls.push_back(url);
        return url_opens;
    }
    bool start_program(const QString& program, const QStringList& arguments,
                       int& error_code) override {
        programs.push_back(program);
        last_arguments = arguments;
        error_code = start_error;
        return start_error == 0;
    }
    std::vector<QUrl> urls;
    std::vector<QString> programs;
    QStringList last_arguments;
    bool url_opens = true;
    int start_error = 0;
};

class HelpCommandsTest : public FrameTest {
protected:
    CMainFrame& frame_with_launcher() {
        CMainFrame& main = make_frame();
        main.set_launcher(&launcher_);
        return main;
    }
    RecordingLauncher launcher_;
};

TEST_F(HelpCommandsTest, F1AndShiftF1OpenTheManualInTheBrowser) {
    CMainFrame& main = frame_with_launcher();
    QAction* help = main.action(kHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isEnabled());
    EXPECT_TRUE(help->shortcuts().contains(QKeySequence(Qt::Key_F1)));
    EXPECT_TRUE(help->shortcuts().contains(QKeySequence(Qt::SHIFT | Qt::Key_F1)));

    ASSERT_TRUE(activate(&main));
    QTest::keyClick(&main, Qt::Key_F1);
    QTest::keyClick(&main, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(launcher_.urls.size(), 2u);
    for (const QUrl& url : launcher_.urls) {
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_TRUE(url.toLocalFile().endsWith(QStringLiteral("/share/kvd/manual/index.html")))
            << url.toString().toStdString();
        // The manual is made with the program, with its pictures.
        EXPECT_TRUE(QFileInfo::exists(url.toLocalFile()));
    }
    EXPECT_TRUE(
        QFileInfo::exists(manual_folder() + QStringLiteral("/images/calibration_tool.png")));
    EXPECT_TRUE(ui_.shown().empty());

    // A browser that cannot be started is reported.
    launcher_.url_opens = false;
    EXPECT_FALSE(main.run_command(kHelp));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
}

TEST_F(HelpCommandsTest, SupportOpensTheConfiguredAddressOrTheManualsSupportPage) {
    CMainFrame& main = frame_with_launcher();
    EXPECT_TRUE(main.run_command(kSupportPage));
    ASSERT_EQ(launcher_.urls.size(), 1u);
    EXPECT_TRUE(launcher_.urls[0].toLocalFile().endsWith(QStringLiteral("/manual/support.html")));

    user_settings().setValue(QStringLiteral("帮助/技术支持网址"),
                             QStringLiteral("https://support.example.invalid/kvd"));
    EXPECT_TRUE(main.run_command(kSupportPage));
    ASSERT_EQ(launcher_.urls.size(), 2u);
    EXPECT_EQ(launcher_.urls[1], QUrl(QStringLiteral("https://support.example.invalid/kvd")));
}

TEST_F(HelpCommandsTest, UpdateChecksStartTheConfiguredUpdaterOrSayWhereUpdatesComeFrom) {
    CMainFrame& main = frame_with_launcher();
    // No updater: said plainly, nothing started.
    EXPECT_FALSE(main.run_command(kAnalysisUpdate));
    EXPECT_FALSE(main.run_command(kTesterUpdate));
    EXPECT_TRUE(launcher_.programs.empty());
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[0].text, kMessageNoUpdaterForAnalysis);
    EXPECT_EQ(ui_.shown()[1].text, kMessageNoUpdaterForTester);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kInformation);

    user_settings().setValue(QStringLiteral("帮助/更新程序"), QStringLiteral("kvd-updater"));
    user_settings().setValue(QStringLiteral("帮助/更新列表网址"),
                             QStringLiteral("https://example.invalid/update.txt"));
    ui_.clear_log();
    EXPECT_TRUE(main.run_command(kAnalysisUpdate));
    ASSERT_EQ(launcher_.programs.size(), 1u);
    EXPECT_EQ(launcher_.programs[0], QStringLiteral("kvd-updater"));
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    EXPECT_EQ(launcher_.last_arguments,
              (QStringList{"KVD", "14.070700", "https://example.invalid/update.txt", folder}));
    EXPECT_TRUE(main.run_command(kTesterUpdate));
    EXPECT_EQ(launcher_.last_arguments,
              (QStringList{"PTX", "0.0", "https://example.invalid/update.txt", folder}));
    EXPECT_TRUE(ui_.shown().empty());

    // An updater that cannot be started: its code.
    launcher_.start_error = kLaunchFileNotFound;
    EXPECT_FALSE(main.run_command(kAnalysisUpdate));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "错误代码 ： 2");
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
}

TEST_F(HelpCommandsTest, SystemLauncherReportsAProgramItCannotStart) {
    SystemLauncher system;
    int code = 0;
    EXPECT_FALSE(system.start_program(QStringLiteral("kvd-no-such-updater-program"), {}, code));
    EXPECT_EQ(code, kLaunchFileNotFound);
    // A file that is not a program may not be run.
    const QString plain = path("notes.txt");
    ASSERT_TRUE(write_bytes(plain, "text"));
    EXPECT_FALSE(system.start_program(plain, {}, code));
    EXPECT_EQ(code, kLaunchAccessDenied);
}

TEST_F(HelpCommandsTest, AboutBoxNamesTheProductAndItsVersion) {
    CMainFrame& main = frame_with_launcher();
    auto texts = std::make_shared<QStringList>();
    when_modal<QDialog>([texts](QDialog* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) *texts << label->text();
        }
        *texts << dialog->windowTitle();
        keep_picture(dialog, "about_dialog.png");
        dialog->accept();
    });
    EXPECT_TRUE(main.run_command(kAbout));
    EXPECT_EQ(*texts, (QStringList{"ROzadazoza", "版本：KV 18.0528 for kN and kPa", "关于 KVD"}));
}

TEST_F(HelpCommandsTest, NoMenuCommandOfThisIssueIsLeftDisabled) {
    CMainFrame& main = frame_with_launcher();
    for (int command :
         {kCalibrationTool, kHelp, kSupportPage, kAnalysisUpdate, kTesterUpdate, kAbout, kOpen}) {
        ASSERT_NE(main.action(command), nullptr) << command;
        EXPECT_TRUE(main.action(command)->isEnabled()) << command;
    }
}

}  // namespace
}  // namespace kvd::testing
