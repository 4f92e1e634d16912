#include "output/print/content_pages.h"

#include <algorithm>

namespace kvd {
namespace {

constexpr int kCellPadding = 10;  // 1 mm each side of a cell's text
constexpr int kParagraphSpacing = 12;
constexpr int kBlockSpacing = 30;  // above a heading

// The length of the UTF-8 sequence starting with byte c (1 for a stray byte).
std::size_t sequence_length(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

// The text split into what a line may break between: runs of Latin letters,
// digits and signs (words), single spaces, and single other characters.
std::vector<std::string_view> break_units(std::string_view text) {
    std::vector<std::string_view> units;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t end = i + 1;
        if (c < 0x80 && c != ' ') {
            while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80 &&
                   text[end] != ' ')
                ++end;
        } else if (c >= 0x80) {
            end = std::min(text.size(), i + sequence_length(c));
        }
        units.push_back(text.substr(i, end - i));
        i = end;
    }
    return units;
}

// Splits a unit wider than the line into characters.
std::vector<std::string_view> characters(std::string_view unit) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < unit.size();) {
        const std::size_t n =
            std::min(unit.size() - i, sequence_length(static_cast<unsigned char>(unit[i])));
        out.push_back(unit.substr(i, n));
        i += n;
    }
    return out;
}

// The width of a line for wrapping: what the metrics say, but never less
// than Latin letters at 0.6 of the font height and every other character at
// the full height. Metrics without the printer's font (kvdtool's fixed
// ones) take Latin capitals narrower than they print.
int line_width(const FontMetrics& metrics, const Font& font, const std::string& text) {
    const int height = font.height < 0 ? -font.height : font.height;
    long long ascii = 0;
    long long others = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++ascii;
        } else {
            ++others;
        }
        i += sequence_length(c);
    }
    const long long least = (ascii * height * 6 + 9) / 10 + others * height;
    return std::max(metrics.text_extent(font, text).cx,
                    static_cast<int>(std::min(least, 1LL << 30)));
}

void wrap_line(const FontMetrics& metrics, const Font& font, std::string_view text, int width,
               std::vector<std::string>& lines) {
    std::string line;
    auto fits = [&](std::string_view more) {
        return line_width(metrics, font, line + std::string(more)) <= width;
    };
    auto push = [&](std::string_view unit) {
        if (line.empty() && unit == " ") return;  // no line starts with a space
        line += unit;
    };
    for (std::string_view unit : break_units(text)) {
        if (fits(unit)) {
            push(unit);
            continue;
        }
        if (!line.empty()) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            lines.push_back(line);
            line.clear();
        }
        if (unit == " ") continue;
        if (fits(unit)) {
            push(unit);
            continue;
        }
        for (std::string_view c : characters(unit)) {
            if (!line.empty() && !fits(c)) {
                lines.push_back(line);
                line.clear();
            }
            line += c;  // a character wider than the line still goes on one
        }
    }
    lines.push_back(line);
}

}  // namespace

