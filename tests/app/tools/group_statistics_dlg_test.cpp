// 工具 › 多桩统计: the files listed with their values and the statistics under
// them, damaged files listed with their reason and never counted, the same
// file refused, the small-cap option, the clipboard text, and the window
// opened from the main window's tools menu in the options' test folder.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/tools/group_statistics_dlg.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "record/test_file_reader.h"
#include "record/test_file_writer.h"

namespace kvd::testing {
namespace {

class GroupStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::unique_ptr<CGroupStatisticsDlg> make_window() {
        auto window = std::make_unique<CGroupStatisticsDlg>(ui_, dir_.path());
        window->set_file_chooser([this](const QString& folder) {
            chooser_folders_ << folder;
            return next_files_;
        });
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // The demo pile as an analysis file under another pile number, with a
    // typed choice of `value` kN made on its readings.
    QString pile_file(const char* number, double value) {
        Bytes bytes;
        TestRecord record;
        ReadReport report;
        EXPECT_TRUE(read_whole_file(sample("demo.PTX").toStdString(), bytes).ok());
        EXPECT_TRUE(read_record(bytes, record, report).ok());
        record.save_kind = FileKind::kAnalysis;
        record.test_params.pile_number = number;
        write_gbk_field(record.header.pile_number, number);
        record.engineer_choice = manual_choice(value, false, analyse_test(record), 1700000000);
        EXPECT_TRUE(write_record(record, bytes).ok());
        const QString path = dir_.filePath(QString::fromUtf8(number) + QStringLiteral(".KVD"));
        EXPECT_TRUE(replace_file_atomically(path.toStdString(), bytes).ok());
        return path;
    }

    static QString cell(const QTableWidget* table, int row, int column) {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QString();
    }

    // The summary line of a label ("平均值").
    static QString summary(const CGroupStatisticsDlg& window, const char* label) {
        const QTableWidget* table = window.summary_table();
        for (int r = 0; r < table->rowCount(); ++r) {
            if (cell(table, r, 0) == QString::fromUtf8(label)) return cell(table, r, 1);
        }
        return {};
    }

    std::vector<std::string> texts_shown() const {
        std::vector<std::string> texts;
        for (const auto& shown : ui_.shown()) texts.push_back(shown.text);
        return texts;
    }

    ModalWatchdog watchdog_;
    QTemporaryDir dir_;
    ScriptedUserInterface ui_;
    QStringList next_files_;
    QStringList chooser_folders_;
};

TEST_F(GroupStatisticsTest, ThreeSamplesShowThreeRowsAndTheRefusalOfMixedKinds) {
    auto window = make_window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("多桩统计"));
    QStringList headers;
    for (int c = 0; c < window->file_table()->columnCount(); ++c) {
        headers << window->file_table()->horizontalHeaderItem(c)->text();
    }
    EXPECT_EQ(headers, (QStringList{"序号", "试验编号", "文件", "值", "取值依据", "计入统计"}));

    next_files_ = {sample("demo.PTX"), sample("uplift.PTX"), sample("plate.PTX")};
    window->add_button()->click();
    EXPECT_EQ(chooser_folders_, QStringList{dir_.path()});
    const QTableWidget* list = window->file_table();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(list, 0, 1), QStringLiteral("S-12"));
    EXPECT_EQ(cell(list, 0, 2), QStringLiteral("demo.PTX"));
    EXPECT_EQ(cell(list, 0, 3), QStringLiteral("≥ 3000 kN"));
    EXPECT_TRUE(cell(list, 0, 4).startsWith(QStringLiteral("程序建议：")));
    EXPECT_EQ(cell(list, 1, 3), QStringLiteral("≥ 1200 kN"));
    EXPECT_EQ(cell(list, 2, 3), QStringLiteral("200 kPa"));
    // Piles and a plate are not one group: the analysis says so, nothing is counted.
    EXPECT_TRUE(
        summary(*window, "统计规则").contains(QStringLiteral("各试验的类型、标准或单位不一致")));
    EXPECT_TRUE(summary(*window, "统计值").endsWith(QStringLiteral("不给出（原因见统计规则）")));
    EXPECT_EQ(cell(list, 0, 5), QStringLiteral("否"));
    EXPECT_EQ(summary(*window, "平均值"), QStringLiteral("—"));
    EXPECT_TRUE(texts_shown().empty());
    keep_picture(window.get(), "group_statistics_samples.png");

