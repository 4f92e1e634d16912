#pragma once
// The interpretation as the report shows it: the "承载力分析" section of one
// test and the "多桩统计表" of a group, built once as titled blocks of text
// and tables of text. The print job draws them on pages and the Word report
// writes them as paragraphs and tables; neither words anything itself, so
// paper and document say the same.

#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_result.h"
#include "analysis/group_statistics.h"
#include "analysis/group_table.h"
#include "record/engineer_choice.h"

namespace kvd {

struct ReportTable {
    std::vector<std::string> header;
    // Relative column widths, one per header column.
    std::vector<int> weights;
    std::vector<std::vector<std::string>> rows;
};

struct ReportBlock {
    enum class Kind { kHeading, kText, kTable };
    Kind kind = Kind::kText;
    std::string text;   // kHeading, kText
    ReportTable table;  // kTable
};

struct ReportContent {
    std::string title;
    std::vector<ReportBlock> blocks;
};

inline constexpr char kAnalysisSectionTitle[] = "承载力分析";
inline constexpr char kGroupTableTitle[] = "多桩统计表";
inline constexpr char kComparisonHeading[] = "对比方法（仅供参考）";
inline constexpr char kChoiceOutdated[] = "所选承载力基于修改前的数据，请重新确认。";
inline constexpr char kNotConfirmed[] = "以上建议值为程序按规范给出的建议，尚未经工程师确认。";
inline constexpr char kManualChoiceTitle[] = "手动取值";

// The section of one test; `choice` is the record's engineer's choice.
ReportContent analysis_report(const TestAnalysis& analysis,
                              const std::optional<EngineerChoice>& choice);

// The group table of the 多桩统计 window (analysis/group_table.h) as the
// report shows it: the same rows and the same statistics lines, under a line
// naming the tests' kind and standard.
ReportContent group_report(const GroupAnalysis& group, const GroupTable& table);

}  // namespace kvd
