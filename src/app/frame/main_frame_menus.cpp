// The menus, toolbars and status bar of the main window, and the enabled
// states of their commands.

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/frame/frame_commands.h"
#include "app/frame/main_frame.h"
#include "app/frame/toolbar_icons.h"
#include "curves/curve_commands.h"
#include "doc/undo_history.h"
#include "tables/table_edit_commands.h"

namespace kvd {
namespace {

using namespace frame_command;

struct CommandText {
    int id;
    const char* text;
    const char* prompt;  // "status-bar prompt\ntool tip"
};

// The commands of the menus and toolbars that are not curve commands.
constexpr CommandText kCommands[] = {
    {kNew, "新建(&N)", "建立新文档\n新建"},
    {kOpen, "打开(&O)...", "打开一个现有文档\n打开"},
    {kSave, "保存(&S)", "保存活动文档\n保存"},
    {kSaveAs, "另存为(&A)...", "用新名称保存活动文档\n另存为"},
    {kWordExport, "输出到Word文档(&W)", "将试验报告输出到Word文档"},
    {kExcelExport, "输出到Excel文档(&E)", "将原始记录表输出到Excel文档"},
    {kPageSetup, "页面设置(&G)", "设置打印页面的纸张、边距和页码"},
    {kPrintSetup, "打印设置(&R)...", "选择打印的内容和打印选项"},
    {kPrintPreview, "打印预览(&V)", "显示整页\n打印预览"},
    {kPrint, "打印(&P)...", "打印活动文档\n打印"},
    {kExit, "退出(&X)", "退出应用程序；提示保存文档\n退出"},
    {kAddUnloading, "加入卸载数据(&U)", "按加载的各级荷载加入卸载数据\n加入卸载数据"},
    {kRestoreRawData, "将数据恢复到从测试仪刚传过来时的状态",
     "放弃对数据的所有修改，由原始记录重新生成各级数据"},
    {kChannelSetup, "位移通道设置(&C)...", "设置各位移通道的测试用途和锚桩编号\n位移通道设置"},
    {kUpload, "上传试验数据(&L)", "将原始数据上传到质检站\n将原始数据上传到质检站"},
    {kCalibrationTool, "率定表工具(&L)", "建立、查看和编辑千斤顶与位移传感器的率定表"},
    {kGroupStatistics, "多桩统计(&S)...", "选择同一场地的多个试验文件，统计承载力"},
    {kOptions, "选项(&O)", "设置曲线样式、页面、打印内容和数据文件位置"},
    {kToolbars, "工具栏(&T)", "显示或隐藏工具栏\n显隐工具栏"},
    {kStatusBar, "状态栏(&S)", "显示或隐藏状态栏\n显隐状态栏"},
    {kHelp, "帮助主题(&H)", "列出帮助主题\n帮助主题"},
    {kSupportPage, "网上技术支持(&J)", "打开网上技术支持页面"},
    {kAnalysisUpdate, "分析系统更新检查(&U)", "检查分析软件是否有新版本"},
    {kTesterUpdate, "采集系统更新检查(&J)", "检查测试仪采集软件是否有新版本"},
    {kAbout, "关于 KVD(&A)...", "显示程序信息、版本号和版权\n关于"},
    {kInsertReading, "插入读数", "在当前读数之后插入一个读数\n插入读数 (Ins)"},
    {kDeleteReading, "删除读数", "删除当前读数\n删除读数 (Del)"},
    {kUndo, "撤销(&U)", "撤销上一次对数据的修改\n撤销"},
    {kRedo, "重做(&R)", "重做刚撤销的修改\n重做"},
};

// The commands that change the record as a whole, each one undo step.
constexpr int kRecordCommands[] = {kNew, kAddUnloading, kRestoreRawData, kChannelSetup};

// Toolbar buttons that run curve commands, with the curve menu's texts.
constexpr int kCurveButtons[] = {kFitWindow, kExportImage, kSetAxes, kShift, kInvert};

// X11 key-state bits of the lock keys.
constexpr quint32 kX11CapsLock = 0x02;
constexpr quint32 kX11NumLock = 0x10;

void set_prompt(QAction* action, const QString& prompt) {
    const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(newline < 0 ? prompt : prompt.left(newline));
    if (newline >= 0) action->setToolTip(prompt.mid(newline + 1));
}

QString curve_menu_text(int command) {
    for (const CurveMenuItem& item : kCurveMenu) {
        if (item.id == command) {
            return QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
        }
    }
    return {};
}

QString view_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QAction* CMainFrame::add_action(int command, const QString& text, const QString& prompt) {
    auto* action = new QAction(text, this);
    set_prompt(action, prompt);
    connect(action, &QAction::triggered, this, [this, command] { run_command(command); });
    actions_[command] = action;
    return action;
}

QAction* CMainFrame::action(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::create_actions() {
    for (const CommandText& command : kCommands) {
        add_action(command.id, QString::fromUtf8(command.text), QString::fromUtf8(command.prompt));
    }
    for (int command : kCurveButtons) {
        add_action(command, curve_menu_text(command), view_text(curve_command_prompt(command)));
    }
    for (const auto& [id, action] : actions_) action->setIcon(toolbar_icon(id));
    actions_[kNew]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actions_[kOpen]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actions_[kSave]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actions_[kUndo]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actions_[kRedo]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    actions_[kHelp]->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)});
    actions_[kToolbars]->setCheckable(true);
    actions_[kStatusBar]->setCheckable(true);
    actions_[kExit]->setMenuRole(QAction::QuitRole);
    actions_[kAbout]->setMenuRole(QAction::AboutRole);
}

