// The document's stored settings: defaults on a machine without any, the
// round trip, values that cannot be used, and "恢复默认值".

#include "doc/settings_store.h"

#include <gtest/gtest.h>

#include "doc/option_fields.h"
#include "doc/page_setup_rules.h"

namespace kvd::testing {
namespace {

TEST(SettingsStoreTest, NothingStoredGivesAFreshInstallation) {
    MemorySettings memory;
    const DocumentSettings read = SettingsStore(memory).read(style_rgb(1, 2, 3));
    EXPECT_EQ(read.curve_style.lines.load_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(read.curve_style.lines.unload_colour, style_rgb(255, 0, 0));
    EXPECT_EQ(read.curve_style.frame.background, style_rgb(1, 2, 3));
    EXPECT_EQ(read.page_setup.paper_width, 2100);
    EXPECT_EQ(read.page_setup.row_height, 60);
    EXPECT_EQ(read.print_content.zero_minute_rows, 1);
    EXPECT_EQ(read.print_content.curve_layout, 3);
    EXPECT_EQ(read.print_content.sign_off, 2);
    EXPECT_TRUE(read.test_folder.empty());
}

TEST(SettingsStoreTest, WhatIsWrittenIsReadBackUnderTheSectionsKeys) {
    MemorySettings memory;
    DocumentSettings settings = default_document_settings();
    settings.curve_style.lines.load_colour = style_rgb(10, 20, 30);
    settings.curve_style.lines.point_diameter = 21;
    settings.curve_style.frame.title_font = "宋体";
    settings.page_setup.left_margin = 300;
    settings.page_setup.footer_text = "第 页";
    settings.print_content.raw_record = 0;
    settings.print_content.table_title = 7;
    settings.test_folder = "/home/测试/数据";
    SettingsStore store(memory);
    ASSERT_TRUE(store.write(settings));

    // Colours as one integer, red in the low byte.
    EXPECT_EQ(memory.read_int("图形样式", "加载曲线颜色"), 30 * 65536 + 20 * 256 + 10);
    EXPECT_EQ(memory.read_text("图形样式", "标题字体"), "宋体");
    EXPECT_EQ(memory.read_int("页面设置", "左边距"), 300);
    EXPECT_EQ(memory.read_int("打印选项", "原始数据"), 0);
    EXPECT_EQ(memory.read_int("打印选项", "表格标题"), 7);

    const DocumentSettings read = store.read();
    EXPECT_EQ(read.curve_style, settings.curve_style);
    EXPECT_EQ(read.page_setup.left_margin, 300);
    EXPECT_EQ(read.page_setup.footer_text, "第 页");
    EXPECT_EQ(read.print_content.raw_record, 0);
    EXPECT_EQ(read.print_content.table_title, 7);
    EXPECT_EQ(read.test_folder, "/home/测试/数据");
}

TEST(SettingsStoreTest, ValuesTheProgramCannotUseGiveTheDefaults) {
    MemorySettings memory;
    memory.write_int("图形样式", "作图点直径", -1);
    memory.write_int("图形样式", "加载曲线线型", 99);
    memory.write_int("图形样式", "标题颜色", -1);
    memory.write_text("图形样式", "标记值字体", "");
    memory.write_int("页面设置", "表格行高", 0);
    memory.write_int("页面设置", "纸张宽度", 2100);
    memory.write_int("页面设置", "左边距", 1000);
    memory.write_int("页面设置", "右边距", 1000);
    memory.write_int("页面设置", "上边距", 400);
    memory.write_int("打印选项", "打印版式", 4);
    memory.write_int("打印选项", "表格标题", 8);
    memory.write_text("打印选项", "汇总表", "1");  // a text where a number belongs
    const DocumentSettings read = SettingsStore(memory).read();
    const DocumentSettings fresh = default_document_settings();
    EXPECT_EQ(read.curve_style, fresh.curve_style);
    EXPECT_EQ(read.page_setup.row_height, 60);
    // Margins wider than the paper: all four from the defaults.
    EXPECT_EQ(read.page_setup.left_margin, 250);
    EXPECT_EQ(read.page_setup.top_margin, 250);
    EXPECT_EQ(read.print_content.curve_layout, 3);
    EXPECT_EQ(read.print_content.table_title, 0);
    EXPECT_EQ(read.print_content.summary, 1);
}

TEST(SettingsStoreTest, EveryValueTheOptionsPagesAcceptSurvivesARestart) {
    auto stored = [](int SizedRange::*bound, const SizedRange& range) {
        const int value = range.*bound;
        return range.unit == SizedUnit::kMillimetres ? value * 10 : value;
    };
    for (int SizedRange::*bound : {&SizedRange::min, &SizedRange::max}) {
        DocumentSettings settings = default_document_settings();
        CurveLineStyle& l = settings.curve_style.lines;
        CurveFrameStyle& f = settings.curve_style.frame;
        l.load_width = l.unload_width = l.mark_width = f.axis_width =
            stored(bound, kLineWidthRange);
        l.point_diameter = stored(bound, kPointDiameterRange);
        f.title_font_size = stored(bound, kTitleHeightRange);
        f.tick_font_size = stored(bound, kTickHeightRange);
        l.mark_font_size = stored(bound, kMarkHeightRange);
        PageSetup& page = settings.page_setup;
        const bool least = bound == &SizedRange::min;
        page.paper_width = page.paper_height = (least ? 100 : kMaxPaperMm) * 10;
        const int margin = (least ? kMinMarginMm : 25) * 10;
        page.top_margin = page.bottom_margin = page.left_margin = page.right_margin = margin;
        page.row_height = (least ? kMinRowHeightMm : kMaxRowHeightMm) * 10;
        page.first_page_number = page.total_pages = least ? kMinPageNumber : kMaxPageNumber;
        page.page_number_format = least ? 0 : 4;
        page.page_number_position = least ? 0 : 5;
        MemorySettings memory;
        SettingsStore store(memory);
        ASSERT_TRUE(store.write(settings));
        const DocumentSettings read = store.read();
        EXPECT_EQ(read.curve_style, settings.curve_style) << (least ? "least" : "most");
        EXPECT_EQ(read.page_setup.paper_width, page.paper_width);
        EXPECT_EQ(read.page_setup.left_margin, page.left_margin);
        EXPECT_EQ(read.page_setup.row_height, page.row_height);
        EXPECT_EQ(read.page_setup.total_pages, page.total_pages);
        EXPECT_EQ(read.page_setup.page_number_position, page.page_number_position);
    }
}

TEST(SettingsStoreTest, RestoringDefaultsGivesAFreshInstallationsLook) {
    MemorySettings memory;
    memory.write_text("常规", "安装位置", "/opt/kvd");
    SettingsStore store(memory);
    DocumentSettings current = default_document_settings(style_rgb(200, 200, 200));
    current.curve_style.lines.load_colour = style_rgb(0, 255, 0);
    current.page_setup.title_height = 120;
    current.page_setup.title_spacing = 40;
    current.page_setup.top_margin = 100;
    current.print_content.zero_minute_rows = 0;
    current.test_folder = "/data";

    const DocumentSettings restored = restored_document_settings(current, store.install_folder());
    // The curves drawn as on a fresh installation (dark blue and red, never
    // an unreadable colour on the grey background), the background kept.
    EXPECT_EQ(restored.curve_style.lines.load_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(restored.curve_style.lines.unload_colour, style_rgb(255, 0, 0));
    EXPECT_EQ(restored.curve_style.frame.background, style_rgb(200, 200, 200));
    EXPECT_EQ(restored.print_content.zero_minute_rows, 1);
    EXPECT_EQ(restored.page_setup.top_margin, 250);
    // The table title's height and spacing stay as the user set them.
    EXPECT_EQ(restored.page_setup.title_height, 120);
    EXPECT_EQ(restored.page_setup.title_spacing, 40);
    EXPECT_EQ(restored.test_folder, "/opt/kvd");
    EXPECT_EQ(restored.calibration_folder, "/opt/kvd");
}

}  // namespace
}  // namespace kvd::testing
