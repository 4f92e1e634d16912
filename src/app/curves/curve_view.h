#pragma once
// CurveView: the window of one curve (CQ_s, Cs_lgt, Cs_lgQ). It paints the
// curve through the Qt canvas at the window's scale (fit or zoom, with scroll
// bars), reports the value under the mouse, shows the capture cursor and
// drags points, and offers the curve's context menu with its commands.
//
// Units: the curve works in logical units of 0.1 mm with y up; the window
// maps them to pixels with its logical resolution (254 units an inch), the
// logical origin at the top-left corner of the scrolled picture. The client
// size handed to the curve is the viewport's, in logical units.

#include <QAbstractScrollArea>
#include <QPoint>
#include <functional>

#include "curves/image.h"
#include "qt/retained_picture.h"
#include "qt/text_cache.h"

class QMenu;

namespace kvd {

class CurveView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The view does not own the curve.
    explicit CurveView(CImage& curve, QWidget* parent = nullptr);
    ~CurveView() override;

    CImage& curve() { return curve_; }

    // The document changed: repaint.
    void on_document_update(int hint);
    // A curve command routed by the main window (zoom, invert, shift, set
    // axes, export ...); false when it is not enabled now.
    bool run_command(int command);
    bool command_enabled(int command) const;
    // What "设置曲线样式(&S)" opens (the options dialog at its curve style
    // pages); the command is disabled while none is set.
    void set_style_dialog(std::function<void()> open) { style_dialog_ = std::move(open); }

    // The context menu (menu 103) as it opens now: the items of the curve
    // menu, enabled by the curve's state (the capture it froze when the menu
    // opened). Each action carries its command as data and the first line
    // of its prompt as status tip (shown in the frame's status bar while
    // the item is hovered), the second line as tool tip. The caller owns it.
    QMenu* create_context_menu(QWidget* parent);

    // Pixels of the viewport and the curve's logical units.
    double pixels_per_unit() const;
    Point to_logical(QPoint pixel) const;
    QPoint to_pixel(Point logical) const;
    // The share of the window the last paint drew again (0 to 1): the rest
    // came from the picture it keeps.
    double last_redrawn_share() const { return picture_.last_redrawn_share(); }
    // The viewport in logical units.
    Size client_size() const;

signals:
    // Text for the second pane of the status bar (empty outside the plot).
    void status_text(const QString& text);
    // The zoom changed (the frame updates its zoom box).
    void zoom_changed();
    // The curve got the focus (the frame then shows the curve tools menu).
    void focused(CurveView* view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The scroll bars cover the picture when it is larger than the window
    // (zoomed); the extent is the curve's after its last paint.
    void sync_scroll_bars();
    // The status text and the cursor for the mouse at `cursor`; arms the
    // capture over a point.
    void hover(Point cursor);
    void after_zoom();
    // The pixels of a logical rectangle, with a pixel to spare round it.
    QRect pixel_rect(const Rect& logical) const;
    // A drag is one undo step, from the first move that changes the record
    // to the release of the button (or the loss of the focus).
    void end_drag();

    CImage& curve_;
    std::function<void()> style_dialog_;
    Size extent_;  // scroll extent of the last paint, logical units
    bool scroll_sync_queued_ = false;
    bool dragging_ = false;
    TextCache texts_;  // the labels, laid out once for every paint
    // The picture of the last paint: a paint draws again only what changed.
    RetainedPicture picture_;
};

}  // namespace kvd
