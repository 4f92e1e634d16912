#include "record/file_preview.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "base/format.h"
#include "base/local_time.h"
#include "base/numeric.h"
#include "base/text_codec.h"
#include "record/file_format.h"
#include "record/test_params.h"

namespace kvd {
namespace {

constexpr std::size_t kRawSize = sizeof(RawReading);
constexpr std::size_t kBlockSize = sizeof(ModificationBlock);

template <std::size_t N>
std::string field_text(const char (&field)[N]) {
    return read_gbk_field(std::span<const char>(field, N));
}

void take_header(const TestHeader& header, FilePreview& preview) {
    preview.details = true;
    preview.site_name = field_text(header.site_name);
    preview.pile_number = field_text(header.pile_number);
    preview.test_point = header.test_object == 1;
    preview.test_time = header.test_time;
    preview.instrument_number = field_text(header.instrument_number);
    preview.in_kpa = header.test_object == 1 && header.pressure_unit == 1;
    preview.uplift = is_uplift(header);
}

// Mean of the reading's channels that are in use on the test pile.
double pile_displacement(const RawReading& raw, const TestHeader& header) {
    const ChannelRoles roles = channel_roles_from_header(header);
    double sum = 0;
    int count = 0;
    for (int j = 0; j < kChannelCount; ++j) {
        if (roles[j] == ChannelRole::kTestPile && std::isfinite(raw.channel[j])) {
            sum += raw.channel[j];
            ++count;
        }
    }
    return count > 0 ? round2(sum / count) : 0.0;
}

// The last raw reading of a test file whose counts agree with its size: the
// file ends with that reading, its modification block when it has one, and
// its snapshot. A reading with a block is recognised by its status and by the
// three images after it, which belong to its grade. (The beginning of a file,
// read whole, is walked reading by reading instead; this is for the rest.)
bool last_reading_from_tail(ByteView tail, std::uint64_t file_size, std::size_t snapshot,
                            RawReading& last) {
    const std::uint64_t tail_start = file_size - tail.size();
    auto raw_at = [&](std::uint64_t offset, RawReading& out) {
        return offset >= tail_start && offset >= kTestReadingsOffset &&
               load_at(tail, static_cast<std::size_t>(offset - tail_start), out);
    };
    if (file_size < kTestReadingsOffset + kRawSize + snapshot) return false;
    const std::uint64_t plain = file_size - snapshot - kRawSize;
    RawReading candidate;
    if (plain >= kBlockSize + kTestReadingsOffset && raw_at(plain - kBlockSize, candidate) &&
        candidate.status == kStatusModified) {
        bool same = true;
        for (std::size_t k = 0; k < 3 && same; ++k) {
            RawReading image;
            same = raw_at(plain - kBlockSize + kRawSize * (k + 1), image) &&
                   image.grade == candidate.grade;
        }
        if (same) {
            last = candidate;
            return true;
        }
    }
    return raw_at(plain, last);
}

void preview_test_file(ByteView head, ByteView tail, std::uint64_t file_size,
                       FilePreview& preview) {
    std::int32_t mod_count = 0;
    std::int32_t last_index = -1;
    TestHeader header;
    if (!load_at(head, kTestModCountOffset, mod_count) ||
        !load_at(head, kTestLastReadingOffset, last_index) ||
        !load_at(head, kTestHeaderOffset, header)) {
        return;
    }
    take_header(header, preview);
    preview.final_load = header.max_load;

    const std::int32_t snapshot_size = header.snapshot_size;
    if (snapshot_size < 0 || snapshot_size > kPreviewMaxSnapshotSize) return;
    const auto snapshot = static_cast<std::size_t>(snapshot_size);
    const std::size_t unit = kRawSize + snapshot;
    const long long claimed = std::max<long long>(static_cast<long long>(last_index) + 1, 0);

    // The readings in the bytes read: exact when they hold the whole file.
    RawReading last{};
    long long walked = 0;
    std::size_t at = kTestReadingsOffset;
    while (walked < claimed) {
        RawReading raw;
        if (!load_at(head, at, raw)) break;
        const std::size_t length = unit + (raw.status == kStatusModified ? kBlockSize : 0);
        if (length > head.size() - at) break;
        at += length;
        last = raw;
        ++walked;
    }
    if (file_size <= head.size()) {
        preview.raw_count = walked;
        preview.has_last_reading = walked > 0;
    } else {
        // Only the end can tell the last reading, and only when the counts
        // describe exactly this many bytes.
        const long long blocks = std::max<std::int32_t>(mod_count, 0) / kEntriesPerBlock;
        const long double expected = static_cast<long double>(kTestReadingsOffset) +
                                     static_cast<long double>(claimed) * unit +
                                     static_cast<long double>(blocks) * kBlockSize;
        const auto capacity = static_cast<long long>((file_size - kTestReadingsOffset) / unit);
        preview.raw_count = std::min(claimed, capacity);
        preview.has_last_reading = expected == static_cast<long double>(file_size) &&
                                   last_reading_from_tail(tail, file_size, snapshot, last);
    }
    if (preview.has_last_reading) {
        preview.last_time = last.time;
        preview.final_displacement = pile_displacement(last, header);
        preview.has_final = true;
    }
}

void preview_analysis_file(ByteView head, std::uint64_t file_size, FilePreview& preview) {
    TestHeader header;
    std::int32_t stored = 0;
    if (!load_at(head, kAnalysisHeaderOffset, header) ||
        !load_at(head, kSamplePointCountOffset, stored)) {
        return;
    }
    take_header(header, preview);
    preview.has_raw = preview.probe.kind == FileKind::kAnalysisWithRaw;

    const auto capacity =
        static_cast<long long>((file_size - kSamplePointsOffset) / sizeof(SamplePoint));
    preview.reading_count = std::clamp<long long>(stored, 0, capacity);
    const auto in_head =
        static_cast<long long>((head.size() - kSamplePointsOffset) / sizeof(SamplePoint));
    const long long read =
        std::min({preview.reading_count, in_head, static_cast<long long>(kPreviewMaxPoints)});
    preview.points_cut = read < preview.reading_count;

    // Grades are runs of points with the same grade number; a loading grade's
    // point is its last reading.
    bool in_grade = false;
    std::int32_t grade = 0;
    bool loading = false;
    SamplePoint previous{};
    auto close_grade = [&] {
        if (in_grade && loading) {
            preview.points.push_back({previous.load, round2(previous.settlement)});
        }
    };
    for (long long i = 0; i < read; ++i) {
        SamplePoint point;
        load_at(head, kSamplePointsOffset + static_cast<std::size_t>(i) * sizeof(SamplePoint),
                point);
        if (!std::isfinite(point.settlement)) point.settlement = 0;
        if (!in_grade || point.grade != grade) {
            close_grade();
            in_grade = true;
            grade = point.grade;
            loading = point.loading == kLoading;
        }
        previous = point;
    }
    close_grade();
    if (!preview.points.empty()) {
        preview.final_load = preview.points.back().load;
        preview.final_displacement = preview.points.back().displacement;
        preview.has_final = true;
    }
}

std::string displacement_line(const FilePreview& preview) {
    return strprintf(preview.uplift ? " 最终上拔量：%.2f mm" : " 最终沉降量：%.2f mm",
                     preview.final_displacement);
}

std::string load_line(const FilePreview& preview) {
    return strprintf(" 最终试验荷载：%d", preview.final_load) + (preview.in_kpa ? " kPa" : " kN");
}

}  // namespace

FilePreview preview_file_bytes(ByteView head, ByteView tail, std::uint64_t file_size) {
    FilePreview preview;
    preview.opened = true;
    preview.probe = classify_file(head);
    const FileClass file_class = preview.probe.file_class;
    // Details only for the current layouts of the versions this program reads.
    const bool current = preview.probe.version > kLastLegacyVersion;
    if (file_size < head.size()) file_size = head.size();
    if (file_class == FileClass::kReadable || file_class == FileClass::kUnfinished) {
        if (!current) return preview;
        if (preview.probe.kind == FileKind::kTestFile) {
            preview_test_file(head, tail, file_size, preview);
        } else {
            preview_analysis_file(head, file_size, preview);
        }
    }
    return preview;
}

FilePreview preview_file(const std::filesystem::path& path) {
    FilePreview failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) return failed;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (end < 0) return failed;
    const auto size = static_cast<std::uint64_t>(end);
    auto read_at = [&in](std::uint64_t offset, std::uint8_t* out, std::size_t count) {
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(
            in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count)));
    };

    // The first part holds every layout's header and a test file's first
    // readings; an analysis file's sample points follow up to the cap.
    Bytes head(static_cast<std::size_t>(std::min<std::uint64_t>(size, kPreviewFirstReadBytes)));
    if (!read_at(0, head.data(), head.size())) return failed;
    const FileProbe probe = classify_file(head);
    std::int32_t stored = 0;
    if ((probe.kind == FileKind::kAnalysis || probe.kind == FileKind::kAnalysisWithRaw) &&
        load_at(ByteView(head), kSamplePointCountOffset, stored) && stored > 0) {
        const std::uint64_t wanted =
            kSamplePointsOffset +
            std::min<std::uint64_t>(static_cast<std::uint64_t>(stored), kPreviewMaxPoints) *
                sizeof(SamplePoint);
        const auto more = static_cast<std::size_t>(std::min(wanted, size));
        if (more > head.size()) {
            const std::size_t have = head.size();
            head.resize(more);
            if (!read_at(have, head.data() + have, more - have)) return failed;
        }
    }
    Bytes tail(static_cast<std::size_t>(std::min<std::uint64_t>(size, kPreviewTailBytes)));
    if (!read_at(size - tail.size(), tail.data(), tail.size())) return failed;
    return preview_file_bytes(head, tail, size);
}

