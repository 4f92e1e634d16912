// Uploading a test file of 10,000 raw readings to the station simulator on
// 127.0.0.1, against 10,000 bare round trips of a record message and its
// 18-byte reply on the same kind of connection to the same simulator:
//   upload:    the worker as the dialog runs it: messages built from the
//              record, every reply checked, the progress written into the
//              test file after each acknowledged record;
//   roundtrip: one prebuilt message sent and its reply read, 10,000 times.
// The last line of output is "upload/roundtrip ratio: X" from the two mean
// real times; the upload should stay within twice the bare round trips.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "bench_ratio_reporter.h"
#include "cli/sample_maker.h"
#include "output/upload/station_simulator.h"
#include "output/upload/upload_messages.h"
#include "output/upload/upload_protocol.h"
#include "output/upload/upload_worker.h"
#include "record/test_file_reader.h"

namespace {

using namespace kvd;
using namespace kvd::upload;

constexpr int kRecords = 10000;
constexpr int kRepetitions = 4;
constexpr int kTimeoutMs = 6000;

struct Fixture {
    std::filesystem::path path;
    Bytes file;
    UploadSource source;
    StationSimulator station;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

class CountingObserver : public UploadObserver {
public:
    void on_status(const std::string& text) override { bytes_ += text.size(); }
    void on_progress(std::uint32_t, int uploaded) override { last_ = uploaded; }
    int last() const { return last_; }

private:
    std::size_t bytes_ = 0;
    int last_ = 0;
};

void upload_records(benchmark::State& state) {
    Fixture& f = fixture();
    UploadOptions options;
    options.target.address = "127.0.0.1";
    options.target.host_name = false;
    options.target.port = f.station.port();
    for (auto _ : state) {
        state.PauseTiming();
        // Nothing sent yet, every time.
        const bool reset = replace_file_atomically(f.path, f.file).ok();
        state.ResumeTiming();
        CancelToken token;
        CountingObserver observer;
        const UploadOutcome outcome = run_upload(f.source, options, observer, token);
        if (!reset || outcome.result != UploadResult::kComplete || observer.last() != kRecords) {
            state.SkipWithError(("the upload failed: " + outcome.status).c_str());
            break;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kRecords);
}

void roundtrip(benchmark::State& state) {
    Fixture& f = fixture();
    CancelToken token;
    sockaddr_in address{};
    parse_ipv4("127.0.0.1", f.station.port(), address);
    UniqueFd socket = open_tcp_socket();
    if (!connect_socket(socket.get(), address, kTimeoutMs, token).ok()) {
        state.SkipWithError("no connection to the simulator");
        return;
    }
    // An identifier from the station, so that it takes the records.
    const Bytes verification =
        frame_message(MessageType::kVerification, verification_payload(f.source.header));
    Bytes reply;
    if (!send_all(socket.get(), verification, kTimeoutMs, token).ok() ||
        !receive_exactly(socket.get(), reply, kReplySize, kTimeoutMs, token).ok()) {
        state.SkipWithError("the simulator did not answer");
        return;
    }
    const std::uint32_t identifier = check_reply(reply, kVerificationSequence).reply.identifier;
    const Bytes record = frame_message(
        MessageType::kRecord, record_payload(f.source.header, f.source.readings[0], 0, identifier));
    const std::uint16_t sequence = record_sequence(0);
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) {
            reply.clear();
            if (!send_all(socket.get(), record, kTimeoutMs, token).ok() ||
                !receive_exactly(socket.get(), reply, kReplySize, kTimeoutMs, token).ok() ||
                !check_reply(reply, sequence).accepted()) {
                state.SkipWithError("a round trip failed");
                return;
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kRecords);
}

}  // namespace

int main(int argc, char** argv) {
    // The two runs take turns, so that a change in the machine's load
    // between them does not pass for a difference between them.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    Fixture& f = fixture();
    SampleOptions options;
    options.readings = kRecords;
    if (Status made = make_sample_file(options, f.file); !made.ok()) {
        std::fprintf(stderr, "%s\n", made.message().c_str());
        return 1;
    }
    f.path = std::filesystem::temp_directory_path() /
             ("kvd_upload_bench_" + std::to_string(::getpid()) + ".PTX");
    TestRecord record;
    ReadReport report;
    if (!replace_file_atomically(f.path, f.file).ok() ||
        !read_record(f.file, record, report).ok() || !report.uploadable) {
        std::fprintf(stderr, "the sample test file could not be made\n");
        return 1;
    }
    record.file_path = f.path.string();
    f.source = UploadSource::from_record(record);
    if (Status started = f.station.start(); !started.ok()) {
        std::fprintf(stderr, "%s\n", started.message().c_str());
        return 1;
    }

    benchmark::RegisterBenchmark("upload", upload_records)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(kRepetitions);
    benchmark::RegisterBenchmark("roundtrip", roundtrip)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(kRepetitions);
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    f.station.stop();
    std::error_code ignored;
    std::filesystem::remove(f.path, ignored);
    return reporter.print_ratio("upload", "roundtrip", "upload/roundtrip ratio") ? 0 : 1;
}
