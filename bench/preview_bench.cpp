// The open dialog's preview of a large test file against that of a small one.
// Two field tester's files, of 100,000 and of 100 readings, are made once and
// written to temporary files; each benchmark previews one of them as the
// dialog does when it is selected (open, read the beginning and the end,
// summary and curve data). The last line of output is
// "large/small preview ratio: X": the preview reads a bounded part of a file,
// so X should stay close to 1 however large the file is.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "bench_ratio_reporter.h"
#include "cli/sample_maker.h"
#include "record/file_preview.h"

namespace {

std::filesystem::path large_file;
std::filesystem::path small_file;

void preview(benchmark::State& state, const std::filesystem::path* path) {
    for (auto _ : state) {
        const kvd::FilePreview shown = kvd::preview_file(*path);
        if (!shown.has_last_reading) {
            state.SkipWithError("the sample file gave no preview");
            break;
        }
        benchmark::DoNotOptimize(shown.last_time);
    }
}

bool make(int readings, const char* name, std::filesystem::path& path) {
    kvd::SampleOptions options;
    options.readings = readings;
    kvd::Bytes file;
    path = std::filesystem::temp_directory_path() /
           ("kvd_preview_bench_" + std::to_string(::getpid()) + name);
    kvd::Status status = kvd::make_sample_file(options, file);
    if (status.ok()) status = kvd::replace_file_atomically(path, file);
    if (!status.ok()) std::fprintf(stderr, "%s\n", status.message().c_str());
    return status.ok();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!make(100000, "_large.PTX", large_file) || !make(100, "_small.PTX", small_file)) return 1;

    benchmark::RegisterBenchmark("large", preview, &large_file)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("small", preview, &small_file)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove(large_file, ignored);
    std::filesystem::remove(small_file, ignored);
    return reporter.print_ratio("large", "small", "large/small preview ratio") ? 0 : 1;
}
