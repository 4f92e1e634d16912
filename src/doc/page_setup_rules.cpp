#include "doc/page_setup_rules.h"

#include <utility>

#include "doc/paper_sizes.h"

namespace kvd {
namespace {

bool within(int value, int min, int max) {
    return value >= min && value <= max;
}

bool leaves_room(const PageSetup& setup) {
    return setup.printable_width() >= kLeastPrintableLength &&
           setup.printable_height() >= kLeastPrintableLength;
}

FieldRefusal too_little_paper(int field) {
    FieldRefusal refusal;
    refusal.field = field;
    refusal.too_little_paper = true;
    return refusal;
}

// The whole millimetres of a stored length (tenths).
int mm_of(int tenths) {
    return (tenths + 5) / 10;
}

}  // namespace

void choose_paper(PageSetup& setup, int index) {
    if (index < 0 || index >= kCustomPaperIndex) return;
    const PaperSize& paper = kPaperSizes[static_cast<std::size_t>(index)];
    setup.paper_width = paper.width_mm * 10;
    setup.paper_height = paper.height_mm * 10;
    if (setup.landscape) std::swap(setup.paper_width, setup.paper_height);
}

std::optional<FieldRefusal> set_paper_size(PageSetup& setup, int width_mm, int height_mm) {
    if (!within(width_mm, kMinPaperMm, kMaxPaperMm)) {
        return FieldRefusal{kPaperWidthField, kMinPaperMm, kMaxPaperMm, false};
    }
    if (!within(height_mm, kMinPaperMm, kMaxPaperMm)) {
        return FieldRefusal{kPaperHeightField, kMinPaperMm, kMaxPaperMm, false};
    }
    PageSetup sized = setup;
    sized.paper_width = width_mm * 10;
    sized.paper_height = height_mm * 10;
    if (sized.printable_width() < kLeastPrintableLength) return too_little_paper(kPaperWidthField);
    if (sized.printable_height() < kLeastPrintableLength) {
        return too_little_paper(kPaperHeightField);
    }
    setup = sized;
    return std::nullopt;
}

std::optional<FieldRefusal> set_landscape(PageSetup& setup, bool landscape) {
    if ((setup.landscape != 0) == landscape) return std::nullopt;
    PageSetup turned = setup;
    turned.landscape = landscape ? 1 : 0;
    std::swap(turned.paper_width, turned.paper_height);
    if (!leaves_room(turned)) return too_little_paper(kOrientationField);
    setup = turned;
    return std::nullopt;
}

MarginValues margin_values(const PageSetup& setup) {
    return {mm_of(setup.top_margin), mm_of(setup.bottom_margin), mm_of(setup.left_margin),
            mm_of(setup.right_margin), mm_of(setup.row_height)};
}

std::optional<FieldRefusal> set_margins(PageSetup& setup, const MarginValues& mm) {
    for (int field = kTopMarginField; field <= kRowHeightField; ++field) {
        const bool row = field == kRowHeightField;
        const int min = row ? kMinRowHeightMm : kMinMarginMm;
        const int max = row ? kMaxRowHeightMm : kMaxMarginMm;
        if (!within(mm[static_cast<std::size_t>(field)], min, max)) {
            return FieldRefusal{field, min, max, false};
        }
    }
    PageSetup changed = setup;
    changed.top_margin = mm[kTopMarginField] * 10;
    changed.bottom_margin = mm[kBottomMarginField] * 10;
    changed.left_margin = mm[kLeftMarginField] * 10;
    changed.right_margin = mm[kRightMarginField] * 10;
    changed.row_height = mm[kRowHeightField] * 10;
    if (changed.printable_width() < kLeastPrintableLength) {
        return too_little_paper(kLeftMarginField);
    }
    if (changed.printable_height() < kLeastPrintableLength) {
        return too_little_paper(kTopMarginField);
    }
    setup = changed;
    return std::nullopt;
}

bool total_pages_enabled(const PageSetup& setup) {
    return setup.page_number_format == kFormatWithTotal;
}

std::optional<FieldRefusal> set_first_page_number(PageSetup& setup, int value) {
    if (!within(value, kMinPageNumber, kMaxPageNumber)) {
        return FieldRefusal{0, kMinPageNumber, kMaxPageNumber, false};
    }
    setup.first_page_number = value;
    return std::nullopt;
}

std::optional<FieldRefusal> set_total_pages(PageSetup& setup, int value) {
    if (!within(value, kMinPageNumber, kMaxPageNumber)) {
        return FieldRefusal{0, kMinPageNumber, kMaxPageNumber, false};
    }
    setup.total_pages = value;
    return std::nullopt;
}

std::array<bool, 3> curves_locked_by_layout(int layout) {
    switch (layout) {
        case 1:
            return {true, true, false};
        case 2:
            return {false, true, true};
        case 3:
            return {true, true, true};
        default:
            return {false, false, false};
    }
}

void set_curve_layout(PrintContent& content, int layout) {
    if (!within(layout, 0, 3)) return;
    content.curve_layout = layout;
    const std::array<bool, 3> locked = curves_locked_by_layout(layout);
    if (locked[0]) content.qs_curve = 1;
    if (locked[1]) content.slgt_curve = 1;
    if (locked[2]) content.slgq_curve = 1;
}

void set_table_title(PrintContent& content, int index) {
    if (!within(index, 0, static_cast<int>(kTableTitles.size()) - 1)) return;
    content.table_title = index;
    const std::string_view title = kTableTitles[static_cast<std::size_t>(index)];
    content.zero_minute_rows = title.find("复合地基") != std::string_view::npos ? 1 : 0;
}

}  // namespace kvd
