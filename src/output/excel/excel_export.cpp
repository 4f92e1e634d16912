#include "output/excel/excel_export.h"

#include <filesystem>

#include "base/file_io.h"
#include "base/file_names.h"
#include "base/format.h"
#include "base/text_codec.h"
#include "tables/raw_reading_text.h"
#include "tables/source_table.h"

namespace kvd {
namespace {

// Screen columns of the raw record table before its channels.
constexpr int kMeasuredLoadColumn = 1;
constexpr int kPressureColumn = 2;
constexpr int kTimeColumn = 3;
constexpr int kIntervalColumn = 4;
constexpr int kFirstChannelColumn = 5;

}  // namespace

std::string excel_text(CLbxDoc& doc) {
    FixedFontMetrics metrics;
    CSourceTable table(doc, metrics);
    table.fill();
    const TestRecord& record = doc.record();
    const TestParams& params = record.test_params;
    const std::vector<int> channels = channels_in_use(record.instrument_params);
    const int n = static_cast<int>(channels.size());

    std::string text = params.in_kpa()
        ? "本级荷载(kPa)\t实测荷载(kPa)\t实测油压(MPa)\t记录时间(时:分)\t实际间隔(min)\t"
        : "本级荷载(kN)\t实测荷载(kN)\t实测油压(MPa)\t记录时间(时:分)\t实际间隔(min)\t";
    for (int channel : channels) text += strprintf("表%2d\t", channel + 1);
    text += params.is_uplift() ? "本级上拔(mm)\t平均上拔(mm)\t备注\n"
                               : "本级沉降(mm)\t平均沉降(mm)\t备注\n";

    for (int i = 0; i < record.raw_count(); ++i) {
        const int row = i + 1;
        auto cell = [&](int column) {
            text += table.cell_text(row, column);
            text += '\t';
        };
        text += RawTextFormatter::integer(record.raw_readings[static_cast<std::size_t>(i)].grade_load);
        text += '\t';
        for (int column : {kMeasuredLoadColumn, kPressureColumn, kTimeColumn, kIntervalColumn}) {
            cell(column);
        }
        for (int k = 0; k < n; ++k) cell(kFirstChannelColumn + k);
        text += RawTextFormatter::fixed2(table.this_grade_settlement(i));
        text += '\t';
        cell(kFirstChannelColumn + n);  // the average
        text += table.cell_text(row, kFirstChannelColumn + n + 1);
        text += '\n';
    }
    return text;
}

std::optional<std::string> write_excel(CLbxDoc& doc, const std::string& chosen) {
    const std::string path = with_extension(chosen, ".xls");
    const std::string gbk = utf8_to_gbk(excel_text(doc));
    const Status status = replace_file_atomically(
        path, ByteView(reinterpret_cast<const std::uint8_t*>(gbk.data()), gbk.size()));
    if (!status.ok()) {
        doc.ui().show_error(status.message());
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> export_excel(CLbxDoc& doc) {
    SaveDialogRequest request;
    request.proposed_name =
        with_replaced_extension(doc.path().empty() ? doc.display_name() : doc.path(), ".xls");
    request.filter = kExcelFilter;
    request.title = kExcelDialogTitle;
    if (!doc.path().empty()) {
        request.initial_folder = std::filesystem::path(doc.path()).parent_path().string();
    }
    const std::optional<std::string> chosen = doc.ui().ask_save_path(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return write_excel(doc, *chosen);
}

}  // namespace kvd
