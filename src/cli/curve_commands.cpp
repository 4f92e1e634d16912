// kvdtool's curve commands: curve (one curve as WMF, SVG, PNG or PDF),
// curves (the report's three metafiles), curve-texts (what a metafile writes)
// and mark (a mark read off the loading curve).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/numeric.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "curves/curve_export.h"
#include "curves/mark_computation.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/lbx_doc.h"
#include "draw/recording_canvas.h"
#include "qt/page_render.h"

namespace kvd::cli {
namespace {

constexpr char kCurveUsage[] =
    "用法: kvdtool curve FILE --kind qs|slgt|slgq OUT [--ratio PCT] [--colour]";
constexpr char kCurveTextsUsage[] = "用法: kvdtool curve-texts FILE --kind qs|slgt|slgq";
constexpr char kMarkUsage[] = "用法: kvdtool mark FILE (--load Q | --settlement S | --ratio R)";

std::unique_ptr<CImage> make_curve(const std::string& key, CLbxDoc& doc) {
    if (key == "qs") return std::make_unique<CQ_s>(doc);
    if (key == "slgt") return std::make_unique<Cs_lgt>(doc);
    if (key == "slgq") return std::make_unique<Cs_lgQ>(doc);
    return nullptr;
}

bool known_kind(const std::string& key) {
    return key == "qs" || key == "slgt" || key == "slgq";
}

// A finite number filling the whole text.
bool parse_number(const std::string& text, double& value) {
    return parse_decimal_number(text, value) && std::isfinite(value);
}

// A text on one line: a newline becomes the two characters "\n".
void print_one_line(const std::string& text) {
    for (char c : text) {
        if (c == '\n')
            std::fputs("\\n", stdout);
        else
            std::fputc(c, stdout);
    }
}

}  // namespace

int run_curve(const Args& arguments) {
    Args args = arguments;
    const bool colour = take_flag(args, "--colour");
    std::string kind;
    const bool kind_given = take_option(args, "--kind", kind);
    std::string ratio_text;
    long long percent = ExportOptions{}.ratio_percent;
    if (take_option(args, "--ratio", ratio_text) && !parse_int(ratio_text, percent)) {
        return usage_error("--ratio 需要整数（百分比）");
    }
    if (args.size() != 2 || !kind_given || !known_kind(kind)) return usage_error(kCurveUsage);
    const std::string extension = lower_extension(args[1]);
    if (extension != ".wmf" && extension != ".svg" && extension != ".png" && extension != ".pdf") {
        return usage_error("输出文件的扩展名必须是 .wmf、.svg、.png 或 .pdf");
    }
    if (percent < kMinExportRatio || percent > kMaxExportRatio) {
        std::fprintf(stderr, "%s\n", kExportRatioRangeMessage);
        return 1;
    }

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    const std::unique_ptr<CImage> curve = make_curve(kind, doc);
    const double ratio = static_cast<double>(percent) / 100.0;
    if (extension == ".wmf") return write_metafile(*curve, args[1], colour, ratio) ? 0 : 1;

    // The metafile's drawing through the Qt canvas, on a page of its size.
    ensure_gui_application();
    const Size size = curve->metafile_size(ratio);
    const PagePainter painter = [&](Canvas& canvas) {
        curve->paint_metafile(canvas, ratio, colour);
    };
    Status status = Status::success();
    if (extension == ".png")
        status = render_page_to_png(args[1], size, painter);
    else if (extension == ".svg")
        status = render_page_to_svg(args[1], size, painter);
    else
        status = render_pages_to_pdf(args[1], size, {painter});
    if (!status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}

int run_curves(const Args& args) {
    if (args.size() != 2) return usage_error("用法: kvdtool curves FILE PREFIX");
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    return write_report_metafiles(doc, args[1]) ? 0 : 1;
}

int run_curve_texts(const Args& arguments) {
    Args args = arguments;
    std::string kind;
    const bool kind_given = take_option(args, "--kind", kind);
    if (args.size() != 1 || !kind_given || !known_kind(kind)) return usage_error(kCurveTextsUsage);
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    const std::unique_ptr<CImage> curve = make_curve(kind, doc);
    // Measured as the metafile measures, so the same labels are kept.
    RecordingCanvas canvas;
    curve->paint_metafile(canvas, 1.0, false);
    for (const recorded::Text& text : canvas.texts()) {
        std::printf("%d\t%d\t", text.box.left, text.box.top);
        print_one_line(text.text);
        std::fputc('\n', stdout);
    }
    return 0;
}

int run_mark(const Args& arguments) {
    Args args = arguments;
    std::string load, settlement, ratio;
    const bool by_load = take_option(args, "--load", load);
    const bool by_settlement = take_option(args, "--settlement", settlement);
    const bool by_ratio = take_option(args, "--ratio", ratio);
    if (args.size() != 1 || by_load + by_settlement + by_ratio != 1) return usage_error(kMarkUsage);
    MarkMode mode = MarkMode::kByLoad;
    double value = 0;
    if (by_load) {
        // The dialog's load field takes whole numbers.
        long long whole = 0;
        if (!parse_int(load, whole)) return usage_error("--load 需要整数");
        value = static_cast<double>(whole);
    } else if (by_settlement) {
        mode = MarkMode::kBySettlement;
        if (!parse_number(settlement, value)) return usage_error("--settlement 需要数值");
    } else {
        mode = MarkMode::kByRatio;
        if (!parse_number(ratio, value)) return usage_error("--ratio 需要数值");
    }

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    const MarkResult mark = compute_mark(doc.record().grades, mode, value);
    std::printf("%lld %.2f %.3f %d\n", std::llround(mark.load), mark.settlement, mark.ratio,
                mark.valid ? 1 : 0);
    return 0;
}

}  // namespace kvd::cli