void CMainFrame::create_menus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
    file->addActions({actions_[kNew], actions_[kOpen], actions_[kSave], actions_[kSaveAs]});
    file->addSeparator();
    file->addActions({actions_[kWordExport], actions_[kExcelExport]});
    file->addSeparator();
    file->addActions(
        {actions_[kPageSetup], actions_[kPrintSetup], actions_[kPrintPreview], actions_[kPrint]});
    file->addSeparator();
    recent_menu_anchor_ = file;
    recent_separator_ = file->addSeparator();
    file->addAction(actions_[kExit]);
    rebuild_recent_menu();

    QMenu* edit = bar->addMenu(QStringLiteral("编辑(&E)"));
    edit->addActions({actions_[kUndo], actions_[kRedo]});

    QMenu* view = bar->addMenu(QStringLiteral("视图(&V)"));
    view->addActions({actions_[kToolbars], actions_[kStatusBar]});

    QMenu* tools = bar->addMenu(QStringLiteral("工具(&T)"));
    tools->addActions({actions_[kAddUnloading], actions_[kRestoreRawData]});
    tools->addSeparator();
    tools->addAction(actions_[kChannelSetup]);
    tools->addSeparator();
    tools->addActions(
        {actions_[kUpload], actions_[kCalibrationTool], actions_[kGroupStatistics]});
    tools->addSeparator();
    tools->addAction(actions_[kOptions]);

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(actions_[kHelp]);
    help->addSeparator();
    help->addActions(
        {actions_[kSupportPage], actions_[kAnalysisUpdate], actions_[kTesterUpdate]});
    help->addSeparator();
    help->addAction(actions_[kAbout]);

    curve_tools_menu_ = new QMenu(view_text(kCurveToolsMenuTitle), this);
    table_tools_menu_ = new QMenu(view_text(kTableToolsMenuTitle), this);
    fill_tools_menu(curve_tools_menu_);
    fill_tools_menu(table_tools_menu_);
}

