#pragma once
// The options dialog on a document of its own (scripted questions, settings
// in memory), shown and active so that fields can be typed into and left.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/modal_driver.h"
#include "app/options/option_dialog.h"
#include "app/options/option_page.h"
#include "app/options/spin_field.h"
#include "doc/extended_display.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {

// While it lives, every message box that opens is answered with its first
// button (OK, or Yes) and its text kept.
class MessageCatcher {
public:
    MessageCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts_ << box->text();
            QAbstractButton* button = box->button(QMessageBox::Ok);
            if (!button) button = box->button(QMessageBox::Yes);
            // The offscreen platform does not give the window under the box
            // back its activation (and with it the focus) as a desktop does.
            QPointer<QWidget> under(box->parentWidget() ? box->parentWidget()->window() : nullptr);
            if (button) button->click();
            QTimer::singleShot(0, [under] {
                if (under) under->activateWindow();
            });
        });
        timer_.start();
    }
    // Lets queued checks run, then what was shown.
    const QStringList& texts() {
        QTest::qWait(60);
        return texts_;
    }

private:
    QTimer timer_;
    QStringList texts_;
};

class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override { set_extended_display(false); }
    void TearDown() override {
        dialog_.reset();
        set_extended_display(false);
    }

    COptionDialog& open(int start = kStartAsBuilt) {
        dialog_.reset();
        DataFolders folders;
        folders.tests = QStringLiteral("/srv/测试文件");
        folders.calibration = QStringLiteral("/srv/率定表文件");
        dialog_ =
            std::make_unique<COptionDialog>(doc_, store_, start, folders, style_rgb(240, 240, 240));
        dialog_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([this] { return dialog_->isActiveWindow(); }, 3000));
        return *dialog_;
    }

    // The control named after its identifier on a page.
    template <typename T>
    T* control(OptionPage page, int id) {
        T* found = dialog_->page(page)->findChild<T*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(found, nullptr) << id;
        return found;
    }

    // Types a text over what a field holds.
    static void type(QWidget* field, const QString& text) {
        field->setFocus();
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) spin->selectAll();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        bool ascii = true;
        for (QChar c : text) ascii = ascii && c.unicode() < 128;
        if (ascii) {
            QTest::keyClicks(field, text);
        } else {
            // Chinese comes as an input method's committed text.
            QInputMethodEvent event;
            event.setCommitString(text);
            QApplication::sendEvent(field, &event);
        }
    }
    static QString text_of(SpinField* field) { return field->field_text(); }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    MemorySettings memory_;
    SettingsStore store_{memory_};
    std::unique_ptr<COptionDialog> dialog_;
};

}  // namespace kvd::testing
