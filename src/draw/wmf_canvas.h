#pragma once
// WmfCanvas: a Canvas that writes a Windows metafile (WMF), the picture format
// in which the curves are exported ("_Qs.WMF", "_slgt.WMF", "_slgQ.WMF") and
// put into the Word report. LibreOffice and libwmf read it back in the tests.
//
// The file is a plain metafile (no placeable header) in the anisotropic map
// mode, as Windows itself writes one for Word: its window spans the picture
// rectangle given to the constructor, in the canvas's units (0.1 mm). Such a
// file carries no physical size; the document that embeds it sets the size
// and readers keep the window's proportions (LibreOffice does; libwmf, with no
// viewport to go by, stretches the window to a square of its own).
//
// The records are y-down with the origin at the picture's top-left corner,
// the orientation every reader handles alike; the canvas turns its y-up
// coordinates over while writing. translate() and save()/restore() are
// applied here as well: the file has no origin changes and no saved device
// contexts, so no reader's handling of them matters.
//
// Pens, brushes and fonts are created in the file only when a drawing needs
// them, and the previous object of the kind is deleted once the new one is
// selected, so the object table stays at a few slots whatever is drawn.
//
// Text is written as GBK bytes. A font is written with the GB2312 character
// set whenever the text drawn with it is not plain ASCII, since readers decode
// the bytes by the font's character set. text_extent() and the line layout of
// draw_text() measure through a FontMetrics (FixedFontMetrics unless one is
// given); alignment within a line is left to the reader (text alignment
// records), so it follows the reader's real font.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"
#include "draw/canvas.h"
#include "draw/font_metrics.h"
#include "draw/wmf_records.h"

namespace kvd {

class WmfCanvas : public Canvas {
public:
    // `picture` is the part of the logical plane the metafile shows (0.1 mm,
    // y up, so picture.top > picture.bottom); drawing outside it is kept but
    // lies outside the picture. A picture of no width or height is taken as
    // one unit.
    explicit WmfCanvas(const Rect& picture);
    // Measures text with `metrics`, which must outlive the canvas.
    WmfCanvas(const Rect& picture, const FontMetrics& metrics);

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

    // The whole file as it stands: header, records so far and the end record.
    // Drawing may go on afterwards.
    Bytes bytes() const;
    // Saves bytes() to `path`, replacing an existing file only once the new
    // one is complete. The failure message is in the user's language.
    Status write(const std::filesystem::path& path) const;

    // Size of the object table the file needs (for the header).
    int object_count() const { return objects_.peak(); }
    // The picture rectangle (logical units), as the file's window spans it.
    const Rect& picture() const { return picture_; }

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
    // An object selected in the file and its slot.
    template <typename T>
    struct Selected {
        std::optional<T> value;
        int slot = -1;
    };

    const FontMetrics& metrics() const { return metrics_ ? *metrics_ : fixed_metrics_; }

    // Logical (y-up, relative to the origin) to file coordinates.
    int file_x(int x) const;
    int file_y(int y) const;
    wmf::Params& add_point(wmf::Params& params, Point p) const;
    wmf::Params& add_box(wmf::Params& params, const Rect& rect) const;  // bottom, right, top, left

    // Make the file's selected objects match what the next record needs.
    void use_pen(const Pen& pen);
    void use_brush(const Brush& brush);
    void use_font(const Font& font);
    // Creates and selects `value` in place of the selected object of its kind.
    template <typename T>
    void replace(Selected<T>& selected, const T& value, std::uint16_t create_function,
                 const wmf::Params& create_params);
    void use_text_colour(Colour colour);
    void use_text_align(std::uint16_t align);

    void points_record(std::uint16_t function, std::span<const Point> points);
    void draw_lines(const Rect& box, const std::vector<std::string>& lines, TextFormat format);

    FixedFontMetrics fixed_metrics_;
    const FontMetrics* metrics_ = nullptr;  // nullptr: fixed_metrics_
    Rect picture_;
    State state_;
    std::vector<State> saved_;

    wmf::RecordWriter records_;
    wmf::ObjectTable objects_;
    Selected<Pen> file_pen_;
    Selected<Brush> file_brush_;
    Selected<Font> file_font_;
    std::optional<Colour> file_text_colour_;
    std::optional<std::uint16_t> file_text_align_;
};

}  // namespace kvd
