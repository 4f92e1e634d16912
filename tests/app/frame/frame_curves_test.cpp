// The curves inside the main window: dragging a point of each curve with the
// mouse and the tables following on screen, the context menu on a point, the
// curve commands of the toolbar, the axes dialog refusing a value (scripted,
// and the real dialog with its message box), and adding and clearing marks.

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "app/curves/coord_dialog.h"
#include "app/curves/curve_view.h"
#include "app/curves/marked_dialog.h"
#include "app/frame/frame_commands.h"
#include "app/frame/sheets_wnd.h"
#include "app/tables/grid_painter.h"
#include "app/tables/grid_view.h"
#include "base/format.h"
#include "curves/curve_commands.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "frame_test_support.h"

namespace kvd::testing {
namespace {

namespace cc = curve_command;

// Paint events of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

// The part of a widget its paint events have covered.
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
    QRegion region;
};

std::string fixed2(double value) {
    return strprintf("%.2f", value);
}

// The text of the first cell of a table's change range for a reading.
std::string changed_cell(CMyGrid& table, int grade, int reading) {
    table.fill();
    const std::optional<CellRange> range = table.change_range(grade, reading);
    if (!range) return "(no range)";
    return QString::fromStdString(table.cell_text(range->top_row, range->left_column))
        .trimmed()
        .toStdString();
}

class FrameCurvesTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame(false, true, QSize(1600, 1000));
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    }

    CurveView* show(CurveKind kind) {
        frame().show_curve(kind);
        CurveView* view = frame().curve_view(kind);
        view->grab();  // a paint: the curve's points of this size
        return view;
    }

    // The mouse over a pixel of the curve, without a button.
    static void hover(CurveView* view, QPoint at) {
        send_mouse(view->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    }
    // Press on `from`, move in steps to `to` with the button held, release.
    static void drag(CurveView* view, QPoint from, QPoint to) {
        QWidget* port = view->viewport();
        hover(view, from);
        send_mouse(port, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4; ++step) {
            send_mouse(port, QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton,
                       Qt::LeftButton);
        }
        send_mouse(port, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    // The table in front is repainted after a change, and shows the value.
    void expect_summary_follows(int grade) {
        GridView* summary = frame().grid_view(TableKind::kSummary);
        EXPECT_EQ(cell(summary->table(), grade + 1, 5),
                  fixed2(doc().record().grades.last_settlement(grade)));
    }

    QAction* tools_item(int command) {
        QMenu* menu = frame().tools_menu();
        if (!menu) return nullptr;
        emit menu->aboutToShow();
        for (QAction* item : menu->actions()) {
            if (item->data().toInt() == command) return item;
        }
        return nullptr;
    }
};

TEST_F(FrameCurvesTest, DraggingAGradeOnTheQsCurveMovesItAndTheTablesFollow) {
    frame().show_table(TableKind::kSummary);
    PaintCounter summary_paints(frame().grid_view(TableKind::kSummary)->viewport());
    CurveView* view = show(CurveKind::kQs);
    auto& qs = static_cast<CQ_s&>(view->curve());
    constexpr int kGrade = 4;
    ASSERT_GT(qs.points().size(), static_cast<std::size_t>(kGrade));
    const double before = doc().record().grades.last_settlement(kGrade);
    const QPoint at = view->to_pixel(qs.points()[kGrade].at);

    // Hovering arms the capture and shows the vertical arrows.
    hover(view, at);
    EXPECT_TRUE(qs.capture_armed());
    EXPECT_EQ(qs.captured_grade(), kGrade);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_FALSE(frame().value_pane()->text().isEmpty());
    // Moving off the point without a button lets go of it.
    hover(view, at + QPoint(40, -40));
    EXPECT_FALSE(qs.capture_armed());
    EXPECT_NE(view->viewport()->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_FALSE(doc().is_modified());

    summary_paints.paints = 0;
    const QPoint to = at + QPoint(0, 40);
    drag(view, at, to);
    const double after = doc().record().grades.last_settlement(kGrade);
    EXPECT_TRUE(doc().is_modified());
    EXPECT_GT(after, before);  // down the screen is more settlement
    EXPECT_EQ(after, std::round(after * 100) / 100);

    // The point is drawn where the mouse let go of it.
    view->grab();
    EXPECT_NEAR(view->to_pixel(qs.points()[kGrade].at).y(), to.y(), 2);
    EXPECT_EQ(qs.points()[kGrade].settlement, after);
    // The summary in front repaints and shows the value; the load table
    // shows it once brought forward.
    EXPECT_TRUE(wait_until([&] { return summary_paints.paints > 0; }));
    expect_summary_follows(kGrade);
    ASSERT_TRUE(frame().show_table(TableKind::kLoad));
    const int last = doc().record().grades.reading_count(kGrade) - 1;
    EXPECT_EQ(changed_cell(frame().active_grid_view()->table(), kGrade, last), fixed2(after));
}

TEST_F(FrameCurvesTest, DraggingAReadingOnTheSlgtCurveMovesOnlyThatReading) {
    CurveView* view = show(CurveKind::kSlgt);
    auto& slgt = static_cast<Cs_lgt&>(view->curve());
    ASSERT_GE(slgt.rows().size(), 4u);

    // A reading that the hit test finds as itself (neighbours may overlap).
    int grade = -1;
    int reading = -1;
    QPoint at;
    for (const Cs_lgt::GradeRow& row : slgt.rows()) {
        for (int i = static_cast<int>(row.readings.size()) - 2; i >= 2 && grade < 0; --i) {
            if (!row.readings[static_cast<std::size_t>(i)].plotted) continue;
            const QPoint pixel = view->to_pixel(row.readings[static_cast<std::size_t>(i)].at);
            hover(view, QPoint(1, 1));
            hover(view, pixel);
            if (slgt.capture_armed() && slgt.captured_grade() == row.grade &&
                slgt.captured_reading() == i) {
                grade = row.grade;
                reading = i;
                at = pixel;
            }
        }
        if (grade >= 3) break;
        grade = -1;
    }
    ASSERT_GE(grade, 0) << "no reading on its own";
    const CTestData& grades = doc().record().grades;
    const double before = grades.get_reading(grade, reading)->settlement;
    const double neighbour = grades.get_reading(grade, reading + 1)->settlement;

    frame().show_table(TableKind::kLoad);
    PaintCounter load_paints(frame().grid_view(TableKind::kLoad)->viewport());
    view->grab();
    drag(view, at, at + QPoint(0, -25));
    const double after = grades.get_reading(grade, reading)->settlement;
    EXPECT_LT(after, before);
    EXPECT_EQ(grades.get_reading(grade, reading + 1)->settlement, neighbour);
    EXPECT_TRUE(doc().is_modified());
    EXPECT_TRUE(wait_until([&] { return load_paints.paints > 0; }));
    EXPECT_EQ(changed_cell(frame().active_grid_view()->table(), grade, reading), fixed2(after));
}

TEST_F(FrameCurvesTest, DraggingAGradeOnTheSlgQCurveMovesTheGrade) {
    CurveView* view = show(CurveKind::kSlgQ);
    auto& slgq = static_cast<Cs_lgQ&>(view->curve());
    ASSERT_GE(slgq.points().size(), 6u);
    const Cs_lgQ::GradePoint point = slgq.points()[5];
    const QPoint at = view->to_pixel(point.at);
    hover(view, at);
    ASSERT_TRUE(slgq.capture_armed());
    EXPECT_EQ(slgq.captured_grade(), point.grade);

    const double before = doc().record().grades.last_settlement(point.grade);
    drag(view, at, at + QPoint(0, 30));
    const double after = doc().record().grades.last_settlement(point.grade);
    EXPECT_GT(after, before);
    view->grab();
    EXPECT_NEAR(view->to_pixel(slgq.points()[5].at).y(), at.y() + 30, 2);
    expect_summary_follows(point.grade);

    // The same grade on the Q-s curve has moved with it.
    auto& qs = static_cast<CQ_s&>(show(CurveKind::kQs)->curve());
    EXPECT_EQ(qs.points()[static_cast<std::size_t>(point.grade)].settlement, after);
}

TEST_F(FrameCurvesTest, TheContextMenuOfAPointMovesItToATypedValue) {
    CurveView* view = show(CurveKind::kQs);
    auto& qs = static_cast<CQ_s&>(view->curve());
    constexpr int kGrade = 6;
    const QPoint at = view->to_pixel(qs.points()[kGrade].at);
    hover(view, at);
    ASSERT_TRUE(qs.capture_armed());

    std::map<int, bool> enabled;
    when_popup([&enabled](QMenu* menu) {
        QAction* move_to = nullptr;
        for (QAction* item : menu->actions()) {
            enabled[item->data().toInt()] = item->isEnabled();
            if (item->data().toInt() == cc::kMoveTo) move_to = item;
        }
        menu->setActiveAction(move_to);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    ui_.queue_number(12.345);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);

    EXPECT_TRUE(enabled[cc::kMoveTo]);
    EXPECT_TRUE(enabled[cc::kDeleteGrade]);
    EXPECT_TRUE(enabled[cc::kChangeLoad]);
    EXPECT_FALSE(enabled[cc::kDeleteReading]);  // s-lgt only
    ASSERT_EQ(ui_.number_requests().size(), 1u);
    EXPECT_EQ(ui_.number_requests()[0].title, "移动锁定点到新的位置");
    EXPECT_EQ(doc().record().grades.last_settlement(kGrade), 12.35);
    EXPECT_FALSE(qs.capture_armed());
    EXPECT_FALSE(qs.menu_captured());
    expect_summary_follows(kGrade);
}

TEST_F(FrameCurvesTest, ToolbarCurveCommandsChangeTheWholeTest) {
    show(CurveKind::kQs);
    const CTestData& grades = doc().record().grades;
    const double first = grades.last_settlement(0);
    const double fifth = grades.last_settlement(5);

    // Shift: Cancel changes nothing; the value offered brings grade 0 to zero.
    ui_.queue_number(std::nullopt);
    EXPECT_FALSE(frame().run_command(frame_command::kShift));
    EXPECT_FALSE(doc().is_modified());
    ui_.queue_number(0.5);
    frame().action(frame_command::kShift)->trigger();
    EXPECT_DOUBLE_EQ(grades.last_settlement(5), fifth + 0.5);
    EXPECT_EQ(ui_.number_requests().back().initial, -first);
    expect_summary_follows(5);

    // Invert twice gives the values back.
    frame().action(frame_command::kInvert)->trigger();
    EXPECT_DOUBLE_EQ(grades.last_settlement(5), -(fifth + 0.5));
    frame().action(frame_command::kInvert)->trigger();
    EXPECT_DOUBLE_EQ(grades.last_settlement(5), fifth + 0.5);
    EXPECT_TRUE(doc().is_modified());
}

TEST_F(FrameCurvesTest, TheAxesDialogRefusesAMaximumBelowTheLargestSettlement) {
    CurveView* view = show(CurveKind::kQs);
    const double largest = doc().record().grades.extremes().max_settlement;

    ScriptedUserInterface::AxesScript script;
    script.edits = {{AxesField::kYMax, 1.0}};
    script.coordinate_mode = 1;
    ui_.queue_axes(script);
    ASSERT_TRUE(frame().run_command(frame_command::kSetAxes));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "纵坐标最大值小于最大沉降量!");
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kRetryCancel);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_EQ(ui_.beeps(), 1);
    const AxesDialogState& opened = ui_.axes_requests().at(0);
    EXPECT_GE(opened.y_max, largest);
    // The refused value was put back; the rest was taken.
    const TestParams& params = doc().record().test_params;
    EXPECT_EQ(params.coordinate_mode, 1);
    EXPECT_EQ(params.y_axis_max, opened.y_max);
    EXPECT_TRUE(doc().is_modified());

    // Turning the vertical axis upwards renames the curves everywhere.
    script = {};
    script.direction_kind = 2;
    ui_.queue_axes(script);
    ASSERT_TRUE(frame().run_command(frame_command::kSetAxes));
    QStringList captions;
    for (int i = 0; i < 3; ++i) captions << frame().curve_sheet().page_title(i);
    EXPECT_EQ(captions, QStringList({"U-δ曲线", "δ-lgt曲线", "δ-lgU曲线"}));
    view->grab();
    EXPECT_TRUE(view->curve().uplift());
}

TEST_F(FrameCurvesTest, MarksAreAddedUpToTwentyAndCleared) {
    show(CurveKind::kQs);
    EXPECT_FALSE(tools_item(cc::kClearMarks)->isEnabled());
    ASSERT_TRUE(tools_item(cc::kMark)->isEnabled());

    ui_.queue_mark({MarkMode::kByLoad, 1500, 0, 0, ""});
    tools_item(cc::kMark)->trigger();
    ASSERT_EQ(doc().marks().size(), 1u);
    EXPECT_EQ(doc().marks()[0].load, 1500);
    EXPECT_EQ(doc().marks()[0].settlement, doc().record().grades.last_settlement(4));
    EXPECT_TRUE(doc().is_modified());
    EXPECT_TRUE(tools_item(cc::kClearMarks)->isEnabled());

    // A settlement the curve never reaches adds nothing.
    ui_.queue_mark({MarkMode::kBySettlement, 0, 400.0, 0, ""});
    tools_item(cc::kMark)->trigger();
    EXPECT_EQ(doc().marks().size(), 1u);

    for (int i = 1; i < 20; ++i) {
        ui_.queue_mark({MarkMode::kByLoad, 100.0 * i, 0, 0, ""});
        tools_item(cc::kMark)->trigger();
    }
    EXPECT_EQ(doc().marks().size(), 20u);
    EXPECT_FALSE(tools_item(cc::kMark)->isEnabled());

    doc().set_modified(false);
    tools_item(cc::kClearMarks)->trigger();
    EXPECT_TRUE(doc().marks().empty());
    EXPECT_TRUE(doc().is_modified());
    EXPECT_TRUE(tools_item(cc::kMark)->isEnabled());
}

TEST_F(FrameCurvesTest, ANewLoadFromTheCurveMenuIsRepaintedInTheTableInFront) {
    constexpr int kGrade = 5;
    const int old_load = doc().record().grades.grade(kGrade)->front().load;
    // Right-click grade kGrade on the Q-s curve, choose 更改荷载值 and type `load`.
    auto change_load = [this](int load) {
        CurveView* view = show(CurveKind::kQs);
        auto& qs = static_cast<CQ_s&>(view->curve());
        const QPoint at = view->to_pixel(qs.points()[kGrade].at);
        hover(view, at);
        ASSERT_TRUE(qs.capture_armed());
        when_popup([](QMenu* menu) {
            for (QAction* item : menu->actions()) {
                if (item->data().toInt() == cc::kChangeLoad) menu->setActiveAction(item);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        ui_.queue_number(load);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        ASSERT_EQ(doc().record().grades.grade(kGrade)->front().load, load);
    };

    ASSERT_TRUE(frame().show_table(TableKind::kSummary));
    GridView* summary = frame().grid_view(TableKind::kSummary);
    summary->grab();  // filled and painted once, as on screen
    PaintedRegion painted(summary->viewport());
    change_load(old_load + 100);
    // What is drawn from now on: the load cell of the grade's row must be
    // among it, with the new load.
    painted.region = QRegion();
    const QRect load_cell = drawn_cell_rect(summary->table(), kGrade + 1, 1);
    EXPECT_TRUE(wait_until([&] { return painted.region.contains(load_cell); }))
        << "the summary still shows " << old_load;
    EXPECT_EQ(summary->table().cell_text(kGrade + 1, 1), std::to_string(old_load + 100));

    // So is the load heading the grade's column in the load table.
    ASSERT_TRUE(frame().show_table(TableKind::kLoad));
    GridView* load_table = frame().grid_view(TableKind::kLoad);
    load_table->grab();
    PaintedRegion load_painted(load_table->viewport());
    change_load(old_load + 200);
    load_painted.region = QRegion();
    const QRect heading = drawn_cell_rect(load_table->table(), 0, kGrade + 1);
    EXPECT_TRUE(wait_until([&] { return load_painted.region.contains(heading); }));
    EXPECT_EQ(load_table->table().cell_text(0, kGrade + 1), std::to_string(old_load + 200));
}

TEST_F(FrameCurvesTest, AMarkOffTheCurveIsRefusedWithAMessage) {
    show(CurveKind::kQs);
    const int largest = doc().record().grades.extremes().max_abs_load;
    ui_.clear_log();
    ui_.queue_mark({MarkMode::kByLoad, largest + 1000.0, 0, 0, ""});
    tools_item(cc::kMark)->trigger();
    EXPECT_TRUE(doc().marks().empty());
    EXPECT_FALSE(doc().is_modified());
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_NE(ui_.shown()[0].text.find("标记"), std::string::npos) << ui_.shown()[0].text;

    // A free mark outside the test's range is refused the same way.
    ui_.clear_log();
    ui_.queue_mark({MarkMode::kFree, largest + 1.0, 1.0, 0, ""});
    tools_item(cc::kMark)->trigger();
    EXPECT_TRUE(doc().marks().empty());
    EXPECT_EQ(ui_.shown().size(), 1u);

    // Cancel says nothing.
    ui_.clear_log();
    tools_item(cc::kMark)->trigger();
    EXPECT_TRUE(ui_.shown().empty());
}

// The real dialogs of the axes and mark commands, driven by keyboard.
class FrameCurveDialogsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        make_frame(true, true, QSize(1600, 1000));
        ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
        frame().show_curve(CurveKind::kQs);
        frame().curve_view(CurveKind::kQs)->grab();
    }

    static void type(QLineEdit* field, const QString& text) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(FrameCurveDialogsTest, TheAxesDialogPutsARefusedValueBackAfterItsMessage) {
    QString text, caption, kept, retyped;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool focus_back = false;
    const double largest = doc().record().grades.extremes().max_settlement;
    const QString wanted = QString::number(std::ceil(largest) + 10);

    when_modal<CCoordDialog>([&](CCoordDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设定坐标尺寸"));
        // Focus moves (and so the checks) need the dialog to be the active window.
        EXPECT_TRUE(activate(dialog));
        QLineEdit* y_max = dialog->field(AxesField::kYMax);
        kept = y_max->text();
        when_modal<QMessageBox>([&, dialog, y_max](QMessageBox* box) {
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Retry)->click();
            // After the box: the old value is back and the field has the focus.
            QTimer::singleShot(50, dialog, [&, dialog, y_max] {
                retyped = y_max->text();
                focus_back = dialog->focusWidget() == y_max;
                dialog->user_radio()->click();
                type(y_max, wanted);
                QTest::keyClick(y_max, Qt::Key_Return);  // OK checks the field too
            });
        });
        type(y_max, QStringLiteral("1"));
        dialog->field(AxesField::kYMin)->setFocus(Qt::TabFocusReason);
    });
    EXPECT_TRUE(frame().run_command(frame_command::kSetAxes));
    EXPECT_EQ(text, QStringLiteral("纵坐标最大值小于最大沉降量!"));
    EXPECT_EQ(caption, QStringLiteral("错误"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Retry | QMessageBox::Cancel);
    EXPECT_EQ(retyped, kept);
    EXPECT_TRUE(focus_back);
    EXPECT_EQ(doc().record().test_params.coordinate_mode, 1);
    EXPECT_EQ(doc().record().test_params.y_axis_max, wanted.toDouble());
    EXPECT_TRUE(doc().is_modified());
    CImage& curve = frame().curve_view(CurveKind::kQs)->curve();
    frame().curve_view(CurveKind::kQs)->grab();
    EXPECT_DOUBLE_EQ(curve.y_min() + curve.y_range(), wanted.toDouble());
}

TEST_F(FrameCurveDialogsTest, TheMarkDialogComputesTheSettlementOfATypedLoad) {
    QString shown;
    when_modal<CMarkedDialog>([&](CMarkedDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("标记"));
        EXPECT_TRUE(dialog->mode_radio(MarkMode::kByLoad)->isChecked());
        EXPECT_FALSE(dialog->settlement_field()->isEnabled());
        type(dialog->load_field(), QStringLiteral("1500"));
        shown = dialog->settlement_field()->text();
        QTest::keyClick(dialog->load_field(), Qt::Key_Return);
    });
    QMenu* tools = frame().tools_menu();
    ASSERT_TRUE(tools);
    emit tools->aboutToShow();
    for (QAction* item : tools->actions()) {
        if (item->data().toInt() == cc::kMark) item->trigger();
    }
    const double settlement = doc().record().grades.last_settlement(4);
    EXPECT_EQ(shown, QString::fromStdString(fixed2(settlement)));
    ASSERT_EQ(doc().marks().size(), 1u);
    EXPECT_EQ(doc().marks()[0].settlement, settlement);
}

}  // namespace
}  // namespace kvd::testing