std::vector<std::string> wrap_text(const FontMetrics& metrics, const Font& font,
                                   std::string_view text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        wrap_line(metrics, font,
                  text.substr(start,
                              end == std::string_view::npos ? std::string_view::npos : end - start),
                  width, lines);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

// The placing of one content, page by page, from the top of the printable
// area down (y negative, 0.1 mm, relative to the top-left margin corner).
class ContentPages::Layout {
public:
    Layout(ContentPages& out, const std::string& title, const PageSetup& setup,
           const FontMetrics& metrics)
        : out_(out),
          title_(title),
          setup_(setup),
          metrics_(metrics),
          width_(setup.printable_width()),
          bottom_(-setup.printable_height()),
          line_(metrics.line_height(out.body_font_)),
          heading_line_(metrics.line_height(out.heading_font_)) {
        new_page();
    }

    // A heading waits for what follows it, so that it never ends a page.
    void heading(const std::string& text) {
        finish();
        pending_heading_ = wrap_text(metrics_, out_.heading_font_, text, width_);
    }

    void paragraph(const std::string& text) {
        const std::vector<std::string> lines = wrap_text(metrics_, out_.body_font_, text, width_);
        place_heading(line_);
        for (const std::string& line : lines) place_line(line, Style::kBody, line_);
        y_ -= kParagraphSpacing;
    }

    // Places a heading that nothing followed.
    void finish() { place_heading(0); }

    void table(const ReportTable& table) {
        edges_.assign(1, 0);
        const std::size_t columns = table.header.size();
        long long total = 0;
        for (std::size_t c = 0; c < columns; ++c) total += weight(table, c);
        long long sum = 0;
        for (std::size_t c = 0; c < columns; ++c) {
            sum += weight(table, c);
            edges_.push_back(static_cast<int>(sum * width_ / std::max(1LL, total)));
        }
        header_ = wrapped_row(table.header, out_.body_font_);
        header_on_page_ = false;
        std::vector<Cells> rows;
        for (const std::vector<std::string>& row : table.rows) {
            rows.push_back(wrapped_row(row, out_.body_font_));
        }
        place_heading(row_height(line_count(header_)) +
                      (rows.empty() ? 0 : row_height(line_count(rows.front()))));
        if (rows.empty()) place_header(0);
        for (const Cells& row : rows) place_row(row);
        y_ -= kParagraphSpacing;
    }

private:
    using Cells = std::vector<std::vector<std::string>>;

    static int weight(const ReportTable& table, std::size_t c) {
        return c < table.weights.size() && table.weights[c] > 0 ? table.weights[c] : 1;
    }

    int room() const { return y_ - bottom_; }

    // The waiting heading, on a new page unless `following` fits under it.
    void place_heading(int following) {
        if (pending_heading_.empty()) return;
        const int height = static_cast<int>(pending_heading_.size()) * heading_line_ +
                           kParagraphSpacing + (fresh_ ? 0 : kBlockSpacing);
        if (!fresh_ && room() < height + following) new_page();
        if (!fresh_) y_ -= kBlockSpacing;
        for (const std::string& line : pending_heading_) {
            place_line(line, Style::kHeading, heading_line_);
        }
        y_ -= kParagraphSpacing;
        pending_heading_.clear();
    }
    Page& page() { return out_.pages_.back(); }

    void new_page() {
        out_.pages_.emplace_back();
        page().texts.push_back(
            {Rect::below(0, 0, width_, setup_.title_height), title_, Style::kTitle});
        y_ = -(setup_.title_height + setup_.title_spacing);
        fresh_ = true;
        header_on_page_ = false;
    }

    void place_line(const std::string& text, Style style, int height) {
        if (!fresh_ && room() < height) new_page();
        page().texts.push_back({Rect::below(0, y_, width_, height), text, style});
        y_ -= height;
        fresh_ = false;
    }

    Cells wrapped_row(const std::vector<std::string>& texts, const Font& font) const {
        Cells cells;
        for (std::size_t c = 0; c + 1 < edges_.size(); ++c) {
            const int inner = std::max(1, edges_[c + 1] - edges_[c] - 2 * kCellPadding);
            cells.push_back(wrap_text(metrics_, font, c < texts.size() ? texts[c] : "", inner));
        }
        return cells;
    }

    static int line_count(const Cells& cells) {
        std::size_t n = 1;
        for (const auto& cell : cells) n = std::max(n, cell.size());
        return static_cast<int>(n);
    }

    int row_height(int lines) const { return lines * line_ + 2 * kCellPadding; }

    // Lines first ... first + count - 1 of every cell, in a ruled row.
    void draw_row(const Cells& cells, int first, int count, Style style) {
        const int h = row_height(count);
        Page& p = page();
        p.lines.push_back({{0, y_}, {width_, y_}});
        p.lines.push_back({{0, y_ - h}, {width_, y_ - h}});
        for (int edge : edges_) p.lines.push_back({{edge, y_}, {edge, y_ - h}});
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const int left = edges_[c] + kCellPadding;
            const int w = edges_[c + 1] - edges_[c] - 2 * kCellPadding;
            for (int k = 0; k < count; ++k) {
                const auto line = static_cast<std::size_t>(first + k);
                if (line >= cells[c].size() || cells[c][line].empty()) continue;
                p.texts.push_back({Rect::below(left, y_ - kCellPadding - k * line_, w, line_),
                                   cells[c][line], style});
            }
        }
        y_ -= h;
        fresh_ = false;
    }

    // The header row, on a new page unless `following` fits under it too.
    void place_header(int following) {
        const int lines = line_count(header_);
        if (!fresh_ && room() < row_height(lines) + following) new_page();
        header_opened_page_ = fresh_;
        draw_row(header_, 0, lines, Style::kHeaderCell);
        header_on_page_ = true;
        rows_since_header_ = 0;
    }

    void place_row(const Cells& cells) {
        const int lines = line_count(cells);
        int done = 0;
        while (done < lines) {
            if (!header_on_page_) place_header(row_height(lines - done));
            int fit = (room() - 2 * kCellPadding) / line_;
            // Under the header of a page of its own a new page gives no more
            // room: the row starts here, at least one line of it.
            const bool page_of_its_own = header_opened_page_ && rows_since_header_ == 0;
            if (page_of_its_own) fit = std::max(fit, 1);
            // A row is split only where a new page would not hold it either.
            const bool move_whole = done == 0 && fit < lines && !page_of_its_own;
            if (fit < 1 || move_whole) {
                new_page();
                continue;
            }
            const int count = std::min(fit, lines - done);
            draw_row(cells, done, count, Style::kCell);
            ++rows_since_header_;
            done += count;
            if (done < lines) new_page();
        }
    }

    ContentPages& out_;
    const std::string& title_;
    const PageSetup& setup_;
    const FontMetrics& metrics_;
    const int width_;
    const int bottom_;
    const int line_;
    const int heading_line_;
    int y_ = 0;
    bool fresh_ = true;
    bool header_on_page_ = false;
    bool header_opened_page_ = false;
    int rows_since_header_ = 0;
    std::vector<int> edges_;
    Cells header_;
    std::vector<std::string> pending_heading_;
};

