#pragma once
// The texts of the group table (工具 › 多桩统计): one row per file with its
// value and where it came from, then the statistics line by line, and the
// whole as tab-separated text for the clipboard. The window only shows
// these; a file that is not counted keeps its row with the reason.

#include <array>
#include <string>
#include <vector>

#include "analysis/group_member.h"

namespace kvd {

inline constexpr int kGroupTableColumns = 6;
// "序号", "试验编号", "文件", "值", "取值依据", "计入统计".
extern const std::array<const char*, kGroupTableColumns> kGroupTableHeader;

struct GroupTableLine {
    std::string label;  // "平均值"
    std::string text;   // "2800 kN"
};

struct GroupTable {
    std::vector<std::array<std::string, kGroupTableColumns>> rows;
    std::vector<GroupTableLine> summary;  // 数量 ... 特征值, then the notices
};

// file_names[i]: how files[i] is named in the table (its file name).
GroupTable make_group_table(const std::vector<GroupFile>& files,
                            const std::vector<std::string>& file_names, const GroupAnalysis& group);

// The header, the rows, a blank line and the summary, tab-separated, one line
// each ("\n"); tabs and line breaks inside a text become blanks.
std::string group_table_text(const GroupTable& table);

}  // namespace kvd
