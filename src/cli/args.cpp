#include <algorithm>
#include <cstdio>

#include "base/numeric.h"
#include "cli/commands.h"

namespace kvd::cli {

int usage_error(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
}

bool take_option(Args& args, const std::string& name, std::string& value) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end() || std::next(it) == args.end()) return false;
    value = *std::next(it);
    args.erase(it, std::next(it, 2));
    return true;
}

bool take_flag(Args& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

bool parse_int(const std::string& text, long long& value) {
    return parse_whole_number(text, value);
}

}  // namespace kvd::cli
