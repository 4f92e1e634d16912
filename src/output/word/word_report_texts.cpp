#include "output/word/word_report_texts.h"

#include "base/format.h"
#include "base/local_time.h"
#include "base/text_codec.h"
#include "record/grade_compute.h"
#include "tables/source_table.h"

namespace kvd {
namespace {

bool is_test_point(const TestParams& p) { return p.test_object == 1; }

// A value of 0.01 or less shows the label alone.
std::string sized(const char* label, const char* format, double value) {
    return value > 0.01 ? strprintf(format, value) : label;
}

std::string diameter_text(const TestParams& p, const char* label, const char* square,
                          const char* round) {
    if (p.pile_diameter < 1) return label;
    if (p.section_shape == 1) return strprintf(square, p.pile_diameter, p.pile_diameter);
    return strprintf(round, p.pile_diameter);
}

// The information block's texts keep their indent only where the report
// lists them with one (the GPS line and the pressure-to-load line).
std::string without_indent(const std::string& text) {
    return text.rfind("  ", 0) == 0 ? text.substr(2) : text;
}

}  // namespace

std::string pad_gbk(const std::string& text, std::size_t width) {
    const std::size_t bytes = utf8_to_gbk(text).size();
    return bytes >= width ? text : text + std::string(width - bytes, ' ');
}

std::array<std::string, 2> title_lines(const TestParams& p) {
    std::array<std::string, 2> lines;
    lines[0] = "工地名称：" + pad_gbk(p.site_name, 43) +
               (is_test_point(p) ? "试验点号：" : "试验桩号：") + pad_gbk(p.pile_number, 17);
    lines[1] = "测试日期：" + pad_gbk(format_local_time(p.test_time, "%Y-%m-%d"), 16);
    if (is_test_point(p)) {
        lines[1] += pad_gbk(sized("压板面积：", "压板面积：%4.2f ㎡", p.plate_area), 28);
        lines[1] += pad_gbk(sized("置换率：", "置换率：%5.3f", p.replacement_ratio), 27);
    } else {
        lines[1] += pad_gbk(sized("桩长：", "桩长：%5.1f m", p.pile_length), 28);
        lines[1] += pad_gbk(diameter_text(p, "桩径：", "桩径：%d×%d mm", "桩径：Φ%d mm"), 27);
    }
    return lines;
}

std::string statistics_line(const CTestData& grades, bool uplift) {
    const TestTotals totals = compute_totals(grades);
    std::string maximum =
        strprintf(uplift ? "最大上拔量: %6.2f mm" : "最大沉降量: %6.2f mm", totals.max_settlement);
    std::string rebound = "最大回弹量:";
    std::string ratio = "回弹率:";
    if (totals.unloading_grades > 0) {
        rebound = strprintf("最大回弹量: %6.2f mm", totals.rebound);
        ratio = strprintf("回弹率: %5.2f%%", totals.rebound_ratio);
    }
    return pad_gbk(maximum, 31) + pad_gbk(rebound, 30) + pad_gbk(ratio, 20);
}

std::vector<std::vector<std::string>> parameter_rows(const CSourceTable& raw) {
    const auto block = raw.test_info_texts();
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < block.size(); ++r) {
        std::vector<std::string> cells;
        for (std::size_t c = 0; c < block[r].size(); ++c) {
            const bool keeps_indent = (r == 2 && c == 0) || (r == 4 && c == 2);
            cells.push_back(keeps_indent ? block[r][c] : without_indent(block[r][c]));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::array<std::string, 4> curve_heading_texts(const TestParams& p) {
    std::array<std::string, 4> texts;
    texts[0] = strprintf("工程名称： %s", p.site_name.c_str());
    texts[1] = strprintf(is_test_point(p) ? "试验点号： %s" : "试验桩号： %s", p.pile_number.c_str());
    texts[2] = "测试日期： " + format_local_time(p.test_time, "%Y-%m-%d");
    if (is_test_point(p)) {
        texts[3] = sized("压板面积：", "压板面积： %4.2f ㎡", p.plate_area) + "    " +
                   sized("置换率：", "置换率： %5.3f", p.replacement_ratio);
    } else {
        texts[3] = sized("桩长：", "桩长： %5.1f m", p.pile_length) + "    " +
                   diameter_text(p, "桩径：", "桩径： %d×%d mm", "桩径： Φ%d mm");
    }
    return texts;
}

}  // namespace kvd
