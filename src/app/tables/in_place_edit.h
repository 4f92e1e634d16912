#pragma once
// CInPlaceEdit: the bordered one-line box a grid lays over a cell while the
// cell is edited. It holds the cell's text in the grid's font and takes
// whatever is typed (the table refuses a text that is not a number, with its
// message); it widens to its text as it grows, never past the grid's right
// edge. Escape restores the
// text it opened with; Tab, Enter, losing the focus and (when the edit was
// started from the keyboard, or with Ctrl held) Page Up/Down and the arrows
// end it. On ending it hides, reports the text and the ending key once, and
// deletes itself.

#include <QLineEdit>
#include <QRect>
#include <QString>

namespace kvd {

// What started an edit: the mouse (a double-click) or a key typed into the
// current cell. The key decides how the box opens: the mouse and Enter put
// the caret at the end of the text, Backspace does so and deletes the last
// character, Space and the navigation keys select the whole text, any other
// key replaces the whole text with its character.
struct EditStart {
    bool from_keyboard = false;
    int key = 0;   // Qt::Key; 0 for the mouse
    QString text;  // the character the key typed, if any

    static EditStart mouse() { return {}; }
    static EditStart typed(int key, const QString& text) { return {true, key, text}; }
};

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT

public:
    // `cell`: the cell's rectangle in the parent; `right_limit`: the parent x
    // the box never grows past.
    CInPlaceEdit(QWidget* parent, const QRect& cell, int right_limit, const QFont& font,
                 const QString& text, const EditStart& start);

    const QString& original_text() const { return original_; }
    // Ends the edit as if `key` had been pressed (0: focus loss, or the grid
    // closing the box). Only the first call counts.
    void end(int key);

signals:
    // The edit ended with this text (the original one after Escape) and the
    // key that ended it (0 for focus loss).
    void finished(const QString& text, int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab end the edit instead of moving the focus on.
    bool focusNextPrevChild(bool next) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void open_with(const EditStart& start);
    // Widens the box to its text plus 5 pixels, up to right_limit_.
    void fit_to_text();

    QString original_;
    QRect cell_;
    int right_limit_;
    bool from_keyboard_;
    bool ended_ = false;
};

}  // namespace kvd