std::string preview_info_text(const FilePreview& preview) {
    switch (preview.probe.file_class) {
        case FileClass::kOldFormat:
            return "\n\n\n   老版本PTX文件\n 无法预览详细数据 ！";
        case FileClass::kNewerVersion:
            return "\n\n\n 该文件为高版本所创建文件\n 无法打开 ！";
        case FileClass::kForeign:
            return "\n\n\n   该文件不是KV静载文件\n 无法打开 ！";
        case FileClass::kUnclassified:
            return "";
        default:
            break;
    }
    if (!preview.details) {
        // The first versions' layout, or a file cut short inside its header.
        return preview.probe.version <= kLastLegacyVersion
                   ? "\n\n\n   早期版本文件\n 无法预览详细数据 ！"
                   : "\n\n\n   文件已损坏\n 无法预览详细数据 ！";
    }
    std::string text = strprintf(" 工地：%-s", preview.site_name.c_str());
    auto line = [&text](const std::string& next) { text += "\n" + next; };
    if (preview.probe.kind == FileKind::kTestFile) {
        line(strprintf(" 桩号：%-s", preview.pile_number.c_str()));
        line(strprintf(" 测试时间：%-s", format_local_time(preview.test_time, "%Y-%m-%d").c_str()));
        line(strprintf(" 最后记录时间：%-s",
                       preview.has_last_reading
                           ? format_local_time(preview.last_time, "%Y-%m-%d %H:%M").c_str()
                           : "无"));
        line(load_line(preview));
        if (preview.has_final) line(displacement_line(preview));
        line(strprintf(" 原始数据个数：%lld", preview.raw_count));
        if (!preview.instrument_number.empty()) {
            line(strprintf(" 设备编号：%s", preview.instrument_number.c_str()));
        }
        return text;
    }
    line(strprintf(preview.test_point ? " 点号：%-s" : " 桩号：%-s", preview.pile_number.c_str()));
    line(strprintf(" 测试时间：%-s", format_local_time(preview.test_time, "%Y-%m-%d").c_str()));
    if (preview.has_final) {
        line(load_line(preview));
        line(displacement_line(preview));
    }
    line(strprintf(" 记录次数：%lld", preview.reading_count));
    if (preview.points_cut) line(strprintf(" （只预览了前 %zu 个记录）", kPreviewMaxPoints));
    line(std::string(" 包含原始记录：") + (preview.has_raw ? "是" : "否"));
    line(strprintf(" 测试仪器编号：%s", preview.instrument_number.c_str()));
    return text;
}

