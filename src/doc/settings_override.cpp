#include "doc/settings_override.h"

#include <string>

#include "base/format.h"
#include "base/numeric.h"

namespace kvd {

Status apply_setting_assignment(DocumentSettings& settings, std::string_view assignment) {
    const std::size_t slash = assignment.find('/');
    const std::size_t equals =
        slash == std::string_view::npos ? std::string_view::npos : assignment.find('=', slash);
    if (slash == 0 || equals == std::string_view::npos || equals == slash + 1) {
        return Status::failure("设置的写法应为 节/键=值：" + std::string(assignment));
    }
    const std::string section(assignment.substr(0, slash));
    const std::string key(assignment.substr(slash + 1, equals - slash - 1));
    const std::string value(assignment.substr(equals + 1));
    const std::string name = section + "/" + key;

    // Every key the store knows is in what it writes.
    MemorySettings stored;
    SettingsStore store(stored);
    (void)store.write(settings);
    const bool integer = stored.read_int(section, key).has_value();
    if (!integer && !stored.read_text(section, key).has_value()) {
        return Status::failure("没有这项设置：" + name);
    }
    long long number = 0;
    if (integer) {
        if (!parse_whole_number(value, number)) {
            return Status::failure(strprintf("设置 %s 需要整数：%s", name.c_str(), value.c_str()));
        }
        stored.write_int(section, key, number);
    } else {
        stored.write_text(section, key, value);
    }
    const DocumentSettings next = store.read(settings.curve_style.frame.background);

    // What the store made of it, written out again, must be what was asked.
    MemorySettings check;
    (void)SettingsStore(check).write(next);
    const bool kept = integer ? check.read_int(section, key) == number
                              : check.read_text(section, key) == value;
    if (!kept) {
        return Status::failure(strprintf("设置 %s 的值超出范围：%s", name.c_str(), value.c_str()));
    }
    const double zoom = settings.curve_style.zoom;
    settings = next;
    settings.curve_style.zoom = zoom;
    return Status::success();
}

}  // namespace kvd
