#pragma once
// A zip archive built in memory with libzip, every entry deflated: the
// container of a .docx package. Entries keep their order (the content-types
// part first, as readers that sniff the package expect) and a fixed
// modification time, so the same parts always give the same bytes.

#include <string>
#include <string_view>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"

namespace kvd::word {

struct ZipEntry {
    std::string name;
    ByteView data;  // must stay valid until zip_entries returns
};

// The archive of the entries; the failure message is in the user's language.
Status zip_entries(const std::vector<ZipEntry>& entries, Bytes& archive);

}  // namespace kvd::word
