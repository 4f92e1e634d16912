#include "record/test_file_writer.h"

#include "record/file_format.h"

namespace kvd {
namespace {

void write_prefix(ByteWriter& out, double version, FileKind kind) {
    out.write_bytes(kPrefixTagBytes, sizeof kPrefixTagBytes);
    out.write(version);
    out.write(static_cast<std::int32_t>(kind));
    out.pad_to(kPrefixSize);
}

// Raw readings in file order: each RawReading, the k-th status-1 reading's
// ModificationBlock, then its snapshot. The block count written always matches
// the status-1 readings, so the file reads back whatever the record holds.
void write_raw_counts(ByteWriter& out, const TestRecord& record) {
    std::int32_t blocks = 0;
    for (const auto& raw : record.raw_readings) blocks += raw.status == kStatusModified ? 1 : 0;
    out.write(blocks * kEntriesPerBlock);
    out.write(static_cast<std::int32_t>(record.raw_count() - 1));
}

void write_raw_readings(ByteWriter& out, const TestRecord& record) {
    const RawReading empty_entry{};
    const ReadingParams empty_snapshot{};
    std::size_t next_entry = 0;
    for (std::size_t r = 0; r < record.raw_readings.size(); ++r) {
        const RawReading& raw = record.raw_readings[r];
        out.write(raw);
        if (raw.status == kStatusModified) {
            for (int e = 0; e < kEntriesPerBlock; ++e, ++next_entry) {
                out.write(next_entry < record.mod_blocks.size() ? record.mod_blocks[next_entry]
                                                                : empty_entry);
            }
        }
        out.write(r < record.param_snapshots.size() ? record.param_snapshots[r] : empty_snapshot);
    }
}

// The header as written: snapshots are always written whole, so a file that
// holds raw readings says so in its snapshot size.
TestHeader header_for_writing(const TestRecord& record, bool force_snapshot_size) {
    TestHeader header = record.header;
    if (force_snapshot_size || !record.raw_readings.empty()) header.snapshot_size = kSnapshotSize;
    return header;
}

}  // namespace

Status write_record(const TestRecord& record, Bytes& out) {
    out.clear();
    const FileKind kind = record.save_kind;
    std::size_t raw_bytes = record.raw_readings.size() * (sizeof(RawReading) + sizeof(ReadingParams)) +
                            record.mod_blocks.size() * sizeof(RawReading);
    out.reserve(kSamplePointsOffset + raw_bytes +
                static_cast<std::size_t>(record.grades.total_readings()) * sizeof(SamplePoint));
    ByteWriter writer(out);
    switch (kind) {
        case FileKind::kTestFile:
            write_prefix(writer, kTestFileVersion, kind);
            writer.write(std::int32_t{0});  // the test is finished as far as this program goes
            write_raw_counts(writer, record);
            writer.write(header_for_writing(record, true));
            write_raw_readings(writer, record);
            return Status::success();
        case FileKind::kAnalysis:
        case FileKind::kAnalysisWithRaw:
            write_prefix(writer, kAnalysisFileVersion, kind);
            writer.write(kind == FileKind::kAnalysis ? record.header
                                                     : header_for_writing(record, false));
            writer.write(static_cast<std::int32_t>(record.grades.total_readings()));
            for (const auto& grade : record.grades.grades()) {
                for (const auto& point : grade.points()) writer.write(point);
            }
            if (kind == FileKind::kAnalysisWithRaw) {
                write_raw_counts(writer, record);
                write_raw_readings(writer, record);
            }
            if (record.engineer_choice) {
                const Bytes block = encode_choice(*record.engineer_choice);
                writer.write_bytes(block.data(), block.size());
            }
            return Status::success();
        default:
            out.clear();
            return Status::failure("无法以这种文件类型保存 ！");
    }
}

}  // namespace kvd
