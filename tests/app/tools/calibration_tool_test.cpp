// The calibration table tool (率定表工具): the rows it makes, the questions
// it asks, the files it reads and writes, and that a failed read or write
// keeps the tool open with the table being typed.

#include <gtest/gtest.h>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/tools/lv_ding_tool_dlg.h"
#include "base/text_codec.h"

namespace kvd::testing {
namespace {

void fill(CLvDingToolDlg& tool, const char* number, const char* range, const char* interval) {
    tool.number_field()->setText(QString::fromUtf8(number));
    tool.date_field()->setText(QStringLiteral("2024-05-06"));
    tool.range_field()->setText(QString::fromUtf8(range));
    tool.interval_field()->setText(QString::fromUtf8(interval));
}

class CalibrationToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.filePath(QStringLiteral("率定表文件"));
    }

    std::unique_ptr<CLvDingToolDlg> make_tool() {
        auto tool = std::make_unique<CLvDingToolDlg>(ui_, folder_);
        tool->set_open_path_chooser(
            [this](const QString& folder, const QString& filter, const QString& title) {
                chooser_calls_.push_back({folder, filter, title});
                return next_path_;
            });
        tool->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(tool.get()));
        return tool;
    }

    static QStringList column(const CLvDingToolDlg& tool, int c) {
        QStringList texts;
        for (int r = 0; r < tool.list()->rowCount(); ++r) texts << tool.list()->item(r, c)->text();
        return texts;
    }

    static QStringList headers(const CLvDingToolDlg& tool) {
        QStringList texts;
        for (int c = 0; c < 3; ++c) texts << tool.list()->horizontalHeaderItem(c)->text();
        return texts;
    }

    static void click_ok(CLvDingToolDlg& tool) {
        tool.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }

    QString write_table_file(const char* name, const std::string& utf8_text) {
        const QString path = dir_.filePath(QString::fromUtf8(name));
        const std::string gbk = utf8_to_gbk(utf8_text);
        EXPECT_TRUE(write_bytes(path, QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size()))));
        return path;
    }

    std::vector<std::string> texts_shown() const {
        std::vector<std::string> texts;
        for (const auto& shown : ui_.shown()) texts.push_back(shown.text);
        return texts;
    }

    struct ChooserCall {
        QString folder, filter, title;
    };
    QTemporaryDir dir_;
    QString folder_;
    ScriptedUserInterface ui_;
    QString next_path_;
    std::vector<ChooserCall> chooser_calls_;
};

TEST_F(CalibrationToolTest, NewRowsFollowTheRangeAndTheInterval) {
    auto tool = make_tool();
    EXPECT_EQ(tool->windowTitle(), QStringLiteral("率定表工具"));
    EXPECT_TRUE(tool->type_button(CalibrationType::kDisplacement)->isChecked());
    EXPECT_TRUE(tool->mode_button(CLvDingToolDlg::kNewTable)->isChecked());
    EXPECT_EQ(headers(*tool), (QStringList{"序号", "位移(mm)", "频率(HZ)"}));
    EXPECT_EQ(tool->range_label()->text(), QStringLiteral("位移表最大量程(mm)"));
    for (int c = 0; c < 3; ++c) EXPECT_EQ(tool->list()->columnWidth(c), 114);

    // Nothing typed yet: the parameters are asked for, and the list is not editable.
    tool->new_rows_button()->click();
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kMessageEmptyCalibrationParams});
    ui_.clear_log();
    send_mouse(tool->list()->viewport(), QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton,
               Qt::LeftButton);
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kMessageOpenOrCreateFirst});

    fill(*tool, "W-1", "10", "3");
    ui_.clear_log();
    tool->new_rows_button()->click();
    EXPECT_TRUE(ui_.shown().empty());
    EXPECT_EQ(column(*tool, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(*tool, 1), (QStringList{"0.00", "3.00", "6.00", "9.00"}));
    EXPECT_EQ(column(*tool, 2), (QStringList{"", "", "", ""}));
    keep_picture(tool.get(), "calibration_tool_displacement.png");

    // New rows over rows ask first; No keeps them.
    tool->interval_field()->setText(QStringLiteral("30"));
    ui_.queue_answer(MessageAnswer::kNo);
    tool->new_rows_button()->click();
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionReplaceRows});
    EXPECT_EQ(tool->list()->rowCount(), 4);
    // Yes: an interval above the range gives the single first row.
    tool->new_rows_button()->click();
    EXPECT_EQ(column(*tool, 0), QStringList{"1"});
    EXPECT_EQ(column(*tool, 1), QStringList{"0.00"});
    // A range that is not a number is refused and the rows stay.
    tool->range_field()->setText(QStringLiteral("十"));
    ui_.clear_log();
    tool->new_rows_button()->click();
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_EQ(tool->list()->rowCount(), 1);
}

