// The options dialog "选项": its tree and start items, the caption band, 预览
// and the pages being as large as their texts; pictures of every page; the
// curve style pages' fields, lists and colour buttons.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>

#include "app/options/color_button.h"
#include "app/options/curve_style_pages.h"
#include "app/options/font_combo.h"
#include "app/options/option_dialog_parts.h"
#include "app/options/style_combos.h"
#include "option_test_support.h"

namespace kvd::testing {
namespace {

QString picture_name(int item) {
    return QStringLiteral("options_%1_%2.png")
        .arg(item, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf8(
            kOptionTree[static_cast<std::size_t>(item)].text.data(),
            static_cast<qsizetype>(kOptionTree[static_cast<std::size_t>(item)].text.size())));
}

TEST_F(OptionDialogTest, EveryPageShowsItsTextsWholeUnderItsCaption) {
    COptionDialog& dialog = open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("选项"));
    QTreeWidget* tree = dialog.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("图形样式"));
    EXPECT_EQ(tree->topLevelItem(2)->child(3)->text(0), QStringLiteral("页眉页脚"));
    EXPECT_EQ(tree->topLevelItem(3)->child(1)->text(0), QStringLiteral("表格部分"));
    EXPECT_EQ(dialog.current_item(), 0);  // "选项(&O)": the first page

    const QSize size = dialog.size();
    for (int item = 0; item < static_cast<int>(kOptionTree.size()); ++item) {
        dialog.select_item(item);
        QTest::qWait(10);
        const OptionTreeItem& entry = kOptionTree[static_cast<std::size_t>(item)];
        ASSERT_EQ(dialog.current_item(), item);
        EXPECT_EQ(dialog.caption()->text().toStdString(), entry.text);
        EXPECT_EQ(dialog.current_page(), dialog.page(entry.page));
        EXPECT_EQ(dialog.page_preview()->isVisible(), shows_page_preview(entry.page));
        // 预览 on the curve style pages only.
        EXPECT_EQ(dialog.preview_button()->isEnabled(), entry.parent == kCurveStyleBranch)
            << entry.text;
        EXPECT_EQ(dialog.size(), size);  // the dialog does not jump about
        keep_picture(&dialog, picture_name(item).toStdString());

        // Every caption, label and field as large as its text needs, and
        // inside the page area.
        QWidget* page = dialog.current_page();
        const QRect area = page->rect();
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisible()) continue;
            const std::string what = entry.text.data() + std::string(" ") +
                                     child->metaObject()->className() + " " +
                                     child->objectName().toStdString();
            if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child) ||
                qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child)) {
                EXPECT_GE(child->width(), child->minimumSizeHint().width()) << what;
                EXPECT_GE(child->height(), child->minimumSizeHint().height()) << what;
            }
            if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                          label->contentsRect().width())
                    << what;
            }
            const QRect placed(child->mapTo(page, QPoint(0, 0)), child->size());
            EXPECT_TRUE(area.contains(placed)) << what;
        }
        const QFontMetrics band(dialog.caption()->font());
        EXPECT_GE(dialog.caption()->height(), band.height() * 3 / 2) << entry.text;
    }
}

