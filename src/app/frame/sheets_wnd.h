#pragma once
// CSheetsWnd: pages of a workbook, one visible at a time, chosen by a tab
// strip; CTableSheet holds the table grids with the tabs at the bottom sharing
// the line with the active grid's horizontal scroll bar (a splitter between
// them), CImageSheet the curve views with the tabs along the top.
//
// The strip is painted by the sheet itself: two arrow buttons at its left end
// (twice the strip height wide) scroll the tabs; each tab is a slanted
// four-sided shape round its title, the active one drawn in the page colour
// so that it joins its page.

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <vector>

class QScrollBar;

namespace kvd {

class CSheetsWnd : public QWidget {
    Q_OBJECT

public:
    enum class TabPosition { kTop, kBottom };

    CSheetsWnd(TabPosition position, QColor background, QWidget* parent = nullptr);

    // Adds a page (the sheet takes it as a child); its tab shows the title,
    // or "Sheet" when the title is empty. Returns its index. The first page
    // added becomes the active one.
    int add_page(QWidget* page, const QString& title);
    // The same at a position among the pages (clamped to the end).
    int insert_page(int index, QWidget* page, const QString& title);
    void set_page_title(int index, const QString& title);
    QString page_title(int index) const;
    // A hidden page has no tab and cannot be chosen.
    void set_page_hidden(int index, bool hidden);
    bool page_hidden(int index) const;
    int page_count() const;
    QWidget* page(int index) const;
    int index_of(QWidget* page) const;
    QWidget* active_page() const;
    int active_index() const;
    // Shows a page; nothing (and no signals) when it is already active or
    // when it is hidden.
    void activate(QWidget* page);
    // Brings the next (or previous) visible page forward, wrapping round.
    void activate_next(bool forward);

    // The tab under a point of the sheet; -1 for none (hidden pages have no
    // tab).
    int tab_at(QPoint point) const;
    // The rectangle of a page's tab in sheet coordinates (empty when hidden).
    QRect tab_rect(int index) const;
    // How far the tabs are scrolled to the left, in pixels.
    int tab_offset() const { return tab_offset_; }

signals:
    void page_changing(QWidget* old_page, QWidget* new_page);
    void page_changed(QWidget* new_page);

protected:
    // The line the strip (and, in a table sheet, the scroll bar) occupies,
    // and the part of it the tabs and arrows use.
    QRect line_rect() const;
    virtual QRect strip_rect() const;
    // Lays the pages and the strip's companions out after a resize.
    virtual void layout_children();
    int strip_height() const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Page {
        QPointer<QWidget> widget;
        QString title;
        bool hidden = false;
    };

    QRect arrows_rect() const;
    int tab_width(int index) const;
    int total_tab_width() const;
    // Scrolls the tabs (in 4-pixel steps) until the active tab is fully
    // visible.
    void scroll_to_active();
    void scroll_tabs(int pixels);

    TabPosition position_;
    QColor background_;
    std::vector<Page> pages_;
    int active_ = -1;
    int tab_offset_ = 0;
};

class CTableSheet : public CSheetsWnd {
    Q_OBJECT

public:
    explicit CTableSheet(QColor background, QWidget* parent = nullptr);
    // The scroll bar beside the tabs; the active grid scrolls with it.
    QScrollBar* horizontal_bar() const;
    // Share of the bottom line the scroll bar takes (0.2 at first).
    double bar_share() const { return bar_share_; }
    // Sets the share as the splitter does, kept so that the tabs and the bar
    // both stay usable.
    void set_bar_share(double share);
    // The splitter between the tabs and the scroll bar.
    QRect splitter_rect() const;

protected:
    QRect strip_rect() const override;
    void layout_children() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QScrollBar* bar_ = nullptr;
    double bar_share_ = 0.2;
    bool dragging_ = false;
};

class CImageSheet : public CSheetsWnd {
    Q_OBJECT

public:
    explicit CImageSheet(QColor background, QWidget* parent = nullptr);
};

}  // namespace kvd
