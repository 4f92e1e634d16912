// QtUserInterface driven as a user would: message boxes, the number,
// interval, axes, mark and export dialogs, and the save dialog. Each dialog
// is found as the active modal widget once its exec() runs, typed into with
// QTest and closed with Enter or Escape.

#include "app/frame/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/curves/coord_dialog.h"
#include "app/dialogs/dialog_support.h"
#include "app/curves/export_dialog.h"
#include "app/tables/interval_dialog.h"
#include "app/curves/marked_dialog.h"
#include "app/modal_driver.h"
#include "app/dialogs/number_dialog.h"
#include "curves/curve_dialogs.h"
#include "curves/curve_export.h"
#include "curves/mark_computation.h"
#include "doc/lbx_doc.h"
#include "doc/record_edits.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {
namespace {

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box with `button` (or Escape when NoButton) and
// records what it showed.
void answer_box(std::vector<SeenBox>& seen,
                QMessageBox::StandardButton button = QMessageBox::Ok) {
    when_modal<QMessageBox>([&seen, button](QMessageBox* box) {
        seen.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
        if (button == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
    });
}

// The offscreen platform does not give the activation back to a dialog when
// a message box over it closes, as a desktop does: the helpers take it back.
void make_active(QWidget* widget) {
    widget->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(widget->window()));
}

void type(QLineEdit* field, const QString& text) {
    make_active(field);
    field->setFocus(Qt::OtherFocusReason);
    field->clear();
    QTest::keyClicks(field, text);
}

void press_enter(QWidget* widget) {
    QTest::keyClick(widget, Qt::Key_Return);
}

QStringList label_texts(QWidget* dialog) {
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    return texts;
}

// No label is cut: each gets at least the width its text needs.
void expect_labels_fit(QWidget* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty()) continue;
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
}

void activate(QWidget* dialog) {
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
}

class DialogTest : public ::testing::Test {
protected:
    QtUserInterface ui_;
    std::vector<SeenBox> seen_;
};

