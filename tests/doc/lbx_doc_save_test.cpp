// Saving through the document: the renaming and kind rules of test files, the
// old-format question, the dialog route, and failed saves that change nothing.

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "doc_test_support.h"
#include "record/file_classifier.h"
#include "record/file_format.h"
#include "record/test_file_reader.h"

namespace kvd::testing {
namespace {

FileKind kind_of(const Bytes& bytes) { return classify_file(bytes).kind; }

// An old-format file: a 1428-byte header with the count at 398, then 84-byte
// readings (grade, flag, day count, clock text, loads, pressure, 12 channels).
Bytes old_format_file(int count) {
    Bytes bytes(kOldHeaderSize + static_cast<std::size_t>(count) * kOldReadingSize, 0);
    std::memcpy(bytes.data(), "meyptx", 6);
    const std::uint16_t stored = static_cast<std::uint16_t>(count);
    std::memcpy(bytes.data() + kOldReadingCountOffset, &stored, 2);
    for (int i = 0; i < count; ++i) {
        std::uint8_t* r = bytes.data() + kOldHeaderSize + i * kOldReadingSize;
        const std::uint16_t grade = static_cast<std::uint16_t>(i / 2);
        const std::int16_t flag = 1;
        const double day = 45000.0;
        const std::int32_t load = 100 * (i / 2);
        const float channel = 0.25f * static_cast<float>(i);
        std::memcpy(r, &grade, 2);
        std::memcpy(r + 2, &flag, 2);
        std::memcpy(r + 4, &day, 8);
        std::memcpy(r + 12, "08:30:00", 8);
        std::memcpy(r + 24, &load, 4);
        std::memcpy(r + 28, &load, 4);
        std::memcpy(r + 36, &channel, 4);
    }
    return bytes;
}

TEST_F(DocTest, SavingATestFileWritesAnAnalysisFileBesideIt) {
    for (const char* name : {"T1.PTX", "t2.ptx", "T3.Ptx2"}) {
        write(name, file_bytes(make_test_file_record(), FileKind::kTestFile));
        ASSERT_TRUE(doc_.open(path(name)));
        view_.hints.clear();
        ASSERT_TRUE(doc_.save(path(name)));
        EXPECT_EQ(view_.hints.front(), hint::kStorePages);
        std::string base = std::string(name).substr(0, 2);
        std::string saved = base + (std::string(name).back() == '2' ? ".KVD2" : ".KVD");
        EXPECT_EQ(doc_.path(), path(saved));
        EXPECT_EQ(doc_.display_name(), saved);
        EXPECT_EQ(kind_of(read(saved)), FileKind::kAnalysisWithRaw);
        // The test file itself is never overwritten.
        EXPECT_EQ(kind_of(read(name)), FileKind::kTestFile);
        EXPECT_FALSE(doc_.is_modified());
    }
}

TEST_F(DocTest, TestFileWithAnotherExtensionKeepsItsNameButBecomesKind3) {
    write("data.bin", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("data.bin")));
    ASSERT_TRUE(doc_.save(path("data.bin")));
    EXPECT_EQ(doc_.path(), path("data.bin"));
    EXPECT_EQ(kind_of(read("data.bin")), FileKind::kAnalysisWithRaw);
}

TEST_F(DocTest, OldFormatAsksForTheTargetFormat) {
    write("old.PTX", old_format_file(6));
    ASSERT_TRUE(doc_.open(path("old.PTX")));
    EXPECT_EQ(doc_.record().opened_kind, FileKind::kOldTestFile);
    ui_.clear_log();

    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(doc_.save(path("old.PTX")));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, kOldFormatQuestion);
    EXPECT_EQ(ui_.shown()[0].caption, kOldFormatCaption);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kYesNoCancel);
    EXPECT_FALSE(exists("old.KVD"));

    ui_.queue_answer(MessageAnswer::kNo);
    ASSERT_TRUE(doc_.save(path("old.dat")));
    EXPECT_EQ(doc_.path(), path("old.PTX"));
    Bytes converted = read("old.PTX");
    EXPECT_EQ(kind_of(converted), FileKind::kTestFile);
    TestRecord back;
    ReadReport report;
    ASSERT_TRUE(read_record(converted, back, report).ok());
    EXPECT_EQ(back.raw_count(), doc_.record().raw_count());
    EXPECT_EQ(back.header.snapshot_size, 68);
    ASSERT_EQ(back.param_snapshots.size(), back.raw_readings.size());

    // The converted test file is now what the document is; opening the old
    // file again and answering "是" gives an analysis file.
    ASSERT_TRUE(doc_.open(path("old.PTX")));
    write("old2.PTX", old_format_file(6));
    ASSERT_TRUE(doc_.open(path("old2.PTX")));
    ui_.queue_answer(MessageAnswer::kYes);
    ASSERT_TRUE(doc_.save(path("old2.PTX")));
    EXPECT_EQ(kind_of(read("old2.KVD")), FileKind::kAnalysisWithRaw);
}

