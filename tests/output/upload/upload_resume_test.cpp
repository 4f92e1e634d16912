// Resuming: the test file on disk says what the station has acknowledged; an
// interrupted upload continues with the record it was sending, never asks
// for a new identifier, never skips a record and never sends again what was
// acknowledged. Progress that cannot be written stops the upload.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/file_io.h"
#include "upload_test_support.h"

namespace kvd::upload::testing {
namespace {

using Strings = std::vector<std::string>;

// Runs a hook on the worker's thread at each progress report.
class HookedObserver : public RecordingObserver {
public:
    explicit HookedObserver(std::function<void(std::uint32_t, int)> hook)
        : hook_(std::move(hook)) {}
    void on_progress(std::uint32_t identifier, int uploaded) override {
        RecordingObserver::on_progress(identifier, uploaded);
        hook_(identifier, uploaded);
    }

private:
    std::function<void(std::uint32_t, int)> hook_;
};

TEST_F(UploadTest, AnInterruptedUploadResumesWithTheRecordItWasSending) {
    write("t.PTX", small_test_file(6));
    station_.add_fault({StationFault::kClose, MessageType::kRecord, 4});
    const UploadOutcome first = upload("t.PTX");
    EXPECT_EQ(first.result, UploadResult::kStopped);
    EXPECT_EQ(first.uploaded, 3);
    EXPECT_EQ(stored_identifier(read("t.PTX")), 1001u);
    EXPECT_EQ(stored_count(read("t.PTX")), 3);

    // The next upload (a new run, as after reopening the file) goes on from
    // the file: record 4 again, with the identifier the station gave.
    const std::size_t before = station_.received().size();
    const UploadOutcome second = upload("t.PTX");
    EXPECT_EQ(second.result, UploadResult::kComplete) << second.status;
    const Strings all = received_sequence();
    EXPECT_EQ(Strings(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
              (Strings{"2:4", "2:5", "2:6", "5"}));
    EXPECT_EQ(station_.acknowledged_records(1001), records_up_to(6));
    EXPECT_EQ(station_.connections(), 2);
    EXPECT_EQ(stored_count(read("t.PTX")), 6);
    EXPECT_TRUE(station_.problems().empty());
    // The second run reported the stored progress before anything else.
    EXPECT_EQ(observer_.progress()[5], std::make_pair(1001u, 3));
}

TEST_F(UploadTest, AStoredIdentifierIsUsedAndACountBeyondTheReadingsStartsAgain) {
    station_.add_known_identifier(1500);
    write("t.PTX", small_test_file(4, 1500, 99));
    const UploadOutcome outcome = upload("t.PTX");
    EXPECT_EQ(outcome.result, UploadResult::kComplete) << outcome.status;
    EXPECT_EQ(received_sequence(), (Strings{"2:1", "2:2", "2:3", "2:4", "5"}));
    EXPECT_EQ(station_.acknowledged_records(1500), records_up_to(4));
    EXPECT_TRUE(observer_.saw(
        "文件中记录的已上传数据个数（99）超出原始数据个数（4），将从第一个数据起重新上传。"));
    EXPECT_EQ(stored_identifier(read("t.PTX")), 1500u);
    EXPECT_EQ(stored_count(read("t.PTX")), 4);
}

TEST_F(UploadTest, AFullyUploadedTestSendsOnlyTheEndMessage) {
    station_.add_known_identifier(1500);
    const Bytes done = small_test_file(4, 1500, 4);
    write("t.PTX", done);
    const UploadOutcome outcome = upload("t.PTX");
    EXPECT_EQ(outcome.result, UploadResult::kComplete);
    EXPECT_EQ(received_sequence(), Strings{"5"});
    EXPECT_EQ(read("t.PTX"), done);
}

TEST_F(UploadTest, ProgressThatCannotBeWrittenStopsTheUpload) {
    // The file goes away after two acknowledged records.
    write("t.PTX", small_test_file(5));
    HookedObserver deleting([this](std::uint32_t, int uploaded) {
        if (uploaded == 2) std::filesystem::remove(path("t.PTX"));
    });
    const UploadOutcome gone = run_upload(source_of(path("t.PTX")), options(), deleting, token_);
    EXPECT_EQ(gone.result, UploadResult::kStopped);
    EXPECT_EQ(gone.uploaded, 2);
    EXPECT_EQ(gone.status, "无法把上传进度写入试验文件 " + path("t.PTX") +
                               " ：文件或文件夹不存在，上传已停止。");
    EXPECT_EQ(received_sequence(), (Strings{"1", "2:1", "2:2", "2:3"}));

    // The tester rewrote the file after the upload had read it: the
    // identifier is not written into the other file.
    const Bytes original = small_test_file(5);
    write("u.PTX", original);
    Bytes rewritten = original;
    rewritten[268 + 24] = 'X';  // the site name
    HookedObserver rewriting([&](std::uint32_t identifier, int) {
        if (identifier == 0) write("u.PTX", rewritten);
    });
    const UploadOutcome changed =
        run_upload(source_of(path("u.PTX")), options(), rewriting, token_);
    EXPECT_EQ(changed.result, UploadResult::kStopped);
    EXPECT_NE(changed.status.find("已被改动或替换"), std::string::npos) << changed.status;
    EXPECT_EQ(read("u.PTX"), rewritten);
}

TEST_F(UploadTest, AFileThatNoLongerHoldsTheOpenReadingsIsNotUploaded) {
    write("t.PTX", small_test_file(5));
    const UploadSource opened = source_of(path("t.PTX"));
    // The tester wrote more readings into the file after it was opened.
    write("t.PTX", small_test_file(6));
    const UploadOutcome outcome = run_upload(opened, options(), observer_, token_);
    EXPECT_EQ(outcome.result, UploadResult::kStopped);
    EXPECT_NE(outcome.status.find("不一致"), std::string::npos);
    EXPECT_EQ(station_.connections(), 0);
    EXPECT_EQ(read("t.PTX"), small_test_file(6));
}

}  // namespace
}  // namespace kvd::upload::testing
