// The commands of the main window: the file commands, the commands it
// forwards to the active curve or table, the view toggles and zoom.

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QToolBar>
#include <optional>
#include <string_view>

#include "app/tools/channel_setup_dialog.h"
#include "app/curves/curve_view.h"
#include "app/export/report_exporter.h"
#include "app/dialogs/data_folders.h"
#include "app/dialogs/dialog_support.h"
#include "app/frame/frame_commands.h"
#include "app/tables/grid_view.h"
#include "app/frame/main_frame.h"
#include "app/print/print_preview.h"
#include "app/print/report_printer.h"
#include "app/options/option_dialog.h"
#include "app/tools/new_file_wizard_dialog.h"
#include "app/upload/upload_dlg.h"
#include "curves/curve_commands.h"
#include "qt/qt_canvas.h"
#include "tables/test_table.h"

namespace kvd {
namespace {

using namespace frame_command;

std::string local_path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string_view table_popup_text(int command) {
    for (const TablePopupItem& item : kTablePopupMenu) {
        if (item.id == command) return item.text;
    }
    return {};
}

}  // namespace

bool CMainFrame::run_command(int command) {
    if (!command_enabled(command)) return false;
    std::optional<CommandStep> step;
    if (changes_record(command)) step.emplace(*doc_, record_command_name(command).toStdString());
    bool done = false;
    switch (command) {
        case kNew:
            done = new_file();
            break;
        case kOpen:
            done = open_with_dialog();
            break;
        case kSave:
            done = save_file(false);
            break;
        case kSaveAs:
            done = save_file(true);
            break;
        case kUndo:
            done = doc_->undo();
            break;
        case kRedo:
            done = doc_->redo();
            break;
        case kExit:
            done = close();
            break;
        case kAddUnloading:
            done = table_edit::add_unloading_data(*doc_);
            break;
        case kRestoreRawData:
            done = doc_->restore_from_raw_data();
            break;
        case kWordExport:
            done = exporter_->export_word();
            break;
        case kExcelExport:
            done = exporter_->export_excel();
            break;
        case kChannelSetup:
            done = run_channel_setup();
            break;
        case kPrint:
            done = print_report(*doc_, *metrics_, print_tables(), this);
            break;
        case kPrintPreview:
            done = preview_report(*doc_, *metrics_, print_tables(), this);
            break;
        case kCalibrationTool:
            done = run_calibration_tool();
            break;
        case kGroupStatistics:
            done = run_group_statistics();
            break;
        case kHelp:
        case kSupportPage:
        case kAnalysisUpdate:
        case kTesterUpdate:
            done = run_help_command(command);
            break;
        case kUpload:
            done = run_upload();
            break;
        case kOptions:
            done = run_options_dialog(kStartAsBuilt);
            break;
        case kPageSetup:
            done = run_options_dialog(kStartPageSetup);
            break;
        case kPrintSetup:
            done = run_options_dialog(kStartPrintOptions);
            break;
        case kToolbars:
            toggle_toolbars();
            done = true;
            break;
        case kStatusBar:
            statusBar()->setVisible(statusBar()->isHidden());
            done = true;
            break;
        case kAbout:
            show_about();
            done = true;
            break;
        case kFitWindow:
            zoom_box_selected(kZoomBoxFitItem);
            done = true;
            break;
        case kInsertReading:
        case kDeleteReading:
            if (active_pane_ == ActivePane::kTables)
                done = run_table_tool(command);
            else
                done = run_curve_tool(command);
            break;
        case kExportImage:
        case kSetAxes:
        case kShift:
        case kInvert:
            done = run_curve_tool(command);
            break;
        default:
            break;
    }
    step.reset();
    update_command_states();
    return done;
}

bool CMainFrame::curve_command_enabled(int command) const {
    if (command == curve_command::kFitWindow) return true;
    const CurveView* view = active_curve_view();
    return view && view->command_enabled(command);
}

bool CMainFrame::table_command_enabled(int command) const {
    GridView* view = active_grid_view();
    if (!view) return false;
    if (const auto* detail = dynamic_cast<const CTestTable*>(&view->table())) {
        return detail->enabled(command);
    }
    // The other tables have no target cell: only the commands on the whole
    // test are offered.
    return kvd::command_enabled(command, kMenuStateNone, doc_->can_add_unloading_data());
}

bool CMainFrame::run_curve_tool(int command) {
    if (command == curve_command::kFitWindow) return run_command(kFitWindow);
    CurveView* view = active_curve_view();
    if (!view || !view->command_enabled(command)) return false;
    const bool changed = view->run_command(command);
    sync_zoom_box();
    update_command_states();
    return changed;
}

bool CMainFrame::run_table_tool(int command) {
    GridView* view = active_grid_view();
    if (!view || !table_command_enabled(command)) return false;
    bool changed = false;
    if (auto* detail = dynamic_cast<CTestTable*>(&view->table())) {
        changed = detail->run_command(command);
    } else {
        const CommandStep step(*doc_, command_step_name(table_popup_text(command)));
        if (command == kCommandChangeIntervals) {
            changed = table_edit::change_sampling_intervals(*doc_);
        } else if (command == kCommandAddUnloading) {
            changed = table_edit::add_unloading_data(*doc_);
        }
    }
    update_command_states();
    return changed;
}

bool CMainFrame::open_file(const QString& path) {
    if (!doc_->save_modified()) return false;
    if (!doc_->open(local_path(path))) {
        // A recent entry for a file that is gone is of no more use.
        if (!QFileInfo::exists(path)) {
            recent_.remove(path);
            rebuild_recent_menu();
        }
        return false;
    }
    remember_recent(path);
    return true;
}

bool CMainFrame::open_recent(int index) {
    const QString path = recent_.files().value(index);
    return !path.isEmpty() && open_file(path);
}

bool CMainFrame::new_file() {
    if (!doc_->save_modified()) return false;
    CNewFileWizard wizard(doc_->ui(), this);
    if (wizard.exec() != QDialog::Accepted) return false;
    // The wizard accepted only input that the document takes.
    return doc_->create_from_wizard(wizard.input());
}

PrintTables CMainFrame::print_tables() const {
    // The raw and modification record tables print once they exist.
    return {grid_view(TableKind::kRaw) != nullptr, grid_view(TableKind::kChanges) != nullptr};
}

bool CMainFrame::run_channel_setup() {
    // Edits pending on the pages go into the record first: the pages reload
    // from it once the new roles are stored.
    doc_->update_all_views(hint::kStorePages);
    CChannelSetupDialog dialog(doc_->channel_setup(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    doc_->apply_channel_setup(dialog.setup());
    return true;
}

bool CMainFrame::run_upload() {
    CUploadDlg dialog(*doc_, settings_.document_backend(), this);
    dialog.exec();
    return true;
}

bool CMainFrame::run_options_dialog(int start) {
    SettingsStore store(settings_.document_backend());
    const std::string folder_before = doc_->settings().test_folder;
    COptionDialog dialog(*doc_, store, start, default_data_folders(),
                         to_colour(palette().color(QPalette::Button)), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (doc_->settings().test_folder != folder_before) {
        // The next open and save dialogs start in the new test-file folder.
        first_open_ = true;
        doc_->set_initial_folder(test_file_folder(doc_->settings()).toStdString());
    }
    return true;
}

bool CMainFrame::save_file(bool save_as) {
    const bool saved = doc_->save_document(save_as);
    // Saving may have renamed the document (a test file becomes an analysis file).
    refresh_title();
    if (saved) remember_recent(QFile::decodeName(QByteArray::fromStdString(doc_->path())));
    update_command_states();
    return saved;
}

void CMainFrame::toggle_toolbars() {
    // Each bar independently: shown if hidden, hidden if shown.
    for (QToolBar* bar : {file_toolbar_, edit_toolbar_}) bar->setVisible(bar->isHidden());
}

void CMainFrame::zoom_box_selected(int index) {
    doc_->set_zoom_factor(zoom_of_box_item(index));
    sync_zoom_box();
    for (CurveView* view : curve_views_) view->on_document_update(hint::kRefresh);
}

}  // namespace kvd
