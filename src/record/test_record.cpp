#include "record/test_record.h"

namespace kvd {

TestRecord TestRecord::make_empty(std::int64_t now) {
    TestRecord record;
    record.header = default_test_header(now);
    record.test_params = TestParams::defaults(now);
    return record;
}

void TestRecord::rebuild_params() {
    test_params = TestParams::from_header(header);
    instrument_params = InstrumentParams::from_header(header, raw_count(), mod_count());
}

bool TestRecord::apply_snapshot(int r) {
    if (r < 0 || r >= static_cast<int>(param_snapshots.size())) return false;
    kvd::apply_snapshot(param_snapshots[static_cast<std::size_t>(r)], header);
    return true;
}

void TestRecord::rebuild_snapshots_from_header() {
    param_snapshots.assign(raw_readings.size(), snapshot_from_header(header));
    header.snapshot_size = kSnapshotSize;
}

void TestRecord::clear_contents(std::int64_t now) {
    test_params = TestParams::defaults(now);
    grades.clear();
    instrument_params = InstrumentParams{};
    std::vector<RawReading>().swap(raw_readings);
    std::vector<RawReading>().swap(mod_blocks);
    std::vector<ReadingParams>().swap(param_snapshots);
}

}  // namespace kvd
