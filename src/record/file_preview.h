#pragma once
// FilePreview: what the open dialog shows of a file before it is opened — its
// class (file_classifier.h), a short summary and the points of a small
// load-displacement curve. It reads a bounded part of the file: the first
// kPreviewFirstReadBytes (prefix, header, a test file's first readings), an
// analysis file's sample points up to kPreviewMaxPoints, and the last
// kPreviewTailBytes (where a test file's last raw reading is), so a huge or
// damaged file previews about as quickly as a small one. No count read from the file
// is trusted: every one is checked against the bytes the file holds.
//
// The open command uses the class of the chosen file; everything else is shown
// and never changes what the document reads.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_image.h"
#include "record/file_classifier.h"

namespace kvd {

// Sample points an analysis file's preview reads at most (about 1.2 MB).
inline constexpr std::size_t kPreviewMaxPoints = 8192;
// Bytes read from the beginning of every file.
inline constexpr std::size_t kPreviewFirstReadBytes = 64 * 1024;
// Bytes read from the end of a file.
inline constexpr std::size_t kPreviewTailBytes = 4096;
// The largest per-reading snapshot size the preview accepts.
inline constexpr std::int32_t kPreviewMaxSnapshotSize = 2048;

// One loading grade: its load and its cumulative displacement (mm).
struct PreviewPoint {
    int load = 0;
    double displacement = 0;
    friend bool operator==(const PreviewPoint&, const PreviewPoint&) = default;
};

struct FilePreview {
    bool opened = false;   // the file could be read at all
    FileProbe probe;       // class, kind and version
    bool details = false;  // the header was read (current layouts only)

    // From the header.
    std::string site_name;
    std::string pile_number;
    bool test_point = false;  // a foundation test: 点号 instead of 桩号
    std::int64_t test_time = 0;
    std::string instrument_number;
    bool in_kpa = false;
    bool uplift = false;

    int final_load = 0;
    double final_displacement = 0;  // mm, two decimals
    bool has_final = false;

    // Test files (kind 1).
    long long raw_count = 0;  // raw readings the file holds
    bool has_last_reading = false;
    std::int64_t last_time = 0;

    // Analysis files (kinds 2 and 3).
    long long reading_count = 0;       // sample points the file holds
    bool points_cut = false;           // more than kPreviewMaxPoints: only the first were read
    bool has_raw = false;              // kind 3
    std::vector<PreviewPoint> points;  // one per loading grade, in test order
};

// The preview of a file's bytes: head is the file's beginning (an analysis
// file's sample points are previewed as far as it reaches, a test file's
// readings are counted exactly when it is the whole file), tail its last
// bytes (at most kPreviewTailBytes), file_size its whole length.
FilePreview preview_file_bytes(ByteView head, ByteView tail, std::uint64_t file_size);

// Reads the beginning and the end of a file. A file that cannot be read gives
// opened false and class kUnclassified.
FilePreview preview_file(const std::filesystem::path& path);

// The most of a file's beginning the preview reads.
inline constexpr std::size_t kPreviewHeadBytes = 1900 + kPreviewMaxPoints * 152;

// The information area's text, one line per row ("\n" between rows).
std::string preview_info_text(const FilePreview& preview);

// What the curve area shows.
enum class PreviewPicture { kCross, kText, kCurve };
PreviewPicture preview_picture(const FilePreview& preview);
// The curve area's text when it shows one.
std::string preview_curve_text(const FilePreview& preview);

// The small curve in pixels of an area width x height (y grows downwards):
// the origin, the ends of the load axis (to the right) and of the
// displacement axis (down from the top-left corner, or up from the
// bottom-left one for an uplift test), and one point per loading grade.
struct PreviewCurveGeometry {
    struct Point {
        int x = 0;
        int y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };
    Point origin;
    Point load_axis_end;
    Point displacement_axis_end;
    std::vector<Point> points;
};
PreviewCurveGeometry layout_preview_curve(const std::vector<PreviewPoint>& points, int width,
                                          int height, bool uplift);

}  // namespace kvd
