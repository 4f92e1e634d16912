#include "app/frame/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "app/analysis/analysis_page.h"
#include "app/curves/curve_view.h"
#include "app/export/report_exporter.h"
#include "app/dialogs/data_folders.h"
#include "app/frame/desktop_launcher.h"
#include "app/frame/qt_user_interface.h"
#include "app/frame/sheets_wnd.h"
#include "app/tables/grid_view.h"
#include "curves/image.h"
#include "doc/extended_display.h"
#include "doc/settings_store.h"
#include "qt/qt_canvas.h"
#include "qt/qt_font_metrics.h"

namespace kvd {
namespace {

// The window size when no placement is stored, within the screen's work area.
constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

// The left pane keeps at least this much of the frame for the right panes.
constexpr int kRightPaneReserve = 500;
constexpr int kMinLeftWidth = 300;
constexpr int kMinUpperHeight = 100;

}  // namespace

std::array<std::string, 3> curve_tab_captions(const TestParams& params) {
    if (params.is_uplift()) return {"U-δ曲线", "δ-lgt曲线", "δ-lgU曲线"};
    if (params.in_kpa()) return {"p-s曲线", "s-lgt曲线", "s-lgp曲线"};
    return {"Q-s曲线", "s-lgt曲线", "s-lgQ曲线"};
}

CMainFrame::CMainFrame(AppSettings& settings, UserInterface* ui, QWidget* parent)
    : QMainWindow(parent), settings_(settings), recent_(settings.recent_files()) {
    if (ui) {
        ui_ = ui;
    } else {
        owned_ui_ = std::make_unique<QtUserInterface>(this);
        ui_ = owned_ui_.get();
    }
    owned_launcher_ = std::make_unique<SystemLauncher>();
    launcher_ = owned_launcher_.get();
    doc_ = std::make_unique<CLbxDoc>(*ui_);
    load_document_settings();
    metrics_ = std::make_unique<QtFontMetrics>();
    exporter_ = std::make_unique<ReportExporter>(*doc_, this);

    restore_placement();
    create_panes();
    create_actions();
    create_menus();
    create_toolbars();
    create_status_bar();
    create_pane_keys();
    setAcceptDrops(true);

    doc_->set_frame(this);
    doc_->add_view(this);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        // Focus in the parameter pane deactivates the curve and table panes.
        if (now && parameter_sheet_->isAncestorOf(now)) set_active_pane(ActivePane::kNone);
    });
    on_update(hint::kRefresh);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    doc_->remove_view(this);
    doc_->set_frame(nullptr);
    // The views refer to the tables and curves, which are members: the
    // widgets go first.
    delete takeCentralWidget();
}

void CMainFrame::load_document_settings() {
    const DocumentSettings stored = SettingsStore(settings_.document_backend())
                                        .read(to_colour(palette().color(QPalette::Button)));
    doc_->apply_settings(stored);
    doc_->set_initial_folder(test_file_folder(stored).toStdString());
}

void CMainFrame::store_document_settings() {
    if (!SettingsStore(settings_.document_backend()).write(doc_->settings())) {
        // The program is ending: there is no one left to ask.
        qWarning("kvd: the settings could not be written");
    }
}

void CMainFrame::restore_placement() {
    const QRect work = screen()->availableGeometry();
    resize(std::min(kDefaultWidth, work.width()), std::min(kDefaultHeight, work.height()));

    const std::optional<WindowPlacement> stored = settings_.placement();
    // All five values must exist; a rectangle without area is not a placement.
    if (!stored || stored->right <= stored->left || stored->bottom <= stored->top) return;
    const QRect full = screen()->geometry();
    const int icon = style()->pixelMetric(QStyle::PM_LargeIconSize);
    // Keep the corner on the screen so that the window can be grabbed.
    const int x = std::min(stored->left + work.left(), full.width() - icon);
    const int y = std::min(stored->top + work.top(), full.height() - icon);
    setGeometry(x, y, stored->right - stored->left, stored->bottom - stored->top);
    // A window closed while minimised opens normally: starting minimised
    // would leave the user without a visible window.
    show_command_ = stored->show_command == kShowMaximized ? kShowMaximized : kShowNormal;
    placement_restored_ = true;
}

int CMainFrame::clamp_left_width(int stored, int frame_width) {
    return std::max(std::min(stored, frame_width - kRightPaneReserve), kMinLeftWidth);
}

int CMainFrame::clamp_upper_height(int stored) {
    return std::max(stored, kMinUpperHeight);
}

void CMainFrame::apply_pane_sizes() {
    // The splitters must have their final size before their sizes are set,
    // or Qt rescales the stored widths.
    if (layout()) layout()->activate();
    PaneSizes stored = settings_.pane_sizes();
    const int outer = outer_splitter_->width() - outer_splitter_->handleWidth();
    const int inner = inner_splitter_->height() - inner_splitter_->handleWidth();
    if (!settings_.pane_sizes_stored()) {
        // The first run: the right panes get the width of the summary's
        // columns and of the parameter fields, the parameter pane the height
        // of its fields, and the curves and the table rows what is left.
        stored.left_width = std::min(stored.left_width, outer - right_pane_width_needed());
        stored.upper_right_height =
            std::min(stored.upper_right_height, inner - parameter_pane_height_needed());
    }
    const int left = clamp_left_width(stored.left_width, width());
    outer_splitter_->setSizes({left, std::max(outer - left, 1)});
    const int upper = clamp_upper_height(stored.upper_right_height);
    inner_splitter_->setSizes({upper, std::max(inner - upper, 1)});
}

