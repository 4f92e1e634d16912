// The table windows over the demo test: what each table shows (headers and
// body, read back from the painting), that every text fits its cell, the
// tables side by side in the table sheet with its shared scroll bar, moving
// the current cell with the keyboard, and the raw record table's row press.

#include "app/tables/grid_view.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStringList>
#include <string>
#include <vector>

#include "app/frame/sheets_wnd.h"
#include "doc/extended_display.h"
#include "doc/scripted_user_interface.h"
#include "grid_window.h"
#include "qt/qt_font_metrics.h"
#include "tables/source_table.h"
#include "tables/test_table.h"

namespace kvd::testing {
namespace {

class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc_.open(demo_path())); }
    void TearDown() override {
        EXPECT_EQ(watchdog_.closed(), 0) << "a popup or dialog was left open";
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    QtFontMetrics metrics_;
    ModalWatchdog watchdog_;
};

// The header band of a window: the fixed rows across the client width.
QRect header_band(GridWindow& window) {
    return {0, 0, window.viewport()->width(), window.table().header_height()};
}

// A cell's text as a single line (the body cells are single-line).
QString shown_text(const CMyGrid& table, int row, int column) {
    QString text = QString::fromStdString(table.cell_text(row, column)).trimmed();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Every body cell that lies wholly in the window shows its whole text, on
// one line, inside its rectangle: nothing cut short, nothing running over.
void expect_body_texts_fit(GridWindow& window, const TextRecorder& shown) {
    const CMyGrid& table = window.table();
    const QRect client = window.viewport()->rect();
    int checked = 0;
    for (int row = table.fixed_row_count(); row < table.row_count(); ++row) {
        for (int column = 0; column < table.column_count(); ++column) {
            const QRect rect = window.rect_of({row, column});
            if (rect.isEmpty() || !client.contains(rect) || rect.top() < table.header_height()) {
                continue;
            }
            const QString expected = shown_text(table, row, column);
            if (expected.isEmpty()) continue;
            const auto runs = shown.runs_in(rect);
            ASSERT_EQ(runs.size(), 1u) << table.table_name() << " cell " << row << "," << column;
            EXPECT_EQ(runs[0].text.trimmed(), expected)
                << table.table_name() << " cell " << row << "," << column;
            const QRectF box = runs[0].box();
            EXPECT_GE(box.left(), rect.left()) << table.table_name() << " " << row << "," << column;
            EXPECT_LE(box.right(), rect.right() + 1.0)
                << table.table_name() << " " << row << "," << column;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10) << table.table_name();
}

// Every line of the header captions is shown inside the columns its caption
// covers and inside the header band.
void expect_captions_fit(GridWindow& window, const TextRecorder& shown) {
    const CMyGrid& table = window.table();
    int checked = 0;
    for (const HeaderCaption& caption : table.header_captions()) {
        const QRect first = window.rect_of({0, caption.first_column});
        const QRect last = window.rect_of({0, caption.last_column});
        const QRect rect(first.left(), 0, last.right() - first.left() + 1, table.header_height());
        if (!window.viewport()->rect().contains(rect)) continue;
        const QStringList lines =
            QString::fromStdString(caption.text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            bool found = false;
            for (const auto& run : shown.runs_in(rect)) {
                if (run.text.trimmed() != line) continue;
                found = true;
                EXPECT_TRUE(QRectF(rect).adjusted(0, 0, 1, 1).contains(run.box()))
                    << table.table_name() << ": \"" << line.toStdString()
                    << "\" runs out of its caption";
            }
            EXPECT_TRUE(found) << table.table_name() << ": \"" << line.toStdString()
                               << "\" not shown";
            ++checked;
        }
    }
    EXPECT_GT(checked, 3) << table.table_name();
}

// No two texts overlap and no text is crossed by a grid line (the corner's
// diagonal aside).
void expect_nothing_overlaps(const CMyGrid& table, const TextRecorder& shown) {
    const auto& runs = shown.runs();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        // The glyphs' ink lies inside the box less a pixel of leading.
        const QRectF ink = runs[i].box().adjusted(0.5, 1, -0.5, -1);
        for (std::size_t j = i + 1; j < runs.size(); ++j) {
            EXPECT_FALSE(ink.intersects(runs[j].box().adjusted(0.5, 1, -0.5, -1)))
                << table.table_name() << ": \"" << runs[i].text.toStdString() << "\" and \""
                << runs[j].text.toStdString() << "\" overlap";
        }
        for (const QLineF& line : shown.lines()) {
            const bool level = line.y1() == line.y2();
            const bool upright = line.x1() == line.x2();
            if (!level && !upright) continue;
            const QRectF span =
                QRectF(line.p1(), line.p2()).normalized().adjusted(-0.1, -0.1, 0.1, 0.1);
            EXPECT_FALSE(ink.intersects(span)) << table.table_name() << ": a line crosses \""
                                               << runs[i].text.toStdString() << "\"";
        }
    }
}

struct TableLook {
    TableKind kind;
    const char* picture;
    int rows;
    int columns;
    std::vector<const char*> header;  // lines the header band shows
    CellId sample;                    // a body cell and what it shows
    const char* sample_text;
};

TEST_F(GridViewTest, EveryTableShowsItsHeadersAndReadingsAndEveryTextFitsItsCell) {
    const std::vector<TableLook> looks = {
        {TableKind::kSummary,
         "grid_summary.png",
         16,
         6,
         {"序号", "荷 载", "(kN)", "历  时 (min)", "沉  降 (mm)", "本 级", "累 计"},
         {2, 1},
         "600"},
        {TableKind::kLoad,
         "grid_load.png",
         101,
         11,
         {"荷载", "(kN)", "时间", "(min)", "0", "600", "1500", "3000"},
         {2, 2},
         "1.44"},
        {TableKind::kUnload,
         "grid_unload.png",
         101,
         6,
         {"荷载", "(kN)", "时间", "(min)", "2400", "1800", "1200", "600", "0"},
         {2, 0},
         "15"},
        {TableKind::kRaw,
         "grid_raw.png",
         124,
         13,
         {"本级", "荷载", "实测", "油压", "(MPa)", "时:分", "间隔", "1(mm)", "6(mm)", "平均",
          "沉降", "备注"},
         {3, 0},
         "600"},
        {TableKind::kChanges,
         "grid_changes.png",
         8,
         12,
         {"本级", "荷载", "记录", "时间", "位移", "通道", "1(mm)", "平均"},
         {2, 0},
         "修改时的记录"},
        {TableKind::kAnchor,
         "grid_anchor.png",
         16,
         5,
         {"锚桩编号", "试桩荷载", "(kN)", "本级", "累计", "(mm)"},
         {2, 0},
         "600"},
    };
    for (const TableLook& look : looks) {
        GridWindow window(doc_, metrics_, look.kind, {1400, 420});
        const CMyGrid& table = window.table();
        SCOPED_TRACE(table.table_name());
        const auto shown = window.paint();
        EXPECT_EQ(table.row_count(), look.rows);
        EXPECT_EQ(table.column_count(), look.columns);
        EXPECT_EQ(table.header_height(), 3 * table.default_row_height() - 2);
        QStringList header;
        for (const auto& run : shown->runs_in(header_band(window))) header << run.text.trimmed();
        for (const char* line : look.header) {
            EXPECT_TRUE(header.contains(QString::fromUtf8(line)))
                << "header lacks \"" << line << "\": " << header.join('|').toStdString();
        }
        EXPECT_EQ(shown->text_in(window.rect_of(look.sample)), QString::fromUtf8(look.sample_text));
        expect_body_texts_fit(window, *shown);
        expect_captions_fit(window, *shown);
        expect_nothing_overlaps(table, *shown);
        keep_picture(&window.view(), look.picture);
    }
}

TEST_F(GridViewTest, DetailTablesGreyTheEmptyRowsAndShowTheModifiedReadings) {
    GridWindow load(doc_, metrics_, TableKind::kLoad);
    const CMyGrid& table = load.table();
    // Grade 1 (column 2) holds 9 readings: rows 1 ... 9 filled, row 10 grey and empty.
    EXPECT_EQ(table.effective_background(9, 2), kLoadingBackground);
    EXPECT_EQ(table.effective_background(10, 2), kEmptyCellColour);
    EXPECT_TRUE(load.paint()->text_in(load.rect_of({10, 2})).isEmpty());
    // Row 1 repeats the previous grade's last reading: grey text but in the first grade.
    EXPECT_EQ(table.effective_text_colour(1, 2), kDisabledText);
    EXPECT_EQ(table.effective_text_colour(1, 1), kLoadingText);

    GridWindow unload(doc_, metrics_, TableKind::kUnload);
    EXPECT_EQ(unload.table().effective_text_colour(2, 1), kUnloadingText);
    EXPECT_EQ(unload.table().effective_background(2, 1), kUnloadingBackground);
}

TEST_F(GridViewTest, TheCornerCaptionsTurnBoldWhileTheCurrentCellIsInTheLoadRowOrTimeColumn) {
    GridWindow window(doc_, metrics_, TableKind::kLoad);
    const QRect corner = window.rect_of({0, 0});
    auto corner_weights = [&] {
        std::vector<int> weights;
        for (const auto& run : window.paint()->runs_in(corner)) {
            weights.push_back(run.font.weight());
        }
        return weights;
    };
    window.press({3, 2});
    for (int weight : corner_weights()) EXPECT_LT(weight, QFont::DemiBold);
    window.press({3, 0});
    const std::vector<int> bold = corner_weights();
    ASSERT_EQ(bold.size(), 4u);  // "荷载" "(kN)" "时间" "(min)"
    for (int weight : bold) EXPECT_GE(weight, QFont::DemiBold);
    window.press({0, 3});
    for (int weight : corner_weights()) EXPECT_GE(weight, QFont::DemiBold);
}

TEST_F(GridViewTest, TheTablesShareTheSheetsScrollBarAndEachScrollsWithIt) {
    // The modification record table has its tab only with the extended display.
    struct ExtendedDisplayOn {
        ExtendedDisplayOn() : was(extended_display()) { set_extended_display(true); }
        ~ExtendedDisplayOn() { set_extended_display(was); }
        bool was;
    } extended;
    CTableSheet sheet(QColor(Qt::lightGray));
    std::vector<std::unique_ptr<CMyGrid>> tables;
    std::vector<GridView*> views;
    for (const TableName& name : table_names()) {
        tables.push_back(make_table(name.kind, doc_, metrics_));
        auto* view = new GridView(*tables.back(), &sheet);
        sheet.add_page(view, QString::fromStdString(tables.back()->table_name()));
        views.push_back(view);
    }
    // As the main window wires it: the page shown takes the bar.
    QObject::connect(&sheet, &CSheetsWnd::page_changed, [&sheet](QWidget* page) {
        if (auto* grid = qobject_cast<GridView*>(page)) {
            grid->set_horizontal_bar(sheet.horizontal_bar());
            grid->on_document_update(hint::kRefresh);
        }
    });
    views.front()->set_horizontal_bar(sheet.horizontal_bar());
    sheet.resize(420, 300);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));

    for (std::size_t i = 0; i < views.size(); ++i) {
        GridView* view = views[i];
        CMyGrid& table = *tables[i];
        SCOPED_TRACE(table.table_name());
        sheet.activate(view);
        ASSERT_EQ(sheet.active_page(), view);
        view->grab();
        QCoreApplication::processEvents();
        QScrollBar* bar = sheet.horizontal_bar();
        EXPECT_EQ(bar->maximum(), table.horizontal_scroll_range());
        EXPECT_EQ(view->verticalScrollBar()->maximum(), table.vertical_scroll_range());
        if (bar->maximum() == 0) continue;
        // The bar scrolls the body; the fixed columns stay.
        bar->setValue(bar->maximum());
        EXPECT_EQ(table.scroll_x(), bar->maximum());
        const int last = table.column_count() - 1;
        const QRect last_rect = drawn_cell_rect(table, 1, last);
        EXPECT_LE(last_rect.right(), view->viewport()->width());
        if (table.fixed_column_count() > 0) {
            EXPECT_EQ(drawn_cell_rect(table, 1, 0).left(), 0);
        }
        bar->setValue(0);
        EXPECT_EQ(table.scroll_x(), 0);
    }
    sheet.activate(views[1]);
    keep_picture(&sheet, "grid_sheet.png");
}

