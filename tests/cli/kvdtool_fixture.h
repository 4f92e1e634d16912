#pragma once
// Running kvdtool (and the readers that check its files) from a test: both
// streams captured, files in a temporary folder of the test's own.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"

namespace kvd {

namespace fs = std::filesystem;

struct ToolRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line, capturing its standard output, its standard
// error (through a file in `folder`) and its exit code.
inline ToolRun run_command_line(const std::string& line, const fs::path& folder) {
    const std::string err_path = (folder / "stderr.txt").string();
    const std::string command = line + " 2>" + err_path;
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

// Runs the kvdtool the build made; `arguments` is a shell word list.
inline ToolRun run_kvdtool(const std::string& arguments, const fs::path& folder) {
    return run_command_line(std::string(KVD_BIN_DIR) + "/kvdtool " + arguments, folder);
}

class KvdtoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvdtool_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs kvdtool with arguments (a shell word list), capturing both streams.
    ToolRun run(const std::string& arguments) const { return run_kvdtool(arguments, dir_); }
    // Runs any shell command line, capturing both streams.
    ToolRun run_command(const std::string& line) const { return run_command_line(line, dir_); }
    std::string sample(const char* name) const {
        return std::string(KVD_SOURCE_DIR) + "/samples/" + name;
    }
    std::string temp(const char* name) const { return (dir_ / name).string(); }
    // jq's raw output of filter over a JSON text, its trailing newline removed.
    std::string jq(const std::string& json, const std::string& filter) const {
        const std::string path = (dir_ / "out.json").string();
        if (!replace_file_atomically(path, Bytes(json.begin(), json.end())).ok()) return "";
        std::string out = run_command("jq -r '" + filter + "' " + path).out;
        if (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }

    fs::path dir_;
};

}  // namespace kvd
