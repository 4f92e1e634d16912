#include "qt/qt_settings_backend.h"

namespace kvd {
namespace {

QString path_of(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

}  // namespace

std::optional<long long> QtSettingsBackend::read_int(const std::string& section,
                                                     const std::string& key) const {
    const QVariant value = settings_.value(path_of(section, key));
    if (!value.isValid()) return std::nullopt;
    // An INI file gives every value back as text: only a whole number counts.
    bool ok = false;
    const long long number = value.toString().trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return number;
}

std::optional<std::string> QtSettingsBackend::read_text(const std::string& section,
                                                        const std::string& key) const {
    const QVariant value = settings_.value(path_of(section, key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsBackend::write_int(const std::string& section, const std::string& key,
                                  long long value) {
    settings_.setValue(path_of(section, key), value);
}

void QtSettingsBackend::write_text(const std::string& section, const std::string& key,
                                   const std::string& value) {
    settings_.setValue(path_of(section, key), QString::fromStdString(value));
}

bool QtSettingsBackend::flush() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

}  // namespace kvd