TEST_F(DialogTest, MessageBoxesMapCaptionIconButtonsAndAnswers) {
    answer_box(seen_, QMessageBox::No);
    EXPECT_EQ(ui_.message_box("您真的决定删除这一级数据吗?", kCaptionWarning, MessageButtons::kYesNo,
                              MessageIcon::kWarning),
              MessageAnswer::kNo);
    answer_box(seen_, QMessageBox::Retry);
    EXPECT_EQ(ui_.message_box(kAxesYMaxTooSmall, kCaptionError, MessageButtons::kRetryCancel,
                              MessageIcon::kError),
              MessageAnswer::kRetry);
    answer_box(seen_, QMessageBox::NoButton);  // Escape
    EXPECT_EQ(ui_.message_box("?", kCaptionPrompt, MessageButtons::kYesNoCancel,
                              MessageIcon::kQuestion),
              MessageAnswer::kCancel);
    answer_box(seen_, QMessageBox::NoButton);
    EXPECT_EQ(ui_.message_box("x", kCaptionWarning, MessageButtons::kYesNo, MessageIcon::kWarning),
              MessageAnswer::kNo);
    answer_box(seen_, QMessageBox::Ok);
    EXPECT_EQ(ui_.message_box(kCreateFileFailed, kCaptionError, MessageButtons::kOk,
                              MessageIcon::kError),
              MessageAnswer::kOk);
    answer_box(seen_, QMessageBox::Cancel);
    EXPECT_EQ(ui_.message_box("y", kCaptionPrompt, MessageButtons::kOkCancel,
                              MessageIcon::kInformation),
              MessageAnswer::kCancel);

    ASSERT_EQ(seen_.size(), 6u);
    EXPECT_EQ(seen_[0].title, QStringLiteral("警告"));
    EXPECT_EQ(seen_[0].icon, QMessageBox::Warning);
    EXPECT_EQ(seen_[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen_[1].text, QStringLiteral("纵坐标最大值小于最大沉降量!"));
    EXPECT_EQ(seen_[1].title, QStringLiteral("错误"));
    EXPECT_EQ(seen_[1].icon, QMessageBox::Critical);
    EXPECT_EQ(seen_[1].buttons, QMessageBox::Retry | QMessageBox::Cancel);
    EXPECT_EQ(seen_[2].icon, QMessageBox::Question);
    EXPECT_EQ(seen_[2].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen_[4].icon, QMessageBox::Critical);
    EXPECT_EQ(seen_[4].buttons, QMessageBox::Ok);
    EXPECT_EQ(seen_[5].icon, QMessageBox::Information);
}

TEST_F(DialogTest, IntegerNumberDialogRefusesTextAndOutOfRangeValues) {
    bool ran = false;
    when_modal<NumberDialog>([&](NumberDialog* d) {
        ran = true;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("更改锁定点的荷载值"));
        EXPECT_TRUE(label_texts(d).contains(QStringLiteral("请输入新的荷载值")));
        EXPECT_TRUE(label_texts(d).contains(QStringLiteral("kN")));
        EXPECT_EQ(d->field()->text(), QStringLiteral("1500"));
        expect_labels_fit(d);
        keep_picture(d, "dialog_change_load.png");

        // Letters get in, and are refused with the message, as is a
        // malformed number.
        for (const char* wrong : {"abc", "2.5..-"}) {
            type(d->field(), QString::fromLatin1(wrong));
            EXPECT_EQ(d->field()->text(), QString::fromLatin1(wrong));
            answer_box(seen_);
            press_enter(d->field());
            EXPECT_TRUE(d->isVisible()) << wrong;
            EXPECT_EQ(d->field()->selectedText(), QString::fromLatin1(wrong));
        }

        for (const char* wrong : {"0", "100001", "-5"}) {
            type(d->field(), QString::fromLatin1(wrong));
            answer_box(seen_);
            press_enter(d->field());
            EXPECT_TRUE(d->isVisible()) << wrong;
            // The refused text is selected, ready to be typed over.
            EXPECT_EQ(d->field()->selectedText(), QString::fromLatin1(wrong));
        }
        type(d->field(), QStringLiteral("2500"));
        press_enter(d->field());
    });
    const std::optional<double> load = ui_.ask_number(change_load_request(1500, false));
    ASSERT_TRUE(ran);
    EXPECT_EQ(load, 2500.0);
    ASSERT_EQ(seen_.size(), 5u);
    EXPECT_EQ(seen_[0].text, QStringLiteral("请输入一个整数。"));
    EXPECT_EQ(seen_[1].text, QStringLiteral("请输入一个整数。"));
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(seen_[i].text, QStringLiteral("请输入一个介于 1 和 100000 之间的整数。"));
        EXPECT_EQ(seen_[i].title, QStringLiteral("ROzadazoza"));
        EXPECT_EQ(seen_[i].icon, QMessageBox::Warning);
    }
}

