#pragma once
// Writing a TestRecord in the layout of its save kind (test file, analysis
// file, analysis file with raw readings). The bytes are returned whole so the
// caller can replace the target file atomically.

#include "base/byte_image.h"
#include "base/status.h"
#include "record/test_record.h"

namespace kvd {

// The file image of record.save_kind; fails for a kind that is never written.
Status write_record(const TestRecord& record, Bytes& out);

}  // namespace kvd
