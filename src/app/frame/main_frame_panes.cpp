// The three panes of the main window and which of them is active.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>

#include "app/analysis/analysis_page.h"
#include "app/analysis/analysis_texts.h"
#include "app/curves/curve_view.h"
#include "app/tables/grid_view.h"
#include "app/frame/main_frame.h"
#include "doc/option_session.h"
#include "app/params/param_pages.h"
#include "app/frame/sheets_wnd.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/extended_display.h"

namespace kvd {
namespace {

// The tables every test shows, in tab order.
struct FixedTable {
    TableKind kind;
    const char* title;
};
constexpr FixedTable kFixedTables[] = {
    {TableKind::kSummary, "汇总表"},
    {TableKind::kLoad, "加载详测表"},
    {TableKind::kUnload, "卸载详测表"},
    {TableKind::kAnchor, "锚桩汇总表"},
};

// The menu-bar position of the curve and table tools menus.
constexpr int kToolsMenuPosition = 4;

int curve_index(CurveKind kind) {
    return static_cast<int>(kind);
}

}  // namespace

void CMainFrame::create_panes() {
    outer_splitter_ = new QSplitter(Qt::Horizontal);
    outer_splitter_->setChildrenCollapsible(false);
    create_curve_pane();
    inner_splitter_ = new QSplitter(Qt::Vertical);
    inner_splitter_->setChildrenCollapsible(false);
    outer_splitter_->addWidget(inner_splitter_);
    create_table_pane();
    create_parameter_pane();
    // The left and upper panes keep their size when the frame is resized; the
    // others take the rest.
    outer_splitter_->setStretchFactor(0, 0);
    outer_splitter_->setStretchFactor(1, 1);
    inner_splitter_->setStretchFactor(0, 0);
    inner_splitter_->setStretchFactor(1, 1);
    setCentralWidget(outer_splitter_);
}

void CMainFrame::create_curve_pane() {
    curve_sheet_ = new CImageSheet(palette().color(QPalette::Button));
    outer_splitter_->addWidget(curve_sheet_);
    curves_[0] = std::make_unique<CQ_s>(*doc_);
    curves_[1] = std::make_unique<Cs_lgt>(*doc_);
    curves_[2] = std::make_unique<Cs_lgQ>(*doc_);
    const auto captions = curve_tab_captions(doc_->record().test_params);
    for (int i = 0; i < 3; ++i) {
        auto* view = new CurveView(*curves_[i], curve_sheet_);
        curve_sheet_->add_page(view, QString::fromStdString(captions[i]));
        curve_views_[i] = view;
        connect(view, &CurveView::focused, this,
                [this](CurveView*) { set_active_pane(ActivePane::kCurves); });
        connect(view, &CurveView::status_text, this, [this](const QString& text) {
            if (value_pane_) value_pane_->setText(text);
        });
        connect(view, &CurveView::zoom_changed, this, [this] { sync_zoom_box(); });
        view->set_style_dialog([this] { run_options_dialog(kStartCurveStyle); });
    }
    curve_sheet_->activate(curve_views_[0]);
    connect(curve_sheet_, &CSheetsWnd::page_changing, this, [](QWidget* old_page, QWidget*) {
        if (auto* view = qobject_cast<CurveView*>(old_page)) view->curve().deactivate();
    });
    // Bringing a curve forward makes the curve pane the active one.
    connect(curve_sheet_, &CSheetsWnd::page_changed, this,
            [this](QWidget*) { set_active_pane(ActivePane::kCurves); });
}

void CMainFrame::create_table_pane() {
    table_sheet_ = new CTableSheet(palette().color(QPalette::Button));
    inner_splitter_->addWidget(table_sheet_);
    for (const FixedTable& table : kFixedTables) {
        add_table(table.kind, QString::fromUtf8(table.title));
    }
    analysis_page_ = new AnalysisPage(*doc_, table_sheet_);
    table_sheet_->add_page(analysis_page_, QStringLiteral("承载力分析"));
    connect(analysis_page_, &AnalysisPage::analysis_shown, this,
            [this] { refresh_chosen_load_mark(); });
    GridView* summary = grid_view(TableKind::kSummary);
    table_sheet_->activate(summary);
    summary->set_horizontal_bar(table_sheet_->horizontal_bar());
    connect(table_sheet_, &CSheetsWnd::page_changing, this, [](QWidget* old_page, QWidget*) {
        if (auto* grid = qobject_cast<GridView*>(old_page)) grid->set_horizontal_bar(nullptr);
    });
    connect(table_sheet_, &CSheetsWnd::page_changed, this, [this](QWidget* page) {
        if (auto* grid = qobject_cast<GridView*>(page)) {
            grid->set_horizontal_bar(table_sheet_->horizontal_bar());
            // Tables behind others were not refreshed on document updates.
            grid->on_document_update(hint::kRefresh);
        }
        set_active_pane(ActivePane::kTables);
    });
}

void CMainFrame::create_parameter_pane() {
    parameter_sheet_ =
        new CSheetsWnd(CSheetsWnd::TabPosition::kBottom, palette().color(QPalette::Button));
    inner_splitter_->addWidget(parameter_sheet_);
    for (const auto& [title, page] : make_parameter_pages(*doc_, parameter_sheet_)) {
        parameter_sheet_->add_page(page, title);
    }
    parameter_sheet_->activate(parameter_sheet_->page(0));
}

GridView* CMainFrame::add_table(TableKind kind, const QString& title) {
    std::unique_ptr<CMyGrid> table = make_table(kind, *doc_, *metrics_);
    auto* view = new GridView(*table, table_sheet_);
    // The tables come before the analysis tab, also those added later.
    const int analysis_index = table_sheet_->index_of(analysis_page_);
    table_sheet_->insert_page(analysis_index < 0 ? table_sheet_->page_count() : analysis_index,
                              view, title);
    connect(view, &GridView::focused, this,
            [this](GridView*) { set_active_pane(ActivePane::kTables); });
    tables_[kind] = std::move(table);
    grid_views_[kind] = view;
    return view;
}

CurveView* CMainFrame::curve_view(CurveKind kind) const {
    return curve_views_[curve_index(kind)];
}

GridView* CMainFrame::grid_view(TableKind kind) const {
    const auto it = grid_views_.find(kind);
    return it == grid_views_.end() ? nullptr : it->second;
}

CurveView* CMainFrame::active_curve_view() const {
    return qobject_cast<CurveView*>(curve_sheet_->active_page());
}

GridView* CMainFrame::active_grid_view() const {
    return qobject_cast<GridView*>(table_sheet_->active_page());
}

bool CMainFrame::show_curve(CurveKind kind) {
    CurveView* view = curve_view(kind);
    curve_sheet_->activate(view);
    // As a click on the tab: the curve takes the focus and its pane the tools
    // menu (also while the window is not active yet).
    view->setFocus(Qt::OtherFocusReason);
    set_active_pane(ActivePane::kCurves);
    return true;
}

bool CMainFrame::show_table(TableKind kind) {
    GridView* view = grid_view(kind);
    if (!view) return false;
    if (kind == TableKind::kChanges && !extended_display()) return false;
    table_sheet_->activate(view);
    if (table_sheet_->active_page() != view) return false;
    view->setFocus(Qt::OtherFocusReason);
    set_active_pane(ActivePane::kTables);
    return true;
}

bool CMainFrame::show_analysis() {
    table_sheet_->activate(analysis_page_);
    if (table_sheet_->active_page() != analysis_page_) return false;
    analysis_page_->setFocus(Qt::OtherFocusReason);
    set_active_pane(ActivePane::kTables);
    return true;
}

void CMainFrame::refresh_chosen_load_mark() {
    auto* qs = static_cast<CQ_s*>(curves_[0].get());
    // An analysis the page keeps up to date spares the fingerprint's work.
    const TestAnalysis* fresh =
        analysis_page_ && !analysis_page_->stale() ? &analysis_page_->analysis() : nullptr;
    std::optional<ChosenLoadMark> mark = record_choice_mark(doc_->record(), fresh);
    const bool changed = mark.has_value() != qs->chosen_load().has_value() ||
                         (mark && (mark->label != qs->chosen_load()->label ||
                                   mark->load != qs->chosen_load()->load ||
                                   mark->stale != qs->chosen_load()->stale));
    qs->set_chosen_load(std::move(mark));
    if (changed) curve_views_[0]->viewport()->update();
}

void CMainFrame::show_parameter_page(int index) {
    if (QWidget* page = parameter_sheet_->page(index)) parameter_sheet_->activate(page);
}

void CMainFrame::create_pane_keys() {
    struct Key {
        QKeySequence keys;
        void (CMainFrame::*move)(bool);
        bool forward;
    };
    const Key keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), &CMainFrame::move_between_tabs, true},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), &CMainFrame::move_between_tabs, false},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), &CMainFrame::move_between_tabs, true},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), &CMainFrame::move_between_tabs, false},
        {QKeySequence(Qt::Key_F6), &CMainFrame::move_between_panes, true},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), &CMainFrame::move_between_panes, false},
    };
    for (const Key& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this,
                [this, move = key.move, forward = key.forward] { (this->*move)(forward); });
    }
}

