#include "app/tables/in_place_edit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace kvd {
namespace {

// Extra room after the text, pixels.
constexpr int kTextSlack = 5;
// QLineEdit keeps this much space between its frame and the text, per side.
constexpr int kLineEditInnerMargin = 2;

bool is_navigation_key(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return false;
    }
}

}  // namespace

CInPlaceEdit::CInPlaceEdit(QWidget* parent, const QRect& cell, int right_limit, const QFont& font,
                           const QString& text, const EditStart& start)
    : QLineEdit(parent),
      original_(text),
      cell_(cell),
      right_limit_(std::max(right_limit, cell.right() + 1)),
      from_keyboard_(start.from_keyboard) {
    setFont(font);
    setFrame(true);
    setTextMargins(0, 0, 0, 0);
    // Paste goes through the keyboard; other ways in are closed.
    setContextMenuPolicy(Qt::NoContextMenu);
    setDragEnabled(false);
    setAcceptDrops(false);
    setGeometry(cell_);
    setText(text);
    open_with(start);
    fit_to_text();
}

void CInPlaceEdit::open_with(const EditStart& start) {
    if (start.key == 0 || start.key == Qt::Key_Return || start.key == Qt::Key_Enter) {
        deselect();
        QLineEdit::end(false);  // caret after the last character
        return;
    }
    if (start.key == Qt::Key_Backspace) {
        QLineEdit::end(false);
        backspace();
        return;
    }
    selectAll();
    if (start.key == Qt::Key_Space || is_navigation_key(start.key)) return;
    if (start.text.size() == 1) insert(start.text);
}

void CInPlaceEdit::end(int key) {
    if (ended_) return;
    ended_ = true;
    const QString final_text = text();
    // Hidden first, so that a message shown while the grid stores the text
    // does not sit over a live box.
    hide();
    emit finished(final_text, key);
    deleteLater();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (key) {
        case Qt::Key_Escape:
            setText(original_);
            end(key);
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            end(key);
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (from_keyboard_ || ctrl) {
                end(key);
                return;
            }
            break;
        default:
            break;
    }
    // Every character gets in, so that what was typed is what the table
    // refuses when it is not a number.
    QLineEdit::keyPressEvent(event);
    fit_to_text();
}

bool CInPlaceEdit::focusNextPrevChild(bool) {
    // Refusing here makes the widget hand Tab to keyPressEvent.
    return false;
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    end(0);
}

void CInPlaceEdit::inputMethodEvent(QInputMethodEvent* event) {
    QLineEdit::inputMethodEvent(event);
    fit_to_text();
}

void CInPlaceEdit::fit_to_text() {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int needed =
        fontMetrics().horizontalAdvance(text()) + kTextSlack + 2 * (frame + kLineEditInnerMargin);
    const int limit = std::max(cell_.width(), right_limit_ - cell_.left());
    const int width = std::clamp(needed, cell_.width(), limit);
    if (width != this->width()) resize(width, cell_.height());
}

}  // namespace kvd
