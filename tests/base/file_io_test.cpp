#include "base/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kvd {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_file_io_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(FileIoTest, ReplacesAndReadsBackWithoutLeavingTemporaries) {
    const fs::path target = dir_ / "a.KVD";
    const Bytes first = {1, 2, 3};
    const Bytes second(100000, 7);
    ASSERT_TRUE(replace_file_atomically(target, first).ok());
    ASSERT_TRUE(replace_file_atomically(target, second).ok());
    Bytes read;
    ASSERT_TRUE(read_whole_file(target, read).ok());
    EXPECT_EQ(read, second);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileIoTest, FailedReplaceKeepsThePreviousFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    const fs::path target = dir_ / "keep.KVD";
    ASSERT_TRUE(replace_file_atomically(target, Bytes{9, 9}).ok());
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    Status status = replace_file_atomically(target, Bytes{1});
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("没有访问权限"), std::string::npos);
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    Bytes read;
    ASSERT_TRUE(read_whole_file(target, read).ok());
    EXPECT_EQ(read, (Bytes{9, 9}));
}

TEST_F(FileIoTest, MissingFolderAndFileAreReportedInWords) {
    const fs::path target = dir_ / "missing" / "x.KVD";
    Status status = replace_file_atomically(target, Bytes{1});
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("不存在"), std::string::npos);
    Bytes read;
    EXPECT_FALSE(read_whole_file(dir_ / "nothing.PTX", read).ok());
}

TEST_F(FileIoTest, WholeFileOfTheExpectedSizeIsReadIntoABufferOfThatSize) {
    // Asking whether the file grew must not move a large file into a buffer
    // twice its size.
    const fs::path target = dir_ / "big.PTX";
    Bytes data(3 * 1024 * 1024 + 5);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i % 253);
    ASSERT_TRUE(replace_file_atomically(target, data).ok());
    Bytes read;
    ASSERT_TRUE(read_whole_file(target, read).ok());
    EXPECT_EQ(read, data);
    EXPECT_EQ(read.capacity(), data.size());
}

TEST_F(FileIoTest, OpenFileIsReadAtOffsetsUpToItsSizeWhenOpened) {
    const fs::path target = dir_ / "t.PTX";
    Bytes data(10000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 13);
    ASSERT_TRUE(replace_file_atomically(target, data).ok());
    ReadOnlyFile file;
    ASSERT_TRUE(file.open(target).ok());
    EXPECT_EQ(file.size(), data.size());

    Bytes part(100);
    ASSERT_EQ(file.read_at(9950, part.data(), part.size()), 50u);
    EXPECT_TRUE(std::equal(part.begin(), part.begin() + 50, data.begin() + 9950));
    EXPECT_EQ(file.read_at(10000, part.data(), 1), 0u);

    // Growing while open: read to the size it had (the tester still writing).
    {
        std::ofstream grow(target, std::ios::app | std::ios::binary);
        grow << "more";
    }
    EXPECT_EQ(file.read_at(9990, part.data(), part.size()), 10u);

    // Cut short while open: the reads come back short, and that is no failure.
    fs::resize_file(target, 4000);
    EXPECT_EQ(file.read_at(3990, part.data(), part.size()), 10u);
    EXPECT_EQ(file.read_at(5000, part.data(), part.size()), 0u);
    EXPECT_TRUE(file.read_status().ok());
}

TEST_F(FileIoTest, OnlyRegularFilesAreOpenedForReading) {
    ReadOnlyFile file;
    Status folder = file.open(dir_);
    ASSERT_FALSE(folder.ok());
    EXPECT_NE(folder.message().find("这是一个文件夹"), std::string::npos);

    const fs::path pipe = dir_ / "pipe.PTX";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    Status fifo = file.open(pipe);  // without a writer: must not wait for one
    ASSERT_FALSE(fifo.ok());
    EXPECT_NE(fifo.message().find("不是普通文件"), std::string::npos);

    Status missing = file.open(dir_ / "nothing.PTX");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("不存在"), std::string::npos);
    EXPECT_EQ(file.size(), 0u);
}

}  // namespace
}  // namespace kvd
