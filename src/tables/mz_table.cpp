#include "tables/mz_table.h"

#include <algorithm>

#include "base/format.h"
#include "base/numeric.h"

namespace kvd {
namespace {

const char* load_caption(const TestParams& params) {
    return params.in_kpa() ? "试桩荷载\n(kPa)" : "试桩荷载\n(kN)";
}

}  // namespace

CMZTable::CMZTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CMyGrid(doc, metrics, colours) {
    set_editable(false);
}

void CMZTable::fill() {
    const TestParams& params = doc().record().test_params;
    const CTestData& grades = doc().record().grades;
    anchors_.clear();
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (params.channel_role[static_cast<std::size_t>(ch)] == ChannelRole::kAnchorPile) {
            anchors_.push_back(ch);
        }
    }
    const int a = static_cast<int>(anchors_.size());
    const int columns = 2 * a + 1;
    set_column_count(columns);
    // Loads without an anchor pile beside them tell nothing: the header alone.
    const int shown_grades = a > 0 ? grades.grade_count() : 0;
    set_row_count(shown_grades + 1);
    set_fixed_row_count(1);
    set_fixed_column_count(1);
    set_row_height(0, three_line_row_height());
    set_column_width(0, chars_width(7));
    for (int c = 1; c < columns; ++c) set_column_width(c, chars_width(8));

    // Row 0 keeps each column's captions top to bottom for exports and dumps.
    set_cell_text(0, 0, std::string("锚桩编号\n") + load_caption(params));
    for (int k = 0; k < a; ++k) {
        const std::string& number = params.anchor_pile_number[static_cast<std::size_t>(
            anchors_[static_cast<std::size_t>(k)])];
        set_cell_text(0, 2 * k + 1, number + "\n本级\n(mm)");
        set_cell_text(0, 2 * k + 2, number + "\n累计\n(mm)");
    }

    for (int g = 0; g < shown_grades; ++g) {
        const COneGradeData* grade = grades.grade(g);
        const int row = g + 1;
        const int n = grade ? grade->size() : 0;
        const SamplePoint* first = n > 0 ? &grade->points()[0] : nullptr;
        const SamplePoint* last =
            n > 0 ? &grade->points()[static_cast<std::size_t>(n - 1)] : nullptr;
        const bool loading = first && first->loading == kLoading;
        for (int c = 1; c < columns; ++c) {
            set_cell_text_colour(row, c, loading ? kLoadingText : kUnloadingText);
            set_cell_background(row, c, loading ? kLoadingBackground : kUnloadingBackground);
        }
        set_cell_text(row, 0, first ? strprintf("%d", first->load) : std::string());
        for (int k = 0; k < a; ++k) {
            const int ch = anchors_[static_cast<std::size_t>(k)];
            if (!first) {
                set_cell_text(row, 2 * k + 1, "");
                set_cell_text(row, 2 * k + 2, "");
                continue;
            }
            const double within = round2(last->channel[ch] - first->channel[ch]) + 0.0;
            set_cell_text(row, 2 * k + 1, strprintf("%7.2f", within));
            set_cell_text(row, 2 * k + 2, strprintf("%6.2f", last->channel[ch]));
        }
    }
}

std::string CMZTable::empty_text() const {
    return anchors_.empty() ? "本试验没有锚桩测试通道" : std::string();
}

std::vector<HeaderCaption> CMZTable::header_captions() const {
    using Part = HeaderCaption::Part;
    const TestParams& params = doc().record().test_params;
    std::vector<HeaderCaption> captions = {{0, 0, Part::kUpper, "锚桩编号"},
                                           {0, 0, Part::kLower, load_caption(params)}};
    for (int k = 0; k < static_cast<int>(anchors_.size()); ++k) {
        const int ch = anchors_[static_cast<std::size_t>(k)];
        captions.push_back({2 * k + 1, 2 * k + 2, Part::kUpper,
                            params.anchor_pile_number[static_cast<std::size_t>(ch)]});
        captions.push_back({2 * k + 1, 2 * k + 1, Part::kLower, "本级\n(mm)"});
        captions.push_back({2 * k + 2, 2 * k + 2, Part::kLower, "累计\n(mm)"});
    }
    return captions;
}

std::optional<CellRange> CMZTable::change_range(int grade, int) const {
    const int grades = row_count() - 1;
    if (anchors_.empty() || grade < 0 || grade >= grades) return std::nullopt;
    const bool last = grade == grades - 1;
    return CellRange{grade + 1, 1, last ? grade + 1 : grade + 2, column_count() - 1, last};
}

int CMZTable::printable_rows() const {
    return anchors_.empty() ? 0 : CMyGrid::printable_rows();
}

std::optional<int> CMZTable::page_count_without_fill(PageSetup& setup) const {
    // One row per grade under the three-line header; nothing without an
    // anchor channel.
    const TestParams& params = doc().record().test_params;
    const bool anchors = std::find(params.channel_role.begin(), params.channel_role.end(),
                                   ChannelRole::kAnchorPile) != params.channel_role.end();
    const int grades = doc().record().grades.grade_count();
    // Without anchors the grid is its header alone (fill).
    const int rows = anchors ? grades : 0;
    return count_pages_of_shape(setup, rows, three_line_row_height(),
                                rows > 0 ? default_row_height() : 0);
}

void CMZTable::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestParams& params = doc().record().test_params;
    const Rect band = Rect::below(0, page.y, page.width, page.band_height);
    const int middle = band.top - page.band_height / 2;
    auto x = [&](int column) { return column < 0 ? 0 : scaled_right(column, page.width); };
    auto caption = [&](int first, int last, int top, int bottom, const std::string& text) {
        c.draw_text(Rect{x(first - 1), top, x(last), bottom}, text, kTextCentre | kTextVCentre);
    };
    c.set_brush(Brush{});
    c.rectangle(band);
    c.line({0, middle}, {page.width, middle});
    caption(0, 0, band.top, middle, "锚桩编号");
    caption(0, 0, middle, band.bottom, load_caption(params));
    for (int k = 0; k < static_cast<int>(anchors_.size()); ++k) {
        const int ch = anchors_[static_cast<std::size_t>(k)];
        const int left = 2 * k + 1;
        const int right = 2 * k + 2;
        c.line({x(left - 1), band.top}, {x(left - 1), band.bottom});
        c.line({x(left), middle}, {x(left), band.bottom});
        caption(left, right, band.top, middle,
                params.anchor_pile_number[static_cast<std::size_t>(ch)]);
        caption(left, left, middle, band.bottom, "本 级\n(mm)");
        caption(right, right, middle, band.bottom, "累 计\n(mm)");
    }
}

}  // namespace kvd
