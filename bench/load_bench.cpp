// Opening a large test file against copying its bytes. A field tester's file
// of 100,000 readings is made once, written to a temporary file, then
//   load: read from disk and read into a record (which builds the grades),
//   copy: memcpy of as many bytes into a buffer allocated beforehand.
// The last line of output is "load/copy ratio: X", X from the two mean real
// times; opening should stay within five times the copy. The allocator is set
// up as in the programs, so every open after the first reuses warm memory;
// KVD_BENCH_COLD=1 leaves the default allocator to show the cost of fresh
// memory instead.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "base/memory_tuning.h"
#include "bench_ratio_reporter.h"
#include "cli/sample_maker.h"
#include "record/test_file_reader.h"

namespace {

constexpr int kReadings = 100000;

struct Fixture {
    std::filesystem::path path;
    std::size_t size = 0;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// A fresh buffer and record each time, as when the program opens a file.
void load(benchmark::State& state) {
    for (auto _ : state) {
        kvd::Bytes bytes;
        kvd::TestRecord record;
        kvd::ReadReport report;
        if (!kvd::read_whole_file(fixture().path, bytes).ok() ||
            !kvd::read_record(bytes, record, report).ok()) {
            state.SkipWithError("the sample file could not be read");
            break;
        }
        benchmark::DoNotOptimize(record.grades.grade_count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture().size));
}

void copy(benchmark::State& state) {
    const kvd::Bytes source(fixture().size, 0x5a);
    kvd::Bytes target(fixture().size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture().size));
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator as kvd and kvdtool set it up: repeated opens reuse memory.
    if (std::getenv("KVD_BENCH_COLD") == nullptr) kvd::keep_freed_memory_for_reuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    kvd::SampleOptions options;
    options.readings = kReadings;
    kvd::Bytes file;
    if (kvd::Status made = kvd::make_sample_file(options, file); !made.ok()) {
        std::fprintf(stderr, "%s\n", made.message().c_str());
        return 1;
    }
    Fixture& f = fixture();
    f.path = std::filesystem::temp_directory_path() /
             ("kvd_load_bench_" + std::to_string(::getpid()) + ".PTX");
    f.size = file.size();
    if (kvd::Status written = kvd::replace_file_atomically(f.path, file); !written.ok()) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        return 1;
    }

    benchmark::RegisterBenchmark("load", load)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("copy", copy)->Unit(benchmark::kMillisecond)->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove(f.path, ignored);
    return reporter.print_ratio("load", "copy", "load/copy ratio") ? 0 : 1;
}
