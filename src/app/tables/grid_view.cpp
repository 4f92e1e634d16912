#include "app/tables/grid_view.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <memory>

#include "app/tables/grid_painter.h"
#include "app/tables/in_place_edit.h"
#include "app/tables/table_menu.h"
#include "doc/doc_view.h"
#include "qt/qt_canvas.h"
#include "tables/source_table.h"
#include "tables/test_table.h"

namespace kvd {

Font screen_grid_font(const QWidget& widget) {
    const QFont& qfont = widget.font();
    Font font;
    font.face = qfont.family().toStdString();
    font.height = std::max(1, QFontMetrics(qfont).height());
    font.weight = qfont.weight();
    font.italic = qfont.italic();
    return font;
}

GridColours screen_grid_colours(const QPalette& palette) {
    GridColours colours;
    colours.text = to_colour(palette.color(QPalette::WindowText));
    colours.background = to_colour(palette.color(QPalette::Base));
    colours.fixed_background = to_colour(palette.color(QPalette::Button));
    colours.fixed_text = to_colour(palette.color(QPalette::WindowText));
    colours.grid_lines = to_colour(palette.color(QPalette::Dark));
    return colours;
}

GridView::GridView(CMyGrid& table, QWidget* parent) : QAbstractScrollArea(parent), table_(table) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    table_.set_font(screen_grid_font(*this));
}

GridView::~GridView() {
    // The box dies with the viewport; it must not report to a half-destroyed view.
    if (editor_) editor_->disconnect(this);
}

CTestTable* GridView::detail_table() const { return dynamic_cast<CTestTable*>(&table_); }

CInPlaceEdit* GridView::editor() const { return editor_.data(); }

void GridView::ensure_filled() {
    if (stale_) refill();
}

void GridView::refill() {
    stale_ = false;
    // The fill resets the fixed counts, which drops a current cell in the
    // fixed bands; the view keeps it (the loads and times are edited there).
    const CellId keep = table_.current_cell();
    table_.fill();
    if (keep.valid() && table_.current_cell() != keep) table_.set_current_cell(keep);
    table_.set_client_size(viewport()->width(), viewport()->height());
    sync_scroll_bars();
}

void GridView::sync_scroll_bars() {
    syncing_bars_ = true;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, table_.vertical_scroll_range());
    vertical->setPageStep(std::max(1, table_.client_height() - table_.header_height()));
    vertical->setSingleStep(std::max(1, table_.default_row_height()));
    int x = table_.scroll_x();
    if (horizontal_bar_) {
        horizontal_bar_->setRange(0, table_.horizontal_scroll_range());
        horizontal_bar_->setPageStep(std::max(1, table_.client_width() - table_.header_width()));
        horizontal_bar_->setSingleStep(std::max(1, table_.chars_width(8)));
        x = horizontal_bar_->value();
    }
    table_.set_scroll_position(x, vertical->value());
    syncing_bars_ = false;
}

void GridView::set_horizontal_bar(QScrollBar* bar) {
    if (bar_connection_) disconnect(bar_connection_);
    bar_connection_ = {};
    horizontal_bar_ = bar;
    if (!bar) return;
    bar_connection_ = connect(bar, &QScrollBar::valueChanged, this, &GridView::on_horizontal_bar);
    syncing_bars_ = true;
    bar->setRange(0, table_.horizontal_scroll_range());
    bar->setValue(table_.scroll_x());
    syncing_bars_ = false;
    viewport()->update();
}

void GridView::on_horizontal_bar(int value) {
    if (syncing_bars_) return;
    if (editor_) editor_->end(0);
    table_.set_scroll_position(value, table_.scroll_y());
    viewport()->update();
}

void GridView::scrollContentsBy(int, int) {
    if (syncing_bars_) return;
    if (editor_) editor_->end(0);
    table_.set_scroll_position(table_.scroll_x(), verticalScrollBar()->value());
    viewport()->update();
}

void GridView::paintEvent(QPaintEvent*) {
    ensure_filled();
    QPainter painter(viewport());
    texts_.start_paint();
    GridPainter(table_, painter, texts_).paint(true);
    // A table with nothing to show says why below its header.
    const std::string empty = table_.empty_text();
    if (empty.empty()) return;
    const int top = std::min(table_.header_height(), viewport()->height());
    const QRect body(0, top, viewport()->width(), viewport()->height() - top);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(body, Qt::AlignCenter | Qt::TextWordWrap, QString::fromStdString(empty));
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    table_.set_client_size(viewport()->width(), viewport()->height());
    // The scroll ranges depend on the client size (a vertical bar coming or
    // going changes the width).
    if (!stale_) sync_scroll_bars();
    viewport()->update();
}

