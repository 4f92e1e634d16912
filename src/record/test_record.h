#pragma once
// TestRecord: everything the program knows about one static load test. The
// document owns one; every table, curve, print-out, export and upload reads
// it. For tests that came from the field tester it also keeps the readings
// exactly as recorded (raw_readings), the control parameters in force at each
// (param_snapshots, same index) and the before/after images of readings the
// tester changed (mod_blocks, three entries per block; the k-th status-1 raw
// reading owns entries 3k ... 3k+2).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/engineer_choice.h"
#include "record/raw_reading.h"
#include "record/test_data.h"
#include "record/test_header.h"
#include "record/test_params.h"

namespace kvd {

enum class FileKind : std::int32_t {
    kNone = 0,
    kTestFile = 1,         // written by the field tester: raw readings only
    kAnalysis = 2,         // analysis file: grades only
    kAnalysisWithRaw = 3,  // analysis file that keeps the raw readings too
    kOldTestFile = 5,      // old "meyptx" test format (read only)
};

struct TestRecord {
    TestHeader header = default_test_header(0);
    std::string file_path;  // where the record was read from; used by the upload
    FileKind opened_kind = FileKind::kAnalysis;
    FileKind save_kind = FileKind::kAnalysis;
    std::vector<ReadingParams> param_snapshots;
    CTestData grades;
    TestParams test_params;
    // TestParams as derived from the header when the file was read: what
    // restoring from the raw readings returns to.
    TestParams params_as_read;
    InstrumentParams instrument_params;
    std::vector<RawReading> raw_readings;
    std::vector<RawReading> mod_blocks;
    // The engineer's accepted bearing capacity; kept by the analysis file
    // kinds in their trailing block (record/engineer_choice.h), dropped by a
    // test file.
    std::optional<EngineerChoice> engineer_choice;

    int raw_count() const { return static_cast<int>(raw_readings.size()); }
    int mod_count() const { return static_cast<int>(mod_blocks.size()); }

    // A fresh record: header and TestParams defaults with the given time.
    static TestRecord make_empty(std::int64_t now);

    // Rebuilds TestParams (and params_as_read) and InstrumentParams from the
    // header, as every read does.
    void rebuild_params();
    // Copies snapshot r into the header; false when r does not exist.
    bool apply_snapshot(int r);
    // One snapshot per raw reading taken from the current header.
    void rebuild_snapshots_from_header();
    // Frees the grades and the raw arrays and resets the parameter blocks.
    void clear_contents(std::int64_t now);
    // For a record the program builds itself (new document, wizard): makes the
    // header and TestParams agree on what the analysis reads, so that saving
    // and reopening shows the same settlements and minutes. A header that
    // configures channels keeps them (a new test inherits the gauge setup);
    // one that configures none gets TestParams' defaults; likewise the
    // direction kind. The interval tables follow TestParams.
    void reconcile_new_record();
};

}  // namespace kvd