TEST_F(CalibrationToolTest, EditsInPlaceFormatValuesAndKeepReadingsAsTyped) {
    auto tool = make_tool();
    fill(*tool, "W-2", "6", "2");
    tool->new_rows_button()->click();
    ASSERT_EQ(tool->list()->rowCount(), 4);
    EXPECT_FALSE(tool->is_modified());

    // A click on a value opens the edit box over it; Enter closes it.
    QTableWidget* list = tool->list();
    const QRect cell = list->visualItemRect(list->item(1, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(wait_until([&] { return (editor = list->viewport()->findChild<QLineEdit*>()); }));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("2.5"));
    QTest::keyClick(editor, Qt::Key_Return);  // the edit box closes on the next turn
    EXPECT_TRUE(wait_until([&] { return list->item(1, 1)->text() == QStringLiteral("2.50"); }))
        << list->item(1, 1)->text().toStdString();
    EXPECT_TRUE(tool->is_modified());

    // Readings stay as typed; a value that is no number is refused and kept.
    list->item(1, 2)->setText(QStringLiteral(" 1234.5 Hz"));
    list->item(2, 1)->setText(QStringLiteral("abc"));
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kMessageValueNotNumber});
    EXPECT_EQ(list->item(2, 1)->text(), QStringLiteral("4.00"));
    const CalibrationTable table = tool->table();
    EXPECT_EQ(table.rows[1], (CalibrationRow{"2.50", " 1234.5 Hz"}));
    EXPECT_EQ(table.rows[2].value, "4.00");
    // The row numbers are not editable.
    EXPECT_FALSE(list->item(0, 0)->flags() & Qt::ItemIsEditable);
}

TEST_F(CalibrationToolTest, JackTableIsSavedWithTheDisplacementCaptions) {
    auto tool = make_tool();
    tool->type_button(CalibrationType::kJack)->click();
    EXPECT_TRUE(ui_.shown().empty());  // no rows yet: nothing to ask
    EXPECT_EQ(headers(*tool), (QStringList{"序号", "荷载(KN)", "压强(Mpa)"}));
    EXPECT_EQ(tool->range_label()->text(), QStringLiteral("位移表最大量程(KN)"));
    EXPECT_EQ(tool->interval_label()->text(), QStringLiteral("率定间隔(KN)"));
    fill(*tool, "QJ-08", "2000", "1000");
    tool->new_rows_button()->click();
    tool->list()->item(1, 2)->setText(QStringLiteral("12.6"));
    tool->list()->item(2, 2)->setText(QStringLiteral("25.1"));
    keep_picture(tool.get(), "calibration_tool_jack.png");

    click_ok(*tool);  // "是否保存当前率定表？" answered Yes
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionSave});
    EXPECT_EQ(tool->result(), QDialog::Accepted);
    const QByteArray bytes = file_bytes(folder_ + QStringLiteral("/QJ-08.qld"));
    const std::string expected =
        "位移计率定表\n编号：,QJ-08\n率定日期：,2024-05-06\n率定最大量程（mm）：,2000\n"
        "率定间隔（mm）：,1000\n位移（mm）,频率（Hz）\n0.00,\n1000.00,12.6\n2000.00,25.1\n";
    EXPECT_EQ(bytes.toStdString(), utf8_to_gbk(expected));
}

