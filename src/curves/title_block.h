#pragma once
// The title block of a printed curve page: the frame of the printable area
// (paper inset by the margins, pen width 3) and, at its top, two rows that
// name the test, or four with the simple summary table:
//
//   +---------------------------------------------+--------------------+
//   |  工程名称： site                              |  试验桩号： pile     |
//   +---------------+---------------+-------------+--------------------+
//   |  测试日期： ...  |  桩长： ...     |  桩径： ...                          |
//   +-----------+----+----+----+----+----+----+----+----+----+----+----+
//   | 荷载(kN)  |  0 | 300| 450| ... one column per loading grade       |
//   | 沉降(mm)  |0.00|1.23| ...                                         |
//   +-----------+----+----+----+----+----+----+----+----+----+----+----+
//
// Page coordinates: 0.1 mm, origin at the paper's top-left corner, y up.

#include <string>
#include <vector>

#include "doc/page_setup.h"
#include "draw/canvas.h"
#include "record/test_record.h"

namespace kvd {

// The texts of rows 1 and 2, left to right: row 1 has two cells, row 2 three.
struct TitleBlockTexts {
    std::vector<std::string> row1;
    std::vector<std::string> row2;
};

TitleBlockTexts title_block_texts(const TestParams& params);

// Draws the frame and the rows on a page.
void draw_title_block(Canvas& canvas, const TestRecord& record, const PageSetup& setup,
                      const PrintContent& content);

}  // namespace kvd
