// Editing the demo test from its detail table windows: typing into a cell
// (which cells take it, how the box opens and ends, what is stored, what is
// refused), the popup menu of record edits with its confirmations and value
// dialogs, and the Insert and Delete keys. Every check reads the document
// and what the windows show afterwards.

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <map>
#include <string>
#include <vector>

#include "app/tables/in_place_edit.h"
#include "base/numeric.h"
#include "doc/record_edits.h"
#include "doc/scripted_user_interface.h"
#include "grid_window.h"
#include "qt/qt_font_metrics.h"
#include "tables/test_table.h"

namespace kvd::testing {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

class GridEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(demo_path()));
        load_ = std::make_unique<GridWindow>(doc_, metrics_, TableKind::kLoad);
        summary_ = std::make_unique<GridWindow>(doc_, metrics_, TableKind::kSummary);
        load_->view().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&load_->view()));
    }
    void TearDown() override {
        EXPECT_EQ(watchdog_.closed(), 0) << "a popup or dialog was left open";
    }

    // The document's value of a reading, as the tables read it.
    double settlement(int grade, int reading) {
        doc_.refresh_derived();
        return doc_.record().grades.get_reading(grade, reading).value_or(SamplePoint{}).settlement;
    }
    int readings(int grade) const { return doc_.record().grades.reading_count(grade); }
    QString shown(GridWindow& window, CellId cell) {
        return window.paint()->text_in(window.rect_of(cell));
    }
    QString editor_text() {
        return load_->view().editor() ? load_->view().editor()->text() : QString();
    }
    // Opens the popup on a cell and chooses the item of `command`.
    void choose(CellId cell, int command) {
        load_->popup(cell, [command](QMenu* menu) { click_item(menu, command); });
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    QtFontMetrics metrics_;
    ModalWatchdog watchdog_;
    std::unique_ptr<GridWindow> load_;
    std::unique_ptr<GridWindow> summary_;
};

TEST_F(GridEditTest, TypingAValueAndReturnStoresItAndTheOtherTablesFollow) {
    // Row 9 of column 3: the last reading of grade 2.
    load_->press({9, 3});
    load_->type(QStringLiteral("5"));
    ASSERT_NE(load_->view().editor(), nullptr);
    EXPECT_EQ(editor_text(), QStringLiteral("5"));  // the key replaced the text
    load_->type(QStringLiteral(".5"));
    keep_picture(&load_->view(), "grid_load_editing.png");
    load_->key(Qt::Key_Return);
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_EQ(load_->view().focusWidget(), &load_->view());
    EXPECT_EQ(load_->current(), (CellId{9, 3}));

    EXPECT_TRUE(doc_.is_modified());
    EXPECT_DOUBLE_EQ(settlement(2, 8), 5.5);
    EXPECT_DOUBLE_EQ(settlement(3, 0), 5.5);  // the next grade starts where it ended
    EXPECT_EQ(shown(*load_, {9, 3}), QStringLiteral("5.50"));
    EXPECT_EQ(shown(*load_, {1, 4}), QStringLiteral("5.50"));
    EXPECT_EQ(shown(*summary_, {3, 5}), QStringLiteral("5.50"));
    EXPECT_EQ(shown(*summary_, {3, 4}),
              QString::number(5.5 - doc_.record().grades.last_settlement(1), 'f', 2));
    ASSERT_FALSE(summary_->hints.empty());
    EXPECT_EQ(summary_->hints.back(), change_notice(2, 8));
}

TEST_F(GridEditTest, EscapeRestoresTheTextAndStoresNothing) {
    const double before = settlement(2, 3);
    load_->press({4, 3});
    load_->type(QStringLiteral("77"));
    EXPECT_EQ(editor_text(), QStringLiteral("77"));
    load_->key(Qt::Key_Escape);
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_DOUBLE_EQ(settlement(2, 3), before);
    EXPECT_EQ(shown(*load_, {4, 3}), QString::number(before, 'f', 2));
}

