#pragma once
// StartOptions: what the command line of kvd asks for.
//
//   kvd [--nosplash] [FILE]
//   kvd --grab OUT.png [--curve qs|slgt|slgq]
//       [--table summary|load|unload|raw|changes|anchor|analysis] [--page 0-4] [--size WxH] [FILE]
//   kvd --grab OUT.png --dialog NAME [--size WxH] [FILE]
//   kvd --grab OUT.png --dialog group [--size WxH] FILE...
//
// The grab renders the main window with FILE open and those tabs chosen into
// OUT.png and ends the program (used for tests and documentation). With
// --dialog it renders that dialog instead: the about box ("about"), the open
// dialog previewing FILE ("open"), the calibration tool showing the table
// FILE ("calibration"), the options dialog at one of its page-setup or
// print-option pages ("paper", "page-numbers", "print-curves",
// "print-tables"), the print preview ("preview"), the Word export's options
// ("word") or the upload dialog ("upload") for the test FILE, or the group
// statistics with every FILE added ("group").

#include <optional>
#include <string>
#include <vector>

#include "curves/image.h"
#include "tables/table_factory.h"

namespace kvd {

enum class GrabDialog {
    kAbout,
    kOpen,
    kCalibration,
    kPaper,
    kPageNumbers,
    kCurvePrinting,
    kTablePrinting,
    kPrintPreview,
    kWordOptions,
    kUpload,
    kGroup,
};

// The --dialog name of a dialog, and the dialog of a name.
const char* grab_dialog_name(GrabDialog dialog);
std::optional<GrabDialog> grab_dialog_from_name(const std::string& name);

struct GrabOptions {
    std::string output;
    std::optional<GrabDialog> dialog;
    std::optional<CurveKind> curve;
    std::optional<TableKind> table;
    bool analysis = false;    // --table analysis: the "承载力分析" tab
    std::optional<int> page;  // parameter page 0 ... 4
    int width = 1280;
    int height = 800;
    bool size_given = false;         // a dialog is grabbed at its own size otherwise
    std::vector<std::string> files;  // --dialog group: every file given, in order
};

struct StartOptions {
    bool splash = true;
    std::string file;  // empty: a new document
    std::optional<GrabOptions> grab;
    std::string error;  // set when the command line is not understood

    bool ok() const { return error.empty(); }
};

// Parses the arguments after the program name (Qt's own options already
// taken out).
StartOptions parse_start_options(const std::vector<std::string>& args);

// Whether the raw arguments ask for a window grab: the program then renders
// offscreen, so this is needed before the application object exists.
bool wants_grab(int argc, char** argv);

// The usage text shown for a command line that is not understood.
const char* start_usage();

}  // namespace kvd
