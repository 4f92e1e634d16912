#pragma once
// The papers the report can be printed on: the list "纸张大小" of the paper
// page and the printer paper code each is sent with. The paper page fills the
// page setup from it and shows the entry that matches the stored size; the
// print job looks the stored size up to tell the printer which paper to use.
//
// Sizes are whole millimetres, portrait (width below height). The last entry
// is the size the user typed; it has no size of its own.

#include <array>
#include <optional>
#include <string_view>

#include "doc/page_setup.h"

namespace kvd {

// Printer paper codes (the Windows DMPAPER numbers the printers know).
inline constexpr int kPaperCodeA4 = 9;
inline constexpr int kPaperCodeB4 = 12;
inline constexpr int kPaperCodeB5 = 13;
inline constexpr int kPaperCodeEnvelopeC5 = 28;
inline constexpr int kPaperCodeEnvelopeB5 = 34;
// A size given in full to the printer (width and length), not by name.
inline constexpr int kPaperCodeUserDefined = 256;

struct PaperSize {
    std::string_view text;  // as the list shows it
    int width_mm = 0;       // portrait; 0 for the custom entry
    int height_mm = 0;
    int code = kPaperCodeUserDefined;
};

inline constexpr std::array<PaperSize, 7> kPaperSizes = {{
    {"B4 图纸(有的打印机可能不支持)", 250, 354, kPaperCodeB4},
    {"A4 图纸", 210, 297, kPaperCodeA4},
    {"16 开纸(有的打印机可能不支持)", 184, 260, kPaperCodeUserDefined},
    {"B5 图纸", 182, 257, kPaperCodeB5},
    {"信封B5", 176, 250, kPaperCodeEnvelopeB5},
    {"信封C5", 162, 229, kPaperCodeEnvelopeC5},
    {"自定义大小(有的打印机可能不支持)", 0, 0, kPaperCodeUserDefined},
}};
inline constexpr int kCustomPaperIndex = 6;

// The entry of a portrait size in whole millimetres; kCustomPaperIndex when
// no listed paper has it.
int paper_index_by_size(int width_mm, int height_mm);

// The entry a page setup is on: its size in whole millimetres (tenths cut
// off), turned back to portrait when landscape.
int paper_index(const PageSetup& setup);

// The printer paper code of a page setup: the code of its entry, so
// kPaperCodeUserDefined for the 16 开 paper and for a size no entry has.
int paper_code(const PageSetup& setup);

// The first listed paper with a printer code; nothing for a code not listed
// and for kPaperCodeUserDefined, which names no size.
std::optional<PaperSize> paper_by_code(int code);

}  // namespace kvd