TEST_F(DocTest, AChoiceSavedIntoATestFileIsNotLostWithoutAWord) {
    write("old.PTX", old_format_file(6));
    ASSERT_TRUE(doc_.open(path("old.PTX")));
    EngineerChoice choice;
    choice.rule = 1000;
    choice.value = 300;
    ASSERT_TRUE(doc_.set_engineer_choice(choice, kChooseCapacityStep));
    ui_.clear_log();

    ui_.queue_answer(MessageAnswer::kNo);  // keep it a test file
    ASSERT_TRUE(doc_.save(path("old.PTX")));
    ASSERT_EQ(ui_.shown().size(), 2u);
    EXPECT_EQ(ui_.shown()[1].text, kChoiceNotInTestFile);
    TestRecord back;
    ReadReport report;
    ASSERT_TRUE(read_record(read("old.PTX"), back, report).ok());
    EXPECT_FALSE(back.engineer_choice);
    // The document still has it: saved as an analysis file it is kept.
    ASSERT_TRUE(doc_.record().engineer_choice);
    ASSERT_TRUE(doc_.save(path("old.PTX")));
    TestRecord analysis;
    ASSERT_TRUE(read_record(read("old.KVD"), analysis, report).ok());
    ASSERT_TRUE(analysis.engineer_choice);
    EXPECT_EQ(analysis.engineer_choice->value, 300);
}

TEST_F(DocTest, SaveDispatcherTakesTheDialogRouteForNewAndTestFiles) {
    // A new document goes through the dialog with its default name.
    ui_.queue_save_path(path("first.KVD"));
    ASSERT_TRUE(doc_.save_document(false));
    ASSERT_EQ(ui_.save_requests().size(), 1u);
    EXPECT_EQ(ui_.save_requests()[0].proposed_name, kDefaultDocumentName);
    EXPECT_EQ(ui_.save_requests()[0].filter, kSaveFilter);
    EXPECT_EQ(ui_.save_requests()[0].title, kSaveDialogTitle);
    EXPECT_EQ(kind_of(read("first.KVD")), FileKind::kAnalysis);

    // An analysis file with a name saves in place without asking.
    ui_.clear_log();
    doc_.set_modified(true);
    ASSERT_TRUE(doc_.save_document(false));
    EXPECT_TRUE(ui_.save_requests().empty());
    EXPECT_TRUE(ui_.shown().empty());

    // A test file asks first; "否" writes nothing.
    write("T.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("T.PTX")));
    ui_.clear_log();
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_FALSE(doc_.save_document(false));
    EXPECT_EQ(ui_.shown().at(0).text, kSaveTestFileQuestion);
    EXPECT_TRUE(ui_.save_requests().empty());
    EXPECT_FALSE(exists("T.KVD"));

    // "是" proposes the analysis name; a cancelled dialog writes nothing.
    ui_.queue_answer(MessageAnswer::kYes);
    EXPECT_FALSE(doc_.save_document(false));
    ASSERT_EQ(ui_.save_requests().size(), 1u);
    EXPECT_EQ(ui_.save_requests()[0].proposed_name, path("T.KVD"));
    EXPECT_FALSE(exists("T.KVD"));
}

TEST_F(DocTest, FailedSaveChangesNothing) {
    write("T.PTX", file_bytes(make_test_file_record(), FileKind::kTestFile));
    ASSERT_TRUE(doc_.open(path("T.PTX")));
    doc_.set_modified(true);
    ui_.clear_log();
    EXPECT_FALSE(doc_.save(path("missing/T.PTX")));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_TRUE(doc_.is_modified());
    EXPECT_EQ(doc_.path(), path("T.PTX"));
    EXPECT_EQ(doc_.record().save_kind, FileKind::kTestFile);
    EXPECT_EQ(doc_.record().opened_kind, FileKind::kTestFile);

    if (::geteuid() != 0) {
        // An existing file in a read-only folder keeps its old contents.
        write("A.KVD", file_bytes(make_test_file_record(), FileKind::kAnalysis));
        const Bytes before = read("A.KVD");
        ::chmod(dir_.c_str(), 0500);
        EXPECT_FALSE(doc_.save(path("A.KVD")));
        ::chmod(dir_.c_str(), 0700);
        EXPECT_EQ(read("A.KVD"), before);
    }
}

TEST_F(DocTest, SaveModifiedAsksBeforeReplacing) {
    EXPECT_TRUE(doc_.save_modified());  // unmodified: nothing asked
    EXPECT_TRUE(ui_.shown().empty());
    doc_.set_modified(true);
    ui_.queue_answer(MessageAnswer::kCancel);
    EXPECT_FALSE(doc_.save_modified());
    ui_.queue_answer(MessageAnswer::kNo);
    EXPECT_TRUE(doc_.save_modified());
    EXPECT_TRUE(doc_.is_modified());
    ui_.queue_answer(MessageAnswer::kYes);
    ui_.queue_save_path(path("kept.KVD"));
    EXPECT_TRUE(doc_.save_modified());
    EXPECT_FALSE(doc_.is_modified());
    EXPECT_TRUE(exists("kept.KVD"));
}

}  // namespace
}  // namespace kvd::testing
