#pragma once
// SplashWindow: the picture shown while the program starts — the bitmap
// "封面.BMP" from the program's folder, borderless, at its own size, centred
// over the main window. It closes after 750 ms or at the first key or mouse
// press anywhere in the program, and the main window is then repainted.

#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace kvd {

inline constexpr char kSplashFileName[] = "封面.BMP";
inline constexpr int kSplashMilliseconds = 750;

class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the splash over `main_window` when the bitmap loads; returns the
    // window (it deletes itself when closed), or nullptr when there is no
    // bitmap.
    static SplashWindow* show_over(QWidget* main_window, const QString& bitmap_path);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SplashWindow(const QPixmap& picture, QWidget* main_window);
    void finish();

    QPixmap picture_;
    QPointer<QWidget> main_window_;
    bool finished_ = false;
};

}  // namespace kvd
