// Opening a large test file, measured as the user meets it, against reading
// the same file into memory. A field tester's file of 100,000 readings is
// written to a temporary file once; then four benchmarks run in two twins:
//
//   cold_load  a first open: every iteration forks a child process, whose
//              memory is fresh as a newly started program's; the child makes
//              a document and then, timed, opens the file with it (checks,
//              record read piecewise from the file, grades built);
//   cold_copy  its twin: the same kind of child makes an empty buffer and
//              then, timed, reads the file into it with read_whole_file;
//   warm_load  the user opening files one after another: the child's
//              document opens the file four times (untimed), then a fifth
//              time, timed, in memory the allocator kept from those;
//   warm_copy  its twin: the child's buffer is read into four times, then
//              once more, timed.
//
// The two sides of a twin differ only in what they do with the file. A child
// times only its operation (not the fork, the set-up or its exit) and sends
// the time back through a pipe, with the page faults the operation took
// (faults: fresh pages touched, the main cost of a first open) and, for a
// first open, how far its resident memory rose as a multiple of the file's
// size (peak_per_file_size: the open's own peak memory). Before each run
// this process returns its free heap pages to the system, so that a child's
// allocations find fresh pages, never copies of pages of this process.
//
// Output: the console table, then "warm load/copy ratio: X" and, last,
// "load/copy ratio: X" for the cold twin, each X from mean real times. Run
// with --benchmark_repetitions=N to see the spread on a busy machine.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "bench_ratio_reporter.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"

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

// What a user has before opening: the program's document.
struct OpenDocument {
    kvd::ScriptedUserInterface ui;
    kvd::CLbxDoc doc{ui};
};

// The open command: the checks, the record read piecewise from the file,
// the grades built from its raw readings, the previous record replaced.
bool open_sample(OpenDocument& open) {
    if (!open.doc.open(fixture().path.string())) return false;
    benchmark::DoNotOptimize(open.doc.record().grades.grade_count());
    return open.doc.record().raw_count() == kReadings;
}

bool copy_file(kvd::Bytes& bytes) {
    if (!kvd::read_whole_file(fixture().path, bytes).ok()) return false;
    benchmark::DoNotOptimize(bytes.data());
    return bytes.size() == fixture().size;
}

// Resident memory of this process now, in bytes.
double resident_bytes() {
    std::ifstream statm("/proc/self/statm");
    double total = 0, resident = 0;
    statm >> total >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// Page faults of this process so far (each a fresh page touched).
double page_faults() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt + usage.ru_majflt);
}

struct ChildResult {
    double seconds = -1;  // negative when the operation failed
    double peak_bytes = 0;
    double faults = 0;
};

// In a fresh child process: makes the context and runs operation on it
// warm_ups times (untimed), then times it once; seconds < 0 when anything
// failed.
template <class Make, class Operation>
ChildResult run_in_child(Make make, Operation operation, int warm_ups) {
    ChildResult result;
    int channel[2];
    if (::pipe(channel) != 0) return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        auto context = make();
        bool ready = true;
        for (int i = 0; i < warm_ups; ++i) ready = ready && operation(*context);
        ChildResult measured;
        const double before = resident_bytes();
        const double faults_before = page_faults();
        const auto start = std::chrono::steady_clock::now();
        const bool ok = operation(*context);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        measured.seconds = ok && ready ? took.count() : -1;
        measured.peak_bytes = static_cast<double>(usage.ru_maxrss) * 1024.0 - before;
        measured.faults = page_faults() - faults_before;
        const bool sent = ::write(channel[1], &measured, sizeof measured) == sizeof measured;
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    if (child > 0) {
        if (::read(channel[0], &result, sizeof result) != sizeof result) result.seconds = -1;
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) result.seconds = -1;
    }
    ::close(channel[0]);
    return result;
}

// Before the first open the allocator has nothing to give back; after a few
// opens of one process it has settled on keeping what the next open needs
// (with glibc's default settings the second and third open of a 100,000-
// reading file still touch fresh pages, the fifth and later do not).
constexpr int kColdWarmUps = 0;
constexpr int kWarmWarmUps = 4;

template <class Make, class Operation>
void run_in_children(benchmark::State& state, Make make, Operation operation, int warm_ups) {
    ::malloc_trim(0);
    double peak = 0;
    double faults = 0;
    for (auto _ : state) {
        const ChildResult result = run_in_child(make, operation, warm_ups);
        if (result.seconds < 0) {
            state.SkipWithError("the sample file could not be read in a child process");
            break;
        }
        state.SetIterationTime(result.seconds);
        peak = std::max(peak, result.peak_bytes);
        faults += result.faults;
    }
    // A warm child's peak was reached by the opens before the timed one.
    if (warm_ups == 0)
        state.counters["peak_per_file_size"] = peak / static_cast<double>(fixture().size);
    state.counters["faults"] = benchmark::Counter(faults, benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fixture().size));
}

auto make_document() {
    return std::make_unique<OpenDocument>();
}
auto make_buffer() {
    return std::make_unique<kvd::Bytes>();
}

void cold_load(benchmark::State& state) {
    run_in_children(state, make_document, open_sample, kColdWarmUps);
}
void cold_copy(benchmark::State& state) {
    run_in_children(state, make_buffer, copy_file, kColdWarmUps);
}
void warm_load(benchmark::State& state) {
    run_in_children(state, make_document, open_sample, kWarmWarmUps);
}
void warm_copy(benchmark::State& state) {
    run_in_children(state, make_buffer, copy_file, kWarmWarmUps);
}

bool write_sample(Fixture& f) {
    kvd::SampleOptions options;
    options.readings = kReadings;
    kvd::Bytes file;
    if (kvd::Status made = kvd::make_sample_file(options, file); !made.ok()) {
        std::fprintf(stderr, "%s\n", made.message().c_str());
        return false;
    }
    f.path = std::filesystem::temp_directory_path() /
             ("kvd_load_bench_" + std::to_string(::getpid()) + ".PTX");
    f.size = file.size();
    if (kvd::Status written = kvd::replace_file_atomically(f.path, file); !written.ok()) {
        std::fprintf(stderr, "%s\n", written.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!write_sample(fixture())) return 1;

    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("cold_load", cold_load)->Unit(kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("cold_copy", cold_copy)->Unit(kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("warm_load", warm_load)->Unit(kMillisecond)->UseManualTime();
    benchmark::RegisterBenchmark("warm_copy", warm_copy)->Unit(kMillisecond)->UseManualTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove(fixture().path, ignored);
    const bool warm = reporter.print_ratio("warm_load", "warm_copy", "warm load/copy ratio");
    const bool cold = reporter.print_ratio("cold_load", "cold_copy", "load/copy ratio");
    return warm && cold ? 0 : 1;
}
