// The printed raw record table: page geometry, the test information block of
// page 1, the column-title band and the body with the merged load column.
//
// Printed columns, all of one width: the five leading screen columns (load,
// measured load, oil pressure, time, interval), one per printed channel under
// "实  测  读  数 (mm)", then this grade's settlement, the average and the
// remark.

#include <algorithm>
#include <array>

#include "base/format.h"
#include "base/local_time.h"
#include "base/text_codec.h"
#include "tables/printed_channels.h"
#include "tables/raw_reading_text.h"
#include "tables/source_table.h"

namespace kvd {
namespace {

constexpr int kLeadingColumns = 5;
constexpr int kTrailingColumns = 3;  // this grade, average, remark

// Each row of the information block split into cells, in twelfths of the
// printable width: the inner boundaries get vertical lines. The third cell of
// row 5 runs to the edge (its fourth quarter is left empty so that a long
// equation has room).
const std::array<std::vector<int>, CSourceTable::kInfoBlockRows> kInfoCells = {{
    {0, 8, 12},
    {0, 4, 8, 12},
    {0, 8, 12},
    {0, 8, 12},
    {0, 3, 6, 12},
    {0, 6, 12},
    {0, 12},
    {0, 6, 12},
    {0, 12},
    {0, 12},
}};

// "%d    " for each interval; from entry `shorten_from` (0-based) to the
// eleventh, an interval followed by an equal one ends the list with "...  分".
std::string interval_list(const IntervalTable& intervals, int shorten_from) {
    std::string text;
    for (int i = 0; i < kIntervalCount; ++i) {
        text += strprintf("%d    ", intervals[static_cast<std::size_t>(i)]);
        if (i >= shorten_from && i + 1 < kIntervalCount &&
            intervals[static_cast<std::size_t>(i + 1)] == intervals[static_cast<std::size_t>(i)]) {
            text += "...  分";
            break;
        }
    }
    return text;
}

std::string channel_list(const InstrumentParams& instrument, ChannelRole role) {
    std::string text;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (instrument.channel_role[static_cast<std::size_t>(ch)] == role) {
            text += strprintf("s%d   ", ch + 1);
        }
    }
    return text.empty() ? "无" : text;
}

std::string pressure_method_text(const TestHeader& header, const InstrumentParams& instrument) {
    switch (header.pressure_method) {
        case 0:
            return strprintf("  千斤顶内径：%d mm", instrument.cylinder_bore);
        case 1:
            return strprintf("  率定表编号：%s", instrument.jack_numbers.c_str());
        case 2:
            return strprintf("  率定方程：F(KN) = %.6f*P(Mpa)%+.6f",
                             static_cast<double>(header.equation_k),
                             static_cast<double>(header.equation_b));
        case 3:
            return strprintf("  回归方程：P(Mpa) = %.6f*F(KN)%+.6f",
                             static_cast<double>(header.equation_k),
                             static_cast<double>(header.equation_b));
        default:
            return {};
    }
}

}  // namespace

std::array<std::vector<std::string>, CSourceTable::kInfoBlockRows> CSourceTable::test_info_texts()
    const {
    const TestRecord& record = doc().record();
    const TestParams& p = record.test_params;
    const InstrumentParams& instrument = record.instrument_params;
    const TestHeader& header = record.header;
    const bool foundation = p.test_object == 1;

    std::array<std::vector<std::string>, kInfoBlockRows> rows;
    rows[0] = {strprintf("  工程名称：%s", p.site_name.c_str()),
               strprintf(foundation ? "  试验点号：%s" : "  试验桩号：%s", p.pile_number.c_str())};
    rows[1] = {"  测试时间：" + format_local_time(p.test_time, "%Y-%m-%d  %H:%M")};
    if (foundation) {
        rows[1].push_back(strprintf("  压板面积：%4.2f ㎡", p.plate_area));
        rows[1].push_back(strprintf("  置换率：%5.3f", p.replacement_ratio));
    } else {
        rows[1].push_back(strprintf("  桩长：%5.1f m", p.pile_length));
        rows[1].push_back(strprintf("  桩径：%d mm", p.pile_diameter));
    }
    rows[2] = {strprintf("  GPS坐标信息：经度=%.6f, 纬度=%.6f", header.longitude, header.latitude),
               strprintf("  测试仪器编号：%s", instrument.instrument_number.c_str())};
    rows[3] = {strprintf("  试验方法：%s", read_gbk_field(header.test_method).c_str()),
               strprintf(p.in_kpa() ? "  最大预估载荷：%d kPa" : "  最大预估载荷：%d kN",
                         instrument.max_load)};
    rows[4] = {strprintf("  千斤顶编号：%s", instrument.jack_numbers.c_str()),
               strprintf("  千斤顶数量：%d", instrument.jack_count),
               pressure_method_text(header, instrument)};
    rows[5] = {"  位移测试通道：" + channel_list(instrument, ChannelRole::kTestPile),
               "  锚桩位移监测通道：" + channel_list(instrument, ChannelRole::kAnchorPile)};
    std::string sensors = "  位移传感器编号：";
    for (int ch : channels_in_use(instrument)) {
        sensors +=
            strprintf("%s    ", instrument.sensor_numbers[static_cast<std::size_t>(ch)].c_str());
    }
    rows[6] = {sensors};
    rows[7] = {strprintf("  压力传感器类型：%s", instrument.pressure_route == 1 ? "油压" : "力"),
               strprintf("  压力传感器编号：%s",
                         read_gbk_field(instrument.pressure_sensor_number).c_str())};
    rows[8] = {"  加载读数间隔：" + interval_list(instrument.load_intervals, 7)};
    rows[9] = {"  卸载读数间隔：" + interval_list(instrument.unload_intervals, 5)};
    return rows;
}

