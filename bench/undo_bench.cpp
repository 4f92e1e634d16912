// What undo costs on a test of 100,000 readings, opened as the program opens
// it:
//   edit:    one reading changed as a command changes it (the copy of the
//            readings the command is measured against, the change, the step
//            kept for undo) and undone again; its counters
//            give the memory each kind of step holds, in bytes:
//              reading_step  one reading typed anew,
//              grade_step    a whole grade moved (a drag on the Q-s curve),
//              delete_step   a grade deleted (the later ones renumbered),
//              record_bytes  the readings of the whole test, for comparison;
//   refresh: bringing the averages and minutes of the whole test up to date,
//            which every command does anyway: the baseline of the ratio.
// The last line is "edit/refresh ratio: X".

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
#include "curves/point_edit.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "record/grade_compute.h"

namespace {

constexpr int kReadings = 100000;

struct Fixture {
    kvd::ScriptedUserInterface ui;
    std::unique_ptr<kvd::CLbxDoc> doc;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Bytes of the step the command makes, then undoes it.
template <typename Command>
double step_bytes(kvd::CLbxDoc& doc, Command command) {
    {
        const kvd::CommandStep step(doc, "bench");
        command();
    }
    const double bytes = static_cast<double>(doc.history().step_to_undo().bytes());
    doc.undo();
    return bytes;
}

void change_reading(kvd::CLbxDoc& doc, int grade, int reading, double d) {
    kvd::SamplePoint p = *doc.record().grades.get_reading(grade, reading);
    p.channel[0] += d;
    doc.record().grades.put_reading(grade, reading, p);
    kvd::refresh_derived(doc.record());
    doc.commit_change(kvd::change_notice(grade, reading), false);
}

void edit(benchmark::State& state) {
    kvd::CLbxDoc& doc = *fixture().doc;
    const int grade = doc.record().grades.grade_count() / 2;
    const int reading = doc.record().grades.reading_count(grade) / 2;
    for (auto _ : state) {
        {
            const kvd::CommandStep step(doc, "bench");
            change_reading(doc, grade, reading, 0.5);
        }
        doc.undo();
    }
    std::size_t record_bytes = 0;
    for (const kvd::COneGradeData& g : doc.record().grades.grades()) {
        record_bytes += g.points().size_bytes();
    }
    state.counters["reading_step"] =
        step_bytes(doc, [&] { change_reading(doc, grade, reading, 0.5); });
    state.counters["grade_step"] = step_bytes(doc, [&] { kvd::add_to_grade(doc, grade, 0.5); });
    state.counters["delete_step"] = step_bytes(doc, [&] {
        doc.record().grades.remove_grade(grade);
        doc.commit_change(kvd::hint::kRefresh, true);
    });
    state.counters["record_bytes"] = static_cast<double>(record_bytes);
}

void refresh(benchmark::State& state) {
    kvd::CLbxDoc& doc = *fixture().doc;
    for (auto _ : state) kvd::refresh_derived(doc.record());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture& f = fixture();
    f.doc = std::make_unique<kvd::CLbxDoc>(f.ui);
    const bool opened = kvd::bench::open_large_sample(*f.doc, kReadings, "undo_bench");
    if (!opened) return 1;

    benchmark::RegisterBenchmark("edit", edit)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("refresh", refresh)->Unit(benchmark::kMillisecond)->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.print_ratio("edit", "refresh", "edit/refresh ratio") ? 0 : 1;
}
