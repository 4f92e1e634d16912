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

}  // namespace kvd
