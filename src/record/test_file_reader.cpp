#include "record/test_file_reader.h"

#include <algorithm>
#include <cstring>

#include "base/format.h"
#include "base/local_time.h"
#include "record/file_classifier.h"
#include "record/file_format.h"
#include "record/grade_compute.h"

namespace kvd {
namespace {

constexpr char kMessageLegacy[] =
    "该文件为早期版本（2013.0826 及以前）的格式，本程序无法读取，无法打开 ！";

// Reads the raw readings that follow the counts. The k-th status-1 reading is
// followed by its ModificationBlock; every reading by a snapshot of the
// header's snapshot size, of which at most sizeof(ReadingParams) bytes are kept.
void read_raw_part(ByteReader& in, std::int32_t mod_count, std::int32_t last_index,
                   TestRecord& record, ReadReport& report) {
    const long long claimed = static_cast<long long>(last_index) + 1;
    if (last_index < -1 || mod_count < 0) report.damaged = true;
    if (claimed <= 0) return;
    report.claimed_readings += claimed;

    const std::int32_t snapshot_size = record.header.snapshot_size;
    if (snapshot_size < 0 || static_cast<std::size_t>(snapshot_size) > in.size()) {
        report.damaged = true;
        return;
    }
    const std::size_t kept = std::min<std::size_t>(snapshot_size, sizeof(ReadingParams));
    const std::size_t skipped = static_cast<std::size_t>(snapshot_size) - kept;
    const std::size_t unit = sizeof(RawReading) + static_cast<std::size_t>(snapshot_size);
    const long long blocks_allowed = mod_count / kEntriesPerBlock;

    const auto reserve =
        std::min<long long>(claimed, static_cast<long long>(in.remaining() / unit));
    record.raw_readings.reserve(static_cast<std::size_t>(reserve));
    record.param_snapshots.reserve(static_cast<std::size_t>(reserve));
    record.mod_blocks.reserve(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(mod_count, 0)), in.remaining() / sizeof(RawReading)));

    for (long long r = 0; r < claimed; ++r) {
        RawReading raw;
        ModificationBlock block;
        ReadingParams snapshot{};
        const std::size_t start = in.offset();
        if (!in.read(raw)) break;
        if (raw.status == kStatusModified) {
            // A changed reading without a block left in the count is damage.
            if (record.mod_count() / kEntriesPerBlock >= blocks_allowed || !in.read(block)) {
                in.seek(start);
                break;
            }
        }
        if (!in.read_bytes(&snapshot, kept) || !in.skip(skipped)) {
            in.seek(start);
            break;
        }
        record.raw_readings.push_back(raw);
        if (raw.status == kStatusModified) {
            record.mod_blocks.insert(record.mod_blocks.end(), block.begin(), block.end());
        }
        record.param_snapshots.push_back(snapshot);
    }
    report.recovered_readings += record.raw_count();
    if (record.raw_count() < claimed) report.damaged = true;
}

// How many points from the reader's position on (at most limit) carry the
// grade number grade; the position is kept. Lets a grade be sized once.
long long run_length(ByteReader& in, long long limit, std::int32_t grade) {
    const std::size_t start = in.offset();
    long long run = 0;
    std::int32_t number = 0;
    while (run < limit && in.seek(start + static_cast<std::size_t>(run) * sizeof(SamplePoint)) &&
           in.read(number) && number == grade) {
        ++run;
    }
    in.seek(start);
    return run;
}

Status read_analysis_layout(ByteReader& in, TestRecord& record, ReadReport& report) {
    std::int32_t point_count = 0;
    if (!in.seek(kAnalysisHeaderOffset) || !in.read(record.header) || !in.read(point_count)) {
        return Status::failure(kMessageDamaged);
    }
    if (point_count < 0) report.damaged = true;
    const long long claimed = std::max(point_count, 0);
    report.claimed_readings = claimed;
    const long long available = std::min<long long>(claimed, in.remaining() / sizeof(SamplePoint));
    // A grade is a run of points with one grade number: a number that
    // reappears after another one starts a new grade.
    long long present = 0;
    while (present < available) {
        SamplePoint point;
        if (!in.read(point)) break;
        const long long run = 1 + run_length(in, available - present - 1, point.grade);
        COneGradeData& grade = record.grades.append_grade();
        grade.reserve(static_cast<int>(run));
        grade.append(point);
        ++present;
        while (grade.size() < run && in.read(point)) {
            grade.append(point);
            ++present;
        }
        if (grade.size() < run) break;  // the file was cut short under the reader
    }
    report.recovered_readings = present;
    if (present < claimed) {
        report.damaged = true;
        if (record.opened_kind == FileKind::kAnalysisWithRaw) {
            report.notices.push_back("文件的原始记录部分已丢失。");
        }
        return present > 0 ? Status::success() : Status::failure(kMessageDamaged);
    }
    if (record.opened_kind == FileKind::kAnalysis) return Status::success();

    std::int32_t mod_count = 0;
    std::int32_t last_index = -1;
    if (!in.read(mod_count) || !in.read(last_index)) {
        report.damaged = true;
        report.notices.push_back("文件的原始记录部分已丢失。");
        return Status::success();
    }
    read_raw_part(in, mod_count, last_index, record, report);
    if (report.recovered_readings == 0 && report.claimed_readings > 0) {
        return Status::failure(kMessageDamaged);
    }
    return Status::success();
}

