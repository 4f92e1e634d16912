#pragma once
// The plain record edits that the detail tables and the curves share: add a
// value to, or multiply, every averaged channel from one reading to the end of
// the test, and delete a reading (or its grade). No dialogs here: the callers
// ask the user and then end with the document's common step (commit_change:
// the derived values, the modified flag, the views).

#include "doc/user_interface.h"
#include "record/test_record.h"

namespace kvd {

// Largest magnitude, in mm, of a displacement the edits write. Far beyond
// any gauge, it keeps every value finite and every load and time derived
// from typed text inside the int32 range.
inline constexpr double kMaxDisplacement = 1e9;

// Confirmations asked before a delete (caption "警告", Yes/No, warning icon).
inline constexpr char kConfirmDeleteGrade[] = "您真的决定删除这一级数据吗?";
inline constexpr char kConfirmDeleteReading[] = "您真的决定删除这个数据吗?";
inline constexpr char kConfirmDeleteLastReading[] =
    "这是本级唯一的记录数据，删除此数据将会删掉这一级数据，\n您真的要删除吗?";
// A value or factor whose results would leave +-kMaxDisplacement is refused
// with this message.
inline constexpr char kValueOutOfRange[] = "输入的数超出范围!";

// "加上一个固定值": the dialog of an added value, opening with the value that
// brings a reading of this settlement to zero. Cancel counts as 0.
inline constexpr char kAddValueTitle[] = "加上一个固定值";
NumberDialogRequest add_value_request(double settlement);

// Every channel whose averaged flag is 1 (whatever its role), from reading r
// of grade g through the last reading of the test: + value, or x factor taken
// to two decimals. False, and nothing changed, when the start does not exist
// or a result would not be finite or exceed kMaxDisplacement.
bool add_to_following(TestRecord& record, int grade, int reading, double value);
bool multiply_following(TestRecord& record, int grade, int reading, double factor);

// Deleting reading r of grade g removes the whole grade when the grade has 2
// readings or fewer. The question to ask first, and the removal itself
// (false when the reading does not exist).
const char* delete_reading_question(const CTestData& grades, int grade);
bool remove_reading_or_grade(CTestData& grades, int grade, int reading);

}  // namespace kvd
