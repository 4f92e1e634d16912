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

}  // namespace
}  // namespace kvd
