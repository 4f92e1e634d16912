#include "tables/change_table.h"

#include <algorithm>
#include <vector>

#include "base/format.h"
#include "tables/hour_minute_formatter.h"
#include "tables/printed_channels.h"
#include "tables/raw_reading_text.h"

namespace kvd {
namespace {

constexpr int kLeadingColumns = 5;  // label, load, measured load, pressure, time

const char* row_label(int k) {
    switch (k) {
        case 1:
            return "修改前的记录";
        case 2:
            return "修改时的记录";
        case 3:
            return "修改后的记录";
        default:
            return "";
    }
}

// Printed units before the channels: load 1, label 2, measured load, pressure, time.
constexpr int kLeadingUnits = 6;

}  // namespace

CChangeTable::CChangeTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CMyGrid(doc, metrics, colours) {
    set_editable(false);
}

void CChangeTable::fill() {
    const TestRecord& record = doc().record();
    const InstrumentParams& instrument = record.instrument_params;
    const TestParams& params = record.test_params;
    // Only whole triples are shown; a reader hands over nothing else.
    const int changes = record.mod_count() / kEntriesPerBlock;
    const std::vector<int> channels = channels_in_use(instrument);
    const int n = static_cast<int>(channels.size());
    const int columns = kLeadingColumns + n + 1;

    set_column_count(columns);
    set_row_count(changes > 0 ? changes * kRowsPerChange : 1);
    set_fixed_row_count(1);
    set_fixed_column_count(1);
    set_row_height(0, three_line_row_height());
    set_column_width(0, chars_width(15));
    for (int c = 1; c < columns - 1; ++c) set_column_width(c, chars_width(8));
    set_column_width(columns - 1, default_column_width());

    const char* unit = params.in_kpa() ? "(kPa)" : "(kN)";
    std::vector<std::string> titles = {"", std::string("本级\n荷载\n") + unit,
                                       std::string("实测\n荷载\n") + unit, "实测\n油压\n(MPa)",
                                       "记录\n时间\n时:分"};
    for (int ch : channels) titles.push_back(strprintf("位移\n通道\n%d(mm)", ch + 1));
    titles.push_back(params.is_uplift() ? "平均\n上拔\n(mm)" : "平均\n沉降\n(mm)");
    for (int c = 0; c < columns; ++c) {
        CellUpdate update;
        update.row = 0;
        update.column = c;
        update.mask = kCellTextMask | kCellFormatMask;
        update.format = kTitleFormat;
        update.text = titles[static_cast<std::size_t>(c)];
        set_cell(update);
    }

    HourMinuteFormatter clock;
    RawTextFormatter text(instrument);
    for (int row = 1; row < row_count(); ++row) {
        const int k = row % kRowsPerChange;
        set_cell_text(row, 0, row_label(k));
        for (int c = 1; c < columns; ++c) {
            set_cell_text_colour(row, c, c < kLeadingColumns ? kLoadingText : kUnloadingText);
            set_cell_background(row, c, k == 0 ? kEmptyCellColour : kLoadingBackground);
            set_cell_text(row, c, "");
        }
        if (k == 0) continue;

        const int entry = (row - 1) / kRowsPerChange * kEntriesPerBlock + (k - 1);
        const RawReading& reading = record.mod_blocks[static_cast<std::size_t>(entry)];
        if (k == 2) set_cell_text(row, 1, RawTextFormatter::integer(reading.grade_load));
        set_cell_text(row, 2, RawTextFormatter::integer(text.measured_load(reading)));
        set_cell_text(row, 3, text.pressure(reading));
        set_cell_text(row, 4, clock.format(reading.time));
        for (int j = 0; j < n; ++j) {
            set_cell_text(
                row, kLeadingColumns + j,
                RawTextFormatter::fixed62(reading.channel[channels[static_cast<std::size_t>(j)]]));
        }
        set_cell_text(row, columns - 1, RawTextFormatter::fixed62(text.average(reading)));
    }
}

int CChangeTable::round_rows_per_page(int rows, bool extra_row_fits) {
    if (rows <= 0) return rows;
    switch (rows % kRowsPerChange) {
        case 1:
            return rows - 1;
        case 2:
            return rows - 2;
        case 3:
            return extra_row_fits ? rows + 1 : rows - 3;
        default:
            return rows;
    }
}

int CChangeTable::rows_per_page(const PageSetup& s, int band_height) const {
    const int rows = CMyGrid::rows_per_page(s, band_height);
    // The page is title, spacing, the two header rows, the band, the body and
    // the sign-off row; the extra row must leave the sign-off row above the
    // bottom margin.
    const int used = s.title_height + s.title_spacing + 2 * s.row_height + band_height +
                     (rows + 1) * s.row_height + s.row_height;
    const bool fits = used <= s.paper_height - s.top_margin - s.bottom_margin;
    return round_rows_per_page(rows, fits);
}

void CChangeTable::compute_printed_channels() {
    printed_channels_ = printed_channel_list(doc().record().test_params);
}

int CChangeTable::paper_units() const {
    return kLeadingUnits + static_cast<int>(printed_channels_.size()) + 1;
}

int CChangeTable::paper_x(int unit, int width) const {
    return static_cast<int>(static_cast<long long>(unit) * width / paper_units());
}

void CChangeTable::print_column_band(PrintPage& page) {
    Canvas& c = page.canvas;
    const Rect band = Rect::below(0, page.y, page.width, page.band_height);
    const int middle = band.top - page.band_height / 2;
    const int m = static_cast<int>(printed_channels_.size());
    const int units = paper_units();
    auto x = [&](int u) { return paper_x(u, page.width); };
    auto caption = [&](int left, int right, int top, int bottom, const std::string& text) {
        c.draw_text(Rect{x(left), top, x(right), bottom}, text, kTextCentre | kTextVCentre);
    };
    c.set_brush(Brush{});
    c.rectangle(band);
    // Unit boundaries that are column edges: 1 (after the load), 3 (after the
    // two-unit label), 4, 5, 6, then each channel and the average.
    for (int u = 1; u < units; ++u) {
        if (u == 2) continue;
        const bool inside_channels = u > kLeadingUnits && u < kLeadingUnits + m;
        c.line({x(u), inside_channels ? middle : band.top}, {x(u), band.bottom});
    }
    c.line({x(kLeadingUnits), middle}, {x(kLeadingUnits + m), middle});

    const int last = column_count() - 1;
    caption(0, 1, band.top, band.bottom, cell_text(0, 1));
    caption(1, 3, band.top, band.bottom, cell_text(0, 0));
    caption(3, 4, band.top, band.bottom, cell_text(0, 2));
    caption(4, 5, band.top, band.bottom, cell_text(0, 3));
    caption(5, 6, band.top, band.bottom, cell_text(0, 4));
    caption(kLeadingUnits, kLeadingUnits + m, band.top, middle, "实  测  读  数 (mm)");
    for (int k = 0; k < m; ++k) {
        caption(kLeadingUnits + k, kLeadingUnits + k + 1, middle, band.bottom,
                strprintf("表 %d", printed_channels_[static_cast<std::size_t>(k)] + 1));
    }
    caption(kLeadingUnits + m, units, band.top, band.bottom, cell_text(0, last));
}

void CChangeTable::print_body(PrintPage& page) {
    Canvas& c = page.canvas;
    const TestRecord& record = doc().record();
    const TestParams& params = record.test_params;
    const int h = page.row_height;
    const int units = paper_units();
    const int last = column_count() - 1;
    auto x = [&](int u) { return paper_x(u, page.width); };

    int triple_first = 0;  // page row where the current change began
    for (int i = 0; i < page.rows; ++i) {
        const int row = fixed_row_count() + page.first_row + i;
        const int k = row % kRowsPerChange;
        const int top = page.y - i * h;
        const int bottom = top - h;
        c.line({0, top}, {0, bottom});
        c.line({page.width, top}, {page.width, bottom});
        if (k == 0) {  // the blank row between two changes
            c.line({0, bottom}, {page.width, bottom});
            triple_first = i + 1;
            continue;
        }
        if (k == 1) triple_first = i;

        const int entry = (row - 1) / kRowsPerChange * kEntriesPerBlock + (k - 1);
        const RawReading& reading = record.mod_blocks[static_cast<std::size_t>(entry)];

        // The grade load once over the change's rows on this page.
        if (k == 3 || i + 1 == page.rows) {
            const int middle_row = row - k + 2;
            draw_centred(c, Rect{0, page.y - triple_first * h, x(1), bottom},
                         cell_text(middle_row, 1));
            c.line({0, bottom}, {x(1), bottom});
        }

        std::vector<std::pair<int, std::string>> cells = {{3, cell_text(row, 0)},
                                                          {4, cell_text(row, 2)},
                                                          {5, cell_text(row, 3)},
                                                          {6, cell_text(row, 4)}};
        int u = kLeadingUnits;
        for (int ch : printed_channels_) {
            ++u;
            cells.emplace_back(u, printed_channel_has_values(params, ch)
                                      ? RawTextFormatter::fixed62(reading.channel[ch])
                                      : "--");
        }
        cells.emplace_back(units, cell_text(row, last));

        int left = 1;
        for (const auto& [right, text] : cells) {
            draw_centred(c, Rect{x(left), top, x(right), bottom}, text);
            c.line({x(left), top}, {x(left), bottom});
            c.line({x(left), bottom}, {x(right), bottom});
            left = right;
        }
    }
}

}  // namespace kvd
