// The load detail table window with the program's real message boxes and
// value dialogs (QtUserInterface), answered by clicking their buttons: a
// refused in-place edit, the delete confirmation, "加上一个固定值" with a
// value the dialog refuses first, and "修改采样间隔时间". Also filling a grade
// column to its last row.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "app/dialogs/dialog_support.h"
#include "app/tables/interval_dialog.h"
#include "app/dialogs/number_dialog.h"
#include "app/frame/qt_user_interface.h"
#include "doc/record_edits.h"
#include "grid_window.h"
#include "qt/qt_font_metrics.h"
#include "tables/test_table.h"

namespace kvd::testing {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// What a message box said.
struct Said {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box by clicking `button`, keeping what it said.
void answer_box(Said& said, QMessageBox::StandardButton button, QWidget* not_this = nullptr) {
    when_modal<QMessageBox>(
        [&said, button](QMessageBox* box) {
            said = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
            QAbstractButton* choice = box->button(button);
            if (choice) {
                QTest::mouseClick(choice, Qt::LeftButton);
            } else {
                box->reject();
            }
        },
        not_this);
}

void click_dialog_button(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    if (buttons && buttons->button(which)) {
        QTest::mouseClick(buttons->button(which), Qt::LeftButton);
    } else {
        dialog->reject();
    }
}

class GridDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(demo_path()));
        load_ = std::make_unique<GridWindow>(doc_, metrics_, TableKind::kLoad);
        ui_.set_parent(&load_->view());
        load_->view().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&load_->view()));
    }
    void TearDown() override {
        EXPECT_EQ(watchdog_.closed(), 0) << "a popup or dialog was left open";
    }

    double settlement(int grade, int reading) {
        doc_.refresh_derived();
        return doc_.record().grades.get_reading(grade, reading).value_or(SamplePoint{}).settlement;
    }
    QString shown(CellId cell) { return load_->paint()->text_in(load_->rect_of(cell)); }
    void choose(CellId cell, int command) {
        load_->popup(cell, [command](QMenu* menu) { click_item(menu, command); });
    }

    QtUserInterface ui_;
    CLbxDoc doc_{ui_};
    QtFontMetrics metrics_;
    ModalWatchdog watchdog_;
    std::unique_ptr<GridWindow> load_;
};

TEST_F(GridDialogTest, ARefusedTimeIsExplainedInAnErrorBoxAndTheTableCarriesOn) {
    const QString row4 = shown({4, 0});
    const QString row5 = shown({5, 0});
    Said said;
    answer_box(said, QMessageBox::Ok);
    load_->press({5, 0});
    load_->type(row4);
    load_->key(Qt::Key_Return);
    EXPECT_EQ(said.text, utf8(kTimeBetweenNeighbours));
    EXPECT_EQ(said.title, utf8(kCaptionError));
    EXPECT_EQ(said.icon, QMessageBox::Critical);
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_EQ(shown({5, 0}), row5);
    EXPECT_FALSE(doc_.is_modified());
    // The table keeps the keyboard: the next digits edit the cell.
    EXPECT_EQ(load_->view().focusWidget(), &load_->view());
    load_->type(QStringLiteral("4"));
    ASSERT_NE(load_->view().editor(), nullptr);
    load_->key(Qt::Key_Escape);
}

