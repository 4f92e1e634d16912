#include "base/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kvd {
namespace {

// One iconv conversion descriptor per direction and thread; opening one costs
// more than converting a field.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in; each undecodable input unit (its length given by skip) is
    // replaced by "?".
    template <class SkipFn>
    std::string convert(std::string_view in, SkipFn skip) {
        std::string out;
        out.reserve(in.size() * 2 + 4);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char buffer[256];
        while (src_left > 0) {
            char* dst = buffer;
            std::size_t dst_left = sizeof buffer;
            std::size_t result = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) continue;
            // EILSEQ (not representable / malformed) or EINVAL (cut short).
            out.push_back('?');
            std::size_t n = std::min(src_left, skip(std::string_view(src, src_left)));
            src += n;
            src_left -= n;
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t utf8_char_length(std::string_view s) {
    auto lead = static_cast<unsigned char>(s[0]);
    std::size_t n = 1;
    if (lead >= 0xF0) n = 4;
    else if (lead >= 0xE0) n = 3;
    else if (lead >= 0xC0) n = 2;
    // A malformed sequence is skipped one byte at a time.
    for (std::size_t i = 1; i < n; ++i) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    }
    return n;
}

std::size_t gbk_char_length(std::string_view s) {
    auto lead = static_cast<unsigned char>(s[0]);
    return (lead >= 0x81 && lead <= 0xFE && s.size() >= 2) ? 2 : 1;
}

}  // namespace

std::string gbk_to_utf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GBK");
    return converter.convert(gbk, [](std::string_view) { return std::size_t{1}; });
}

std::string utf8_to_gbk(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    return converter.convert(utf8, utf8_char_length);
}

std::string_view truncate_gbk(std::string_view gbk, std::size_t max_bytes) {
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        std::size_t n = gbk_char_length(gbk.substr(pos));
        if (pos + n > max_bytes) break;
        pos += n;
    }
    return gbk.substr(0, pos);
}

std::string truncate_for_gbk_field(std::string_view utf8, std::size_t max_bytes) {
    return gbk_to_utf8(truncate_gbk(utf8_to_gbk(utf8), max_bytes));
}

std::string read_gbk_field(std::span<const char> field) {
    std::size_t length = 0;
    while (length < field.size() && field[length] != '\0') ++length;
    return gbk_to_utf8(std::string_view(field.data(), length));
}

void write_gbk_field(std::span<char> field, std::string_view utf8) {
    if (field.empty()) return;
    std::string gbk = utf8_to_gbk(utf8);
    std::string_view fitted = truncate_gbk(gbk, field.size() - 1);
    std::memset(field.data(), 0, field.size());
    std::memcpy(field.data(), fitted.data(), fitted.size());
}

}  // namespace kvd
