#pragma once
// The rules of the options dialog's page-setup and print-option pages, on
// the working copies of PageSetup and PrintContent: what each choice changes
// and which typed values are refused. The pages show the lists and ask the
// user; what is stored, and what is not, is decided here.
//
// Typed lengths are whole millimetres; the page setup keeps tenths. A refused
// value changes nothing: the page puts the focus back on its field and the
// previous stored value stays.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "doc/page_setup.h"

namespace kvd {

inline constexpr int kMinPaperMm = 50;
inline constexpr int kMaxPaperMm = 500;
inline constexpr int kMinMarginMm = 8;
inline constexpr int kMaxMarginMm = 50;
inline constexpr int kMinRowHeightMm = 4;
inline constexpr int kMaxRowHeightMm = 20;
inline constexpr int kMinPageNumber = 1;
inline constexpr int kMaxPageNumber = 200;

// Refused because the margins would leave less than kLeastPrintableLength
// across or down the paper.
inline constexpr char kTooLittlePaperMessage[] =
    "页边距太宽或纸张太小：纸张在页边距以内的宽度和高度都至少要有 50 mm。";

// A refused value: the field (as the call names its fields) and why: out of
// [min, max], or leaving too little paper inside the margins.
struct FieldRefusal {
    int field = 0;
    int min = 0;
    int max = 0;
    bool too_little_paper = false;
    friend bool operator==(const FieldRefusal&, const FieldRefusal&) = default;
};

// ---- "纸张" ----------------------------------------------------------------

enum PaperField { kPaperWidthField = 0, kPaperHeightField = 1, kOrientationField = 2 };

// A listed paper (0 ... 5): its size, turned for landscape. The custom entry
// and indexes out of the list change nothing.
void choose_paper(PageSetup& setup, int index);
// A typed size (as placed, whole mm): both must lie within 50 ... 500 and
// leave room inside the margins; then the size is stored and the list shows
// the custom entry.
std::optional<FieldRefusal> set_paper_size(PageSetup& setup, int width_mm, int height_mm);
// Portrait or landscape: a change swaps width and height, unless the turned
// paper would leave too little room inside the margins (refused).
std::optional<FieldRefusal> set_landscape(PageSetup& setup, bool landscape);

// ---- "页边距" ---------------------------------------------------------------

enum MarginField {
    kTopMarginField = 0,
    kBottomMarginField = 1,
    kLeftMarginField = 2,
    kRightMarginField = 3,
    kRowHeightField = 4,
};

// Whole millimetres, in the order of MarginField.
using MarginValues = std::array<int, 5>;
MarginValues margin_values(const PageSetup& setup);
// All four margins within 8 ... 50 and the row height within 4 ... 20, the
// first field in MarginField order that is not refused, and margins that
// leave room on the paper (the left or top field is refused when they do
// not); only then all five are stored.
std::optional<FieldRefusal> set_margins(PageSetup& setup, const MarginValues& mm);

// ---- "页码" -----------------------------------------------------------------

// The lists of the page, in the order of the stored indexes.
inline constexpr std::array<std::string_view, 5> kPageNumberFormatTexts = {
    ". 1 .", "- 1 -", "  1", "第 1 页", "第 1 页  共 1 页 ",
};
inline constexpr std::array<std::string_view, 6> kPageNumberPositionTexts = {
    "底部靠右", "底部靠左", "底部居中", "顶部靠右", "顶部靠左", "顶部居中",
};
// The format that prints the total as well.
inline constexpr int kFormatWithTotal = 4;

// The total-pages field and its spin are enabled only for that format.
bool total_pages_enabled(const PageSetup& setup);
// First page and total: within 1 ... 200, else refused (field 0).
std::optional<FieldRefusal> set_first_page_number(PageSetup& setup, int value);
std::optional<FieldRefusal> set_total_pages(PageSetup& setup, int value);

// ---- "曲线部分" and "表格部分" -------------------------------------------------

// The curve check boxes a layout checks and locks, in the order Q-s, s-lgt,
// s-lgQ: none for 0, Q-s and s-lgt for 1, s-lgt and s-lgQ for 2, all for 3.
std::array<bool, 3> curves_locked_by_layout(int layout);
// Chooses a layout (0 ... 3; others change nothing) and checks the curves it locks.
void set_curve_layout(PrintContent& content, int layout);
// Chooses a table title (an index into kTableTitles; others change nothing);
// a composite foundation title prints the 0-minute rows, any other not.
void set_table_title(PrintContent& content, int index);

}  // namespace kvd
