#pragma once
// ContentPages: a ReportContent (analysis/report_content.h) laid out on the
// pages of a page setup, for the print job's "承载力分析" section and the
// group table's own job. Laid out once, when made, with the metrics the
// tables use: its page count is known before anything is drawn, and drawing
// a page only replays what the layout placed.
//
// Every page starts with the title (bold, the tables' title height and
// spacing). Headings keep with the lines that follow them; a table that
// goes on over a page break repeats its header row; every cell text wraps
// inside its column, breaking between Chinese characters and between Latin
// words (a word wider than its column breaks between letters), so nothing
// is clipped. A row taller than a page goes on on the next page.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/report_content.h"
#include "doc/page_setup.h"
#include "draw/canvas.h"
#include "draw/font_metrics.h"

namespace kvd {

// The lines of `text` no wider than `width` in `font` ("\n" always breaks).
std::vector<std::string> wrap_text(const FontMetrics& metrics, const Font& font,
                                   std::string_view text, int width);

class ContentPages {
public:
    ContentPages(const ReportContent& content, const std::string& title, const PageSetup& setup,
                 const FontMetrics& metrics);

    int page_count() const { return static_cast<int>(pages_.size()); }
    // Draws page n (from 1) with the origin at the paper's top-left corner;
    // false, drawing nothing, outside 1 ... page_count().
    bool draw_page(Canvas& canvas, int n) const;

    // What a page holds, for the layout's tests.
    enum class Style { kTitle, kHeading, kBody, kCell, kHeaderCell };
    struct PlacedText {
        Rect box;
        std::string text;
        Style style = Style::kBody;
    };
    struct Page {
        std::vector<PlacedText> texts;
        std::vector<std::pair<Point, Point>> lines;
    };
    const std::vector<Page>& pages() const { return pages_; }
    const Font& font(Style style) const;

private:
    class Layout;
    std::vector<Page> pages_;
    Font title_font_;
    Font heading_font_;
    Font body_font_;
    int left_margin_ = 0;
    int top_margin_ = 0;
};

}  // namespace kvd
