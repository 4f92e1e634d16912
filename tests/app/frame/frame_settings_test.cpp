// The start-up command line, the recent-file list and the settings of the
// main window (section "主窗口", the recent files), read back through
// QSettings as the file on disk holds them.

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <set>

#include "app/frame/app_settings.h"
#include "app/frame/recent_files.h"
#include "app/frame/start_options.h"

namespace kvd::testing {
namespace {

QSettings user_settings() {
    return QSettings(QString::fromUtf8(kSettingsOrganisation),
                     QString::fromUtf8(kSettingsApplication));
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { user_settings().clear(); }
    void TearDown() override { user_settings().clear(); }
};

TEST(StartOptionsTest, ReadsTheFileTheSplashSwitchAndEveryGrabOption) {
    StartOptions plain = parse_start_options({});
    EXPECT_TRUE(plain.ok());
    EXPECT_TRUE(plain.splash);
    EXPECT_TRUE(plain.file.empty());
    EXPECT_FALSE(plain.grab);

    StartOptions nosplash = parse_start_options({"--nosplash", "a b.PTX"});
    EXPECT_TRUE(nosplash.ok());
    EXPECT_FALSE(nosplash.splash);
    EXPECT_EQ(nosplash.file, "a b.PTX");

    StartOptions grab =
        parse_start_options({"--grab", "out.png", "--curve", "slgq", "--table", "changes", "--page",
                             "4", "--size", "900x700", "demo.PTX"});
    ASSERT_TRUE(grab.ok()) << grab.error;
    ASSERT_TRUE(grab.grab);
    EXPECT_FALSE(grab.splash);  // a grab never shows the splash
    EXPECT_EQ(grab.file, "demo.PTX");
    EXPECT_EQ(grab.grab->output, "out.png");
    EXPECT_EQ(grab.grab->curve, CurveKind::kSlgQ);
    EXPECT_EQ(grab.grab->table, TableKind::kChanges);
    EXPECT_EQ(grab.grab->page, 4);
    EXPECT_EQ(grab.grab->width, 900);
    EXPECT_EQ(grab.grab->height, 700);

    StartOptions defaults = parse_start_options({"--grab", "out.png"});
    ASSERT_TRUE(defaults.grab);
    EXPECT_FALSE(defaults.grab->curve);
    EXPECT_FALSE(defaults.grab->table);
    EXPECT_EQ(defaults.grab->width, 1280);
    EXPECT_EQ(defaults.grab->height, 800);
}

TEST(StartOptionsTest, KnowsEveryDialogByTheNameTheUsageGivesIt) {
    const std::string usage = start_usage();
    std::set<std::string> names;
    for (GrabDialog dialog :
         {GrabDialog::kAbout, GrabDialog::kOpen, GrabDialog::kCalibration, GrabDialog::kPaper,
          GrabDialog::kPageNumbers, GrabDialog::kCurvePrinting, GrabDialog::kTablePrinting,
          GrabDialog::kPrintPreview, GrabDialog::kWordOptions, GrabDialog::kUpload,
          GrabDialog::kGroup}) {
        const std::string name = grab_dialog_name(dialog);
        EXPECT_TRUE(names.insert(name).second) << name << " twice";
        EXPECT_NE(usage.find(name), std::string::npos) << name << " not in the usage";
        const StartOptions options =
            parse_start_options({"--grab", "out.png", "--dialog", name, "demo.PTX"});
        ASSERT_TRUE(options.ok()) << name << ": " << options.error;
        EXPECT_EQ(options.grab->dialog, dialog) << name;
    }
    EXPECT_FALSE(parse_start_options({"--grab", "o.png", "--dialog", "options"}).ok());
    EXPECT_FALSE(parse_start_options({"--dialog", "upload", "demo.PTX"}).ok());
    // The group statistics take several files, the other dialogs one.
    const StartOptions group =
        parse_start_options({"--grab", "o.png", "a.PTX", "--dialog", "group", "b.PTX", "c.KVD"});
    ASSERT_TRUE(group.ok()) << group.error;
    EXPECT_EQ(group.grab->files, (std::vector<std::string>{"a.PTX", "b.PTX", "c.KVD"}));
    EXPECT_FALSE(
        parse_start_options({"--grab", "o.png", "--dialog", "open", "a.PTX", "b.PTX"}).ok());
}

TEST(StartOptionsTest, RefusesWhatItDoesNotUnderstand) {
    const std::vector<std::vector<std::string>> bad = {
        {"--grab"},                                // no output
        {"--grab", "o.png", "--curve", "q-s"},     // unknown curve
        {"--grab", "o.png", "--table", "gather"},  // unknown table
        {"--grab", "o.png", "--page", "5"},        // page out of range
        {"--grab", "o.png", "--page", "-1"},
        {"--grab", "o.png", "--size", "1280"},   // no height
        {"--grab", "o.png", "--size", "10x10"},  // too small to lay out
        {"--grab", "o.png", "--size", "99999999x800"},
        {"--curve", "qs", "demo.PTX"},  // a grab option without --grab
        {"--help"},                     // unknown option
        {"one.PTX", "two.PTX"},         // one document at a time
    };
    for (const auto& args : bad) {
        const StartOptions options = parse_start_options(args);
        EXPECT_FALSE(options.ok()) << args.front() << " " << args.back();
    }
}

TEST(RecentFileListTest, KeepsFourFilesMostRecentFirstEachOnce) {
    RecentFileList list;
    for (const char* name : {"/d/1.KVD", "/d/2.KVD", "/d/3.KVD", "/d/4.KVD"}) list.add(name);
    EXPECT_EQ(list.files(), QStringList({"/d/4.KVD", "/d/3.KVD", "/d/2.KVD", "/d/1.KVD"}));
    list.add("/d/2.KVD");  // again: moves to the front, not twice
    EXPECT_EQ(list.files(), QStringList({"/d/2.KVD", "/d/4.KVD", "/d/3.KVD", "/d/1.KVD"}));
    list.add("/d/5.KVD");  // the oldest drops out
    EXPECT_EQ(list.files(), QStringList({"/d/5.KVD", "/d/2.KVD", "/d/4.KVD", "/d/3.KVD"}));
    list.add("/d/x/../3.KVD");  // the same file by another spelling
    EXPECT_EQ(list.files().front(), "/d/3.KVD");
    EXPECT_EQ(list.files().size(), 4);
    list.remove("/d/5.KVD");
    EXPECT_EQ(list.files(), QStringList({"/d/3.KVD", "/d/2.KVD", "/d/4.KVD"}));

    // A stored list comes back in the same order.
    EXPECT_EQ(RecentFileList(list.files()).files(), list.files());
}

TEST(RecentFileListTest, MenuTextNumbersEscapesAndShortens) {
    EXPECT_EQ(RecentFileList::menu_text(0, "/d/a&b.PTX"), "&1 /d/a&&b.PTX");
    const QString long_path = "/" + QString(100, QLatin1Char('x')) + "/demo.PTX";
    const QString text = RecentFileList::menu_text(3, long_path);
    EXPECT_TRUE(text.startsWith("&4 /xx"));
    EXPECT_TRUE(text.endsWith("x/demo.PTX"));  // the file name stays readable
    EXPECT_TRUE(text.contains("..."));
    EXPECT_LE(text.size(), 3 + 60);
}

TEST_F(SettingsTest, PlacementOnlyWhenAllFiveValuesExist) {
    AppSettings settings;
    EXPECT_FALSE(settings.placement());
    const char* keys[] = {"主窗口/状态", "主窗口/顶", "主窗口/左", "主窗口/底", "主窗口/右"};
    for (int missing = 0; missing < 5; ++missing) {
        QSettings stored = user_settings();
        stored.clear();
        for (int k = 0; k < 5; ++k) {
            if (k != missing) stored.setValue(QString::fromUtf8(keys[k]), 10 * (k + 1));
        }
        stored.sync();
        EXPECT_FALSE(settings.placement()) << keys[missing];
    }
    {
        QSettings stored = user_settings();
        stored.setValue(QString::fromUtf8("主窗口/右"), 50);
        stored.setValue(QString::fromUtf8("主窗口/底"), "not a number");
    }
    EXPECT_FALSE(settings.placement());  // a value that is no number counts as missing

    const WindowPlacement placement{kShowMaximized, 20, 10, 620, 810};
    settings.set_placement(placement);
    settings.sync();
    EXPECT_EQ(settings.placement(), placement);
    EXPECT_EQ(user_settings().value(QString::fromUtf8("主窗口/状态")).toInt(), 3);
    EXPECT_EQ(user_settings().value(QString::fromUtf8("主窗口/右")).toInt(), 810);
}

TEST_F(SettingsTest, PaneSizesDefaultEachMissingValue) {
    AppSettings settings;
    EXPECT_EQ(settings.pane_sizes(), (PaneSizes{700, 0, 0, 370}));
    {
        QSettings stored = user_settings();
        stored.setValue(QString::fromUtf8("主窗口/右上窗口高"), 222);
    }
    EXPECT_EQ(settings.pane_sizes(), (PaneSizes{700, 0, 0, 222}));
    settings.set_pane_sizes({640, 500, 560, 300});
    settings.sync();
    EXPECT_EQ(user_settings().value(QString::fromUtf8("主窗口/左边窗口宽")).toInt(), 640);
    EXPECT_EQ(user_settings().value(QString::fromUtf8("主窗口/左边窗口高")).toInt(), 500);
    EXPECT_EQ(user_settings().value(QString::fromUtf8("主窗口/右上窗口宽")).toInt(), 560);
    EXPECT_EQ(AppSettings().pane_sizes(), (PaneSizes{640, 500, 560, 300}));
}

TEST_F(SettingsTest, RecentFilesRoundTripAndTransientSettingsStoreNothing) {
    AppSettings settings;
    settings.set_recent_files({"/d/b.KVD", "/d/a.PTX"});
    settings.sync();
    EXPECT_EQ(AppSettings().recent_files(), QStringList({"/d/b.KVD", "/d/a.PTX"}));
    settings.set_recent_files({"/d/c.KVD"});  // fewer entries: the old ones go
    settings.sync();
    EXPECT_EQ(AppSettings().recent_files(), QStringList({"/d/c.KVD"}));

    const auto transient = AppSettings::transient();
    EXPECT_TRUE(transient->recent_files().isEmpty());
    EXPECT_FALSE(transient->placement());
    transient->set_pane_sizes({1, 2, 3, 4});
    transient->set_placement({kShowNormal, 1, 2, 3, 4});
    transient->sync();
    EXPECT_EQ(transient->pane_sizes(), PaneSizes{});
    EXPECT_FALSE(user_settings().contains(QString::fromUtf8("主窗口/左边窗口宽")));
}

}  // namespace
}  // namespace kvd::testing
