// The settings in a real settings file: Chinese sections and keys survive a
// reopen, damaged values give the defaults, a file that cannot be written is
// reported.

#include "qt/qt_settings_backend.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace kvd::testing {
namespace {

TEST(QtSettingsBackendTest, RoundTripThroughTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KVD.ini"));
    DocumentSettings written = default_document_settings();
    written.curve_style.lines.unload_colour = style_rgb(0, 200, 0);
    written.curve_style.frame.tick_font = "宋体";
    written.page_setup.header_text = "某某检测有限公司";
    written.print_content.curve_layout = 1;
    written.calibration_folder = "/srv/率定表文件";
    {
        QSettings settings(path, QSettings::IniFormat);
        QtSettingsBackend backend(settings);
        EXPECT_TRUE(SettingsStore(backend).write(written));
    }
    QSettings reopened(path, QSettings::IniFormat);
    QtSettingsBackend backend(reopened);
    EXPECT_EQ(backend.read_int("图形样式", "卸载曲线颜色"), 200 * 256);
    const DocumentSettings read = SettingsStore(backend).read();
    EXPECT_EQ(read.curve_style, written.curve_style);
    EXPECT_EQ(read.page_setup.header_text, "某某检测有限公司");
    EXPECT_EQ(read.print_content.curve_layout, 1);
    EXPECT_EQ(read.calibration_folder, "/srv/率定表文件");
}

TEST(QtSettingsBackendTest, ValuesEditedByHandIntoNonsenseGiveTheDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KVD.ini"));
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("打印选项/打印版式"), QStringLiteral("三"));
        settings.setValue(QStringLiteral("页面设置/表格行高"), QStringLiteral("1e9"));
        settings.setValue(QStringLiteral("图形样式/作图点直径"), QStringLiteral(" 20 "));
    }
    QSettings settings(path, QSettings::IniFormat);
    QtSettingsBackend backend(settings);
    const DocumentSettings read = SettingsStore(backend).read();
    EXPECT_EQ(read.print_content.curve_layout, 3);
    EXPECT_EQ(read.page_setup.row_height, 60);
    EXPECT_EQ(read.curve_style.lines.point_diameter, 20);
}

TEST(QtSettingsBackendTest, AFileThatCannotBeWrittenIsReported) {
    QTemporaryDir dir;
    // A folder where the file should be.
    const QString path = dir.filePath(QStringLiteral("KVD.ini"));
    ASSERT_TRUE(QDir().mkpath(path));
    QSettings settings(path, QSettings::IniFormat);
    QtSettingsBackend backend(settings);
    EXPECT_FALSE(SettingsStore(backend).write(default_document_settings()));
}

}  // namespace
}  // namespace kvd::testing