TEST_F(GridEditTest, ANumberKeyStartsAnEditAndWhatIsNotANumberIsRefused) {
    load_->press({3, 2});
    load_->type(QStringLiteral("a +"));
    EXPECT_EQ(load_->view().editor(), nullptr);  // only digits, sign and point start one
    const QString was = shown(*load_, {3, 2});
    const double before = settlement(1, 2);

    // Letters get into the box, and the table says why it does not take them.
    for (const char* typed : {"1a2 b", "2.5..-", "-", "1.2.3"}) {
        ui_.clear_log();
        load_->press({3, 2});
        load_->type(QString::fromLatin1(typed));
        EXPECT_EQ(editor_text(), QString::fromLatin1(typed));
        load_->key(Qt::Key_Return);
        ASSERT_EQ(ui_.shown().size(), 1u) << typed;
        EXPECT_EQ(ui_.shown()[0].text, kEnterNumberMessage) << typed;
        EXPECT_EQ(ui_.shown()[0].caption, kCaptionError);
        EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
        EXPECT_EQ(shown(*load_, {3, 2}), was) << typed;
        EXPECT_DOUBLE_EQ(settlement(1, 2), before) << typed;
    }
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_EQ(readings(1), 9);

    load_->press({3, 2});
    load_->type(QStringLiteral("12"));
    load_->key(Qt::Key_Home);
    load_->key(Qt::Key_Delete);  // a key of the box here, not the table's Delete
    EXPECT_EQ(editor_text(), QStringLiteral("2"));
    load_->key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(settlement(1, 2), 2.0);
}

TEST_F(GridEditTest, OnlyTheCellsTheTableAllowsStartAnEdit) {
    struct Case {
        CellId cell;
        bool editable;
    };
    const std::vector<Case> cases = {
        {{0, 0}, false},  // the corner
        {{1, 0}, false},  // the first time is fixed
        {{2, 0}, true},   {{12, 0}, true},
        {{13, 0}, false}, {{1, 1}, true},  // the test's first reading
        {{2, 1}, false},                   // the first grade holds only it
        {{0, 2}, true},                    // a load
        {{1, 2}, false},                   // a grade's 0-minute reading repeats the previous grade
        {{2, 2}, true},   {{40, 2}, true},
    };
    for (const Case& c : cases) {
        load_->press(c.cell);
        load_->type(QStringLiteral("1"));
        EXPECT_EQ(load_->view().editor() != nullptr, c.editable)
            << "cell " << c.cell.row << "," << c.cell.column;
        if (load_->view().editor()) load_->key(Qt::Key_Escape);
    }
    // A double-click opens the box where typing does.
    load_->double_click({1, 2});
    EXPECT_EQ(load_->view().editor(), nullptr);

    // No averaged channel: nothing may be edited.
    doc_.record().test_params.averaged.fill(0);
    load_->press({3, 2});
    load_->type(QStringLiteral("1"));
    load_->double_click({3, 2});
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridEditTest, ADoubleClickedBoxKeepsTheTextAndLetsTheArrowsMoveTheCaret) {
    const QString text = QString::fromStdString(load_->table().cell_text(3, 2));
    load_->double_click({3, 2});
    CInPlaceEdit* box = load_->view().editor();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), text);
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_EQ(box->cursorPosition(), text.size());
    load_->key(Qt::Key_Left);  // moves the caret, the box stays
    ASSERT_EQ(load_->view().editor(), box);
    EXPECT_EQ(box->cursorPosition(), text.size() - 1);
    load_->key(Qt::Key_End);
    load_->key(Qt::Key_Backspace);
    load_->type(QStringLiteral("9"));
    // With Ctrl the arrows end the edit and move on.
    load_->key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_EQ(load_->current(), (CellId{4, 2}));
    QString expected = text.trimmed();
    expected.chop(1);
    EXPECT_DOUBLE_EQ(settlement(1, 2), (expected + QLatin1Char('9')).toDouble());
}

