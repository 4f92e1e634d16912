// Fuzzes the calibration table parser and the row helpers on what it reads.
// A table that the file layout can hold exactly (no line break in a text, a
// number that does not start with a quote) must come back unchanged from
// serialise -> parse and serialise to the same bytes again; any table keeps
// its row count.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "record/calibration.h"

namespace {

using namespace kvd;

bool single_line(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

bool representable(const CalibrationTable& table) {
    if (!table.number.empty() && table.number.front() == '"') return false;
    for (const std::string* text :
         {&table.number, &table.date, &table.max_range, &table.interval}) {
        if (!single_line(*text)) return false;
    }
    for (const CalibrationRow& row : table.rows) {
        if (!single_line(row.value) || !single_line(row.reading)) return false;
    }
    return true;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "calibration round trip: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CalibrationTable table =
        parse_calibration_table(ByteView(data, size), CalibrationType::kJack);
    const Bytes written = serialize_calibration_table(table);
    const CalibrationTable again = parse_calibration_table(written, CalibrationType::kJack);
    if (again.rows.size() != table.rows.size()) fail("row count changed");
    if (representable(table)) {
        if (again != table) fail("table changed");
        if (serialize_calibration_table(again) != written) fail("bytes changed");
    }

    (void)check_calibration_number(table.number);
    std::vector<CalibrationRow> rows;
    if (make_calibration_rows(table, rows).ok() &&
        (rows.empty() || rows.size() > static_cast<std::size_t>(kMaxCalibrationSteps) + 1)) {
        fail("row generation out of bounds");
    }
    for (const CalibrationRow& row : table.rows) (void)reformat_calibration_value(row.value);
    return 0;
}
