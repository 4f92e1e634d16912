// The rendering tests need a QGuiApplication (fonts, painting); kvd_test runs
// them on the offscreen platform.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "qt/font_setup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    kvd::install_font_substitutions();
    return RUN_ALL_TESTS();
}
