#include "app/upload/upload_settings.h"

namespace kvd {

UploadSettings read_upload_settings(const SettingsBackend& backend) {
    UploadSettings settings;
    if (auto address = backend.read_text(kUploadSection, kUploadAddressKey);
        address && address->size() <= kMaxUploadAddress) {
        settings.address = *address;
    }
    if (auto host_name = backend.read_int(kUploadSection, kUploadHostNameKey);
        host_name && (*host_name == 0 || *host_name == 1)) {
        settings.host_name = *host_name == 1;
    }
    if (auto port = backend.read_int(kUploadSection, kUploadPortKey);
        port && *port >= 0 && *port <= 65535) {
        settings.port = static_cast<int>(*port);
    }
    return settings;
}

void write_upload_settings(SettingsBackend& backend, const UploadSettings& settings) {
    backend.write_text(kUploadSection, kUploadAddressKey, settings.address);
    backend.write_int(kUploadSection, kUploadHostNameKey, settings.host_name ? 1 : 0);
    backend.write_int(kUploadSection, kUploadPortKey, settings.port);
    backend.flush();
}

}  // namespace kvd
