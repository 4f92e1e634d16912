#include "doc/paper_sizes.h"

namespace kvd {

int paper_index_by_size(int width_mm, int height_mm) {
    for (int i = 0; i < kCustomPaperIndex; ++i) {
        const PaperSize& paper = kPaperSizes[static_cast<std::size_t>(i)];
        if (paper.width_mm == width_mm && paper.height_mm == height_mm) return i;
    }
    return kCustomPaperIndex;
}

int paper_index(const PageSetup& setup) {
    // The stored sizes are tenths of a millimetre; the list compares whole ones.
    const int width = setup.paper_width / 10;
    const int height = setup.paper_height / 10;
    return setup.landscape ? paper_index_by_size(height, width)
                           : paper_index_by_size(width, height);
}

int paper_code(const PageSetup& setup) {
    return kPaperSizes[static_cast<std::size_t>(paper_index(setup))].code;
}

std::optional<PaperSize> paper_by_code(int code) {
    if (code == kPaperCodeUserDefined) return std::nullopt;
    for (const PaperSize& paper : kPaperSizes) {
        if (paper.code == code) return paper;
    }
    return std::nullopt;
}

}  // namespace kvd
