#include "base/file_names.h"

#include <algorithm>
#include <cctype>

namespace kvd {

std::string with_replaced_extension(const std::string& path, std::string_view extension) {
    std::string name = path;
    const std::size_t slash = name.find_last_of('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot >= name_start) name.erase(dot);
    name += extension;
    return name;
}

std::string with_extension(const std::string& name, std::string_view extension) {
    const bool ends_in = name.size() >= extension.size() &&
                         std::equal(extension.begin(), extension.end(),
                                    name.end() - static_cast<std::ptrdiff_t>(extension.size()),
                                    [](char a, char b) {
                                        return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b));
                                    });
    return ends_in ? name : name + std::string(extension);
}

}  // namespace kvd
