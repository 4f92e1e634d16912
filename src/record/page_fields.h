#pragma once
// Helpers shared by the parameter pages' field blocks (project, displacement,
// test standard, control and alarm pages). Each page is a plain struct of the
// values its controls show, loaded from and stored into the record by plain
// functions, so that the Qt pages and kvdtool edit the record the same way.
//
// Out-of-range input is handled in two steps, the same for every page:
// - validate() refuses a value outside the page's limits with a message that
//   names the field, as the framework's range check would. The Qt pages get
//   this from their spin boxes; kvdtool must call it.
// - store_into() never wraps a number: it clamps to the page limit and to what
//   the header field can hold, so a value that slipped past validation is
//   stored as the nearest storable one, never as a different one.
// Texts are cut to the box's input limit in characters and then to the GBK
// field at a character boundary; they are never refused.

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

#include "base/status.h"

namespace kvd {

// Refuses an integer outside min ... max:
// "<caption>: 请输入一个介于 min 和 max 之间的整数。"
Status check_int_field(std::string_view caption, long long value, long long min, long long max);

// Refuses a real number outside min ... max, and any value that is not finite:
// "<caption>: 请输入一个介于 min 和 max 之间的数。"
Status check_real_field(std::string_view caption, double value, double min, double max);

// Refuses a real number that is not finite: "<caption>: 请输入一个数。"
Status check_finite_field(std::string_view caption, double value);

// The first refusal among a page's checks, or success.
Status first_failure(std::initializer_list<Status> checks);

// The integer clamped to lo ... hi and to the range of Field; never wraps.
template <std::integral Field>
Field clamp_to_field(long long value, long long lo = std::numeric_limits<Field>::min(),
                     long long hi = std::numeric_limits<Field>::max()) {
    lo = std::max<long long>(lo, std::numeric_limits<Field>::min());
    hi = std::min<long long>(hi, std::numeric_limits<Field>::max());
    return static_cast<Field>(std::clamp(value, lo, hi));
}

// The real number as a float field: clamped to lo ... hi (and to the float
// range); a value that is not a number is stored as lo clamped to 0.
float clamp_to_float(double value, double lo = -std::numeric_limits<float>::max(),
                     double hi = std::numeric_limits<float>::max());

// The real number clamped to lo ... hi; not a number becomes lo clamped to 0.
double clamp_real(double value, double lo, double hi);

// UTF-8 text cut to at most max_chars characters (code points), as an edit
// box with that input limit would hold it.
std::string limit_characters(std::string_view utf8, std::size_t max_chars);

}  // namespace kvd
