#include "doc_test_support.h"

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/file_io.h"
#include "record/file_format.h"
#include "record/test_file_writer.h"

namespace kvd::testing {

TestRecord make_test_file_record() {
    TestRecord record = TestRecord::make_empty(kFixedNow);
    TestHeader& h = record.header;
    std::memcpy(h.format_tag, "VXRAC", 5);
    std::memcpy(h.site_name, "\xB2\xE2\xCA\xD4", 4);  // 测试 in GBK
    h.in_use[0] = h.in_use[1] = h.in_use[2] = 1;
    h.test_pile[0] = h.test_pile[1] = 1;
    h.averaged[0] = h.averaged[1] = h.averaged[2] = 1;
    h.load_intervals[1] = 5;
    h.load_intervals[2] = 10;
    h.unload_intervals[1] = 15;
    h.snapshot_size = 68;
    h.direction_kind = 1;

    const int grade_of[] = {0, 0, 0, 1, 1, 1, 2, 2};
    const int load_of[] = {0, 0, 0, 100, 100, 100, 0, 0};
    const int loading_of[] = {1, 1, 1, 1, 1, 1, 0, 0};
    for (int r = 0; r < 8; ++r) {
        RawReading raw{};
        raw.time = kFixedNow + 300 * r;
        raw.status = r == 4 ? kStatusModified : kStatusNormal;
        raw.loading = loading_of[r];
        raw.grade = grade_of[r];
        raw.index = r % 3;
        raw.grade_load = load_of[r];
        raw.channel[0] = 0.5 * r;
        raw.channel[1] = 0.5 * r + 0.02;
        raw.channel[2] = 9.0;  // anchor pile: never averaged
        record.raw_readings.push_back(raw);
        ReadingParams snapshot = snapshot_from_header(h);
        snapshot.stability_count = static_cast<std::uint8_t>(r);
        record.param_snapshots.push_back(snapshot);
    }
    for (int e = 0; e < 3; ++e) {
        RawReading entry = record.raw_readings[4];
        entry.channel[0] += e;
        record.mod_blocks.push_back(entry);
    }
    record.opened_kind = record.save_kind = FileKind::kTestFile;
    record.rebuild_params();
    return record;
}

Bytes file_bytes(const TestRecord& record, FileKind kind, double version, int unfinished) {
    TestRecord copy = record;
    copy.save_kind = kind;
    Bytes bytes;
    EXPECT_TRUE(write_record(copy, bytes).ok());
    if (version != 0) std::memcpy(bytes.data() + kVersionOffset, &version, sizeof version);
    if (unfinished != 0) {
        const std::int32_t flag = unfinished;
        std::memcpy(bytes.data() + kUnfinishedFlagOffset, &flag, sizeof flag);
    }
    return bytes;
}

void DocTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("kvd_doc_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    doc_.add_view(&view_);
}

void DocTest::TearDown() { std::filesystem::remove_all(dir_); }

void DocTest::write(const std::string& name, const Bytes& bytes) const {
    ASSERT_TRUE(replace_file_atomically(dir_ / name, bytes).ok());
}

Bytes DocTest::read(const std::string& name) const {
    Bytes bytes;
    EXPECT_TRUE(read_whole_file(dir_ / name, bytes).ok());
    return bytes;
}

}  // namespace kvd::testing
