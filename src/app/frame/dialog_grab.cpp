// `kvd --grab OUT.png --dialog NAME [FILE]`: pictures of the program's
// dialogs for the manual, made offscreen like the window grabs.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QThread>
#include <cstdio>

#include "app/frame/help_commands.h"
#include "app/frame/toolbar_icons.h"
#include "app/frame/window_grab.h"
#include "app/tools/lv_ding_tool_dlg.h"
#include "app/tools/preview_file_dlg.h"

namespace kvd {
namespace {

// Lets the layout settle and the file list (filled by a thread) load.
void settle() {
    for (int i = 0; i < 40; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

int save_picture(QWidget& widget, const GrabOptions& grab) {
    if (grab.size_given) widget.resize(grab.width, grab.height);
    widget.show();
    settle();
    return save_grab_picture(widget, grab.output);
}

}  // namespace

int run_dialog_grab(const GrabOptions& grab, const std::string& file) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(file));
    if (*grab.dialog != GrabDialog::kAbout && !QFileInfo(path).isFile()) {
        std::fprintf(stderr, "需要一个文件: %s\n", file.c_str());
        return 1;
    }
    GrabUserInterface ui;
    switch (*grab.dialog) {
        case GrabDialog::kAbout:
            return save_picture(*make_about_dialog(nullptr, application_icon()), grab);
        case GrabDialog::kOpen: {
            CPreviewFileDlg dialog(nullptr, QFileInfo(path).absolutePath());
            if (!grab.size_given) dialog.resize(760, 640);
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(QFileInfo(path).fileName());
            }
            return save_picture(dialog, grab);
        }
        case GrabDialog::kCalibration: {
            CLvDingToolDlg tool(ui, QFileInfo(path).absolutePath());
            if (calibration_type_of(QFile::encodeName(path).toStdString()) ==
                CalibrationType::kJack) {
                tool.type_button(CalibrationType::kJack)->click();
            }
            tool.set_open_path_chooser(
                [path](const QString&, const QString&, const QString&) { return path; });
            tool.mode_button(CLvDingToolDlg::kExistingTable)->click();
            if (tool.mode() != CLvDingToolDlg::kExistingTable) return 1;
            return save_picture(tool, grab);
        }
    }
    return 1;
}

}  // namespace kvd
