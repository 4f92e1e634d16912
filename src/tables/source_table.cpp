#include "tables/source_table.h"

#include <algorithm>
#include <limits>

#include "base/format.h"
#include "base/numeric.h"
#include "doc/extended_display.h"
#include "tables/hour_minute_formatter.h"
#include "tables/raw_reading_text.h"

namespace kvd {
namespace {

// The undo step of pressing a row: its control parameters go into the header.
constexpr char kApplySnapshotStepName[] = "采用该读数的控制参数";

// Fixed columns before the channels and after them.
constexpr int kLeadingColumns = 5;
constexpr int kTrailingColumns = 2;

// Status words shown with the extended display on.
const char* status_remark(std::int32_t status) {
    switch (status) {
        case kStatusModified:
            return "修改过";
        case kStatusResumed:
            return "恢复试验";
        case kStatusGaugeReset:
            return "调表";
        case kStatusCommError:
            return "通讯错误";
        default:
            return nullptr;
    }
}

// Whole minutes between two clock times, truncated toward zero; a difference
// beyond the range of time64 (a damaged file) saturates.
int whole_minutes(std::int64_t from, std::int64_t to) {
    std::int64_t seconds = 0;
    if (__builtin_sub_overflow(to, from, &seconds)) {
        seconds = to > from ? std::numeric_limits<std::int64_t>::max()
                            : std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<int>(std::clamp<std::int64_t>(seconds / 60, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

CSourceTable::CSourceTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CMyGrid(doc, metrics, colours) {
    set_editable(false);
}

void CSourceTable::set_titles(int channel_columns) {
    const TestParams& params = doc().record().test_params;
    const InstrumentParams& instrument = doc().record().instrument_params;
    const char* unit = params.in_kpa() ? "(kPa)" : "(kN)";
    set_cell_text(0, 0, std::string("本级\n荷载\n") + unit);
    set_cell_text(0, 1, std::string("实测\n荷载\n") + unit);
    set_cell_text(0, 2, "实测\n油压\n(MPa)");
    set_cell_text(0, 3, "记录\n时间\n时:分");
    set_cell_text(0, 4, "实际\n间隔\n(分)");
    int col = kLeadingColumns;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (instrument.channel_role[static_cast<std::size_t>(ch)] == ChannelRole::kUnused) continue;
        set_cell_text(0, col++, strprintf("位移\n通道\n%d(mm)", ch + 1));
    }
    set_cell_text(0, kLeadingColumns + channel_columns,
                  params.is_uplift() ? "平均\n上拔\n(mm)" : "平均\n沉降\n(mm)");
    set_cell_text(0, kLeadingColumns + channel_columns + 1, "\n备注\n");
}

void CSourceTable::fill() {
    const TestRecord& record = doc().record();
    const InstrumentParams& instrument = record.instrument_params;
    const std::vector<RawReading>& readings = record.raw_readings;
    const int count = static_cast<int>(readings.size());
    const bool extended = extended_display();

    const std::vector<int> channels = channels_in_use(instrument);
    const int n = static_cast<int>(channels.size());
    const int columns = kLeadingColumns + n + kTrailingColumns;
    set_column_count(columns);
    set_row_count(count + 1);
    set_fixed_row_count(1);
    set_fixed_column_count(0);
    set_row_height(0, three_line_row_height());
    set_column_width(0, chars_width(7));
    for (int c = 1; c < columns - 1; ++c) set_column_width(c, chars_width(8));
    set_column_width(columns - 1, chars_width(10));
    set_titles(n);

    averages_.assign(static_cast<std::size_t>(count), 0.0);
    this_grade_.assign(static_cast<std::size_t>(count), 0.0);
    run_starts_.clear();

    HourMinuteFormatter clock;
    RawTextFormatter text(instrument);
    double base = 0;  // the last average of the previous grade
    for (int i = 0; i < count; ++i) {
        const RawReading& reading = readings[static_cast<std::size_t>(i)];
        const int row = i + 1;
        const bool new_grade =
            i == 0 || reading.grade != readings[static_cast<std::size_t>(i - 1)].grade;
        if (new_grade) {
            run_starts_.push_back(row);
            base = i == 0 || reading.grade == 1 ? 0.0 : averages_[static_cast<std::size_t>(i - 1)];
        }

        // Interval and whether the reading came earlier than planned.
        int interval = 0;
        bool early = false;
        if (i > 0) {
            interval = whole_minutes(readings[static_cast<std::size_t>(i - 1)].time, reading.time);
            early = interval < planned_interval(instrument, reading);
        }

        const double average = text.average(reading);
        averages_[static_cast<std::size_t>(i)] = average;
        this_grade_[static_cast<std::size_t>(i)] = round2(average - base) + 0.0;

        // Colours: grades alternate in shade; the extended display shows a
        // modified reading in black with its load in blue.
        const Colour background =
            reading.grade % 2 == 0 ? kEvenGradeBackground : kOddGradeBackground;
        const bool modified_look = extended && reading.status == kStatusModified;
        for (int c = 0; c < columns; ++c) {
            Colour colour = kLoadingText;
            if (modified_look)
                colour = c == 0 ? kLoadingText : kBlack;
            else if (c >= kLeadingColumns && c < kLeadingColumns + n)
                colour = kRawChannelText;
            if (c == 4 && early) colour = kEarlyText;
            set_cell_text_colour(row, c, colour);
            set_cell_background(row, c, background);
        }

        set_cell_text(row, 0, RawTextFormatter::integer(reading.grade_load));
        set_cell_text(row, 1, RawTextFormatter::integer(text.measured_load(reading)));
        set_cell_text(row, 2, text.pressure(reading));
        set_cell_text(row, 3, clock.format(reading.time));
        set_cell_text(row, 4, RawTextFormatter::integer(interval));
        for (int k = 0; k < n; ++k) {
            set_cell_text(
                row, kLeadingColumns + k,
                RawTextFormatter::fixed62(reading.channel[channels[static_cast<std::size_t>(k)]]));
        }
        set_cell_text(row, kLeadingColumns + n, RawTextFormatter::fixed62(average));

        std::string_view remark;
        if (extended && status_remark(reading.status))
            remark = status_remark(reading.status);
        else if (extended && early)
            remark = "提前记录";
        else if (!extended &&
                 (early || reading.status == kStatusResumed ||
                  reading.status == kStatusGaugeReset || reading.status == kStatusCommError)) {
            remark = " ";
        }
        set_cell_text(row, kLeadingColumns + n + 1, remark);
    }
}

std::vector<RowSpan> CSourceTable::merged_rows(int column) const {
    std::vector<RowSpan> spans;
    if (column != 0) return spans;
    const int last_row = static_cast<int>(averages_.size());
    for (std::size_t k = 0; k < run_starts_.size(); ++k) {
        const int first = run_starts_[k];
        const int last = k + 1 < run_starts_.size() ? run_starts_[k + 1] - 1 : last_row;
        if (last > first) spans.push_back({first, last});
    }
    return spans;
}

RowSpan CSourceTable::merged_span(int row, int column) const {
    const int last_row = static_cast<int>(averages_.size());
    if (column != 0 || row < 1 || row > last_row) return {row, row};
    auto next = std::upper_bound(run_starts_.begin(), run_starts_.end(), row);
    const int first = *std::prev(next);  // run_starts_ begins with row 1
    const int last = next == run_starts_.end() ? last_row : *next - 1;
    return {first, last};
}

bool CSourceTable::can_apply_snapshot() const {
    const FileKind kind = doc().record().opened_kind;
    return kind == FileKind::kTestFile || kind == FileKind::kAnalysisWithRaw;
}

bool CSourceTable::press_row(int row) {
    if (!can_apply_snapshot()) return false;
    const int reading = row - 1;
    if (reading < 0 || reading >= doc().record().raw_count()) return false;
    const CommandStep step(doc(), kApplySnapshotStepName);
    return doc().apply_snapshot(reading);
}

double CSourceTable::reading_average(int reading) const {
    if (reading < 0 || reading >= static_cast<int>(averages_.size())) return 0;
    return averages_[static_cast<std::size_t>(reading)];
}

double CSourceTable::this_grade_settlement(int reading) const {
    if (reading < 0 || reading >= static_cast<int>(this_grade_.size())) return 0;
    return this_grade_[static_cast<std::size_t>(reading)];
}

}  // namespace kvd
