#pragma once
// Canvas: the one drawing interface of tables and curves. A page or a curve is
// drawn once, on a Canvas; the screen, the printer, PDF, PNG, SVG and the
// Windows metafile export are backends of it.
//
// Coordinates are logical units of 0.1 mm with y growing upwards, as on the
// report pages: moving down a page means smaller y. A Rect therefore has
// top >= bottom. Colours are Windows colour values (0x00BBGGRR) so that the
// stored settings and the metafile records carry them unchanged.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvd {

using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red_of(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green_of(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue_of(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline constexpr Colour kBlack = rgb(0, 0, 0);
inline constexpr Colour kWhite = rgb(255, 255, 255);

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle in y-up units: top is the larger y.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return top - bottom; }
    // The rectangle of width w and height h hanging down from (x, y_top).
    static Rect below(int x, int y_top, int w, int h) { return {x, y_top, x + w, y_top - h}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Pen styles with the Windows numbers the settings store.
enum class PenStyle : int {
    kSolid = 0,
    kDash = 1,
    kDot = 2,
    kDashDot = 3,
    kDashDotDot = 4,
    kNull = 5,
};

struct Pen {
    PenStyle style = PenStyle::kSolid;
    // Logical units, never thinner than one device pixel; 0 draws the thinnest
    // line the device has. Only pens of width 0 or 1 draw dashes and dots.
    int width = 1;
    Colour colour = kBlack;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    bool hollow = true;  // a hollow brush fills nothing
    Colour colour = kWhite;
    static Brush solid(Colour colour) { return {false, colour}; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr int kCharsetGb2312 = 134;

struct Font {
    std::string face = "宋体";
    // Character cell height (ascent + descent) in logical units; a negative
    // value is the character (em) height, as in a Windows logical font.
    int height = 40;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    int charset = kCharsetGb2312;
    friend bool operator==(const Font&, const Font&) = default;
};

// Text format flags with the Windows DrawText values, so that the cell
// formats the tables store (0x8025, 0x8001) mean what they say.
using TextFormat = unsigned;
inline constexpr TextFormat kTextLeft = 0x0000;
inline constexpr TextFormat kTextCentre = 0x0001;
inline constexpr TextFormat kTextRight = 0x0002;
inline constexpr TextFormat kTextTop = 0x0000;
inline constexpr TextFormat kTextVCentre = 0x0004;
inline constexpr TextFormat kTextBottom = 0x0008;
inline constexpr TextFormat kTextWordBreak = 0x0010;
inline constexpr TextFormat kTextSingleLine = 0x0020;
inline constexpr TextFormat kTextNoClip = 0x0100;
inline constexpr TextFormat kTextEndEllipsis = 0x8000;
// The cell format of every table: centred both ways, one line, "..." when cut.
inline constexpr TextFormat kCellFormat = 0x8025;

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void set_pen(const Pen& pen) = 0;
    virtual void set_brush(const Brush& brush) = 0;
    virtual void set_font(const Font& font) = 0;
    virtual void set_text_colour(Colour colour) = 0;
    // Whether text cells are first filled with the background colour.
    virtual void set_background(bool opaque, Colour colour) = 0;

    virtual void line(Point from, Point to) = 0;
    virtual void polyline(std::span<const Point> points) = 0;
    // Filled with the brush and outlined with the pen.
    virtual void polygon(std::span<const Point> points) = 0;
    virtual void rectangle(const Rect& rect) = 0;
    virtual void ellipse(const Rect& bounds) = 0;
    // Fills with a colour, no outline, whatever the brush.
    virtual void fill_rect(const Rect& rect, Colour colour) = 0;

    // Text in a box. Lines are separated by "\n" unless kTextSingleLine; the
    // text is clipped to the box unless kTextNoClip.
    virtual void draw_text(const Rect& box, std::string_view text, TextFormat format) = 0;
    // Width and height of one line of text in the current font.
    virtual Size text_extent(std::string_view text) = 0;

    // Saves and restores pen, brush, font, colours, background and origin.
    virtual void save() = 0;
    virtual void restore() = 0;
    // Moves the origin: later coordinates are relative to (dx, dy) of now.
    virtual void translate(int dx, int dy) = 0;
};

// Restores a canvas when leaving a scope.
class CanvasState {
public:
    explicit CanvasState(Canvas& canvas) : canvas_(canvas) { canvas_.save(); }
    ~CanvasState() { canvas_.restore(); }
    CanvasState(const CanvasState&) = delete;
    CanvasState& operator=(const CanvasState&) = delete;

private:
    Canvas& canvas_;
};

}  // namespace kvd
