#pragma once
// A streaming JSON writer for kvdtool's machine-readable output: objects,
// arrays, strings (UTF-8 passed through, control characters escaped) and
// numbers (a value that is not finite is written as null). Commas and nesting
// are kept by the writer, so a caller cannot produce malformed text.

#include <string>
#include <string_view>
#include <vector>

namespace kvd::cli {

class JsonWriter {
public:
    void begin_object();
    void end_object();
    void begin_array();
    void end_array();
    // The name of the next member of the open object.
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(double number);
    void value(int number);
    void value(bool flag);
    void null();
    // A member of the open object: its name, then its value.
    template <class T>
    void member(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

    const std::string& text() const { return out_; }

private:
    void before_value();
    void write_string(std::string_view text);

    std::string out_;
    std::vector<bool> first_;  // per open container: no member written yet
    bool after_key_ = false;
};

}  // namespace kvd::cli
