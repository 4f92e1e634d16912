#pragma once
// QtSettingsBackend: the document's settings in a QSettings — one group per
// section, integers stored as numbers and texts as strings. The program opens
// the user's settings (organisation "Corvane-VXRA分析", application "KVD").

#include <QSettings>

#include "doc/settings_store.h"

namespace kvd {

class QtSettingsBackend : public SettingsBackend {
public:
    // The backend does not own the settings.
    explicit QtSettingsBackend(QSettings& settings) : settings_(settings) {}

    std::optional<long long> read_int(const std::string& section,
                                      const std::string& key) const override;
    std::optional<std::string> read_text(const std::string& section,
                                         const std::string& key) const override;
    void write_int(const std::string& section, const std::string& key, long long value) override;
    void write_text(const std::string& section, const std::string& key,
                    const std::string& value) override;
    bool flush() override;

private:
    QSettings& settings_;
};

}  // namespace kvd