TEST_F(GridEditTest, ArrowsTabAndAPressElsewhereEndAKeyboardEditAndMoveOn) {
    load_->press({3, 2});
    load_->type(QStringLiteral("2"));
    load_->key(Qt::Key_Down);
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_DOUBLE_EQ(settlement(1, 2), 2.0);
    EXPECT_EQ(load_->current(), (CellId{4, 2}));

    load_->type(QStringLiteral("3"));
    load_->key(Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(settlement(1, 3), 3.0);
    EXPECT_EQ(load_->current(), (CellId{4, 3}));

    // Tab from the last column stays in the grid.
    const int last = load_->table().column_count() - 1;
    load_->press({4, last});
    load_->type(QStringLiteral("30"));
    load_->key(Qt::Key_Tab);
    EXPECT_EQ(load_->current(), (CellId{4, last}));
    EXPECT_DOUBLE_EQ(settlement(9, 3), 30.0);

    // A press on another cell ends the edit; the typed value is kept.
    load_->key(Qt::Key_Home);  // scrolls back to the first grades
    EXPECT_EQ(load_->table().scroll_x(), 0);
    load_->press({5, 2});
    load_->type(QStringLiteral("4"));
    load_->press({6, 5});
    EXPECT_EQ(load_->view().editor(), nullptr);
    EXPECT_DOUBLE_EQ(settlement(1, 4), 4.0);
    EXPECT_EQ(load_->current(), (CellId{6, 5}));

    // Going to another window ends it too, and keeps the value.
    load_->press({7, 2});
    load_->type(QStringLiteral("6"));
    ASSERT_NE(load_->view().editor(), nullptr);
    summary_->view().activateWindow();
    EXPECT_TRUE(wait_until([this] { return load_->view().editor() == nullptr; }));
    EXPECT_DOUBLE_EQ(settlement(1, 6), 6.0);
}

TEST_F(GridEditTest, TypingALoadChangesTheGradesLoadEverywhere) {
    load_->press({0, 2});
    load_->type(QStringLiteral("650"));
    load_->key(Qt::Key_Return);
    for (const SamplePoint& point : doc_.record().grades.grade(1)->points()) {
        EXPECT_EQ(point.load, 650);
    }
    EXPECT_EQ(shown(*load_, {0, 2}), QStringLiteral("650"));
    EXPECT_EQ(shown(*summary_, {2, 1}), QStringLiteral("650"));
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(GridEditTest, TypingBelowTheLastReadingAppendsReadingsUpToThatRow) {
    ASSERT_EQ(readings(1), 9);
    load_->press({12, 2});
    load_->type(QStringLiteral("1.5"));
    load_->key(Qt::Key_Return);
    ASSERT_EQ(readings(1), 12);
    for (int r = 9; r < 12; ++r) EXPECT_DOUBLE_EQ(settlement(1, r), 1.5);
    const auto* grade = doc_.record().grades.grade(1);
    const IntervalTable& intervals = doc_.record().test_params.load_intervals;
    EXPECT_EQ(grade->get(11)->minutes, grade->get(10)->minutes + intervals[11]);
    for (int row = 10; row <= 12; ++row) {
        EXPECT_EQ(shown(*load_, {row, 2}), QStringLiteral("1.50"));
    }
    EXPECT_EQ(load_->table().effective_background(12, 2), kLoadingBackground);
    // 0 below the readings appends nothing.
    load_->press({20, 2});
    load_->type(QStringLiteral("0"));
    load_->key(Qt::Key_Return);
    EXPECT_EQ(readings(1), 12);
}

TEST_F(GridEditTest, ATimeBeyondItsNeighboursOrATooLargeValueIsRefusedAndChangesNothing) {
    const IntervalTable before = doc_.record().test_params.load_intervals;
    const QString row4 = QString::fromStdString(load_->table().cell_text(4, 0));
    const QString row11 = QString::fromStdString(load_->table().cell_text(11, 0));
    struct Case {
        CellId cell;
        QString typed;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{5, 0}, row4, kTimeBetweenNeighbours},
        {{12, 0}, row11, kTimeAfterPrevious},
        {{4, 2}, QStringLiteral("99999999999"), kValueOutOfRange},
    };
    for (const Case& c : cases) {
        ui_.clear_log();
        const QString was = shown(*load_, c.cell);
        load_->press(c.cell);
        load_->type(c.typed);
        load_->key(Qt::Key_Return);
        ASSERT_EQ(ui_.shown().size(), 1u) << c.message;
        EXPECT_EQ(ui_.shown()[0].text, c.message);
        EXPECT_EQ(ui_.shown()[0].caption, kCaptionError);
        EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
        EXPECT_EQ(ui_.beeps(), 1);
        EXPECT_EQ(shown(*load_, c.cell), was);
    }
    EXPECT_EQ(doc_.record().test_params.load_intervals, before);
    EXPECT_FALSE(doc_.is_modified());

    // A time between its neighbours moves that row alone.
    const QString row6 = shown(*load_, {6, 0});
    const int moved = row4.toInt() + 1;
    load_->press({5, 0});
    load_->type(QString::number(moved));
    load_->key(Qt::Key_Return);
    EXPECT_EQ(shown(*load_, {5, 0}), QString::number(moved));
    EXPECT_EQ(shown(*load_, {6, 0}), row6);
    EXPECT_TRUE(doc_.is_modified());
}

TEST_F(GridEditTest, APopupOffersTheCommandsTheTargetCellAllows) {
    using Enabled = std::map<int, bool>;
    auto states = [this](CellId cell) {
        Enabled enabled;
        QStringList texts;
        load_->popup(cell, [&](QMenu* menu) {
            enabled = enabled_items(*menu);
            for (QAction* action : menu->actions()) {
                texts << (action->isSeparator() ? QStringLiteral("—") : action->text());
            }
            menu->close();
        });
        EXPECT_EQ(texts.join('|'), utf8("更改采样间隔(&C)|—|在此级之后插入一级(&G)|"
                                        "在此数据之后插入一个读数(&T)|删除本级(&D)|"
                                        "删除本次读数(&I)|—|此数和以后的所有数加上固定值(&P)|"
                                        "此数和以后的所有数乘上固定值(&R)|—|加入卸载数据(&U)"));
        return enabled;
    };
    auto only = [](std::initializer_list<int> on) {
        Enabled enabled;
        for (const TablePopupItem& item : kTablePopupMenu) {
            if (item.id != 0) enabled[item.id] = false;
        }
        for (int id : on) enabled[id] = true;
        return enabled;
    };
    EXPECT_EQ(states({5, 0}), only({kCommandChangeIntervals}));  // state 1
    EXPECT_EQ(states({0, 3}), only({kCommandChangeIntervals, kCommandInsertGrade,
                                    kCommandDeleteGrade}));  // state 2
    EXPECT_EQ(states({30, 3}), states({0, 3}));              // below the readings
    EXPECT_EQ(states({0, 1}), only({kCommandChangeIntervals, kCommandInsertGrade}));  // 3
    EXPECT_EQ(states({1, 1}), only({kCommandChangeIntervals, kCommandInsertGrade, kCommandAddValue,
                                    kCommandMultiply}));  // 4
    EXPECT_EQ(states({1, 3}), only({kCommandChangeIntervals, kCommandInsertGrade,
                                    kCommandInsertReading, kCommandDeleteGrade}));  // 5
    EXPECT_EQ(states({4, 3}),
              only({kCommandChangeIntervals, kCommandInsertGrade, kCommandInsertReading,
                    kCommandDeleteGrade, kCommandDeleteReading, kCommandAddValue,
                    kCommandMultiply}));  // 6
    // A press outside every cell: the intervals alone.
    Enabled outside;
    when_popup([&](QMenu* menu) {
        outside = enabled_items(*menu);
        menu->close();
    });
    QTest::mousePress(load_->viewport(), Qt::RightButton, {},
                      QPoint(load_->viewport()->width() - 2, load_->viewport()->height() - 2));
    if (load_->table().total_width() < load_->viewport()->width()) {
        EXPECT_EQ(outside, only({kCommandChangeIntervals}));
    }
    // The menu key opens it for the current cell.
    load_->press({4, 3});
    Enabled from_key;
    when_popup([&](QMenu* menu) {
        from_key = enabled_items(*menu);
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(load_->viewport(), &event);
    EXPECT_EQ(from_key, states({4, 3}));
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridEditTest, InsertingAndDeletingReadingsAndGradesFromThePopup) {
    const std::vector<double> channel = [this] {
        const SamplePoint point = *doc_.record().grades.get_reading(1, 2);
        return std::vector<double>(point.channel, point.channel + kChannelCount);
    }();
    choose({3, 2}, kCommandInsertReading);
    ASSERT_EQ(readings(1), 10);
    const SamplePoint copy = *doc_.record().grades.get_reading(1, 3);
    EXPECT_EQ(std::vector<double>(copy.channel, copy.channel + kChannelCount), channel);
    EXPECT_EQ(shown(*load_, {10, 2}), QString::number(settlement(1, 9), 'f', 2));
    EXPECT_TRUE(doc_.is_modified());

    // Delete: No keeps the reading, Yes removes it.
    doc_.set_modified(false);
    ui_.clear_log();
    ui_.queue_answer(MessageAnswer::kNo);
    choose({4, 2}, kCommandDeleteReading);
    EXPECT_EQ(readings(1), 10);
    EXPECT_FALSE(doc_.is_modified());
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kConfirmDeleteReading);
    EXPECT_EQ(ui_.shown()[0].caption, kCaptionWarning);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(ui_.beeps(), 1);
    ui_.queue_answer(MessageAnswer::kYes);
    choose({4, 2}, kCommandDeleteReading);
    EXPECT_EQ(readings(1), 9);
    EXPECT_TRUE(doc_.is_modified());

    // A grade inserted after grade 1 has two readings; deleting one of them
    // asks about the whole grade and removes it.
    const int grades = doc_.record().grades.grade_count();
    choose({0, 2}, kCommandInsertGrade);
    ASSERT_EQ(doc_.record().grades.grade_count(), grades + 1);
    EXPECT_EQ(readings(2), 2);
    EXPECT_EQ(shown(*load_, {0, 3}), QString::number(doc_.record().grades.first_load(2)));
    EXPECT_EQ(load_->table().column_count(), 12);
    ui_.clear_log();
    choose({2, 3}, kCommandDeleteReading);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kConfirmDeleteLastReading);
    EXPECT_EQ(doc_.record().grades.grade_count(), grades);
    load_->paint();
    EXPECT_EQ(load_->table().column_count(), 11);

    // Delete a grade, answered No.
    ui_.clear_log();
    ui_.queue_answer(MessageAnswer::kNo);
    choose({0, 4}, kCommandDeleteGrade);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kConfirmDeleteGrade);
    EXPECT_EQ(doc_.record().grades.grade_count(), grades);
    // The table keeps the focus after the menu.
    EXPECT_EQ(load_->view().focusWidget(), &load_->view());
}

