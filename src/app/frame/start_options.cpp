#include "app/frame/start_options.h"

#include <cstring>

namespace kvd {
namespace {

bool parse_size(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    auto number = [](const std::string& part, int& value) {
        if (part.empty() || part.size() > 5) return false;
        value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    if (!number(text.substr(0, x), width) || !number(text.substr(x + 1), height)) return false;
    // Small enough for any window system, large enough to lay the panes out.
    return width >= 400 && height >= 300 && width <= 8000 && height <= 8000;
}

std::optional<CurveKind> curve_from_key(const std::string& key) {
    if (key == "qs") return CurveKind::kQs;
    if (key == "slgt") return CurveKind::kSlgt;
    if (key == "slgq") return CurveKind::kSlgQ;
    return std::nullopt;
}

// Every dialog a grab can show, in the order the usage lists them.
constexpr GrabDialog kGrabDialogs[] = {
    GrabDialog::kAbout,         GrabDialog::kOpen,         GrabDialog::kCalibration,
    GrabDialog::kPaper,         GrabDialog::kPageNumbers,  GrabDialog::kCurvePrinting,
    GrabDialog::kTablePrinting, GrabDialog::kPrintPreview, GrabDialog::kWordOptions,
    GrabDialog::kUpload,        GrabDialog::kGroup,
};

}  // namespace

const char* grab_dialog_name(GrabDialog dialog) {
    switch (dialog) {
        case GrabDialog::kAbout:
            return "about";
        case GrabDialog::kOpen:
            return "open";
        case GrabDialog::kCalibration:
            return "calibration";
        case GrabDialog::kPaper:
            return "paper";
        case GrabDialog::kPageNumbers:
            return "page-numbers";
        case GrabDialog::kCurvePrinting:
            return "print-curves";
        case GrabDialog::kTablePrinting:
            return "print-tables";
        case GrabDialog::kPrintPreview:
            return "preview";
        case GrabDialog::kWordOptions:
            return "word";
        case GrabDialog::kUpload:
            return "upload";
        case GrabDialog::kGroup:
            return "group";
    }
    return "";
}

std::optional<GrabDialog> grab_dialog_from_name(const std::string& name) {
    for (GrabDialog dialog : kGrabDialogs) {
        if (name == grab_dialog_name(dialog)) return dialog;
    }
    return std::nullopt;
}

const char* start_usage() {
    return "用法: kvd [--nosplash] [文件]\n"
           "      kvd --grab OUT.png [--curve qs|slgt|slgq]\n"
           "          [--table summary|load|unload|raw|changes|anchor|analysis] [--page 0-4]\n"
           "          [--size 宽x高] [文件]\n"
           "      kvd --grab OUT.png --dialog about|open|calibration|paper|page-numbers|\n"
           "          print-curves|print-tables|preview|word|upload [--size 宽x高] [文件]\n"
           "      kvd --grab OUT.png --dialog group [--size 宽x高] 文件...";
}

StartOptions parse_start_options(const std::vector<std::string>& args) {
    StartOptions options;
    GrabOptions grab;
    bool grabbing = false;
    bool grab_only = false;               // an option that means something only with --grab
    std::vector<std::string> more_files;  // the group grab takes several
    auto fail = [&](std::string message) {
        options.error = std::move(message);
        return options;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "--nosplash") {
            options.splash = false;
        } else if (arg == "--grab" || arg == "--curve" || arg == "--table" || arg == "--page" ||
                   arg == "--size" || arg == "--dialog") {
            if (!has_value) return fail(arg + " 需要一个值");
            const std::string& value = args[++i];
            if (arg == "--grab") {
                grabbing = true;
                grab.output = value;
                continue;
            }
            grab_only = true;
            if (arg == "--curve") {
                grab.curve = curve_from_key(value);
                if (!grab.curve) return fail("未知的曲线: " + value);
            } else if (arg == "--table" && value == "analysis") {
                grab.analysis = true;
            } else if (arg == "--table") {
                TableKind kind;
                if (!table_kind_from_key(value, kind)) return fail("未知的表格: " + value);
                grab.table = kind;
            } else if (arg == "--dialog") {
                grab.dialog = grab_dialog_from_name(value);
                if (!grab.dialog) return fail("未知的对话框: " + value);
            } else if (arg == "--page") {
                if (value.size() != 1 || value[0] < '0' || value[0] > '4') {
                    return fail("--page 需要 0 到 4 之间的数");
                }
                grab.page = value[0] - '0';
            } else if (!parse_size(value, grab.width, grab.height)) {
                return fail("--size 需要 宽x高 (400x300 到 8000x8000): " + value);
            } else {
                grab.size_given = true;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return fail("未知的选项: " + arg);
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            more_files.push_back(arg);
        }
    }
    if (!more_files.empty() && grab.dialog != GrabDialog::kGroup) return fail("只能打开一个文件");
    if (grab_only && !grabbing) {
        return fail("--curve、--table、--page、--size、--dialog 只用于 --grab");
    }
    if (grabbing) {
        if (grab.output.empty()) return fail("--grab 需要输出文件名");
        options.splash = false;
        if (!options.file.empty()) grab.files.push_back(options.file);
        grab.files.insert(grab.files.end(), more_files.begin(), more_files.end());
        options.grab = grab;
    }
    return options;
}

bool wants_grab(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--grab") == 0) return true;
    }
    return false;
}

}  // namespace kvd
