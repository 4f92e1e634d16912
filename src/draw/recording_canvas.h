#pragma once
// RecordingCanvas: a Canvas that draws nothing and keeps every call, so that
// tests can check what a table page or a curve drew (which texts in which
// boxes and formats, which lines with which pens), and so that a window can
// compare one paint with the last (RetainedPicture). Each drawing record carries the
// state in force when it was made (pen, brush, font, colours, background) and
// coordinates with the origin already applied, so a record can be checked on
// its own without replaying the calls before it.
//
// text_extent() measures through a FontMetrics (FixedFontMetrics unless one is
// given), so layouts that depend on text widths are reproducible in tests.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "draw/canvas.h"
#include "draw/font_metrics.h"

namespace kvd {

namespace recorded {

struct SetPen {
    Pen pen;
    friend bool operator==(const SetPen&, const SetPen&) = default;
};
struct SetBrush {
    Brush brush;
    friend bool operator==(const SetBrush&, const SetBrush&) = default;
};
struct SetFont {
    Font font;
    friend bool operator==(const SetFont&, const SetFont&) = default;
};
struct SetTextColour {
    Colour colour = kBlack;
    friend bool operator==(const SetTextColour&, const SetTextColour&) = default;
};
struct SetBackground {
    bool opaque = false;
    Colour colour = kWhite;
    friend bool operator==(const SetBackground&, const SetBackground&) = default;
};

struct Line {
    Point from;
    Point to;
    Pen pen;
    friend bool operator==(const Line&, const Line&) = default;
};
struct Polyline {
    std::vector<Point> points;
    Pen pen;
    friend bool operator==(const Polyline&, const Polyline&) = default;
};
struct Polygon {
    std::vector<Point> points;
    Pen pen;
    Brush brush;
    friend bool operator==(const Polygon&, const Polygon&) = default;
};
struct Rectangle {
    Rect rect;
    Pen pen;
    Brush brush;
    friend bool operator==(const Rectangle&, const Rectangle&) = default;
};
struct Ellipse {
    Rect bounds;
    Pen pen;
    Brush brush;
    friend bool operator==(const Ellipse&, const Ellipse&) = default;
};
struct FillRect {
    Rect rect;
    Colour colour = kBlack;
    friend bool operator==(const FillRect&, const FillRect&) = default;
};
struct Text {
    Rect box;
    std::string text;
    TextFormat format = 0;
    Font font;
    Colour colour = kBlack;  // text colour
    bool opaque = false;     // the box was filled with `background` first
    Colour background = kWhite;
    friend bool operator==(const Text&, const Text&) = default;
};
// A text_extent() call and the answer it got.
struct Extent {
    std::string text;
    Font font;
    Size size;
    friend bool operator==(const Extent&, const Extent&) = default;
};

struct Save {
    int depth = 0;  // depth after saving
    friend bool operator==(const Save&, const Save&) = default;
};
struct Restore {
    int depth = 0;         // depth after restoring
    bool balanced = true;  // false when there was nothing to restore
    friend bool operator==(const Restore&, const Restore&) = default;
};
struct Translate {
    int dx = 0;
    int dy = 0;
    Point origin;  // absolute origin after the move
    friend bool operator==(const Translate&, const Translate&) = default;
};

}  // namespace recorded

using RecordedCommand =
    std::variant<recorded::SetPen, recorded::SetBrush, recorded::SetFont, recorded::SetTextColour,
                 recorded::SetBackground, recorded::Line, recorded::Polyline, recorded::Polygon,
                 recorded::Rectangle, recorded::Ellipse, recorded::FillRect, recorded::Text,
                 recorded::Extent, recorded::Save, recorded::Restore, recorded::Translate>;

class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas() = default;
    // Measures text with `metrics`, which must outlive the canvas.
    explicit RecordingCanvas(const FontMetrics& metrics) : metrics_(&metrics) {}

    void set_pen(const Pen& pen) override;
    void set_brush(const Brush& brush) override;
    void set_font(const Font& font) override;
    void set_text_colour(Colour colour) override;
    void set_background(bool opaque, Colour colour) override;

    void line(Point from, Point to) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void rectangle(const Rect& rect) override;
    void ellipse(const Rect& bounds) override;
    void fill_rect(const Rect& rect, Colour colour) override;

    void draw_text(const Rect& box, std::string_view text, TextFormat format) override;
    Size text_extent(std::string_view text) override;

    void save() override;
    void restore() override;
    void translate(int dx, int dy) override;

    // Every call so far, in order.
    const std::vector<RecordedCommand>& commands() const { return commands_; }

    // The records of one kind, in order: of_kind<recorded::Line>().
    template <typename T>
    std::vector<T> of_kind() const {
        std::vector<T> found;
        for (const RecordedCommand& command : commands_) {
            if (const T* record = std::get_if<T>(&command)) found.push_back(*record);
        }
        return found;
    }
    template <typename T>
    std::size_t count() const {
        std::size_t n = 0;
        for (const RecordedCommand& command : commands_) n += std::holds_alternative<T>(command);
        return n;
    }

    std::vector<recorded::Text> texts() const { return of_kind<recorded::Text>(); }
    std::vector<recorded::Line> lines() const { return of_kind<recorded::Line>(); }
    // The drawn strings alone, in order.
    std::vector<std::string> text_strings() const;
    // The first text drawn that equals `text`; nullptr when there is none.
    const recorded::Text* find_text(std::string_view text) const;
    // Number of drawing records (lines, shapes, fills and texts), state changes excluded.
    std::size_t drawing_count() const;

    // One line per command, for failure messages and reference listings.
    std::string dump() const;

    // Forgets the commands; the current state (pen, font, origin, saved states) stays.
    void clear() { commands_.clear(); }
    // Makes room for n commands (a paint that records as many as the last).
    void reserve(std::size_t n) { commands_.reserve(n); }
    // Hands the commands over, leaving none.
    std::vector<RecordedCommand> take_commands() { return std::move(commands_); }

    // The state in force now.
    const Pen& pen() const { return state_.pen; }
    const Brush& brush() const { return state_.brush; }
    const Font& font() const { return state_.font; }
    Colour text_colour() const { return state_.text_colour; }
    Point origin() const { return state_.origin; }
    int save_depth() const { return static_cast<int>(saved_.size()); }
    // restore() calls that found no saved state (a drawing-code fault; ignored).
    int unbalanced_restores() const { return unbalanced_restores_; }

  private:
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        Colour text_colour = kBlack;
        bool opaque = false;
        Colour background = kWhite;
        Point origin;
    };

    Point absolute(Point p) const { return {p.x + state_.origin.x, p.y + state_.origin.y}; }
    Rect absolute(const Rect& r) const;
    std::vector<Point> absolute(std::span<const Point> points) const;

    const FontMetrics& metrics() const { return metrics_ ? *metrics_ : fixed_metrics_; }

    FixedFontMetrics fixed_metrics_;
    const FontMetrics* metrics_ = nullptr;  // nullptr: fixed_metrics_
    State state_;
    std::vector<State> saved_;
    std::vector<RecordedCommand> commands_;
    int unbalanced_restores_ = 0;
};

}  // namespace kvd
