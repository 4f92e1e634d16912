// The page-setup and print-option pages of the options dialog: what each
// control stores, the ranges and refusals of the typed numbers, the paper
// list following the size, the locks of the curve layouts, and the page
// preview drawn from the working copies.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/options/option_dialog_parts.h"
#include "doc/paper_sizes.h"
#include "option_test_support.h"

namespace kvd::testing {
namespace {

constexpr char kMarginRange[] = "请输入一个介于 8 和 50 之间的整数。";

TEST_F(OptionDialogTest, TheCustomSixteenKaiSizeShowsAsTheListedPaper) {
    doc_.page_setup().paper_width = 1840;
    doc_.page_setup().paper_height = 2600;
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(6);
    auto* papers = control<QComboBox>(OptionPage::kPaper, 1133);
    EXPECT_EQ(papers->count(), 7);
    EXPECT_EQ(papers->currentIndex(), 2);
    EXPECT_EQ(papers->currentText(), QStringLiteral("16 开纸(有的打印机可能不支持)"));
    EXPECT_EQ(text_of(control<SpinField>(OptionPage::kPaper, 1134)), QStringLiteral("184"));
    EXPECT_EQ(text_of(control<SpinField>(OptionPage::kPaper, 1135)), QStringLiteral("260"));

    // Landscape: the size turns, the list stays on the paper, the picture lies.
    control<QRadioButton>(OptionPage::kPaper, 1057)->click();
    const PageSetup& setup = dialog.session().page_setup();
    EXPECT_EQ(setup.landscape, 1);
    EXPECT_EQ(setup.paper_width, 2600);
    EXPECT_EQ(setup.paper_height, 1840);
    EXPECT_EQ(text_of(control<SpinField>(OptionPage::kPaper, 1134)), QStringLiteral("260"));
    EXPECT_NE(dialog.page(OptionPage::kPaper)->findChild<QLabel*>(QStringLiteral("id1137")),
              nullptr);

    // Choosing B4 gives its size, turned as the page is.
    papers->setCurrentIndex(0);
    emit papers->activated(0);
    EXPECT_EQ(setup.paper_width, 3540);
    EXPECT_EQ(setup.paper_height, 2500);
}

TEST_F(OptionDialogTest, TypedPaperSizesOutOfRangeAreRefusedAndKeepTheFocus) {
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(6);
    auto* width = control<SpinField>(OptionPage::kPaper, 1134);
    auto* height = control<SpinField>(OptionPage::kPaper, 1135);
    auto* papers = control<QComboBox>(OptionPage::kPaper, 1133);
    const PageSetup& setup = dialog.session().page_setup();

    {
        MessageCatcher boxes;
        type(width, QStringLiteral("184"));
        type(height, QStringLiteral("260"));
        QTest::keyClick(height, Qt::Key_Tab);
        EXPECT_TRUE(boxes.texts().isEmpty());
    }
    EXPECT_EQ(setup.paper_width, 1840);
    EXPECT_EQ(setup.paper_height, 2600);
    EXPECT_EQ(papers->currentIndex(), kCustomPaperIndex);  // typed: the custom entry

    {
        MessageCatcher boxes;
        type(width, QStringLiteral("501"));
        QTest::keyClick(width, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(),
                  QStringList{QStringLiteral("请输入一个介于 50 和 500 之间的整数。")});
    }
    EXPECT_TRUE(width->hasFocus());
    EXPECT_EQ(setup.paper_width, 1840);

    // Neither another page nor OK is taken while the value stands.
    {
        MessageCatcher boxes;
        dialog.tree()->setCurrentItem(dialog.tree()->topLevelItem(0));
        EXPECT_EQ(boxes.texts().size(), 1);
    }
    EXPECT_EQ(dialog.current_item(), 6);
    {
        MessageCatcher boxes;
        dialog.accept();
        EXPECT_EQ(boxes.texts().size(), 1);
    }
    EXPECT_TRUE(dialog.isVisible());

    // Letters, and a size the margins leave too little of.
    {
        MessageCatcher boxes;
        type(width, QStringLiteral("abc"));
        QTest::keyClick(width, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("请输入一个整数。")});
    }
    {
        MessageCatcher boxes;
        type(width, QStringLiteral("60"));
        QTest::keyClick(width, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(kTooLittlePaperMessage)});
    }
    EXPECT_EQ(setup.paper_width, 1840);
    type(width, QStringLiteral("210"));
    type(height, QStringLiteral("297"));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(doc_.page_setup().paper_width, 2100);
    EXPECT_EQ(doc_.page_setup().paper_height, 2970);
}

