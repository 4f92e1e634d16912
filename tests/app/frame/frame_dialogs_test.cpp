// The file commands with the real message boxes and file dialogs: the open
// dialog and the checks after it, and the question about a modified document
// when the window closes (its text, caption, icon and buttons; Cancel keeps
// the window and the document, No closes without saving, Yes saves, through
// the save dialog for a test file).

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <vector>

#include "app/frame/frame_commands.h"
#include "frame_test_support.h"

namespace kvd::testing {
namespace {

using namespace frame_command;

// The message boxes and file dialogs as the user sees them.
class FrameDialogTest : public FrameTest {
protected:
    struct Box {
        QString text;
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QStringList button_texts;
    };

    // Answers the next message boxes, one after the other, and notes what
    // each showed.
    void answer(std::vector<QMessageBox::StandardButton> buttons, QWidget* after = nullptr) {
        if (buttons.empty()) return;
        when_modal<QMessageBox>(
            [this, buttons](QMessageBox* box) {
                Box seen{box->text(), box->windowTitle(), box->icon(), box->standardButtons(), {}};
                for (QAbstractButton* b : box->buttons()) seen.button_texts << b->text();
                seen.button_texts.sort();
                boxes_.push_back(seen);
                answer({buttons.begin() + 1, buttons.end()}, box);
                box->button(buttons.front())->click();
            },
            after);
    }

    // Opens a copy of the demo analysis file and changes it.
    QString open_modified(const char* sample_name = "demo.KVD") {
        const QString file = copy(sample_name);
        make_frame(true);
        EXPECT_TRUE(frame().open_file(file));
        EXPECT_TRUE(frame().run_command(kInvert));
        EXPECT_TRUE(doc().is_modified());
        return file;
    }

    std::vector<Box> boxes_;
};

TEST_F(FrameDialogTest, TheOpenDialogOpensTheChosenFileAfterItsChecks) {
    make_frame(true);
    const QString demo = copy("demo.PTX");
    const QString unfinished = copy("unfinished.PTX");

    QString caption;
    QStringList filters;
    QStringList labels;
    when_modal<QFileDialog>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        for (auto label : {QFileDialog::FileName, QFileDialog::Accept, QFileDialog::Reject}) {
            labels << dialog->labelText(label);
        }
        dialog->reject();
    });
    EXPECT_FALSE(frame().run_command(kOpen));
    EXPECT_EQ(caption, QStringLiteral("打开"));
    EXPECT_EQ(labels, QStringList({"文件名(&N):", "打开(&O)", "取消"}));
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].startsWith(
        QStringLiteral("KV静载分析文件，测试文件 (*.KVD;*.PTX;*.KVD2;*.PTX2)")));
    EXPECT_EQ(title(), window_title("新文件.KVD"));

    when_modal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(demo);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_TRUE(frame().run_command(kOpen));
    EXPECT_EQ(title(), window_title("demo.PTX"));
    EXPECT_EQ(frame().recent_files().files().value(0), demo);

    // The checks still run on a file chosen in the dialog: No keeps the demo.
    when_modal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(unfinished);
        answer({QMessageBox::No}, dialog);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_FALSE(frame().run_command(kOpen));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("该文件试验未结束，是否继续用分析软件打开？  "));
    EXPECT_EQ(boxes_[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(title(), window_title("demo.PTX"));
}

TEST_F(FrameDialogTest, CancelKeepsTheWindowAndTheChangedDocument) {
    const QString file = open_modified();
    const QByteArray original = file_bytes(file);
    const double inverted = doc().record().grades.last_settlement(5);

    answer({QMessageBox::Cancel});
    EXPECT_FALSE(frame().close());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("是否保存对“demo.KVD”的更改？"));
    EXPECT_EQ(boxes_[0].caption, QStringLiteral("ROzadazoza"));
    EXPECT_EQ(boxes_[0].icon, QMessageBox::Question);
    EXPECT_EQ(boxes_[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // The buttons speak the program's language.
    EXPECT_EQ(boxes_[0].button_texts, QStringList({"取消", "否(&N)", "是(&Y)"}));
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(doc().is_modified());
    EXPECT_EQ(doc().record().grades.last_settlement(5), inverted);
    EXPECT_EQ(file_bytes(file), original);
}

TEST_F(FrameDialogTest, NoClosesWithoutSavingAndYesSaves) {
    const QString file = open_modified();
    const QByteArray original = file_bytes(file);
    answer({QMessageBox::No});
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_FALSE(frame().isVisible());
    EXPECT_EQ(file_bytes(file), original);

    open_modified();
    const double inverted = doc().record().grades.last_settlement(5);
    answer({QMessageBox::Yes});
    EXPECT_TRUE(frame().close());
    EXPECT_EQ(boxes_.size(), 2u);
    EXPECT_NE(file_bytes(file), original);
    make_frame();
    ASSERT_TRUE(frame().open_file(file));
    EXPECT_EQ(doc().record().grades.last_settlement(5), inverted);

    // An unchanged document closes without a question.
    EXPECT_TRUE(frame().close());
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(FrameDialogTest, YesOnATestFileGoesThroughTheSaveDialogAndItsCancel) {
    const QString file = open_modified("demo.PTX");
    const QByteArray original = file_bytes(file);

    // Yes, Yes to the analysis-file question, then the save dialog proposes
    // the analysis name; cancelling it keeps the window open.
    QString proposed;
    QString dialog_title;
    answer({QMessageBox::Yes, QMessageBox::Yes});
    QString accept_label;
    when_modal<QFileDialog>([&](QFileDialog* dialog) {
        dialog_title = dialog->windowTitle();
        accept_label = dialog->labelText(QFileDialog::Accept);
        proposed = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    EXPECT_FALSE(frame().close());
    EXPECT_EQ(dialog_title, QStringLiteral("保存文件"));
    EXPECT_EQ(accept_label, QStringLiteral("保存(&S)"));
    EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("demo.KVD"));
    EXPECT_TRUE(frame().isVisible());
    EXPECT_TRUE(doc().is_modified());
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, QStringLiteral("后缀名.PTX或.PTX2测试文件 将另存为 "
                                             "后缀名.KVD或.KVD2分析文件，是否继续？"));
    EXPECT_EQ(file_bytes(file), original);

    // Again, choosing the proposed name: the analysis file is written and
    // the window closes.
    answer({QMessageBox::Yes, QMessageBox::Yes});
    when_modal<QFileDialog>(
        [](QFileDialog* dialog) { QMetaObject::invokeMethod(dialog, "accept"); });
    EXPECT_TRUE(frame().close());
    EXPECT_FALSE(frame().isVisible());
    EXPECT_EQ(kind_of_file(path("demo.KVD")), FileKind::kAnalysisWithRaw);
    EXPECT_EQ(file_bytes(file), original);
}

}  // namespace
}  // namespace kvd::testing
