#include "tables/gather_table.h"

#include <array>

#include "base/format.h"
#include "record/grade_compute.h"

namespace kvd {
namespace {

constexpr int kColumns = 6;

// "%6.2f" without its leading blanks.
std::string fixed2(double value) {
    std::string text = strprintf("%6.2f", value);
    return text.substr(text.find_first_not_of(' '));
}

const char* load_unit(const TestParams& params) { return params.in_kpa() ? "(kPa)" : "(kN)"; }
const char* displacement_caption(const TestParams& params) {
    return params.is_uplift() ? "上  拔 (mm)" : "沉  降 (mm)";
}

}  // namespace

CGatherTable::CGatherTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CMyGrid(doc, metrics, colours) {
    set_editable(false);
}

void CGatherTable::fill() {
    const CTestData& grades = doc().record().grades;
    const TestParams& params = doc().record().test_params;
    set_column_count(kColumns);
    set_row_count(grades.grade_count() + 1);
    set_fixed_row_count(1);
    set_fixed_column_count(0);
    set_row_height(0, three_line_row_height());
    set_column_width(0, chars_width(7));
    for (int c = 1; c <= 3; ++c) set_column_width(c, chars_width(10));
    for (int c = 4; c <= 5; ++c) set_column_width(c, chars_width(12));

    // Row 0 keeps the captions as "upper\nlower" for exports and plain prints.
    const std::string unit = load_unit(params);
    const std::string settlement = displacement_caption(params);
    const std::array<std::string, kColumns> titles = {
        "序号", "荷 载\n" + unit, "历  时 (min)\n本 级", "历  时 (min)\n累 计",
        settlement + "\n本 级", settlement + "\n累 计"};
    for (int c = 0; c < kColumns; ++c) set_cell_text(0, c, titles[static_cast<std::size_t>(c)]);

    const std::vector<GradeSummary> rows = summarize_grades(grades);
    for (int g = 0; g < static_cast<int>(rows.size()); ++g) {
        const GradeSummary& row = rows[static_cast<std::size_t>(g)];
        const int r = g + 1;
        const bool loading = row.loading == kLoading;
        for (int c = 0; c < kColumns; ++c) {
            set_cell_text_colour(r, c, loading ? kLoadingText : kUnloadingText);
            set_cell_background(r, c, loading ? kLoadingBackground : kUnloadingBackground);
        }
        set_cell_text(r, 0, strprintf("%d", g));
        set_cell_text(r, 1, strprintf("%d", row.load));
        set_cell_text(r, 2, strprintf("%d", row.holding_minutes));
        set_cell_text(r, 3, strprintf("%d", row.cumulative_minutes));
        set_cell_text(r, 4, fixed2(row.this_grade));
        set_cell_text(r, 5, fixed2(row.cumulative));
    }
}

std::vector<HeaderCaption> CGatherTable::header_captions() const {
    using Part = HeaderCaption::Part;
    const TestParams& params = doc().record().test_params;
    return {
        {0, 0, Part::kFull, "序号"},
        {1, 1, Part::kUpper, "荷 载"},
        {1, 1, Part::kLower, load_unit(params)},
        {2, 3, Part::kUpper, "历  时 (min)"},
        {2, 2, Part::kLower, "本 级"},
        {3, 3, Part::kLower, "累 计"},
        {4, 5, Part::kUpper, displacement_caption(params)},
        {4, 4, Part::kLower, "本 级"},
        {5, 5, Part::kLower, "累 计"},
    };
}

std::optional<CellRange> CGatherTable::change_range(int grade, int) const {
    if (grade < 0 || grade + 1 >= row_count()) return std::nullopt;
    return CellRange{grade + 1, 4, grade + 1, 5};
}

std::array<std::string, 3> CGatherTable::maxima_texts() const {
    const TestTotals totals = compute_totals(doc().record().grades);
    const bool uplift = doc().record().test_params.is_uplift();
    std::array<std::string, 3> texts;
    texts[0] = strprintf(uplift ? "  最大上拔量: %6.2f mm" : "  最大沉降量: %6.2f mm",
                         totals.max_settlement);
    if (totals.unloading_grades == 0) {
        texts[1] = "最大回弹量:";
        texts[2] = "回弹率:";
    } else {
        texts[1] = strprintf("最大回弹量: %6.2f mm", totals.rebound);
        texts[2] = strprintf("回弹率: %5.2f%%", totals.rebound_ratio);
    }
    return texts;
}

int CGatherTable::printable_rows() const {
    const int body = row_count() - 1;
    return body > 0 ? body + 1 : 0;
}

std::optional<int> CGatherTable::page_count_without_fill(PageSetup& setup) const {
    // One row per grade and the maxima line, under the three-line header.
    const int grades = doc().record().grades.grade_count();
    return count_pages_of_shape(setup, grades > 0 ? grades + 1 : 0, three_line_row_height(),
                                grades > 0 ? default_row_height() : 0);
}

void CGatherTable::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestParams& params = doc().record().test_params;
    const Rect band = Rect::below(0, page.y, page.width, page.band_height);
    const int middle = band.top - page.band_height / 2;
    c.set_brush(Brush{});
    c.rectangle(band);
    auto x = [&](int column) { return column < 0 ? 0 : scaled_right(column, page.width); };
    // Vertical lines: full height between column pairs, lower half inside them.
    for (int col : {0, 1, 3}) c.line({x(col), band.top}, {x(col), band.bottom});
    for (int col : {2, 4}) c.line({x(col), middle}, {x(col), band.bottom});
    c.line({x(1), middle}, {x(5), middle});
    draw_centred(c, Rect{0, band.top, x(0), band.bottom}, "序 号");
    draw_centred(c, Rect{x(0), band.top, x(1), middle}, "荷 载");
    draw_centred(c, Rect{x(0), middle, x(1), band.bottom}, load_unit(params));
    draw_centred(c, Rect{x(1), band.top, x(3), middle}, "历  时 (min)");
    draw_centred(c, Rect{x(1), middle, x(2), band.bottom}, "本 级");
    draw_centred(c, Rect{x(2), middle, x(3), band.bottom}, "累 计");
    draw_centred(c, Rect{x(3), band.top, x(5), middle}, displacement_caption(params));
    draw_centred(c, Rect{x(3), middle, x(4), band.bottom}, "本 级");
    draw_centred(c, Rect{x(4), middle, x(5), band.bottom}, "累 计");
}

void CGatherTable::print_body(PrintPage& page) {
    const int body = row_count() - 1;
    PrintPage rows = page;
    rows.rows = std::min(page.rows, body - page.first_row);
    CMyGrid::print_body(rows);
    if (page.first_row + page.rows <= body) return;  // the maxima line is on a later page

    // The maxima line follows the last body row.
    Canvas& c = page.canvas;
    const int top = page.y - rows.rows * page.row_height;
    const Rect line = Rect::below(0, top, page.width, page.row_height);
    c.set_brush(Brush{});
    c.rectangle(line);
    const auto texts = maxima_texts();
    const int field = page.width * 38 / 100;
    for (int i = 0; i < 3; ++i) {
        const int left = i * field;
        const int right = i == 2 ? page.width : left + field;
        draw_left(c, Rect{left, line.top, right, line.bottom}, texts[static_cast<std::size_t>(i)]);
    }
}

}  // namespace kvd
