#include "output/word/word_document.h"

namespace kvd::word::content {

int utf8_length(std::string_view text) {
    int n = 0;
    for (char c : text) {
        // Every byte but a continuation byte (10xxxxxx) starts a code point.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

std::size_t utf8_offset(std::string_view text, int chars) {
    int seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == chars) return i;
            ++seen;
        }
    }
    return text.size();
}

int Run::length() const {
    if (picture >= 0 || page_break) return 1;
    return utf8_length(text);
}

int Paragraph::length() const {
    int n = 0;
    for (const Run& run : runs) n += run.length();
    return n;
}

std::string Paragraph::text() const {
    std::string all;
    for (const Run& run : runs) all += run.text;
    return all;
}

std::string Cell::text() const {
    std::string all;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) all += '\n';
        all += paragraphs[i].text();
    }
    return all;
}

bool Cell::empty() const {
    for (const Paragraph& p : paragraphs) {
        if (!p.runs.empty()) return false;
    }
    return true;
}

}  // namespace kvd::word::content