TEST_F(GridEditTest, MultiplyingByMinusOneTurnsTheSignFromTheTargetOn) {
    const double earlier = settlement(3, 2);
    const double target = settlement(3, 3);
    const double later = settlement(12, 1);
    ui_.queue_number(-1);
    choose({4, 4}, kCommandMultiply);
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    EXPECT_EQ(ui_.number_requests()[0].title, kMultiplyTitle);
    EXPECT_DOUBLE_EQ(ui_.number_requests()[0].initial, -1);
    EXPECT_DOUBLE_EQ(settlement(3, 2), earlier);
    EXPECT_DOUBLE_EQ(settlement(3, 3), -target);
    EXPECT_DOUBLE_EQ(settlement(12, 1), -later);
    EXPECT_EQ(shown(*load_, {4, 4}), QString::number(-target, 'f', 2));
    // Cancelling or 1 changes nothing.
    doc_.set_modified(false);
    choose({4, 4}, kCommandMultiply);
    ui_.queue_number(1);
    choose({4, 4}, kCommandMultiply);
    EXPECT_DOUBLE_EQ(settlement(3, 3), -target);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridEditTest, InsertAndDeleteKeysWorkOnlyWhereTheMenuOffersThem) {
    const int n = readings(2);
    load_->press({4, 3});  // a reading: both keys
    load_->key(Qt::Key_Insert);
    EXPECT_EQ(readings(2), n + 1);
    ui_.queue_answer(MessageAnswer::kNo);
    load_->key(Qt::Key_Delete);
    EXPECT_EQ(readings(2), n + 1);
    load_->key(Qt::Key_Delete);  // Yes
    EXPECT_EQ(readings(2), n);

    load_->press({1, 3});  // a grade's first reading: Insert only
    ui_.clear_log();
    load_->key(Qt::Key_Delete);
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_EQ(readings(2), n);
    load_->key(Qt::Key_Insert);
    EXPECT_EQ(readings(2), n + 1);

    doc_.set_modified(false);
    const int total = doc_.record().grades.total_readings();
    for (CellId cell : {CellId{0, 3}, CellId{50, 3}, CellId{1, 1}, CellId{0, 1}, CellId{6, 0}}) {
        load_->press(cell);
        load_->key(Qt::Key_Insert);
        load_->key(Qt::Key_Delete);
    }
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_EQ(doc_.record().grades.total_readings(), total);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridEditTest, AddingUnloadingDataIsOfferedUntilTheTestHasUnloadingGrades) {
    CTestData& grades = doc_.record().grades;
    grades.grades().resize(static_cast<std::size_t>(grades.loading_grade_count()));
    GridWindow unload(doc_, metrics_, TableKind::kUnload);
    EXPECT_EQ(unload.table().column_count(), 1);
    choose({3, 2}, kCommandAddUnloading);
    EXPECT_GT(grades.grade_count(), grades.loading_grade_count());
    unload.paint();
    EXPECT_EQ(unload.table().column_count(),
              grades.grade_count() - grades.loading_grade_count() + 1);
    bool offered = true;
    load_->popup({3, 2}, [&](QMenu* menu) {
        offered = menu_item(*menu, kCommandAddUnloading)->isEnabled();
        menu->close();
    });
    EXPECT_FALSE(offered);
}

}  // namespace
}  // namespace kvd::testing
