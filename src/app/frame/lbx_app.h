#pragma once
// CLbxApp: the application object of kvd. It starts the program in this
// order: read the command line (the splash switch), name the settings
// ("Corvane-VXRA分析" / "KVD") with the 4-entry recent-file list, map the
// program's font faces, create the main window (which shows the splash),
// open the file named on the command line or keep the new document, show the
// main window. `kvd --grab` renders a window picture instead (window_grab.h).

#include <QApplication>
#include <memory>

namespace kvd {

class AppSettings;
class CMainFrame;

class CLbxApp : public QApplication {
    Q_OBJECT

public:
    CLbxApp(int& argc, char** argv);
    ~CLbxApp() override;

    // Start-up, the event loop and the end of the run; returns the exit code
    // (2 for a command line that is not understood, 1 when the file named on
    // it cannot be opened).
    int run();

    CMainFrame* main_frame() const { return frame_.get(); }

private:
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kvd
