#pragma once
// What the program's small dialogs share: the message box on Qt (caption,
// icon, buttons and the answer as the core knows them), the refusal of a
// field's value with the platform's message, number parsing and the OK /
// Cancel row. Numbers are typed and shown with a point as the decimal
// separator, whatever the locale, as the test files and the tables show them.

#include <QString>
#include <limits>
#include <optional>

#include "base/numeric.h"
#include "doc/user_interface.h"

class QDialog;
class QDialogButtonBox;
class QFileDialog;
class QLineEdit;
class QWidget;

namespace kvd {

// The platform's messages for a field that does not hold what it must (with
// kEnterNumberMessage and kEnterIntegerMessage of base/numeric.h); %1 and %2
// are the bounds.
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

// The number a field holds, read by the program's one decimal reader
// (parse_decimal_number): blanks around it allowed, nothing else. Not finite
// counts as not a number.
std::optional<double> parse_number(const QString& text);
// A whole number within int, read by parse_whole_number; "12.0" and "1e3" are
// not whole-number texts.
std::optional<int> parse_integer(const QString& text);

// The whole number a field holds within [low, high]; otherwise the field is
// refused (kEnterIntegerMessage or kIntegerRangeMessage) and nothing is returned.
std::optional<int> read_whole_number_field(QLineEdit* field,
                                           int low = std::numeric_limits<int>::min(),
                                           int high = std::numeric_limits<int>::max());

// A double as a field shows it: `decimals` after the point, or the shortest
// text that reads back as the same value when decimals < 0 (no "-0").
QString number_text(double value, int decimals = -1);

// A single-line field for numbers, wide enough for `chars` characters. It
// takes whatever is typed: the dialog refuses a text that is not a number
// (or not a whole one) with its message when the field is checked.
QLineEdit* make_number_field(QWidget* parent, int chars = 10);

// The OK / Cancel row of a dialog: OK is the default button (Enter), Escape
// cancels. OK calls `dialog`'s accept(), which the dialog may override to
// check its fields first.
QDialogButtonBox* make_ok_cancel(QDialog* dialog);

// Fixed-size dialogs: the layout decides the size, so no text is cut.
void fix_dialog_size(QDialog* dialog);

}  // namespace kvd
