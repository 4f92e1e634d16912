#pragma once
// Whole-file reading and atomic replacement. A save writes a temporary file in
// the target's folder, flushes it to disk and renames it over the target, so a
// failed save (full disk, no permission, a crash half-way) leaves the previous
// file exactly as it was.

#include <filesystem>
#include <string>

#include "base/byte_image.h"
#include "base/status.h"

namespace kvd {

// Reads a whole file; the failure message is in the user's language.
Status read_whole_file(const std::filesystem::path& path, Bytes& out);

// Replaces target with data atomically (see above).
Status replace_file_atomically(const std::filesystem::path& target, ByteView data);

// The user's words for an errno value of a file operation.
std::string describe_file_error(int error_number);

}  // namespace kvd
