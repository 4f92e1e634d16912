// The engineer's choice and its trailing block: the byte image from its
// layout, refusal of damaged blocks, and analysis files that carry one still
// reading exactly as before in the reader as it stands.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "record/engineer_choice.h"
#include "record/file_format.h"
#include "record/test_file_reader.h"
#include "record/test_file_writer.h"

namespace kvd {
namespace {

EngineerChoice sample_choice() {
    EngineerChoice choice;
    choice.rule = 114;  // the analysis layer's s = 40 mm rule
    choice.value = 3714.285714;
    choice.at_least = false;
    choice.data_fingerprint = 0x89abcdefu;
    choice.chosen_at = 1686529800;
    choice.note = "按 s = 40 mm 取值";
    return choice;
}

template <class T>
T at(const Bytes& bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(EngineerChoice, BlockLayoutIsTheDocumentedOne) {
    const Bytes block = encode_choice(sample_choice());
    ASSERT_EQ(block.size(), 96u);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 4), "KVDQ");
    EXPECT_EQ(at<std::uint16_t>(block, 4), 1);
    EXPECT_EQ(at<std::uint16_t>(block, 6), 96);
    EXPECT_EQ(at<std::uint16_t>(block, 8), 114);
    EXPECT_EQ(block[10], 0);
    EXPECT_EQ(block[11], 0);
    EXPECT_EQ(at<std::uint32_t>(block, 12), 0x89abcdefu);
    EXPECT_DOUBLE_EQ(at<double>(block, 16), 3714.285714);
    EXPECT_EQ(at<std::int64_t>(block, 24), 1686529800);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data() + 32)),
              utf8_to_gbk("按 s = 40 mm 取值"));

    EngineerChoice decoded;
    ASSERT_TRUE(decode_choice(block, decoded).ok());
    EXPECT_EQ(decoded, sample_choice());

    EngineerChoice bound = sample_choice();
    bound.at_least = true;
    bound.rule = 1000;  // a typed value
    const Bytes flagged = encode_choice(bound);
    EXPECT_EQ(flagged[10], 1);
    ASSERT_TRUE(decode_choice(flagged, decoded).ok());
    EXPECT_EQ(decoded, bound);
}

TEST(EngineerChoice, BlockWrittenFromTheLayoutByAnotherWriterDecodes) {
    // fuzz/make_seeds.py packs the block with Python's struct and zlib.crc32.
    Bytes block;
    ASSERT_TRUE(
        read_whole_file(std::string(KVD_SOURCE_DIR) + "/fuzz/corpus/fuzz_engineer_choice/block.bin",
                        block)
            .ok());
    EngineerChoice decoded;
    ASSERT_TRUE(decode_choice(block, decoded).ok());
    EXPECT_EQ(decoded.rule, 114);
    EXPECT_DOUBLE_EQ(decoded.value, 3714.29);
    EXPECT_FALSE(decoded.at_least);
    EXPECT_EQ(decoded.data_fingerprint, 0x1234ABCDu);
    EXPECT_EQ(decoded.note, "按 s = 40 mm 取值");
    EXPECT_EQ(encode_choice(decoded), block);

    Bytes file;
    ASSERT_TRUE(read_whole_file(std::string(KVD_SOURCE_DIR) +
                                    "/fuzz/corpus/fuzz_engineer_choice/kind2_with_choice.KVD",
                                file)
                    .ok());
    const auto trailing = trailing_choice(file);
    ASSERT_TRUE(trailing.has_value());
    EXPECT_EQ(trailing->rule, 116);
    EXPECT_TRUE(trailing->at_least);
}

TEST(EngineerChoice, DamagedBlocksAreRefusedAndLeaveTheChoiceAsItWas) {
    const Bytes good = encode_choice(sample_choice());
    EngineerChoice kept;
    kept.note = "unchanged";
    for (std::size_t offset : {0u, 4u, 6u, 8u, 16u, 40u, 92u}) {
        Bytes bad = good;
        bad[offset] ^= 0x01;
        const Status status = decode_choice(bad, kept);
        EXPECT_FALSE(status.ok()) << offset;
        EXPECT_EQ(status.message(), kMessageChoiceDamaged);
        EXPECT_EQ(kept.note, "unchanged");
    }
    EXPECT_FALSE(decode_choice(ByteView(good).first(95), kept).ok());
    // A NaN with a correct checksum is still no value.
    EngineerChoice nan = sample_choice();
    nan.value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(decode_choice(encode_choice(nan), kept).ok());
}

TEST(EngineerChoice, LongNoteIsCutAtACharacterBoundary) {
    EngineerChoice choice = sample_choice();
    choice.note = std::string(40, 'a') + "缓变型曲线按四十毫米取值";  // 40 + 24 GBK bytes
    EngineerChoice decoded;
    ASSERT_TRUE(decode_choice(encode_choice(choice), decoded).ok());
    EXPECT_EQ(decoded.note,
              std::string(40, 'a') + "缓变型曲线按四十毫");  // 40 + 18 bytes fit in 59
}