std::optional<int> CSourceTable::page_count_without_fill(PageSetup& setup) const {
    // One body row per raw reading under the three-line header, as fill() makes it.
    const int readings = doc().record().raw_count();
    return count_pages_of_shape(setup, readings, three_line_row_height(),
                                readings > 0 ? default_row_height() : 0);
}

int CSourceTable::rows_per_page(const PageSetup& s, int band_height) const {
    if (s.row_height <= 0) return 0;
    // Title, band and the sign-off row; the two-row page header of the other
    // tables is not printed (page 1 has the information block instead).
    return (s.paper_height - band_height - s.title_spacing - s.title_height - s.top_margin -
            s.bottom_margin - s.row_height) /
           s.row_height;
}

int CSourceTable::first_row_of_page(int page, int rows_per_page) const {
    if (page <= 1) return 0;
    return (rows_per_page - kFirstPageRowsFewer) + (page - 2) * rows_per_page;
}

int CSourceTable::page_count_for(int printable, int rows_per_page) const {
    if (rows_per_page < kMinRowsPerPage || printable <= 0) return 0;
    const int first_page = rows_per_page - kFirstPageRowsFewer;
    if (printable <= first_page) return 1;
    return 1 + (printable - first_page + rows_per_page - 1) / rows_per_page;
}

void CSourceTable::compute_printed_channels() {
    printed_channels_ = raw_printed_channel_list(doc().record().test_params);
}

int CSourceTable::paper_columns() const {
    return kLeadingColumns + static_cast<int>(printed_channels_.size()) + kTrailingColumns;
}

int CSourceTable::paper_x(int i, int width) const {
    const int columns = paper_columns();
    return static_cast<int>(static_cast<long long>(i) * width / columns);
}

void CSourceTable::print_page_header(PrintPage& page) {
    // The pipeline moves down two rows after this step for the page header
    // of the other tables; this table has none, and page 1 has the ten-row
    // information block in its place. The rows per page count on that.
    if (page.page == 1) {
        print_test_info(page);
        page.y -= (kInfoBlockRows - 2) * page.row_height;
    } else {
        page.y += 2 * page.row_height;
    }
}

void CSourceTable::print_test_info(PrintPage& page) {
    Canvas& c = page.canvas;
    const int h = page.row_height;
    const auto texts = test_info_texts();
    c.set_brush(Brush{});
    c.rectangle(Rect::below(0, page.y, page.width, kInfoBlockRows * h));
    for (int r = 0; r < kInfoBlockRows; ++r) {
        const int top = page.y - r * h;
        if (r + 1 < kInfoBlockRows) c.line({0, top - h}, {page.width, top - h});
        const std::vector<int>& cells = kInfoCells[static_cast<std::size_t>(r)];
        const auto& row = texts[static_cast<std::size_t>(r)];
        for (std::size_t k = 0; k + 1 < cells.size(); ++k) {
            const int left = cells[k] * page.width / 12;
            const int right = cells[k + 1] * page.width / 12;
            if (k > 0) c.line({left, top}, {left, top - h});
            if (k < row.size()) draw_left(c, Rect{left, top, right, top - h}, row[k]);
        }
    }
}

