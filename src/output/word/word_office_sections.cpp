// CWordOffice: the detail, raw record and curve sections (word_office.h).

#include <algorithm>
#include <filesystem>

#include "base/format.h"
#include "curves/curve_export.h"
#include "output/word/word_office.h"
#include "output/word/word_report_texts.h"
#include "record/grade_compute.h"
#include "tables/load_table.h"
#include "tables/printed_channels.h"
#include "tables/raw_reading_text.h"
#include "tables/source_table.h"
#include "tables/unload_table.h"

namespace kvd {
namespace {

constexpr int kCentre = 1;
constexpr int kRowHeightAtLeast = 1;
constexpr double kPictureRowPoints = 294;
constexpr int kVerticalCentre = 1;
constexpr int kFixedColumnWidths = 0;
constexpr int kPicturePercent = 50;
// Grades (and the end of the test) a row of the curve information table holds.
constexpr int kMaxGradesPerRow = 24;

// Fixed columns of the detail table besides the gauges: the load, two times
// and two averages; of the raw record table: load, time, interval, measured
// load, this grade's settlement, the average, the oil pressure and the remark.
constexpr int kDetailFixedColumns = 5;
constexpr int kRawFixedColumns = 8;
constexpr int kRawHeaderRows = 3;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

bool CWordOffice::detail_section(const std::string& prefix) {
    title_block(prefix + "详测表", true);
    const TestParams& params = doc_.record().test_params;
    const CTestData& grades = doc_.record().grades;
    CLoadTable load(doc_, metrics_);
    CUnloadTable unload(doc_, metrics_);
    std::vector<PrintedReading> rows = load.printed_readings();
    for (const PrintedReading& row : unload.printed_readings()) rows.push_back(row);
    const std::vector<int> channels = printed_channel_list(params);
    const int m = static_cast<int>(channels.size());
    const int columns = kDetailFixedColumns + m;
    if (!new_table(2 + static_cast<int>(rows.size()), columns)) return false;

    // Header: the load over two rows, the times and averages over two
    // columns each, the gauge caption over the gauges; then the lower row.
    right(kCharacter, columns, true);
    down(kLine, 1, true);
    if (!failed_) check(selection_->rows().set_heading_format(word::kTrue));
    left(kCharacter, 1);
    down(kLine, 1, true);
    merge();
    type(params.in_kpa() ? "荷 载\n kPa" : "荷 载(kN)");
    right(kCharacter, 1);
    right(kCharacter, 2, true);
    merge();
    type("观测时间(min)");
    right(kCharacter, 1);
    right(kCharacter, m, true);
    merge();
    type("读 数 (mm)");
    right(kCharacter, 1);
    right(kCharacter, 2, true);
    merge();
    type(params.is_uplift() ? "平均上拔(mm)" : "平均沉降(mm)");
    right(kCharacter, 1);
    for (const char* text : {"本 级", "累 计"}) {
        type(text);
        right(kCharacter, 1);
    }
    for (int channel : channels) {
        type(strprintf("表%2d", channel + 1));
        right(kCharacter, 1);
    }
    for (const char* text : {"本 级", "累 计"}) {
        type(text);
        right(kCharacter, 1);
    }

    // One row per reading; the load once per grade, in a cell over its rows.
    for (std::size_t i = 0; i < rows.size() && !failed_; ++i) {
        const int grade = rows[i].grade;
        if (i == 0 || rows[i - 1].grade != grade) {
            std::size_t end = i + 1;
            while (end < rows.size() && rows[end].grade == grade) ++end;
            if (end - i > 1) {
                down(kLine, static_cast<int>(end - i - 1), true);
                merge();
            }
            type(strprintf("%d", grades.first_load(grade)));
            right(kCharacter, 1);
        }
        const std::optional<PrintedValues> values = load.printed_values(rows[i], channels);
        check(values.has_value());
        if (!values) break;
        type(strprintf("%d", values->minutes));
        right(kCharacter, 1);
        type(strprintf("%d", values->cumulative_minutes));
        right(kCharacter, 1);
        for (const std::optional<double>& value : values->channels) {
            type(value ? strprintf("%.2f", *value) : "--");
            right(kCharacter, 1);
        }
        type(strprintf("%.2f", values->change));
        right(kCharacter, 1);
        type(strprintf("%.2f", values->average));
        right(kCharacter, 1);
    }
    page_break();
    return !failed_;
}

bool CWordOffice::raw_section(const std::string& prefix) {
    title_block(prefix + "原始记录表", false);
    CSourceTable raw(doc_, metrics_);
    raw.fill();

    // The test parameters: ten rows, split into the cells of each row.
    const std::vector<std::vector<std::string>> parameters = parameter_rows(raw);
    std::optional<word::Table> block = new_table(static_cast<int>(parameters.size()), 1);
    if (!block) return false;
    for (std::size_t r = 0; r < parameters.size() && !failed_; ++r) {
        if (parameters[r].size() < 2) continue;
        std::optional<word::Cell> cell = block->cell(static_cast<int>(r) + 1, 1);
        check(cell && cell->split(1, static_cast<int>(parameters[r].size())));
    }
    for (const std::vector<std::string>& row : parameters) {
        for (const std::string& text : row) {
            type(text);
            right(kCharacter, 1);
        }
    }

    // The records: three header rows, one row per record.
    const TestRecord& record = doc_.record();
    const TestParams& params = record.test_params;
    const std::vector<int> channels = channels_in_use(record.instrument_params);
    const int n = static_cast<int>(channels.size());
    const int columns = kRawFixedColumns + n;
    const int count = static_cast<int>(record.raw_readings.size());
    align(kCentre);
    if (!new_table(kRawHeaderRows + count, columns)) return false;
    right(kCharacter, columns, true);
    down(kLine, kRawHeaderRows - 1, true);
    if (!failed_) check(selection_->rows().set_heading_format(word::kTrue));
    left(kCharacter, 1);
    const char* unit = params.in_kpa() ? "(kPa)" : "(kN)";
    const bool uplift = params.is_uplift();
    const std::vector<std::string> leading = {std::string("本级\n荷载\n") + unit, "记录\n时间\n时:分",
                                              "实际\n间隔\n(min)", std::string("实测\n荷载\n") + unit};
    const std::vector<std::string> trailing = {uplift ? "本级\n上拔\n(mm)" : "本级\n沉降\n(mm)",
                                               uplift ? "平均\n上拔\n(mm)" : "平均\n沉降\n(mm)",
                                               "实测\n油压\n(MPa)", "备注"};
    auto full_height = [&](const std::string& text) {
        down(kLine, kRawHeaderRows - 1, true);
        merge();
        type(text);
        right(kCharacter, 1);
    };
    for (const std::string& text : leading) full_height(text);
    if (n > 0) {  // the gauge caption over the gauges
        if (n > 1) {
            right(kCharacter, n, true);
            merge();
        }
        type("实 测 读 数 (mm)");
        right(kCharacter, 1);
    }
    for (const std::string& text : trailing) full_height(text);
    for (int channel : channels) {  // "表 n" over the two lower header rows
        down(kLine, 1, true);
        merge();
        type(strprintf("表%2d", channel + 1));
        right(kCharacter, 1);
    }

    for (int i = 0; i < count && !failed_; ++i) {
        const RawReading& reading = record.raw_readings[static_cast<std::size_t>(i)];
        const int row = i + 1;  // of the screen table
        auto same_run = [&](int k) {
            const RawReading& other = record.raw_readings[static_cast<std::size_t>(k)];
            return other.grade == reading.grade && other.grade_load == reading.grade_load;
        };
        if (i == 0 || !same_run(i - 1)) {
            int end = i + 1;
            while (end < count && same_run(end)) ++end;
            if (end - i > 1) {
                down(kLine, end - i - 1, true);
                merge();
            }
            type(RawTextFormatter::integer(reading.grade_load));
            right(kCharacter, 1);
        }
        const std::vector<std::string> texts = {raw.cell_text(row, 3), raw.cell_text(row, 4),
                                                raw.cell_text(row, 1)};
        for (const std::string& text : texts) {
            type(text);
            right(kCharacter, 1);
        }
        for (int channel : channels) {
            type(RawTextFormatter::fixed2(reading.channel[channel]));
            right(kCharacter, 1);
        }
        type(RawTextFormatter::fixed2(raw.this_grade_settlement(i)));
        right(kCharacter, 1);
        type(RawTextFormatter::fixed2(raw.reading_average(i)));
        right(kCharacter, 1);
        type(trimmed(raw.cell_text(row, 2)));
        right(kCharacter, 1);
        type(raw.cell_text(row, 5 + n + 1));
        right(kCharacter, 1);
    }
    page_break();
    return !failed_;
}

bool CWordOffice::curve_section(const std::string& folder, bool& metafiles_failed) {
    const TestParams& params = doc_.record().test_params;
    const CTestData& grades = doc_.record().grades;
    const std::vector<GradeSummary> summary = summarize_grades(grades);
    const int loading = grades.loading_grade_count();
    // A row holds the heading, the loading grades and the end of the test:
    // loading + 2 cells. A test of more grades than a row has room for goes
    // on in further pairs of rows.
    const int values = loading + 1;
    const int per_pair = std::min(values, kMaxGradesPerRow);
    const int pairs = (values + per_pair - 1) / per_pair;

    std::optional<word::Table> table = new_table(3, 1);
    if (!table) return false;
    std::optional<word::Cell> second = table->cell(2, 1);
    check(second && second->split(1, 3));
    std::optional<word::Cell> third = failed_ ? std::nullopt : table->cell(3, 1);
    check(third && third->split(2 * pairs, per_pair + 1));
    for (const std::string& text : curve_heading_texts(params)) {
        type(text);
        right(kCharacter, 1);
    }
    // Loads and cumulative displacements of the loading grades; the last
    // value is the end of the test after unloading, when it had any.
    const bool unloaded = grades.grade_count() > loading;
    auto value_text = [&](int k, bool load) -> std::string {
        const GradeSummary* grade = k < loading ? &summary[static_cast<std::size_t>(k)]
                                    : unloaded  ? &summary.back()
                                                : nullptr;
        if (!grade || k >= values) return {};
        return load ? strprintf("%d", grade->load) : strprintf("%.2f", grade->cumulative);
    };
    for (int pair = 0; pair < pairs; ++pair) {
        for (const bool load : {true, false}) {
            type(load ? (params.in_kpa() ? "荷载(kPa)" : "荷载(kN)")
                      : (params.is_uplift() ? "上拔(mm)" : "沉降(mm)"));
            right(kCharacter, 1);
            for (int k = pair * per_pair; k < (pair + 1) * per_pair; ++k) {
                type(value_text(k, load));
                right(kCharacter, 1);
            }
        }
    }
    if (failed_) return false;  // the last move left the table

    if (!write_report_metafiles(doc_, folder + "/")) {
        metafiles_failed = true;
        return false;
    }
    const bool written = curve_picture_table(folder);
    for (const char* name : {kQsMetafile, kSlgtMetafile, kSlgQMetafile}) {
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(folder) / name, ignored);
    }
    return written;
}

bool CWordOffice::curve_picture_table(const std::string& folder) {
    std::optional<word::Table> table = new_table(2, 2);
    if (!table) return false;
    right(kCharacter, 2, true);
    down(kLine, 1, true);
    if (!failed_) {
        word::Rows rows = selection_->rows();
        check(rows.set_height_rule(kRowHeightAtLeast));
        check(rows.set_height(kPictureRowPoints));
        check(selection_->cells().set_vertical_alignment(kVerticalCentre));
        check(table->auto_fit(kFixedColumnWidths));
        check(table->auto_fit(kFixedColumnWidths));
    }
    left(kCharacter, 1);
    auto add_picture = [&](const char* name) {
        if (failed_) return;
        if (!pictures_) pictures_ = selection_->inline_shapes();
        picture_ = pictures_->add_picture(folder + "/" + name, false, true);
        check(picture_ && picture_->set_scale_width(kPicturePercent));
    };
    add_picture(kQsMetafile);
    right(kCharacter, 1);
    add_picture(kSlgtMetafile);
    right(kCharacter, 2);
    add_picture(kSlgQMetafile);
    return !failed_;
}

}  // namespace kvd
