#pragma once
// Reading test and analysis files into a TestRecord, from bytes in memory or
// piecewise from an open file. The reader trusts none of the file's counts:
// nothing is allocated or read beyond what the remaining bytes can hold. A
// damaged or truncated file gives its complete readings and drops the
// incomplete tail, and the report says how many were recovered; a file that
// yields nothing usable is refused.

#include <string>
#include <vector>

#include "base/byte_image.h"
#include "base/byte_reader.h"
#include "base/status.h"
#include "record/test_record.h"

namespace kvd {

struct ReadReport {
    bool damaged = false;
    long long claimed_readings = 0;  // sample points or raw readings the counts promise
    long long recovered_readings = 0;
    bool uploadable = false;           // may be sent to the inspection station
    std::vector<std::string> notices;  // to tell the user after a successful read
};

// Reads a current-format or old-format file into record (replaced whole on
// success, unspecified on failure). The file's classification checks (version,
// kind, unfinished test) are the caller's; this refuses only what it cannot read.
Status read_record(ByteView bytes, TestRecord& record, ReadReport& report);

// The same from a source read piecewise through a buffer of buffer_bytes (an
// open file: no second whole copy of it is held). A file cut short while it
// is read reads as a damaged file; a failed read is refused with the
// source's message.
Status read_record(ByteSource& source, TestRecord& record, ReadReport& report,
                   std::size_t buffer_bytes = ByteReader::kBufferBytes);

// Reads the old "meyptx" test format (called by read_record).
Status read_old_format(ByteReader& in, TestRecord& record, ReadReport& report);

// The user's words for a damaged file's report.
std::string damage_notice(const ReadReport& report);

inline constexpr char kMessageDamaged[] = "文件已损坏，无法读取任何数据 ！";

}  // namespace kvd
