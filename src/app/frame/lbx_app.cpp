#include "app/frame/lbx_app.h"

#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <cstdio>

#include "app/frame/app_settings.h"
#include "app/frame/main_frame.h"
#include "app/frame/splash_window.h"
#include "app/frame/start_options.h"
#include "app/frame/toolbar_icons.h"
#include "app/frame/window_grab.h"
#include "qt/font_setup.h"

namespace kvd {

CLbxApp::CLbxApp(int& argc, char** argv) : QApplication(argc, argv) {}

// The main window goes before the settings it writes at close.
CLbxApp::~CLbxApp() {
    frame_.reset();
    settings_.reset();
}

int CLbxApp::run() {
    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(QFile::encodeName(arguments[i]).toStdString());
    }
    const StartOptions options = parse_start_options(args);
    if (!options.ok()) {
        std::fprintf(stderr, "%s\n%s\n", options.error.c_str(), start_usage());
        return 2;
    }

    setOrganizationName(QString::fromUtf8(kSettingsOrganisation));
    setApplicationName(QString::fromUtf8(kSettingsApplication));
    install_font_substitutions();
    // Qt's own texts (menus and tool tips of the file dialogs) in Chinese
    // where Qt's translations are installed; the program's texts are its own.
    auto* qt_texts = new QTranslator(this);
    if (qt_texts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(qt_texts);
    }
    setWindowIcon(application_icon());
    if (options.grab) return run_window_grab(*options.grab, options.file);

    settings_ = std::make_unique<AppSettings>();
    frame_ = std::make_unique<CMainFrame>(*settings_);
    QPointer<SplashWindow> splash;
    if (options.splash) {
        splash = SplashWindow::show_over(frame_.get(), applicationDirPath() + QLatin1Char('/') +
                                                           QString::fromUtf8(kSplashFileName));
    }
    // Without a file the document is the new one it was created with.
    if (!options.file.empty() &&
        !frame_->open_file(QFile::decodeName(QByteArray::fromStdString(options.file)))) {
        delete splash.data();
        return 1;
    }
    if (frame_->initial_show_command() == kShowMaximized)
        frame_->showMaximized();
    else
        frame_->show();
    if (splash) splash->raise();
    return exec();
}

}  // namespace kvd
