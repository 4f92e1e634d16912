#include "cli/json_writer.h"

#include <cmath>

#include "base/format.h"

namespace kvd::cli {

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

void JsonWriter::begin_object() {
    before_value();
    out_ += '{';
    first_.push_back(true);
}

void JsonWriter::end_object() {
    out_ += '}';
    first_.pop_back();
}

void JsonWriter::begin_array() {
    before_value();
    out_ += '[';
    first_.push_back(true);
}

void JsonWriter::end_array() {
    out_ += ']';
    first_.pop_back();
}

void JsonWriter::key(std::string_view name) {
    before_value();
    write_string(name);
    out_ += ':';
    after_key_ = true;  // the member's value follows without a separator
}

void JsonWriter::value(std::string_view text) {
    before_value();
    write_string(text);
}

void JsonWriter::write_string(std::string_view text) {
    out_ += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (byte < 0x20)
                    out_ += strprintf("\\u%04x", byte);
                else
                    out_ += c;
        }
    }
    out_ += '"';
}

void JsonWriter::value(double number) {
    if (!std::isfinite(number)) {
        null();
        return;
    }
    before_value();
    out_ += strprintf("%.10g", number);
}

void JsonWriter::value(int number) {
    before_value();
    out_ += strprintf("%d", number);
}

void JsonWriter::value(bool flag) {
    before_value();
    out_ += flag ? "true" : "false";
}

void JsonWriter::null() {
    before_value();
    out_ += "null";
}

}  // namespace kvd::cli
