#pragma once
// The paper sizes the page setup offers ("纸张大小"), each with its size in
// portrait (whole millimetres) and the printer paper code a print job asks
// the printer for. The paper page of the options dialog lists them; the
// print job looks its paper up here by the page setup's size.
//
// Paper codes are the Windows printer paper numbers (9 A4, 12 B4, 13 B5,
// 28 envelope C5, 34 envelope B5); 256 asks for a user-defined size.

#include <array>

#include "doc/page_setup.h"

namespace kvd {

struct PaperSize {
    const char* name;  // the list text
    int width_mm;      // portrait; 0 for the custom entry
    int height_mm;
    int code;
};

inline constexpr int kUserDefinedPaperCode = 256;
inline constexpr int kCustomPaperIndex = 6;  // "自定义大小": as entered

inline constexpr std::array<PaperSize, 7> kPaperSizes = {{
    {"B4 图纸(有的打印机可能不支持)", 250, 354, 12},
    {"A4 图纸", 210, 297, 9},
    {"16 开纸(有的打印机可能不支持)", 184, 260, kUserDefinedPaperCode},
    {"B5 图纸", 182, 257, 13},
    {"信封B5", 176, 250, 34},
    {"信封C5", 162, 229, 28},
    {"自定义大小(有的打印机可能不支持)", 0, 0, kUserDefinedPaperCode},
}};

// The entry (0 ... 5) of a portrait size in whole millimetres; the custom
// entry when no named size matches.
int paper_index_for_size(int width_mm, int height_mm);

// The entry of the page setup's paper: its size in whole millimetres (tenths
// truncated), swapped back to portrait when the setup is landscape.
int paper_index_of(const PageSetup& setup);

// The paper code the printer is asked for: the code of the setup's entry,
// kUserDefinedPaperCode for a size of no named paper.
int paper_code_of(const PageSetup& setup);

// The first entry with a paper code; nullptr for a code no entry has.
const PaperSize* paper_for_code(int code);

}  // namespace kvd
