#pragma once
// File names the export commands propose and accept.

#include <string>
#include <string_view>

namespace kvd {

// The path (or a document's title) with the extension of its file name, if
// it has one, replaced by `extension` (".docx"). A dot in a folder name is
// not an extension.
std::string with_replaced_extension(const std::string& path, std::string_view extension);

// The name as chosen, with `extension` appended unless it already ends in it
// (in any case: "A.XLS" is kept). "a.txt" becomes "a.txt.xls".
std::string with_extension(const std::string& name, std::string_view extension);

}  // namespace kvd
