#include "app/frame/lbx_app.h"

#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <cstdio>
#include <optional>

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
    if (const std::optional<int> code = start()) return *code;
    return exec();
}

namespace {

// The few of Qt's Chinese texts that differ from the words of the system's
// own Chinese dialogs, which the users know. Consulted before Qt's own.
class QtTextCorrections : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        (void)disambiguation;
        (void)n;
        // The file list's column heading: "大小", not "体积".
        if (qstrcmp(context, "QFileSystemModel") == 0 && qstrcmp(source, "Size") == 0) {
            return QStringLiteral("大小");
        }
        return {};
    }
};

}  // namespace

bool install_qt_translations(QCoreApplication& app) {
    // Qt's own texts (file, print, colour dialogs, standard buttons, the menus
    // of edit fields) come from Qt's Chinese translations; the program's
    // texts are its own.
    auto* qt_texts = new QTranslator(&app);
    if (!qt_texts->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt_texts;
        return false;
    }
    if (!QCoreApplication::installTranslator(qt_texts)) return false;
    // Installed last, so consulted first.
    return QCoreApplication::installTranslator(new QtTextCorrections(&app));
}

std::optional<int> CLbxApp::start() {
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
    if (!install_qt_translations(*this)) {
        std::fprintf(stderr, "kvd: 未找到 Qt 的中文翻译 (qtbase_zh_CN.qm)\n");
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
    // Without a file the document is the new one it was created with. A file
    // that cannot be opened has been reported by the document, which keeps
    // the new document: the window opens on it all the same.
    if (!options.file.empty()) {
        frame_->open_file(QFile::decodeName(QByteArray::fromStdString(options.file)));
    }
    if (frame_->initial_show_command() == kShowMaximized)
        frame_->showMaximized();
    else
        frame_->show();
    if (splash) splash->raise();
    return std::nullopt;
}

}  // namespace kvd
