#pragma once
// What a shell command prints on standard output, for the tests that read
// exports back with real programs (unzip, soffice, pdftotext, pdfinfo).

#include <cstdio>
#include <string>

namespace kvd::testing {

// Standard output of `command`; "\n<failed>" is appended when it exits with
// another status than 0.
inline std::string command_output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        if (::pclose(pipe) != 0) out += "\n<failed>";
    }
    return out;
}

}  // namespace kvd::testing
