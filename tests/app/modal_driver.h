#pragma once
// Driving modal dialogs from a test: the dialog's exec() blocks, so the test
// queues what to do with it before opening it. when_modal<T>(act) polls the
// event loop until a modal widget of type T is the active one and runs act
// on it once; act must close it (or leave it to a later act). Pictures of
// widgets go to KVD_APP_PNG_DIR when it is set.

#include <QApplication>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace kvd::testing {

template <typename T>
void when_modal(std::function<void(T*)> act, QWidget* not_this = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QPointer<QWidget> skip(not_this);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries, skip] {
        QWidget* modal = QApplication::activeModalWidget();
        T* target = qobject_cast<T*>(modal);
        if (target && modal != skip.data()) {
            timer->stop();
            timer->deleteLater();
            act(target);
        } else if (++*tries > 2000) {  // ten seconds: the dialog never came
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Waits (running the event loop) until cond holds or about two seconds pass.
inline bool wait_until(const std::function<bool()>& cond) {
    for (int i = 0; i < 200 && !cond(); ++i) QTest::qWait(10);
    return cond();
}

// Keeps a picture of the widget for looking at.
inline void keep_picture(QWidget* widget, const std::string& name) {
    const char* dir = std::getenv("KVD_APP_PNG_DIR");
    if (!dir || !*dir || !widget) return;
    std::filesystem::create_directories(dir);
    widget->grab().save(QString::fromStdString((std::filesystem::path(dir) / name).string()));
}

}  // namespace kvd::testing
