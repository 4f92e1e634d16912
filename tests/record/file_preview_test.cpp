#include "record/file_preview.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include <unistd.h>

#include <filesystem>

#include "base/file_io.h"
#include "base/local_time.h"
#include "record/file_fixtures.h"

namespace kvd {
namespace {

using namespace fixture;

// The preview of a whole image, read as the dialog reads a file.
FilePreview preview_of(const Image& file) {
    const ByteView all = file.view();
    const ByteView head = all.first(std::min(all.size(), kPreviewHeadBytes));
    const ByteView tail = all.last(std::min(all.size(), kPreviewTailBytes));
    return preview_file_bytes(head, tail, all.size());
}

bool has_line(const std::string& text, const std::string& line) {
    return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

TEST(FilePreview, UnfinishedTestFileShowsItsSummaryAndTheUnfinishedText) {
    Image header = make_header();
    header.i32(956, 1200);  // planned maximum load
    header.text(hdr::kInstrumentNumber, "JY-05");
    std::vector<RawEntry> entries = {sample_entry(0, 0), sample_entry(1, 1), sample_entry(2, 1)};
    Image file = test_file(kVersionTest, 1, 0, 2, header, entries);

    const FilePreview preview = preview_of(file);
    EXPECT_EQ(preview.probe.file_class, FileClass::kUnfinished);
    const std::string text = preview_info_text(preview);
    EXPECT_TRUE(has_line(text, " 工地：Site A")) << text;
    EXPECT_TRUE(has_line(text, " 桩号：P-7")) << text;
    EXPECT_TRUE(has_line(text, " 测试时间：" + format_local_time(1'380'000'000, "%Y-%m-%d")));
    // The last reading is entry 2; channel 1 alone is on the test pile.
    EXPECT_TRUE(has_line(
        text, " 最后记录时间：" + format_local_time(1'380'000'000 + 1200, "%Y-%m-%d %H:%M")));
    EXPECT_TRUE(has_line(text, " 最终试验荷载：1200 kN")) << text;
    EXPECT_TRUE(has_line(text, " 最终沉降量：2.00 mm")) << text;
    EXPECT_TRUE(has_line(text, " 原始数据个数：3")) << text;
    EXPECT_TRUE(has_line(text, " 设备编号：JY-05")) << text;
    EXPECT_EQ(preview_picture(preview), PreviewPicture::kText);
    EXPECT_EQ(preview_curve_text(preview), "\n\n\n   该文件试验未结束  ！");

    // Finished, the curve area says that test files have no picture.
    file.i32(kAtUnfinished, 0);
    EXPECT_EQ(preview_curve_text(preview_of(file)), "\n\n\n   测试文件\n 无法预览图像 ！");
    // No instrument number, no line for it; uplift tests name the uplift.
    header.text(hdr::kInstrumentNumber, std::string(16, '\0'));
    header.i32(hdr::kDirectionKind, 2);
    const std::string uplift = preview_info_text(preview_of(test_file(header, entries)));
    EXPECT_EQ(uplift.find("设备编号"), std::string::npos);
    EXPECT_TRUE(has_line(uplift, " 最终上拔量：2.00 mm")) << uplift;
}

TEST(FilePreview, LargeTestFileTakesItsLastReadingFromTheEnd) {
    // More readings than the beginning holds; the last one has a modification block.
    std::vector<RawEntry> entries;
    for (int n = 0; n < 6000; ++n) entries.push_back(sample_entry(n, n / 10, n == 5999 ? 1 : 0));
    Image file = test_file(make_header(), entries);
    ASSERT_GT(file.size(), kPreviewHeadBytes);

    FilePreview preview = preview_of(file);
    ASSERT_TRUE(preview.has_last_reading);
    EXPECT_EQ(preview.last_time, 1'380'000'000 + 600LL * 5999);
    EXPECT_DOUBLE_EQ(preview.final_displacement, 5999.0);
    EXPECT_EQ(preview.raw_count, 6000);

    // Without a block on the last reading, the plain one is the last.
    entries.back() = sample_entry(5999, 599, 0);
    entries[5998] = sample_entry(5998, 599, 1);
    preview = preview_of(test_file(make_header(), entries));
    ASSERT_TRUE(preview.has_last_reading);
    EXPECT_EQ(preview.last_time, 1'380'000'000 + 600LL * 5999);

    // Counts that do not describe the file: the end cannot be trusted.
    file.i32(kAtLastIndex, 7000);
    preview = preview_of(file);
    EXPECT_FALSE(preview.has_last_reading);
    EXPECT_TRUE(has_line(preview_info_text(preview), " 最后记录时间：无"));
    EXPECT_EQ(preview_info_text(preview).find("最终沉降量"), std::string::npos);
}

TEST(FilePreview, FilesOnDiskAreReadFromTheirBeginningAndTheirEnd) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kvd_preview_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<RawEntry> entries;
    for (int n = 0; n < 1000; ++n) entries.push_back(sample_entry(n, n / 10));
    const Image test = test_file(make_header(), entries);
    ASSERT_GT(test.size(), kPreviewFirstReadBytes);
    ASSERT_TRUE(replace_file_atomically(dir / "big.PTX", test.view()).ok());
    FilePreview preview = preview_file(dir / "big.PTX");
    EXPECT_TRUE(preview.opened);
    EXPECT_EQ(preview.raw_count, 1000);
    EXPECT_EQ(preview.last_time, 1'380'000'000 + 600LL * 999);

    std::vector<Point> points;
    for (int i = 0; i < 9000; ++i) points.push_back(sample_point(i / 10, 10 * (i / 10), 0, 1));
    ASSERT_TRUE(
        replace_file_atomically(dir / "big.KVD",
                                analysis_file(2, kVersionAnalysis, make_header(), points).view())
            .ok());
    preview = preview_file(dir / "big.KVD");
    EXPECT_EQ(preview.reading_count, 9000);
    EXPECT_EQ(preview.points.size(), kPreviewMaxPoints / 10 + 1);
    std::filesystem::remove_all(dir);
}

TEST(FilePreview, ShortOrOverclaimingTestFileCountsWhatItHolds) {
    std::vector<RawEntry> entries = {sample_entry(0, 0), sample_entry(1, 1, 1), sample_entry(2, 1)};
    Image file = test_file(kVersionTest, 0, 3, INT_MAX - 1, make_header(), entries);
    FilePreview preview = preview_of(file);
    EXPECT_EQ(preview.raw_count, 3);
    EXPECT_EQ(preview.last_time, 1'380'000'000 + 1200);
    // Cut inside the last reading: the two complete ones remain.
    Image cut;
    cut.put(0, file.prefix(file.size() - 10));
    preview = preview_of(cut);
    EXPECT_EQ(preview.raw_count, 2);
    EXPECT_EQ(preview.last_time, 1'380'000'000 + 600);
    // A snapshot size no reader could use gives no readings rather than a wrong one.
    file.i32(kAtTestHeader + hdr::kSnapshotSize, -68);
    EXPECT_FALSE(preview_of(file).has_last_reading);
    // Cut inside the header: described as damaged, nothing more.
    Image stub;
    stub.put(0, file.prefix(1000));
    EXPECT_EQ(preview_info_text(preview_of(stub)), "\n\n\n   文件已损坏\n 无法预览详细数据 ！");
    EXPECT_EQ(preview_picture(preview_of(stub)), PreviewPicture::kCross);
}

TEST(FilePreview, AnalysisFileGivesOnePointPerLoadingGrade) {
    Image header = make_header();
    header.text(hdr::kInstrumentNumber, "A-1");
    const std::vector<Point> points = {
        sample_point(0, 0, 0, 0.0),      sample_point(1, 100, 0, 1.0),
        sample_point(1, 100, 5, 1.2),    sample_point(2, 200, 0, 2.5),
        sample_point(3, 100, 0, 2.0, 0), sample_point(4, 0, 0, 1.0, 0),
    };
    Image file = analysis_file(3, kVersionAnalysis, header, points);
    FilePreview preview = preview_of(file);
    EXPECT_EQ(preview.probe.file_class, FileClass::kReadable);
    const std::vector<PreviewPoint> expected = {{0, 0.5}, {100, 1.7}, {200, 3.0}};
    EXPECT_EQ(preview.points, expected);
    const std::string text = preview_info_text(preview);
    EXPECT_TRUE(has_line(text, " 最终试验荷载：200 kN")) << text;
    EXPECT_TRUE(has_line(text, " 最终沉降量：3.00 mm")) << text;
    EXPECT_TRUE(has_line(text, " 记录次数：6")) << text;
    EXPECT_TRUE(has_line(text, " 包含原始记录：是")) << text;
    EXPECT_TRUE(has_line(text, " 测试仪器编号：A-1")) << text;
    EXPECT_EQ(preview_picture(preview), PreviewPicture::kCurve);

    // A foundation test in kPa names its point and its unit; kind 2 has no raw record.
    header.u8(hdr::kTestObject, 1).u8(hdr::kPressureUnit, 1);
    const std::string plate =
        preview_info_text(preview_of(analysis_file(2, kVersionAnalysis, header, points)));
    EXPECT_TRUE(has_line(plate, " 点号：P-7")) << plate;
    EXPECT_TRUE(has_line(plate, " 最终试验荷载：200 kPa")) << plate;
    EXPECT_TRUE(has_line(plate, " 包含原始记录：否")) << plate;

    // A count far beyond the bytes: only the points present are counted.
    file = analysis_file(2, kVersionAnalysis, header, points, INT_MAX);
    EXPECT_EQ(preview_of(file).reading_count, 6);
    EXPECT_EQ(preview_of(file).points.size(), 3u);
    file = analysis_file(2, kVersionAnalysis, header, points, -5);
    EXPECT_EQ(preview_of(file).reading_count, 0);
    EXPECT_EQ(preview_picture(preview_of(file)), PreviewPicture::kCross);
}

TEST(FilePreview, HugeAnalysisFileIsPreviewedFromItsBeginningAndSaysSo) {
    std::vector<Point> points;
    for (int i = 0; i < 9000; ++i)
        points.push_back(sample_point(i / 10, 10 * (i / 10), 0, i / 100.0));
    const FilePreview preview =
        preview_of(analysis_file(2, kVersionAnalysis, make_header(), points));
    EXPECT_EQ(preview.reading_count, 9000);
    EXPECT_TRUE(preview.points_cut);
    EXPECT_EQ(preview.points.size(), kPreviewMaxPoints / 10 + 1);
    EXPECT_TRUE(has_line(preview_info_text(preview), " （只预览了前 8192 个记录）"));
}

TEST(FilePreview, FilesItCannotPreviewAreDescribed) {
    Image newer = analysis_file(2, 2013.0918, make_header(), {sample_point(0, 0, 0, 0)});
    EXPECT_EQ(preview_info_text(preview_of(newer)),
              "\n\n\n 该文件为高版本所创建文件\n 无法打开 ！");
    EXPECT_EQ(preview_picture(preview_of(newer)), PreviewPicture::kCross);

    Image foreign = make_prefix(7, kVersionAnalysis);
    EXPECT_EQ(preview_of(foreign).probe.file_class, FileClass::kForeign);
    EXPECT_EQ(preview_info_text(preview_of(foreign)),
              "\n\n\n   该文件不是KV静载文件\n 无法打开 ！");

    Image old;
    old.text(0, "meyptx");
    EXPECT_EQ(preview_info_text(preview_of(old)), "\n\n\n   老版本PTX文件\n 无法预览详细数据 ！");
    EXPECT_EQ(preview_picture(preview_of(old)), PreviewPicture::kCross);

    Image text;
    text.text(0, "just some notes");
    EXPECT_EQ(preview_of(text).probe.file_class, FileClass::kUnclassified);
    EXPECT_EQ(preview_info_text(preview_of(text)), "");

    Image legacy = analysis_file(2, 2013.0826, make_header(), {sample_point(0, 0, 0, 0)});
    EXPECT_EQ(preview_info_text(preview_of(legacy)), "\n\n\n   早期版本文件\n 无法预览详细数据 ！");

    EXPECT_FALSE(preview_file("/nonexistent/kvd/file.KVD").opened);
    EXPECT_EQ(preview_file("/nonexistent/kvd/file.KVD").probe.file_class, FileClass::kUnclassified);
}

TEST(FilePreview, CurveRunsDownForCompressionAndUpForUplift) {
    const std::vector<PreviewPoint> points = {{0, 0}, {100, 2}, {200, 8}};
    const PreviewCurveGeometry down = layout_preview_curve(points, 200, 120, false);
    EXPECT_EQ(down.origin, (PreviewCurveGeometry::Point{10, 10}));
    EXPECT_EQ(down.load_axis_end, (PreviewCurveGeometry::Point{190, 10}));
    EXPECT_EQ(down.displacement_axis_end, (PreviewCurveGeometry::Point{10, 110}));
    ASSERT_EQ(down.points.size(), 3u);
    EXPECT_EQ(down.points[0], down.origin);
    // The largest values reach the ends of the axes, short of the arrow heads.
    EXPECT_EQ(down.points[2], (PreviewCurveGeometry::Point{182, 102}));
    EXPECT_GT(down.points[1].y, down.origin.y);

    const PreviewCurveGeometry up = layout_preview_curve(points, 200, 120, true);
    EXPECT_EQ(up.origin, (PreviewCurveGeometry::Point{10, 110}));
    EXPECT_EQ(up.displacement_axis_end, (PreviewCurveGeometry::Point{10, 10}));
    EXPECT_EQ(up.points[2], (PreviewCurveGeometry::Point{182, 18}));
    EXPECT_LT(up.points[1].y, up.origin.y);

    // An area too small to draw in still gives points next to the origin.
    for (const auto& p : layout_preview_curve(points, 3, 3, false).points) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.y, 20);
    }
}

}  // namespace
}  // namespace kvd
