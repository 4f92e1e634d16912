#include "doc/paper_sizes.h"

namespace kvd {

int paper_index_for_size(int width_mm, int height_mm) {
    for (int i = 0; i < kCustomPaperIndex; ++i) {
        const PaperSize& paper = kPaperSizes[static_cast<std::size_t>(i)];
        if (paper.width_mm == width_mm && paper.height_mm == height_mm) return i;
    }
    return kCustomPaperIndex;
}

int paper_index_of(const PageSetup& setup) {
    const int width = setup.landscape ? setup.paper_height : setup.paper_width;
    const int height = setup.landscape ? setup.paper_width : setup.paper_height;
    return paper_index_for_size(width / 10, height / 10);
}

int paper_code_of(const PageSetup& setup) {
    return kPaperSizes[static_cast<std::size_t>(paper_index_of(setup))].code;
}

const PaperSize* paper_for_code(int code) {
    for (const PaperSize& paper : kPaperSizes) {
        if (paper.code == code) return &paper;
    }
    return nullptr;
}

}  // namespace kvd
