// The Word report of a large test against compressing its XML. A field
// tester's file of 100,000 readings is made once and opened;
//   docx: the report with every section (summary, detail, raw record,
//         curves) written by CWordOffice into the word model and serialised
//         to the .docx package in memory, as the export does before it
//         writes the file;
//   zip:  the same document.xml bytes deflated into a zip with libzip, the
//         part of that work no writer can avoid.
// The last line of output is "docx/zip ratio: X" from the two mean real
// times; the whole export should cost at most twice the compression.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/file_io.h"
#include "base/temporary_folder.h"
#include "bench_ratio_reporter.h"
#include "bench_sample.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "output/word/docx_writer.h"
#include "output/word/word_office.h"
#include "output/word/zip_package.h"

namespace {

constexpr int kReadings = 100000;

struct Fixture {
    kvd::ScriptedUserInterface ui;
    std::unique_ptr<kvd::CLbxDoc> doc;
    std::optional<kvd::TemporaryFolder> folder;
    std::string xml;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// The report in memory; false when a section failed.
bool write_report(kvd::Bytes& package, std::string* xml) {
    Fixture& f = fixture();
    kvd::word::Application application;
    kvd::CWordOffice office(*f.doc);
    const kvd::WordReportOptions every_section{true, true, true, true};
    if (office.write_report(application, every_section, f.folder->path()) !=
        kvd::CWordOffice::Outcome::kComplete) {
        return false;
    }
    if (xml) *xml = kvd::word::document_xml(office.document()->content());
    return kvd::word::docx_bytes(office.document()->content(), package).ok();
}

void docx(benchmark::State& state) {
    for (auto _ : state) {
        kvd::Bytes package;
        if (!write_report(package, nullptr)) state.SkipWithError("the report failed");
        benchmark::DoNotOptimize(package.data());
    }
}

void zip(benchmark::State& state) {
    const std::string& xml = fixture().xml;
    const kvd::ByteView bytes(reinterpret_cast<const std::uint8_t*>(xml.data()), xml.size());
    for (auto _ : state) {
        kvd::Bytes archive;
        if (!kvd::word::zip_entries({{"word/document.xml", bytes}}, archive).ok()) {
            state.SkipWithError("zip failed");
        }
        benchmark::DoNotOptimize(archive.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture& f = fixture();
    f.doc = std::make_unique<kvd::CLbxDoc>(f.ui);
    const bool opened = kvd::bench::open_large_sample(*f.doc, kReadings, "word_bench");
    kvd::Status status = kvd::Status::success();
    f.folder = kvd::TemporaryFolder::create("word-bench", status);
    kvd::Bytes package;
    if (!opened || !f.folder || !write_report(package, &f.xml)) {
        std::fprintf(stderr, "cannot open the sample file or write its report\n");
        return 1;
    }
    std::printf("document.xml: %zu bytes, .docx: %zu bytes\n", f.xml.size(), package.size());

    benchmark::RegisterBenchmark("docx", docx)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("zip", zip)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    kvd::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return reporter.print_ratio("docx", "zip", "docx/zip ratio") ? 0 : 1;
}
