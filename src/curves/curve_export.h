#pragma once
// Curve pictures as Windows metafiles: the export command of a curve's
// context menu ("导出图像(&E) ...", 32834) and the three pictures that the
// Word report puts into its curve table.
//
//   export command                               report
//   save dialog (default name) -> options dialog  prefix
//          |                                       |
//          +--> write_metafile(curve, path, colour, ratio) <--+  (black and white, 1.5)
//                 WmfCanvas over metafile_picture(curve, ratio)
//                 CImage::paint_metafile: the window's drawing at sx = 2 / ratio,
//                 sy = -2, marks included on Q-s, no background
//                 written in one step; "建立文件失败！" when that fails
//
// The picture is the design square scaled to 2000 / ratio by 2000 tenths of a
// millimetre (133.3 mm x 200 mm at the default 150 %), drawn in the
// anisotropic map mode so that the embedding document sets its size.
//
// Painting a metafile leaves the curve's working state (scale, scaled styles,
// screen points) at the metafile's: the window repaints the curve after an
// export before it hit-tests the mouse again.

#include <optional>
#include <string>
#include <string_view>

#include "base/byte_image.h"
#include "curves/image.h"
#include "doc/user_interface.h"
#include "draw/font_metrics.h"

namespace kvd {

inline constexpr char kMetafileFilter[] = "WINDOWS 图元文件(*.WMF)|*.WMF";
inline constexpr char kExportDialogTitle[] = "导出图像文件";
inline constexpr char kCreateFileFailed[] = "建立文件失败！";
// What the options dialog says when the ratio is out of range on OK.
inline constexpr char kExportRatioRangeMessage[] = "请输入一个介于 10 和 1000 之间的整数。";
// The report's pictures: black on white, 1.5 times as high as wide.
inline constexpr double kReportPictureRatio = 1.5;

// The file-name suffix of a curve window: "_Qs.WMF" (61458), "_slgt.WMF"
// (61449), "_slgQ.WMF" (61450); empty for another identifier.
std::string_view metafile_suffix(int window_id);

// The name the export dialog proposes: the path (or, for a document never
// saved, the title) without the extension of its file name, then the
// suffix. A dot in a folder name is not an extension: "/a.b/T1" keeps its
// whole name.
std::string export_file_name(const std::string& path_or_title, int window_id);
std::string default_export_name(const CLbxDoc& doc, int window_id);

// The ratio field of the options dialog and its spin control, which steps
// the ratio in tens (positions 1 ... 100).
inline constexpr int kMinRatioSpin = 1;
inline constexpr int kMaxRatioSpin = 100;
bool valid_export_ratio(int percent);
// Colour mode 0 or 1 and a ratio within kMinExportRatio ... kMaxExportRatio.
bool valid_export_options(const ExportOptions& options);
// When the ratio field loses the focus: the spin's new position (percent /
// 10), or nothing for a value out of range (the focus goes back to the field).
std::optional<int> ratio_spin_position(int percent);
// The ratio a spin position stands for; the position is kept to 1 ... 100.
int ratio_of_spin_position(int position);

// The logical rectangle the metafile shows: from (0, 0) at its top-left
// corner, CImage::metafile_size(ratio) wide and high (y up).
Rect metafile_picture(const CImage& curve, double ratio);

// The whole metafile of the curve: `ratio` is height to width (1.5 for
// 150 %); `colour` false forces black on white. Text is measured with
// `metrics` (FixedFontMetrics when none is given).
Bytes metafile_bytes(CImage& curve, double ratio, bool colour,
                     const FontMetrics* metrics = nullptr);

// Renders and writes the metafile to `path`, replacing an existing file only
// once the new one is complete. On failure: "建立文件失败！" ("错误", stop
// icon) through the document's UserInterface, nothing written, false.
bool write_metafile(CImage& curve, const std::string& path, bool colour, double ratio,
                    const FontMetrics* metrics = nullptr);

// 32834: the save dialog ("WINDOWS 图元文件(*.WMF)|*.WMF", "导出图像文件",
// the default name), the options dialog (black and white, 150 %), then the
// picture at the chosen colour mode and ratio / 100. True when a file was
// written; Cancel in either dialog writes nothing.
bool export_curve_image(CImage& curve);

// For the Word report: the curve's picture to prefix + its suffix, black and
// white at ratio 1.5.
bool write_report_metafile(CImage& curve, const std::string& prefix);
// The three pictures (Q-s, s-lgt, s-lgQ, in this order) of the document;
// stops at the first that cannot be written (after its message) with false.
bool write_report_metafiles(CLbxDoc& doc, const std::string& prefix);

}  // namespace kvd
