#pragma once
// OptionPageWidget: what every page of the options dialog shares. A page
// edits the dialog's working copies (OptionSession) and shows them again on
// load(). The page-setup and print-option pages say changed() after every
// change, and the dialog redraws the page preview.
//
// Refusals: a page that refuses typed values (paper size, margins, page
// numbers) checks them when a field is left and again when the dialog asks
// finish_edits() (before another page is shown or the dialog is confirmed):
// the field out of range gets the message and the focus, and nothing is
// stored. One refusal is shown once, however the field was left.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "doc/option_fields.h"

#include "doc/option_session.h"
#include "doc/page_setup_rules.h"

class QButtonGroup;
class QGridLayout;
class QRadioButton;
class QLineEdit;
class QVBoxLayout;

namespace kvd {

class CColorButton;
class CFontCombo;
class CLineStyleCombo;
class SpinField;

class OptionPageWidget : public QWidget {
    Q_OBJECT

public:
    OptionPageWidget(OptionSession& session, QWidget* parent);

    // Shows the working copy: every control added with the helpers below,
    // then what the page adds.
    virtual void load();
    // Checks what the fields hold; false (after the message) when a value
    // is refused.
    virtual bool finish_edits() { return true; }

signals:
    void changed();

protected:
    OptionSession& session() { return session_; }
    // A group box with a grid inside, added to the page's column.
    QGridLayout* add_group(const QString& title);
    // The page's column, where groups and rows go top to bottom.
    QVBoxLayout* column() { return column_; }
    // A field was left: its check runs once the focus has settled.
    void check_when_left();
    // Tells the user why a value is refused and gives the field the focus.
    void refuse(QLineEdit* field, const FieldRefusal& refusal);
    void refuse_not_integer(QLineEdit* field);

    // Cells of the curve style pages (label in grid column 2 col, control
    // in 2 col + 1), each bound to a field of the working
    // curve style: written at once, shown again by load(). `id` names the
    // control ("id1094") for those who look for it.
    CColorButton* add_colour_row(QGridLayout* grid, int row, int col, int id, StyleColour* target,
                                 const QString& label = QStringLiteral("颜色"));
    CLineStyleCombo* add_pen_style_row(QGridLayout* grid, int row, int col, int id, int* target);
    SpinField* add_sized_row(QGridLayout* grid, int row, int col, int id, const QString& label,
                             int* target, const SizedRange& range);
    CFontCombo* add_font_row(QGridLayout* grid, int row, int col, int id, std::string* target);
    // Runs on every load().
    void on_load(std::function<void()> loader) { loaders_.push_back(std::move(loader)); }

private:
    OptionSession& session_;
    QVBoxLayout* column_ = nullptr;
    std::vector<std::function<void()>> loaders_;
    void tell(QLineEdit* field, const QString& message);

    bool check_queued_ = false;
    bool refusing_ = false;
    int refusals_ = 0;
};

// The name a control goes by: its identifier ("id1094").
QString control_name(int id);
// A radio button of a group, standing for `value`, named after its identifier.
QRadioButton* add_radio(QButtonGroup* group, QWidget* parent, int id, const char* text, int value);
// Checks the button of a group that stands for `value`; none when no button does.
void check_value(QButtonGroup* group, int value);

// The whole number a field holds ("184", " 25 "); nothing for other text.
std::optional<int> field_integer(const QLineEdit* field);

}  // namespace kvd