TEST_F(CalibrationToolTest, SwitchingTheTypeWithRowsAsksAndClears) {
    auto tool = make_tool();
    fill(*tool, "W-3", "10", "5");
    tool->new_rows_button()->click();
    ASSERT_EQ(tool->list()->rowCount(), 3);

    ui_.queue_answer(MessageAnswer::kNo);
    tool->type_button(CalibrationType::kJack)->click();
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionSwitchToJack});
    EXPECT_TRUE(tool->type_button(CalibrationType::kDisplacement)->isChecked());
    EXPECT_EQ(tool->list()->rowCount(), 3);
    EXPECT_EQ(headers(*tool)[1], QStringLiteral("位移(mm)"));

    tool->type_button(CalibrationType::kJack)->click();  // Yes
    EXPECT_EQ(tool->table_type(), CalibrationType::kJack);
    EXPECT_EQ(tool->list()->rowCount(), 0);
    EXPECT_EQ(headers(*tool)[1], QStringLiteral("荷载(KN)"));
    EXPECT_TRUE(tool->new_rows_button()->isVisible());

    tool->new_rows_button()->click();
    ui_.clear_log();
    tool->type_button(CalibrationType::kDisplacement)->click();
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionSwitchToDisplacement});
    EXPECT_EQ(tool->list()->rowCount(), 0);
}

TEST_F(CalibrationToolTest, OpensExistingTablesAsTheFieldTesterAndSpreadsheetsWriteThem) {
    auto tool = make_tool();
    // A spreadsheet's quoted parameters, CR LF line ends, a line without a comma.
    next_path_ = write_table_file(
        "old.wld",
        "位移计率定表\r\n编号：,\"W-9\"\r\n率定日期：,\"2023-01-02\"\r\n"
        "率定最大量程（mm）：,\"50\"\r\n率定间隔（mm）：,\"25\"\r\n位移（mm）,频率（Hz）\r\n"
        "0.00,1500.2\r\n25.00,1720\r\n1980.5\r\n");
    tool->mode_button(CLvDingToolDlg::kExistingTable)->click();
    ASSERT_EQ(chooser_calls_.size(), 1u);
    EXPECT_EQ(chooser_calls_[0].folder, folder_);
    EXPECT_EQ(chooser_calls_[0].filter, QStringLiteral("位移率定表文件 (*.wld)"));
    EXPECT_EQ(chooser_calls_[0].title, QStringLiteral("打开位移率定表文件"));
    EXPECT_EQ(tool->mode(), CLvDingToolDlg::kExistingTable);
    EXPECT_FALSE(tool->new_rows_button()->isVisible());
    EXPECT_EQ(tool->number_field()->text(), QStringLiteral("W-9"));
    EXPECT_EQ(tool->date_field()->text(), QStringLiteral("2023-01-02"));
    EXPECT_EQ(tool->range_field()->text(), QStringLiteral("50"));
    EXPECT_EQ(column(*tool, 1), (QStringList{"0.00", "25.00", ""}));
    EXPECT_EQ(column(*tool, 2), (QStringList{"1500.2", "1720", "1980.5"}));

    // Unchanged, OK closes without writing.
    const QByteArray before = file_bytes(next_path_);
    click_ok(*tool);
    EXPECT_EQ(tool->result(), QDialog::Accepted);
    EXPECT_EQ(file_bytes(next_path_), before);
    EXPECT_TRUE(ui_.shown().empty());

    // A changed parameter is a change: saved over the opened file, unquoted, LF only.
    tool = make_tool();
    tool->mode_button(CLvDingToolDlg::kExistingTable)->click();
    tool->date_field()->setFocus();
    QTest::keyClicks(tool->date_field(), QStringLiteral("7"));
    EXPECT_TRUE(tool->is_modified());
    click_ok(*tool);
    EXPECT_EQ(tool->result(), QDialog::Accepted);
    const std::string saved = gbk_to_utf8(file_bytes(next_path_).toStdString());
    EXPECT_EQ(saved.substr(0, saved.find("率定最大")),
              "位移计率定表\n编号：,W-9\n率定日期：,2023-01-027\n");
    EXPECT_NE(saved.find("\n,1980.5\n"), std::string::npos) << saved;
}

