// What keeping the derived values current costs on a large test, against a
// recompute of the whole record. A field tester's file of 100,000 readings is
// made once and opened;
//   whole: the scheduled minutes, first-reading repeats and settlements of
//          every reading (open, restore, interval change; and what every
//          table fill and curve paint used to run);
//   edit:  the document's step after a corrected reading of a middle grade
//          (that grade and the next grade's first reading).
// The last line of output is "whole/edit ratio: X" from the two mean real
// times: how many corrections cost as much as one whole recompute.

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
#include "doc/doc_view.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"

namespace {

constexpr int kReadings = 100000;

struct Fixture {
    kvd::ScriptedUserInterface ui;
    std::unique_ptr<kvd::CLbxDoc> doc;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void whole(benchmark::State& state) {
    kvd::CLbxDoc& doc = *fixture().doc;
    for (auto _ : state) {
        doc.refresh_derived();
        benchmark::DoNotOptimize(doc.record().grades.last_settlement(0));
    }
}

void edit(benchmark::State& state) {
    kvd::CLbxDoc& doc = *fixture().doc;
    const int grade = doc.record().grades.grade_count() / 2;
    const int reading = doc.record().grades.reading_count(grade) - 1;
    kvd::SamplePoint* point = doc.record().grades.grade(grade)->get(reading);
    int step = 0;
    for (auto _ : state) {
        point->channel[0] += (step++ % 2 == 0) ? 0.01 : -0.01;
        doc.commit_change(kvd::change_notice(grade, reading), false);
        benchmark::DoNotOptimize(point->settlement);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture& f = fixture();
    f.doc = std::make_unique<kvd::CLbxDoc>(f.ui);
    const bool opened = kvd::bench::open_large_sample(*f.doc, kReadings, "derived_bench");
    if (!opened) return 1;

    benchmark::RegisterBenchmark("whole", whole)->Unit(benchmark::kMicrosecond)->UseRealTime();
    benchmark::RegisterBenchmark("edit", edit)->Unit(benchmark::kMicrosecond)->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.print_ratio("whole", "edit", "whole/edit ratio") ? 0 : 1;
}
