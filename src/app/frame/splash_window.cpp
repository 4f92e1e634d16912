#include "app/frame/splash_window.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>

namespace kvd {

SplashWindow* SplashWindow::show_over(QWidget* main_window, const QString& bitmap_path) {
    QPixmap picture;
    if (!picture.load(bitmap_path) || picture.isNull()) return nullptr;
    auto* splash = new SplashWindow(picture, main_window);
    splash->show();
    return splash;
}

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* main_window)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture),
      main_window_(main_window) {
    setAttribute(Qt::WA_DeleteOnClose);
    const QSize size = picture_.deviceIndependentSize().toSize();
    setFixedSize(size);
    const QRect over = main_window ? main_window->frameGeometry() : QRect();
    if (over.isValid()) move(over.center() - QPoint(size.width() / 2, size.height() / 2));
    // Any key or mouse press in the program closes the splash.
    qApp->installEventFilter(this);
    QTimer::singleShot(kSplashMilliseconds, this, &SplashWindow::finish);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            finish();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::finish() {
    if (finished_) return;
    finished_ = true;
    qApp->removeEventFilter(this);
    close();
    if (main_window_) main_window_->update();
}

}  // namespace kvd
