#pragma once
// PageSetup and PrintContent: how the report goes on paper and what it holds.
// Both are held by the document; lengths are tenths of a millimetre.

#include <array>
#include <string>

namespace kvd {

struct PageSetup {
    int paper_width = 2100;   // as placed on the page (already swapped for landscape)
    int paper_height = 2970;
    int landscape = 0;
    int top_margin = 250;
    int bottom_margin = 150;
    int left_margin = 250;
    int right_margin = 250;
    int row_height = 60;      // table row height
    int title_height = 80;    // a table's title band
    int title_spacing = 80;   // space below the title band
    int header_rows_height = 0;  // set by a table while it paginates
    int page_number_mode = 0;    // 0 all pages, 1 none, 2 table pages, 3 curve pages
    int first_page_number = 1;
    int total_pages = 1;
    int page_number_format = 0;
    int page_number_position = 0;
    int print_header = 0;
    int print_footer = 0;
    std::string header_text;
    std::string footer_text;

    int printable_width() const { return paper_width - left_margin - right_margin; }
    int printable_height() const { return paper_height - top_margin - bottom_margin; }
};

// The least width and height the margins must leave to print on (5 cm): the
// title block, a table row and a curve need that much. Margins that leave
// less are refused by the margin page and not taken from the settings.
inline constexpr int kLeastPrintableLength = 500;

// Sign-off line modes of PrintContent::sign_off.
inline constexpr int kSignOffEveryPage = 0;
inline constexpr int kSignOffNever = 1;
inline constexpr int kSignOffFirstPage = 2;

struct PrintContent {
    int summary = 1;
    int loading_detail = 1;
    int unloading_detail = 1;
    int anchor_pile = 1;
    int raw_record = 1;
    int modification_record = 1;  // printed only while the extended display is on
    int qs_curve = 1;
    int slgt_curve = 1;
    int slgq_curve = 1;
    int zero_minute_rows = 1;     // detail tables print each grade's 0-minute reading
    int curve_aspect = 0;         // 0 = 3:2, 1 = 1:1
    int curve_layout = 3;         // 0 each alone ... 3 all three on one page
    int simple_summary = 1;
    int table_title = 0;          // index into kTableTitles
    int sign_off = kSignOffFirstPage;
    // The bearing-capacity interpretation after the summary table; off
    // unless chosen (a settings store without it reads as off).
    int analysis = 0;
};

inline constexpr std::array<const char*, 8> kTableTitles = {
    "单桩竖向抗压静载试验", "单桩竖向抗拔静载试验", "单桩水平静载试验", "单桩复合地基静载试验",
    "多桩复合地基静载试验", "单桩静载试验",         "基岩静载试验",     "压板静载试验",
};

// The report title chosen for the tables; the first when the index is out of range.
inline const char* table_title(const PrintContent& content) {
    const int i = content.table_title;
    return kTableTitles[i >= 0 && i < static_cast<int>(kTableTitles.size()) ? i : 0];
}

}  // namespace kvd
