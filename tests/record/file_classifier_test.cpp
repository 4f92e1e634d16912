#include "record/file_classifier.h"

#include <gtest/gtest.h>

#include <string>

#include "record/file_fixtures.h"

namespace kvd {
namespace {

using namespace fixture;

FileClass class_of(const Image& file) {
    return classify_file(file.view()).file_class;
}

Image test_file_with_flag(double version, std::int32_t unfinished) {
    return test_file(version, unfinished, 0, 0, make_header(), {sample_entry(0, 1)});
}

TEST(ClassifyFile, TestFilesByVersionAndUnfinishedFlag) {
    EXPECT_EQ(class_of(test_file_with_flag(kVersionTest, 0)), FileClass::kReadable);
    EXPECT_EQ(class_of(test_file_with_flag(2013.1017, 0)), FileClass::kNewerVersion);
    EXPECT_EQ(class_of(test_file_with_flag(2013.10160001, 0)), FileClass::kNewerVersion);
    EXPECT_EQ(class_of(test_file_with_flag(2014.0, 1)), FileClass::kNewerVersion);
    EXPECT_EQ(class_of(test_file_with_flag(kVersionTest, 1)), FileClass::kUnfinished);
    EXPECT_EQ(class_of(test_file_with_flag(2013.0917, 1)), FileClass::kUnfinished);
    // Only exactly 1 means the tester is still recording.
    EXPECT_EQ(class_of(test_file_with_flag(kVersionTest, 2)), FileClass::kReadable);
    EXPECT_EQ(class_of(test_file_with_flag(kVersionTest, -1)), FileClass::kReadable);

    const FileProbe probe = classify_file(test_file_with_flag(kVersionTest, 0).view());
    EXPECT_TRUE(probe.has_tag);
    EXPECT_EQ(probe.kind, FileKind::kTestFile);
    EXPECT_EQ(probe.version, kVersionTest);
}

TEST(ClassifyFile, AnalysisFilesByVersion) {
    for (std::int32_t kind : {2, 3}) {
        EXPECT_EQ(class_of(make_prefix(kind, kVersionAnalysis)), FileClass::kReadable);
        EXPECT_EQ(class_of(make_prefix(kind, 2013.0826)), FileClass::kReadable);
        EXPECT_EQ(class_of(make_prefix(kind, 2013.0918)), FileClass::kNewerVersion);
        // A test file's version is newer than any analysis file's.
        EXPECT_EQ(class_of(make_prefix(kind, kVersionTest)), FileClass::kNewerVersion);
        EXPECT_EQ(classify_file(make_prefix(kind, kVersionAnalysis).view()).kind,
                  static_cast<FileKind>(kind));
    }
}

TEST(ClassifyFile, TaggedFilesOfAnotherKindAreForeign) {
    for (std::int32_t kind : {0, 4, 5, -1, 0x7fffffff}) {
        EXPECT_EQ(class_of(make_prefix(kind, kVersionAnalysis)), FileClass::kForeign) << kind;
    }
    EXPECT_STREQ(refusal_message(FileClass::kForeign), "未知文件类型, 无法打开 ！");
    EXPECT_STREQ(refusal_message(FileClass::kNewerVersion),
                 "该文件为高版本所创建文件, 无法打开 ！");
    EXPECT_STREQ(refusal_message(FileClass::kReadable), "");
    EXPECT_STREQ(refusal_message(FileClass::kOldFormat), "");
}

TEST(ClassifyFile, OldFormatAndUntaggedFiles) {
    const FileProbe old = classify_file(old_format_file(0, {}).view());
    EXPECT_EQ(old.file_class, FileClass::kOldFormat);
    EXPECT_EQ(old.kind, FileKind::kOldTestFile);
    EXPECT_FALSE(old.has_tag);
    // The tag is looked for in the text the first ten bytes start with.
    EXPECT_EQ(class_of(Image().text(0, "xxmeyptx")), FileClass::kOldFormat);
    EXPECT_EQ(class_of(Image().text(0, "0123456789VXRAC")), FileClass::kUnclassified);
    EXPECT_EQ(class_of(Image().text(1, "VXRAC")), FileClass::kUnclassified);  // after a zero byte
    EXPECT_EQ(class_of(Image().text(0, "VXRA")), FileClass::kUnclassified);
    EXPECT_EQ(class_of(Image().text(0, "meypt")), FileClass::kUnclassified);
    EXPECT_EQ(class_of(Image()), FileClass::kUnclassified);
    EXPECT_EQ(class_of(Image(4096)), FileClass::kUnclassified);
    // A file that says both is a current-format file.
    Image both = make_prefix(2, kVersionAnalysis);
    EXPECT_EQ(class_of(both.text(0, "VXRACmeyp")), FileClass::kReadable);
}

TEST(ClassifyFile, ShortFilesReadMissingFieldsAsZero) {
    const Image whole = test_file_with_flag(kVersionTest, 1);
    // Tag only: the kind reads 0, which is no kind of this program.
    EXPECT_EQ(class_of(Image().text(0, "VXRAC")), FileClass::kForeign);
    // The version cut short reads 0 and the kind is missing.
    EXPECT_EQ(classify_file(whole.prefix(14)).version, 0);
    EXPECT_EQ(classify_file(whole.prefix(17)).file_class, FileClass::kForeign);
    // Kind present, unfinished flag missing: readable as far as the probe goes.
    EXPECT_EQ(classify_file(whole.prefix(22)).file_class, FileClass::kReadable);
    EXPECT_EQ(classify_file(whole.prefix(259)).file_class, FileClass::kReadable);
    EXPECT_EQ(classify_file(whole.prefix(260)).file_class, FileClass::kUnfinished);
    // Every prefix classifies without reading past its end.
    for (std::size_t cut = 0; cut <= 300; ++cut) {
        const FileClass c = classify_file(whole.prefix(cut)).file_class;
        EXPECT_TRUE(c == FileClass::kUnclassified || c == FileClass::kForeign ||
                    c == FileClass::kReadable || c == FileClass::kUnfinished)
            << cut;
    }
}

}  // namespace
}  // namespace kvd
