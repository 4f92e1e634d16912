#include "app/frame/window_grab.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>
#include <cstdio>

#include "app/frame/app_settings.h"
#include "app/frame/main_frame.h"
#include "doc/extended_display.h"
#include "doc/scripted_user_interface.h"

namespace kvd {
namespace {

// Rounds of event processing after showing the window: enough for the
// layout, the splitters and the first paint of every visible pane.
constexpr int kSettleRounds = 10;

const char* table_title(TableKind kind) {
    switch (kind) {
        case TableKind::kSummary:
            return "汇总表";
        case TableKind::kLoad:
            return "加载详测表";
        case TableKind::kUnload:
            return "卸载详测表";
        case TableKind::kRaw:
            return "原始记录表";
        case TableKind::kChanges:
            return "修改记录表";
        case TableKind::kAnchor:
            return "锚桩汇总表";
    }
    return "";
}

}  // namespace

MessageAnswer GrabUserInterface::message_box(const std::string& text, const std::string& caption,
                                             MessageButtons buttons, MessageIcon icon) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return ScriptedUserInterface::message_box(text, caption, buttons, icon);
}

int save_grab_picture(QWidget& widget, const std::string& output) {
    const QPixmap picture = widget.grab();
    if (picture.isNull() ||
        !picture.save(QFile::decodeName(QByteArray::fromStdString(output)), "PNG")) {
        std::fprintf(stderr, "无法写入图像文件: %s\n", output.c_str());
        return 1;
    }
    return 0;
}

int run_window_grab(const GrabOptions& grab, const std::string& file) {
    if (grab.dialog) return run_dialog_grab(grab, file);
    // The modification record table is reachable only with the extended display.
    if (grab.table == TableKind::kChanges) set_extended_display(true);

    GrabUserInterface ui;
    const std::unique_ptr<AppSettings> settings = AppSettings::transient();
    CMainFrame frame(*settings, &ui);
    if (!file.empty() && !frame.document().open(file)) {
        // The document has said why, unless it refused the file silently.
        if (ui.shown().empty()) std::fprintf(stderr, "无法打开文件: %s\n", file.c_str());
        return 1;
    }
    if (grab.curve) frame.show_curve(*grab.curve);
    if (grab.table && !frame.show_table(*grab.table)) {
        std::fprintf(stderr, "该文件没有%s\n", table_title(*grab.table));
        return 1;
    }
    if (grab.analysis) frame.show_analysis();
    if (grab.page) frame.show_parameter_page(*grab.page);

    frame.resize(grab.width, grab.height);
    frame.show();
    for (int i = 0; i < kSettleRounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    return save_grab_picture(frame, grab.output);
}

}  // namespace kvd
