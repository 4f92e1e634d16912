#include "draw/wmf_canvas.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/text_codec.h"

namespace kvd {

namespace {

// Points per polyline or polygon record: the count is a signed 16-bit field.
constexpr std::size_t kMaxRecordPoints = 32767;
// Text bytes per record: the length is a signed 16-bit field.
constexpr std::size_t kMaxTextBytes = 32767;

bool is_ascii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the UTF-8 character starting at text[i], never past the end.
std::size_t char_length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(n, text.size() - i);
}

std::string trim_right(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

// Text of a box cut into lines as DrawText does: "\n" separates lines unless
// single-line; with word break, lines are broken at spaces and between Chinese
// characters so that they fit `width` (a word wider than the box stays whole);
// with end ellipsis, a line too wide ends in "...".
class LineLayout {
public:
    LineLayout(const FontMetrics& metrics, const Font& font, int width)
        : metrics_(metrics), font_(font), width_(width) {}

    std::vector<std::string> lines(std::string_view text, TextFormat format) const {
        std::vector<std::string> lines;
        if (format & kTextSingleLine) {
            std::string line;
            for (char c : text) {
                if (c != '\r') line += c == '\n' ? ' ' : c;
            }
            lines.push_back(std::move(line));
        } else {
            std::size_t start = 0;
            for (;;) {
                const std::size_t end = text.find('\n', start);
                std::string_view paragraph = text.substr(start, end - start);
                if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
                if (format & kTextWordBreak) {
                    wrap(paragraph, lines);
                } else {
                    lines.emplace_back(paragraph);
                }
                if (end == std::string_view::npos) break;
                start = end + 1;
            }
        }
        if (format & kTextEndEllipsis) {
            for (std::string& line : lines) ellipsis(line);
        }
        return lines;
    }

private:
    int width_of(std::string_view text) const { return metrics_.text_extent(font_, text).cx; }

    void wrap(std::string_view paragraph, std::vector<std::string>& lines) const {
        std::string line;
        std::size_t i = 0;
        while (i < paragraph.size()) {
            // A token: a run of ASCII letters (or a run of leading spaces), or
            // one other character, with the spaces after it.
            std::size_t end = i;
            if (paragraph[i] == ' ') {
                while (end < paragraph.size() && paragraph[end] == ' ') ++end;
            } else if (static_cast<unsigned char>(paragraph[i]) >= 0x80) {
                end += char_length(paragraph, i);
            } else {
                while (end < paragraph.size() && paragraph[end] != ' ' &&
                       static_cast<unsigned char>(paragraph[end]) < 0x80) {
                    ++end;
                }
            }
            while (end < paragraph.size() && paragraph[end] == ' ') ++end;
            const std::string_view token = paragraph.substr(i, end - i);
            std::string candidate = line + std::string(token);
            if (!trim_right(line).empty() && width_of(trim_right(candidate)) > width_) {
                lines.push_back(trim_right(line));
                line = std::string(token);
            } else {
                line = std::move(candidate);
            }
            i = end;
        }
        lines.push_back(trim_right(line));
    }

    void ellipsis(std::string& line) const {
        if (width_of(line) <= width_) return;
        while (!line.empty() && width_of(line + "...") > width_) {
            // Drop the last whole character.
            std::size_t last = line.size() - 1;
            while (last > 0 && (static_cast<unsigned char>(line[last]) & 0xC0) == 0x80) --last;
            line.erase(last);
        }
        line += "...";
    }

    const FontMetrics& metrics_;
    const Font& font_;
    int width_;
};

}  // namespace

WmfCanvas::WmfCanvas(const Rect& picture) : picture_(picture) {
    if (picture_.right <= picture_.left) picture_.right = picture_.left + 1;
    if (picture_.top <= picture_.bottom) picture_.bottom = picture_.top - 1;
    // Window origin and extent take (y, x): the window is the picture, y down.
    records_.add(wmf::kSetMapMode, wmf::Params().u16(wmf::kMapAnisotropic));
    records_.add(wmf::kSetWindowOrg, wmf::Params().i16(0).i16(0));
    records_.add(wmf::kSetWindowExt, wmf::Params().i16(picture_.height()).i16(picture_.width()));
    // Text never fills its cells by itself: an opaque text background is a
    // filled box (see draw_text), as in the other backends.
    records_.add(wmf::kSetBkMode, wmf::Params().u16(wmf::kTransparent));
}

WmfCanvas::WmfCanvas(const Rect& picture, const FontMetrics& metrics) : WmfCanvas(picture) {
    metrics_ = &metrics;
}

void WmfCanvas::set_pen(const Pen& pen) {
    state_.pen = pen;
}

void WmfCanvas::set_brush(const Brush& brush) {
    state_.brush = brush;
}

void WmfCanvas::set_font(const Font& font) {
    state_.font = font;
}

void WmfCanvas::set_text_colour(Colour colour) {
    state_.text_colour = colour;
}

void WmfCanvas::set_background(bool opaque, Colour colour) {
    state_.opaque = opaque;
    state_.background = colour;
}

int WmfCanvas::file_x(int x) const {
    return x + state_.origin.x - picture_.left;
}

int WmfCanvas::file_y(int y) const {
    return picture_.top - (y + state_.origin.y);
}

wmf::Params& WmfCanvas::add_point(wmf::Params& params, Point p) const {
    return params.i16(file_x(p.x)).i16(file_y(p.y));
}

wmf::Params& WmfCanvas::add_box(wmf::Params& params, const Rect& rect) const {
    return params.i16(file_y(rect.bottom))
        .i16(file_x(rect.right))
        .i16(file_y(rect.top))
        .i16(file_x(rect.left));
}

template <typename T>
void WmfCanvas::replace(Selected<T>& selected, const T& value, std::uint16_t create_function,
                        const wmf::Params& create_params) {
    // The old object stays selected until the new one replaces it: a selected
    // object must not be deleted.
    const int slot = objects_.create();
    records_.add(create_function, create_params);
    records_.add(wmf::kSelectObject, wmf::Params().u16(static_cast<std::uint16_t>(slot)));
    if (selected.slot >= 0) {
        records_.add(wmf::kDeleteObject,
                     wmf::Params().u16(static_cast<std::uint16_t>(selected.slot)));
        objects_.remove(selected.slot);
    }
    selected.value = value;
    selected.slot = slot;
}

void WmfCanvas::use_pen(const Pen& requested) {
    // Dashes and dots are drawn by thin pens only; a null pen is a null pen
    // whatever its width and colour.
    Pen pen = requested;
    if (pen.style == PenStyle::kNull) {
        pen = Pen{PenStyle::kNull, 0, kBlack};
    } else if (pen.width > 1 || pen.style < PenStyle::kSolid || pen.style > PenStyle::kNull) {
        pen.style = PenStyle::kSolid;
    }
    pen.width = std::max(pen.width, 0);
    pen.colour &= 0xFFFFFF;
    if (file_pen_.value == pen) return;
    wmf::Params params;
    params.u16(static_cast<std::uint16_t>(pen.style))
        .i16(pen.width)
        .i16(0)  // the width is a point; its y is not used
        .u32(pen.colour);
    replace(file_pen_, pen, wmf::kCreatePenIndirect, params);
}

void WmfCanvas::use_brush(const Brush& requested) {
    const Brush brush =
        requested.hollow ? Brush{true, kBlack} : Brush::solid(requested.colour & 0xFFFFFF);
    if (file_brush_.value == brush) return;
    wmf::Params params;
    params.u16(brush.hollow ? wmf::kBrushNull : wmf::kBrushSolid)
        .u32(brush.colour)
        .u16(0);  // hatch, not used by these styles
    replace(file_brush_, brush, wmf::kCreateBrushIndirect, params);
}

void WmfCanvas::use_font(const Font& font) {
    if (file_font_.value == font) return;
    wmf::Params params;
    params.i16(font.height)
        .i16(0)  // width: the face's own proportions
        .i16(0)  // escapement
        .i16(0)  // orientation
        .i16(font.weight)
        .u8(font.italic ? 1 : 0)
        .u8(font.underline ? 1 : 0)
        .u8(0)  // strike-out
        .u8(static_cast<std::uint8_t>(font.charset))
        .u8(0)   // output precision: default
        .u8(0)   // clip precision: default
        .u8(0)   // quality: default
        .u8(0);  // pitch and family: default
    const std::string face = utf8_to_gbk(font.face);
    params.fixed_bytes(truncate_gbk(face, wmf::kFaceNameBytes - 1), wmf::kFaceNameBytes);
    replace(file_font_, font, wmf::kCreateFontIndirect, params);
}

void WmfCanvas::use_text_colour(Colour colour) {
    colour &= 0xFFFFFF;
    if (file_text_colour_ == colour) return;
    records_.add(wmf::kSetTextColor, wmf::Params().u32(colour));
    file_text_colour_ = colour;
}

void WmfCanvas::use_text_align(std::uint16_t align) {
    if (file_text_align_ == align) return;
    records_.add(wmf::kSetTextAlign, wmf::Params().u16(align));
    file_text_align_ = align;
}

void WmfCanvas::line(Point from, Point to) {
    use_pen(state_.pen);
    wmf::Params move_to;
    move_to.i16(file_y(from.y)).i16(file_x(from.x));
    records_.add(wmf::kMoveTo, move_to);
    wmf::Params line_to;
    line_to.i16(file_y(to.y)).i16(file_x(to.x));
    records_.add(wmf::kLineTo, line_to);
}

void WmfCanvas::points_record(std::uint16_t function, std::span<const Point> points) {
    wmf::Params params;
    params.u16(static_cast<std::uint16_t>(points.size()));
    for (Point p : points) add_point(params, p);
    records_.add(function, params);
}

void WmfCanvas::polyline(std::span<const Point> points) {
    if (points.size() < 2) return;
    use_pen(state_.pen);
    // A very long line is drawn in pieces that share their end points.
    for (std::size_t start = 0; start + 1 < points.size(); start += kMaxRecordPoints - 1) {
        const std::size_t count = std::min(kMaxRecordPoints, points.size() - start);
        points_record(wmf::kPolyline, points.subspan(start, count));
    }
}

void WmfCanvas::polygon(std::span<const Point> points) {
    if (points.size() < 2) return;
    use_pen(state_.pen);
    use_brush(state_.brush);
    // A polygon cannot be split; one beyond the record's limit keeps its first points.
    points_record(wmf::kPolygon, points.first(std::min(points.size(), kMaxRecordPoints)));
}

void WmfCanvas::rectangle(const Rect& rect) {
    use_pen(state_.pen);
    use_brush(state_.brush);
    wmf::Params params;
    records_.add(wmf::kRectangle, add_box(params, rect));
}

void WmfCanvas::ellipse(const Rect& bounds) {
    use_pen(state_.pen);
    use_brush(state_.brush);
    wmf::Params params;
    records_.add(wmf::kEllipse, add_box(params, bounds));
}

void WmfCanvas::fill_rect(const Rect& rect, Colour colour) {
    // A rectangle without outline: every reader fills it the same way.
    use_pen(Pen{PenStyle::kNull, 0, kBlack});
    use_brush(Brush::solid(colour));
    wmf::Params params;
    records_.add(wmf::kRectangle, add_box(params, rect));
}

void WmfCanvas::draw_text(const Rect& box, std::string_view text, TextFormat format) {
    if (state_.opaque) fill_rect(box, state_.background);
    const LineLayout layout(metrics(), state_.font, box.width());
    const std::vector<std::string> lines = layout.lines(text, format);
    draw_lines(box, lines, format);
}

void WmfCanvas::draw_lines(const Rect& box, const std::vector<std::string>& lines,
                           TextFormat format) {
    std::vector<std::string> encoded;
    bool ascii = true;
    for (const std::string& line : lines) {
        encoded.emplace_back(truncate_gbk(utf8_to_gbk(line), kMaxTextBytes));
        ascii = ascii && is_ascii(encoded.back());
    }
    // GBK text is decoded by readers only under the GB2312 character set.
    Font font = state_.font;
    if (!ascii) font.charset = kCharsetGb2312;

    // Lines are stacked one line height apart and the block is aligned in the
    // box; each line is anchored at its cell's top (or, aligned to the bottom,
    // at its cell's bottom) so that the reader's real font sits where it should.
    const int pitch = metrics().line_height(state_.font);
    const int block = pitch * static_cast<int>(lines.size());
    int block_top = box.top;  // y up
    if (format & kTextBottom) {
        block_top = box.bottom + block;
    } else if (format & kTextVCentre) {
        block_top = box.bottom + (box.height() + block) / 2;
    }
    const bool bottom = (format & kTextBottom) != 0;
    std::uint16_t align = bottom ? wmf::kAlignBottom : wmf::kAlignTop;
    int x = box.left;
    if (format & kTextRight) {
        align |= wmf::kAlignRight;
        x = box.right;
    } else if (format & kTextCentre) {
        align |= wmf::kAlignCenter;
        x = box.left + box.width() / 2;
    }
    const bool clip = (format & kTextNoClip) == 0;

    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i].empty()) continue;
        use_font(font);
        use_text_colour(state_.text_colour);
        use_text_align(align);
        const int line_top = block_top - static_cast<int>(i) * pitch;
        const int y = bottom ? line_top - pitch : line_top;
        wmf::Params params;
        params.i16(file_y(y))
            .i16(file_x(x))
            .u16(static_cast<std::uint16_t>(encoded[i].size()))
            .u16(clip ? wmf::kTextClipped : 0);
        if (clip) {
            params.i16(file_x(box.left))
                .i16(file_y(box.top))
                .i16(file_x(box.right))
                .i16(file_y(box.bottom));
        }
        params.bytes_padded(encoded[i]);
        records_.add(wmf::kExtTextOut, params);
    }
}

Size WmfCanvas::text_extent(std::string_view text) {
    return metrics().text_extent(state_.font, text);
}

void WmfCanvas::save() {
    saved_.push_back(state_);
}

void WmfCanvas::restore() {
    // A restore without a save is a fault of the drawing code; it changes nothing.
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
}

void WmfCanvas::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
}

Bytes WmfCanvas::bytes() const {
    return records_.bytes(objects_.peak());
}

Status WmfCanvas::write(const std::filesystem::path& path) const {
    const Bytes data = bytes();
    return replace_file_atomically(path, data);
}

}  // namespace kvd
