// The open dialog with its preview: what it shows for each kind of file, and
// what File › Open does with the class of the chosen one. Files are chosen by
// typing their names into the dialog's name field, as a user may.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <cstring>

#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/tools/file_preview_wnd.h"
#include "app/tools/preview_file_dlg.h"
#include "base/file_io.h"
#include "record/test_file_reader.h"
#include "record/test_file_writer.h"

namespace kvd::testing {
namespace {

// Types the file's name into the dialog's name field.
void choose(CPreviewFileDlg* dialog, const QString& file) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QFileInfo(file).fileName());
}

class PreviewDialogTest : public FrameTest {
protected:
    // An analysis file (with its raw record) made from a sample test file.
    QString analysis_from(const char* sample_name, const char* name) {
        Bytes bytes;
        EXPECT_TRUE(read_whole_file(sample(sample_name).toStdString(), bytes).ok());
        TestRecord record;
        ReadReport report;
        EXPECT_TRUE(read_record(bytes, record, report).ok());
        record.save_kind = FileKind::kAnalysisWithRaw;
        Bytes out;
        EXPECT_TRUE(write_record(record, out).ok());
        const QString target = path(name);
        EXPECT_TRUE(write_bytes(target, QByteArray(reinterpret_cast<const char*>(out.data()),
                                                   static_cast<qsizetype>(out.size()))));
        return target;
    }

    // A copy of a sample with a newer version number.
    QString newer_file() {
        const QString target = copy("demo.KVD", "newer.KVD");
        QByteArray bytes = file_bytes(target);
        const double version = 2013.0918;
        std::memcpy(bytes.data() + 10, &version, sizeof version);
        EXPECT_TRUE(write_bytes(target, bytes));
        return target;
    }

    QString file_with(const char* name, const QByteArray& bytes) {
        EXPECT_TRUE(write_bytes(path(name), bytes));
        return path(name);
    }

    // Shows the dialog on the test's folder with `file` selected in its list.
    std::unique_ptr<CPreviewFileDlg> dialog_on(const QString& file) {
        auto dialog = std::make_unique<CPreviewFileDlg>(nullptr, dir_.path());
        dialog->resize(760, 640);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        choose(dialog.get(), file);
        EXPECT_TRUE(wait_until([&] { return dialog->previewed_path() == file; }))
            << dialog->previewed_path().toStdString();
        return dialog;
    }

    // Runs File › Open choosing `file`; whether the document opened it.
    bool open_through_dialog(const QString& file, bool preview = true) {
        when_modal<CPreviewFileDlg>([file, preview](CPreviewFileDlg* dialog) {
            dialog->preview_box()->setChecked(preview);
            choose(dialog, file);
            dialog->accept();
        });
        return frame().run_command(frame_command::kOpen);
    }
};

TEST_F(PreviewDialogTest, UnfinishedTestShowsItsSummaryAndAsksBeforeOpening) {
    const QString file = copy("unfinished.PTX");
    auto dialog = dialog_on(file);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("打开"));
    EXPECT_EQ(dialog->preview_box()->text(), QStringLiteral(" 预览"));
    EXPECT_TRUE(dialog->preview_box()->isChecked());
    EXPECT_EQ(dialog->preview().probe.file_class, FileClass::kUnfinished);
    const QString info = dialog->info_window()->text();
    EXPECT_TRUE(info.startsWith(QStringLiteral(" 工地："))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("\n 最后记录时间：20"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("\n 原始数据个数："))) << info.toStdString();
    EXPECT_EQ(dialog->curve_window()->picture(), PreviewPicture::kText);
    EXPECT_EQ(dialog->curve_window()->text(), QStringLiteral("\n\n\n   该文件试验未结束  ！"));
    keep_picture(dialog.get(), "preview_unfinished_test.png");

    // Turned off, the preview shows a cross and no summary.
    dialog->preview_box()->setChecked(false);
    EXPECT_EQ(dialog->curve_window()->picture(), PreviewPicture::kCross);
    EXPECT_TRUE(dialog->info_window()->text().isEmpty());
    dialog.reset();

    make_frame();
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(open_through_dialog(file));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kQuestionUnfinished);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_TRUE(doc().path().empty());
    // Yes opens it, and the document does not ask a second time.
    ui_.clear_log();
    EXPECT_TRUE(open_through_dialog(file));
    EXPECT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(QString::fromStdString(doc().path()), file);
}

