#include "qt/font_setup.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include "ink.h"
#include "qt/qt_font_metrics.h"

namespace kvd {
namespace {

Font face(const char* name, int height) {
    Font font;
    font.face = name;
    font.height = height;
    return font;
}

// The families that really draw `text` in `font`, in order of use.
QStringList drawing_families(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList families;
    for (const QGlyphRun& run : layout.glyphRuns()) families << run.rawFont().familyName();
    return families;
}

TEST(FontSetupTest, ProgramFacesResolveToTheirInstalledStandIns) {
    install_font_substitutions();
    install_font_substitutions();  // a second call changes nothing
    EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("宋体"))).family().contains("Noto Serif CJK"));
    EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("SimSun"))).family().contains("Noto Serif CJK"));
    EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("黑体"))).family().contains("Noto Sans CJK"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Times New Roman"))).family(), "Liberation Serif");
    EXPECT_EQ(chinese_serif_family(), "Noto Serif CJK SC");

    // Chinese in a Latin face comes from the Chinese serif stand-in, never from
    // a face fontconfig happens to prefer.
    const DeviceFont times = make_device_font(face("Times New Roman", 40), 1.0, nullptr);
    const QStringList latin = drawing_families(times.font, QStringLiteral("Q-s 12.34"));
    ASSERT_EQ(latin.size(), 1) << latin;
    EXPECT_EQ(latin.front().toLower(), "liberation serif");
    const QStringList mixed = drawing_families(times.font, QStringLiteral("Q 工程名称"));
    EXPECT_EQ(mixed.size(), 2) << mixed;
    EXPECT_TRUE(mixed.contains("Liberation Serif", Qt::CaseInsensitive)) << mixed;
    EXPECT_TRUE(mixed.contains("Noto Serif CJK SC", Qt::CaseInsensitive)) << mixed;
    const DeviceFont song = make_device_font(face("宋体", 40), 1.0, nullptr);
    const QStringList chinese = drawing_families(song.font, QStringLiteral("工程名称：测试"));
    ASSERT_EQ(chinese.size(), 1) << chinese;
    EXPECT_EQ(chinese.front().toLower(), "noto serif cjk sc");
}

TEST(FontSetupTest, SizesFollowTheNamedFaceNotTheStandIn) {
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(10000);  // 254 dpi
    device.setDotsPerMeterY(10000);

    // 宋体's cell is its em: a 100-unit cell is a 100-pixel em, although Noto
    // Serif CJK's own cell is some 1.44 em.
    const DeviceFont song = make_device_font(face("宋体", 100), 1.0, &device);
    EXPECT_DOUBLE_EQ(song.cell_height, 100.0);
    EXPECT_NEAR(QFontInfo(QFont(song.font, &device)).pixelSize(), 100, 1);
    EXPECT_NEAR(song.ascent, 85.9, 0.1);
    EXPECT_NEAR(song.average_char_width, 50.0, 0.1);

    // Times New Roman: em = 2048 / 2268 of the cell.
    const DeviceFont times = make_device_font(face("Times New Roman", 100), 2.0, &device);
    EXPECT_DOUBLE_EQ(times.cell_height, 200.0);
    EXPECT_NEAR(QFontMetricsF(times.font, &device).height(), 200.0, 3.0);

    // A negative height is the character (em) height, as in a Windows font.
    const DeviceFont em = make_device_font(face("Times New Roman", -90), 1.0, &device);
    EXPECT_NEAR(em.cell_height, 90.0 * 2268 / 2048, 0.01);

    Font bold = face("宋体", 40);
    bold.weight = 700;
    bold.italic = true;
    bold.underline = true;
    const DeviceFont styled = make_device_font(bold, 1.0, nullptr);
    EXPECT_TRUE(styled.font.bold());
    EXPECT_TRUE(styled.font.italic());
    EXPECT_TRUE(styled.font.underline());
}

TEST(FontSetupTest, ScreenMetricsInTheFontsOwnUnits) {
    const QtFontMetrics metrics;
    // 宋体: half-width Latin, full-width Chinese, no external leading.
    EXPECT_EQ(metrics.average_char_width(face("宋体", 12)), 6);
    EXPECT_EQ(metrics.line_height(face("宋体", 12)), 12);
    EXPECT_EQ(metrics.text_extent(face("宋体", 40), "工程名称"), (Size{160, 40}));
    // Times New Roman keeps its line gap (87 of 2268).
    EXPECT_EQ(metrics.line_height(face("Times New Roman", 100)), 104);
    // Ten digits of half an em each, at the whole-pixel em of 90.
    EXPECT_NEAR(metrics.text_extent(face("Times New Roman", 100), "0123456789").cx, 450, 3);

    // The same answers, in the same units, when measured at four times the size.
    const QtFontMetrics fine(4.0);
    EXPECT_EQ(fine.text_extent(face("宋体", 40), "工程名称"), (Size{160, 40}));
    EXPECT_NEAR(fine.text_extent(face("Times New Roman", 100), "0123456789").cx, 452, 2);
}

}  // namespace
}  // namespace kvd
