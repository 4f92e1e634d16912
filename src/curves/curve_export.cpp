#include "curves/curve_export.h"

#include <algorithm>
#include <filesystem>

#include "base/file_io.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "draw/wmf_canvas.h"

namespace kvd {

namespace {

// Percent of the ratio field per step of its spin control.
constexpr int kRatioPerSpinStep = 10;

void report_create_failure(CLbxDoc& doc) {
    doc.ui().message_box(kCreateFileFailed, kCaptionError, MessageButtons::kOk,
                         MessageIcon::kError);
}

}  // namespace

std::string_view metafile_suffix(int window_id) {
    switch (window_id) {
        case kQsWindowId:
            return "_Qs.WMF";
        case kSlgtWindowId:
            return "_slgt.WMF";
        case kSlgQWindowId:
            return "_slgQ.WMF";
        default:
            return {};
    }
}

std::string export_file_name(const std::string& path_or_title, int window_id) {
    std::string name = path_or_title;
    // Only the file name's own dot counts; the folders may have dots too.
    const std::size_t slash = name.find_last_of('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot >= name_start) name.erase(dot);
    name += metafile_suffix(window_id);
    return name;
}

std::string default_export_name(const CLbxDoc& doc, int window_id) {
    return export_file_name(doc.path().empty() ? doc.display_name() : doc.path(), window_id);
}

bool valid_export_ratio(int percent) {
    return percent >= kMinExportRatio && percent <= kMaxExportRatio;
}

bool valid_export_options(const ExportOptions& options) {
    return (options.colour_mode == 0 || options.colour_mode == 1) &&
           valid_export_ratio(options.ratio_percent);
}

std::optional<int> ratio_spin_position(int percent) {
    if (!valid_export_ratio(percent)) return std::nullopt;
    return percent / kRatioPerSpinStep;
}

int ratio_of_spin_position(int position) {
    return std::clamp(position, kMinRatioSpin, kMaxRatioSpin) * kRatioPerSpinStep;
}

Rect metafile_picture(const CImage& curve, double ratio) {
    const Size size = curve.metafile_size(ratio);
    return Rect::below(0, 0, size.cx, size.cy);
}

Bytes metafile_bytes(CImage& curve, double ratio, bool colour, const FontMetrics* metrics) {
    const Rect picture = metafile_picture(curve, ratio);
    FixedFontMetrics fixed;
    WmfCanvas canvas(picture, metrics ? *metrics : fixed);
    curve.paint_metafile(canvas, ratio, colour);
    return canvas.bytes();
}

bool write_metafile(CImage& curve, const std::string& path, bool colour, double ratio,
                    const FontMetrics* metrics) {
    const Bytes bytes = metafile_bytes(curve, ratio, colour, metrics);
    if (path.empty() || !replace_file_atomically(path, bytes).ok()) {
        report_create_failure(curve.doc());
        return false;
    }
    return true;
}

bool export_curve_image(CImage& curve) {
    CLbxDoc& doc = curve.doc();
    SaveDialogRequest request;
    request.proposed_name = default_export_name(doc, curve.window_id());
    request.filter = kMetafileFilter;
    request.title = kExportDialogTitle;
    const std::optional<std::string> path = doc.ui().ask_save_path(request);
    if (!path || path->empty()) return false;

    const std::optional<ExportOptions> options = doc.ui().ask_export_options(ExportOptions{});
    // The dialog keeps its values in range; options that are not are taken
    // as a Cancel rather than drawn at a scale nobody asked for.
    if (!options || !valid_export_options(*options)) return false;
    return write_metafile(curve, *path, options->colour_mode == 1, options->ratio_percent / 100.0);
}

bool write_report_metafile(CImage& curve, const std::string& prefix) {
    return write_metafile(curve, prefix + std::string(metafile_suffix(curve.window_id())), false,
                          kReportPictureRatio);
}

bool write_report_metafiles(CLbxDoc& doc, const std::string& prefix) {
    CQ_s qs(doc);
    Cs_lgt slgt(doc);
    Cs_lgQ slgq(doc);
    return write_report_metafile(qs, prefix) && write_report_metafile(slgt, prefix) &&
           write_report_metafile(slgq, prefix);
}

}  // namespace kvd
