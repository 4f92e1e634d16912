// The help menu of the main window: the user manual (F1, Shift+F1), the
// support page, the two update checks and the about box. The browser and the
// updater are reached through the frame's DesktopLauncher.

#include "app/frame/help_commands.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/frame/desktop_launcher.h"
#include "app/frame/frame_commands.h"
#include "app/frame/main_frame.h"
#include "base/format.h"
#include "doc/help_settings.h"

namespace kvd {
namespace {

using namespace frame_command;

constexpr char kProductName[] = "ROzadazoza";
constexpr char kVersionLine[] = "版本：KV 18.0528 for kN and kPa";

QString program_folder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

}  // namespace

QString manual_folder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/kvd/manual"));
}

QUrl manual_page_url(const QString& page) {
    const QString path = manual_folder() + QLatin1Char('/') + page;
    return QFileInfo::exists(path) ? QUrl::fromLocalFile(path) : QUrl();
}

void CMainFrame::set_launcher(DesktopLauncher* launcher) {
    launcher_ = launcher ? launcher : owned_launcher_.get();
}

bool CMainFrame::open_in_browser(const QUrl& url) {
    if (launcher_->open_url(url)) return true;
    ui_->show_error(strprintf("无法用浏览器打开 %s ！\n请检查系统的默认浏览器设置。",
                              url.toDisplayString().toStdString().c_str()));
    return false;
}

bool CMainFrame::open_manual(const QString& page) {
    const QUrl url = manual_page_url(page);
    if (url.isEmpty()) {
        ui_->show_error(
            strprintf("找不到用户手册：%s",
                      (manual_folder() + QLatin1Char('/') + page).toStdString().c_str()));
        return false;
    }
    return open_in_browser(url);
}

bool CMainFrame::run_help_command(int command) {
    const HelpSettings help = read_help_settings(settings_.document_backend());
    switch (command) {
        case kHelp:
            return open_manual(QString::fromUtf8(kManualIndexPage));
        case kSupportPage:
            // Without an address of its own the manual says where help is found.
            if (help.support_address.empty()) {
                return open_manual(QString::fromUtf8(kManualSupportPage));
            }
            return open_in_browser(
                QUrl::fromUserInput(QString::fromStdString(help.support_address)));
        case kAnalysisUpdate:
        case kTesterUpdate:
            break;
        default:
            return false;
    }
    const bool analysis = command == kAnalysisUpdate;
    if (help.updater_program.empty()) {
        ui_->message_box(analysis ? kMessageNoUpdaterForAnalysis : kMessageNoUpdaterForTester,
                         kCaptionPrompt, MessageButtons::kOk, MessageIcon::kInformation);
        return false;
    }
    const UpdaterCall call =
        make_updater_call(analysis ? UpdateTarget::kAnalysis : UpdateTarget::kTester, help,
                          program_folder().toStdString());
    QStringList arguments;
    for (const std::string& argument : call.arguments) {
        arguments << QString::fromStdString(argument);
    }
    int error_code = 0;
    if (launcher_->start_program(QString::fromStdString(call.program), arguments, error_code)) {
        return true;
    }
    ui_->show_error(strprintf(kMessageUpdaterFailed, error_code));
    return false;
}

std::unique_ptr<QDialog> make_about_dialog(QWidget* parent, const QIcon& icon) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("about_dialog"));
    dialog->setWindowTitle(QStringLiteral("关于 KVD"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->setSpacing(10);
    auto* picture = new QLabel(dialog.get());
    picture->setPixmap(icon.pixmap(48, 48));
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    auto* name = new QLabel(QString::fromUtf8(kProductName), dialog.get());
    name->setObjectName(QStringLiteral("product_name"));
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    name->setFont(bold);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    auto* version = new QLabel(QString::fromUtf8(kVersionLine), dialog.get());
    version->setObjectName(QStringLiteral("version_line"));
    layout->addWidget(version, 0, Qt::AlignHCenter);
    auto* buttons = new QDialogButtonBox(dialog.get());
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->setMinimumWidth(280);
    return dialog;
}

void CMainFrame::show_about() {
    make_about_dialog(this, windowIcon())->exec();
}

}  // namespace kvd
