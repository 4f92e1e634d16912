#include "draw/recording_canvas.h"

#include <type_traits>

#include "base/format.h"

namespace kvd {

void RecordingCanvas::set_pen(const Pen& pen) {
    state_.pen = pen;
    commands_.emplace_back(recorded::SetPen{pen});
}

void RecordingCanvas::set_brush(const Brush& brush) {
    state_.brush = brush;
    commands_.emplace_back(recorded::SetBrush{brush});
}

void RecordingCanvas::set_font(const Font& font) {
    state_.font = font;
    commands_.emplace_back(recorded::SetFont{font});
}

void RecordingCanvas::set_text_colour(Colour colour) {
    state_.text_colour = colour;
    commands_.emplace_back(recorded::SetTextColour{colour});
}

void RecordingCanvas::set_background(bool opaque, Colour colour) {
    state_.opaque = opaque;
    state_.background = colour;
    commands_.emplace_back(recorded::SetBackground{opaque, colour});
}

void RecordingCanvas::line(Point from, Point to) {
    commands_.emplace_back(recorded::Line{absolute(from), absolute(to), state_.pen});
}

void RecordingCanvas::polyline(std::span<const Point> points) {
    commands_.emplace_back(recorded::Polyline{absolute(points), state_.pen});
}

void RecordingCanvas::polygon(std::span<const Point> points) {
    commands_.emplace_back(recorded::Polygon{absolute(points), state_.pen, state_.brush});
}

void RecordingCanvas::rectangle(const Rect& rect) {
    commands_.emplace_back(recorded::Rectangle{absolute(rect), state_.pen, state_.brush});
}

void RecordingCanvas::ellipse(const Rect& bounds) {
    commands_.emplace_back(recorded::Ellipse{absolute(bounds), state_.pen, state_.brush});
}

void RecordingCanvas::fill_rect(const Rect& rect, Colour colour) {
    commands_.emplace_back(recorded::FillRect{absolute(rect), colour});
}

void RecordingCanvas::draw_text(const Rect& box, std::string_view text, TextFormat format) {
    commands_.emplace_back(recorded::Text{absolute(box), std::string(text), format, state_.font,
                                          state_.text_colour, state_.opaque, state_.background});
}

Size RecordingCanvas::text_extent(std::string_view text) {
    const Size size = metrics().text_extent(state_.font, text);
    commands_.emplace_back(recorded::Extent{std::string(text), state_.font, size});
    return size;
}

void RecordingCanvas::save() {
    saved_.push_back(state_);
    commands_.emplace_back(recorded::Save{save_depth()});
}

void RecordingCanvas::restore() {
    const bool balanced = !saved_.empty();
    if (balanced) {
        state_ = saved_.back();
        saved_.pop_back();
    } else {
        ++unbalanced_restores_;
    }
    commands_.emplace_back(recorded::Restore{save_depth(), balanced});
}

void RecordingCanvas::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
    commands_.emplace_back(recorded::Translate{dx, dy, state_.origin});
}

std::vector<std::string> RecordingCanvas::text_strings() const {
    std::vector<std::string> strings;
    for (const RecordedCommand& command : commands_) {
        if (const auto* text = std::get_if<recorded::Text>(&command)) strings.push_back(text->text);
    }
    return strings;
}

const recorded::Text* RecordingCanvas::find_text(std::string_view text) const {
    for (const RecordedCommand& command : commands_) {
        const auto* record = std::get_if<recorded::Text>(&command);
        if (record && record->text == text) return record;
    }
    return nullptr;
}

std::size_t RecordingCanvas::drawing_count() const {
    return count<recorded::Line>() + count<recorded::Polyline>() + count<recorded::Polygon>() +
           count<recorded::Rectangle>() + count<recorded::Ellipse>() + count<recorded::FillRect>() +
           count<recorded::Text>();
}

Rect RecordingCanvas::absolute(const Rect& r) const {
    return {r.left + state_.origin.x, r.top + state_.origin.y, r.right + state_.origin.x,
            r.bottom + state_.origin.y};
}

