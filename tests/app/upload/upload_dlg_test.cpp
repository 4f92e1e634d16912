// The upload dialog (上传原始数据) uploading the demo to the station simulator
// on 127.0.0.1: what it shows before, during and after, the settings it
// keeps, the fields it refuses, cancelling with its question, a test that is
// already uploaded, and command 218 in the main window.

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "app/frame/frame_commands.h"
#include "app/frame/frame_test_support.h"
#include "app/upload/upload_dlg.h"
#include "app/upload/upload_settings.h"
#include "base/file_io.h"
#include "output/upload/station_simulator.h"

namespace kvd::testing {
namespace {

using upload::StationFault;

class UploadDialogTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(station_.start().ok());
        demo_ = copy("demo.PTX");
        ASSERT_TRUE(doc_.open(demo_.toStdString()));
        ASSERT_TRUE(doc_.upload_enabled());
    }
    void TearDown() override {
        station_.stop();
        FrameTest::TearDown();
    }

    std::unique_ptr<CUploadDlg> make_dialog(const upload::UploadTimings& timings = {}) {
        auto dialog = std::make_unique<CUploadDlg>(doc_, settings_store_, nullptr, timings);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    // Points the dialog at the simulator.
    void aim(CUploadDlg& dialog) {
        dialog.ip_address_button()->setChecked(true);
        dialog.address_field()->setText(QStringLiteral("127.0.0.1"));
        dialog.port_field()->setText(QString::number(station_.port()));
    }
    // Runs the event loop until the worker has ended (or half a minute passed).
    bool wait_idle(CUploadDlg& dialog) {
        return QTest::qWaitFor([&] { return dialog.state() == CUploadDlg::State::kIdle; }, 30000);
    }
    Bytes file() const {
        Bytes bytes;
        EXPECT_TRUE(read_whole_file(demo_.toStdString(), bytes).ok());
        return bytes;
    }
    static int count_in(const Bytes& file) { return file[1444] | (file[1445] << 8); }

    upload::StationSimulator station_;
    MemorySettings settings_store_;
    CLbxDoc doc_{ui_};
    QString demo_;
};

TEST_F(UploadDialogTest, ShowsTheTestAndTheDefaults) {
    auto dialog = make_dialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("上传原始数据  "));
    EXPECT_EQ(dialog->port_field()->text(), QStringLiteral("14006"));
    EXPECT_TRUE(dialog->host_name_button()->isChecked());
    EXPECT_EQ(dialog->host_name_button()->text(), QStringLiteral("域名"));
    EXPECT_EQ(dialog->ip_address_button()->text(), QStringLiteral("IP地址"));
    EXPECT_EQ(dialog->address_field()->text(), QString());
    EXPECT_EQ(dialog->raw_count_label()->text(), QStringLiteral("123"));
    EXPECT_EQ(dialog->uploaded_label()->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog->progress_bar()->minimum(), 0);
    EXPECT_EQ(dialog->progress_bar()->maximum(), 123);
    EXPECT_EQ(dialog->progress_bar()->value(), 0);
    EXPECT_EQ(dialog->status_label()->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(dialog->start_button()->text(), QStringLiteral("开始上传"));
    EXPECT_EQ(dialog->cancel_button()->text(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog->start_button()->isEnabled());
    EXPECT_EQ(dialog->state(), CUploadDlg::State::kIdle);
    keep_picture(dialog.get(), "upload_dialog_start.png");

    // Idle, 取消 closes without a question.
    dialog->cancel_button()->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(UploadDialogTest, UploadsTheDemoAndKeepsTheStation) {
    const Bytes before = file();
    auto dialog = make_dialog();
    aim(*dialog);
    dialog->start_button()->click();
    EXPECT_FALSE(dialog->start_button()->isEnabled());
    EXPECT_FALSE(dialog->address_field()->isEnabled());
    EXPECT_EQ(dialog->state(), CUploadDlg::State::kUploading);
    EXPECT_EQ(dialog->status_label()->text(), QStringLiteral("正在连接服务器..."));
    ASSERT_TRUE(wait_idle(*dialog));

    EXPECT_EQ(dialog->status_label()->text(), QStringLiteral("全部数据已上传成功"));
    EXPECT_EQ(dialog->uploaded_label()->text(), QStringLiteral("123"));
    EXPECT_EQ(dialog->progress_bar()->value(), 123);
    EXPECT_FALSE(dialog->start_button()->isEnabled());
    EXPECT_TRUE(dialog->address_field()->isEnabled());
    keep_picture(dialog.get(), "upload_dialog_done.png");
    EXPECT_EQ(station_.acknowledged_records(1001).size(), 123u);
    EXPECT_TRUE(station_.problems().empty());

    // The file changed in its progress bytes only; the record has the same.
    Bytes expected = before;
    expected[1340] = 1001 & 0xFF;
    expected[1341] = 1001 >> 8;
    expected[1444] = 123;
    expected[1445] = 0;
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(doc_.record().header.upload_progress, 1001);
    EXPECT_EQ(doc_.record().header.upload_state, 123);
    EXPECT_FALSE(doc_.is_modified());

    // The station is kept for the next time.
    const UploadSettings kept = read_upload_settings(settings_store_);
    EXPECT_EQ(kept.address, "127.0.0.1");
    EXPECT_FALSE(kept.host_name);
    EXPECT_EQ(kept.port, station_.port());
    auto again = make_dialog();
    EXPECT_EQ(again->address_field()->text(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(again->ip_address_button()->isChecked());
    EXPECT_EQ(again->port_field()->text(), QString::number(station_.port()));

    // A fully uploaded test opens saying so, with nothing to start.
    EXPECT_EQ(again->status_label()->text(), QStringLiteral("全部数据已上传成功"));
    EXPECT_FALSE(again->start_button()->isEnabled());
    EXPECT_EQ(again->uploaded_label()->text(), QStringLiteral("123"));
    EXPECT_EQ(again->progress_bar()->value(), 123);
}

TEST_F(UploadDialogTest, CancelAsksWhileUploadingAndStopsOnYes) {
    // Record 40's reply never comes; the dialog waits a minute for it.
    station_.add_fault({StationFault::kDrop, upload::MessageType::kRecord, 40});
    upload::UploadTimings slow;
    slow.receive_ms = 60000;
    auto dialog = make_dialog(slow);
    aim(*dialog);
    dialog->start_button()->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog->uploaded_label()->text() == QStringLiteral("39"); }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->status_label()->text().endsWith("正在发送"); },
                                30000));
    EXPECT_EQ(dialog->progress_bar()->value(), 39);
    keep_picture(dialog.get(), "upload_dialog_sending.png");

    // No: the upload goes on.
    ui_.queue_answer(MessageAnswer::kNo);
    dialog->cancel_button()->click();
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "数据正在上传中，是否结束上传？");
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kQuestion);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->state(), CUploadDlg::State::kUploading);

    // Yes: the worker stops in its wait and the dialog closes.
    ui_.queue_answer(MessageAnswer::kYes);
    dialog->cancel_button()->click();
    EXPECT_EQ(ui_.shown().size(), 2u);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->state(), CUploadDlg::State::kIdle);
    EXPECT_EQ(count_in(file()), 39);
    const std::size_t received = station_.received().size();
    QTest::qWait(50);
    EXPECT_EQ(station_.received().size(), received);

    // The next dialog goes on from the file: record 40 again, then the rest.
    station_.clear_faults();
    auto resumed = make_dialog();
    EXPECT_EQ(resumed->uploaded_label()->text(), QStringLiteral("39"));
    aim(*resumed);
    resumed->start_button()->click();
    ASSERT_TRUE(wait_idle(*resumed));
    EXPECT_EQ(resumed->status_label()->text(), QStringLiteral("全部数据已上传成功"));
    std::vector<int> all;
    for (int i = 1; i <= 123; ++i) all.push_back(i);
    EXPECT_EQ(station_.acknowledged_records(1001), all);
}

