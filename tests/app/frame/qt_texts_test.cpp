// Qt's own texts in the program's windows are Chinese: the file dialogs are
// Qt's own (not the desktop's, which follow the desktop's language) with
// their column headings, buttons and labels in Chinese; the colour dialog;
// the message boxes; the menu of an edit field. The test programs load Qt's
// translations as the program does at start-up (gui_test_main.cpp).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>
#include <memory>

#include "app/dialogs/dialog_support.h"
#include "app/frame/qt_user_interface.h"
#include "app/modal_driver.h"
#include "app/options/color_button.h"

namespace kvd::testing {
namespace {

QStringList column_headings(QFileDialog* dialog) {
    QStringList headings;
    auto* tree = dialog->findChild<QTreeView*>();
    if (!tree || !tree->model()) return headings;
    for (int column = 0; column < tree->model()->columnCount(); ++column) {
        headings << tree->model()->headerData(column, Qt::Horizontal).toString();
    }
    return headings;
}

QStringList button_texts(QWidget* dialog) {
    QStringList texts;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(dialog) && !button->text().isEmpty()) texts << button->text();
    }
    return texts;
}

// Whether a text has a word of the Latin alphabet outside a "(&X)"
// accelerator and the shortcut after a tab ("撤消(&U)\tCtrl+Z").
bool has_english(const QString& text) {
    QString plain = text.section(QLatin1Char('\t'), 0, 0);
    plain.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    return plain.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

TEST(QtTexts, TheSaveDialogIsQtsOwnWithChineseHeadingsAndButtons) {
    QWidget parent;
    QtUserInterface ui(&parent);
    bool own = false;
    QStringList headings, buttons;
    when_modal<QFileDialog>([&](QFileDialog* dialog) {
        own = dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->setViewMode(QFileDialog::Detail);
        headings = column_headings(dialog);
        buttons = button_texts(dialog);
        keep_picture(dialog, "qt_texts_save_dialog.png");
        dialog->reject();
    });
    SaveDialogRequest request;
    request.title = "保存文件";
    request.filter = "KV静载测试分析文件(*.KVD;*.KVD2)|*.KVD;*.KVD2|";
    request.proposed_name = "新文件.KVD";
    EXPECT_FALSE(ui.ask_save_path(request).has_value());
    EXPECT_TRUE(own) << "the desktop's dialog speaks the desktop's language";
    EXPECT_EQ(headings, QStringList({"名称", "大小", "类型", "修改日期"}));
    ASSERT_FALSE(buttons.isEmpty());
    for (const QString& text : buttons) EXPECT_FALSE(has_english(text)) << text.toStdString();
}

TEST(QtTexts, EveryFileDialogOfTheProgramIsQtsOwn) {
    // The dialogs of the data folders and the calibration tool are made the
    // same way: set_file_dialog_texts is what makes them Qt's own.
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    set_file_dialog_texts(&dialog);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
}

TEST(QtTexts, TheColourDialogIsQtsOwnAndChinese) {
    CColorButton button;
    bool own = false;
    QStringList buttons;
    when_modal<QColorDialog>([&](QColorDialog* dialog) {
        own = dialog->testOption(QColorDialog::DontUseNativeDialog);
        buttons = button_texts(dialog);
        keep_picture(dialog, "qt_texts_colour_dialog.png");
        dialog->reject();
    });
    button.click();
    EXPECT_TRUE(own);
    ASSERT_FALSE(buttons.isEmpty());
    for (const QString& text : buttons) EXPECT_FALSE(has_english(text)) << text.toStdString();
}

TEST(QtTexts, MessageBoxesAndTheMenuOfAnEditFieldAreChinese) {
    QWidget parent;
    QStringList buttons;
    when_modal<QMessageBox>([&](QMessageBox* box) {
        buttons = button_texts(box);
        keep_picture(box, "qt_texts_message_box.png");
        box->reject();
    });
    show_message_box(&parent, QStringLiteral("您真的决定删除这一级数据吗?"), QStringLiteral("警告"),
                     MessageButtons::kYesNo, MessageIcon::kWarning);
    EXPECT_EQ(buttons.size(), 2);
    for (const QString& text : buttons) EXPECT_FALSE(has_english(text)) << text.toStdString();

    QLineEdit field;
    field.setText(QStringLiteral("12.5"));
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) items << action->text();
    }
    ASSERT_FALSE(items.isEmpty());
    for (const QString& text : items) EXPECT_FALSE(has_english(text)) << text.toStdString();

    // The standard buttons Qt names itself.
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
    for (QAbstractButton* button : box.buttons()) {
        EXPECT_FALSE(has_english(button->text())) << button->text().toStdString();
    }
}

}  // namespace
}  // namespace kvd::testing
