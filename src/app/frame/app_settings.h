#pragma once
// AppSettings: the desktop program's settings — the main window's placement
// and pane sizes (section "主窗口"), the recent-file list, and the store the
// document's settings (curve style, page setup, print content, folders) are
// read from and written to. They
// live in QSettings under organisation "Corvane-VXRA分析" and application
// "KVD" (an INI file in the user's configuration folder). All QSettings access
// of the program goes through this class.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace kvd {

class SettingsBackend;

inline constexpr char kSettingsOrganisation[] = "Corvane-VXRA分析";
inline constexpr char kSettingsApplication[] = "KVD";

// Show commands of a stored placement (the values a window placement keeps).
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

// The restored (normal) rectangle of the main window, relative to the top-left
// corner of the screen's work area, and how it was shown.
struct WindowPlacement {
    int show_command = kShowNormal;
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Pane sizes in pixels as the frame stores them at close.
struct PaneSizes {
    int left_width = 700;          // the curve pane
    int left_height = 0;
    int upper_right_width = 0;     // the table pane
    int upper_right_height = 370;
    friend bool operator==(const PaneSizes&, const PaneSizes&) = default;
};

class AppSettings {
public:
    // The user's settings.
    AppSettings();
    ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    // Settings that store nothing: every read gives the default and writes
    // are dropped (window grabs must not depend on or touch the user's
    // settings).
    static std::unique_ptr<AppSettings> transient();

    // The placement only when all five values exist.
    std::optional<WindowPlacement> placement() const;
    void set_placement(const WindowPlacement& placement);

    // Missing values give the defaults.
    PaneSizes pane_sizes() const;
    // Whether pane sizes were stored (by an earlier close); without them the
    // window fits its panes to what they show.
    bool pane_sizes_stored() const;
    void set_pane_sizes(const PaneSizes& sizes);

    // Most recent first.
    QStringList recent_files() const;
    void set_recent_files(const QStringList& files);

    // Where the document's settings are kept (in memory for transient
    // settings).
    SettingsBackend& document_backend();

    // Writes pending changes to the file.
    void sync();

private:
    struct Transient {};
    explicit AppSettings(Transient);
    std::optional<int> read_int(const QString& key) const;
    void write_int(const QString& key, int value);

    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<SettingsBackend> document_backend_;
};

}  // namespace kvd
