#pragma once
// Calibration tables of the field tester: displacement-sensor tables (.wld,
// displacement in mm against frequency in Hz) and jack tables (.qld, load in kN
// against oil pressure in MPa). The calibration table tool creates, shows and
// edits them; the analysis never applies them.
//
// File layout (GBK text, every line ended by a single LF, no CR). Both table
// types carry the displacement captions:
//
//   位移计率定表
//   编号：,<number>
//   率定日期：,<date>
//   率定最大量程（mm）：,<maximum range>
//   率定间隔（mm）：,<interval>
//   位移（mm）,频率（Hz）
//   <value>,<reading>        one line per row, the last one ended by LF too

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"

namespace kvd {

enum class CalibrationType : int {
    kDisplacement = 0,  // 位移率定表, ".wld"
    kJack = 1,          // 千斤顶率定表, ".qld"
};

// One row of the list; its row number (序号) is its position + 1.
struct CalibrationRow {
    std::string value;    // column 1: mm or kN, normally "%.2f"
    std::string reading;  // column 2: Hz or MPa, as the user typed it

    bool operator==(const CalibrationRow&) const = default;
};

// A calibration table as the tool edits it. All texts are UTF-8.
struct CalibrationTable {
    CalibrationType type = CalibrationType::kDisplacement;
    std::string number;     // 编号; also the file name of a new table
    std::string date;       // 率定日期, free text
    std::string max_range;  // 最大量程, mm or kN
    std::string interval;   // 率定间隔, mm or kN
    std::vector<CalibrationRow> rows;

    bool operator==(const CalibrationTable&) const = default;
};

// ".wld" or ".qld".
const char* calibration_extension(CalibrationType type);
// kJack for a ".qld" path (any letter case), kDisplacement otherwise.
CalibrationType calibration_type_of(const std::filesystem::path& path);

// Reads a table file's bytes. Never fails: a line that is missing gives an
// empty text, a row line without a comma gives an empty value and the whole
// line as reading, a CR before an LF is dropped, a parameter line without a
// comma gives its whole text. When the number is quoted (a spreadsheet saved
// the file), the quotes around each of the four parameter texts are removed.
CalibrationTable parse_calibration_table(ByteView bytes, CalibrationType type);

// Whether the bytes are a calibration table file: text without NUL bytes
// whose first line is the title (both types carry it; a spreadsheet's quotes
// or empty cells around it and a CR before the LF allowed).
bool is_calibration_table(ByteView bytes);
inline constexpr char kMessageNotCalibrationTable[] = "文件 %s 不是率定表文件，无法打开 ！";

// The file image, byte-exact as laid out above. A line break inside a text
// would split its line and shift every later one, so CR and LF in texts are
// written as spaces.
Bytes serialize_calibration_table(const CalibrationTable& table);

// Whole files. Loading takes the type from the extension and refuses files
// larger than kMaxCalibrationFileBytes; saving replaces the file atomically, so
// a failed save leaves the previous file as it was. Messages are the user's.
Status load_calibration_table(const std::filesystem::path& path, CalibrationTable& table);
Status save_calibration_table(const std::filesystem::path& path, const CalibrationTable& table);

// The rows of a new table (button "新建表项"): "0.00", then c × interval for
// c = 1 … integer part of (maximum range / interval), readings empty. Refuses
// empty parameters, texts that are not numbers, an interval that is not
// positive, a negative range and more than kMaxCalibrationSteps steps; rows is
// replaced only on success.
Status make_calibration_rows(const CalibrationTable& table, std::vector<CalibrationRow>& rows);

// A value after the user edited it: "%.2f" of the number. Blank text gives "";
// text that is not a finite number as a whole ("abc", "12abc", "inf") gives
// nullopt: the caller keeps the previous value and shows
// kMessageValueNotNumber.
std::optional<std::string> reformat_calibration_value(std::string_view text);

// Whether number can name the table's file, here and on the field tester:
// not empty, not "." or "..", no \ / : * ? " < > |, no control characters,
// only characters that GBK holds, at most kMaxCalibrationNumberBytes bytes.
Status check_calibration_number(std::string_view number);

// The path of a new table: folder / (number + extension), after
// check_calibration_number.
Status calibration_file_path(const std::filesystem::path& folder, const CalibrationTable& table,
                             std::filesystem::path& out);

inline constexpr int kMaxCalibrationSteps = 10000;
inline constexpr std::size_t kMaxCalibrationFileBytes = 1 << 20;
// The name plus its extension and the save's temporary-file affixes stays well
// inside the 255 bytes a file name may have.
inline constexpr std::size_t kMaxCalibrationNumberBytes = 200;

inline constexpr char kMessageEmptyCalibrationParams[] = "请输入率定表参数中各项参数不能为空！";
inline constexpr char kMessageValueNotNumber[] = "请输入数字！";

// Questions the tool's dialog asks (Yes/No).
inline constexpr char kQuestionSwitchToJack[] =
    "选择千斤顶率定表后，现有表中数据将会清空！是否确认修改？";
inline constexpr char kQuestionSwitchToDisplacement[] =
    "选择位移率定表后，现有表中数据将会清空！是否确认修改？";
inline constexpr char kQuestionDiscardForNew[] =
    "是否放弃当前正在修改的数据？选择“是”新建文件，选择“否”返回继续编辑。";
inline constexpr char kQuestionDiscardForOpen[] =
    "是否放弃当前正在修改的数据？选择“是”打开文件，选择“否”返回继续编辑。";
inline constexpr char kQuestionReplaceRows[] =
    "新建参数表将会清除当前表中数据！选择“是”新建参数表，选择“否”取消";
inline constexpr char kQuestionSaveUnmodified[] = "当前数据没有被修改过，是否要保存？";
inline constexpr char kQuestionSave[] = "是否保存当前率定表？";

}  // namespace kvd
