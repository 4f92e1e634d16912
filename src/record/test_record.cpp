#include "record/test_record.h"

#include <algorithm>

namespace kvd {

TestRecord TestRecord::make_empty(std::int64_t now) {
    TestRecord record;
    record.header = default_test_header(now);
    record.test_params = TestParams::defaults(now);
    return record;
}

void TestRecord::rebuild_params() {
    test_params = TestParams::from_header(header);
    params_as_read = test_params;
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
    params_as_read = test_params;
    grades.clear();
    instrument_params = InstrumentParams{};
    std::vector<RawReading>().swap(raw_readings);
    std::vector<RawReading>().swap(mod_blocks);
    std::vector<ReadingParams>().swap(param_snapshots);
}

void TestRecord::reconcile_new_record() {
    bool any_in_use = false;
    for (int j = 0; j < kChannelCount; ++j) any_in_use = any_in_use || header.in_use[j] == 1;
    if (any_in_use) {
        test_params.channel_role = channel_roles_from_header(header);
        for (int j = 0; j < kChannelCount; ++j) test_params.averaged[j] = header.averaged[j];
    } else {
        for (int j = 0; j < kChannelCount; ++j) {
            header.in_use[j] = test_params.channel_role[j] != ChannelRole::kUnused ? 1 : 0;
            header.test_pile[j] = test_params.channel_role[j] == ChannelRole::kTestPile ? 1 : 0;
            header.averaged[j] = test_params.averaged[j] != 0 ? 1 : 0;
        }
    }
    for (int i = 0; i < kIntervalCount; ++i) {
        header.load_intervals[i] =
            static_cast<std::uint16_t>(std::clamp(test_params.load_intervals[i], 0, 65535));
        header.unload_intervals[i] =
            static_cast<std::uint16_t>(std::clamp(test_params.unload_intervals[i], 0, 65535));
    }
    if (header.direction_kind != 0) test_params.direction_kind = header.direction_kind;
    else header.direction_kind = test_params.direction_kind;
}

}  // namespace kvd
