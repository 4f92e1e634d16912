// The workbook tab strips: tabs, hidden pages, page-change signals and the
// splitter between the table tabs and the scroll bar.

#include "app/frame/sheets_wnd.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "doc/extended_display.h"

namespace kvd::testing {
namespace {

class SheetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_extended_display(false);
        sheet_.resize(600, 300);
        for (const char* title : {"汇总表", "", "修改记录表", "锚桩汇总表"}) {
            pages_.push_back(new QLabel(QString::fromUtf8(title)));
            sheet_.add_page(pages_.back(), QString::fromUtf8(title));
        }
        sheet_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet_));
    }
    void TearDown() override { set_extended_display(false); }

    QPoint tab_centre(int index) const { return sheet_.tab_rect(index).center(); }

    CTableSheet sheet_{QColor(240, 240, 240)};
    std::vector<QWidget*> pages_;
};

TEST_F(SheetsTest, TabsTitlesAndTheFirstPage) {
    EXPECT_EQ(sheet_.page_count(), 4);
    EXPECT_EQ(sheet_.active_page(), pages_[0]);
    EXPECT_TRUE(pages_[0]->isVisible());
    EXPECT_FALSE(pages_[1]->isVisible());
    EXPECT_EQ(sheet_.page_title(1), QStringLiteral("Sheet"));
    // The page fills the sheet above the tab line.
    EXPECT_EQ(pages_[0]->geometry().top(), 0);
    EXPECT_LT(pages_[0]->geometry().bottom(), sheet_.tab_rect(0).top());
    // Tabs follow one another left to right.
    EXPECT_LT(sheet_.tab_rect(0).right(), sheet_.tab_rect(1).left() + 1);
}

TEST_F(SheetsTest, ClickingATabActivatesItsPageWithBothSignals) {
    QSignalSpy changing(&sheet_, &CSheetsWnd::page_changing);
    QSignalSpy changed(&sheet_, &CSheetsWnd::page_changed);
    QTest::mouseClick(&sheet_, Qt::LeftButton, Qt::NoModifier, tab_centre(3));
    EXPECT_EQ(sheet_.active_page(), pages_[3]);
    EXPECT_TRUE(pages_[3]->isVisible());
    EXPECT_FALSE(pages_[0]->isVisible());
    ASSERT_EQ(changing.count(), 1);
    EXPECT_EQ(changing.at(0).at(0).value<QWidget*>(), pages_[0]);
    EXPECT_EQ(changing.at(0).at(1).value<QWidget*>(), pages_[3]);
    ASSERT_EQ(changed.count(), 1);

    // The page already in front: nothing happens.
    sheet_.activate(pages_[3]);
    QTest::mouseClick(&sheet_, Qt::LeftButton, Qt::NoModifier, tab_centre(3));
    EXPECT_EQ(changing.count(), 1);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(SheetsTest, ModificationRecordsHaveNoTabWithoutTheExtendedDisplay) {
    EXPECT_TRUE(sheet_.page_hidden(2));
    EXPECT_TRUE(sheet_.tab_rect(2).isEmpty());
    // Where its tab would be lies the next one.
    EXPECT_EQ(sheet_.tab_rect(3).left(), sheet_.tab_rect(1).right() + 1);
    sheet_.activate(pages_[2]);
    EXPECT_EQ(sheet_.active_page(), pages_[0]);
    sheet_.activate_next(true);
    sheet_.activate_next(true);
    EXPECT_EQ(sheet_.active_page(), pages_[3]);  // skipped the hidden page

    set_extended_display(true);
    EXPECT_FALSE(sheet_.page_hidden(2));
    QTest::mouseClick(&sheet_, Qt::LeftButton, Qt::NoModifier, tab_centre(2));
    EXPECT_EQ(sheet_.active_page(), pages_[2]);

    // A page hidden by its owner has no tab either.
    sheet_.set_page_hidden(1, true);
    EXPECT_EQ(sheet_.tab_at(tab_centre(0) + QPoint(sheet_.tab_rect(0).width(), 0)), 2);
}

TEST_F(SheetsTest, TheSplitterSetsTheScrollBarsShareWithinLimits) {
    EXPECT_DOUBLE_EQ(sheet_.bar_share(), 0.2);
    const QRect bar = sheet_.horizontal_bar()->geometry();
    EXPECT_NEAR(bar.width(), 600 * 0.2, 2);
    EXPECT_EQ(bar.right(), 599);

    const QPoint grip = sheet_.splitter_rect().center();
    QTest::mousePress(&sheet_, Qt::LeftButton, Qt::NoModifier, grip);
    QMouseEvent drag(QEvent::MouseMove, QPointF(300, grip.y()),
                     sheet_.mapToGlobal(QPointF(300, grip.y())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&sheet_, &drag);
    QTest::mouseRelease(&sheet_, Qt::LeftButton, Qt::NoModifier, QPoint(300, grip.y()));
    EXPECT_NEAR(sheet_.bar_share(), 0.5, 0.01);
    EXPECT_NEAR(sheet_.horizontal_bar()->width(), 300, 2);

    // Dragged to the far left the tabs keep room; to the right, the bar.
    sheet_.set_bar_share(1.0);
    EXPECT_LT(sheet_.bar_share(), 1.0);
    sheet_.set_bar_share(0.0);
    EXPECT_GT(sheet_.horizontal_bar()->width(), 20);
}

TEST_F(SheetsTest, TabsScrollToBringTheActivePageIntoView) {
    sheet_.resize(160, 300);
    sheet_.set_bar_share(0.1);
    set_extended_display(true);
    sheet_.activate(pages_[3]);
    const QRect tab = sheet_.tab_rect(3);
    EXPECT_GT(sheet_.tab_offset(), 0);
    EXPECT_LE(tab.right(), sheet_.splitter_rect().left());
    sheet_.activate(pages_[0]);
    EXPECT_EQ(sheet_.tab_offset(), 0);
}

}  // namespace
}  // namespace kvd::testing
