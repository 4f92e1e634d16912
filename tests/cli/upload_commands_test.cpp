// kvdtool upload and kvdtool station end to end, on 127.0.0.1: the exit
// status says whether everything was acknowledged, a file that may not be
// uploaded is refused before any connection, an interrupted upload resumes,
// and the station command serves an upload until it is told to stop.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "output/upload/station_simulator.h"
#include "output/upload/upload_worker.h"
#include "cli/kvdtool_fixture.h"

extern char** environ;

namespace kvd {
namespace {

namespace fs = std::filesystem;
using upload::StationFault;

class UploadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvdtool_upload_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        fs::copy_file(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX", dir_ / "demo.PTX");
        ASSERT_TRUE(station_.start().ok());
    }
    void TearDown() override {
        station_.stop();
        fs::remove_all(dir_);
    }

    ToolRun run(const std::string& arguments) const { return run_kvdtool(arguments, dir_); }
    std::string upload_to_station(const std::string& file) const {
        return "upload " + (dir_ / file).string() + " --host 127.0.0.1 --port " +
               std::to_string(station_.port());
    }
    Bytes read(const std::string& name) const {
        Bytes bytes;
        EXPECT_TRUE(read_whole_file(dir_ / name, bytes).ok());
        return bytes;
    }

    fs::path dir_;
    upload::StationSimulator station_;
};

std::vector<int> one_to(int n) {
    std::vector<int> out;
    for (int i = 1; i <= n; ++i) out.push_back(i);
    return out;
}

TEST_F(UploadCommandTest, UploadsTheDemoAndSaysSoOnlyWhenEverythingWasAcknowledged) {
    const Bytes original = read("demo.PTX");
    const ToolRun done = run(upload_to_station("demo.PTX"));
    EXPECT_EQ(done.exit_code, 0) << done.err;
    EXPECT_EQ(done.err, "");
    EXPECT_EQ(done.out.rfind("原始数据个数：123\n已上传数据个数：0/123\n正在连接服务器...\n"
                             "试验校验信息 正在发送\n试验校验信息 发送成功\n",
                             0),
              0u)
        << done.out.substr(0, 300);
    EXPECT_NE(done.out.find("\n已上传数据个数：123/123\n结束信息 正在发送\n全部数据已上传成功\n"),
              std::string::npos);
    EXPECT_EQ(station_.acknowledged_records(1001), one_to(123));
    EXPECT_EQ(station_.acknowledged_ends(1001), 1);
    EXPECT_TRUE(station_.problems().empty());

    // Only the identifier and the count changed in the file.
    Bytes expected = original;
    expected[1340] = 1001 & 0xFF;
    expected[1341] = 1001 >> 8;
    expected[1444] = 123;
    expected[1445] = 0;
    EXPECT_EQ(read("demo.PTX"), expected);
}

TEST_F(UploadCommandTest, AFileThatMayNotBeUploadedIsRefusedBeforeAnyConnection) {
    fs::copy_file(std::string(KVD_SOURCE_DIR) + "/samples/demo.KVD", dir_ / "demo.KVD");
    const ToolRun refused = run(upload_to_station("demo.KVD"));
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.err,
              "该文件不能上传：只有 2013.0926 及以后版本、至少有两个原始数据的测试文件才能上传到"
              "质检站。\n");
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(station_.connections(), 0);

    EXPECT_EQ(run("upload " + (dir_ / "demo.PTX").string() + " --host 127.0.0.1").exit_code, 2);
    EXPECT_EQ(run(upload_to_station("demo.PTX") + "0000000").exit_code, 2);  // port > 65535
    EXPECT_EQ(station_.connections(), 0);
}

TEST_F(UploadCommandTest, AFailedUploadExitsNonZeroAndTheNextOneResumes) {
    station_.add_fault({StationFault::kReset, upload::MessageType::kRecord, 40});
    const ToolRun failed = run(upload_to_station("demo.PTX"));
    EXPECT_EQ(failed.exit_code, 1);
    EXPECT_NE(failed.err.find("发送失败：服务器已断开连接，上传已停止。\n"), std::string::npos)
        << failed.err;
    EXPECT_NE(failed.out.find("\n已上传数据个数：39/123\n"), std::string::npos);

    const ToolRun resumed = run(upload_to_station("demo.PTX"));
    EXPECT_EQ(resumed.exit_code, 0) << resumed.err;
    EXPECT_EQ(resumed.out.find("试验校验信息"), std::string::npos);
    EXPECT_EQ(station_.acknowledged_records(1001), one_to(123));

    // No station at the port.
    fs::copy_file(std::string(KVD_SOURCE_DIR) + "/samples/uplift.PTX", dir_ / "uplift.PTX");
    const std::string command = upload_to_station("uplift.PTX");
    station_.stop();
    const ToolRun nobody = run(command);
    EXPECT_EQ(nobody.exit_code, 1);
    EXPECT_EQ(nobody.err, "连接服务器出错，错误代码：111\n");
}

TEST_F(UploadCommandTest, TheStationCommandServesUntilItIsStopped) {
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    const std::string tool = std::string(KVD_BIN_DIR) + "/kvdtool";
    std::vector<std::string> words = {tool,        "station", "--port",       "0",
                                      "--seconds", "120",     "--wrong-echo", "2"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_fds[1]);
    FILE* out = ::fdopen(pipe_fds[0], "r");
    ASSERT_TRUE(out);

    // "模拟质检站在 127.0.0.1:PORT 上监听..."
    std::array<char, 512> line{};
    ASSERT_TRUE(std::fgets(line.data(), line.size(), out));
    const std::string first(line.data());
    const std::size_t colon = first.find("127.0.0.1:");
    ASSERT_NE(colon, std::string::npos) << first;
    const int port = std::stoi(first.substr(colon + 10));

    const ToolRun done = run("upload " + (dir_ / "demo.PTX").string() +
                             " --host localhost --port " + std::to_string(port));
    EXPECT_EQ(done.exit_code, 0) << done.err;
    EXPECT_NE(done.out.find("加载 1-1 应答序号不符，正在重新发送（第 2 次）\n"), std::string::npos);

    ::kill(pid, SIGTERM);
    std::string log;
    while (std::fgets(line.data(), line.size(), out)) log += line.data();
    std::fclose(out);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(log.rfind("连接 1\t类型 1\t记录 0\t试验编号 1001\t已应答\n", 0), 0u)
        << log.substr(0, 200);
    EXPECT_NE(log.find("连接 1\t类型 2\t记录 2\t试验编号 1001\t未正确应答\n"), std::string::npos);
    EXPECT_NE(log.find("连接 1\t类型 5\t记录 0\t试验编号 1001\t已应答\n"), std::string::npos);
}

}  // namespace
}  // namespace kvd
