#include "record/page_fields.h"

#include "base/format.h"

namespace kvd {

Status check_int_field(std::string_view caption, long long value, long long min, long long max) {
    if (value >= min && value <= max) return Status::success();
    return Status::failure(strprintf("%.*s: 请输入一个介于 %lld 和 %lld 之间的整数。",
                                     static_cast<int>(caption.size()), caption.data(), min, max));
}

Status check_real_field(std::string_view caption, double value, double min, double max) {
    if (std::isfinite(value) && value >= min && value <= max) return Status::success();
    return Status::failure(strprintf("%.*s: 请输入一个介于 %g 和 %g 之间的数。",
                                     static_cast<int>(caption.size()), caption.data(), min, max));
}

Status check_finite_field(std::string_view caption, double value) {
    if (std::isfinite(value)) return Status::success();
    return Status::failure(
        strprintf("%.*s: 请输入一个数。", static_cast<int>(caption.size()), caption.data()));
}

Status first_failure(std::initializer_list<Status> checks) {
    for (const Status& status : checks) {
        if (!status.ok()) return status;
    }
    return Status::success();
}

double clamp_real(double value, double lo, double hi) {
    if (std::isnan(value)) return std::clamp(0.0, lo, hi);
    return std::clamp(value, lo, hi);
}

float clamp_to_float(double value, double lo, double hi) {
    const double float_max = std::numeric_limits<float>::max();
    return static_cast<float>(clamp_real(value, std::max(lo, -float_max), std::min(hi, float_max)));
}

std::string limit_characters(std::string_view utf8, std::size_t max_chars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // A code point starts at every byte that is not a continuation byte.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (chars == max_chars) return std::string(utf8.substr(0, i));
            ++chars;
        }
    }
    return std::string(utf8);
}

}  // namespace kvd