TEST_F(GridDialogTest, DeletingAReadingAsksFirstAndNoKeepsIt) {
    const int n = doc_.record().grades.reading_count(2);
    Said said;
    answer_box(said, QMessageBox::No);
    choose({4, 3}, kCommandDeleteReading);
    EXPECT_EQ(said.text, utf8(kConfirmDeleteReading));
    EXPECT_EQ(said.title, utf8(kCaptionWarning));
    EXPECT_EQ(said.icon, QMessageBox::Warning);
    EXPECT_EQ(said.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(doc_.record().grades.reading_count(2), n);
    EXPECT_FALSE(doc_.is_modified());

    const double next = settlement(2, 4);
    answer_box(said, QMessageBox::Yes);
    choose({4, 3}, kCommandDeleteReading);
    EXPECT_EQ(doc_.record().grades.reading_count(2), n - 1);
    EXPECT_EQ(shown({4, 3}), QString::number(next, 'f', 2));
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(load_->view().focusWidget(), &load_->view());
}

TEST_F(GridDialogTest, AddingAFixedValueAsksForANumberAndShiftsEveryLaterReading) {
    // Target: reading 3 of grade 2 (row 4, column 3).
    const double before = settlement(2, 2);
    const double target = settlement(2, 3);
    const double unloading = settlement(12, 2);
    QString title;
    QStringList labels;
    QString opened_with;
    Said refusal;
    bool stayed_open = false;
    when_modal<NumberDialog>([&](NumberDialog* dialog) {
        title = dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
        opened_with = dialog->field()->text();
        // A lone sign is not a number: refused, the dialog stays.
        dialog->field()->selectAll();
        QTest::keyClick(dialog->field(), '-');
        answer_box(refusal, QMessageBox::Ok, dialog);
        click_dialog_button(dialog, QDialogButtonBox::Ok);
        stayed_open = dialog->isVisible();
        dialog->field()->selectAll();
        QTest::keyClicks(dialog->field(), QStringLiteral("0.5"));
        click_dialog_button(dialog, QDialogButtonBox::Ok);
    });
    choose({4, 3}, kCommandAddValue);

    EXPECT_EQ(title, utf8(kAddValueTitle));
    EXPECT_TRUE(labels.contains(utf8("请输入要加上的位移变化值")));
    EXPECT_TRUE(labels.contains(utf8("(如果为负值表示减去一个固定值)")));
    EXPECT_TRUE(labels.contains(QStringLiteral("mm")));
    EXPECT_DOUBLE_EQ(opened_with.toDouble(), -target);
    EXPECT_EQ(refusal.text, utf8(kEnterNumberMessage));
    EXPECT_TRUE(stayed_open);

    EXPECT_DOUBLE_EQ(settlement(2, 2), before);
    EXPECT_NEAR(settlement(2, 3), target + 0.5, 0.011);
    EXPECT_NEAR(settlement(12, 2), unloading + 0.5, 0.011);
    EXPECT_EQ(shown({4, 3}), QString::number(settlement(2, 3), 'f', 2));
    EXPECT_TRUE(doc_.is_modified());

    // Cancel changes nothing.
    doc_.set_modified(false);
    when_modal<NumberDialog>(
        [](NumberDialog* dialog) { click_dialog_button(dialog, QDialogButtonBox::Cancel); });
    choose({4, 3}, kCommandAddValue);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridDialogTest, TheIntervalDialogMovesThePlannedTimesOnOkOnly) {
    const IntervalTable before = doc_.record().test_params.load_intervals;
    when_modal<IntervalDialog>(
        [](IntervalDialog* dialog) { click_dialog_button(dialog, QDialogButtonBox::Cancel); });
    choose({3, 0}, kCommandChangeIntervals);
    EXPECT_EQ(doc_.record().test_params.load_intervals, before);
    EXPECT_FALSE(doc_.is_modified());

    QString title;
    QString shown_second;
    when_modal<IntervalDialog>([&](IntervalDialog* dialog) {
        title = dialog->windowTitle();
        shown_second = dialog->load_field(1)->text();
        dialog->load_field(1)->selectAll();
        QTest::keyClicks(dialog->load_field(1), QStringLiteral("6"));
        keep_picture(dialog, "grid_interval_dialog.png");
        click_dialog_button(dialog, QDialogButtonBox::Ok);
    });
    choose({3, 0}, kCommandChangeIntervals);
    EXPECT_EQ(title, utf8("修改采样间隔时间"));
    EXPECT_EQ(shown_second, QString::number(before[1]));
    EXPECT_EQ(doc_.record().test_params.load_intervals[1], 6);
    EXPECT_EQ(shown({2, 0}), QString::number(before[0] + 6));
    EXPECT_EQ(shown({3, 0}), QString::number(before[0] + 6 + before[2]));
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(GridDialogTest, TypingIntoTheLastRowFillsTheGradeToAHundredReadings) {
    load_->press({3, 2});
    for (int i = 0; i < 12; ++i) load_->key(Qt::Key_PageDown);
    ASSERT_EQ(load_->current(), (CellId{100, 2}));
    load_->type(QStringLiteral("2"));
    load_->key(Qt::Key_Return);
    ASSERT_EQ(doc_.record().grades.reading_count(1), CTestTable::kReadingRows);
    EXPECT_EQ(shown({100, 2}), QStringLiteral("2.00"));
    EXPECT_EQ(shown({99, 2}), QStringLiteral("2.00"));
    EXPECT_EQ(load_->current(), (CellId{100, 2}));
    // The last planned time: 11 intervals, then the twelfth for every later row.
    const IntervalTable& intervals = doc_.record().test_params.load_intervals;
    int minutes = 0;
    for (int i = 0; i < CTestTable::kReadingRows; ++i) minutes += intervals[std::min(i, 11)];
    EXPECT_EQ(shown({100, 0}), QString::number(minutes));
}

}  // namespace
}  // namespace kvd::testing