TEST_F(GridViewTest, ArrowsHomeEndAndPageKeysMoveTheCurrentCellAndNeverLeaveTheGrid) {
    GridWindow window(doc_, metrics_, TableKind::kLoad, {600, 300});
    const CMyGrid& table = window.table();
    const int last_row = table.row_count() - 1;
    const int last_column = table.column_count() - 1;
    ASSERT_FALSE(window.current().valid());
    // With no current cell the first key picks the first body cell.
    window.key(Qt::Key_Down);
    EXPECT_EQ(window.current(), (CellId{1, 1}));
    window.key(Qt::Key_Down);
    EXPECT_EQ(window.current(), (CellId{2, 1}));
    window.key(Qt::Key_Right);
    EXPECT_EQ(window.current(), (CellId{2, 2}));
    // Tab and Shift+Tab move along the row and keep the focus in the table.
    window.key(Qt::Key_Tab);
    EXPECT_EQ(window.current(), (CellId{2, 3}));
    window.key(Qt::Key_Backtab, Qt::ShiftModifier);
    window.key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window.current(), (CellId{2, 1}));
    window.key(Qt::Key_Tab);
    EXPECT_EQ(window.current(), (CellId{2, 2}));
    EXPECT_EQ(window.view().focusWidget(), &window.view());
    // The load row and the time column are cells too (their loads and times
    // are edited), but nothing lies beyond them.
    for (int i = 0; i < 4; ++i) window.key(Qt::Key_Up);
    EXPECT_EQ(window.current(), (CellId{0, 2}));
    for (int i = 0; i < 4; ++i) window.key(Qt::Key_Left);
    EXPECT_EQ(window.current(), (CellId{0, 0}));
    window.key(Qt::Key_End);
    EXPECT_EQ(window.current(), (CellId{0, last_column}));
    window.key(Qt::Key_Right);
    EXPECT_EQ(window.current(), (CellId{0, last_column}));
    window.key(Qt::Key_Home);
    EXPECT_EQ(window.current(), (CellId{0, 1}));

    // A page is the rows the window shows.
    window.key(Qt::Key_Down);
    const int page = (table.client_height() - table.header_height()) / table.default_row_height();
    window.key(Qt::Key_PageDown);
    EXPECT_EQ(window.current(), (CellId{1 + page, 1}));
    for (int i = 0; i < 20; ++i) window.key(Qt::Key_PageDown);
    EXPECT_EQ(window.current(), (CellId{last_row, 1}));
    window.key(Qt::Key_Down);
    EXPECT_EQ(window.current(), (CellId{last_row, 1}));
    // The current cell is scrolled into view.
    EXPECT_LE(window.rect_of(window.current()).bottom(), table.client_height());
    EXPECT_EQ(window.view().verticalScrollBar()->value(), table.scroll_y());
    for (int i = 0; i < 20; ++i) window.key(Qt::Key_PageUp);
    EXPECT_EQ(window.current(), (CellId{1, 1}));  // page moves stay in the body
    EXPECT_EQ(table.scroll_y(), 0);

    window.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window.current(), (CellId{last_row, last_column}));
    const QRect corner = window.rect_of(window.current());
    EXPECT_LE(corner.right(), table.client_width());
    EXPECT_GE(corner.left(), table.header_width());
    window.key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window.current(), (CellId{1, 1}));
    EXPECT_EQ(table.scroll_x(), 0);
    EXPECT_EQ(table.scroll_y(), 0);
}

