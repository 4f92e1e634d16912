#pragma once
// Command identifiers of the main window's menus and toolbars. The curve and
// table commands keep their own identifiers (curves/curve_commands.h,
// tables/table_edit_commands.h); the main window routes those to the active
// pane.

namespace kvd::frame_command {

inline constexpr int kNew = 32819;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kWordExport = 32873;
inline constexpr int kExcelExport = 32867;
inline constexpr int kPageSetup = 32806;
inline constexpr int kPrintSetup = 32805;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kPrint = 57607;
inline constexpr int kRecentFile = 57616;
inline constexpr int kExit = 57665;
inline constexpr int kCalibrationTool = 32869;
inline constexpr int kGroupStatistics = 32874;
inline constexpr int kAddUnloading = 32820;
inline constexpr int kRestoreRawData = 32800;
inline constexpr int kUpload = 218;
inline constexpr int kOptions = 32802;
inline constexpr int kChannelSetup = 32801;
inline constexpr int kToolbars = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kSupportPage = 32866;
inline constexpr int kAnalysisUpdate = 32870;
inline constexpr int kTesterUpdate = 32871;
inline constexpr int kAbout = 57664;
inline constexpr int kHelp = 57670;
inline constexpr int kZoomBox = 32772;
inline constexpr int kFitWindow = 32790;
inline constexpr int kInsertReading = 32782;
inline constexpr int kDeleteReading = 32784;
inline constexpr int kInvert = 32779;
inline constexpr int kShift = 32780;
inline constexpr int kSetAxes = 32798;
inline constexpr int kExportImage = 32834;
inline constexpr int kChangeIntervals = 32796;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;

}  // namespace kvd::frame_command