void GridView::on_document_update(int hint) {
    // The raw and modification records show what the tester wrote: a
    // correction does not change them (and refilling 100,000 rows on every
    // step of a drag would make it crawl).
    if (is_change_notice(hint) && !table_.follows_corrections()) return;
    // A detail table brings only the changed grade's columns up to date (a
    // drag sends a notice per mouse move); other tables, and any change that
    // alters a table's shape, fill again before the next paint.
    const bool refilled = !stale_ && is_change_notice(hint) &&
                          table_.refill_changed(notice_grade(hint), notice_reading(hint));
    if (!refilled) stale_ = true;
    // A change of one reading or grade reaches cells far from it: the load
    // header of its column, the summary's load and time columns, the
    // cumulative values of every later row. The whole visible grid is
    // redrawn (only the cells on screen are painted, so a drag stays quick).
    viewport()->update();
}

void GridView::set_current(CellId cell) {
    if (!table_.set_current_cell(cell)) return;
    if (CTestTable* table = detail_table()) table->set_target_cell(cell);
    ensure_visible(cell);
    viewport()->update();
}

void GridView::move_current(int rows, int columns) {
    const CellId current = table_.current_cell();
    set_current({std::clamp(current.row + rows, 0, table_.row_count() - 1),
                 std::clamp(current.column + columns, 0, table_.column_count() - 1)});
}

int GridView::page_rows() const {
    const int body = table_.client_height() - table_.header_height();
    return std::max(1, body / std::max(1, table_.default_row_height()));
}

bool GridView::navigate(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            break;
        default:
            return false;
    }
    const int rows = table_.row_count();
    const int columns = table_.column_count();
    if (rows == 0 || columns == 0) return true;
    const int first_row = std::min(table_.fixed_row_count(), rows - 1);
    const int first_column = std::min(table_.fixed_column_count(), columns - 1);
    const CellId current = table_.current_cell();
    if (!current.valid()) {
        set_current({first_row, first_column});
        return true;
    }
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    // Page moves stay in the body when they start there.
    const int page_top = current.row >= first_row ? first_row : 0;
    switch (key) {
        case Qt::Key_Up:
            move_current(-1, 0);
            break;
        case Qt::Key_Down:
            move_current(1, 0);
            break;
        case Qt::Key_Left:
            move_current(0, -1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Tab:
            move_current(0, 1);
            break;
        case Qt::Key_Backtab:
            move_current(0, -1);
            break;
        case Qt::Key_PageUp:
            set_current({std::max(page_top, current.row - page_rows()), current.column});
            break;
        case Qt::Key_PageDown:
            set_current({std::min(rows - 1, current.row + page_rows()), current.column});
            break;
        case Qt::Key_Home:
            set_current({ctrl ? first_row : current.row, first_column});
            break;
        case Qt::Key_End:
            set_current({ctrl ? rows - 1 : current.row, columns - 1});
            break;
        default:
            break;
    }
    return true;
}

void GridView::ensure_visible(CellId cell) {
    if (!cell.valid()) return;
    const CGrid::PixelRect rect = table_.cell_rect(cell.row, cell.column);
    int x = table_.scroll_x();
    int y = table_.scroll_y();
    if (cell.row >= table_.fixed_row_count()) {
        const int top = rect.top + y;  // unscrolled
        const int bottom = rect.bottom + y;
        if (bottom - y > table_.client_height()) y = bottom - table_.client_height();
        if (top - y < table_.header_height()) y = top - table_.header_height();
    }
    if (cell.column >= table_.fixed_column_count()) {
        const int left = rect.left + x;
        const int right = rect.right + x;
        if (right - x > table_.client_width()) x = right - table_.client_width();
        if (left - x < table_.header_width()) x = left - table_.header_width();
    }
    if (x == table_.scroll_x() && y == table_.scroll_y()) return;
    table_.set_scroll_position(x, y);
    syncing_bars_ = true;
    verticalScrollBar()->setValue(table_.scroll_y());
    if (horizontal_bar_) horizontal_bar_->setValue(table_.scroll_x());
    syncing_bars_ = false;
    viewport()->update();
}

bool GridView::may_start_edit(CellId cell, std::optional<char32_t> key) const {
    if (!cell.valid()) return false;
    if (const CTestTable* table = detail_table()) {
        return table->begin_edit(cell.row, cell.column, key);
    }
    if (key && !CMyGrid::key_starts_edit(*key)) return false;
    return table_.can_edit(cell.row, cell.column);
}

void GridView::start_edit(CellId cell, const EditStart& start) {
    ensure_visible(cell);
    const QRect rect = drawn_cell_rect(table_, cell.row, cell.column);
    if (rect.isEmpty()) return;
    editing_cell_ = cell;
    editing_original_ = QString::fromStdString(table_.cell_text(cell.row, cell.column));
    auto* box = new CInPlaceEdit(viewport(), rect, viewport()->width(),
                                 screen_qfont(table_.cell_font(cell.row, cell.column)),
                                 editing_original_, start);
    editor_ = box;
    connect(box, &CInPlaceEdit::finished, this, &GridView::finish_edit);
    box->show();
    box->setFocus(Qt::OtherFocusReason);
}

