#pragma once
// HelpSettings: where the help menu's commands go — the support page
// ("网上技术支持"), the external updater program and the address of its
// update list ("分析系统更新检查", "采集系统更新检查"). They are kept in the
// user's settings, section "帮助"; none has a built-in value: a Linux
// installation gets its updates with the system's packages, and a site that
// uses an updater or has its own support page names them there.
//
//   [帮助]
//   技术支持网址=https://...           (empty: the manual's support page)
//   更新程序=/opt/vendor/update-tool    (found on PATH when it has no folder)
//   更新列表网址=https://.../list.txt
//
// UpdaterCall is the updater's command line: the product code, the version,
// the update-list address and the program folder behind a double quote (the
// updater reads the folder as the rest of its parameter line, so the quote
// has no closing one).

#include <string>
#include <vector>

#include "doc/settings_store.h"

namespace kvd {

inline constexpr char kHelpSection[] = "帮助";
inline constexpr char kSupportAddressKey[] = "技术支持网址";
inline constexpr char kUpdaterProgramKey[] = "更新程序";
inline constexpr char kUpdateListKey[] = "更新列表网址";

// The analysis program's version as the updater compares it.
inline constexpr double kProgramVersion = 14.0707;

struct HelpSettings {
    std::string support_address;
    std::string updater_program;
    std::string update_list_address;
};

// Blank values read as empty.
HelpSettings read_help_settings(const SettingsBackend& backend);

enum class UpdateTarget {
    kAnalysis,  // this program: "KVD" and its version
    kTester,    // the field tester's software: "PTX", version "0.0"
};

struct UpdaterCall {
    std::string program;
    // The four items of the parameter line, the folder without its quote.
    std::vector<std::string> arguments;
    // "KVD 14.070700 <address> \"<folder>": the parameter line as one text.
    std::string parameter_line;
};

UpdaterCall make_updater_call(UpdateTarget target, const HelpSettings& settings,
                              const std::string& program_folder);

// Told when no updater is configured.
inline constexpr char kMessageNoUpdaterForAnalysis[] =
    "本程序在 Linux 上随系统的软件包一起更新：请用系统的软件更新（例如 "
    "sudo apt update && sudo apt upgrade）安装新版本。\n\n"
    "没有设置更新程序，因此不检查其他更新。";
inline constexpr char kMessageNoUpdaterForTester[] =
    "没有设置更新程序，无法检查采集系统（测试仪软件）的更新。\n\n"
    "请向测试仪的供应商索取新版本；如有更新程序，可在设置文件的 [帮助] 一节用“更新程序”指定它。";
// "%d": the code of the failed start.
inline constexpr char kMessageUpdaterFailed[] = "错误代码 ： %d";

}  // namespace kvd
