// `kvd --grab OUT.png --dialog NAME [FILE]`: pictures of the program's
// dialogs for the manual, made offscreen like the window grabs. The dialogs
// that work on a test open FILE in a document of their own, with the
// built-in settings: the same command always gives the same picture, and
// nothing is sent anywhere (the upload dialog is only shown).

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QThread>
#include <QTreeView>
#include <cstdio>

#include "app/export/to_word_opt.h"
#include "app/frame/help_commands.h"
#include "app/frame/toolbar_icons.h"
#include "app/frame/window_grab.h"
#include "app/options/option_dialog.h"
#include "app/print/print_preview.h"
#include "app/tools/group_statistics_dlg.h"
#include "app/tools/lv_ding_tool_dlg.h"
#include "app/tools/preview_file_dlg.h"
#include "app/upload/upload_dlg.h"
#include "doc/lbx_doc.h"
#include "doc/settings_store.h"
#include "output/print/print_job.h"
#include "output/upload/upload_progress.h"
#include "output/word/word_office.h"
#include "qt/qt_canvas.h"
#include "qt/qt_font_metrics.h"

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

// The options dialog's tree item a grab shows.
int option_tree_item(GrabDialog dialog) {
    OptionPage page = OptionPage::kPaper;
    if (dialog == GrabDialog::kPageNumbers) page = OptionPage::kPageNumber;
    if (dialog == GrabDialog::kCurvePrinting) page = OptionPage::kImagePrint;
    if (dialog == GrabDialog::kTablePrinting) page = OptionPage::kTablePrint;
    for (std::size_t i = 0; i < kOptionTree.size(); ++i) {
        if (kOptionTree[i].page == page) return static_cast<int>(i);
    }
    return 0;
}

// The dialogs that work on the open test.
int grab_document_dialog(const GrabOptions& grab, const std::string& file, GrabUserInterface& ui) {
    CLbxDoc doc(ui);
    if (!doc.open(file)) {
        if (ui.shown().empty()) std::fprintf(stderr, "无法打开文件: %s\n", file.c_str());
        return 1;
    }
    MemorySettings settings;
    switch (*grab.dialog) {
        case GrabDialog::kPaper:
        case GrabDialog::kPageNumbers:
        case GrabDialog::kCurvePrinting:
        case GrabDialog::kTablePrinting: {
            SettingsStore store(settings);
            COptionDialog dialog(doc, store, kStartAsBuilt, DataFolders{},
                                 to_colour(QPalette().color(QPalette::Button)));
            dialog.select_item(option_tree_item(*grab.dialog));
            return save_picture(dialog, grab);
        }
        case GrabDialog::kPrintPreview: {
            const QtFontMetrics metrics;
            PrintJob job(doc, metrics, tables_of_record(doc.record()));
            if (!has_pages_to_print(job, ui)) return 1;
            CPrintPreview preview(job, QString::fromStdString(doc.display_name()));
            if (!grab.size_given) preview.resize(1000, 760);
            return save_picture(preview, grab);
        }
        case GrabDialog::kWordOptions: {
            CToWordOpt dialog(raw_record_selectable(doc));
            return save_picture(dialog, grab);
        }
        case GrabDialog::kUpload: {
            // The menu offers the upload for these files only.
            if (!doc.upload_enabled()) {
                std::fprintf(stderr, "%s\n", upload::kMessageNotUploadable);
                return 1;
            }
            CUploadDlg dialog(doc, settings);
            return save_picture(dialog, grab);
        }
        default:
            return 1;
    }
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
            if (!grab.size_given) dialog.resize(800, 640);
            if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(QFileInfo(path).fileName());
            }
            dialog.show();
            settle();
            // Whole sizes and dates in the picture: the columns as wide as
            // their texts, as a user would drag them.
            if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
                for (int column = 1; column < list->header()->count(); ++column) {
                    list->resizeColumnToContents(column);
                }
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
        case GrabDialog::kGroup: {
            CGroupStatisticsDlg window(ui, QFileInfo(path).absolutePath());
            QStringList paths;
            for (const std::string& each : grab.files) {
                paths << QFile::decodeName(QByteArray::fromStdString(each));
            }
            window.add_files(paths);
            return save_picture(window, grab);
        }
        default:
            return grab_document_dialog(grab, file, ui);
    }
}

}  // namespace kvd
