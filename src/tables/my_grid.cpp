#include "tables/my_grid.h"

#include <algorithm>

#include "base/format.h"
#include "base/local_time.h"

namespace kvd {

CMyGrid::CMyGrid(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CGrid(metrics, colours), doc_(doc) {}

std::vector<HeaderCaption> CMyGrid::header_captions() const {
    std::vector<HeaderCaption> captions;
    for (int col = 0; col < column_count(); ++col) {
        captions.push_back({col, col, HeaderCaption::Part::kFull, cell_text(0, col)});
    }
    return captions;
}

bool CMyGrid::can_edit(int, int) const { return false; }

bool CMyGrid::end_edit(int, int, std::string_view) { return false; }

std::optional<CellRange> CMyGrid::change_range(int, int) const { return std::nullopt; }

int CMyGrid::printable_rows() const { return std::max(0, row_count() - fixed_row_count()); }

namespace {

int band_on_paper(const PageSetup& setup, int screen_header, int screen_row) {
    if (screen_row <= 0) return setup.row_height;
    return screen_header * setup.row_height / screen_row;
}

}  // namespace

int CMyGrid::paper_band_height(const PageSetup& setup) const {
    return band_on_paper(setup, header_height(), row_height(fixed_row_count()));
}

int CMyGrid::rows_per_page(const PageSetup& s, int band_height) const {
    if (s.row_height <= 0) return 0;
    return (s.paper_height - 3 * s.row_height - band_height - s.title_spacing - s.title_height -
            s.top_margin - s.bottom_margin) /
           s.row_height;
}

int CMyGrid::first_row_of_page(int page, int rows_per_page) const {
    return (page - 1) * rows_per_page;
}

int CMyGrid::page_count_for(int printable, int rows_per_page) const {
    if (rows_per_page <= 0 || printable <= 0) return 0;
    return (printable + rows_per_page - 1) / rows_per_page;
}

int CMyGrid::count_pages_of_shape(PageSetup& setup, int printable, int screen_header,
                                  int screen_row) const {
    const int band = band_on_paper(setup, screen_header, screen_row);
    setup.header_rows_height = band;
    return page_count_for(printable, rows_per_page(setup, band));
}

int CMyGrid::count_pages(PageSetup& setup) const {
    return count_pages_of_shape(setup, printable_rows(), header_height(),
                                row_height(fixed_row_count()));
}

std::optional<int> CMyGrid::page_count_without_fill(PageSetup&) const { return std::nullopt; }

int CMyGrid::page_count(PageSetup& setup, const PrintContent& content) {
    (void)content;
    fill();
    return count_pages(setup);
}

int CMyGrid::scaled_right(int column, int width) const {
    const long long total = total_width();
    if (total <= 0) return 0;
    long long sum = 0;
    for (int c = 0; c <= column && c < column_count(); ++c) sum += column_width(c);
    return static_cast<int>(sum * width / total);
}

Font CMyGrid::body_font(const PrintPage& page) const {
    Font font;
    font.face = "Times New Roman";
    font.height = page.row_height * 7 / 10;
    font.weight = 400;
    return font;
}

void CMyGrid::draw_left(Canvas& canvas, const Rect& box, const std::string& text) {
    canvas.draw_text(box, text, kTextLeft | kTextVCentre | kTextSingleLine);
}

void CMyGrid::draw_centred(Canvas& canvas, const Rect& box, const std::string& text) {
    canvas.draw_text(box, text, kTextCentre | kTextVCentre | kTextSingleLine);
}

bool CMyGrid::print_page(Canvas& canvas, int page_number, PageSetup& setup,
                         const PrintContent& content, bool refill) {
    const int pages = refill ? page_count(setup, content) : count_pages(setup);
    if (page_number < 1 || page_number > pages) return false;
    const int band = setup.header_rows_height;
    const int per_page = rows_per_page(setup, band);
    const int first = first_row_of_page(page_number, per_page);
    const int printable = printable_rows();
    if (first >= printable) return false;

    CanvasState state(canvas);
    PrintPage page{canvas, setup, content};
    page.page = page_number;
    page.first_row = first;
    page.rows_per_page = per_page;
    page.rows = std::min(printable - first, first_row_of_page(page_number + 1, per_page) - first);
    page.width = setup.printable_width();
    page.row_height = setup.row_height;
    page.band_height = band;

    canvas.set_pen(Pen{PenStyle::kSolid, 1, kBlack});
    canvas.set_brush(Brush{});
    canvas.set_text_colour(kBlack);
    canvas.set_background(false, kWhite);
    canvas.set_font(body_font(page));
    canvas.translate(setup.left_margin, -setup.top_margin);
    compute_printed_channels();

    print_title(page);
    page.y -= setup.title_height + setup.title_spacing;
    canvas.set_font(body_font(page));
    print_page_header(page);
    page.y -= 2 * page.row_height;
    print_column_band(page);
    page.y -= page.band_height;
    print_body(page);
    page.y -= page.rows * page.row_height;
    if (prints_sign_off(page_number, content)) print_footer(page);
    return true;
}

std::string CMyGrid::title_text(const PrintContent& content) const {
    return strprintf("%s%s", table_title(content), table_name().c_str());
}

void CMyGrid::print_title(PrintPage& page) {
    Font font;
    font.face = "宋体";
    font.height = page.setup.title_height;
    font.weight = 700;
    page.canvas.set_font(font);
    draw_centred(page.canvas, Rect::below(0, page.y, page.width, page.setup.title_height),
                 title_text(page.content));
}

void CMyGrid::print_page_header(PrintPage& page) {
    const TestParams& p = doc().record().test_params;
    const bool foundation = p.test_object == 1;
    const int third = page.width / 3;
    const int h = page.row_height;
    Canvas& c = page.canvas;
    draw_left(c, Rect::below(0, page.y, 2 * third, h),
              strprintf("工程名称： %s", p.site_name.c_str()));
    draw_left(c, Rect::below(2 * third, page.y, page.width - 2 * third, h),
              strprintf(foundation ? "试验点号： %s" : "试验桩号： %s", p.pile_number.c_str()));

    const int y2 = page.y - h;
    draw_left(c, Rect::below(0, y2, third, h),
              "测试日期： " + format_local_time(p.test_time, "%Y-%m-%d"));
    std::string middle;
    std::string right;
    if (foundation) {
        middle = p.plate_area > 0.01 ? strprintf("压板面积： %4.2f ㎡", p.plate_area) : "压板面积：";
        right = p.replacement_ratio > 0.01 ? strprintf("置换率： %5.3f", p.replacement_ratio)
                                           : "置换率：";
    } else {
        middle = p.pile_length > 0.01 ? strprintf("桩长： %5.1f m", p.pile_length) : "桩长：";
        if (p.pile_diameter < 1) right = "桩径：";
        else if (p.section_shape == 1) {
            right = strprintf("桩径： %d×%d mm", p.pile_diameter, p.pile_diameter);
        } else {
            right = strprintf("桩径： Φ%d mm", p.pile_diameter);
        }
    }
    draw_left(c, Rect::below(third, y2, third, h), middle);
    draw_left(c, Rect::below(2 * third, y2, page.width - 2 * third, h), right);
}

void CMyGrid::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const Rect band = Rect::below(0, page.y, page.width, page.band_height);
    c.set_brush(Brush{});
    c.rectangle(band);
    int left = 0;
    for (int col = 0; col < column_count(); ++col) {
        const int right = scaled_right(col, page.width);
        c.draw_text(Rect{left, band.top, right, band.bottom}, cell_text(0, col),
                    kTextCentre | kTextVCentre);
        if (col + 1 < column_count()) c.line({right, band.top}, {right, band.bottom});
        left = right;
    }
}

void CMyGrid::print_body(PrintPage& page) {
    Canvas& c = page.canvas;
    const int h = page.row_height;
    const int body_top = fixed_row_count();
    for (int i = 0; i < page.rows; ++i) {
        const int row = body_top + page.first_row + i;
        const int top = page.y - i * h;
        int left = 0;
        c.line({0, top}, {0, top - h});
        for (int col = 0; col < column_count(); ++col) {
            const int right = scaled_right(col, page.width);
            draw_centred(c, Rect{left, top, right, top - h}, cell_text(row, col));
            if (grid_lines() & kGridLinesHorizontal) c.line({left, top - h}, {right, top - h});
            if (grid_lines() & kGridLinesVertical) c.line({right, top}, {right, top - h});
            left = right;
        }
    }
}

bool CMyGrid::prints_sign_off(int page, const PrintContent& content) const {
    if (content.sign_off == kSignOffNever) return false;
    if (content.sign_off == kSignOffFirstPage) return page == 1;
    return true;
}

void CMyGrid::print_footer(PrintPage& page) {
    const int h = page.row_height;
    const int quarter = page.width * 3 / 4;
    draw_left(page.canvas, Rect::below(0, page.y, quarter, h), "试验：");
    draw_left(page.canvas, Rect::below(quarter, page.y, page.width - quarter, h), "校核：");
}

void CMyGrid::compute_printed_channels() { printed_channels_.clear(); }

}  // namespace kvd