TEST_F(GridViewTest, KeysOnTablesWithoutBodyColumnsOrFixedColumnsStayInside) {
    // A test without unloading grades: the unload table is its time column alone.
    doc_.record().grades.grades().resize(
        static_cast<std::size_t>(doc_.record().grades.loading_grade_count()));
    GridWindow unload(doc_, metrics_, TableKind::kUnload, {400, 300});
    ASSERT_EQ(unload.table().column_count(), 1);
    for (int key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Tab,
                    Qt::Key_Left, Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Up}) {
        unload.key(key);
        const CellId cell = unload.current();
        EXPECT_TRUE(cell.valid());
        EXPECT_EQ(cell.column, 0);
        EXPECT_LT(cell.row, unload.table().row_count());
    }
    unload.paint();

    GridWindow summary(doc_, metrics_, TableKind::kSummary, {400, 300});
    summary.key(Qt::Key_Down);
    EXPECT_EQ(summary.current(), (CellId{1, 0}));
    summary.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(summary.current(), (CellId{summary.table().row_count() - 1, 5}));
    // A read-only table starts no edit, by key or by mouse.
    summary.type(QStringLiteral("5"));
    summary.double_click({2, 1});
    EXPECT_EQ(summary.view().editor(), nullptr);
    EXPECT_FALSE(doc_.is_modified());
}

