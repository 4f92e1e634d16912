// Fuzzes the test and analysis file reader. The bytes read piecewise, as from
// an open file, through a buffer whose size the input chooses, must give what
// they give in memory. Whatever the reader accepts must also survive the save
// the program would make of it: written in that file kind and read again, the
// record keeps its grades, its readings and its raw readings. A difference
// aborts, so libFuzzer keeps the input.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

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

template <class T>
bool same_images(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool same_grades(const CTestData& a, const CTestData& b) {
    if (a.grade_count() != b.grade_count()) return false;
    for (int g = 0; g < a.grade_count(); ++g) {
        const auto x = a.grade(g)->points();
        const auto y = b.grade(g)->points();
        if (x.size() != y.size() ||
            (!x.empty() && std::memcmp(x.data(), y.data(), x.size_bytes()))) {
            return false;
        }
    }
    return true;
}

void check_piecewise(ByteView bytes, const Status& status, const TestRecord& record,
                     const ReadReport& report) {
    // 1 ... 512 bytes: buffers that split every record image somewhere.
    const std::size_t buffer_bytes = bytes.empty() ? 1 : 1 + bytes.back() * 2u;
    ByteViewSource source(bytes);
    TestRecord again;
    ReadReport again_report;
    const Status again_status = read_record(source, again, again_report, buffer_bytes);
    const bool same_outcome = again_status.ok() == status.ok() &&
                              again_status.message() == status.message() &&
                              again_report.notices == report.notices &&
                              again_report.recovered_readings == report.recovered_readings;
    if (!same_outcome) fail("piecewise reading gives another outcome", record.opened_kind);
    if (!status.ok()) return;
    if (std::memcmp(&again.header, &record.header, sizeof record.header) != 0 ||
        !same_images(again.raw_readings, record.raw_readings) ||
        !same_images(again.param_snapshots, record.param_snapshots) ||
        !same_images(again.mod_blocks, record.mod_blocks) ||
        !same_grades(again.grades, record.grades)) {
        fail("piecewise reading gives another record", record.opened_kind);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TestRecord record;
    ReadReport report;
    const ByteView bytes(data, size);
    const Status status = read_record(bytes, record, report);
    check_piecewise(bytes, status, record, report);
    if (!status.ok()) return 0;
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
