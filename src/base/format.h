#pragma once
// printf-style formatting into std::string, for the fixed number formats of
// tables, exports and kvdtool ("%.2f", "%5.2f%%", ...).

#include <string>

namespace kvd {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvd
