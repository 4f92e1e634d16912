#pragma once
// What the main window tests share: temporary copies of the samples, a frame
// on a scripted or a real user interface, mouse and drop events, and a
// watchdog that closes any dialog or popup a test left open, so that no test
// can hang on a modal loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "app/frame/app_settings.h"
#include "app/frame/main_frame.h"
#include "app/modal_driver.h"
#include "doc/scripted_user_interface.h"
#include "record/file_classifier.h"
#include "tables/my_grid.h"

namespace kvd::testing {

inline QString sample(const char* name) {
    return QStringLiteral(KVD_SOURCE_DIR "/samples/") + QString::fromUtf8(name);
}

inline QByteArray file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The window title of a document named `name`.
inline QString window_title(const char* name) {
    return QString::fromUtf8(name) + QStringLiteral(" - ROzadazoza");
}

// The kind of file a file on disk is, from its first bytes.
inline FileKind kind_of_file(const QString& path) {
    const QByteArray bytes = file_bytes(path);
    return classify_file(ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  static_cast<std::size_t>(bytes.size())))
        .kind;
}

// A mouse event at a pixel of the widget.
inline void send_mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                       Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Makes a window the active one (focus moves, and the checks that run on
// them, need it) and waits until the application agrees.
inline bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 3000);
}

// Closes whatever dialog or popup has stayed in front longer than the limit
// and fails the test that left it there.
class ModalWatchdog {
public:
    explicit ModalWatchdog(int limit_ms = 6000) : limit_ticks_(limit_ms / kTickMs) {
        timer_.setInterval(kTickMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

private:
    static constexpr int kTickMs = 100;

    void tick() {
        QWidget* front = QApplication::activePopupWidget();
        if (!front) front = QApplication::activeModalWidget();
        if (front != seen_) {
            seen_ = front;
            ticks_ = 0;
            return;
        }
        if (!front || ++ticks_ < limit_ticks_) return;
        ADD_FAILURE() << "left open: " << front->metaObject()->className() << " \""
                      << front->windowTitle().toStdString() << "\"";
        seen_ = nullptr;
        if (auto* dialog = qobject_cast<QDialog*>(front))
            dialog->reject();
        else
            front->close();
    }

    QTimer timer_;
    QWidget* seen_ = nullptr;
    int ticks_ = 0;
    int limit_ticks_;
};

// Runs act on the next popup menu once it is open; when none opens within
// about five seconds the polling stops.
inline void when_popup(std::function<void(QMenu*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu || ++*tries > 1000) {
            timer->stop();
            timer->deleteLater();
            if (menu) act(menu);
        }
    });
    timer->start();
}

// The settings the frame reads and writes (a temporary folder for the whole
// run, see frame_test_main.cpp).
inline QSettings user_settings() {
    return QSettings(QString::fromUtf8(kSettingsOrganisation),
                     QString::fromUtf8(kSettingsApplication));
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        user_settings().clear();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        frame_.reset();
        user_settings().clear();
    }

    // A copy of a sample in the test's own folder, under `name` if given.
    QString copy(const char* sample_name, const char* name = nullptr) {
        const QString target = dir_.filePath(QString::fromUtf8(name ? name : sample_name));
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(sample(sample_name), target)) << sample_name;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    // A frame answering through ui_ (or through real message boxes and
    // dialogs when `real_dialogs`), shown on the offscreen screen at its
    // stored size, or at `size` when one is given.
    CMainFrame& make_frame(bool real_dialogs = false, bool show = true, QSize size = {}) {
        frame_.reset();
        settings_ = std::make_unique<AppSettings>();
        frame_ = std::make_unique<CMainFrame>(*settings_, real_dialogs ? nullptr : &ui_);
        if (size.isValid()) frame_->resize(size);
        if (show) {
            frame_->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        }
        return *frame_;
    }
    CMainFrame& frame() { return *frame_; }
    CLbxDoc& doc() { return frame_->document(); }
    QString title() const { return frame_->windowTitle(); }

    ModalWatchdog watchdog_;
    QTemporaryDir dir_;
    ScriptedUserInterface ui_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

// The texts a table shows once filled from the document.
inline std::string cell(CMyGrid& table, int row, int column) {
    table.fill();
    return table.cell_text(row, column);
}

}  // namespace kvd::testing