    // Every column fits at the window's size; the long one wraps.
    const int used = list->horizontalHeader()->length();
    EXPECT_LE(used, list->viewport()->width() + 1);
}

TEST_F(GroupStatisticsTest, ChoicesMakeTheStatisticsAndADamagedFileIsListedNotCounted) {
    auto window = make_window();
    const QString s1 = pile_file("S-1", 2700);
    const QString s2 = pile_file("S-2", 3000);
    const QString s3 = pile_file("S-3", 3300);
    window->add_files({s1, s2, s3});
    const QTableWidget* list = window->file_table();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(cell(list, 1, 3), QStringLiteral("3000 kN"));
    EXPECT_EQ(cell(list, 1, 4), QStringLiteral("工程师选定：手动取值"));
    EXPECT_EQ(cell(list, 1, 5), QStringLiteral("是"));
    // 2700, 3000, 3300: mean 3000, range 600 = 20 % of it.
    EXPECT_EQ(summary(*window, "数量"), QStringLiteral("3 个参加统计（共 3 个文件）"));
    EXPECT_EQ(summary(*window, "平均值"), QStringLiteral("3000 kN"));
    EXPECT_EQ(summary(*window, "极差"), QStringLiteral("600 kN"));
    EXPECT_EQ(summary(*window, "极差/平均值"), QStringLiteral("20.0%"));
    EXPECT_EQ(summary(*window, "最小值"), QStringLiteral("2700 kN"));
    EXPECT_EQ(summary(*window, "最大值"), QStringLiteral("3300 kN"));
    EXPECT_TRUE(summary(*window, "统计值").endsWith(QStringLiteral("：3000 kN")));
    EXPECT_TRUE(summary(*window, "特征值").endsWith(QStringLiteral("：1500 kN")));
    EXPECT_TRUE(summary(*window, "统计规则").contains(QStringLiteral("取平均值")));

    // The bytes of a fourth file cut short: listed with the reason, the three stay as they were.
    QByteArray bytes = file_bytes(s1);
    bytes.chop(150);
    const QString cut = dir_.filePath(QStringLiteral("S-4.KVD"));
    ASSERT_TRUE(write_bytes(cut, bytes));
    window->add_files({cut});
    ASSERT_EQ(list->rowCount(), 4);
    EXPECT_EQ(cell(list, 3, 1), QStringLiteral("S-4.KVD"));
    EXPECT_EQ(cell(list, 3, 3), QStringLiteral("—"));
    EXPECT_TRUE(cell(list, 3, 4).contains(QStringLiteral("文件已损坏")))
        << cell(list, 3, 4).toStdString();
    EXPECT_EQ(cell(list, 3, 5), QStringLiteral("否"));
    EXPECT_EQ(summary(*window, "数量"), QStringLiteral("3 个参加统计（共 4 个文件）"));
    EXPECT_EQ(summary(*window, "平均值"), QStringLiteral("3000 kN"));
    window->file_table()->selectRow(3);
    EXPECT_TRUE(window->detail_label()->text().contains(QStringLiteral("文件已损坏")));
    keep_picture(window.get(), "group_statistics_piles.png");

    // The small cap takes the lowest pile.
    window->small_cap_box()->setChecked(true);
    EXPECT_TRUE(summary(*window, "统计值").endsWith(QStringLiteral("：2700 kN")));
    EXPECT_TRUE(summary(*window, "统计规则").contains(QStringLiteral("承台下桩数不大于 3 根")));
    EXPECT_TRUE(summary(*window, "统计规则").contains(QStringLiteral("S-1")));
    window->small_cap_box()->setChecked(false);
    EXPECT_TRUE(summary(*window, "统计值").endsWith(QStringLiteral("：3000 kN")));

    // The clipboard gets the table as tab-separated text with its header.
    window->copy_button()->click();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral(
        "序号\t试验编号\t文件\t值\t取值依据\t计入统计\n1\tS-1\tS-1.KVD\t2700 kN\t")));
    EXPECT_TRUE(copied.contains(QStringLiteral("\n平均值\t3000 kN\n")));

    // Removing the damaged file and a pile: two piles left take the lower one.
    window->file_table()->selectRow(3);
    window->remove_button()->click();
    window->file_table()->selectRow(2);
    window->remove_button()->click();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_TRUE(summary(*window, "统计值").endsWith(QStringLiteral("：2700 kN")));
    window->clear_button()->click();
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_FALSE(window->copy_button()->isEnabled());
    EXPECT_TRUE(texts_shown().empty());
}

