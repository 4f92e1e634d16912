#pragma once
// The large test the benchmarks measure with: a field tester's file of the
// given number of readings, written to a temporary file, opened by a
// document as the program opens it, and removed again.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"

namespace kvd::bench {

// False, with the reason on standard error, when the file cannot be made or opened.
inline bool open_large_sample(CLbxDoc& doc, int readings, const char* name) {
    SampleOptions options;
    options.readings = readings;
    Bytes file;
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("kvd_" + std::string(name) + "_" + std::to_string(::getpid()) + ".PTX");
    if (!make_sample_file(options, file).ok() || !replace_file_atomically(path, file).ok()) {
        std::fprintf(stderr, "cannot make the sample file\n");
        return false;
    }
    const bool opened = doc.open(path.string());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (!opened) std::fprintf(stderr, "cannot open the sample file\n");
    return opened;
}

}  // namespace kvd::bench