TEST_F(GridViewTest, AnEmptyTableShowsNothingButWhyItIsEmpty) {
    // A test without unloading grades and without anchor channels.
    CTestData& grades = doc_.record().grades;
    grades.grades().resize(static_cast<std::size_t>(grades.loading_grade_count()));
    for (ChannelRole& role : doc_.record().test_params.channel_role) {
        if (role == ChannelRole::kAnchorPile) role = ChannelRole::kUnused;
    }
    struct Case {
        TableKind kind;
        const char* says;
    };
    for (const Case c : {Case{TableKind::kUnload, "本试验没有卸载数据"},
                         Case{TableKind::kAnchor, "本试验没有锚桩测试通道"}}) {
        GridWindow window(doc_, metrics_, c.kind, {500, 300});
        const auto shown = window.paint();
        const int header = window.table().header_height();
        QStringList body;
        for (const auto& run : shown->runs()) {
            if (run.box().center().y() > header) body << run.text.trimmed();
        }
        // Below the header: the reason alone, no times or loads of nothing.
        EXPECT_EQ(body, QStringList{QString::fromUtf8(c.says)}) << c.says;
    }
    // A table with rows says nothing of the kind.
    GridWindow load(doc_, metrics_, TableKind::kLoad, {500, 300});
    const auto load_shown = load.paint();
    for (const auto& run : load_shown->runs()) {
        EXPECT_FALSE(run.text.contains(QStringLiteral("本试验没有"))) << run.text.toStdString();
    }
}