std::vector<Point> RecordingCanvas::absolute(std::span<const Point> points) const {
    std::vector<Point> moved;
    moved.reserve(points.size());
    for (Point p : points) moved.push_back(absolute(p));
    return moved;
}

namespace {

std::string describe(const Pen& pen) {
    return strprintf("pen(%d,%d,%06X)", static_cast<int>(pen.style), pen.width, pen.colour);
}

std::string describe(const Brush& brush) {
    return brush.hollow ? std::string("hollow") : strprintf("brush(%06X)", brush.colour);
}

std::string describe(const Font& font) {
    return strprintf("font(%s,%d,%d%s%s,%d)", font.face.c_str(), font.height, font.weight,
                     font.italic ? ",italic" : "", font.underline ? ",underline" : "",
                     font.charset);
}

std::string describe(const Rect& r) {
    return strprintf("[%d,%d,%d,%d]", r.left, r.top, r.right, r.bottom);
}

std::string describe(const std::vector<Point>& points) {
    std::string out;
    for (Point p : points) out += strprintf(" (%d,%d)", p.x, p.y);
    return out;
}

std::string describe(const RecordedCommand& command) {
    return std::visit(
        [](const auto& c) -> std::string {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, recorded::SetPen>) {
                return "set " + describe(c.pen);
            } else if constexpr (std::is_same_v<T, recorded::SetBrush>) {
                return "set " + describe(c.brush);
            } else if constexpr (std::is_same_v<T, recorded::SetFont>) {
                return "set " + describe(c.font);
            } else if constexpr (std::is_same_v<T, recorded::SetTextColour>) {
                return strprintf("set text colour %06X", c.colour);
            } else if constexpr (std::is_same_v<T, recorded::SetBackground>) {
                return strprintf("set background %s %06X", c.opaque ? "opaque" : "transparent",
                                 c.colour);
            } else if constexpr (std::is_same_v<T, recorded::Line>) {
                return strprintf("line (%d,%d)-(%d,%d) ", c.from.x, c.from.y, c.to.x, c.to.y) +
                       describe(c.pen);
            } else if constexpr (std::is_same_v<T, recorded::Polyline>) {
                return "polyline" + describe(c.points) + " " + describe(c.pen);
            } else if constexpr (std::is_same_v<T, recorded::Polygon>) {
                return "polygon" + describe(c.points) + " " + describe(c.pen) + " " +
                       describe(c.brush);
            } else if constexpr (std::is_same_v<T, recorded::Rectangle>) {
                return "rectangle " + describe(c.rect) + " " + describe(c.pen) + " " +
                       describe(c.brush);
            } else if constexpr (std::is_same_v<T, recorded::Ellipse>) {
                return "ellipse " + describe(c.bounds) + " " + describe(c.pen) + " " +
                       describe(c.brush);
            } else if constexpr (std::is_same_v<T, recorded::FillRect>) {
                return "fill " + describe(c.rect) + strprintf(" %06X", c.colour);
            } else if constexpr (std::is_same_v<T, recorded::Text>) {
                std::string line = "text " + describe(c.box) + strprintf(" %04X \"", c.format) +
                                   c.text + "\" " + describe(c.font) + strprintf(" %06X", c.colour);
                if (c.opaque) line += strprintf(" on %06X", c.background);
                return line;
            } else if constexpr (std::is_same_v<T, recorded::Extent>) {
                return "extent \"" + c.text + "\" " + describe(c.font) +
                       strprintf(" = %dx%d", c.size.cx, c.size.cy);
            } else if constexpr (std::is_same_v<T, recorded::Save>) {
                return strprintf("save -> %d", c.depth);
            } else if constexpr (std::is_same_v<T, recorded::Restore>) {
                return c.balanced ? strprintf("restore -> %d", c.depth)
                                  : std::string("restore without save");
            } else {
                static_assert(std::is_same_v<T, recorded::Translate>);
                return strprintf("translate %d,%d -> (%d,%d)", c.dx, c.dy, c.origin.x, c.origin.y);
            }
        },
        command);
}

}  // namespace

std::string RecordingCanvas::dump() const {
    std::string out;
    for (const RecordedCommand& command : commands_) {
        out += describe(command);
        out += '\n';
    }
    return out;
}

}  // namespace kvd
