#pragma once
// The station the upload dialog last sent to, kept in the user's settings
// (section "上传"): the address, whether it is a host name or a dotted IPv4
// address, and the port. Read when the dialog opens, written when an upload
// starts. A stored value that cannot be right (a port outside 0 ... 65535,
// an address too long for a host name) gives the default.

#include <string>

#include "doc/settings_store.h"
#include "output/upload/upload_worker.h"

namespace kvd {

inline constexpr char kUploadSection[] = "上传";
inline constexpr char kUploadAddressKey[] = "服务器地址";
inline constexpr char kUploadHostNameKey[] = "服务器地址类型";  // 1 域名, 0 IP地址
inline constexpr char kUploadPortKey[] = "服务器端口号";

// The longest host name there is (RFC 1035).
inline constexpr std::size_t kMaxUploadAddress = 253;

struct UploadSettings {
    std::string address;  // no default station: the tester's own station is typed in
    bool host_name = true;
    int port = upload::kDefaultPort;
    friend bool operator==(const UploadSettings&, const UploadSettings&) = default;
};

UploadSettings read_upload_settings(const SettingsBackend& backend);
void write_upload_settings(SettingsBackend& backend, const UploadSettings& settings);

}  // namespace kvd