TEST_F(DialogTest, DecimalNumberDialogRefusesWhatIsNotANumberAndCancels) {
    when_modal<NumberDialog>([&](NumberDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("加上一个固定值"));
        const QStringList labels = label_texts(d);
        EXPECT_TRUE(labels.contains(QStringLiteral("请输入要加上的位移变化值")));
        EXPECT_TRUE(labels.contains(QStringLiteral("(如果为负值表示减去一个固定值)")));
        EXPECT_TRUE(labels.contains(QStringLiteral("mm")));
        EXPECT_EQ(d->field()->text(), QStringLiteral("-3.27"));
        expect_labels_fit(d);
        keep_picture(d, "dialog_add_value.png");
        for (const char* wrong : {"", "-", "."}) {
            type(d->field(), QString::fromLatin1(wrong));
            answer_box(seen_);
            press_enter(d->field());
            EXPECT_TRUE(d->isVisible()) << wrong;
        }
        type(d->field(), QStringLiteral("-1.255"));
        press_enter(d->field());
    });
    EXPECT_EQ(ui_.ask_number(add_value_request(3.27)), -1.255);
    ASSERT_EQ(seen_.size(), 3u);
    for (const SeenBox& box : seen_) EXPECT_EQ(box.text, QStringLiteral("请输入一个数字。"));

    when_modal<NumberDialog>([](NumberDialog* d) {
        type(d->field(), QStringLiteral("7"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(ui_.ask_number(add_value_request(0)), std::nullopt);

    // Two decimals where the request asks for them.
    when_modal<NumberDialog>([](NumberDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("移动锁定点到新的位置"));
        EXPECT_EQ(d->field()->text(), QStringLiteral("12.50"));
        keep_picture(d, "dialog_move_to.png");
        press_enter(d->field());
    });
    EXPECT_EQ(ui_.ask_number(move_to_request(12.5)), 12.5);
}

TEST_F(DialogTest, IntervalDialogRefusesWhatIsNotAnIntervalAndKeepsTheField) {
    IntervalTable load = kDefaultLoadIntervals;
    IntervalTable unload = kDefaultUnloadIntervals;
    unload[3] = 0;  // a schedule entry that is 0 already may stay so
    bool ran = false;
    when_modal<IntervalDialog>([&](IntervalDialog* d) {
        ran = true;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("修改采样间隔时间"));
        const QStringList labels = label_texts(d);
        EXPECT_TRUE(labels.contains(QStringLiteral("加载采样间隔时间 (分):")));
        EXPECT_TRUE(labels.contains(QStringLiteral("卸载采样间隔时间 (分):")));
        EXPECT_EQ(d->load_field(1)->text(), QStringLiteral("5"));
        EXPECT_EQ(d->unload_field(4)->text(), QStringLiteral("180"));
        expect_labels_fit(d);
        keep_picture(d, "dialog_intervals.png");
        // Letters, a malformed number, a fraction, a negative and a value
        // beyond the file's field are each refused, and the dialog stays.
        for (const char* wrong : {"abc", "1..5-", "7.5", "-5", "70000", "0"}) {
            type(d->load_field(2), QString::fromLatin1(wrong));
            answer_box(seen_);
            press_enter(d->load_field(2));
            EXPECT_TRUE(d->isVisible()) << wrong;
            EXPECT_EQ(d->load_field(2)->selectedText(), QString::fromLatin1(wrong)) << wrong;
        }
        type(d->load_field(2), QStringLiteral("10"));
        type(d->load_field(3), QStringLiteral("20"));
        type(d->unload_field(11), QStringLiteral(" 240 "));
        press_enter(d->unload_field(11));
    });
    ASSERT_TRUE(ui_.ask_intervals(load, unload));
    ASSERT_TRUE(ran);
    ASSERT_EQ(seen_.size(), 6u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(seen_[i].text, QStringLiteral("请输入一个整数。")) << i;
    for (int i = 3; i < 5; ++i) {
        EXPECT_EQ(seen_[i].text, QStringLiteral("请输入一个介于 0 和 65535 之间的整数。")) << i;
    }
    EXPECT_EQ(seen_[5].text, QStringLiteral("采样间隔时间必须大于0!"));
    EXPECT_EQ(load[1], 5);
    EXPECT_EQ(load[2], 10);
    EXPECT_EQ(load[3], 20);
    EXPECT_EQ(unload[11], 240);
    EXPECT_EQ(unload[4], 180);
    EXPECT_EQ(unload[3], 0);

    // Cancel stores nothing.
    when_modal<IntervalDialog>([](IntervalDialog* d) {
        type(d->load_field(0), QStringLiteral("99"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    const IntervalTable kept = load;
    EXPECT_FALSE(ui_.ask_intervals(load, unload));
    EXPECT_EQ(load, kept);
}

TEST_F(DialogTest, AxesDialogPutsBackARefusedFieldAndRetriesIt) {
    const Extremes extremes{3000, 40.5, 0};
    const AxesValidator validate = axes_validator(ui_, extremes);
    AxesDialogState initial;
    initial.coordinate_mode = 0;
    initial.x_max = 3000;
    initial.y_max = 45;
    initial.y_min = 0;
    initial.load_unit = "kN";
    when_modal<CCoordDialog>([&](CCoordDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("设定坐标尺寸"));
        for (const char* text : {"横坐标最大值", "纵坐标最大值", "纵坐标最小值", "kN", "mm"}) {
            EXPECT_TRUE(label_texts(d).contains(QString::fromUtf8(text))) << text;
        }
        EXPECT_TRUE(d->auto_radio()->isChecked());
        EXPECT_TRUE(d->down_radio()->isChecked());
        expect_labels_fit(d);
        keep_picture(d, "dialog_axes.png");
        activate(d);
        QLineEdit* y_max = d->field(AxesField::kYMax);
        QLineEdit* y_min = d->field(AxesField::kYMin);
        QLineEdit* x_max = d->field(AxesField::kXMax);
        EXPECT_EQ(y_max->text(), QStringLiteral("45"));

        // Leaving with a vertical maximum below the largest settlement:
        // the message, the old value back, and on Retry the focus too.
        type(y_max, QStringLiteral("20"));
        answer_box(seen_, QMessageBox::Retry);
        QTest::keyClick(y_max, Qt::Key_Tab);
        EXPECT_TRUE(wait_until([&] { return seen_.size() == 1; }));
        make_active(d);
        EXPECT_TRUE(y_max->hasFocus());
        EXPECT_EQ(y_max->text(), QStringLiteral("45"));

        // Cancel puts the value back and leaves the focus where it went.
        type(y_min, QStringLiteral("5"));
        answer_box(seen_, QMessageBox::Cancel);
        QTest::keyClick(y_min, Qt::Key_Tab);
        EXPECT_TRUE(wait_until([&] { return seen_.size() == 2; }));
        EXPECT_EQ(y_min->text(), QStringLiteral("0"));
        EXPECT_FALSE(y_min->hasFocus());

        // An accepted value stays and asks nothing.
        type(x_max, QStringLiteral("3500"));
        QTest::keyClick(x_max, Qt::Key_Tab);
        QTest::qWait(30);
        EXPECT_EQ(seen_.size(), 2u);
        EXPECT_EQ(x_max->text(), QStringLiteral("3500"));

        // OK with a refused value in the field being edited: refused, open.
        type(y_max, QStringLiteral("10"));
        answer_box(seen_, QMessageBox::Retry);
        press_enter(y_max);
        EXPECT_EQ(seen_.size(), 3u);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(y_max->text(), QStringLiteral("45"));

        d->user_radio()->click();
        d->up_radio()->click();
        type(y_max, QStringLiteral("60.5"));
        press_enter(y_max);
    });
    const std::optional<AxesDialogState> result = ui_.ask_axes(initial, validate);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->coordinate_mode, 1);
    EXPECT_EQ(result->direction_kind, 2);
    EXPECT_EQ(result->x_max, 3500);
    EXPECT_EQ(result->y_max, 60.5);
    EXPECT_EQ(result->y_min, 0);
    EXPECT_EQ(result->load_unit, "kN");
    ASSERT_EQ(seen_.size(), 3u);
    EXPECT_EQ(seen_[0].text, QStringLiteral("纵坐标最大值小于最大沉降量!"));
    EXPECT_EQ(seen_[0].icon, QMessageBox::Critical);
    EXPECT_EQ(seen_[1].text, QStringLiteral("纵坐标最小值大于最小沉降量!"));
}

class MarkDialogTest : public DialogTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
        doc_.refresh_derived();
    }
    const CTestData& grades() const { return doc_.record().grades; }

    ScriptedUserInterface scripted_;
    CLbxDoc doc_{scripted_};
};

TEST_F(MarkDialogTest, ModesEnableTheirFieldsAndRecomputeTheOthers) {
    const MarkCalculator calculate = [this](const MarkDialogState& s) {
        return recompute_mark_fields(grades(), s);
    };
    MarkDialogState initial;
    initial.load_unit = "kN";
    const MarkResult at_load = compute_mark(grades(), MarkMode::kByLoad, 1500);
    const MarkResult at_settlement = compute_mark(grades(), MarkMode::kBySettlement, 8);
    ASSERT_TRUE(at_load.valid);
    ASSERT_TRUE(at_settlement.valid);
    const MarkResult at_ratio = compute_mark(grades(), MarkMode::kByRatio, at_load.ratio);
    ASSERT_TRUE(at_ratio.valid);

    when_modal<CMarkedDialog>([&](CMarkedDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("标记"));
        expect_labels_fit(d);
        QLineEdit* load = d->load_field();
        QLineEdit* settlement = d->settlement_field();
        QLineEdit* ratio = d->ratio_field();
        auto enabled = [&] {
            return std::vector<bool>{load->isEnabled(), settlement->isEnabled(), ratio->isEnabled()};
        };

        EXPECT_TRUE(d->mode_radio(MarkMode::kByLoad)->isChecked());
        EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false}));
        type(load, QStringLiteral("1500"));
        EXPECT_EQ(settlement->text(), QString::number(at_load.settlement, 'f', 2));
        EXPECT_EQ(ratio->text(), QString::number(at_load.ratio, 'f', 3));

        d->mode_radio(MarkMode::kBySettlement)->click();
        EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
        type(settlement, QStringLiteral("8"));
        EXPECT_EQ(load->text(), QString::number(std::llround(at_settlement.load)));
        EXPECT_EQ(ratio->text(), QString::number(at_settlement.ratio, 'f', 3));
        // Beyond the curve: the computed fields show 0.
        type(settlement, QStringLiteral("400"));
        EXPECT_EQ(load->text(), QStringLiteral("0"));
        EXPECT_EQ(ratio->text(), QStringLiteral("0.000"));

        d->mode_radio(MarkMode::kByRatio)->click();
        EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true}));
        type(ratio, QString::number(at_load.ratio, 'f', 3));
        EXPECT_EQ(load->text(), QString::number(std::llround(at_ratio.load)));
        EXPECT_EQ(settlement->text(), QString::number(at_ratio.settlement, 'f', 2));
        keep_picture(d, "dialog_mark.png");

        // A free mark computes nothing.
        d->mode_radio(MarkMode::kFree)->click();
        EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false}));
        type(load, QStringLiteral("1000"));
        type(settlement, QStringLiteral("5.5"));
        EXPECT_EQ(ratio->text(), QString::number(at_ratio.ratio, 'f', 3));
        press_enter(settlement);
    });
    const std::optional<MarkDialogState> result = ui_.ask_mark(initial, calculate);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->mode, MarkMode::kFree);
    EXPECT_EQ(result->load, 1000);
    EXPECT_EQ(result->settlement, 5.5);
    EXPECT_EQ(result->load_unit, "kN");
}

