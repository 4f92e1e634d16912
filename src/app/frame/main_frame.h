#pragma once
// CMainFrame: the program's single main window. It owns the document (and the
// document's UserInterface), shows it in three panes and routes every menu and
// toolbar command to the pane, the document or a dialog:
//
//   menu   文件 视图 工具 [曲线工具 | 表格工具] 帮助      (position 3 follows the focused pane)
//   tools  file: new open save | preview print   edit: unload insert delete | export axes
//                                                      shift invert | zoom box fit
//   +--------------------------+--------------------------------------+
//   | curve pane (CImageSheet) | table pane (CTableSheet)             |
//   |  Q-s / s-lgt / s-lgQ     |  汇总表 加载详测表 卸载详测表 锚桩汇总表 |
//   |  (CurveView each)        |  [原始记录表] [修改记录表] (GridView)  |
//   |                          +--------------------------------------+
//   |                          | parameter pane (CSheetsWnd, 5 pages) |
//   +--------------------------+--------------------------------------+
//   status  message | curve value (100 px) | 大写 | 数字
//
// The frame is a DocView of the document (every update refreshes the panes,
// the title, the curve tab captions and the enabled commands) and its
// DocFrame (the raw and modification record tables are created when a file
// that has them is loaded, and reused afterwards). Placement and pane sizes
// are read from AppSettings at construction and written at close.

#include <QMainWindow>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "app/frame/app_settings.h"
#include "app/frame/recent_files.h"
#include "doc/doc_view.h"
#include "doc/lbx_doc.h"
#include "draw/font_metrics.h"
#include "tables/table_factory.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class QUrl;