TEST_F(CalibrationToolTest, AFileThatCannotBeReadOrWrittenKeepsTheToolAndItsTable) {
    auto tool = make_tool();
    fill(*tool, "W-4", "4", "2");
    tool->new_rows_button()->click();
    tool->list()->item(2, 2)->setText(QStringLiteral("999"));

    // Opening: the discard question first; a file that cannot be read changes nothing.
    next_path_ = dir_.filePath(QStringLiteral("missing.wld"));
    tool->mode_button(CLvDingToolDlg::kExistingTable)->click();
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[0].text, kQuestionDiscardForOpen);
    EXPECT_EQ(ui_.shown()[1].icon, MessageIcon::kError);
    EXPECT_EQ(tool->mode(), CLvDingToolDlg::kNewTable);
    EXPECT_TRUE(tool->mode_button(CLvDingToolDlg::kNewTable)->isChecked());
    EXPECT_EQ(column(*tool, 2)[2], QStringLiteral("999"));
    EXPECT_TRUE(tool->is_modified());
    // Cancel in the open dialog changes nothing either.
    next_path_.clear();
    ui_.clear_log();
    tool->mode_button(CLvDingToolDlg::kExistingTable)->click();
    EXPECT_EQ(tool->mode(), CLvDingToolDlg::kNewTable);
    EXPECT_EQ(tool->list()->rowCount(), 3);

    // Saving where no folder can be made: reported, the tool stays open.
    QFile blocker(folder_);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ui_.clear_log();
    click_ok(*tool);
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].icon, MessageIcon::kError);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_EQ(tool->table().rows[2].reading, "999");

    // A number that cannot name a file is refused before anything is written.
    QFile::remove(folder_);
    tool->number_field()->setText(QStringLiteral("W/4"));
    ui_.clear_log();
    click_ok(*tool);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_FALSE(QDir(folder_).exists());

    // A table of that number exists already: overwriting asks; No keeps both.
    tool->number_field()->setText(QStringLiteral("W-4"));
    ASSERT_TRUE(QDir().mkpath(folder_));
    ASSERT_TRUE(write_bytes(folder_ + QStringLiteral("/W-4.wld"), "kept"));
    ui_.queue_answer(MessageAnswer::kYes);
    ui_.queue_answer(MessageAnswer::kNo);
    click_ok(*tool);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_EQ(file_bytes(folder_ + QStringLiteral("/W-4.wld")), QByteArray("kept"));

    // Closing a changed table asks; No keeps it open.
    ui_.queue_answer(MessageAnswer::kNo);
    tool->reject();
    EXPECT_TRUE(tool->isVisible());
    tool->reject();  // Yes
    EXPECT_FALSE(tool->isVisible());
}

TEST_F(CalibrationToolTest, SwitchingToANewTableAsksWhenChangedAndClears) {
    auto tool = make_tool();
    fill(*tool, "W-5", "4", "2");
    tool->new_rows_button()->click();
    tool->list()->item(1, 2)->setText(QStringLiteral("1"));
    ui_.queue_answer(MessageAnswer::kNo);
    tool->mode_button(CLvDingToolDlg::kNewTable)->click();
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionDiscardForNew});
    EXPECT_EQ(tool->list()->rowCount(), 3);
    tool->mode_button(CLvDingToolDlg::kNewTable)->click();  // Yes
    EXPECT_EQ(tool->list()->rowCount(), 0);
    EXPECT_TRUE(tool->number_field()->text().isEmpty());
    EXPECT_FALSE(tool->is_modified());

    // A new table never edited asks whether to save it at all.
    fill(*tool, "W-6", "2", "2");
    tool->new_rows_button()->click();
    ui_.clear_log();
    ui_.queue_answer(MessageAnswer::kNo);
    click_ok(*tool);
    EXPECT_EQ(texts_shown(), std::vector<std::string>{kQuestionSaveUnmodified});
    EXPECT_EQ(tool->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(folder_ + QStringLiteral("/W-6.wld")));
}

// ---- from the main window ------------------------------------------------

class CalibrationCommandTest : public FrameTest {};

TEST_F(CalibrationCommandTest, ToolsMenuOpensTheToolOnTheOptionsFolder) {
    CMainFrame& main = make_frame();
    DocumentSettings settings = doc().settings();
    settings.calibration_folder = path("tables").toStdString();
    doc().apply_settings(settings);
    QAction* command = main.action(frame_command::kCalibrationTool);
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());

    when_modal<CLvDingToolDlg>([](CLvDingToolDlg* tool) {
        fill(*tool, "W-7", "2", "1");
        tool->new_rows_button()->click();
        tool->list()->item(1, 2)->setText(QStringLiteral("3.3"));
        tool->accept();
    });
    EXPECT_TRUE(main.run_command(frame_command::kCalibrationTool));
    EXPECT_TRUE(QFile::exists(path("tables/W-7.wld")));
}

}  // namespace
}  // namespace kvd::testing