CSheetsWnd* CMainFrame::focused_sheet() const {
    QWidget* focus = QApplication::focusWidget();
    for (CSheetsWnd* sheet : {static_cast<CSheetsWnd*>(curve_sheet_),
                              static_cast<CSheetsWnd*>(table_sheet_), parameter_sheet_}) {
        if (focus && sheet->isAncestorOf(focus)) return sheet;
    }
    switch (active_pane_) {
        case ActivePane::kCurves:
            return curve_sheet_;
        case ActivePane::kTables:
            return table_sheet_;
        case ActivePane::kNone:
            break;
    }
    return nullptr;
}

namespace {

// The focus into a sheet's page in front: a curve or a table takes it
// itself, a parameter page gives it to its first field.
void focus_page(CSheetsWnd& sheet, bool first_field) {
    QWidget* page = sheet.active_page();
    if (!page) return;
    QWidget* target = page;
    if (first_field) {
        for (QWidget* w = page->nextInFocusChain(); w && page->isAncestorOf(w);
             w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page)) {
                target = w;
                break;
            }
        }
    }
    target->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void CMainFrame::move_between_tabs(bool forward) {
    CSheetsWnd* sheet = focused_sheet();
    if (!sheet) return;
    sheet->activate_next(forward);
    focus_page(*sheet, sheet == parameter_sheet_);
}

