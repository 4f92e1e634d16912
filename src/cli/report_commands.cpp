// kvdtool's reading commands: info, raw, readings, grades, totals.

#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "base/local_time.h"
#include "base/text_codec.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/lbx_doc.h"
#include "record/file_classifier.h"
#include "record/grade_compute.h"

namespace kvd::cli {
namespace {

// Opens FILE (args[0]) through the document with every question answered
// "yes"; false (after the program's message on stderr) when it is refused.
bool open_document(const Args& args, CLbxDoc& doc) {
    if (args.size() != 1) return false;
    return doc.open(args[0]);
}

void print_channel_header() {
    for (int j = 1; j <= kChannelCount; ++j) std::printf("\tch%d", j);
}

void print_channels(const double (&channel)[kChannelCount]) {
    for (double value : channel) std::printf("\t%.4f", value);
}

int file_argument_error(const char* command) {
    return usage_error(std::string("用法: kvdtool ") + command + " FILE");
}

}  // namespace

int run_info(const Args& args) {
    if (args.size() != 1) return file_argument_error("info");
    Bytes bytes;
    if (Status status = read_whole_file(args[0], bytes); !status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    const FileProbe probe = classify_file(bytes);
    // A file of no known type has no class, kind or version to tell.
    const bool known =
        probe.file_class != FileClass::kForeign && probe.file_class != FileClass::kUnclassified;
    if (known) {
        std::printf("class: %d (%s)\n", static_cast<int>(probe.file_class),
                    file_class_name(probe.file_class));
        std::printf("kind: %d (%s)\n", static_cast<int>(probe.kind), file_kind_name(probe.kind));
        std::printf("version: %.4f\n", probe.version);
    }
    const bool openable = probe.file_class == FileClass::kOldFormat ||
                          probe.file_class == FileClass::kUnfinished ||
                          probe.file_class == FileClass::kReadable;
    if (!openable) {
        std::fprintf(stderr, "%s\n", refusal_message(probe.file_class));
        return 1;
    }
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    const TestRecord& record = doc.record();
    std::printf("unfinished: %d\n", probe.file_class == FileClass::kUnfinished ? 1 : 0);
    std::printf("raw_readings: %d\n", record.raw_count());
    std::printf("mod_entries: %d\n", record.mod_count());
    std::printf("grades: %d\n", record.grades.grade_count());
    std::printf("loading_grades: %d\n", record.grades.loading_grade_count());
    std::printf("site: %s\n", read_gbk_field(record.header.site_name).c_str());
    std::printf("pile: %s\n", read_gbk_field(record.header.pile_number).c_str());
    std::printf("test_time: %s\n", format_local_time(record.header.test_time, "%Y-%m-%d %H:%M").c_str());
    std::printf("test_method: %s\n", read_gbk_field(record.header.test_method).c_str());
    std::printf("direction: %s\n", is_uplift(record.header) ? "上拔" : "沉降");
    std::printf("load_unit: %s\n", record.test_params.in_kpa() ? "kPa" : "kN");
    std::printf("uploadable: %d\n", doc.upload_enabled() ? 1 : 0);
    return 0;
}

int run_raw(const Args& args) {
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (args.size() != 1) return file_argument_error("raw");
    if (!open_document(args, doc)) return 1;
    std::printf("index\ttime\tstatus\tloading\tgrade\treading\tgrade_load\tload_a\tload_b"
                "\tpressure_a\tpressure_b");
    print_channel_header();
    std::printf("\n");
    int index = 0;
    for (const RawReading& raw : doc.record().raw_readings) {
        std::printf("%d\t%lld\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%.4f\t%.4f", index++,
                    static_cast<long long>(raw.time), raw.status, raw.loading, raw.grade, raw.index,
                    raw.grade_load, raw.load_a, raw.load_b, raw.pressure_a, raw.pressure_b);
        print_channels(raw.channel);
        std::printf("\n");
    }
    return 0;
}

int run_readings(const Args& args) {
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (args.size() != 1) return file_argument_error("readings");
    if (!open_document(args, doc)) return 1;
    std::printf("grade\tindex\tnumber\tloading\tload\tminutes");
    print_channel_header();
    std::printf("\tsettlement\n");
    const CTestData& grades = doc.record().grades;
    for (int g = 0; g < grades.grade_count(); ++g) {
        int i = 0;
        for (const SamplePoint& point : grades.grade(g)->points()) {
            std::printf("%d\t%d\t%d\t%d\t%d\t%d", g, i++, point.grade, point.loading, point.load,
                        point.minutes);
            print_channels(point.channel);
            std::printf("\t%.2f\n", point.settlement);
        }
    }
    return 0;
}

int run_grades(const Args& args) {
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (args.size() != 1) return file_argument_error("grades");
    if (!open_document(args, doc)) return 1;
    std::printf("grade\tloading\tload\treadings\tholding\tcumulative_time\tthis_grade\tcumulative\n");
    int g = 0;
    for (const GradeSummary& row : summarize_grades(doc.record().grades)) {
        std::printf("%d\t%d\t%d\t%d\t%d\t%d\t%.2f\t%.2f\n", g++, row.loading, row.load, row.readings,
                    row.holding_minutes, row.cumulative_minutes, row.this_grade, row.cumulative);
    }
    return 0;
}

int run_totals(const Args& args) {
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (args.size() != 1) return file_argument_error("totals");
    if (!open_document(args, doc)) return 1;
    const TestTotals totals = compute_totals(doc.record().grades);
    std::printf("max\trebound\trebound_ratio\tunloading_grades\n");
    std::printf("%.2f\t%.2f\t%.2f\t%d\n", totals.max_settlement, totals.rebound, totals.rebound_ratio,
                totals.unloading_grades);
    return 0;
}

}  // namespace kvd::cli
