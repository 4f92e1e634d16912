// CTestTable on paper: one body row per reading, m + 5 equal columns (load,
// elapsed and cumulative time, one per printed channel, the average's change
// within the grade and the average), and the load of a grade printed once in
// a cell spanning its rows on the page.

#include <algorithm>
#include <limits>

#include "base/format.h"
#include "base/numeric.h"
#include "tables/printed_channels.h"
#include "tables/test_table.h"

namespace kvd {
namespace {

constexpr int kFixedPrintColumns = 5;  // load, two times, two averages

bool is_averaged(const TestParams& params, int channel) {
    return params.averaged[static_cast<std::size_t>(channel)] == 1;
}

ChannelRole role_of(const TestParams& params, int channel) {
    return params.channel_role[static_cast<std::size_t>(channel)];
}

int clamp_to_int(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// The average the printed table shows: the mean of the printed channels that
// are averaged and on the test pile, to two decimals; 0 without one.
double printed_average(const SamplePoint& point, const std::vector<int>& channels,
                       const TestParams& params) {
    double sum = 0;
    int n = 0;
    for (int j : channels) {
        if (is_averaged(params, j) && role_of(params, j) == ChannelRole::kTestPile) {
            sum += point.channel[j];
            ++n;
        }
    }
    return n > 0 ? round2(sum / n) : 0.0;
}

}  // namespace

std::vector<PrintedReading> CTestTable::printed_readings() const {
    const CTestData& grades = doc().record().grades;
    const bool zero_minute_rows = doc().print_content().zero_minute_rows != 0;
    std::vector<PrintedReading> rows;
    for (int column = 1; column <= shown_grades(); ++column) {
        const int g = grade_of_column(column);
        // The first grade of the table prints all its readings; each later
        // grade's reading 0 repeats the previous grade's last.
        const int from = column == 1 || zero_minute_rows ? 0 : 1;
        for (int i = from; i < grades.reading_count(g); ++i) rows.push_back({g, i});
    }
    return rows;
}

int CTestTable::printable_rows() const {
    return static_cast<int>(printed_readings().size());
}

std::optional<int> CTestTable::page_count_without_fill(PageSetup& setup) const {
    // fill() makes the load row and the 100 reading rows, the first of them
    // the default height; without a grade, the load row alone.
    return count_pages_of_shape(setup, printable_rows(), three_line_row_height(),
                                shown_grades() > 0 ? default_row_height() : 0);
}

void CTestTable::compute_printed_channels() {
    printed_channels_ = printed_channel_list(doc().record().test_params);
}

int CTestTable::column_x(int column, int width) const {
    const int columns = static_cast<int>(printed_channels_.size()) + kFixedPrintColumns;
    return column * (width / columns);
}

void CTestTable::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestParams& params = doc().record().test_params;
    const int m = static_cast<int>(printed_channels_.size());
    auto x = [&](int column) { return column_x(column, page.width); };
    const int top = page.y;
    const int bottom = page.y - page.band_height;
    const int middle = top - page.band_height / 2;

    c.set_brush(Brush{});
    c.rectangle(Rect{0, top, x(m + kFixedPrintColumns), bottom});
    for (int column : {1, 3, m + 3}) c.line({x(column), top}, {x(column), bottom});
    for (int column = 2; column < m + kFixedPrintColumns; ++column) {
        if (column != 3 && column != m + 3) c.line({x(column), middle}, {x(column), bottom});
    }
    c.line({x(1), middle}, {x(m + kFixedPrintColumns), middle});

