#include "output/print/page_decorations.h"

#include "base/format.h"

namespace kvd {
namespace {

// Distances of the bands and rules from the margin lines.
constexpr int kBandNear = 30;
constexpr int kBandFar = 66;
constexpr int kRuleGap = 20;
constexpr int kDecorationHeight = 36;
constexpr int kDefaultCharset = 1;

constexpr TextFormat kDecorationText = kTextVCentre | kTextSingleLine | kTextNoClip;

int position_of(const PageSetup& setup) {
    const int p = setup.page_number_position;
    return p >= 0 && p < kPageNumberPositionCount ? p : 0;
}

int top_margin_line(const PageSetup& s) { return -s.top_margin; }
int bottom_margin_line(const PageSetup& s) { return -(s.paper_height - s.bottom_margin); }

void draw_rule(Canvas& canvas, const PageSetup& setup, int y) {
    canvas.set_pen(Pen{PenStyle::kSolid, 1, kBlack});
    canvas.line({setup.left_margin, y}, {setup.paper_width - setup.right_margin, y});
}

}  // namespace

std::string page_number_text(const PageSetup& setup, int number) {
    switch (setup.page_number_format) {
        case 1:
            return strprintf("- %d -", number);
        case 2:
            return strprintf(" %d ", number);
        case 3:
            return strprintf("第 %d 页", number);
        case 4:
            return strprintf("第 %d 页   共 %d 页", number, setup.total_pages);
        default:
            return strprintf(". %d .", number);
    }
}

bool page_number_at_top(const PageSetup& setup) { return position_of(setup) >= 3; }

TextFormat page_number_alignment(const PageSetup& setup) {
    switch (position_of(setup) % 3) {
        case 1:
            return kTextLeft;
        case 2:
            return kTextCentre;
        default:
            return kTextRight;
    }
}

Rect header_band(const PageSetup& s) {
    const int line = top_margin_line(s);
    return {s.left_margin, line + kBandFar, s.paper_width - s.right_margin, line + kBandNear};
}

Rect footer_band(const PageSetup& s) {
    const int line = bottom_margin_line(s);
    return {s.left_margin, line - kBandNear, s.paper_width - s.right_margin, line - kBandFar};
}

int header_rule_y(const PageSetup& s) { return top_margin_line(s) + kRuleGap; }
int footer_rule_y(const PageSetup& s) { return bottom_margin_line(s) - kRuleGap; }

Font decoration_font() {
    Font font;
    font.face = "Times New Roman";
    font.height = kDecorationHeight;
    font.weight = 400;
    font.charset = kDefaultCharset;
    return font;
}

void draw_page_decorations(Canvas& canvas, const PageSetup& setup,
                           std::optional<int> page_number) {
    CanvasState state(canvas);
    canvas.set_font(decoration_font());
    canvas.set_text_colour(kBlack);
    canvas.set_background(false, kWhite);
    if (page_number) {
        const Rect band = page_number_at_top(setup) ? header_band(setup) : footer_band(setup);
        canvas.draw_text(band, page_number_text(setup, *page_number),
                         page_number_alignment(setup) | kDecorationText);
    }
    if (setup.print_header) {
        canvas.draw_text(header_band(setup), setup.header_text, kTextCentre | kDecorationText);
        draw_rule(canvas, setup, header_rule_y(setup));
    }
    if (setup.print_footer) {
        canvas.draw_text(footer_band(setup), setup.footer_text, kTextCentre | kDecorationText);
        draw_rule(canvas, setup, footer_rule_y(setup));
    }
}

}  // namespace kvd