ContentPages::ContentPages(const ReportContent& content, const std::string& title,
                           const PageSetup& setup, const FontMetrics& metrics)
    : left_margin_(setup.left_margin), top_margin_(setup.top_margin) {
    title_font_.face = "宋体";
    title_font_.height = setup.title_height;
    title_font_.weight = 700;
    body_font_.face = "宋体";
    body_font_.height = std::max(24, setup.row_height * 6 / 10);
    heading_font_ = body_font_;
    heading_font_.height = body_font_.height + 4;
    heading_font_.weight = 700;

    Layout layout(*this, title, setup, metrics);
    for (const ReportBlock& block : content.blocks) {
        switch (block.kind) {
            case ReportBlock::Kind::kHeading:
                layout.heading(block.text);
                break;
            case ReportBlock::Kind::kText:
                layout.paragraph(block.text);
                break;
            case ReportBlock::Kind::kTable:
                layout.table(block.table);
                break;
        }
    }
    layout.finish();
}

const Font& ContentPages::font(Style style) const {
    switch (style) {
        case Style::kTitle:
            return title_font_;
        case Style::kHeading:
            return heading_font_;
        default:
            return body_font_;
    }
}

bool ContentPages::draw_page(Canvas& canvas, int n) const {
    if (n < 1 || n > page_count()) return false;
    const Page& p = pages_[static_cast<std::size_t>(n - 1)];
    CanvasState state(canvas);
    canvas.translate(left_margin_, -top_margin_);
    canvas.set_pen(Pen{PenStyle::kSolid, 1, kBlack});
    canvas.set_brush(Brush{});
    canvas.set_text_colour(kBlack);
    canvas.set_background(false, kWhite);
    for (const auto& [from, to] : p.lines) canvas.line(from, to);
    const Font* current = nullptr;
    for (const PlacedText& text : p.texts) {
        const Font& wanted = font(text.style);
        if (current != &wanted) {
            canvas.set_font(wanted);
            current = &wanted;
        }
        const bool centred = text.style == Style::kTitle || text.style == Style::kHeaderCell;
        canvas.draw_text(
            text.box, text.text,
            (centred ? kTextCentre : kTextLeft) | kTextVCentre | kTextSingleLine | kTextNoClip);
    }
    return true;
}

}  // namespace kvd