TEST_F(MarkDialogTest, TheModesFieldMustHoldANumber) {
    MarkDialogState initial;
    initial.mode = MarkMode::kBySettlement;
    initial.load_unit = "kPa";
    when_modal<CMarkedDialog>([&](CMarkedDialog* d) {
        EXPECT_TRUE(label_texts(d).contains(QStringLiteral("kPa")));
        type(d->settlement_field(), QStringLiteral("-"));
        answer_box(seen_);
        press_enter(d->settlement_field());
        EXPECT_TRUE(d->isVisible());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(ui_.ask_mark(initial, nullptr));
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].text, QStringLiteral("请输入一个数字。"));
}

TEST_F(DialogTest, ExportOptionsStepInTensAndRefuseRatiosOutOfRange) {
    when_modal<CExportDialog>([&](CExportDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("图像导出选项"));
        EXPECT_TRUE(label_texts(d).contains(QStringLiteral("图形长宽比")));
        EXPECT_TRUE(d->black_and_white_radio()->isChecked());
        EXPECT_EQ(d->black_and_white_radio()->text(), QStringLiteral("  黑白"));
        EXPECT_EQ(d->colour_radio()->text(), QStringLiteral("  彩色"));
        QLineEdit* ratio = d->ratio_field();
        EXPECT_EQ(ratio->text(), QStringLiteral("150"));
        EXPECT_EQ(d->spin_position(), 15);
        expect_labels_fit(d);
        keep_picture(d, "dialog_export.png");
        activate(d);

        d->up_button()->click();
        EXPECT_EQ(ratio->text(), QStringLiteral("160"));
        d->down_button()->click();
        d->down_button()->click();
        EXPECT_EQ(ratio->text(), QStringLiteral("140"));
        ratio->setFocus();
        QTest::keyClick(ratio, Qt::Key_Up);
        EXPECT_EQ(ratio->text(), QStringLiteral("150"));

        // Leaving the field with a ratio out of range: the focus comes back.
        type(ratio, QStringLiteral("5"));
        QTest::keyClick(ratio, Qt::Key_Tab);
        EXPECT_TRUE(wait_until([&] { return ratio->hasFocus(); }));
        // A ratio in range moves the spin.
        type(ratio, QStringLiteral("330"));
        QTest::keyClick(ratio, Qt::Key_Tab);
        EXPECT_TRUE(wait_until([&] { return d->spin_position() == 33; }));

        for (const char* wrong : {"5", "1001"}) {
            type(ratio, QString::fromLatin1(wrong));
            answer_box(seen_);
            press_enter(ratio);
            EXPECT_TRUE(d->isVisible()) << wrong;
        }
        type(ratio, QStringLiteral("200"));
        d->colour_radio()->click();
        press_enter(ratio);
    });
    const std::optional<ExportOptions> options = ui_.ask_export_options(ExportOptions{});
    ASSERT_TRUE(options);
    EXPECT_EQ(*options, (ExportOptions{1, 200}));
    ASSERT_EQ(seen_.size(), 2u);
    for (const SeenBox& box : seen_) {
        EXPECT_EQ(box.text, QStringLiteral("请输入一个介于 10 和 1000 之间的整数。"));
    }
}

