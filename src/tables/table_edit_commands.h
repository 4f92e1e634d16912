#pragma once
// The record edits of the detail tables' popup menu: change the sampling
// intervals, insert or delete a grade or a reading, add a fixed value to or
// multiply a reading and everything after it, and add unloading data. The
// table decides the target (grade g, reading r) and whether a command is
// offered (menu states 1-6); these functions ask the user through the
// document's UserInterface, change the record and end with the document's
// common step (CLbxDoc::commit_change: the derived values of the whole
// record, the modified flag, the views).
//
// Every function returns true when the record changed. A target that does not
// exist, a No to a confirmation or a cancelled dialog changes nothing (the
// modified flag and the views included).

#include <array>
#include <string_view>

#include "doc/lbx_doc.h"
#include "doc/record_edits.h"

namespace kvd {

// Command identifiers of the table popup (also routed from the main menu).
inline constexpr int kCommandChangeIntervals = 32796;
inline constexpr int kCommandInsertGrade = 32781;
inline constexpr int kCommandInsertReading = 32782;
inline constexpr int kCommandDeleteGrade = 32783;
inline constexpr int kCommandDeleteReading = 32784;
inline constexpr int kCommandAddValue = 32814;
inline constexpr int kCommandMultiply = 32793;
inline constexpr int kCommandAddUnloading = 32820;

// One item of the popup; id 0 is a separator.
struct TablePopupItem {
    int id = 0;
    std::string_view text;
};

// The popup, top to bottom. While a table grid is active the main menu bar
// carries the same items as "表格工具(&G)".
inline constexpr std::string_view kTableToolsMenuTitle = "表格工具(&G)";
inline constexpr std::array<TablePopupItem, 11> kTablePopupMenu = {{
    {kCommandChangeIntervals, "更改采样间隔(&C)"},
    {0, ""},
    {kCommandInsertGrade, "在此级之后插入一级(&G)"},
    {kCommandInsertReading, "在此数据之后插入一个读数(&T)"},
    {kCommandDeleteGrade, "删除本级(&D)"},
    {kCommandDeleteReading, "删除本次读数(&I)"},
    {0, ""},
    {kCommandAddValue, "此数和以后的所有数加上固定值(&P)"},
    {kCommandMultiply, "此数和以后的所有数乘上固定值(&R)"},
    {0, ""},
    {kCommandAddUnloading, "加入卸载数据(&U)"},
}};

// Menu states of a detail-table cell.
inline constexpr int kMenuStateNone = 1;          // no cell, or the time column
inline constexpr int kMenuStateGradeArea = 2;     // load row or below the last reading
inline constexpr int kMenuStateBaseGrade = 3;     // load table, first grade, not row 1
inline constexpr int kMenuStateBaseReading = 4;   // load table, first grade, row 1
inline constexpr int kMenuStateFirstReading = 5;  // row 1 of another grade
inline constexpr int kMenuStateReading = 6;       // rows 2 ... n

// Whether a popup command is offered in a menu state. Add unloading data
// follows can_add_unloading alone; unknown commands are never offered.
bool command_enabled(int command_id, int menu_state, bool can_add_unloading);

// The multiply dialog's title (the add dialog, the confirmations,
// kValueOutOfRange and kMaxDisplacement are in doc/record_edits.h).
inline constexpr char kMultiplyTitle[] = "乘上一个固定值";
// Largest sampling interval, minutes: what the header's uint16 fields hold.
inline constexpr int kMaxInterval = 65535;

// Refusal of an interval after the first set to 0 or less: two readings of a
// grade would fall on the same minute.
inline constexpr char kIntervalNotPositive[] = "采样间隔时间必须大于0!";

// The first entry after the first that `typed` sets to 0 or less while it
// held another value in `before`; -1 when there is none. An entry that was
// already 0 (a schedule without such readings) may stay so.
int first_unplanned_interval(const IntervalTable& before, const IntervalTable& typed);

namespace table_edit {

// Sets both interval tables in TestParams and in the header (which the file
// keeps), each entry clamped to 0 ... kMaxInterval so that what the tables
// show is what is saved.
void store_intervals(TestRecord& record, const IntervalTable& load, const IntervalTable& unload);

// 32796: the interval dialog; OK stores both tables (each entry clamped to
// 0 ... kMaxInterval, as the file keeps them) into TestParams and the header.
// An entry newly set to 0 or less is refused with kIntervalNotPositive and
// nothing changes.
bool change_sampling_intervals(CLbxDoc& doc);
// 32781: a grade of two copies of g's last reading right after g.
bool insert_grade_after(CLbxDoc& doc, int grade);
// Readings a grade may hold: the rows of a detail table. An insertion beyond
// them would make a reading no table can show.
inline constexpr int kMaxGradeReadings = 100;
// 32782: a copy of reading r inserted at position r; refused (false) when the
// grade already holds kMaxGradeReadings.
bool can_insert_reading(const CLbxDoc& doc, int grade);
bool insert_reading_after(CLbxDoc& doc, int grade, int reading);
// 32783: confirmation, then the grade is removed.
bool delete_grade(CLbxDoc& doc, int grade);
// 32784: confirmation, then the reading (or, for a grade of two readings or
// fewer, the whole grade) is removed.
bool delete_reading(CLbxDoc& doc, int grade, int reading);
// 32814: the value dialog, then + value on every averaged channel from
// reading r of grade g to the end of the test.
bool add_fixed_value(CLbxDoc& doc, int grade, int reading);
// 32793: the factor dialog, then × factor (to two decimals) over the same range.
bool multiply_by_factor(CLbxDoc& doc, int grade, int reading);
// 32820: the document's add unloading data, while no unloading grade exists.
bool add_unloading_data(CLbxDoc& doc);

}  // namespace table_edit

}  // namespace kvd
