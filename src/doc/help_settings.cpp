#include "doc/help_settings.h"

#include "base/format.h"

namespace kvd {
namespace {

std::string trimmed_text(const SettingsBackend& backend, const char* key) {
    std::string text = backend.read_text(kHelpSection, key).value_or("");
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

HelpSettings read_help_settings(const SettingsBackend& backend) {
    HelpSettings settings;
    settings.support_address = trimmed_text(backend, kSupportAddressKey);
    settings.updater_program = trimmed_text(backend, kUpdaterProgramKey);
    settings.update_list_address = trimmed_text(backend, kUpdateListKey);
    return settings;
}

UpdaterCall make_updater_call(UpdateTarget target, const HelpSettings& settings,
                              const std::string& program_folder) {
    UpdaterCall call;
    call.program = settings.updater_program;
    const bool analysis = target == UpdateTarget::kAnalysis;
    call.arguments = {analysis ? "KVD" : "PTX", analysis ? strprintf("%f", kProgramVersion) : "0.0",
                      settings.update_list_address, program_folder};
    call.parameter_line = call.arguments[0] + " " + call.arguments[1] + " " + call.arguments[2] +
                          " \"" + call.arguments[3];
    return call;
}

}  // namespace kvd