Status read_test_layout(ByteReader& in, TestRecord& record, ReadReport& report) {
    std::int32_t mod_count = 0;
    std::int32_t last_index = -1;
    if (!in.seek(kTestModCountOffset) || !in.read(mod_count) || !in.read(last_index) ||
        !in.read(record.header)) {
        return Status::failure(kMessageDamaged);
    }
    read_raw_part(in, mod_count, last_index, record, report);
    if (record.raw_readings.empty() && report.claimed_readings > 0) {
        return Status::failure(kMessageDamaged);
    }
    return Status::success();
}

}  // namespace

std::string damage_notice(const ReadReport& report) {
    if (report.claimed_readings > report.recovered_readings) {
        return strprintf(
            "文件已损坏：文件中应有 %lld 个读数，已恢复 %lld 个完整读数，"
            "不完整的部分已舍弃。",
            report.claimed_readings, report.recovered_readings);
    }
    return strprintf("文件已损坏：已恢复 %lld 个完整读数，请核对数据。", report.recovered_readings);
}

namespace {

// An analysis file may end in the engineer's choice; a valid block is taken
// and the layout read before it, so a damaged count never reads it as readings.
void read_trailing_choice(ByteReader& in, TestRecord& record) {
    if (in.size() < kSamplePointsOffset + kChoiceBlockSize) return;
    const std::size_t start = in.size() - kChoiceBlockSize;
    Bytes block(kChoiceBlockSize);
    if (!in.seek(start) || !in.read_bytes(block.data(), block.size())) return;
    EngineerChoice choice;
    if (!decode_choice(block, choice).ok()) return;
    record.engineer_choice = choice;
    in.end_before(start);
}

Status read_from(ByteReader& in, TestRecord& record, ReadReport& report) {
    report = ReadReport{};
    Bytes head(std::min(in.size(), kClassifyBytes));
    // A source cut short within the prefix ends the reader there: read what is left.
    while (!in.seek(0) || !in.read_bytes(head.data(), head.size())) head.resize(in.size());
    const FileProbe probe = classify_file(head);
    if (probe.kind == FileKind::kOldTestFile) return read_old_format(in, record, report);
    if (!probe.has_tag) return Status::failure(kMessageUnknownType);
    if (probe.file_class == FileClass::kForeign) return Status::failure(kMessageUnknownType);
    if (probe.version <= kLastLegacyVersion) return Status::failure(kMessageLegacy);

    record = TestRecord{};
    record.opened_kind = record.save_kind = probe.kind;
    if (probe.kind != FileKind::kTestFile) read_trailing_choice(in, record);
    Status status = probe.kind == FileKind::kTestFile ? read_test_layout(in, record, report)
                                                      : read_analysis_layout(in, record, report);
    if (!status.ok()) return status;

    record.rebuild_params();
    if (probe.version >= kFirstUploadableVersion && probe.kind != FileKind::kAnalysis &&
        record.raw_count() >= 2) {
        record.header.upload_state = 0;
        record.header.upload_progress = 0;
        report.uploadable = true;
    }
    if (probe.kind == FileKind::kTestFile) build_grades_from_raw(record);
    if (report.damaged) report.notices.insert(report.notices.begin(), damage_notice(report));
    return Status::success();
}

}  // namespace

Status read_record(ByteView bytes, TestRecord& record, ReadReport& report) {
    ByteReader in(bytes);
    return read_from(in, record, report);
}

Status read_record(ByteSource& source, TestRecord& record, ReadReport& report,
                   std::size_t buffer_bytes) {
    ByteReader in(source, buffer_bytes);
    Status status = read_from(in, record, report);
    // What was read before a failed read is not offered as a damaged file:
    // the file itself may be whole.
    if (Status failed = source.read_status(); !failed.ok()) return failed;
    return status;
}

}  // namespace kvd
