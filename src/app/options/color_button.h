#pragma once
// CColorButton: a push button that shows a colour on its face, with a
// two-tone 3-D frame (light and dark sides swapped while pressed) and the
// focus rectangle when focused. Clicking it opens the colour dialog; on OK
// the button shows the chosen colour and says so.

#include <QPushButton>

#include "draw/canvas.h"

namespace kvd {

class CColorButton : public QPushButton {
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr);

    // Windows colour values (0x00BBGGRR), as the curve style keeps them.
    Colour colour() const { return colour_; }
    void set_colour(Colour colour);

    QSize sizeHint() const override;

signals:
    // The user chose a colour in the dialog.
    void colour_chosen(Colour colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose();

    Colour colour_;
};

}  // namespace kvd
