#pragma once
// DesktopLauncher: how the program hands something to the desktop — a web
// page or a local page to the user's browser, an external program started on
// its own. The help commands go through it; tests put one in its place that
// records what would have been started, so no test opens a browser or starts
// a program.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace kvd {

class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;
    // False when the desktop could not open it.
    virtual bool open_url(const QUrl& url) = 0;
    // Starts program (looked up on PATH when it names no folder) with the
    // arguments, without waiting for it. On failure, error_code is the code
    // the shell gives for it: 2 not found, 5 not allowed to run, 11 not a
    // program that can be started.
    virtual bool start_program(const QString& program, const QStringList& arguments,
                               int& error_code) = 0;
};

// The desktop's own: QDesktopServices and QProcess.
class SystemLauncher : public DesktopLauncher {
public:
    bool open_url(const QUrl& url) override;
    bool start_program(const QString& program, const QStringList& arguments,
                       int& error_code) override;
};

inline constexpr int kLaunchFileNotFound = 2;
inline constexpr int kLaunchAccessDenied = 5;
inline constexpr int kLaunchBadFormat = 11;

}  // namespace kvd