    draw_centred(c, Rect{0, top, x(1), middle}, "荷 载");
    draw_centred(c, Rect{0, middle, x(1), bottom}, params.in_kpa() ? "(kPa)" : "(kN)");
    draw_centred(c, Rect{x(1), top, x(3), middle}, "观测时间(分)");
    draw_centred(c, Rect{x(1), middle, x(2), bottom}, "本级");
    draw_centred(c, Rect{x(2), middle, x(3), bottom}, "累计");
    draw_centred(c, Rect{x(3), top, x(m + 3), middle}, "读    数  (mm)");
    for (int k = 0; k < m; ++k) {
        draw_centred(c, Rect{x(3 + k), middle, x(4 + k), bottom},
                     strprintf("表 %d", printed_channels_[static_cast<std::size_t>(k)] + 1));
    }
    draw_centred(c, Rect{x(m + 3), top, x(m + 5), middle},
                 params.is_uplift() ? "平均上拔(mm)" : "平均沉降(mm)");
    draw_centred(c, Rect{x(m + 3), middle, x(m + 4), bottom}, "本级");
    draw_centred(c, Rect{x(m + 4), middle, x(m + 5), bottom}, "累计");
}

void CTestTable::print_body(PrintPage& page) {
    const std::vector<PrintedReading> rows = printed_readings();
    const CTestData& grades = doc().record().grades;
    Canvas& c = page.canvas;
    const int h = page.row_height;
    const int load_right = column_x(1, page.width);
    const int count = std::min(page.rows, static_cast<int>(rows.size()) - page.first_row);
    auto row_at = [&](int i) { return rows[static_cast<std::size_t>(page.first_row + i)]; };

    for (int i = 0; i < count;) {
        const int grade = row_at(i).grade;
        int end = i + 1;
        while (end < count && row_at(end).grade == grade) ++end;
        // The load once, in a cell spanning the grade's rows on this page.
        const Rect load_cell{0, page.y - i * h, load_right, page.y - end * h};
        draw_centred(c, load_cell, strprintf("%d", grades.first_load(grade)));
        c.line({0, load_cell.top}, {0, load_cell.bottom});
        if (grid_lines() & kGridLinesHorizontal) {
            c.line({0, load_cell.bottom}, {load_right, load_cell.bottom});
        }
        if (grid_lines() & kGridLinesVertical) {
            c.line({load_right, load_cell.top}, {load_right, load_cell.bottom});
        }
        for (int k = i; k < end; ++k)
            print_reading_cells(page, grade, row_at(k).reading, page.y - k * h);
        i = end;
    }
}

std::optional<PrintedValues> CTestTable::printed_values(PrintedReading row,
                                                       const std::vector<int>& channels) const {
    const CTestData& grades = doc().record().grades;
    const std::optional<SamplePoint> found = grades.get_reading(row.grade, row.reading);
    const std::optional<SamplePoint> first = grades.get_reading(row.grade, 0);
    if (!found || !first) return std::nullopt;
    const SamplePoint& point = *found;
    const TestParams& params = doc().record().test_params;
    long long earlier = 0;  // holding times of the test's earlier grades
    for (int g = 0; g < row.grade; ++g) earlier += std::max(0, grades.last_minutes(g));

    PrintedValues values;
    values.minutes = point.minutes;
    values.cumulative_minutes = clamp_to_int(earlier + point.minutes);
    for (int j : channels) {
        values.channels.push_back(printed_channel_has_values(params, j)
                                      ? std::optional<double>(point.channel[j])
                                      : std::nullopt);
    }
    values.average = printed_average(point, channels, params);
    // The change within the grade; 0 for the grade's own reading 0.
    values.change =
        row.reading == 0 ? 0.0 : values.average - printed_average(*first, channels, params);
    return values;
}

void CTestTable::print_reading_cells(PrintPage& page, int grade, int reading, int top) {
    const std::optional<PrintedValues> values = printed_values({grade, reading}, printed_channels_);
    if (!values) return;
    const int m = static_cast<int>(printed_channels_.size());

    std::vector<std::string> texts;
    texts.push_back(strprintf("%d", values->minutes));
    texts.push_back(strprintf("%d", values->cumulative_minutes));
    for (const std::optional<double>& value : values->channels) {
        texts.push_back(value ? strprintf("%7.2f", *value) : "--");
    }
    texts.push_back(strprintf("%7.2f", values->change));
    texts.push_back(strprintf("%7.2f", values->average));

    Canvas& c = page.canvas;
    const int bottom = top - page.row_height;
    for (int column = 1; column < m + kFixedPrintColumns; ++column) {
        const int left = column_x(column, page.width);
        const int right = column_x(column + 1, page.width);
        draw_centred(c, Rect{left, top, right, bottom},
                     texts[static_cast<std::size_t>(column - 1)]);
        if (grid_lines() & kGridLinesHorizontal) c.line({left, bottom}, {right, bottom});
        if (grid_lines() & kGridLinesVertical) c.line({right, top}, {right, bottom});
    }
}

}  // namespace kvd