void CMainFrame::move_between_panes(bool forward) {
    const std::array<CSheetsWnd*, 3> panes = {curve_sheet_, table_sheet_, parameter_sheet_};
    const CSheetsWnd* now = focused_sheet();
    int index = forward ? -1 : 0;  // from none: the first pane, or backwards the last
    for (int i = 0; i < 3; ++i) {
        if (panes[static_cast<std::size_t>(i)] == now) index = i;
    }
    const int next = (index + (forward ? 1 : 2)) % 3;
    CSheetsWnd* sheet = panes[static_cast<std::size_t>(next)];
    focus_page(*sheet, sheet == parameter_sheet_);
    if (sheet == curve_sheet_) set_active_pane(ActivePane::kCurves);
    if (sheet == table_sheet_) set_active_pane(ActivePane::kTables);
}

QMenu* CMainFrame::tools_menu() const {
    const QList<QAction*> actions = menuBar()->actions();
    if (actions.size() <= kToolsMenuPosition) return nullptr;
    const QAction* at = actions[kToolsMenuPosition];
    if (at == curve_tools_menu_->menuAction()) return curve_tools_menu_;
    if (at == table_tools_menu_->menuAction()) return table_tools_menu_;
    return nullptr;
}

void CMainFrame::set_active_pane(ActivePane pane) {
    if (pane == active_pane_) return;
    // A curve losing the activation forgets its armed capture.
    if (active_pane_ == ActivePane::kCurves) {
        if (CurveView* view = active_curve_view()) view->curve().deactivate();
    }
    active_pane_ = pane;

    QMenuBar* bar = menuBar();
    bar->removeAction(curve_tools_menu_->menuAction());
    bar->removeAction(table_tools_menu_->menuAction());
    QMenu* wanted = pane == ActivePane::kCurves   ? curve_tools_menu_
                    : pane == ActivePane::kTables ? table_tools_menu_
                                                  : nullptr;
    if (wanted) bar->insertMenu(bar->actions().value(kToolsMenuPosition), wanted);
    update_command_states();
}

}  // namespace kvd
