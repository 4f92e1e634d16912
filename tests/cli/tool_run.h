#pragma once
// Runs the kvdtool program the build made, for the end-to-end tests: its
// standard output, its standard error (through a file in `folder`) and its
// exit code.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"

namespace kvd {

struct ToolRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// `arguments` is a shell word list.
inline ToolRun run_kvdtool(const std::string& arguments, const std::filesystem::path& folder) {
    const std::string err_path = (folder / "stderr.txt").string();
    const std::string command =
        std::string(KVD_BIN_DIR) + "/kvdtool " + arguments + " 2>" + err_path;
    ToolRun result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    Bytes err;
    if (read_whole_file(err_path, err).ok()) result.err.assign(err.begin(), err.end());
    return result;
}

}  // namespace kvd