void GridView::finish_edit(const QString& text, int key) {
    const CellId cell = editing_cell_;
    const QString original = editing_original_;
    editor_.clear();
    editing_cell_ = CellId{};
    // A key ended the edit in this window: the focus stays here. A focus
    // loss leaves it where it went.
    if (key != 0) setFocus(Qt::OtherFocusReason);
    // Unchanged text stores nothing (Escape restores the original text).
    if (key != Qt::Key_Escape && text != original) {
        table_.end_edit(cell.row, cell.column, text.toStdString());
    }
    refill();
    // Tab, the arrows and the page keys move on (Return and Escape stay).
    if (key != Qt::Key_Return && key != Qt::Key_Enter) navigate(key, {});
    viewport()->update();
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (editor_) {
        event->ignore();
        return;
    }
    ensure_filled();
    const int key = event->key();
    if (tab_leaves(key, event->modifiers())) {
        // Past the last cell of a row (or before the first) Tab goes on to
        // the next control, as it does everywhere else in the window.
        QAbstractScrollArea::focusNextPrevChild(key == Qt::Key_Tab);
        event->accept();
        return;
    }
    if (navigate(key, event->modifiers())) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Insert || key == Qt::Key_Delete) {
        if (CTestTable* table = detail_table()) {
            table->key_command(key == Qt::Key_Insert ? TableKey::kInsert : TableKey::kDelete);
            viewport()->update();
        }
        event->accept();
        return;
    }
    const QString text = event->text();
    const CellId cell = table_.current_cell();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && text.size() == 1 && cell.valid()) {
        const char32_t typed = text.front().unicode();
        if (may_start_edit(cell, typed)) {
            start_edit(cell, EditStart::typed(key, text));
            event->accept();
            return;
        }
    }
    event->ignore();
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (editor_) editor_->end(0);
    setFocus(Qt::MouseFocusReason);
    ensure_filled();
    const QPoint pos = event->position().toPoint();
    const CellId cell = table_.cell_from_point(pos.x(), pos.y());
    if (event->button() == Qt::RightButton) {
        show_popup(cell, event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !cell.valid()) return;
    set_current(cell);
    auto* raw = dynamic_cast<CSourceTable*>(&table_);
    if (raw && cell.row >= raw->fixed_row_count() && raw->can_apply_snapshot()) {
        raw->press_row(cell.row);
    }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || editor_) return;
    const QPoint pos = event->position().toPoint();
    const CellId cell = table_.cell_from_point(pos.x(), pos.y());
    if (may_start_edit(cell, std::nullopt)) {
        set_current(cell);
        start_edit(cell, EditStart::mouse());
    }
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    // The mouse's popup opens on the button press; this is the keyboard's.
    if (event->reason() == QContextMenuEvent::Mouse) return;
    const CellId cell = table_.current_cell();
    const QRect rect = drawn_cell_rect(table_, cell.row, cell.column);
    show_popup(cell, viewport()->mapToGlobal(rect.isEmpty() ? QPoint() : rect.center()));
}

QMenu* GridView::make_popup_menu(QWidget* parent) {
    const CTestTable* table = detail_table();
    if (!table) return nullptr;
    auto* menu = new QMenu(parent);
    fill_table_menu(*menu, *table);
    return menu;
}

void GridView::show_popup(CellId cell, const QPoint& global_pos) {
    table_.set_right_click_cell(cell);
    CTestTable* table = detail_table();
    if (!table) return;
    table->set_target_cell(cell);
    const std::unique_ptr<QMenu> menu(make_popup_menu(this));
    const int command = table_menu_command(menu->exec(global_pos));
    if (command != 0) table->run_command(command);
    setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void GridView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (horizontal_bar_ && delta.y() == 0 && delta.x() != 0) {
        QCoreApplication::sendEvent(horizontal_bar_, event);
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    emit focused(this);
}

void GridView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

bool GridView::tab_leaves(int key, Qt::KeyboardModifiers modifiers) const {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const CellId current = table_.current_cell();
    if (!current.valid() || table_.column_count() == 0) return false;
    if (key == Qt::Key_Tab) return current.column >= table_.column_count() - 1;
    if (key == Qt::Key_Backtab) return current.column <= 0;
    return false;
}

bool GridView::focusNextPrevChild(bool) {
    // Refusing here makes the widget hand Tab to keyPressEvent.
    return false;
}

void GridView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        table_.set_font(screen_grid_font(*this));
        stale_ = true;
        viewport()->update();
    }
}

}  // namespace kvd