TEST_F(OptionDialogTest, StartItemsExpandAndSelectTheirBranch) {
    const std::pair<int, const char*> starts[] = {
        {kStartCurveStyle, "图形样式"},
        {kStartPageSetup, "页面设置"},
        {kStartPrintOptions, "打印选项"},
        {0, "常规"},
        {7, "常规"},
    };
    for (const auto& [start, text] : starts) {
        COptionDialog& dialog = open(start);
        ASSERT_NE(dialog.tree()->currentItem(), nullptr);
        EXPECT_EQ(dialog.tree()->currentItem()->text(0), QString::fromUtf8(text)) << start;
        // A branch's page only points at its items.
        if (start >= 1 && start <= 3) {
            EXPECT_TRUE(dialog.tree()->currentItem()->isExpanded());
            const QList<QLabel*> labels = dialog.current_page()->findChildren<QLabel*>();
            ASSERT_EQ(labels.size(), 1);
            EXPECT_EQ(labels[0]->text(), QStringLiteral("请点击子项以选择相应的项目"));
        }
        EXPECT_FALSE(dialog.preview_button()->isEnabled());
    }
    // The caption band runs from the button shadow to the button face.
    COptionDialog& dialog = open(kStartCurveStyle);
    keep_picture(dialog.caption(), "options_caption_band.png");
    const QImage band = dialog.caption()->grab().toImage();
    const QColor left = band.pixelColor(1, 1);
    const QColor right = band.pixelColor(band.width() - 2, 1);
    EXPECT_EQ(left.rgb(), dialog.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(right.rgb(), dialog.palette().color(QPalette::Button).rgb());
}

TEST_F(OptionDialogTest, SizedFieldsClampWhatIsTypedAndShowItInTheirFormat) {
    COptionDialog& dialog = open(kStartCurveStyle);
    dialog.select_item(2);  // 曲线样式
    auto* width = control<SpinField>(OptionPage::kCurveSetup, 1089);
    EXPECT_EQ(text_of(width), QStringLiteral(" 0.1 mm"));
    type(width, QStringLiteral("2.56"));
    // Stored while typing, the text left as typed until the field is left.
    EXPECT_EQ(dialog.session().style().lines.load_width, 26);
    EXPECT_EQ(text_of(width), QStringLiteral("2.56"));
    QTest::keyClick(width, Qt::Key_Tab);
    EXPECT_EQ(text_of(width), QStringLiteral(" 2.6 mm"));
    EXPECT_FALSE(width->hasFocus());

    // A text that is not a number is refused and the value kept.
    for (const char* wrong : {"2.5..-", "abc", "3 cm"}) {
        MessageCatcher boxes;
        type(width, QString::fromLatin1(wrong));
        QTest::keyClick(width, Qt::Key_Tab);
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("请输入一个数字。")}) << wrong;
        EXPECT_EQ(dialog.session().style().lines.load_width, 26) << wrong;
        EXPECT_EQ(text_of(width), QStringLiteral(" 2.6 mm")) << wrong;
    }

    type(width, QStringLiteral("0"));
    QTest::keyClick(width, Qt::Key_Tab);
    EXPECT_EQ(dialog.session().style().lines.load_width, 1);
    EXPECT_EQ(text_of(width), QStringLiteral(" 0.1 mm"));

    // The spin steps by a tenth and stops at the ends of the range.
    width->setFocus();
    QTest::keyClick(width, Qt::Key_Up);
    QTest::keyClick(width, Qt::Key_Up);
    EXPECT_EQ(dialog.session().style().lines.load_width, 3);
    EXPECT_EQ(text_of(width), QStringLiteral(" 0.3 mm"));
    for (int i = 0; i < 5; ++i) QTest::keyClick(width, Qt::Key_Down);
    EXPECT_EQ(dialog.session().style().lines.load_width, 1);

    auto* diameter = control<SpinField>(OptionPage::kCurveSetup, 1087);
    type(diameter, QStringLiteral("9 mm"));
    QTest::keyClick(diameter, Qt::Key_Tab);
    EXPECT_EQ(dialog.session().style().lines.point_diameter, 40);
    EXPECT_EQ(text_of(diameter), QStringLiteral(" 4.0 mm"));

    dialog.select_item(3);  // 标题和坐标
    auto* title = control<SpinField>(OptionPage::kCoord, 1099);
    EXPECT_EQ(text_of(title), QStringLiteral("   6 mm"));
    type(title, QStringLiteral("25"));
    QTest::keyClick(title, Qt::Key_Tab);
    EXPECT_EQ(dialog.session().style().frame.title_font_size, 200);
    EXPECT_EQ(text_of(title), QStringLiteral("  20 mm"));
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Down);
    EXPECT_EQ(dialog.session().style().frame.title_font_size, 190);
    EXPECT_EQ(text_of(title), QStringLiteral("  19 mm"));

    // Nothing of it reached the document.
    EXPECT_EQ(doc_.curve_style().lines.load_width, 1);
    EXPECT_EQ(doc_.curve_style().frame.title_font_size, 60);
}

