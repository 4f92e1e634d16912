#pragma once
// GridView: the window of one table grid (CMyGrid and its tables). It refills
// the grid from the document before every paint, draws the fixed bands with
// the table's merged-looking header captions, the cells with their colours,
// the current cell; moves the current cell with the keyboard; edits cells in
// place (CInPlaceEdit) by the table's rules; shows the table popup menu of
// the detail tables and runs their commands; applies the raw record table's
// snapshots on a row press. Its horizontal scroll bar is the one the table
// sheet shows beside the tabs.
//
// The grid keeps its scroll position in pixels (CGrid::scroll_x/scroll_y);
// the scroll bars mirror it. The current cell may lie in the fixed bands: the
// detail tables edit their loads (row 0) and planned times (column 0) there.

#include <QAbstractScrollArea>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <optional>

#include "qt/text_cache.h"
#include "tables/my_grid.h"

class QMenu;
class QScrollBar;

namespace kvd {

class CInPlaceEdit;
class CTestTable;
struct EditStart;

// The grid font of a widget's font, in screen pixels: the tables measure
// their rows and columns with it (set it with CGrid::set_font; the tables'
// FontMetrics must then be a screen QtFontMetrics).
Font screen_grid_font(const QWidget& widget);
// The grid colours the system gives: window text, window (base), button face,
// button shadow.
GridColours screen_grid_colours(const QPalette& palette);

class GridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The view does not own the table. It gives the table its own font
    // (screen_grid_font) at once and whenever the font changes.
    explicit GridView(CMyGrid& table, QWidget* parent = nullptr);
    ~GridView() override;

    CMyGrid& table() { return table_; }

    // The document changed: a change notice (grade << 16 | reading) refills
    // the grid at once, any other hint before the next paint; either way the
    // whole view is redrawn.
    void on_document_update(int hint);
    // The sheet's scroll bar that scrolls this grid horizontally (may be null).
    void set_horizontal_bar(class QScrollBar* bar);

    // The popup of a detail table for its target cell (null for the other
    // tables); the actions carry their command identifiers as data.
    QMenu* make_popup_menu(QWidget* parent);
    // The box of the cell being edited, or null.
    CInPlaceEdit* editor() const;

signals:
    // The grid got the focus (the frame then shows the table tools menu).
    void focused(GridView* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Tab and Shift+Tab move the current cell, as they do after an edit;
    // they take the focus out of the table only from its last (or first)
    // column.
    bool focusNextPrevChild(bool next) override;

private:
    CTestTable* detail_table() const;
    // Refills the grid and brings its client size and the scroll bars up to
    // date; the current cell survives the refill.
    void refill();
    // Refills only when the document or the font changed since the last fill.
    void ensure_filled();
    void sync_scroll_bars();
    void on_horizontal_bar(int value);

    void set_current(CellId cell);
    // The current cell moved by (rows, columns), kept inside the grid.
    void move_current(int rows, int columns);
    bool navigate(int key, Qt::KeyboardModifiers modifiers);
    // Whether Tab (Shift+Tab) leaves the table: from the last (first) column.
    bool tab_leaves(int key, Qt::KeyboardModifiers modifiers) const;
    int page_rows() const;
    void ensure_visible(CellId cell);

    bool may_start_edit(CellId cell, std::optional<char32_t> key) const;
    void start_edit(CellId cell, const EditStart& start);
    void finish_edit(const QString& text, int key);
    void show_popup(CellId cell, const QPoint& global_pos);

    CMyGrid& table_;
    QPointer<QScrollBar> horizontal_bar_;
    QMetaObject::Connection bar_connection_;
    QPointer<CInPlaceEdit> editor_;
    CellId editing_cell_;
    QString editing_original_;
    bool syncing_bars_ = false;
    bool stale_ = true;  // the grid does not show the document as it is now
    TextCache texts_;
};

}  // namespace kvd