PreviewPicture preview_picture(const FilePreview& preview) {
    const FileClass file_class = preview.probe.file_class;
    if (file_class == FileClass::kUnfinished) return PreviewPicture::kText;
    if (file_class != FileClass::kReadable || !preview.details) return PreviewPicture::kCross;
    if (preview.probe.kind == FileKind::kTestFile) return PreviewPicture::kText;
    return preview.points.empty() ? PreviewPicture::kCross : PreviewPicture::kCurve;
}

std::string preview_curve_text(const FilePreview& preview) {
    if (preview_picture(preview) != PreviewPicture::kText) return "";
    return preview.probe.file_class == FileClass::kUnfinished
               ? "\n\n\n   该文件试验未结束  ！"
               : "\n\n\n   测试文件\n 无法预览图像 ！";
}

PreviewCurveGeometry layout_preview_curve(const std::vector<PreviewPoint>& points, int width,
                                          int height, bool uplift) {
    // Room for the arrow heads at the ends of the axes.
    constexpr int kMargin = 10;
    constexpr int kArrowRoom = 8;
    PreviewCurveGeometry geometry;
    const int left = kMargin;
    const int right = std::max(width - kMargin, left + 1);
    const int top = kMargin;
    const int bottom = std::max(height - kMargin, top + 1);
    const int origin_y = uplift ? bottom : top;
    geometry.origin = {left, origin_y};
    geometry.load_axis_end = {right, origin_y};
    geometry.displacement_axis_end = {left, uplift ? top : bottom};

    double max_load = 0;
    double max_displacement = 0;
    for (const PreviewPoint& p : points) {
        max_load = std::max(max_load, std::abs(static_cast<double>(p.load)));
        max_displacement = std::max(max_displacement, std::abs(p.displacement));
    }
    const double span_x = std::max(right - left - kArrowRoom, 1);
    const double span_y = std::max(bottom - top - kArrowRoom, 1);
    for (const PreviewPoint& p : points) {
        // Fractions of the largest values; a value of the other sign stays on the axis.
        const double fx = max_load > 0 ? std::clamp(p.load / max_load, 0.0, 1.0) : 0.0;
        const double fy =
            max_displacement > 0 ? std::clamp(p.displacement / max_displacement, 0.0, 1.0) : 0.0;
        const int x = left + static_cast<int>(std::lround(fx * span_x));
        const int dy = static_cast<int>(std::lround(fy * span_y));
        geometry.points.push_back({x, uplift ? origin_y - dy : origin_y + dy});
    }
    return geometry;
}

}  // namespace kvd
