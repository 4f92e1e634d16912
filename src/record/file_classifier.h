#pragma once
// What a file is, decided from its first bytes alone: the checks the open
// command runs before anything is read, and the class the open dialog shows.

#include "base/byte_image.h"
#include "record/test_record.h"

namespace kvd {

enum class FileClass : int {
    kUnclassified = -1,  // no known tag (or nothing read)
    kOldFormat = 0,      // old "meyptx" test file
    kNewerVersion = 1,   // written by a newer program version
    kForeign = 2,        // tagged, but of a kind this program does not know
    kUnfinished = 3,     // test file whose test the tester is still recording
    kReadable = 5,
};

struct FileProbe {
    FileClass file_class = FileClass::kUnclassified;
    FileKind kind = FileKind::kNone;  // kOldTestFile for the old format
    double version = 0;
    bool has_tag = false;             // "VXRAC" found
};

FileProbe classify_file(ByteView bytes);

// The user's message for a class that cannot be opened as it is; empty for
// kReadable, kOldFormat and kUnfinished (which asks instead).
const char* refusal_message(FileClass file_class);

// What a classification and a file kind are, in words ("可以打开", "测试文件").
const char* file_class_name(FileClass file_class);
const char* file_kind_name(FileKind kind);

inline constexpr char kMessageNewerVersion[] = "该文件为高版本所创建文件, 无法打开 ！";
inline constexpr char kMessageUnknownType[] = "未知文件类型, 无法打开 ！";
inline constexpr char kMessageCannotOpen[] = "无法打开该文件 ！";
inline constexpr char kQuestionUnfinished[] = "该文件试验未结束，是否继续用分析软件打开？  ";

}  // namespace kvd