TEST_F(OptionDialogTest, ListsRadiosAndColourButtonsWriteTheWorkingCopyAtOnce) {
    doc_.curve_style().lines.unload_pen_style = 3;
    doc_.curve_style().lines.mark_symbol = 5;
    doc_.curve_style().frame.tick_font = "某个没有的字体";
    COptionDialog& dialog = open(kStartCurveStyle);
    CurveStyle& style = dialog.session().style();

    auto* unload_style = control<CLineStyleCombo>(OptionPage::kCurveSetup, 1083);
    EXPECT_EQ(unload_style->count(), 5);
    EXPECT_EQ(unload_style->value(), 3);
    unload_style->setCurrentIndex(1);
    emit unload_style->activated(1);
    EXPECT_EQ(style.lines.unload_pen_style, 1);
    unload_style->show_value(9);  // a value no entry has selects nothing
    EXPECT_EQ(unload_style->currentIndex(), -1);

    auto* hollow = control<QRadioButton>(OptionPage::kCurveSetup, 1057);
    EXPECT_FALSE(hollow->isChecked());
    hollow->click();
    EXPECT_EQ(style.lines.point_filled, 0);

    auto* symbols = control<CMarkFontCombo>(OptionPage::kMark, 1103);
    EXPECT_EQ(symbols->count(), 7);
    EXPECT_EQ(symbols->value(), 5);
    EXPECT_EQ(symbols->itemText(0), QStringLiteral(" 无"));
    EXPECT_EQ(symbols->itemData(1, Qt::SizeHintRole).toSize().height(), 24);
    symbols->showPopup();
    keep_picture(symbols->view()->window(), "options_mark_symbols.png");
    symbols->hidePopup();
    unload_style->showPopup();
    keep_picture(unload_style->view()->window(), "options_line_styles.png");
    unload_style->hidePopup();
    symbols->setCurrentIndex(2);
    emit symbols->activated(2);
    EXPECT_EQ(style.lines.mark_symbol, 2);

    // A face the machine does not have is shown as stored, not replaced.
    auto* ticks = control<CFontCombo>(OptionPage::kCoord, 1101);
    EXPECT_EQ(ticks->currentText(), QStringLiteral("某个没有的字体"));
    auto* title_font = control<CFontCombo>(OptionPage::kCoord, 1084);
    EXPECT_EQ(title_font->currentText(), QStringLiteral("Times New Roman"));
    const int song = title_font->findText(QStringLiteral("宋体"));
    ASSERT_GE(song, 0);
    title_font->setCurrentIndex(song);
    emit title_font->activated(song);
    EXPECT_EQ(style.frame.title_font, "宋体");

    // The colour dialog's choice goes into the button and the working copy.
    dialog.select_item(4);
    auto* background = control<CColorButton>(OptionPage::kMark, 1108);
    EXPECT_EQ(background->colour(), style_rgb(240, 240, 240));
    when_modal<QColorDialog>([](QColorDialog* colours) {
        colours->setCurrentColor(QColor(12, 34, 56));
        colours->accept();
    });
    background->click();
    EXPECT_EQ(style.frame.background, style_rgb(12, 34, 56));
    EXPECT_EQ(background->colour(), style_rgb(12, 34, 56));
    keep_picture(background, "options_colour_button.png");
    const QImage face = background->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(12, 34, 56));
    // Cancel in the colour dialog changes nothing.
    when_modal<QColorDialog>([](QColorDialog* colours) {
        colours->setCurrentColor(QColor(200, 0, 0));
        colours->reject();
    });
    background->click();
    EXPECT_EQ(style.frame.background, style_rgb(12, 34, 56));
}

TEST_F(OptionDialogTest, TheAnalysisBoxIsOffByDefaultAndOkStoresIt) {
    COptionDialog& dialog = open(kStartPrintOptions);
    auto* analysis = control<QCheckBox>(OptionPage::kTablePrint, 1250);
    EXPECT_EQ(analysis->text(), QStringLiteral("承载力分析"));
    EXPECT_FALSE(analysis->isChecked());
    analysis->click();
    EXPECT_EQ(dialog.session().print_content().analysis, 1);
    EXPECT_EQ(doc_.print_content().analysis, 0);  // the working copy only, until OK
    dialog.accept();
    EXPECT_EQ(doc_.print_content().analysis, 1);
    // Stored with the other settings when the program ends, read at the next start.
    ASSERT_TRUE(store_.write(doc_.settings()));
    EXPECT_EQ(memory_.read_int(kPrintContentSection, "承载力分析"), 1);
    doc_.apply_settings(default_document_settings());
    doc_.apply_settings(store_.read());

    // Opened again, the box shows what is stored; unchecked and OK stores 0.
    COptionDialog& again = open(kStartPrintOptions);
    auto* box = control<QCheckBox>(OptionPage::kTablePrint, 1250);
    EXPECT_TRUE(box->isChecked());
    box->click();
    again.accept();
    EXPECT_EQ(doc_.print_content().analysis, 0);
    ASSERT_TRUE(store_.write(doc_.settings()));
    EXPECT_EQ(memory_.read_int(kPrintContentSection, "承载力分析"), 0);
}

TEST_F(OptionDialogTest, PreviewShowsTheStyleAndCancelTakesItBack) {
    COptionDialog& dialog = open(kStartCurveStyle);
    dialog.select_item(2);
    dialog.session().style().lines.load_colour = style_rgb(1, 2, 3);
    dialog.preview_button()->click();
    EXPECT_EQ(doc_.curve_style().lines.load_colour, style_rgb(1, 2, 3));
    dialog.reject();
    EXPECT_EQ(doc_.curve_style().lines.load_colour, style_rgb(0, 0, 160));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kvd::testing