TEST_F(OptionDialogTest, MarginsAreStoredTogetherOrRefused) {
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(7);
    auto* top = control<SpinField>(OptionPage::kMargin, 1140);
    auto* left = control<SpinField>(OptionPage::kMargin, 1142);
    auto* row = control<SpinField>(OptionPage::kMargin, 1144);
    const PageSetup& setup = dialog.session().page_setup();
    EXPECT_EQ(text_of(top), QStringLiteral("25"));
    EXPECT_EQ(text_of(row), QStringLiteral("6"));

    {
        MessageCatcher boxes;
        type(top, QStringLiteral("7"));
        QTest::keyClick(top, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(kMarginRange)});
    }
    EXPECT_TRUE(top->hasFocus());
    EXPECT_EQ(setup.top_margin, 250);
    // Another field out of range as well: the first one is named, nothing stored.
    type(left, QStringLiteral("51"));
    {
        MessageCatcher boxes;
        dialog.accept();
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(kMarginRange)});
    }
    EXPECT_TRUE(top->hasFocus());
    EXPECT_EQ(setup.left_margin, 250);

    type(top, QStringLiteral("8"));
    type(left, QStringLiteral("50"));
    type(row, QStringLiteral("21"));
    {
        MessageCatcher boxes;
        QTest::keyClick(row, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(),
                  QStringList{QStringLiteral("请输入一个介于 4 和 20 之间的整数。")});
    }
    EXPECT_EQ(setup.top_margin, 250);
    type(row, QStringLiteral("20"));
    {
        MessageCatcher boxes;
        QTest::keyClick(row, Qt::Key_Tab);
        EXPECT_TRUE(boxes.texts().isEmpty());
    }
    EXPECT_EQ(setup.top_margin, 80);
    EXPECT_EQ(setup.left_margin, 500);
    EXPECT_EQ(setup.row_height, 200);

    // The spin moves within the range and stores at once.
    row->setFocus();
    QTest::keyClick(row, Qt::Key_Up);
    EXPECT_EQ(text_of(row), QStringLiteral("20"));
    QTest::keyClick(row, Qt::Key_Down);
    EXPECT_EQ(setup.row_height, 190);
    top->setFocus();
    QTest::keyClick(top, Qt::Key_Down);
    EXPECT_EQ(text_of(top), QStringLiteral("8"));
    EXPECT_EQ(setup.top_margin, 80);
}

TEST_F(OptionDialogTest, PageNumbersOnlyTheTotalOfTheFormatWithTotal) {
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(8);
    auto* format = control<QComboBox>(OptionPage::kPageNumber, 1146);
    auto* total = control<SpinField>(OptionPage::kPageNumber, 1149);
    auto* first = control<SpinField>(OptionPage::kPageNumber, 1147);
    PageSetup& setup = dialog.session().page_setup();
    EXPECT_EQ(format->count(), 5);
    EXPECT_EQ(control<QComboBox>(OptionPage::kPageNumber, 1148)->count(), 6);
    EXPECT_FALSE(total->isEnabled());
    format->setCurrentIndex(4);
    emit format->activated(4);
    EXPECT_EQ(setup.page_number_format, 4);
    EXPECT_TRUE(total->isEnabled());

    control<QRadioButton>(OptionPage::kPageNumber, 1059)->click();
    EXPECT_EQ(setup.page_number_mode, 3);

    {
        MessageCatcher boxes;
        type(first, QStringLiteral("201"));
        QTest::keyClick(first, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(),
                  QStringList{QStringLiteral("请输入一个介于 1 和 200 之间的整数。")});
    }
    EXPECT_EQ(setup.first_page_number, 1);
    type(first, QStringLiteral("200"));
    type(total, QStringLiteral("0"));
    {
        MessageCatcher boxes;
        QTest::keyClick(total, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(),
                  QStringList{QStringLiteral("请输入一个介于 1 和 200 之间的整数。")});
    }
    EXPECT_EQ(setup.first_page_number, 200);
    EXPECT_EQ(setup.total_pages, 1);
    EXPECT_TRUE(total->hasFocus());
    total->setFocus();
    QTest::keyClick(total, Qt::Key_Up);  // from the stored 1, not from the refused 0
    EXPECT_EQ(setup.total_pages, 1);
    type(total, QStringLiteral("12"));
    QTest::keyClick(total, Qt::Key_Tab);
    QTest::qWait(20);
    EXPECT_EQ(setup.total_pages, 12);
}

TEST_F(OptionDialogTest, HeaderAndFooterTextsFollowTheirOwnCheckBoxes) {
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(9);
    auto* header_on = control<QCheckBox>(OptionPage::kHeaderFooter, 1173);
    auto* footer_on = control<QCheckBox>(OptionPage::kHeaderFooter, 1174);
    auto* header = control<QLineEdit>(OptionPage::kHeaderFooter, 1171);
    auto* footer = control<QLineEdit>(OptionPage::kHeaderFooter, 1172);
    EXPECT_EQ(header_on->text(), QStringLiteral(" 打印页眉"));
    EXPECT_FALSE(header->isEnabled());
    EXPECT_FALSE(footer->isEnabled());
    footer_on->click();
    EXPECT_TRUE(footer->isEnabled());
    EXPECT_FALSE(header->isEnabled());
    type(footer, QStringLiteral("某某检测中心"));
    const PageSetup& setup = dialog.session().page_setup();
    EXPECT_EQ(setup.print_footer, 1);
    EXPECT_EQ(setup.print_header, 0);
    EXPECT_EQ(setup.footer_text, "某某检测中心");
    header_on->click();
    EXPECT_TRUE(header->isEnabled());
    EXPECT_EQ(setup.print_header, 1);
}