namespace kvd {

class AnalysisPage;
class CImage;
class CImageSheet;
class DesktopLauncher;
class CSheetsWnd;
class CTableSheet;
class CurveView;
class GridView;
class ReportExporter;
struct PrintTables;
enum class CurveKind;

// The pane whose commands the frame routes to (the last one focused).
enum class ActivePane { kNone, kCurves, kTables };

// The curve tab captions of a test: uplift, loads in kPa, or the others.
std::array<std::string, 3> curve_tab_captions(const TestParams& params);

class CMainFrame : public QMainWindow, public DocView, public DocFrame {
    Q_OBJECT

public:
    // `ui` is the document's user interface; nullptr makes a QtUserInterface
    // on this window. The frame does not own an injected one.
    explicit CMainFrame(AppSettings& settings, UserInterface* ui = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLbxDoc& document() { return *doc_; }
    UserInterface& user_interface() { return *ui_; }
    AppSettings& settings() { return settings_; }
    // The Word and Excel export commands.
    ReportExporter& report_exporter() { return *exporter_; }
    // Where web pages, the manual and the updater are handed to the desktop;
    // nullptr puts the desktop's own back. The frame does not own an injected one.
    void set_launcher(DesktopLauncher* launcher);

    // The stored show command when a placement was restored (kShowMaximized
    // or kShowNormal), otherwise kShowNormal.
    int initial_show_command() const { return show_command_; }
    bool placement_restored() const { return placement_restored_; }

    // The file commands. Each asks to save a modified document first; false
    // when that was cancelled or the command failed. new_file then runs the
    // new-file wizard; its Cancel keeps the document.
    bool open_file(const QString& path);
    bool new_file();
    bool save_file(bool save_as);
    // The options dialog "选项", opened at a start item (kStartCurveStyle,
    // kStartPageSetup, kStartPrintOptions; anything else: its first page).
    // True when it was confirmed.
    bool run_options_dialog(int start);

    // Runs a menu or toolbar command (frame_command.h ids, and the forwarded
    // curve and table commands); false when it is disabled or did nothing.
    bool run_command(int command);
    // The action of a main-menu or toolbar command; nullptr for another id.
    QAction* action(int command) const;
    // Recomputes the enabled and checked states of every command.
    void update_command_states();
    // The undo and redo items name the step they take back or do again.
    void update_history_actions();
    // The name of a whole-record command's undo step (its menu text).
    static QString record_command_name(int command);
    static bool changes_record(int command);

    // Panes.
    CImageSheet& curve_sheet() const { return *curve_sheet_; }
    CTableSheet& table_sheet() const { return *table_sheet_; }
    CSheetsWnd& parameter_sheet() const { return *parameter_sheet_; }
    CurveView* curve_view(CurveKind kind) const;
    // nullptr for a table not created yet (raw and modification records).
    GridView* grid_view(TableKind kind) const;
    CurveView* active_curve_view() const;
    GridView* active_grid_view() const;
    // Brings a curve or table tab to the front, as a click on its tab does:
    // the page takes the focus and its pane becomes the active one. False
    // when the tab does not exist or is hidden.
    bool show_curve(CurveKind kind);
    bool show_table(TableKind kind);
    void show_parameter_page(int index);
    // The "承载力分析" tab, after the tables.
    AnalysisPage* analysis_page() const { return analysis_page_; }
    bool show_analysis();

    ActivePane active_pane() const { return active_pane_; }
    void set_active_pane(ActivePane pane);
    // The tools popup at menu-bar position 4 ("曲线工具(&I)" or "表格工具(&G)"),
    // nullptr when neither is there.
    QMenu* tools_menu() const;

    QComboBox* zoom_box() const { return zoom_box_; }
    QLabel* value_pane() const { return value_pane_; }
    QToolBar* file_toolbar() const { return file_toolbar_; }
    QToolBar* edit_toolbar() const { return edit_toolbar_; }
    const RecentFileList& recent_files() const { return recent_; }

    int left_pane_width() const;
    int upper_pane_height() const;
    // The stored pane sizes brought into range for a frame this wide.
    static int clamp_left_width(int stored, int frame_width);
    static int clamp_upper_height(int stored);

    // DocView and DocFrame.
    void on_update(int hint) override;
    void show_table_request(ShowTableCode code, int count) override;
    void history_changed() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (main_frame.cpp, main_frame_panes.cpp, main_frame_menus.cpp).
    // The document's settings, read at construction and written at close.
    void load_document_settings();
    void store_document_settings();
    void restore_placement();
    void create_panes();
    void create_curve_pane();
    void create_table_pane();
    void create_parameter_pane();
    void create_actions();
    void create_menus();
    void create_toolbars();
    void create_status_bar();
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn, Ctrl+PgUp: the tabs of the pane
    // with the focus; F6 and Shift+F6: the next and previous pane.
    void create_pane_keys();
    QAction* add_action(int command, const QString& text, const QString& prompt);
    GridView* add_table(TableKind kind, const QString& title);
    void apply_pane_sizes();
    // What the right panes need to show the summary's columns and every
    // parameter field whole, and the parameter pane to show its fields.
    int right_pane_width_needed() const;
    int parameter_pane_height_needed() const;
    void store_frame_settings();

    // Updates.
    void refresh_title();
    void refresh_curve_captions();
    void refresh_hidden_tables();
    // The engineer's chosen load on the Q-s curve of the window.
    void refresh_chosen_load_mark();
    void rebuild_recent_menu();
    void remember_recent(const QString& path);
    void sync_zoom_box();
    void schedule_command_states();
    void update_lock_indicators(const class QKeyEvent& event);
    void fill_tools_menu(QMenu* menu);
    // The sheet holding the focus, or else the one of the active pane.
    CSheetsWnd* focused_sheet() const;
    void move_between_tabs(bool forward);
    void move_between_panes(bool forward);

    // Commands (main_frame_commands.cpp).
    bool command_enabled(int command) const;
    bool curve_command_enabled(int command) const;
    bool table_command_enabled(int command) const;
    bool run_curve_tool(int command);
    bool run_table_tool(int command);
    bool open_with_dialog();
    bool open_recent(int index);
    bool run_channel_setup();
    PrintTables print_tables() const;
    bool run_upload();
    void toggle_toolbars();
    void zoom_box_selected(int index);

    // Tools and help (tool_commands.cpp, help_commands.cpp).
    bool run_calibration_tool();
    bool run_group_statistics();
    // Where the open dialogs start: the folder of the last open, or on the
    // first open the test-file folder of the options.
    QString open_start_folder() const;
    bool run_help_command(int command);
    bool open_manual(const QString& page);
    bool open_in_browser(const QUrl& url);
    void show_about();

    AppSettings& settings_;
    std::unique_ptr<UserInterface> owned_ui_;
    UserInterface* ui_ = nullptr;
    std::unique_ptr<DesktopLauncher> owned_launcher_;
    DesktopLauncher* launcher_ = nullptr;
    std::unique_ptr<CLbxDoc> doc_;
    std::unique_ptr<FontMetrics> metrics_;
    std::unique_ptr<ReportExporter> exporter_;

    std::array<std::unique_ptr<CImage>, 3> curves_;
    std::array<CurveView*, 3> curve_views_{};
    std::map<TableKind, std::unique_ptr<CMyGrid>> tables_;
    std::map<TableKind, GridView*> grid_views_;
    AnalysisPage* analysis_page_ = nullptr;

    QSplitter* outer_splitter_ = nullptr;
    QSplitter* inner_splitter_ = nullptr;
    CImageSheet* curve_sheet_ = nullptr;
    CTableSheet* table_sheet_ = nullptr;
    CSheetsWnd* parameter_sheet_ = nullptr;

    std::map<int, QAction*> actions_;
    QMenu* recent_menu_anchor_ = nullptr;  // the File menu, where the recent entries go
    QAction* recent_separator_ = nullptr;  // the entries are inserted before it
    std::vector<QAction*> recent_actions_;
    QMenu* curve_tools_menu_ = nullptr;
    QMenu* table_tools_menu_ = nullptr;
    QToolBar* file_toolbar_ = nullptr;
    QToolBar* edit_toolbar_ = nullptr;
    QComboBox* zoom_box_ = nullptr;
    QLabel* value_pane_ = nullptr;
    QLabel* caps_pane_ = nullptr;
    QLabel* num_pane_ = nullptr;

    RecentFileList recent_;
    ActivePane active_pane_ = ActivePane::kNone;
    int show_command_ = kShowNormal;
    bool placement_restored_ = false;
    bool pane_sizes_applied_ = false;
    bool state_update_pending_ = false;
    bool first_open_ = true;
    QString last_open_folder_;
};

}  // namespace kvd
