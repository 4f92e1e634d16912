#pragma once
// The drawn lists of the curve style pages:
//   CLineStyleCombo  five pen styles (item data 0 ... 4), each entry a line
//                    of its style across the item
//   CMarkFontCombo   the seven mark symbols (item data 0 ... 6), each drawn
//                    as the curves draw it, with its subscript; entry 0 is " 无"
// Entries are drawn in the window-text colour, and inverted while selected.
// Showing a value selects the entry whose data equals it, nothing when none
// does.

#include <QComboBox>

namespace kvd {

class CLineStyleCombo : public QComboBox {
    Q_OBJECT

public:
    explicit CLineStyleCombo(QWidget* parent = nullptr);
    void show_value(int pen_style);
    // The pen style of the selected entry; -1 when none is selected.
    int value() const;

signals:
    void value_chosen(int pen_style);
};

class CMarkFontCombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 24;

    explicit CMarkFontCombo(QWidget* parent = nullptr);
    void show_value(int symbol);
    int value() const;

signals:
    void value_chosen(int symbol);
};

}  // namespace kvd
