// Reading files from disk piecewise, as the document opens them: the same
// record as from the file's bytes, a file cut short after it was opened read
// as the damaged file it now is, and a failing read refused with its reason.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/file_io.h"
#include "record/file_fixtures.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

using namespace fixture;
namespace fs = std::filesystem;

class ReadFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_read_file_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, ByteView bytes) {
        const fs::path path = dir_ / name;
        EXPECT_TRUE(replace_file_atomically(path, bytes).ok());
        return path;
    }

    fs::path dir_;
};

// Many readings, with blocks, across several of the reader's buffers.
std::vector<RawEntry> many_entries(int count) {
    std::vector<RawEntry> entries;
    for (int n = 0; n < count; ++n) {
        entries.push_back(sample_entry(n, n / 50, n % 97 == 5 ? 1 : 0));
    }
    return entries;
}

TEST_F(ReadFileTest, FileOnDiskGivesTheRecordOfItsBytes) {
    const auto entries = many_entries(3000);
    const Image file = test_file(make_header(), entries, kVersionUploadable);
    ReadOnlyFile opened;
    ASSERT_TRUE(opened.open(write("t.PTX", file.view())).ok());
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read_record(opened, record, report).ok());
    EXPECT_FALSE(report.damaged);
    EXPECT_TRUE(report.uploadable);
    expect_raw_prefix(record, entries, entries.size());
    EXPECT_EQ(record.grades.grade_count(), 60);
    EXPECT_EQ(record.grades.total_readings(), 3000);
}

TEST_F(ReadFileTest, FileCutShortWhileOpenReadsAsTheDamagedFileItBecame) {
    const auto entries = many_entries(3000);
    const Image file = test_file(make_header(), entries);
    const fs::path path = write("t.PTX", file.view());
    const std::vector<std::size_t> ends = entry_ends(kAtTestReadings, entries);
    const std::size_t cut = ends[1999] + 100;  // inside reading 2000

    ReadOnlyFile opened;
    ASSERT_TRUE(opened.open(path).ok());
    fs::resize_file(path, cut);  // after the size was taken
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read_record(opened, record, report).ok());

    TestRecord expected;
    ReadReport expected_report;
    ASSERT_TRUE(read(file.prefix(cut), expected, expected_report).ok());
    expect_raw_prefix(record, entries, 2000);
    EXPECT_TRUE(report.damaged);
    EXPECT_EQ(report.recovered_readings, 2000);
    EXPECT_EQ(report.notices, expected_report.notices);
    EXPECT_EQ(record.grades.total_readings(), expected.grades.total_readings());
}

// A disk that fails after some bytes.
class FailingSource : public ByteSource {
public:
    FailingSource(ByteView data, std::size_t fails_at) : data_(data), fails_at_(fails_at) {}
    std::size_t size() const override { return data_.size(); }
    std::size_t read_at(std::size_t offset, void* out, std::size_t count) override {
        if (offset + count > fails_at_) failed_ = true;
        if (offset >= fails_at_) return 0;
        return ByteViewSource(data_.first(fails_at_)).read_at(offset, out, count);
    }
    Status read_status() const override {
        return failed_ ? Status::failure("读取文件 t.PTX 出错：磁盘读写错误") : Status::success();
    }

private:
    ByteView data_;
    std::size_t fails_at_;
    bool failed_ = false;
};

TEST_F(ReadFileTest, FailedReadIsRefusedWithItsReasonNotOfferedAsDamage) {
    const auto entries = many_entries(3000);
    const Image file = test_file(make_header(), entries);
    for (std::size_t fails_at : {std::size_t{100}, std::size_t{5000}, file.size() / 2}) {
        FailingSource source(file.view(), fails_at);
        TestRecord record;
        ReadReport report;
        const Status status = read_record(source, record, report);
        ASSERT_FALSE(status.ok()) << fails_at;
        EXPECT_EQ(status.message(), "读取文件 t.PTX 出错：磁盘读写错误");
    }
}

}  // namespace
}  // namespace kvd
