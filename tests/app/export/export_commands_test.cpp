// "输出到Word文档(&W)" and "输出到Excel文档(&E)" from the main window: the
// options dialog (its defaults and the raw record rule), the save dialog's
// proposal, the written files, and the hand-over to the desktop's
// application (replaced here, so nothing is launched).

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/export/report_exporter.h"
#include "app/export/to_word_opt.h"
#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

class ExportCommandsTest : public FrameTest {
protected:
    void make() {
        make_frame();
        frame().report_exporter().set_opener([this](const QString& path) {
            opened_ << path;
            return true;
        });
    }
    QStringList opened_;
};

TEST_F(ExportCommandsTest, OptionsDialogDefaultsAndTheRawRecordRule) {
    CToWordOpt with_raw(true);
    EXPECT_EQ(with_raw.windowTitle(), QStringLiteral("输出到word选项"));
    EXPECT_EQ(with_raw.options(), (WordReportOptions{true, false, false, true}));
    EXPECT_TRUE(with_raw.raw_box()->isEnabled());
    with_raw.raw_box()->setChecked(true);
    EXPECT_TRUE(with_raw.options().raw);
    keep_picture(&with_raw, "to_word_options.png");

    CToWordOpt without_raw(false);
    EXPECT_FALSE(without_raw.raw_box()->isEnabled());
    without_raw.raw_box()->setChecked(true);
    EXPECT_FALSE(without_raw.options().raw);

    // The interpretation: off unless checked.
    CToWordOpt analysis(true);
    EXPECT_EQ(analysis.analysis_box()->text(), QStringLiteral("承载力分析"));
    EXPECT_FALSE(analysis.analysis_box()->isChecked());
    EXPECT_FALSE(analysis.options().analysis);
    analysis.analysis_box()->setChecked(true);
    EXPECT_EQ(analysis.options(), (WordReportOptions{true, false, false, true, true}));
}

TEST_F(ExportCommandsTest, WordExportWritesTheReportAndOpensIt) {
    make();
    const QString test = copy("demo.PTX");
    ASSERT_TRUE(frame().open_file(test));
    EXPECT_TRUE(frame().action(kWordExport)->isEnabled());
    const QString target = path("report.docx");
    ui_.queue_save_path(target.toStdString());
    when_modal<CToWordOpt>([](CToWordOpt* dialog) {
        EXPECT_TRUE(dialog->raw_box()->isEnabled());  // the demo has its raw records
        dialog->detail_box()->setChecked(true);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_TRUE(frame().run_command(kWordExport));
    ASSERT_EQ(opened_, QStringList{target});
    EXPECT_TRUE(QFileInfo::exists(target));
    ASSERT_FALSE(ui_.shown().empty());
    EXPECT_EQ(ui_.shown().back().text, "转换完成");
    ASSERT_FALSE(ui_.save_requests().empty());
    EXPECT_EQ(QString::fromStdString(ui_.save_requests().back().proposed_name),
              path("demo.docx"));

    // Cancel in the options dialog: no save dialog, nothing written.
    const std::size_t asked = ui_.save_requests().size();
    when_modal<CToWordOpt>([](CToWordOpt* dialog) { dialog->reject(); });
    EXPECT_FALSE(frame().run_command(kWordExport));
    EXPECT_EQ(ui_.save_requests().size(), asked);
    EXPECT_EQ(opened_.size(), 1);
}

TEST_F(ExportCommandsTest, ExcelExportAppendsTheExtensionAndOpensIt) {
    make();
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    ui_.queue_save_path(path("raw").toStdString());
    EXPECT_TRUE(frame().run_command(kExcelExport));
    ASSERT_EQ(opened_, QStringList{path("raw.xls")});
    EXPECT_GT(QFileInfo(path("raw.xls")).size(), 0);
    // Cancel writes and opens nothing.
    EXPECT_FALSE(frame().run_command(kExcelExport));
    EXPECT_EQ(opened_.size(), 1);
}

}  // namespace
}  // namespace kvd::testing
