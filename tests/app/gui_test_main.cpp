// Every GUI test program needs a QApplication (widgets) and must never touch
// the user's settings: every QSettings of the run lives in a temporary
// folder. kvd_test runs them on the offscreen platform. Qt's own texts are
// Chinese, as the program makes them at start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

#include "app/frame/lbx_app.h"
#include "qt/font_setup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTemporaryDir settings_dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_dir.path());
    kvd::install_font_substitutions();
    if (!kvd::install_qt_translations(app)) {
        std::fprintf(stderr, "Qt's Chinese translations (qtbase_zh_CN.qm) are not installed\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
