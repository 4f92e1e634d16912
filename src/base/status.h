#pragma once
// Status: the outcome of an operation that can fail, with the message the user
// is shown when it did. Operations report failure by value; nothing throws
// across layer boundaries.

#include <string>
#include <utility>

namespace kvd {

class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    const std::string& message() const { return message_; }

private:
    Status() = default;
    explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    std::string message_;
};

}  // namespace kvd