TEST_F(GroupStatisticsTest, TheSameFileOrTheSameTestTwiceIsRefusedWithAWord) {
    auto window = make_window();
    const QString s1 = pile_file("S-1", 2700);
    window->add_files({s1});
    // The same file by another way of writing its path.
    window->add_files({dir_.path() + QStringLiteral("/./S-1.KVD")});
    EXPECT_EQ(window->file_table()->rowCount(), 1);
    ASSERT_EQ(texts_shown(), std::vector<std::string>{"S-1.KVD 已在列表中，未重复添加。"});
    ui_.clear_log();
    // The same test in a copy under another name.
    const QString copy = dir_.filePath(QStringLiteral("copy.KVD"));
    ASSERT_TRUE(QFile::copy(s1, copy));
    window->add_files({copy});
    EXPECT_EQ(window->file_table()->rowCount(), 1);
    ASSERT_EQ(texts_shown().size(), 1u);
    EXPECT_EQ(texts_shown()[0],
              "copy.KVD 与已添加的 S-1.KVD 是同一试验（S-1）的数据，未重复添加。");
}

class GroupStatisticsCommandTest : public FrameTest {};

TEST_F(GroupStatisticsCommandTest, ToolsMenuOpensTheWindowInTheTestFolder) {
    CMainFrame& main = make_frame();
    QDir(dir_.path()).mkpath(QStringLiteral("tests"));
    DocumentSettings settings = doc().settings();
    settings.test_folder = path("tests").toStdString();
    doc().apply_settings(settings);
    QAction* command = main.action(frame_command::kGroupStatistics);
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(command->text(), QStringLiteral("多桩统计(&S)..."));
    EXPECT_FALSE(command->statusTip().isEmpty());

    QString started_in;
    when_modal<CGroupStatisticsDlg>([&started_in](CGroupStatisticsDlg* window) {
        window->set_file_chooser([&started_in](const QString& folder) {
            started_in = folder;
            return QStringList{};
        });
        window->add_button()->click();
        window->reject();
    });
    EXPECT_TRUE(main.run_command(frame_command::kGroupStatistics));
    EXPECT_EQ(started_in, path("tests"));
    EXPECT_FALSE(doc().is_modified());
}

TEST_F(GroupStatisticsCommandTest, TheWindowsTableIsWrittenAsAWordDocument) {
    CMainFrame& main = make_frame();
    const std::string written = path("统计.docx").toStdString();
    ui_.queue_save_path(written);
    when_modal<CGroupStatisticsDlg>([](CGroupStatisticsDlg* window) {
        EXPECT_FALSE(window->word_button()->isEnabled());
        EXPECT_FALSE(window->preview_button()->isEnabled());
        window->add_files({QStringLiteral(KVD_SOURCE_DIR "/samples/demo.PTX")});
        EXPECT_TRUE(window->preview_button()->isEnabled());
        window->word_button()->click();
        window->reject();
    });
    EXPECT_TRUE(main.run_command(frame_command::kGroupStatistics));
    Bytes document;
    ASSERT_TRUE(read_whole_file(written, document).ok());
    EXPECT_GT(document.size(), 1000u);
    EXPECT_EQ(std::string(document.begin(), document.begin() + 2), "PK");
}

}  // namespace
}  // namespace kvd::testing