TEST_F(PreviewDialogTest, AnalysisFilesDrawTheirCurveUpwardsForUpliftTests) {
    const QString uplift = analysis_from("uplift.PTX", "uplift.KVD");
    auto dialog = dialog_on(uplift);
    EXPECT_EQ(dialog->preview().probe.file_class, FileClass::kReadable);
    CFilePreviewWnd* curve = dialog->curve_window();
    ASSERT_EQ(curve->picture(), PreviewPicture::kCurve);
    PreviewCurveGeometry geometry = curve->geometry();
    EXPECT_EQ(geometry.origin.y, curve->height() - 10);  // bottom-left
    EXPECT_LT(geometry.displacement_axis_end.y, geometry.origin.y);
    ASSERT_GE(geometry.points.size(), 3u);
    EXPECT_LT(geometry.points.back().y, geometry.origin.y);
    EXPECT_TRUE(dialog->info_window()->text().contains(QStringLiteral(" 最终上拔量：")));
    EXPECT_TRUE(dialog->info_window()->text().contains(QStringLiteral(" 包含原始记录：是")));
    keep_picture(dialog.get(), "preview_uplift_analysis.png");

    // A compression test runs down from the top-left corner.
    const QString demo = copy("demo.KVD");
    choose(dialog.get(), demo);
    ASSERT_TRUE(wait_until([&] { return dialog->previewed_path() == demo; }));
    geometry = curve->geometry();
    EXPECT_EQ(geometry.origin.y, 10);
    EXPECT_GT(geometry.points.back().y, geometry.origin.y);
    keep_picture(dialog.get(), "preview_analysis.png");

    // Resizing stretches the curve area with the dialog.
    const int before = curve->width();
    dialog->resize(dialog->width() + 120, dialog->height());
    EXPECT_TRUE(wait_until([&] { return curve->width() > before; }));

    // A finished test file has a summary but no picture.
    const QString test = copy("demo.PTX");
    choose(dialog.get(), test);
    ASSERT_TRUE(wait_until([&] { return dialog->previewed_path() == test; }));
    EXPECT_EQ(curve->text(), QStringLiteral("\n\n\n   测试文件\n 无法预览图像 ！"));
    keep_picture(dialog.get(), "preview_test_file.png");
}

TEST_F(PreviewDialogTest, NewerForeignAndDamagedFilesAreDescribedAndNotOpened) {
    const QString newer = newer_file();
    const QString foreign =
        file_with("foreign.KVD", QByteArray("VXRAC\0\0\0\0\0", 10) + QByteArray(8, '\0') +
                                     QByteArray("\x09\0\0\0", 4));
    const QString junk = file_with("junk.PTX", QByteArray(5000, '\x5A'));
    const QString old = file_with("old.PTX", QByteArray("meyptx") + QByteArray(100, '\0'));

    auto dialog = dialog_on(newer);
    EXPECT_EQ(dialog->info_window()->text(),
              QStringLiteral("\n\n\n 该文件为高版本所创建文件\n 无法打开 ！"));
    EXPECT_EQ(dialog->curve_window()->picture(), PreviewPicture::kCross);
    keep_picture(dialog.get(), "preview_newer_version.png");
    choose(dialog.get(), foreign);
    ASSERT_TRUE(wait_until([&] { return dialog->previewed_path() == foreign; }));
    EXPECT_EQ(dialog->info_window()->text(),
              QStringLiteral("\n\n\n   该文件不是KV静载文件\n 无法打开 ！"));
    keep_picture(dialog.get(), "preview_foreign.png");
    choose(dialog.get(), old);
    ASSERT_TRUE(wait_until([&] { return dialog->previewed_path() == old; }));
    EXPECT_EQ(dialog->info_window()->text(),
              QStringLiteral("\n\n\n   老版本PTX文件\n 无法预览详细数据 ！"));
    keep_picture(dialog.get(), "preview_old_format.png");
    choose(dialog.get(), junk);
    ASSERT_TRUE(wait_until([&] { return dialog->previewed_path() == junk; }));
    EXPECT_TRUE(dialog->info_window()->text().isEmpty());
    EXPECT_EQ(dialog->curve_window()->picture(), PreviewPicture::kCross);
    dialog.reset();

    make_frame();
    ASSERT_TRUE(frame().open_file(copy("demo.PTX")));
    const std::string opened = doc().path();
    ui_.clear_log();
    struct Case {
        QString file;
        const char* message;
    };
    for (const Case& c : {Case{newer, kMessageNewerVersion}, Case{foreign, kMessageUnknownType},
                          Case{junk, kMessageCannotOpen}}) {
        // Classified when chosen, preview or not.
        for (bool preview : {true, false}) {
            ui_.clear_log();
            EXPECT_FALSE(open_through_dialog(c.file, preview)) << c.file.toStdString();
            ASSERT_EQ(ui_.shown().size(), 1u) << c.file.toStdString();
            EXPECT_EQ(ui_.shown()[0].text, c.message);
            EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
            EXPECT_EQ(doc().path(), opened);
        }
    }
}

TEST_F(PreviewDialogTest, FirstOpenStartsInTheTestFileFolder) {
    make_frame();
    DocumentSettings settings = doc().settings();
    settings.test_folder = path("tests").toStdString();
    doc().apply_settings(settings);
    ASSERT_TRUE(QDir().mkpath(path("tests")));
    auto folders = std::make_shared<QStringList>();
    for (int i = 0; i < 2; ++i) {
        when_modal<CPreviewFileDlg>([folders](CPreviewFileDlg* dialog) {
            *folders << dialog->directory().absolutePath();
            dialog->reject();
        });
        EXPECT_FALSE(frame().run_command(frame_command::kOpen));
    }
    ASSERT_EQ(folders->size(), 2);
    EXPECT_EQ(folders->at(0), path("tests"));
}

}  // namespace
}  // namespace kvd::testing
