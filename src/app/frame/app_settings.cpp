#include "app/frame/app_settings.h"

#include <QSettings>

#include "app/frame/recent_files.h"
#include "doc/settings_store.h"
#include "qt/qt_settings_backend.h"

namespace kvd {
namespace {

constexpr char kFrameSection[] = "主窗口";
constexpr char kRecentSection[] = "Recent File List";

QString frame_key(const char* name) { return QString::fromUtf8(kFrameSection) + '/' + name; }

QString recent_key(int index) {
    return QString::fromUtf8(kRecentSection) + QStringLiteral("/File%1").arg(index + 1);
}

}  // namespace

AppSettings::AppSettings()
    : settings_(std::make_unique<QSettings>(QString::fromUtf8(kSettingsOrganisation),
                                            QString::fromUtf8(kSettingsApplication))),
      document_backend_(std::make_unique<QtSettingsBackend>(*settings_)) {}

AppSettings::AppSettings(Transient) : document_backend_(std::make_unique<MemorySettings>()) {}

AppSettings::~AppSettings() = default;

std::unique_ptr<AppSettings> AppSettings::transient() {
    return std::unique_ptr<AppSettings>(new AppSettings(Transient{}));
}

std::optional<int> AppSettings::read_int(const QString& key) const {
    if (!settings_ || !settings_->contains(key)) return std::nullopt;
    bool ok = false;
    const int value = settings_->value(key).toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

void AppSettings::write_int(const QString& key, int value) {
    if (settings_) settings_->setValue(key, value);
}

std::optional<WindowPlacement> AppSettings::placement() const {
    const auto show = read_int(frame_key("状态"));
    const auto top = read_int(frame_key("顶"));
    const auto left = read_int(frame_key("左"));
    const auto bottom = read_int(frame_key("底"));
    const auto right = read_int(frame_key("右"));
    if (!show || !top || !left || !bottom || !right) return std::nullopt;
    return WindowPlacement{*show, *top, *left, *bottom, *right};
}

void AppSettings::set_placement(const WindowPlacement& placement) {
    write_int(frame_key("状态"), placement.show_command);
    write_int(frame_key("顶"), placement.top);
    write_int(frame_key("左"), placement.left);
    write_int(frame_key("底"), placement.bottom);
    write_int(frame_key("右"), placement.right);
}

PaneSizes AppSettings::pane_sizes() const {
    PaneSizes sizes;
    sizes.left_width = read_int(frame_key("左边窗口宽")).value_or(sizes.left_width);
    sizes.left_height = read_int(frame_key("左边窗口高")).value_or(sizes.left_height);
    sizes.upper_right_width = read_int(frame_key("右上窗口宽")).value_or(sizes.upper_right_width);
    sizes.upper_right_height =
        read_int(frame_key("右上窗口高")).value_or(sizes.upper_right_height);
    return sizes;
}

bool AppSettings::pane_sizes_stored() const {
    return read_int(frame_key("左边窗口宽")).has_value() ||
           read_int(frame_key("右上窗口高")).has_value();
}

void AppSettings::set_pane_sizes(const PaneSizes& sizes) {
    write_int(frame_key("左边窗口宽"), sizes.left_width);
    write_int(frame_key("左边窗口高"), sizes.left_height);
    write_int(frame_key("右上窗口宽"), sizes.upper_right_width);
    write_int(frame_key("右上窗口高"), sizes.upper_right_height);
}

QStringList AppSettings::recent_files() const {
    QStringList files;
    if (!settings_) return files;
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        const QString file = settings_->value(recent_key(i)).toString();
        if (!file.isEmpty()) files.push_back(file);
    }
    return files;
}

void AppSettings::set_recent_files(const QStringList& files) {
    if (!settings_) return;
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        if (i < files.size()) settings_->setValue(recent_key(i), files[i]);
        else settings_->remove(recent_key(i));
    }
}

SettingsBackend& AppSettings::document_backend() { return *document_backend_; }

void AppSettings::sync() {
    if (settings_) settings_->sync();
}

}  // namespace kvd
