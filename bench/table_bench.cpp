// Filling the six tables for a large test against formatting their cell
// texts. A field tester's file of 100,000 readings is made once and opened;
//   fill:   every table refills its grid from the document, as before a paint;
//   format: the same cell texts made with snprintf into one reused buffer.
// The last line of output is "fill/format ratio: X" from the two mean real
// times; a refill should cost at most three times the bare formatting.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "bench_ratio_reporter.h"
#include "bench_sample.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "tables/table_factory.h"

namespace {

constexpr int kReadings = 100000;

struct Fixture {
    kvd::ScriptedUserInterface ui;
    std::unique_ptr<kvd::CLbxDoc> doc;
    kvd::FixedFontMetrics metrics;
    std::vector<std::unique_ptr<kvd::CMyGrid>> tables;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void fill(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        for (auto& table : f.tables) table->fill();
        benchmark::DoNotOptimize(f.tables.front()->row_count());
    }
}

// The texts the tables show, made with snprintf: per raw reading its loads,
// pressure, clock time, interval, channels in use and average; per shown
// detail reading its settlement; per grade its summary and anchor columns.
void format(benchmark::State& state) {
    const kvd::TestRecord& record = fixture().doc->record();
    const auto& roles = record.instrument_params.channel_role;
    char buffer[64];
    for (auto _ : state) {
        std::size_t bytes = 0;
        auto put = [&](int n) { bytes += static_cast<std::size_t>(n); };
        std::int64_t previous = 0;
        for (const kvd::RawReading& raw : record.raw_readings) {
            put(std::snprintf(buffer, sizeof buffer, "%d", raw.grade_load));
            put(std::snprintf(buffer, sizeof buffer, "%d", raw.load_a));
            put(std::snprintf(buffer, sizeof buffer, "%5.2f", raw.pressure_a));
            put(std::snprintf(buffer, sizeof buffer, "%02d:%02d",
                              static_cast<int>(raw.time / 3600 % 24),
                              static_cast<int>(raw.time / 60 % 60)));
            put(std::snprintf(buffer, sizeof buffer, "%d",
                              static_cast<int>((raw.time - previous) / 60)));
            previous = raw.time;
            double sum = 0;
            for (int j = 0; j < kvd::kChannelCount; ++j) {
                if (roles[j] == kvd::ChannelRole::kUnused) continue;
                put(std::snprintf(buffer, sizeof buffer, "%6.2f", raw.channel[j]));
                sum += raw.channel[j];
            }
            put(std::snprintf(buffer, sizeof buffer, "%6.2f", sum));
        }
        for (const kvd::COneGradeData& grade : record.grades.grades()) {
            const int shown = std::min(grade.size(), 100);
            for (int i = 0; i < shown; ++i) {
                put(std::snprintf(buffer, sizeof buffer, "%6.2f", grade.get(i)->settlement));
            }
            put(std::snprintf(buffer, sizeof buffer, "%d", grade.front().load));
            for (int k = 0; k < 6; ++k) {
                put(std::snprintf(buffer, sizeof buffer, "%6.2f", grade.back().settlement));
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture& f = fixture();
    f.doc = std::make_unique<kvd::CLbxDoc>(f.ui);
    const bool opened = kvd::bench::open_large_sample(*f.doc, kReadings, "table_bench");
    if (!opened) return 1;
    for (const kvd::TableName& name : kvd::table_names()) {
        f.tables.push_back(kvd::make_table(name.kind, *f.doc, f.metrics));
    }

    benchmark::RegisterBenchmark("fill", fill)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("format", format)->Unit(benchmark::kMillisecond)->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.print_ratio("fill", "format", "fill/format ratio") ? 0 : 1;
}
