// The upload progress kept in the test file: how a stored identifier and
// count are read, and that the writes change exactly their bytes and nothing
// else, and refuse a file that is no longer the one that was read.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "output/upload/upload_progress.h"
#include "upload_test_support.h"

namespace kvd::upload::testing {
namespace {

class ProgressTest : public UploadTest {
protected:
    TestFileProgress opened(const std::string& name) {
        TestFileProgress progress;
        const Status status =
            TestFileProgress::open(path(name), source_of(path(name)).readings, progress);
        EXPECT_TRUE(status.ok()) << status.message();
        return progress;
    }
};

TEST_F(ProgressTest, StoredProgressIsReadFromTheFileAndNeverSkipsARecord) {
    // The tester's defaults: identifier 0, count 50 -> nothing sent.
    write("fresh.PTX", small_test_file(6, 0, 50));
    TestFileProgress fresh = opened("fresh.PTX");
    EXPECT_EQ(fresh.stored().identifier, 0u);
    EXPECT_EQ(fresh.stored().uploaded, 0);
    EXPECT_TRUE(fresh.stored().notice.empty());
    EXPECT_EQ(fresh.identifier_offset(), kTestFileIdentifierAt);
    EXPECT_EQ(fresh.count_offset(), kTestFileCountAt);

    write("partial.PTX", small_test_file(6, 1234, 4));
    EXPECT_EQ(opened("partial.PTX").stored().identifier, 1234u);
    EXPECT_EQ(opened("partial.PTX").stored().uploaded, 4);

    // All of them: the count equals the raw readings.
    write("done.PTX", small_test_file(6, 1234, 6));
    EXPECT_EQ(opened("done.PTX").stored().uploaded, 6);

    // A count beyond the readings starts again from the first, and says so.
    write("odd.PTX", small_test_file(6, 1234, 7));
    const StoredProgress odd = opened("odd.PTX").stored();
    EXPECT_EQ(odd.identifier, 1234u);
    EXPECT_EQ(odd.uploaded, 0);
    EXPECT_EQ(odd.notice,
              "文件中记录的已上传数据个数（7）超出原始数据个数（6），将从第一个数据起重新上传。");

    // Kind 3 keeps the fields 12 bytes earlier.
    Bytes analysis = small_analysis_file(6, 77, 3);
    ASSERT_EQ(stored_identifier(analysis, kAnalysisIdentifierAt), 77u);
    write("kept.KVD", analysis);
    TestFileProgress kept = opened("kept.KVD");
    EXPECT_EQ(kept.identifier_offset(), kAnalysisIdentifierAt);
    EXPECT_EQ(kept.count_offset(), kAnalysisCountAt);
    EXPECT_EQ(kept.stored().identifier, 77u);
    EXPECT_EQ(kept.stored().uploaded, 3);
}

TEST_F(ProgressTest, WritesTouchOnlyTheProgressBytes) {
    const Bytes original = small_test_file(6, 0, 50);
    write("t.PTX", original);
    TestFileProgress progress = opened("t.PTX");

    ASSERT_TRUE(progress.store_identifier(0xA1B2C3D4).ok());
    Bytes expected = original;
    expected[1340] = 0xD4;
    expected[1341] = 0xC3;
    expected[1342] = 0xB2;
    expected[1343] = 0xA1;
    expected[1444] = 0;  // the tester's 50 is gone with the new identifier
    expected[1445] = 0;
    EXPECT_EQ(read("t.PTX"), expected);

    ASSERT_TRUE(progress.store_uploaded(0x0102).ok());
    expected[1444] = 0x02;
    expected[1445] = 0x01;
    EXPECT_EQ(read("t.PTX"), expected);
    EXPECT_EQ(progress.stored().uploaded, 0x0102);

    // Kind 3.
    const Bytes analysis = small_analysis_file(6, 0, 50);
    write("a.KVD", analysis);
    TestFileProgress kept = opened("a.KVD");
    ASSERT_TRUE(kept.store_identifier(5).ok());
    ASSERT_TRUE(kept.store_uploaded(6).ok());
    Bytes expected_analysis = analysis;
    expected_analysis[1328] = 5;
    expected_analysis[1329] = expected_analysis[1330] = expected_analysis[1331] = 0;
    expected_analysis[1432] = 6;
    expected_analysis[1433] = 0;
    EXPECT_EQ(read("a.KVD"), expected_analysis);
}

TEST_F(ProgressTest, AFileThatChangedOrWentAwayIsNotWrittenAndTheFailureIsReported) {
    const Bytes original = small_test_file(6, 0, 50);
    write("t.PTX", original);
    TestFileProgress progress = opened("t.PTX");

    // The tester rewrote the header (here: the pile number).
    Bytes changed = original;
    changed[268 + 114] = 'Q';
    write("t.PTX", changed);
    const Status refused = progress.store_identifier(9);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("已被改动或替换"), std::string::npos) << refused.message();
    EXPECT_EQ(read("t.PTX"), changed);

    // Another length (a reading appended).
    Bytes longer = original;
    longer.push_back(0);
    write("t.PTX", longer);
    EXPECT_FALSE(progress.store_uploaded(1).ok());
    EXPECT_EQ(read("t.PTX"), longer);

    // Gone.
    std::filesystem::remove(path("t.PTX"));
    const Status gone = progress.store_uploaded(1);
    EXPECT_FALSE(gone.ok());
    EXPECT_NE(gone.message().find("文件或文件夹不存在"), std::string::npos) << gone.message();
    EXPECT_FALSE(std::filesystem::exists(path("t.PTX")));

    // Progress bytes changed by someone else are no change of the file.
    Bytes other_progress = original;
    other_progress[1444] = 3;
    write("t.PTX", other_progress);
    EXPECT_TRUE(progress.store_uploaded(4).ok());
}

TEST_F(ProgressTest, FilesThatMayNotBeUploadedAreRefusedWhenOpened) {
    TestFileProgress progress;
    const std::string test = write("t.PTX", small_test_file(6));
    const UploadSource source = source_of(test);

    // The readings on disk differ from the record's.
    std::vector<RawReading> other = source.readings;
    other[2].channel[0] += 0.01;
    const Status differs = TestFileProgress::open(test, other, progress);
    EXPECT_FALSE(differs.ok());
    EXPECT_NE(differs.message().find("不一致"), std::string::npos);

    // A version before uploads, an analysis file without raw readings, a
    // single reading.
    fixture::Image old =
        fixture::test_file(fixture::make_header(),
                           {fixture::sample_entry(0, 1), fixture::sample_entry(1, 1)}, 2013.0925);
    const std::string early = write("early.PTX", old.bytes());
    EXPECT_EQ(TestFileProgress::open(early, source_of(early).readings, progress).message(),
              kMessageNotUploadable);
    const std::string grades_only =
        write("g.KVD", fixture::analysis_file(2, fixture::kVersionTest, fixture::make_header(),
                                              {fixture::sample_point(0, 0, 0, 0.0)})
                           .bytes());
    EXPECT_EQ(TestFileProgress::open(grades_only, {}, progress).message(), kMessageNotUploadable);
    const std::string single = write("one.PTX", small_test_file(1));
    EXPECT_EQ(TestFileProgress::open(single, source_of(single).readings, progress).message(),
              kMessageNotUploadable);

    // No file at all.
    const Status missing = TestFileProgress::open(path("none.PTX"), source.readings, progress);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("无法打开文件"), std::string::npos);
}

}  // namespace
}  // namespace kvd::upload::testing
