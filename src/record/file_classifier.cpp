#include "record/file_classifier.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "record/file_format.h"

namespace kvd {
namespace {

// The text the first bytes start with: up to the first zero byte.
std::string_view leading_text(ByteView bytes) {
    std::size_t n = std::min(bytes.size(), kTagProbeBytes);
    std::size_t length = 0;
    while (length < n && bytes[length] != 0) ++length;
    return {reinterpret_cast<const char*>(bytes.data()), length};
}

}  // namespace

FileProbe classify_file(ByteView bytes) {
    FileProbe probe;
    std::string_view text = leading_text(bytes);
    if (text.find(kFormatTag) != std::string_view::npos) {
        probe.has_tag = true;
        // Fields past the end of a short file read as zero.
        std::int32_t kind = 0;
        load_at(bytes, kVersionOffset, probe.version);
        load_at(bytes, kKindOffset, kind);
        probe.kind = static_cast<FileKind>(kind);
        if (!std::isfinite(probe.version)) {
            probe.file_class = FileClass::kForeign;  // no version this program could read
        } else if (probe.kind == FileKind::kTestFile) {
            std::int32_t unfinished = 0;
            load_at(bytes, kUnfinishedFlagOffset, unfinished);
            if (probe.version > kTestFileVersion) probe.file_class = FileClass::kNewerVersion;
            else if (unfinished == 1) probe.file_class = FileClass::kUnfinished;
            else probe.file_class = FileClass::kReadable;
        } else if (probe.kind == FileKind::kAnalysis || probe.kind == FileKind::kAnalysisWithRaw) {
            probe.file_class = probe.version > kAnalysisFileVersion ? FileClass::kNewerVersion
                                                                    : FileClass::kReadable;
        } else {
            probe.file_class = FileClass::kForeign;
        }
    } else if (text.find(kOldFormatTag) != std::string_view::npos) {
        probe.file_class = FileClass::kOldFormat;
        probe.kind = FileKind::kOldTestFile;
    }
    return probe;
}

const char* refusal_message(FileClass file_class) {
    switch (file_class) {
        case FileClass::kNewerVersion:
            return kMessageNewerVersion;
        case FileClass::kForeign:
        case FileClass::kUnclassified:
            return kMessageUnknownType;
        default:
            return "";
    }
}

const char* file_class_name(FileClass file_class) {
    switch (file_class) {
        case FileClass::kOldFormat:
            return "老版本测试文件";
        case FileClass::kNewerVersion:
            return "高版本文件";
        case FileClass::kForeign:
            return "未知类型";
        case FileClass::kUnfinished:
            return "试验未结束";
        case FileClass::kReadable:
            return "可以打开";
        default:
            return "未知文件";
    }
}

const char* file_kind_name(FileKind kind) {
    switch (kind) {
        case FileKind::kTestFile:
            return "测试文件";
        case FileKind::kAnalysis:
            return "分析文件";
        case FileKind::kAnalysisWithRaw:
            return "分析文件(含原始数据)";
        case FileKind::kOldTestFile:
            return "老版本测试文件";
        default:
            return "无";
    }
}

}  // namespace kvd
