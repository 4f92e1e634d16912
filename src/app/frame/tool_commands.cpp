// The main window's commands that open the tools of the tools room: the open
// dialog with its preview (File › Open), the calibration table tool
// (工具 › 率定表工具) and the group statistics (工具 › 多桩统计).

#include <QFile>
#include <QFileInfo>

#include "app/dialogs/data_folders.h"
#include "app/frame/main_frame.h"
#include "app/print/group_table_output.h"
#include "app/tools/group_statistics_dlg.h"
#include "app/tools/lv_ding_tool_dlg.h"
#include "app/tools/preview_file_dlg.h"
#include "record/file_classifier.h"

namespace kvd {

QString CMainFrame::open_start_folder() const {
    if (first_open_) {
        // The test-file folder of the options, on the first open only.
        const QString tests = test_file_folder(doc_->settings());
        if (QFileInfo(tests).isDir()) return tests;
    }
    return last_open_folder_;
}

bool CMainFrame::open_with_dialog() {
    if (!doc_->save_modified()) return false;
    CPreviewFileDlg dialog(this, open_start_folder());
    first_open_ = false;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString path = dialog.selectedFiles().constFirst();
    last_open_folder_ = QFileInfo(path).absolutePath();

    switch (dialog.file_class()) {
        case FileClass::kReadable:
        case FileClass::kOldFormat:
            break;
        case FileClass::kUnfinished:
            if (ui_->message_box(kQuestionUnfinished, kCaptionPrompt, MessageButtons::kYesNo,
                                 MessageIcon::kQuestion) != MessageAnswer::kYes) {
                return false;
            }
            break;
        case FileClass::kNewerVersion:
            ui_->show_error(kMessageNewerVersion);
            return false;
        case FileClass::kForeign:
            ui_->show_error(kMessageUnknownType);
            return false;
        default:
            ui_->show_error(kMessageCannotOpen);
            return false;
    }
    // The dialog has made the checks of an open.
    doc_->skip_next_open_checks();
    if (!doc_->open(QFile::encodeName(path).toStdString())) return false;
    remember_recent(path);
    return true;
}

bool CMainFrame::run_calibration_tool() {
    const QString folder = calibration_folder(doc_->settings());
    if (folder.trimmed().isEmpty()) {
        ui_->show_error(kMessageNoCalibrationFolder);
        return false;
    }
    CLvDingToolDlg dialog(*ui_, folder, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CMainFrame::run_group_statistics() {
    CGroupStatisticsDlg dialog(*ui_, open_start_folder(), this);
    const auto content = [&dialog] { return group_report(dialog.group(), dialog.table()); };
    connect(&dialog, &CGroupStatisticsDlg::preview_requested, this, [&] {
        preview_group_table(content(), doc_->page_setup(), *metrics_, *ui_, &dialog);
    });
    connect(&dialog, &CGroupStatisticsDlg::word_requested, this, [&] {
        SaveDialogRequest request;
        request.proposed_name = kGroupTableTitle + std::string(".docx");
        request.filter = "Word 文档(*.docx)|*.docx|";
        request.title = "导出Word";
        request.initial_folder = open_start_folder().toStdString();
        if (const auto path = ui_->ask_save_path(request)) {
            save_group_table_word(content(), *path, *ui_);
        }
    });
    dialog.exec();
    return true;
}

}  // namespace kvd