// Both analysis kinds: the record read from a file with the block appended is
// the record read without it, byte for byte where it has bytes.
TEST(EngineerChoice, AnalysisFilesWithTheBlockReadAsBeforeInTodaysReader) {
    Bytes kvd;
    ASSERT_TRUE(read_whole_file(std::string(KVD_SOURCE_DIR) + "/samples/demo.KVD", kvd).ok());
    TestRecord with_raw;
    ReadReport report;
    ASSERT_TRUE(read_record(kvd, with_raw, report).ok());
    ASSERT_EQ(with_raw.opened_kind, FileKind::kAnalysisWithRaw);
    TestRecord grades_only = with_raw;
    grades_only.save_kind = FileKind::kAnalysis;
    Bytes kind2;
    ASSERT_TRUE(write_record(grades_only, kind2).ok());

    for (const Bytes& original : {kvd, kind2}) {
        EXPECT_FALSE(trailing_choice(original).has_value());
        Bytes extended = original;
        const Bytes block = encode_choice(sample_choice());
        extended.insert(extended.end(), block.begin(), block.end());

        TestRecord before;
        TestRecord after;
        ReadReport report_before;
        ReadReport report_after;
        ASSERT_TRUE(read_record(original, before, report_before).ok());
        ASSERT_TRUE(read_record(extended, after, report_after).ok());
        EXPECT_FALSE(report_after.damaged);
        EXPECT_TRUE(report_after.notices.empty());
        EXPECT_EQ(std::memcmp(&before.header, &after.header, sizeof before.header), 0);
        ASSERT_EQ(before.grades.grade_count(), after.grades.grade_count());
        for (int g = 0; g < before.grades.grade_count(); ++g) {
            const auto a = before.grades.grade(g)->points();
            const auto b = after.grades.grade(g)->points();
            ASSERT_EQ(a.size(), b.size());
            EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size_bytes()), 0) << g;
        }
        ASSERT_EQ(before.raw_count(), after.raw_count());
        for (int r = 0; r < before.raw_count(); ++r) {
            const auto i = static_cast<std::size_t>(r);
            EXPECT_EQ(
                std::memcmp(&before.raw_readings[i], &after.raw_readings[i], sizeof(RawReading)), 0)
                << r;
        }
        EXPECT_EQ(before.mod_count(), after.mod_count());

        const auto found = trailing_choice(extended);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, sample_choice());
        ASSERT_TRUE(after.engineer_choice.has_value());
        EXPECT_EQ(*after.engineer_choice, sample_choice());
        EXPECT_FALSE(before.engineer_choice.has_value());
        // Saved again the file is the same; without the choice it is the original.
        Bytes rewritten;
        ASSERT_TRUE(write_record(after, rewritten).ok());
        EXPECT_EQ(rewritten, extended);
        after.engineer_choice.reset();
        ASSERT_TRUE(write_record(after, rewritten).ok());
        EXPECT_EQ(rewritten, original);
    }
}

TEST(EngineerChoice, TheChoiceTravelsWithAnalysisFilesOnlyAndIsNeverReadAsReadings) {
    Bytes kvd;
    ASSERT_TRUE(read_whole_file(std::string(KVD_SOURCE_DIR) + "/samples/demo.KVD", kvd).ok());
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read_record(kvd, record, report).ok());
    record.engineer_choice = sample_choice();

    // Through a file source in small pieces, as the program opens files.
    Bytes saved;
    ASSERT_TRUE(write_record(record, saved).ok());
    ByteViewSource source(saved);
    TestRecord reread;
    ASSERT_TRUE(read_record(source, reread, report, 151).ok());
    ASSERT_TRUE(reread.engineer_choice.has_value());
    EXPECT_EQ(*reread.engineer_choice, sample_choice());

    // A test file has no place for it.
    record.save_kind = FileKind::kTestFile;
    ASSERT_TRUE(write_record(record, saved).ok());
    EXPECT_FALSE(trailing_choice(saved).has_value());
    ASSERT_TRUE(read_record(saved, reread, report).ok());
    EXPECT_FALSE(reread.engineer_choice.has_value());

    // A grades-only file whose count claims more readings than it holds: the
    // readings end where the block begins.
    record.save_kind = FileKind::kAnalysis;
    Bytes plain;
    record.engineer_choice.reset();
    ASSERT_TRUE(write_record(record, plain).ok());
    record.engineer_choice = sample_choice();
    ASSERT_TRUE(write_record(record, saved).ok());
    const std::int32_t claimed = record.grades.total_readings() + 10;
    std::memcpy(saved.data() + kSamplePointCountOffset, &claimed, sizeof claimed);
    std::memcpy(plain.data() + kSamplePointCountOffset, &claimed, sizeof claimed);
    TestRecord damaged;
    TestRecord damaged_plain;
    ReadReport plain_report;
    ASSERT_TRUE(read_record(saved, damaged, report).ok());
    ASSERT_TRUE(read_record(plain, damaged_plain, plain_report).ok());
    EXPECT_EQ(damaged.grades.total_readings(), record.grades.total_readings());
    EXPECT_EQ(damaged.grades.total_readings(), damaged_plain.grades.total_readings());
    EXPECT_EQ(report.damaged, plain_report.damaged);
    ASSERT_TRUE(damaged.engineer_choice.has_value());
}

}  // namespace
}  // namespace kvd
