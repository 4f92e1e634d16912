// Fuzzes the test and analysis file reader. Whatever it accepts must also
// survive the save the program would make of it: written in that file kind and
// read again, the record keeps its grades, its readings and its raw readings.
// A difference aborts, so libFuzzer keeps the input.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "record/test_file_reader.h"
#include "record/test_file_writer.h"

namespace {

using namespace kvd;

[[noreturn]] void fail(const char* what, FileKind kind) {
    std::fprintf(stderr, "rewrite as kind %d: %s\n", static_cast<int>(kind), what);
    std::abort();
}

void check_rewrite(TestRecord record, FileKind kind) {
    record.save_kind = kind;
    Bytes bytes;
    if (!write_record(record, bytes).ok()) fail("write_record failed", kind);

    TestRecord again;
    ReadReport report;
    const Status status = read_record(bytes, again, report);
    if (!status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        fail("the written file does not read", kind);
    }
    if (again.grades.grade_count() != record.grades.grade_count() ||
        again.grades.total_readings() != record.grades.total_readings() ||
        again.raw_count() != record.raw_count()) {
        std::fprintf(stderr, "grades %d -> %d, readings %d -> %d, raw %d -> %d\n",
                     record.grades.grade_count(), again.grades.grade_count(),
                     record.grades.total_readings(), again.grades.total_readings(),
                     record.raw_count(), again.raw_count());
        fail("the record changed", kind);
    }
    if (report.damaged) fail("the written file reads as damaged", kind);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TestRecord record;
    ReadReport report;
    if (!read_record(ByteView(data, size), record, report).ok()) return 0;
    (void)damage_notice(report);

    switch (record.opened_kind) {
        case FileKind::kTestFile:
            // Saved as an analysis file that keeps the raw readings; test files
            // made by hand are written as kind 1.
            check_rewrite(record, FileKind::kAnalysisWithRaw);
            check_rewrite(record, FileKind::kTestFile);
            break;
        case FileKind::kOldTestFile:
            // The old format is never written; its readings are converted on saving.
            record.rebuild_snapshots_from_header();
            check_rewrite(record, FileKind::kAnalysisWithRaw);
            check_rewrite(record, FileKind::kTestFile);
            break;
        default:
            check_rewrite(record, record.opened_kind);
            break;
    }
    return 0;
}