void CMainFrame::fill_tools_menu(QMenu* menu) {
    const bool curves = menu == curve_tools_menu_;
    auto add = [&](int id, std::string_view text, std::string_view prompt) {
        QAction* item = menu->addAction(view_text(text));
        set_prompt(item, view_text(prompt));
        item->setData(id);
        connect(item, &QAction::triggered, this, [this, curves, id] {
            if (curves) run_curve_tool(id);
            else run_table_tool(id);
        });
    };
    if (curves) {
        for (const CurveMenuItem& item : kCurveMenu) add(item.id, item.text, item.prompt);
    } else {
        for (const TablePopupItem& item : kTablePopupMenu) {
            if (item.id == 0) menu->addSeparator();
            else add(item.id, item.text, {});
        }
    }
    // The items follow the pane's state when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu, curves] {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            const int id = item->data().toInt();
            item->setEnabled(curves ? curve_command_enabled(id) : table_command_enabled(id));
        }
    });
}

void CMainFrame::create_toolbars() {
    file_toolbar_ = addToolBar(QStringLiteral("标准"));
    file_toolbar_->setObjectName(QStringLiteral("file_toolbar"));
    file_toolbar_->addActions({actions_[kNew], actions_[kOpen], actions_[kSave]});
    file_toolbar_->addSeparator();
    file_toolbar_->addActions({actions_[kPrintPreview], actions_[kPrint]});
    file_toolbar_->addSeparator();
    file_toolbar_->addActions({actions_[kUndo], actions_[kRedo]});

    edit_toolbar_ = addToolBar(QStringLiteral("编辑"));
    edit_toolbar_->setObjectName(QStringLiteral("edit_toolbar"));
    edit_toolbar_->addActions(
        {actions_[kAddUnloading], actions_[kInsertReading], actions_[kDeleteReading]});
    edit_toolbar_->addSeparator();
    edit_toolbar_->addActions(
        {actions_[kExportImage], actions_[kSetAxes], actions_[kShift], actions_[kInvert]});
    edit_toolbar_->addSeparator();
    zoom_box_ = new QComboBox(edit_toolbar_);
    zoom_box_->setEditable(false);
    zoom_box_->setFixedWidth(76);
    zoom_box_->setMaxVisibleItems(static_cast<int>(kZoomBoxItems.size()));
    for (const ZoomBoxItem& item : kZoomBoxItems) zoom_box_->addItem(view_text(item.text));
    zoom_box_->setCurrentIndex(kZoomBoxFitItem);
    zoom_box_->setToolTip(QStringLiteral("曲线显示比例"));
    zoom_box_->setStatusTip(QStringLiteral("选择曲线的显示比例"));
    connect(zoom_box_, &QComboBox::activated, this, [this](int index) { zoom_box_selected(index); });
    edit_toolbar_->addWidget(zoom_box_);
    edit_toolbar_->addAction(actions_[kFitWindow]);

    for (QToolBar* bar : {file_toolbar_, edit_toolbar_}) {
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setIconSize(QSize(16, 16));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

void CMainFrame::create_status_bar() {
    QStatusBar* bar = statusBar();
    auto* idle = new QLabel(QStringLiteral("就绪"), bar);
    bar->addWidget(idle, 1);
    value_pane_ = new QLabel(bar);
    // Wide enough for a long readout, so that it does not jump as the mouse
    // moves; a longer one widens the pane rather than being cut.
    value_pane_->setMinimumWidth(
        value_pane_->fontMetrics().horizontalAdvance(QStringLiteral("100000kPa  -100.00mm")) + 8);
    bar->addPermanentWidget(value_pane_);
    // The lock indicators show their text while the lock is on.
    caps_pane_ = new QLabel(bar);
    num_pane_ = new QLabel(bar);
    for (QLabel* pane : {caps_pane_, num_pane_}) {
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("大写")) + 8);
        pane->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::update_lock_indicators(const QKeyEvent& event) {
    // Qt reports no lock states; on X11 the key event carries them.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    const quint32 state = event.nativeModifiers();
    caps_pane_->setText((state & kX11CapsLock) ? QStringLiteral("大写") : QString());
    num_pane_->setText((state & kX11NumLock) ? QStringLiteral("数字") : QString());
}

void CMainFrame::rebuild_recent_menu() {
    for (QAction* entry : recent_actions_) {
        recent_menu_anchor_->removeAction(entry);
        entry->deleteLater();
    }
    recent_actions_.clear();
    const QStringList& files = recent_.files();
    if (files.isEmpty()) {
        auto* none = new QAction(QStringLiteral("最近文件"), this);
        none->setEnabled(false);
        recent_actions_.push_back(none);
    }
    for (int i = 0; i < files.size(); ++i) {
        auto* entry = new QAction(RecentFileList::menu_text(i, files[i]), this);
        entry->setStatusTip(QStringLiteral("打开该文档"));
        connect(entry, &QAction::triggered, this, [this, i] { open_recent(i); });
        recent_actions_.push_back(entry);
    }
    for (QAction* entry : recent_actions_) recent_menu_anchor_->insertAction(recent_separator_, entry);
}

void CMainFrame::remember_recent(const QString& path) {
    recent_.add(path);
    rebuild_recent_menu();
    settings_.set_recent_files(recent_.files());
}

void CMainFrame::sync_zoom_box() {
    if (zoom_box_) zoom_box_->setCurrentIndex(zoom_box_index(doc_->zoom_factor()));
}

QString CMainFrame::record_command_name(int command) {
    for (const CommandText& text : kCommands) {
        if (text.id == command) return QString::fromStdString(command_step_name(text.text));
    }
    return {};
}

bool CMainFrame::changes_record(int command) {
    return std::find(std::begin(kRecordCommands), std::end(kRecordCommands), command) !=
           std::end(kRecordCommands);
}

void CMainFrame::update_history_actions() {
    QAction* undo = action(kUndo);
    QAction* redo = action(kRedo);
    if (!undo || !redo) return;  // the document spoke before the menus exist
    // "撤销 更改荷载值(&U)": the step's name in the item and its tool tip.
    const auto name = [](const char* verb, const std::string& step, const char* key) {
        const QString text = QString::fromUtf8(verb);
        const QString named = step.empty() ? text : text + u' ' + QString::fromStdString(step);
        return std::pair{named + QString::fromUtf8(key), named};
    };
    const auto [undo_text, undo_tip] = name("撤销", doc_->undo_name(), "(&U)");
    const auto [redo_text, redo_tip] = name("重做", doc_->redo_name(), "(&R)");
    undo->setText(undo_text);
    undo->setToolTip(undo_tip);
    redo->setText(redo_text);
    redo->setToolTip(redo_tip);
}

void CMainFrame::update_command_states() {
    update_history_actions();
    for (const auto& [id, item] : actions_) item->setEnabled(command_enabled(id));
    if (file_toolbar_) actions_[kToolbars]->setChecked(!file_toolbar_->isHidden());
    actions_[kStatusBar]->setChecked(!statusBar()->isHidden());
}

bool CMainFrame::command_enabled(int command) const {
    switch (command) {
        case kAddUnloading:
            return doc_->can_add_unloading_data();
        case kRestoreRawData:
            return doc_->can_restore_from_raw_data();
        case kUndo:
            return doc_->can_undo();
        case kRedo:
            return doc_->can_redo();
        case kUpload:
            return doc_->upload_enabled();
        case kInsertReading:
            return active_pane_ == ActivePane::kTables && table_command_enabled(command);
        case kDeleteReading:
            if (active_pane_ == ActivePane::kTables) return table_command_enabled(command);
            return active_pane_ == ActivePane::kCurves && curve_command_enabled(command);
        case kExportImage:
        case kSetAxes:
        case kShift:
        case kInvert:
            return curve_command_enabled(command);
        default:
            return true;
    }
}

}  // namespace kvd