TEST(FileFilter, ProgramFiltersBecomeQtFilters) {
    EXPECT_EQ(QtUserInterface::qt_file_filter("WINDOWS 图元文件(*.WMF)|*.WMF"),
              QStringLiteral("WINDOWS 图元文件(*.WMF)"));
    EXPECT_EQ(QtUserInterface::qt_file_filter("KV静载测试分析文件(*.KVD;*.KVD2)|*.KVD;*.KVD2|"),
              QStringLiteral("KV静载测试分析文件(*.KVD *.KVD2)"));
    EXPECT_EQ(QtUserInterface::qt_file_filter("文本|*.txt|全部|*.*||"),
              QStringLiteral("文本 (*.txt);;全部 (*.*)"));
    EXPECT_EQ(QtUserInterface::qt_file_filter(""), QString());
    EXPECT_EQ(QtUserInterface::default_suffix("WINDOWS 图元文件(*.WMF)|*.WMF"), QStringLiteral("WMF"));
    EXPECT_EQ(QtUserInterface::default_suffix(kSaveFilter), QStringLiteral("KVD"));
    EXPECT_EQ(QtUserInterface::default_suffix("全部|*.*|"), QString());
}

TEST_F(DialogTest, SaveDialogProposesTheNameAndConfirmsOverwriting) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = (dir.path() + QStringLiteral("/T1_Qs.WMF")).toStdString();
    SaveDialogRequest request;
    request.proposed_name = path;
    request.filter = kMetafileFilter;
    request.title = kExportDialogTitle;
    when_modal<QFileDialog>([](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("导出图像文件"));
        EXPECT_EQ(d->nameFilters(), QStringList{QStringLiteral("WINDOWS 图元文件(*.WMF)")});
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(ui_.ask_save_path(request), path);

    std::ofstream(path) << "old";
    when_modal<QFileDialog>([this](QFileDialog* d) {
        answer_box(seen_, QMessageBox::Yes);
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(ui_.ask_save_path(request), path);
    EXPECT_EQ(seen_.size(), 1u);  // the overwrite question

    when_modal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_EQ(ui_.ask_save_path(request), std::nullopt);
}

TEST(NumberText, FieldsShowNumbersWithAPointAndNoNegativeZero) {
    EXPECT_EQ(number_text(-0.0), QStringLiteral("0"));
    EXPECT_EQ(number_text(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(number_text(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(number_text(1234.5, 2), QStringLiteral("1234.50"));
    EXPECT_EQ(parse_number(QStringLiteral(" 1.5 ")), 1.5);
    EXPECT_EQ(parse_number(QStringLiteral("1,5")), std::nullopt);
    EXPECT_EQ(parse_number(QStringLiteral("inf")), std::nullopt);
    EXPECT_EQ(parse_integer(QStringLiteral("12.0")), std::nullopt);
    EXPECT_EQ(parse_integer(QStringLiteral("-7")), -7);
}

}  // namespace
}  // namespace kvd::testing
