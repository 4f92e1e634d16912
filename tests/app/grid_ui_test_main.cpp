// The table window tests need a QApplication (widgets); kvd_test runs them on
// the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "qt/font_setup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kvd::install_font_substitutions();
    return RUN_ALL_TESTS();
}
