// "SECTION/KEY=VALUE" over the document settings, as kvdtool report takes
// them: known keys only, whole numbers for integers, and the store's own
// ranges.

#include <gtest/gtest.h>

#include "doc/settings_override.h"

namespace kvd {
namespace {

TEST(SettingsOverride, SetsKnownValuesByTheStoresNames) {
    DocumentSettings settings = default_document_settings();
    ASSERT_TRUE(apply_setting_assignment(settings, "页面设置/打印页码=3").ok());
    ASSERT_TRUE(apply_setting_assignment(settings, "打印选项/打印版式=0").ok());
    ASSERT_TRUE(apply_setting_assignment(settings, "页面设置/页眉=某某检测中心").ok());
    // A text may itself hold "=" and "/".
    ASSERT_TRUE(apply_setting_assignment(settings, "页面设置/页脚=a=b/c").ok());
    ASSERT_TRUE(apply_setting_assignment(settings, "页面设置/纸张宽度=1840").ok());
    EXPECT_EQ(settings.page_setup.page_number_mode, 3);
    EXPECT_EQ(settings.print_content.curve_layout, 0);
    EXPECT_EQ(settings.page_setup.header_text, "某某检测中心");
    EXPECT_EQ(settings.page_setup.footer_text, "a=b/c");
    EXPECT_EQ(settings.page_setup.paper_width, 1840);
    // What was not named stays.
    EXPECT_EQ(settings.page_setup.paper_height, 2970);
    EXPECT_EQ(settings.print_content.summary, 1);
}

TEST(SettingsOverride, RefusesWhatTheStoreWouldNotUseAndChangesNothing) {
    const DocumentSettings before = default_document_settings();
    const char* refused[] = {
        "页面设置/打印页码=4",      // mode outside 0 ... 3
        "页面设置/打印页码=2.5",    // not a whole number
        "页面设置/打印页码=",       // nothing
        "页面设置/打印页码",        // no value at all
        "页面设置/不存在=1",        // no such key
        "页面/打印页码=1",          // no such section
        "/打印页码=1",
        "打印页码=1",
        "打印选项/打印版式=99999999999999999999",
        "页面设置/上边距=1001",     // beyond any margin the page can have
        "图形样式/标题字体=",       // an empty face is not used
    };
    for (const char* assignment : refused) {
        DocumentSettings settings = before;
        const Status status = apply_setting_assignment(settings, assignment);
        EXPECT_FALSE(status.ok()) << assignment;
        EXPECT_FALSE(status.message().empty()) << assignment;
        EXPECT_EQ(settings.page_setup.page_number_mode, 0) << assignment;
        EXPECT_EQ(settings.page_setup.top_margin, 250) << assignment;
        EXPECT_EQ(settings.print_content.curve_layout, 3) << assignment;
        EXPECT_EQ(settings.curve_style.frame.title_font, before.curve_style.frame.title_font);
    }
}

}  // namespace
}  // namespace kvd
