#pragma once
// What the program's small dialogs share: the message box on Qt (caption,
// icon, buttons and the answer as the core knows them), the refusal of a
// field's value with the platform's message, number parsing and the OK /
// Cancel row. Numbers are typed and shown with a point as the decimal
// separator, whatever the locale, as the test files and the tables show them.

#include <QString>
#include <optional>

#include "doc/user_interface.h"

class QDialog;
class QDialogButtonBox;
class QFileDialog;
class QLineEdit;
class QWidget;

namespace kvd {

// The platform's messages for a field that does not hold what it must.
inline constexpr char kEnterNumberMessage[] = "请输入一个数字。";
inline constexpr char kEnterIntegerMessage[] = "请输入一个整数。";
// %1 and %2 are the bounds.
inline constexpr char kIntegerRangeMessage[] = "请输入一个介于 %1 和 %2 之间的整数。";
inline constexpr char kNumberRangeMessage[] = "请输入一个介于 %1 和 %2 之间的数字。";

// A modal message box over `parent` (centred on it; the active modal dialog
// or window when parent is null). Escape and the close button give Cancel
// or No where the box offers one.
MessageAnswer show_message_box(QWidget* parent, const QString& text, const QString& caption,
                               MessageButtons buttons, MessageIcon icon);

// The labels and buttons of a file dialog in the program's language (the
// texts of the system's Chinese open and save dialogs), on Qt's own dialog
// rather than the desktop's, whose texts follow the desktop's language. Call
// it after the accept mode is set.
void set_file_dialog_texts(QFileDialog* dialog);

// Refuses what a field holds: the message (the application's caption, the
// exclamation icon), then the field gets the focus with its text selected.
void refuse_field(QLineEdit* field, const QString& message);

// The number a field holds: blanks around it allowed, nothing else. Not
// finite counts as not a number.
std::optional<double> parse_number(const QString& text);
// A whole number within int; "12.0" and "1e3" are not whole-number texts.
std::optional<int> parse_integer(const QString& text);

// A double as a field shows it: `decimals` after the point, or the shortest
// text that reads back as the same value when decimals < 0 (no "-0").
QString number_text(double value, int decimals = -1);

// A single-line field for numbers: the C locale's validator (digits, sign,
// point; integers only when asked), wide enough for `chars` characters.
QLineEdit* make_number_field(QWidget* parent, bool integer, int chars = 10);

// The OK / Cancel row of a dialog: OK is the default button (Enter), Escape
// cancels. OK calls `dialog`'s accept(), which the dialog may override to
// check its fields first.
QDialogButtonBox* make_ok_cancel(QDialog* dialog);

// Fixed-size dialogs: the layout decides the size, so no text is cut.
void fix_dialog_size(QDialog* dialog);

}  // namespace kvd
