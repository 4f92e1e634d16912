#pragma once
// The texts of the Word report that are not cell texts of a table on screen:
// the two lines under a section title, the summary's statistics line, the
// parameter table of the raw record section and the curve information table.
// Column padding counts GBK bytes (two per Chinese character), the width the
// report's fixed-pitch layout of these lines was measured in.

#include <array>
#include <string>
#include <vector>

#include "record/test_data.h"
#include "record/test_params.h"

namespace kvd {

class CSourceTable;

// text followed by blanks up to `width` GBK bytes (none when it is longer).
std::string pad_gbk(const std::string& text, std::size_t width);

// "工地名称：...试验桩号：..." and "测试日期：...桩长：...桩径：...".
std::array<std::string, 2> title_lines(const TestParams& params);

// "最大沉降量: %6.2f mm" (or 最大上拔量), "最大回弹量: ..." and "回弹率: ..."
// in columns of 31, 30 and 20; without unloading grades the last two have no
// numbers.
std::string statistics_line(const CTestData& grades, bool uplift);

// The parameter table of the raw record section: one list of cell texts per
// row of the ten rows.
std::vector<std::vector<std::string>> parameter_rows(const CSourceTable& raw);

// The curve information table: the project line, then the pile (or test
// point) number, the test date and the size line.
std::array<std::string, 4> curve_heading_texts(const TestParams& params);

}  // namespace kvd