TEST_F(OptionDialogTest, ALayoutLocksTheCurvesItPrintsTogether) {
    doc_.print_content().curve_layout = 0;
    doc_.print_content().slgq_curve = 0;
    COptionDialog& dialog = open(kStartPrintOptions);
    dialog.select_item(11);
    auto* qs = control<QCheckBox>(OptionPage::kImagePrint, 1138);
    auto* slgt = control<QCheckBox>(OptionPage::kImagePrint, 1139);
    auto* slgq = control<QCheckBox>(OptionPage::kImagePrint, 1140);
    const PrintContent& content = dialog.session().print_content();
    EXPECT_TRUE(qs->isEnabled() && slgt->isEnabled() && slgq->isEnabled());
    EXPECT_FALSE(slgq->isChecked());
    qs->click();
    EXPECT_EQ(content.qs_curve, 0);

    control<QRadioButton>(OptionPage::kImagePrint, 1152)->click();  // s-lgt and s-lgQ
    EXPECT_EQ(content.curve_layout, 2);
    EXPECT_TRUE(slgt->isChecked() && !slgt->isEnabled());
    EXPECT_TRUE(slgq->isChecked() && !slgq->isEnabled());
    EXPECT_TRUE(qs->isEnabled());
    EXPECT_FALSE(qs->isChecked());
    EXPECT_EQ(content.slgq_curve, 1);

    control<QRadioButton>(OptionPage::kImagePrint, 1153)->click();  // all three
    EXPECT_EQ(content.curve_layout, 3);
    EXPECT_TRUE(qs->isChecked() && !qs->isEnabled());
    control<QRadioButton>(OptionPage::kImagePrint, 1058)->click();  // each alone
    EXPECT_TRUE(qs->isEnabled() && slgt->isEnabled() && slgq->isEnabled());

    control<QRadioButton>(OptionPage::kImagePrint, 1057)->click();
    EXPECT_EQ(content.curve_aspect, 1);
    control<QCheckBox>(OptionPage::kImagePrint, 1141)->click();
    EXPECT_EQ(content.simple_summary, 0);
}

TEST_F(OptionDialogTest, ACompositeFoundationTitleChecksTheZeroMinuteRows) {
    COptionDialog& dialog = open(kStartPrintOptions);
    dialog.select_item(12);
    auto* titles = control<QComboBox>(OptionPage::kTablePrint, 1159);
    auto* zero = control<QCheckBox>(OptionPage::kTablePrint, 1217);
    const PrintContent& content = dialog.session().print_content();
    EXPECT_EQ(titles->count(), 8);
    EXPECT_TRUE(zero->isChecked());
    titles->setCurrentIndex(1);
    emit titles->activated(1);
    EXPECT_FALSE(zero->isChecked());
    EXPECT_EQ(content.zero_minute_rows, 0);
    titles->setCurrentIndex(4);
    emit titles->activated(4);
    EXPECT_TRUE(zero->isChecked());
    EXPECT_EQ(content.table_title, 4);

    control<QCheckBox>(OptionPage::kTablePrint, 1136)->click();
    EXPECT_EQ(content.modification_record, 0);
    control<QRadioButton>(OptionPage::kTablePrint, 1057)->click();
    EXPECT_EQ(content.sign_off, kSignOffNever);
}

TEST_F(OptionDialogTest, ThePagePreviewIsDrawnFromTheWorkingCopies) {
    COptionDialog& dialog = open(kStartPageSetup);
    dialog.select_item(7);
    QWidget* preview = dialog.page_preview();
    const QImage before = preview->grab().toImage();
    auto* left = control<SpinField>(OptionPage::kMargin, 1142);
    type(left, QStringLiteral("50"));
    QTest::keyClick(left, Qt::Key_Tab);
    QTest::qWait(30);
    EXPECT_NE(preview->grab().toImage(), before);
    EXPECT_EQ(doc_.page_setup().left_margin, 250);  // the document's stays

    // Larger pictures of the preview, to look at.
    PageSetup setup;
    PrintContent content;
    for (int layout = 0; layout <= 3; ++layout) {
        content.curve_layout = layout;
        setup.print_header = layout % 2;
        setup.print_footer = 1 - layout % 2;
        setup.page_number_position = layout + 2;
        PagePreviewWidget large(setup, content);
        large.resize(460, 600);
        keep_picture(&large, "options_page_preview_layout" + std::to_string(layout) + ".png");
    }
}

}  // namespace
}  // namespace kvd::testing
