#include "upload_test_support.h"

#include <unistd.h>

#include <algorithm>

#include "base/file_io.h"
#include "record/test_file_reader.h"

namespace kvd::upload::testing {
namespace {

std::vector<fixture::RawEntry> entries(int readings) {
    std::vector<fixture::RawEntry> out;
    for (int n = 0; n < readings; ++n) {
        fixture::RawEntry entry = fixture::sample_entry(n, n / 2 + 1);
        entry.raw.index = n % 2;
        out.push_back(entry);
    }
    return out;
}

fixture::Image header_with(std::uint32_t identifier, std::uint16_t count) {
    fixture::Image header = fixture::make_header();
    header.text(777, "VX-2620");
    header.i32(fixture::hdr::kUploadProgress, static_cast<std::int32_t>(identifier));
    header.u16(fixture::hdr::kUploadState, count);
    return header;
}

}  // namespace

Bytes small_test_file(int readings, std::uint32_t identifier, std::uint16_t count) {
    return fixture::test_file(header_with(identifier, count), entries(readings)).bytes();
}

Bytes small_analysis_file(int readings, std::uint32_t identifier, std::uint16_t count) {
    const std::vector<fixture::Point> points = {fixture::sample_point(0, 0, 0, 0.0),
                                                fixture::sample_point(1, 100, 0, 1.0)};
    fixture::Image file =
        fixture::analysis_file(3, fixture::kVersionTest, header_with(identifier, count), points);
    fixture::append_raw_part(file, 0, readings - 1, entries(readings));
    return file.bytes();
}

std::uint32_t stored_identifier(const Bytes& file, std::size_t at) {
    return file.size() < at + 4 ? 0 : get_u32(file, at);
}

std::uint16_t stored_count(const Bytes& file, std::size_t at) {
    return file.size() < at + 2 ? 0 : get_u16(file, at);
}

UploadSource source_of(const std::string& path) {
    Bytes bytes;
    EXPECT_TRUE(read_whole_file(path, bytes).ok());
    TestRecord record;
    ReadReport report;
    EXPECT_TRUE(read_record(bytes, record, report).ok());
    record.file_path = path;
    return UploadSource::from_record(record);
}

void RecordingObserver::on_status(const std::string& text) {
    std::lock_guard lock(mutex_);
    statuses_.push_back(text);
}

void RecordingObserver::on_progress(std::uint32_t identifier, int uploaded) {
    std::lock_guard lock(mutex_);
    progress_.emplace_back(identifier, uploaded);
}

std::vector<std::string> RecordingObserver::statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
}

std::vector<std::pair<std::uint32_t, int>> RecordingObserver::progress() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

bool RecordingObserver::saw(const std::string& status) const {
    std::lock_guard lock(mutex_);
    return std::find(statuses_.begin(), statuses_.end(), status) != statuses_.end();
}

UploadTimings test_timings() {
    UploadTimings timings;
    timings.connect_ms = 10000;
    timings.receive_ms = 10000;
    timings.resend_wait_ms = 10;
    timings.end_wait_ms = 0;
    timings.max_sends = 3;
    return timings;
}

void UploadTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("kvd_upload_" + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::create_directories(dir_);
    ASSERT_TRUE(station_.start().ok());
}

void UploadTest::TearDown() {
    station_.stop();
    std::filesystem::remove_all(dir_);
}

std::string UploadTest::write(const std::string& name, const Bytes& bytes) const {
    EXPECT_TRUE(replace_file_atomically(dir_ / name, bytes).ok());
    return path(name);
}

Bytes UploadTest::read(const std::string& name) const {
    Bytes bytes;
    EXPECT_TRUE(read_whole_file(dir_ / name, bytes).ok());
    return bytes;
}

UploadOptions UploadTest::options() const {
    UploadOptions options;
    options.target.address = "127.0.0.1";
    options.target.host_name = false;
    options.target.port = station_.port();
    options.timings = test_timings();
    return options;
}

UploadOutcome UploadTest::upload(const std::string& name, const UploadTimings& timings) {
    UploadOptions chosen = options();
    chosen.timings = timings;
    return run_upload(source_of(path(name)), chosen, observer_, token_);
}

std::vector<std::string> UploadTest::received_sequence() const {
    std::vector<std::string> out;
    for (const ReceivedMessage& m : station_.received()) {
        std::string item = std::to_string(static_cast<int>(m.type));
        if (m.type == MessageType::kRecord) item += ":" + std::to_string(m.record);
        out.push_back(item);
    }
    return out;
}

std::vector<int> records_up_to(int n) {
    std::vector<int> out;
    for (int i = 1; i <= n; ++i) out.push_back(i);
    return out;
}

}  // namespace kvd::upload::testing
