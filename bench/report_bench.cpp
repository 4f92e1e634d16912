// The first page of a long report against that of a short one. A print or
// preview starts by counting the job's pages and then draws the page it
// shows first; both are done here, page 1 drawn as the preview draws it (an
// image at screen resolution), for
//   first_page/long:  a field tester's file of 100,000 readings (thousands of
//                     pages of raw record and loading detail),
//   first_page/demo:  samples/demo.PTX (eleven pages).
// The last line of output is "first-page ratio: X" (long over demo); counting
// must not grow with the job, so X stays at most 3.
//   report_pdf/demo:  the whole demo report written as a PDF, as kvdtool
//                     report writes it (for the record, not in the ratio).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "bench_ratio_reporter.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "output/print/print_job.h"
#include "qt/font_setup.h"
#include "qt/page_render.h"

namespace {

namespace fs = std::filesystem;

constexpr int kReadings = 100000;
constexpr int kScreenDpi = 96;

struct Report {
    kvd::ScriptedUserInterface ui;
    kvd::CLbxDoc doc{ui};
    kvd::FixedFontMetrics metrics;
};

std::unique_ptr<Report> long_report;
std::unique_ptr<Report> demo_report;
fs::path pdf_path;

void first_page(benchmark::State& state, Report* report) {
    for (auto _ : state) {
        kvd::PrintJob job(report->doc, report->metrics, kvd::tables_of_record(report->doc.record()));
        QImage image;
        const kvd::Status drawn = kvd::render_page_to_image(
            image, job.paper(), [&job](kvd::Canvas& canvas) { job.draw_page(canvas, 1); },
            kScreenDpi);
        if (!drawn.ok() || job.total() < 1) {
            state.SkipWithError("page 1 could not be drawn");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

void report_pdf(benchmark::State& state) {
    Report& report = *demo_report;
    for (auto _ : state) {
        kvd::PrintJob job(report.doc, report.metrics, kvd::tables_of_record(report.doc.record()));
        std::vector<kvd::PagePainter> pages;
        for (int p = 1; p <= job.total(); ++p) {
            pages.push_back([&job, p](kvd::Canvas& canvas) { job.draw_page(canvas, p); });
        }
        if (!kvd::render_pages_to_pdf(pdf_path, job.paper(), pages).ok()) {
            state.SkipWithError("the PDF could not be written");
            return;
        }
    }
}

bool open_into(Report& report, const std::string& path) { return report.doc.open(path); }

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    kvd::install_font_substitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    kvd::SampleOptions options;
    options.readings = kReadings;
    kvd::Bytes file;
    const std::string stem = "kvd_report_bench_" + std::to_string(::getpid());
    const fs::path path = fs::temp_directory_path() / (stem + ".PTX");
    pdf_path = fs::temp_directory_path() / (stem + ".pdf");
    if (!kvd::make_sample_file(options, file).ok() ||
        !kvd::replace_file_atomically(path, file).ok()) {
        std::fprintf(stderr, "cannot make the sample file\n");
        return 1;
    }
    long_report = std::make_unique<Report>();
    demo_report = std::make_unique<Report>();
    const bool opened = open_into(*long_report, path.string()) &&
                        open_into(*demo_report, std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX");
    std::error_code ignored;
    fs::remove(path, ignored);
    if (!opened) {
        std::fprintf(stderr, "cannot open the sample files\n");
        return 1;
    }

    benchmark::RegisterBenchmark("first_page/long", first_page, long_report.get())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("first_page/demo", first_page, demo_report.get())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("report_pdf/demo", report_pdf)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove(pdf_path, ignored);
    long_report.reset();
    demo_report.reset();
    return reporter.print_ratio("first_page/long", "first_page/demo", "first-page ratio") ? 0 : 1;
}