void CSourceTable::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestParams& params = doc().record().test_params;
    const Rect band = Rect::below(0, page.y, page.width, page.band_height);
    const int middle = band.top - page.band_height / 2;
    const int m = static_cast<int>(printed_channels_.size());
    const int columns = paper_columns();
    auto x = [&](int i) { return paper_x(i, page.width); };
    auto caption = [&](int left, int right, int top, int bottom, const std::string& text) {
        c.draw_text(Rect{x(left), top, x(right), bottom}, text, kTextCentre | kTextVCentre);
    };
    c.set_brush(Brush{});
    c.rectangle(band);
    for (int i = 1; i < columns; ++i) {
        const bool inside_channels = i > kLeadingColumns && i < kLeadingColumns + m;
        c.line({x(i), inside_channels ? middle : band.top}, {x(i), band.bottom});
    }
    c.line({x(kLeadingColumns), middle}, {x(kLeadingColumns + m), middle});

    // The leading columns keep their screen titles; the grid's row 0 holds them.
    for (int i = 0; i < kLeadingColumns; ++i)
        caption(i, i + 1, band.top, band.bottom, cell_text(0, i));
    caption(kLeadingColumns, kLeadingColumns + m, band.top, middle, "实  测  读  数 (mm)");
    for (int k = 0; k < m; ++k) {
        caption(kLeadingColumns + k, kLeadingColumns + k + 1, middle, band.bottom,
                strprintf("表 %d", printed_channels_[static_cast<std::size_t>(k)] + 1));
    }
    const int after = kLeadingColumns + m;
    caption(after, after + 1, band.top, band.bottom,
            params.is_uplift() ? "本级\n上拔\n(mm)" : "本级\n沉降\n(mm)");
    caption(after + 1, after + 2, band.top, band.bottom,
            params.is_uplift() ? "平均\n上拔\n(mm)" : "平均\n沉降\n(mm)");
    caption(after + 2, after + 3, band.top, band.bottom, "\n备注\n");
}

void CSourceTable::print_body(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestRecord& record = doc().record();
    const std::vector<RawReading>& readings = record.raw_readings;
    const InstrumentParams& instrument = record.instrument_params;
    const int h = page.row_height;
    const int columns = paper_columns();
    const int screen_channels = column_count() - kLeadingColumns - 2;
    auto x = [&](int i) { return paper_x(i, page.width); };
    auto reading_at = [&](int i) -> const RawReading& {
        return readings[static_cast<std::size_t>(page.first_row + i)];
    };
    const int rows = std::min(page.rows, static_cast<int>(readings.size()) - page.first_row);

    c.line({0, page.y}, {0, page.y - rows * h});
    int run_first = 0;  // page row where the current load run began
    for (int i = 0; i < rows; ++i) {
        const RawReading& reading = reading_at(i);
        const int reading_index = page.first_row + i;
        const int row = reading_index + 1;
        const int top = page.y - i * h;

        // The load: one cell over consecutive readings of one grade and load.
        const bool run_ends = i + 1 == rows || reading_at(i + 1).grade != reading.grade ||
                              reading_at(i + 1).grade_load != reading.grade_load;
        if (run_ends) {
            const int run_top = page.y - run_first * h;
            draw_centred(c, Rect{0, run_top, x(1), top - h},
                         RawTextFormatter::integer(reading.grade_load));
            c.line({0, top - h}, {x(1), top - h});
            run_first = i + 1;
        }

        std::vector<std::string> texts;
        texts.reserve(static_cast<std::size_t>(columns));
        for (int col = 1; col < kLeadingColumns; ++col) texts.push_back(cell_text(row, col));
        for (int ch : printed_channels_) {
            const bool shown =
                instrument.channel_role[static_cast<std::size_t>(ch)] == ChannelRole::kTestPile;
            texts.push_back(shown ? RawTextFormatter::fixed62(reading.channel[ch]) : "--");
        }
        texts.push_back(RawTextFormatter::fixed2(this_grade_settlement(reading_index)));
        texts.push_back(cell_text(row, kLeadingColumns + screen_channels));
        texts.push_back(cell_text(row, kLeadingColumns + screen_channels + 1));

        for (int col = 1; col < columns; ++col) {
            const Rect box{x(col), top, x(col + 1), top - h};
            draw_centred(c, box, texts[static_cast<std::size_t>(col - 1)]);
            c.line({box.left, top - h}, {box.right, top - h});
        }
        for (int col = 1; col <= columns; ++col) c.line({x(col), top}, {x(col), top - h});
    }
}

}  // namespace kvd
