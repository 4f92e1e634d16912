// The program started as `kvd FILE` is started, with the application object
// of the program itself: a file named on the command line that cannot be
// opened is reported, and the main window then opens on a new document.
// One application object per process, so this program has its own main.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "app/frame/lbx_app.h"
#include "app/frame/main_frame.h"
#include "app/modal_driver.h"

namespace kvd::testing {
namespace {

CLbxApp* program = nullptr;

TEST(StartUp, AFileThatCannotBeOpenedIsReportedAndTheWindowOpensOnANewDocument) {
    QString said;
    when_modal<QMessageBox>([&said](QMessageBox* box) {
        said = box->text();
        keep_picture(box, "startup_missing_file.png");
        box->accept();
    });
    const std::optional<int> code = program->start();
    EXPECT_FALSE(code.has_value()) << "the program ended with " << code.value_or(0);
    EXPECT_TRUE(said.contains(QStringLiteral("foo.PTX"))) << said.toStdString();

    CMainFrame* frame = program->main_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("新文件.KVD - ROzadazoza"));
    EXPECT_FALSE(frame->document().is_modified());
    EXPECT_GT(frame->document().record().grades.grade_count(), 0);
}

}  // namespace
}  // namespace kvd::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings_dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_dir.path());
    // The program's own command line, not the test runner's.
    char program_name[] = "kvd";
    char no_splash[] = "--nosplash";
    char missing_file[] = "/nonexistent/foo.PTX";
    char* program_argv[] = {program_name, no_splash, missing_file, nullptr};
    int program_argc = 3;
    kvd::CLbxApp app(program_argc, program_argv);
    kvd::testing::program = &app;
    return RUN_ALL_TESTS();
}
