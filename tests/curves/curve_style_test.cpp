// CurveStyle defaults, its settings keys and the zoom steps.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "doc/curve_style.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {
namespace {

TEST(CurveStyle, DefaultsAreTheDocumentedOnes) {
    const CurveStyle s;
    EXPECT_EQ(s.frame.background, style_rgb(240, 240, 240));
    EXPECT_EQ(s.frame.origin, (DesignPoint{150, 150}));
    EXPECT_EQ(s.frame.y_axis_end, (DesignPoint{150, 990}));
    EXPECT_EQ(s.frame.x_axis_end, (DesignPoint{990, 150}));
    EXPECT_EQ(s.frame.plot_bottom, (DesignPoint{150, 900}));
    EXPECT_EQ(s.frame.plot_right, (DesignPoint{900, 150}));
    EXPECT_EQ(s.frame.x_arrow[2], (DesignPoint{990, 150}));
    EXPECT_EQ(s.frame.y_arrow[0], (DesignPoint{145, 950}));
    EXPECT_EQ(s.frame.title_latin_rect, (DesignRect{500, 10, 530, 100}));
    EXPECT_EQ(s.frame.title_chinese_rect, (DesignRect{550, 10, 600, 100}));
    EXPECT_EQ(s.frame.axis_colour, style_rgb(255, 0, 0));
    EXPECT_EQ(s.frame.title_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(s.lines.load_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(s.lines.unload_colour, style_rgb(255, 0, 0));
    EXPECT_EQ(s.lines.point_colour, style_rgb(0, 128, 128));
    EXPECT_EQ(s.lines.unload_pen_style, 2);
    EXPECT_EQ(s.lines.mark_pen_style, 4);
    EXPECT_EQ(s.lines.point_diameter, 15);
    EXPECT_EQ(s.design_width, 1000);
    EXPECT_EQ(s.zoom, 0);
    EXPECT_EQ(s.unread, 1.0);
    // A Windows colour value: red in the low byte.
    EXPECT_EQ(style_rgb(0, 0, 160), 0xA00000u);
}

struct KeyCollector {
    std::vector<std::string> keys;
    std::vector<char> types;  // c colour, i int, s string
    void operator()(const char* key, const StyleColour&) { add(key, 'c'); }
    void operator()(const char* key, const int&) { add(key, 'i'); }
    void operator()(const char* key, const std::string&) { add(key, 's'); }
    void add(const char* key, char type) {
        keys.emplace_back(key);
        types.push_back(type);
    }
};

TEST(CurveStyle, SettingsKeysCoverEveryStoredField) {
    const CurveStyle style;
    KeyCollector keys;
    for_each_curve_setting(style, keys);
    ASSERT_EQ(keys.keys.size(), static_cast<std::size_t>(kCurveSettingCount));
    EXPECT_EQ(std::set<std::string>(keys.keys.begin(), keys.keys.end()).size(), keys.keys.size());
    EXPECT_EQ(keys.keys.front(), "加载曲线颜色");
    EXPECT_EQ(keys.keys.back(), "背景颜色");
    EXPECT_EQ(std::count(keys.types.begin(), keys.types.end(), 's'), 3);
    EXPECT_EQ(std::count(keys.types.begin(), keys.types.end(), 'c'), 9);

    // Writing through the visitor reaches the style's own fields.
    CurveStyle edited;
    for_each_curve_setting(edited, [](const char* key, auto& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, int>) {
            if (std::string(key) == "作图点直径") field = 22;
        } else if constexpr (std::is_same_v<T, std::string>) {
            if (std::string(key) == "标题字体") field = "宋体";
        } else {
            if (std::string(key) == "背景颜色") field = style_rgb(1, 2, 3);
        }
    });
    EXPECT_EQ(edited.lines.point_diameter, 22);
    EXPECT_EQ(edited.frame.title_font, "宋体");
    EXPECT_EQ(edited.frame.background, style_rgb(1, 2, 3));
}

TEST(CurveZoom, StepsMoveFromTheCurrentScale) {
    EXPECT_FALSE(can_zoom_in(8));
    EXPECT_TRUE(can_zoom_in(7.99));
    EXPECT_FALSE(can_zoom_out(0.5));
    EXPECT_TRUE(can_zoom_out(0.51));
    EXPECT_EQ(zoom_out_from(1.2), 1);
    EXPECT_EQ(zoom_in_from(1.2), 1.5);
    EXPECT_EQ(zoom_in_from(0.0001), 0.5);
    EXPECT_EQ(zoom_in_from(0.5), 1);
    EXPECT_EQ(zoom_in_from(3), 4);
    EXPECT_EQ(zoom_in_from(4), 8);
    EXPECT_EQ(zoom_in_from(7.9), 8);
    EXPECT_EQ(zoom_out_from(1), 0.5);
    EXPECT_EQ(zoom_out_from(0.75), 0.5);
    EXPECT_EQ(zoom_out_from(8), 4);
    EXPECT_EQ(zoom_out_from(9), 8);
    EXPECT_EQ(zoom_out_from(100), 8);
    EXPECT_EQ(zoom_out_from(1.5), 1);
}

TEST(CurveZoom, ZoomBoxItemsAndSelection) {
    ASSERT_EQ(kZoomBoxItems.size(), 8u);
    EXPECT_EQ(kZoomBoxItems[kZoomBoxFitItem].text, "适合窗口");
    EXPECT_EQ(zoom_of_box_item(0), 0.5);
    EXPECT_EQ(zoom_of_box_item(6), 8);
    EXPECT_EQ(zoom_of_box_item(kZoomBoxFitItem), 0);
    EXPECT_EQ(zoom_of_box_item(99), 0);
    EXPECT_EQ(zoom_box_index(1.5), 2);
    EXPECT_EQ(zoom_box_index(0), kZoomBoxFitItem);
    EXPECT_EQ(zoom_box_index(1.2), -1);
}

TEST(CurveZoom, DocumentZoomIsTheStylesZoom) {
    ScriptedUserInterface ui;
    CLbxDoc doc(ui);
    EXPECT_EQ(doc.zoom_factor(), 0);
    doc.set_zoom_factor(2);
    EXPECT_EQ(doc.curve_style().zoom, 2);
    doc.curve_style().zoom = 3;
    EXPECT_EQ(doc.zoom_factor(), 3);
}

}  // namespace
}  // namespace kvd::testing