TEST_F(GridViewTest, PressingARawRecordRowAppliesTheSnapshotOfItsReading) {
    GridWindow raw(doc_, metrics_, TableKind::kRaw, {900, 400});
    GridWindow load(doc_, metrics_, TableKind::kLoad);
    TestHeader& header = doc_.record().header;
    const std::int32_t late = header.longest_pressurising_time;
    ASSERT_NE(late, 300);  // the operator lengthened it half-way up the test
    // Row 3 is a reading of grade 1, taken while 300 s was the limit.
    raw.press({3, 4});
    EXPECT_EQ(raw.current(), (CellId{3, 4}));
    EXPECT_EQ(header.longest_pressurising_time, 300);
    EXPECT_TRUE(doc_.is_modified());
    ASSERT_FALSE(load.hints.empty());
    EXPECT_EQ(load.hints.back(), hint::kFileLoaded);
    // The last row: the later snapshot. A press on the merged load column
    // counts for the row under the mouse.
    raw.key(Qt::Key_End, Qt::ControlModifier);
    const int last = raw.table().row_count() - 1;
    raw.key(Qt::Key_Home);
    EXPECT_EQ(raw.table().scroll_x(), 0);
    raw.press({last, 0});
    EXPECT_EQ(header.longest_pressurising_time, late);
    // The title row applies nothing, nor does the right button.
    header.longest_pressurising_time = 1;
    raw.press({0, 3});
    raw.press({last, 3}, Qt::RightButton);
    EXPECT_EQ(header.longest_pressurising_time, 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    keep_picture(&raw.view(), "grid_raw_scrolled.png");
}

TEST_F(GridViewTest, ARawRecordRowPressOfAFileWithoutSnapshotsOnlyMovesTheCurrentCell) {
    doc_.record().opened_kind = FileKind::kAnalysis;
    GridWindow raw(doc_, metrics_, TableKind::kRaw);
    TestHeader& header = doc_.record().header;
    const std::int32_t before = header.longest_pressurising_time;
    raw.press({3, 2});
    EXPECT_EQ(raw.current(), (CellId{3, 2}));
    EXPECT_EQ(header.longest_pressurising_time, before);
    EXPECT_FALSE(doc_.is_modified());
}

}  // namespace
}  // namespace kvd::testing
