// The worker against the station simulator on 127.0.0.1: a whole upload, the
// station's faulty replies, a closed or reset connection, a station that
// never answers, no station at all, name resolution, and cancels.

#include <gtest/gtest.h>
#include <netdb.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "base/file_io.h"
#include "upload_test_support.h"

namespace kvd::upload::testing {
namespace {

using Strings = std::vector<std::string>;

TEST_F(UploadTest, AWholeUploadSendsEveryRecordOnceAndRecordsItInTheFile) {
    const Bytes original = small_test_file(5);
    write("t.PTX", original);
    const UploadOutcome outcome = upload("t.PTX");

    EXPECT_EQ(outcome.result, UploadResult::kComplete);
    EXPECT_EQ(outcome.status, "全部数据已上传成功");
    EXPECT_EQ(outcome.uploaded, 5);
    EXPECT_FALSE(outcome.records_remain());
    EXPECT_EQ(received_sequence(), (Strings{"1", "2:1", "2:2", "2:3", "2:4", "2:5", "5"}));
    EXPECT_TRUE(station_.problems().empty()) << station_.problems().front();
    EXPECT_EQ(station_.acknowledged_records(1001), records_up_to(5));
    EXPECT_EQ(station_.acknowledged_ends(1001), 1);
    EXPECT_EQ(station_.connections(), 1);

    // The file: identifier and count, and not one other byte changed.
    Bytes expected = original;
    expected[1340] = 1001 & 0xFF;
    expected[1341] = 1001 >> 8;
    expected[1444] = 5;
    expected[1445] = 0;
    EXPECT_EQ(read("t.PTX"), expected);

    // The labels as the status line shows them, in order.
    const Strings statuses = observer_.statuses();
    const Strings expected_start = {"正在连接服务器...",     "试验校验信息 正在发送",
                                    "试验校验信息 发送成功", "加载 1-1 正在发送",
                                    "加载 1-1 发送成功",     "加载 1-2 正在发送"};
    ASSERT_GE(statuses.size(), expected_start.size());
    EXPECT_EQ(Strings(statuses.begin(), statuses.begin() + 6), expected_start);
    EXPECT_EQ(statuses.back(), "全部数据已上传成功");
    EXPECT_TRUE(observer_.saw("加载 3-1 发送成功"));
    const std::vector<std::pair<std::uint32_t, int>> progress = observer_.progress();
    ASSERT_EQ(progress.size(), 7u);
    EXPECT_EQ(progress.front(), std::make_pair(0u, 0));
    EXPECT_EQ(progress[1], std::make_pair(1001u, 0));
    EXPECT_EQ(progress.back(), std::make_pair(1001u, 5));
}

TEST_F(UploadTest, FaultyRepliesAreRefusedAndTheMessageSentAgain) {
    write("t.PTX", small_test_file(5));
    station_.add_fault({StationFault::kWrongEcho, MessageType::kRecord, 2});
    station_.add_fault({StationFault::kGarble, MessageType::kRecord, 3});
    station_.add_fault({StationFault::kZeroIdentifier, MessageType::kVerification});
    station_.add_fault({StationFault::kSplit, MessageType::kRecord, 4});
    station_.add_fault({StationFault::kDrop, MessageType::kRecord, 5});
    const UploadOutcome outcome = upload("t.PTX", [] {
        UploadTimings quick = test_timings();
        quick.receive_ms = 1000;  // the dropped reply
        return quick;
    }());

    EXPECT_EQ(outcome.result, UploadResult::kComplete) << outcome.status;
    // The verification answered with identifier 0 is sent again and gets 1002.
    EXPECT_EQ(received_sequence(),
              (Strings{"1", "1", "2:1", "2:2", "2:2", "2:3", "2:3", "2:4", "2:5", "2:5", "5"}));
    EXPECT_EQ(station_.acknowledged_records(1002), records_up_to(5));
    EXPECT_TRUE(station_.acknowledged_records(1001).empty());
    EXPECT_EQ(stored_identifier(read("t.PTX")), 1002u);
    EXPECT_EQ(stored_count(read("t.PTX")), 5);
    EXPECT_TRUE(observer_.saw("试验校验信息 应答中的试验编号为0，正在重新发送（第 2 次）"));
    EXPECT_TRUE(observer_.saw("加载 1-2 应答序号不符，正在重新发送（第 2 次）"));
    EXPECT_TRUE(observer_.saw("加载 2-1 应答校验字错误，正在重新发送（第 2 次）"));
    EXPECT_TRUE(observer_.saw("加载 3-1 应答不完整或无应答，正在重新发送（第 2 次）"));
    // The reply in two parts is one reply.
    EXPECT_FALSE(observer_.saw("加载 2-2 应答不完整或无应答，正在重新发送（第 2 次）"));
}

TEST_F(UploadTest, ResendsAreBoundedAndTheStatusSaysWhy) {
    write("t.PTX", small_test_file(5));
    // Record 3 is never answered rightly.
    station_.add_fault({StationFault::kWrongEcho, MessageType::kRecord, 3, -1});
    const UploadOutcome outcome = upload("t.PTX");

    EXPECT_EQ(outcome.result, UploadResult::kStopped);
    EXPECT_EQ(outcome.status, "加载 2-1 发送失败：服务器连续 3 次应答序号不符，上传已停止。");
    EXPECT_EQ(outcome.uploaded, 2);
    EXPECT_TRUE(outcome.records_remain());
    EXPECT_EQ(received_sequence(), (Strings{"1", "2:1", "2:2", "2:3", "2:3", "2:3"}));
    EXPECT_EQ(stored_count(read("t.PTX")), 2);
}

TEST_F(UploadTest, AStationThatNeverAnswersStopsTheUpload) {
    write("t.PTX", small_test_file(3));
    station_.add_fault({StationFault::kDrop, MessageType::kVerification, -1, -1});
    UploadTimings quick = test_timings();
    quick.receive_ms = 100;
    const UploadOutcome outcome = upload("t.PTX", quick);
    EXPECT_EQ(outcome.result, UploadResult::kStopped);
    EXPECT_EQ(outcome.status,
              "试验校验信息 发送失败：服务器连续 3 次应答不完整或无应答，上传已停止。");
    EXPECT_EQ(received_sequence(), (Strings{"1", "1", "1"}));
    // Nothing was given: the file still says nothing was sent.
    EXPECT_EQ(read("t.PTX"), small_test_file(3));
}

TEST_F(UploadTest, AClosedOrResetConnectionEndsTheRunAtOnce) {
    for (StationFault fault : {StationFault::kClose, StationFault::kReset}) {
        SCOPED_TRACE(static_cast<int>(fault));
        station_.clear_faults();
        const std::string name = "t" + std::to_string(static_cast<int>(fault)) + ".PTX";
        write(name, small_test_file(5));
        station_.add_fault({fault, MessageType::kRecord, 3});
        const std::size_t before = station_.received().size();
        const UploadOutcome outcome = upload(name);
        EXPECT_EQ(outcome.result, UploadResult::kStopped);
        EXPECT_EQ(outcome.status, "加载 2-1 发送失败：服务器已断开连接，上传已停止。");
        EXPECT_EQ(outcome.uploaded, 2);
        // Record 3 was sent once: no resend into a dead connection.
        const std::vector<ReceivedMessage> received = station_.received();
        EXPECT_EQ(received.size() - before, 4u);
        EXPECT_EQ(received.back().record, 3);
        EXPECT_EQ(stored_count(read(name)), 2);
    }
    // The end message's connection closed after all records.
    station_.clear_faults();
    write("e.PTX", small_test_file(2));
    station_.add_fault({StationFault::kClose, MessageType::kEnd});
    const UploadOutcome end = upload("e.PTX");
    EXPECT_EQ(end.result, UploadResult::kStopped);
    EXPECT_EQ(end.uploaded, 2);
    EXPECT_FALSE(end.records_remain());
    EXPECT_EQ(end.status, "全部数据已发送，但服务器未确认结束信息（服务器已断开连接）。");
}

TEST_F(UploadTest, NoStationListening) {
    write("t.PTX", small_test_file(3));
    UploadOptions chosen = options();
    station_.stop();  // its port is free now
    const UploadOutcome outcome = run_upload(source_of(path("t.PTX")), chosen, observer_, token_);
    EXPECT_EQ(outcome.result, UploadResult::kStopped);
    EXPECT_EQ(outcome.status, "连接服务器出错，错误代码：111");
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(read("t.PTX"), small_test_file(3));
}

TEST_F(UploadTest, HostNamesAreResolvedAndAddressesParsedBeforeAnyConnection) {
    write("t.PTX", small_test_file(2));
    std::atomic<int> lookups{0};
    UploadOptions chosen = options();
    chosen.resolver = [&lookups](const std::string& host, std::uint16_t port) {
        ++lookups;
        return resolve_ipv4(host, port);
    };

    // "localhost" from /etc/hosts.
    chosen.target.host_name = true;
    chosen.target.address = "localhost";
    EXPECT_EQ(run_upload(source_of(path("t.PTX")), chosen, observer_, token_).result,
              UploadResult::kComplete);
    EXPECT_EQ(lookups.load(), 1);

    // A failing lookup (through the seam: no name server is asked).
    write("u.PTX", small_test_file(2));
    chosen.resolver = [](const std::string&, std::uint16_t) {
        return ResolveResult{EAI_NONAME, {}};
    };
    chosen.target.address = "station.invalid";
    const UploadOutcome unresolved =
        run_upload(source_of(path("u.PTX")), chosen, observer_, token_);
    EXPECT_EQ(unresolved.status, "域名解析出错，错误代码：" + std::to_string(EAI_NONAME));
    EXPECT_EQ(station_.connections(), 1);

    // An IP address type with a name in it: refused before any lookup.
    lookups = 0;
    chosen.resolver = [&lookups](const std::string& host, std::uint16_t port) {
        ++lookups;
        return resolve_ipv4(host, port);
    };
    chosen.target.host_name = false;
    chosen.target.address = "localhost";
    const UploadOutcome refused = run_upload(source_of(path("u.PTX")), chosen, observer_, token_);
    EXPECT_EQ(refused.status, "“localhost”不是有效的IP地址，请检查服务器地址。");
    EXPECT_EQ(lookups.load(), 0);
    chosen.target.address = "";
    EXPECT_EQ(run_upload(source_of(path("u.PTX")), chosen, observer_, token_).status,
              "请输入服务器地址");
    EXPECT_EQ(station_.connections(), 1);
    EXPECT_EQ(read("u.PTX"), small_test_file(2));
}

// The worker on its own thread, cancelled from this one. The waits it is
// cancelled in would last a minute; the future's limit only keeps a broken
// cancel from hanging the test program.
class CancelTest : public UploadTest {
protected:
    UploadOutcome cancel_after(const UploadOptions& chosen, const std::function<bool()>& ready) {
        const UploadSource source = source_of(path("t.PTX"));
        auto done = std::async(std::launch::async,
                               [&] { return run_upload(source, chosen, observer_, token_); });
        for (int i = 0; i < 2000 && !ready(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_TRUE(ready());
        token_.cancel();
        EXPECT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
        return done.get();
    }
};

TEST_F(CancelTest, ACancelEndsEveryWait) {
    write("t.PTX", small_test_file(5));
    UploadOptions chosen = options();
    chosen.timings.receive_ms = 60000;
    chosen.timings.resend_wait_ms = 60000;

    // Waiting for a reply that does not come.
    station_.add_fault({StationFault::kDrop, MessageType::kRecord, 2});
    UploadOutcome outcome =
        cancel_after(chosen, [this] { return station_.received().size() >= 3; });
    EXPECT_EQ(outcome.result, UploadResult::kCancelled);
    EXPECT_EQ(outcome.status, "上传已取消");
    EXPECT_EQ(outcome.uploaded, 1);
    EXPECT_EQ(stored_count(read("t.PTX")), 1);
}

TEST_F(CancelTest, ACancelEndsThePauseBeforeAResendAndANameLookup) {
    write("t.PTX", small_test_file(5));
    UploadOptions chosen = options();
    chosen.timings.resend_wait_ms = 60000;
    station_.add_fault({StationFault::kWrongEcho, MessageType::kRecord, 1});
    UploadOutcome outcome = cancel_after(
        chosen, [this] { return observer_.saw("加载 1-1 应答序号不符，正在重新发送（第 2 次）"); });
    EXPECT_EQ(outcome.result, UploadResult::kCancelled);
    EXPECT_EQ(outcome.uploaded, 0);
    EXPECT_EQ(received_sequence(), (Strings{"1", "2:1"}));

    // A lookup that hangs until released.
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    std::atomic<bool> asked{false};
    chosen.target.host_name = true;
    chosen.target.address = "station.example";
    chosen.resolver = [released, &asked](const std::string&, std::uint16_t) {
        asked = true;
        released.wait();
        return ResolveResult{EAI_AGAIN, {}};
    };
    CancelToken fresh;
    const UploadSource source = source_of(path("t.PTX"));
    auto done = std::async(std::launch::async,
                           [&] { return run_upload(source, chosen, observer_, fresh); });
    for (int i = 0; i < 2000 && !asked; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    fresh.cancel();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(done.get().result, UploadResult::kCancelled);
    release->set_value();
}

}  // namespace
}  // namespace kvd::upload::testing