TEST_F(UploadDialogTest, RefusesAPortOrAnAddressThatCannotBeAndReportsAFailedRun) {
    auto dialog = make_dialog();
    dialog->port_field()->setText(QStringLiteral("70000"));
    dialog->address_field()->setText(QStringLiteral("127.0.0.1"));
    auto text = std::make_shared<QString>();
    when_modal<QMessageBox>([text](QMessageBox* box) {
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    dialog->start_button()->click();
    EXPECT_EQ(*text, QStringLiteral("请输入一个介于 0 和 65535 之间的整数。"));
    EXPECT_EQ(dialog->state(), CUploadDlg::State::kIdle);

    dialog->port_field()->setText(QString::number(station_.port()));
    dialog->address_field()->setText(QStringLiteral("   "));
    when_modal<QMessageBox>([text](QMessageBox* box) {
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    dialog->start_button()->click();
    EXPECT_EQ(*text, QStringLiteral("请输入服务器地址"));
    EXPECT_EQ(station_.connections(), 0);

    // A host name typed as an IP address: refused by the worker, start again.
    dialog->ip_address_button()->setChecked(true);
    dialog->address_field()->setText(QStringLiteral("localhost"));
    dialog->start_button()->click();
    ASSERT_TRUE(wait_idle(*dialog));
    EXPECT_EQ(dialog->status_label()->text(),
              QStringLiteral("“localhost”不是有效的IP地址，请检查服务器地址。"));
    EXPECT_TRUE(dialog->start_button()->isEnabled());
    keep_picture(dialog.get(), "upload_dialog_refused.png");
    EXPECT_EQ(station_.connections(), 0);
}

TEST_F(UploadDialogTest, Command218IsOfferedForFilesThatMayBeUploaded) {
    make_frame();
    QAction* upload = frame().action(frame_command::kUpload);
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->text(), QStringLiteral("上传试验数据(&L)"));
    EXPECT_EQ(upload->toolTip(), QStringLiteral("将原始数据上传到质检站"));
    ASSERT_TRUE(frame().open_file(copy("demo.KVD")));
    EXPECT_FALSE(upload->isEnabled());
    EXPECT_FALSE(frame().run_command(frame_command::kUpload));

    ASSERT_TRUE(frame().open_file(copy("demo.PTX", "frame.PTX")));
    EXPECT_TRUE(upload->isEnabled());
    auto shown = std::make_shared<QString>();
    when_modal<CUploadDlg>([shown](CUploadDlg* dialog) {
        *shown = dialog->raw_count_label()->text();
        dialog->cancel_button()->click();
    });
    EXPECT_TRUE(frame().run_command(frame_command::kUpload));
    EXPECT_EQ(*shown, QStringLiteral("123"));
}

}  // namespace
}  // namespace kvd::testing
