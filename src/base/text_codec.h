#pragma once
// Conversions between the program's UTF-8 strings and the GBK (code page 936)
// bytes of the file formats. Every std::string in the program is UTF-8; GBK
// exists only inside fixed byte fields and in the few GBK text files.

#include <span>
#include <string>
#include <string_view>

namespace kvd {

// GBK bytes to UTF-8. A byte sequence that is not GBK becomes "?".
std::string gbk_to_utf8(std::string_view gbk);

// UTF-8 to GBK bytes. A character GBK cannot hold (or a malformed UTF-8
// sequence) becomes "?".
std::string utf8_to_gbk(std::string_view utf8);

// Cuts GBK bytes to at most max_bytes without splitting a two-byte character.
std::string_view truncate_gbk(std::string_view gbk, std::size_t max_bytes);

// Cuts UTF-8 text so that its GBK form fits max_bytes, at a character boundary.
std::string truncate_for_gbk_field(std::string_view utf8, std::size_t max_bytes);

// Text of a fixed NUL-terminated GBK field, as UTF-8. Stops at the first NUL or
// at the end of the field when it holds none.
std::string read_gbk_field(std::span<const char> field);

// Stores UTF-8 text as GBK in a fixed field: at most field.size() - 1 bytes, cut
// at a character boundary, NUL-terminated, the rest of the field zero.
void write_gbk_field(std::span<char> field, std::string_view utf8);

}  // namespace kvd
