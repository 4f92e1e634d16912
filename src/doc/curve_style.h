#pragma once
// CurveStyle: how the three curves look, held by the document (one per open
// document), read from the settings section "图形样式" and edited by the
// options dialog. The curves copy it before every paint and scale the copy
// to the window, the printed page or the metafile.
//
// Every length is in design units of a 1000 x 1000 design square with x to
// the right and y DOWNWARD, origin at the top-left corner (unlike the
// drawing layer, whose y grows upwards): the curves map design y through a negative scale.
// At zoom 1 one design unit is 0.1 mm. Colours are Windows colour values; pen
// styles are the Windows numbers (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot).
//
// Also here: the zoom steps of the curve windows and the zoom box of the edit
// toolbar, which both act on CurveStyle::zoom.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvd {

// A Windows colour value 0x00BBGGRR: the same values as the drawing layer's
// Colour, which the document layer does not see.
using StyleColour = std::uint32_t;

constexpr StyleColour style_rgb(int r, int g, int b) {
    return static_cast<StyleColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The window background of the curves. The program passes the palette's
// button-face colour instead; the core has no palette.
inline constexpr StyleColour kDefaultCurveBackground = style_rgb(240, 240, 240);

// A point in design units (y downward).
struct DesignPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const DesignPoint&, const DesignPoint&) = default;
};

// A rectangle in design units (y downward: top < bottom).
struct DesignRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const DesignRect&, const DesignRect&) = default;
};

// An arrowhead: the first three points are the filled triangle, the fourth
// closes the outline.
using Arrowhead = std::array<DesignPoint, 4>;

struct CurveFrameStyle {
    StyleColour background = kDefaultCurveBackground;
    DesignPoint origin{150, 150};       // where the axes meet: top left of the plot
    DesignPoint y_axis_end{150, 990};   // tip of the displacement axis (runs downward)
    DesignPoint x_axis_end{990, 150};   // tip of the horizontal axis
    DesignPoint plot_bottom{150, 900};  // lowest point of the plot on the displacement axis
    DesignPoint plot_right{900, 150};   // right end of the plot on the horizontal axis
    Arrowhead x_arrow{{{950, 145}, {950, 155}, {990, 150}, {950, 145}}};
    Arrowhead y_arrow{{{145, 950}, {155, 950}, {150, 990}, {145, 950}}};
    int major_tick = 16;
    int minor_tick = 8;
    int title_font_size = 60;  // character height
    int tick_font_size = 30;   // character height of tick labels and axis titles
    int axis_width = 1;
    DesignRect title_latin_rect{500, 10, 530, 100};    // "Q-s", right-aligned
    DesignRect title_chinese_rect{550, 10, 600, 100};  // "曲线", left-aligned
    StyleColour axis_colour = style_rgb(255, 0, 0);
    StyleColour tick_colour = style_rgb(0, 0, 255);
    StyleColour title_colour = style_rgb(0, 0, 160);
    std::string tick_font = "Times New Roman";
    std::string title_font = "Times New Roman";  // face of the Chinese part of the title
    friend bool operator==(const CurveFrameStyle&, const CurveFrameStyle&) = default;
};

struct CurveLineStyle {
    StyleColour load_colour = style_rgb(0, 0, 160);
    StyleColour unload_colour = style_rgb(255, 0, 0);
    StyleColour mark_line_colour = style_rgb(255, 0, 0);
    StyleColour point_colour = style_rgb(0, 128, 128);
    StyleColour mark_text_colour = style_rgb(255, 0, 0);
    int point_filled = 1;     // 1 filled markers, 0 hollow
    int point_diameter = 15;  // also the capture box of a point
    int mark_font_size = 30;  // character height of mark texts and s-lgt grade labels
    int load_pen_style = 0;
    int unload_pen_style = 2;
    int mark_pen_style = 4;
    int load_width = 1;
    int unload_width = 1;
    int mark_width = 1;
    int mark_symbol = 0;  // 0 ... 6, the symbol written before mark values
    std::string mark_font = "Times New Roman";
    friend bool operator==(const CurveLineStyle&, const CurveLineStyle&) = default;
};