int CMainFrame::right_pane_width_needed() const {
    int needed = 0;
    // Every column of the summary, beside the vertical scroll bar.
    if (GridView* summary = grid_view(TableKind::kSummary)) {
        summary->table().fill();
        needed = summary->table().total_width() + 2 * summary->frameWidth() +
                 summary->verticalScrollBar()->sizeHint().width();
    }
    // Every field of the parameter pages.
    for (int i = 0; i < parameter_sheet_->page_count(); ++i) {
        if (const auto* page = qobject_cast<QScrollArea*>(parameter_sheet_->page(i))) {
            needed = std::max(needed,
                              page->widget()->minimumSizeHint().width() + 2 * page->frameWidth());
        }
    }
    return needed;
}

int CMainFrame::parameter_pane_height_needed() const {
    int needed = 0;
    for (int i = 0; i < parameter_sheet_->page_count(); ++i) {
        if (const auto* page = qobject_cast<QScrollArea*>(parameter_sheet_->page(i))) {
            needed = std::max(needed,
                              page->widget()->minimumSizeHint().height() + 2 * page->frameWidth());
        }
    }
    // The tab strip below the pages.
    const QWidget* shown = parameter_sheet_->active_page();
    const int strip = shown ? parameter_sheet_->height() - shown->height() : 0;
    return needed + std::max(strip, 0);
}

int CMainFrame::left_pane_width() const {
    return curve_sheet_->width();
}

int CMainFrame::upper_pane_height() const {
    return table_sheet_->height();
}

void CMainFrame::store_frame_settings() {
    const QRect work = screen()->availableGeometry();
    const QRect normal = normalGeometry();
    WindowPlacement placement;
    placement.show_command = isMaximized()   ? kShowMaximized
                             : isMinimized() ? kShowMinimized
                                             : kShowNormal;
    placement.left = normal.left() - work.left();
    placement.top = normal.top() - work.top();
    placement.right = placement.left + normal.width();
    placement.bottom = placement.top + normal.height();
    settings_.set_placement(placement);
    settings_.set_pane_sizes({curve_sheet_->width(), curve_sheet_->height(), table_sheet_->width(),
                              table_sheet_->height()});
    settings_.set_recent_files(recent_.files());
    settings_.sync();
}

void CMainFrame::on_update(int hint) {
    // The curve readout belongs to the test that was shown before.
    if (hint == hint::kFileLoaded) value_pane_->clear();
    refresh_title();
    refresh_curve_captions();
    refresh_hidden_tables();
    for (CurveView* view : curve_views_) view->on_document_update(hint);
    // Only the table in front is refreshed; the others refill when they are
    // brought forward.
    if (GridView* grid = active_grid_view()) grid->on_document_update(hint);
    // The analysis runs again only when its tab is in front (or next comes forward).
    if (analysis_page_) analysis_page_->on_document_update(hint);
    if (hint != hint::kStorePages && hint != hint::kStoreProjectPage) refresh_chosen_load_mark();
    sync_zoom_box();
    update_command_states();
}

void CMainFrame::history_changed() {
    update_command_states();
}

void CMainFrame::show_table_request(ShowTableCode code, int count) {
    // The tables read their rows from the document; the count is not needed.
    (void)count;
    switch (code) {
        case ShowTableCode::kRawRecord:
            if (!grid_view(TableKind::kRaw))
                add_table(TableKind::kRaw, QStringLiteral("原始记录表"));
            break;
        case ShowTableCode::kModificationRecord:
            if (!grid_view(TableKind::kChanges)) {
                add_table(TableKind::kChanges, QStringLiteral("修改记录表"));
            }
            refresh_hidden_tables();
            break;
        case ShowTableCode::kSummary:
            refresh_hidden_tables();
            table_sheet_->activate(grid_view(TableKind::kSummary));
            break;
    }
}

void CMainFrame::refresh_title() {
    setWindowTitle(QString::fromStdString(doc_->display_name()) + QStringLiteral(" - ") +
                   QString::fromUtf8(kApplicationTitle));
}

void CMainFrame::refresh_curve_captions() {
    const auto captions = curve_tab_captions(doc_->record().test_params);
    for (int i = 0; i < 3; ++i) {
        const int index = curve_sheet_->index_of(curve_views_[i]);
        curve_sheet_->set_page_title(index, QString::fromStdString(captions[i]));
    }
}

void CMainFrame::refresh_hidden_tables() {
    GridView* changes = grid_view(TableKind::kChanges);
    if (!changes) return;
    const bool hidden = !extended_display();
    // The summary comes forward without taking the focus from where the user is.
    if (hidden && table_sheet_->active_page() == changes) {
        table_sheet_->activate(grid_view(TableKind::kSummary));
    }
    table_sheet_->set_page_hidden(table_sheet_->index_of(changes), hidden);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!doc_->save_modified()) {
        event->ignore();
        return;
    }
    store_frame_settings();
    store_document_settings();
    event->accept();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!pane_sizes_applied_) {
        pane_sizes_applied_ = true;
        apply_pane_sizes();
    }
}

namespace {

QString first_local_file(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!first_local_file(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = first_local_file(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    activateWindow();
    // Open after the drop has finished so that the source is not kept waiting
    // on the questions and messages of the open.
    QTimer::singleShot(0, this, [this, path] { open_file(path); });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            update_lock_indicators(static_cast<const QKeyEvent&>(*event));
            schedule_command_states();
            break;
        case QEvent::MouseButtonRelease:
            schedule_command_states();
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::schedule_command_states() {
    // Commands follow the current cell and capture as an idle-time update
    // would: once, after the input that changed them.
    if (state_update_pending_) return;
    state_update_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        state_update_pending_ = false;
        update_command_states();
    });
}

}  // namespace kvd
