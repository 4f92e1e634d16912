#include "record/calibration.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "base/file_io.h"
#include "base/format.h"
#include "base/numeric.h"
#include "base/text_codec.h"

namespace kvd {
namespace {

constexpr char kTitle[] = "位移计率定表";
constexpr char kNumberCaption[] = "编号：,";
constexpr char kDateCaption[] = "率定日期：,";
constexpr char kRangeCaption[] = "率定最大量程（mm）：,";
constexpr char kIntervalCaption[] = "率定间隔（mm）：,";
constexpr char kColumnsLine[] = "位移（mm）,频率（Hz）";

constexpr char kMessageRangeNotNumber[] = "率定最大量程必须是数字！";
constexpr char kMessageIntervalNotNumber[] = "率定间隔必须是数字！";
constexpr char kMessageIntervalNotPositive[] = "率定间隔必须大于 0 ！";
constexpr char kMessageRangeNegative[] = "率定最大量程不能小于 0 ！";

// Cuts the next line off text. Splitting the GBK bytes directly is safe: LF,
// CR, comma and double quote are below 0x40 and so never the second byte of a
// two-byte GBK character.
bool next_line(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

std::string text_after_comma(std::string_view line) {
    const std::size_t comma = line.find(',');
    return gbk_to_utf8(comma == std::string_view::npos ? line : line.substr(comma + 1));
}

void strip_quotes(std::string& text) {
    if (!text.empty() && text.front() == '"') text.erase(0, 1);
    if (!text.empty() && text.back() == '"') text.pop_back();
}

void append_single_line(std::string& out, std::string_view text) {
    for (char c : text) out.push_back(c == '\n' || c == '\r' ? ' ' : c);
}

// A number typed by the user: the program's decimal reader, finite only.
std::optional<double> parse_number(std::string_view text) {
    double value = 0;
    if (!parse_decimal_number(text, value) || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "%.2f" in the C locale; a value that rounds to zero is "0.00", never "-0.00".
std::string format_value(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    if (text == "-0.00") text.erase(0, 1);
    return text;
}

bool is_control(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

const char* calibration_extension(CalibrationType type) {
    return type == CalibrationType::kJack ? ".qld" : ".wld";
}

CalibrationType calibration_type_of(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return extension == ".qld" ? CalibrationType::kJack : CalibrationType::kDisplacement;
}

CalibrationTable parse_calibration_table(ByteView bytes, CalibrationType type) {
    CalibrationTable table;
    table.type = type;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string_view line;

    if (!next_line(text, line)) return table;  // title
    std::string* const params[] = {&table.number, &table.date, &table.max_range, &table.interval};
    for (std::string* param : params) {
        if (!next_line(text, line)) break;
        *param = text_after_comma(line);
    }
    if (!table.number.empty() && table.number.front() == '"') {
        for (std::string* param : params) strip_quotes(*param);
    }

    if (!next_line(text, line)) return table;  // column captions
    while (next_line(text, line)) {
        CalibrationRow& row = table.rows.emplace_back();
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            row.reading = gbk_to_utf8(line);
        } else {
            row.value = gbk_to_utf8(line.substr(0, comma));
            row.reading = gbk_to_utf8(line.substr(comma + 1));
        }
    }
    return table;
}

bool is_calibration_table(ByteView bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.find('\0') != std::string_view::npos) return false;
    std::string_view line;
    if (!next_line(text, line)) return false;
    // A spreadsheet may have quoted the title or added empty cells after it.
    while (!line.empty() && (line.back() == ',' || line.back() == '"')) line.remove_suffix(1);
    if (!line.empty() && line.front() == '"') line.remove_prefix(1);
    return gbk_to_utf8(line) == kTitle;
}

Bytes serialize_calibration_table(const CalibrationTable& table) {
    std::string text = kTitle;
    const std::pair<const char*, const std::string*> params[] = {
        {kNumberCaption, &table.number},
        {kDateCaption, &table.date},
        {kRangeCaption, &table.max_range},
        {kIntervalCaption, &table.interval},
    };
    for (const auto& [caption, value] : params) {
        text += '\n';
        text += caption;
        append_single_line(text, *value);
    }
    text += '\n';
    text += kColumnsLine;
    text += '\n';
    for (const CalibrationRow& row : table.rows) {
        append_single_line(text, row.value);
        text += ',';
        append_single_line(text, row.reading);
        text += '\n';
    }
    const std::string gbk = utf8_to_gbk(text);
    return Bytes(gbk.begin(), gbk.end());
}

Status load_calibration_table(const std::filesystem::path& path, CalibrationTable& table) {
    constexpr char kTooLarge[] = "文件 %s 太大，不是率定表文件，无法打开 ！";
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxCalibrationFileBytes) {
        return Status::failure(strprintf(kTooLarge, path.c_str()));
    }
    Bytes bytes;
    Status status = read_whole_file(path, bytes);
    if (!status.ok()) return status;
    if (bytes.size() > kMaxCalibrationFileBytes) {
        return Status::failure(strprintf(kTooLarge, path.c_str()));
    }
    table = parse_calibration_table(bytes, calibration_type_of(path));
    return Status::success();
}

Status save_calibration_table(const std::filesystem::path& path, const CalibrationTable& table) {
    return replace_file_atomically(path, serialize_calibration_table(table));
}

Status make_calibration_rows(const CalibrationTable& table, std::vector<CalibrationRow>& rows) {
    if (table.number.empty() || table.date.empty() || table.max_range.empty() ||
        table.interval.empty()) {
        return Status::failure(kMessageEmptyCalibrationParams);
    }
    const std::optional<double> range = parse_number(table.max_range);
    if (!range) return Status::failure(kMessageRangeNotNumber);
    const std::optional<double> interval = parse_number(table.interval);
    if (!interval) return Status::failure(kMessageIntervalNotNumber);
    if (*interval <= 0) return Status::failure(kMessageIntervalNotPositive);
    if (*range < 0) return Status::failure(kMessageRangeNegative);

    // Decimal texts are not exact in binary: 0.6 / 0.2 is 2.9999999999999996,
    // whose integer part would lose the row at the full range. A relative
    // tolerance far below any typed precision keeps that row.
    const double steps = std::floor(*range / *interval * (1 + 1e-9));
    if (!(steps <= kMaxCalibrationSteps)) {
        return Status::failure(strprintf(
            "率定表项数过多：最大量程除以率定间隔不能超过 %d，请增大率定间隔或减小最大量程！",
            kMaxCalibrationSteps));
    }
    const int n = static_cast<int>(steps);
    std::vector<CalibrationRow> made;
    made.reserve(static_cast<std::size_t>(n) + 1);
    made.push_back({"0.00", ""});
    for (int c = 1; c <= n; ++c) made.push_back({format_value(c * *interval), ""});
    rows = std::move(made);
    return Status::success();
}

std::optional<std::string> reformat_calibration_value(std::string_view text) {
    if (text.find_first_not_of(" \t") == std::string_view::npos) return std::string();
    const std::optional<double> value = parse_number(text);
    if (!value) return std::nullopt;
    return format_value(*value);
}

Status check_calibration_number(std::string_view number) {
    if (number.empty()) return Status::failure("编号不能为空！");
    if (number == "." || number == "..") {
        return Status::failure("编号不能是“.”或“..”，请换一个编号！");
    }
    for (std::size_t i = 0; i < number.size(); ++i) {
        const auto c = static_cast<unsigned char>(number[i]);
        // C1 control characters are U+0080 ... U+009F: C2 80 ... C2 9F in UTF-8.
        const bool c1_control =
            c == 0xC2 && i + 1 < number.size() && static_cast<unsigned char>(number[i + 1]) <= 0x9F;
        if (is_control(c) || c1_control ||
            std::string_view("\\/:*?\"<>|").find(number[i]) != std::string_view::npos) {
            return Status::failure(
                "编号要用作文件名，不能含有 \\ / : * ? \" < > | 和控制字符，请修改编号！");
        }
    }
    if (number.size() > kMaxCalibrationNumberBytes) {
        return Status::failure("编号太长，无法用作文件名，请缩短编号！");
    }
    // The field tester names files in GBK; a character GBK lacks comes back as "?".
    const std::string gbk = utf8_to_gbk(number);
    if (gbk.find('?') != std::string::npos || gbk_to_utf8(gbk) != number) {
        return Status::failure("编号中含有无法用作文件名的字符，请修改编号！");
    }
    return Status::success();
}

Status calibration_file_path(const std::filesystem::path& folder, const CalibrationTable& table,
                             std::filesystem::path& out) {
    Status status = check_calibration_number(table.number);
    if (!status.ok()) return status;
    out = folder / (table.number + calibration_extension(table.type));
    return Status::success();
}

}  // namespace kvd
