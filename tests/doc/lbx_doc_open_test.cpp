// Opening files through the document: the version, kind and unfinished-test
// checks, the bypass after the open dialog, and a refused file leaving the
// open document untouched.

#include <cstring>

#include "doc_test_support.h"
#include "record/file_classifier.h"
#include "record/file_format.h"

namespace kvd::testing {
namespace {

class DocOpenTest : public DocTest {
protected:
    // Opens a file with a marker grade count first, so that a refused open can
    // be seen to keep the previous document.
    void open_marker_document() {
        write("marker.KVD", file_bytes(make_test_file_record(), FileKind::kAnalysis));
        doc_.record().grades.clear();
        doc_.record().grades.append_grade();
        doc_.set_modified(true);
        ui_.clear_log();
        view_.hints.clear();
    }
    void expect_untouched() {
        EXPECT_EQ(doc_.record().grades.grade_count(), 1);
        EXPECT_TRUE(doc_.is_modified());
        EXPECT_TRUE(view_.hints.empty());
    }
    std::string only_message() {
        EXPECT_EQ(ui_.shown().size(), 1u);
        return ui_.shown().empty() ? "" : ui_.shown()[0].text;
    }
};

TEST_F(DocOpenTest, TestFileVersionLimitIsInclusive) {
    open_marker_document();
    write("newer.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile, 2013.1017));
    EXPECT_FALSE(doc_.open(path("newer.PTX")));
    EXPECT_EQ(only_message(), kMessageNewerVersion);
    EXPECT_EQ(ui_.shown()[0].caption, kCaptionError);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    expect_untouched();

    write("exact.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile, 2013.1016));
    EXPECT_TRUE(doc_.open(path("exact.PTX")));
    EXPECT_EQ(doc_.record().opened_kind, FileKind::kTestFile);
    EXPECT_EQ(doc_.record().raw_count(), 8);
    EXPECT_EQ(doc_.record().grades.grade_count(), 3);
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_EQ(view_.hints.back(), hint::kFileLoaded);
}

TEST_F(DocOpenTest, AnalysisFileVersionLimitIsInclusive) {
    open_marker_document();
    write("newer.KVD", file_bytes(make_test_file_record(), FileKind::kAnalysisWithRaw, 2013.0918));
    EXPECT_FALSE(doc_.open(path("newer.KVD")));
    EXPECT_EQ(only_message(), kMessageNewerVersion);
    expect_untouched();

    write("exact.KVD", file_bytes(make_test_file_record(), FileKind::kAnalysisWithRaw, 2013.0917));
    EXPECT_TRUE(doc_.open(path("exact.KVD")));
    EXPECT_EQ(doc_.record().opened_kind, FileKind::kAnalysisWithRaw);
}

TEST_F(DocOpenTest, UnfinishedTestAsksAndNoKeepsTheDocument) {
    open_marker_document();
    write("running.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile, 0, 1));
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(doc_.open(path("running.PTX")));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kQuestionUnfinished);
    EXPECT_EQ(ui_.shown()[0].caption, kCaptionPrompt);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNo);
    expect_untouched();

    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_TRUE(doc_.open(path("running.PTX")));
    EXPECT_EQ(doc_.record().raw_count(), 8);
}

TEST_F(DocOpenTest, ForeignFilesAreUnknownTypes) {
    open_marker_document();
    Bytes other_kind = file_bytes(make_test_file_record(), FileKind::kAnalysis);
    const std::int32_t kind = 4;
    std::memcpy(other_kind.data() + kKindOffset, &kind, sizeof kind);
    write("kind4.KVD", other_kind);
    EXPECT_FALSE(doc_.open(path("kind4.KVD")));
    EXPECT_EQ(only_message(), kMessageUnknownType);

    ui_.clear_log();
    write("text.KVD", Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(doc_.open(path("text.KVD")));
    EXPECT_EQ(only_message(), kMessageUnknownType);

    ui_.clear_log();
    write("empty.KVD", Bytes{});
    EXPECT_FALSE(doc_.open(path("empty.KVD")));
    EXPECT_EQ(only_message(), kMessageUnknownType);
    expect_untouched();
}

TEST_F(DocOpenTest, MissingFileIsReportedAndKeepsTheDocument) {
    open_marker_document();
    EXPECT_FALSE(doc_.open(path("nowhere.KVD")));
    EXPECT_NE(only_message().find("不存在"), std::string::npos);
    expect_untouched();
}

TEST_F(DocOpenTest, DialogBypassSkipsTheChecksOnceOnly) {
    write("running.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile, 0, 1));
    doc_.skip_next_open_checks();
    EXPECT_TRUE(doc_.open(path("running.PTX")));
    EXPECT_TRUE(ui_.shown().empty());

    // A later open (a recent file, say) checks again.
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(doc_.open(path("running.PTX")));
    EXPECT_EQ(ui_.shown().size(), 1u);
}

TEST_F(DocOpenTest, DamagedFileOpensWhatIsCompleteAndSaysSo) {
    Bytes bytes = file_bytes(make_test_file_record(), FileKind::kTestFile);
    bytes.resize(bytes.size() - 10);  // the last reading's snapshot is cut short
    write("cut.PTX", bytes);
    EXPECT_TRUE(doc_.open(path("cut.PTX")));
    EXPECT_EQ(doc_.record().raw_count(), 7);
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_NE(ui_.shown()[0].text.find("已恢复 7 个完整读数"), std::string::npos);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kWarning);

    // A file that yields nothing usable is refused.
    open_marker_document();
    Bytes header_only = file_bytes(make_test_file_record(), FileKind::kTestFile);
    header_only.resize(kTestReadingsOffset + 100);
    write("empty.PTX", header_only);
    EXPECT_FALSE(doc_.open(path("empty.PTX")));
    expect_untouched();
}

TEST_F(DocOpenTest, FrameIsAskedForTheRawAndModificationTables) {
    struct Frame : DocFrame {
        void show_table_request(ShowTableCode code, int count) override {
            requests.emplace_back(code, count);
        }
        std::vector<std::pair<ShowTableCode, int>> requests;
    } frame;
    doc_.set_frame(&frame);
    write("t.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("t.PTX")));
    ASSERT_EQ(frame.requests.size(), 2u);
    EXPECT_EQ(frame.requests[0], std::make_pair(ShowTableCode::kRawRecord, 3));
    EXPECT_EQ(frame.requests[1], std::make_pair(ShowTableCode::kModificationRecord, 3));
    EXPECT_TRUE(doc_.upload_enabled());

    frame.requests.clear();
    write("a.KVD", file_bytes(make_test_file_record(), FileKind::kAnalysis));
    ASSERT_TRUE(doc_.open(path("a.KVD")));
    EXPECT_TRUE(frame.requests.empty());
    EXPECT_FALSE(doc_.upload_enabled());
    doc_.set_frame(nullptr);
}

}  // namespace
}  // namespace kvd::testing
