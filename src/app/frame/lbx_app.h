#pragma once
// CLbxApp: the application object of kvd. It starts the program in this
// order: read the command line (the splash switch), name the settings
// ("Corvane-VXRA分析" / "KVD") with the 4-entry recent-file list, map the
// program's font faces, create the main window (which shows the splash),
// open the file named on the command line or keep the new document, show the
// main window. `kvd --grab` renders a window picture instead (window_grab.h).
// A file named on the command line that cannot be opened is reported and the
// window opens with the new document.

#include <QApplication>
#include <memory>
#include <optional>

namespace kvd {

class AppSettings;
class CMainFrame;

// Installs Qt's Chinese translations (qtbase_zh_CN.qm from Qt's translations
// folder) for Qt's own texts; false when they are not installed.
bool install_qt_translations(QCoreApplication& app);

class CLbxApp : public QApplication {
    Q_OBJECT

public:
    CLbxApp(int& argc, char** argv);
    ~CLbxApp() override;

    // Start-up, the event loop and the end of the run; returns the exit code
    // (2 for a command line that is not understood).
    int run();
    // Start-up alone: the exit code when the run ends there (a command line
    // not understood, a window grab), nothing when the main window is shown
    // and the event loop should run.
    std::optional<int> start();

    CMainFrame* main_frame() const { return frame_.get(); }

private:
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kvd