struct CurveStyle {
    CurveFrameStyle frame;
    CurveLineStyle lines;
    int design_width = 1000;
    int design_height = 1000;
    // 0 fits the window; otherwise design units times zoom give 0.1 mm.
    double zoom = 0;
    // Kept with the style and copied with it by the options dialog; the
    // curves do not read it.
    double unread = 1.0;
    friend bool operator==(const CurveStyle&, const CurveStyle&) = default;
};

// Settings: section "图形样式", one value per field below. Colours are stored
// as integers (blue x 65536 + green x 256 + red, i.e. the StyleColour value).
inline constexpr char kCurveStyleSection[] = "图形样式";

// The persisted fields in the order of the settings table, each as
// visit(key, field) with field a StyleColour&, int& or std::string& (const when
// the style is const). Layout geometry, zoom and the design size are not
// persisted.
template <typename Style, typename Visitor>
void for_each_curve_setting(Style& style, Visitor&& visit) {
    auto& f = style.frame;
    auto& l = style.lines;
    visit("加载曲线颜色", l.load_colour);
    visit("加载曲线线型", l.load_pen_style);
    visit("加载曲线粗细", l.load_width);
    visit("卸载曲线颜色", l.unload_colour);
    visit("卸载曲线线型", l.unload_pen_style);
    visit("卸载曲线粗细", l.unload_width);
    visit("作图点颜色", l.point_colour);
    visit("作图点直径", l.point_diameter);
    visit("作图点虚实", l.point_filled);
    visit("标题颜色", f.title_colour);
    visit("标题字体", f.title_font);
    visit("标题字体大小", f.title_font_size);
    visit("坐标刻度值颜色", f.tick_colour);
    visit("坐标刻度值字体", f.tick_font);
    visit("坐标刻度值字体大小", f.tick_font_size);
    visit("坐标线颜色", f.axis_colour);
    visit("坐标线粗细", f.axis_width);
    visit("标记值颜色", l.mark_text_colour);
    visit("标记值字体", l.mark_font);
    visit("标记值字体大小", l.mark_font_size);
    visit("标记线颜色", l.mark_line_colour);
    visit("标记线线型", l.mark_pen_style);
    visit("标记线粗细", l.mark_width);
    visit("标记符号", l.mark_symbol);
    visit("背景颜色", f.background);
}

inline constexpr int kCurveSettingCount = 25;

// Zoom. The steps a zoom in or out moves between; `sx` is the scale the
// curve was last drawn with (with zoom 0 it is whatever fits the window).
inline constexpr std::array<double, 7> kZoomSteps = {0.5, 1, 1.5, 2, 3, 4, 8};

// Command identifiers of the curve zoom commands.
inline constexpr int kCommandZoomIn = 32787;
inline constexpr int kCommandZoomOut = 32788;
inline constexpr int kCommandFitWindow = 32790;

bool can_zoom_in(double sx);   // sx below the largest step
bool can_zoom_out(double sx);  // sx above the smallest step
// The next step above sx (8 at most) and the next step below it (0.5 at least).
double zoom_in_from(double sx);
double zoom_out_from(double sx);

// The zoom box of the edit toolbar: an item's percent / 100 is the zoom it
// sets; "适合窗口" (0) fits the window and is the default selection.
struct ZoomBoxItem {
    std::string_view text;
    int percent = 0;
};
inline constexpr std::array<ZoomBoxItem, 8> kZoomBoxItems = {{
    {"50%", 50},
    {"100%", 100},
    {"150%", 150},
    {"200%", 200},
    {"300%", 300},
    {"400%", 400},
    {"800%", 800},
    {"适合窗口", 0},
}};
inline constexpr int kZoomBoxFitItem = 7;

// The zoom an item sets; 0 (fit) for an index out of range.
double zoom_of_box_item(int index);
// The item whose percent / 100 equals zoom; -1 when none does (a zoom the
// box does not list selects nothing).
int zoom_box_index(double zoom);

}  // namespace kvd
