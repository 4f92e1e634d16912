// CImage: the axes, their ticks and labels, the title and the point markers.

#include <string>

#include "base/format.h"
#include "curves/image.h"
#include "curves/label_gap.h"

namespace kvd {

namespace {

constexpr TextFormat kOneLine = kTextSingleLine | kTextVCentre | kTextNoClip;
constexpr int kDisplacementTicks = 50;
constexpr int kTicksPerLabel = 5;

// Room given to a right- or left-aligned axis text, in character heights;
// the texts are drawn unclipped, so this only needs to be generous.
constexpr int kAxisTextWidth = 8;

// The curves' texts: a character height and weight 500.
Font curve_font(const std::string& face, int height) {
    Font font;
    font.face = face;
    font.height = -height;
    font.weight = 500;
    return font;
}

}  // namespace

Font CImage::tick_font() const {
    return curve_font(frame_.tick_font, frame_.tick_font_size);
}

Font CImage::mark_font() const {
    return curve_font(lines_.mark_font, lines_.mark_font_size);
}

namespace {

void select_axis_tools(Canvas& canvas, const DeviceFrame& frame, const Font& font) {
    canvas.set_pen(Pen{PenStyle::kSolid, frame.axis_width, frame.axis_colour});
    canvas.set_font(font);
    canvas.set_brush(Brush::solid(frame.axis_colour));
    canvas.set_text_colour(frame.tick_colour);
}

void draw_arrowhead(Canvas& canvas, const std::array<Point, 4>& arrow) {
    const Point triangle[3] = {arrow[0], arrow[1], arrow[2]};
    canvas.polygon(triangle);
}

}  // namespace

void CImage::draw_x_axis(Canvas& canvas) {
    select_axis_tools(canvas, frame_, tick_font());
    canvas.line(frame_.origin, frame_.x_axis_end);
    draw_arrowhead(canvas, frame_.x_arrow);
    last_label_.reset();
}

void CImage::draw_y_axis(Canvas& canvas) {
    select_axis_tools(canvas, frame_, tick_font());
    canvas.line(frame_.origin, frame_.y_axis_end);
    draw_arrowhead(canvas, frame_.y_arrow);

    const int axis_x = frame_.plot_bottom.x;
    const int h = frame_.tick_font_size;
    const int label_right = frame_.origin.x - 4 * frame_.major_tick / 3;
    for (int k = 0; k <= kDisplacementTicks; ++k) {
        const int y = static_cast<int>(frame_.origin.y + static_cast<long long>(k) * plot_height_ /
                                                             kDisplacementTicks);
        if (k % kTicksPerLabel != 0) {
            canvas.line({axis_x, y}, {axis_x - frame_.minor_tick, y});
            continue;
        }
        if (k != 0) canvas.line({axis_x, y}, {axis_x - frame_.major_tick, y});
        const double value = y_min_ + k * y_range_ / kDisplacementTicks;
        const Rect box{label_right - kAxisTextWidth * h, y + h / 2, label_right, y + h / 2 - h};
        canvas.draw_text(box, strprintf("%6.2f", value), kTextRight | kOneLine);
    }

    const int tip = frame_.y_axis_end.y;
    const int left = frame_.origin.x + frame_.major_tick;
    // Beside the tip: above it when the axis runs down, below it when up.
    const Rect title = uplift() ? Rect{left, tip, left + kAxisTextWidth * h, tip - h}
                                : Rect{left, tip + h, left + kAxisTextWidth * h, tip};
    canvas.draw_text(title, uplift() ? "δ(mm)" : "s (mm)", kTextLeft | kOneLine);
}

void CImage::draw_title(Canvas& canvas, const std::string& latin, const std::string& chinese) {
    canvas.set_text_colour(frame_.title_colour);
    Font font = curve_font("Times New Roman", frame_.title_font_size);
    canvas.set_font(font);
    canvas.draw_text(frame_.title_latin_rect, latin, kTextRight | kOneLine);

    font.face = frame_.title_font;
    font.height = frame_.title_font_size;  // the cell height, for the Chinese face
    font.charset = kCharsetGb2312;
    canvas.set_font(font);
    canvas.draw_text(frame_.title_chinese_rect, chinese, kTextLeft | kOneLine);
}

void CImage::draw_x_tick(Canvas& canvas, int x) {
    const int y = frame_.origin.y;
    canvas.line({x, y}, {x, y - plot_side() * frame_.major_tick});
}

Rect CImage::x_label_box(Canvas& canvas, int x, const std::string& text) {
    const int w = canvas.text_extent(text).cx;
    const int h = frame_.tick_font_size;
    const int left = x - w / 2;
    const int near = frame_.origin.y - plot_side() * frame_.major_tick;
    if (plot_side() < 0) return {left, near + h, left + w, near};
    return {left, near, left + w, near - h};
}

bool CImage::clear_of_last_label(const Rect& box) const {
    return !last_label_ || with_label_gap(box, frame_.tick_font_size).left > last_label_->right;
}

void CImage::erase_last_label(Canvas& canvas) {
    if (!last_label_) return;
    // A metafile has no background of its own: it lies on the paper of the
    // document it is put into, so the label is covered with white there, not
    // with the window's colour (which would leave a grey patch in a colour
    // picture).
    canvas.fill_rect(*last_label_, road() == Road::kMetafile ? kWhite : frame_.background);
}

void CImage::draw_x_label(Canvas& canvas, const Rect& box, const std::string& text) {
    canvas.draw_text(box, text, kTextCentre | kOneLine);
    last_label_ = box;
}

void CImage::draw_x_axis_title(Canvas& canvas, const std::string& text) {
    const int h = frame_.tick_font_size;
    const int right = frame_.x_axis_end.x;
    const int near = frame_.origin.y + plot_side() * frame_.minor_tick;
    const Rect box = plot_side() < 0 ? Rect{right - kAxisTextWidth * h, near, right, near - h}
                                     : Rect{right - kAxisTextWidth * h, near + h, right, near};
    canvas.draw_text(box, text, kTextRight | kOneLine);
}

void CImage::draw_markers(Canvas& canvas, std::span<const Point> at) {
    const int half = lines_.point_diameter / 2;
    canvas.set_pen(Pen{PenStyle::kSolid, 1, lines_.point_colour});
    canvas.set_brush(lines_.point_filled == 0 ? Brush{} : Brush::solid(lines_.point_colour));
    for (Point p : at) canvas.ellipse(Rect{p.x - half, p.y + half, p.x + half, p.y - half});
}

}  // namespace kvd
