// kvdtool print-table: a table's printed pages on the default A4 page setup,
// as PDF (all pages), PNG or SVG (one page).

#include <QGuiApplication>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/format.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/lbx_doc.h"
#include "qt/font_setup.h"
#include "qt/page_render.h"
#include "tables/table_factory.h"

namespace kvd::cli {

std::string lower_extension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Qt draws text only with an application object; without a display it
// renders offscreen.
void ensure_gui_application() {
    if (QGuiApplication::instance()) return;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static int argc = 1;
    static char name[] = "kvdtool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    install_font_substitutions();
}

int run_print_table(const Args& arguments) {
    Args args = arguments;
    std::string value;
    long long page = 1;
    const bool page_given = take_option(args, "--page", value);
    if (page_given && (!parse_int(value, page) || page < 1)) return usage_error("--page 需要正整数");
    TableKind kind;
    if (args.size() != 3 || !table_kind_from_key(args[0], kind)) {
        return usage_error(
            "用法: kvdtool print-table summary|load|unload|raw|changes|anchor FILE OUT [--page N]");
    }
    const std::string extension = lower_extension(args[2]);
    if (extension != ".pdf" && extension != ".png" && extension != ".svg") {
        return usage_error("输出文件的扩展名必须是 .pdf、.png 或 .svg");
    }

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[1])) return 1;
    ensure_gui_application();
    FixedFontMetrics metrics;
    auto table = make_table(kind, doc, metrics);
    PageSetup& setup = doc.page_setup();
    const PrintContent& content = doc.print_content();
    const int pages = table->page_count(setup, content);
    if (pages == 0) {
        std::fprintf(stderr, "该表没有可打印的页\n");
        return 1;
    }
    const Size paper{setup.paper_width, setup.paper_height};
    auto painter = [&](int n) {
        // The table was filled when its pages were counted.
        return [&, n](Canvas& canvas) { table->print_page(canvas, n, setup, content, false); };
    };

    Status status = Status::success();
    if (extension == ".pdf" && !page_given) {
        std::vector<PagePainter> all;
        for (int n = 1; n <= pages; ++n) all.push_back(painter(n));
        status = render_pages_to_pdf(args[2], paper, all);
    } else {
        if (page > pages) {
            std::fprintf(stderr, "该表只有 %d 页\n", pages);
            return 1;
        }
        const int n = static_cast<int>(page);
        if (extension == ".pdf") status = render_pages_to_pdf(args[2], paper, {painter(n)});
        else if (extension == ".png") status = render_page_to_png(args[2], paper, painter(n));
        else status = render_page_to_svg(args[2], paper, painter(n));
    }
    if (!status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace kvd::cli
