// Fuzzes the open dialog's preview of a file: the input is the whole file,
// read as the dialog reads it (its beginning and its end). Whatever the bytes,
// the preview must stay within what they can hold: no more readings than the
// bytes could carry, no more curve points than readings, and texts and a
// curve layout that can be made without fault.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "record/file_preview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvd;
    const ByteView all(data, size);
    const ByteView head = all.first(std::min(size, kPreviewHeadBytes));
    const ByteView tail = all.last(std::min(size, kPreviewTailBytes));
    const FilePreview preview = preview_file_bytes(head, tail, size);
    if (preview.raw_count < 0 || static_cast<std::uint64_t>(preview.raw_count) > size / 184 ||
        preview.reading_count < 0 ||
        static_cast<std::uint64_t>(preview.reading_count) > size / 152 ||
        preview.points.size() > static_cast<std::size_t>(preview.reading_count) ||
        preview.points.size() > kPreviewMaxPoints) {
        std::abort();
    }
    (void)preview_info_text(preview);
    (void)preview_curve_text(preview);
    for (const auto& p : layout_preview_curve(preview.points, 200, 150, preview.uplift).points) {
        if (p.x < 0 || p.x > 200 || p.y < 0 || p.y > 150) std::abort();
    }
    return 0;
}
