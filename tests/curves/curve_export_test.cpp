// Curve pictures as Windows metafiles: the proposed file names, the export
// options, the picture's proportions read from the file's window extent,
// black-and-white pictures read back record by record, and the failure
// message. The files are parsed from the documented WMF layout
// (draw/wmf_test_support.h), not through the writer.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/file_io.h"
#include "curves/curve_export.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/scripted_user_interface.h"
#include "draw/wmf_records.h"
#include "draw/wmf_test_support.h"

namespace kvd::testing {
namespace {

namespace fs = std::filesystem;

class CurveExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_curve_export_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string temp(const std::string& name) const { return (dir_ / name).string(); }

    static test::WmfFile read_wmf(const std::string& path) {
        Bytes bytes;
        EXPECT_TRUE(read_whole_file(path, bytes).ok()) << path;
        return test::parse_wmf(bytes);
    }
    // The window extent record: (width, height) of the picture.
    static std::pair<int, int> window_extent(const test::WmfFile& file) {
        const auto ext = file.of(wmf::kSetWindowExt);
        if (ext.size() != 1) return {0, 0};
        return {ext[0].i16(1), ext[0].i16(0)};  // the record stores y first
    }
    // Every colour the file's pens, brushes and text colours use.
    static std::set<std::uint32_t> colours(const test::WmfFile& file) {
        std::set<std::uint32_t> found;
        for (const auto& r : file.of(wmf::kCreatePenIndirect)) found.insert(r.u32_at_word(3));
        for (const auto& r : file.of(wmf::kCreateBrushIndirect)) {
            if (r.u16(0) != wmf::kBrushNull) found.insert(r.u32_at_word(1));
        }
        for (const auto& r : file.of(wmf::kSetTextColor)) found.insert(r.u32_at_word(0));
        return found;
    }

    fs::path dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    CQ_s qs_{doc_};
    Cs_lgt slgt_{doc_};
    Cs_lgQ slgq_{doc_};
};

TEST_F(CurveExportTest, ProposedNamesFollowTheDocumentAndTheCurve) {
    Bytes bytes;
    ASSERT_TRUE(read_whole_file(std::string(KVD_SOURCE_DIR) + "/samples/demo.KVD", bytes).ok());
    ASSERT_TRUE(replace_file_atomically(temp("T1.KVD"), bytes).ok());
    ASSERT_TRUE(doc_.open(temp("T1.KVD")));
    EXPECT_EQ(default_export_name(doc_, qs_.window_id()), temp("T1_Qs.WMF"));
    EXPECT_EQ(default_export_name(doc_, slgt_.window_id()), temp("T1_slgt.WMF"));
    EXPECT_EQ(default_export_name(doc_, slgq_.window_id()), temp("T1_slgQ.WMF"));

    // The command offers it in the save dialog with the metafile filter.
    EXPECT_FALSE(export_curve_image(qs_));
    ASSERT_EQ(ui_.save_requests().size(), 1u);
    EXPECT_EQ(ui_.save_requests()[0].proposed_name, temp("T1_Qs.WMF"));
    EXPECT_EQ(ui_.save_requests()[0].filter, "WINDOWS 图元文件(*.WMF)|*.WMF");
    EXPECT_EQ(ui_.save_requests()[0].title, "导出图像文件");
    // Cancelled there: the options are not asked for.
    EXPECT_TRUE(ui_.export_requests().empty());

    // A new document that was never saved: its title.
    doc_.new_document();
    EXPECT_EQ(default_export_name(doc_, qs_.window_id()), "新文件_Qs.WMF");
    EXPECT_EQ(default_export_name(doc_, slgq_.window_id()), "新文件_slgQ.WMF");

    // Only the file name's dot is cut; a name without one is kept whole.
    EXPECT_EQ(export_file_name("/tmp/a.b/T1", kSlgtWindowId), "/tmp/a.b/T1_slgt.WMF");
    EXPECT_EQ(export_file_name("/tmp/a.b/T1.2.KVD", kQsWindowId), "/tmp/a.b/T1.2_Qs.WMF");
    EXPECT_EQ(metafile_suffix(12345), "");
}

TEST_F(CurveExportTest, OptionsRangeAndSpin) {
    EXPECT_EQ(ExportOptions{}, (ExportOptions{0, 150}));
    EXPECT_TRUE(valid_export_ratio(10));
    EXPECT_TRUE(valid_export_ratio(1000));
    EXPECT_FALSE(valid_export_ratio(5));
    EXPECT_FALSE(valid_export_ratio(1001));
    EXPECT_FALSE(valid_export_options({2, 150}));
    EXPECT_TRUE(valid_export_options({1, 150}));

    // Leaving the field: the spin follows in tens, or the focus goes back.
    EXPECT_EQ(ratio_spin_position(150), 15);
    EXPECT_EQ(ratio_spin_position(155), 15);
    EXPECT_EQ(ratio_spin_position(10), 1);
    EXPECT_EQ(ratio_spin_position(1000), 100);
    EXPECT_EQ(ratio_spin_position(5), std::nullopt);
    EXPECT_EQ(ratio_spin_position(1001), std::nullopt);
    EXPECT_EQ(ratio_of_spin_position(16), 160);
    EXPECT_EQ(ratio_of_spin_position(0), 10);
    EXPECT_EQ(ratio_of_spin_position(101), 1000);

    // 5 and 1001 are refused by the dialog; Cancel then writes nothing.
    ui_.queue_save_path(temp("refused.WMF"));
    ui_.queue_export_options(ExportOptions{0, 5});
    ui_.queue_export_options(ExportOptions{0, 1001});
    ui_.queue_export_options(std::nullopt);
    EXPECT_FALSE(export_curve_image(qs_));
    EXPECT_EQ(ui_.refused_numbers(), 2);
    ASSERT_EQ(ui_.export_requests().size(), 1u);
    EXPECT_EQ(ui_.export_requests()[0], (ExportOptions{0, 150}));
    EXPECT_FALSE(fs::exists(temp("refused.WMF")));
}

// A dialog that lets an out-of-range ratio through.
class CarelessUserInterface : public ScriptedUserInterface {
public:
    std::optional<ExportOptions> ask_export_options(const ExportOptions&) override {
        return ExportOptions{0, 5};
    }
};

TEST(CurveExportGuard, OptionsOutOfRangeAreNotDrawn) {
    CarelessUserInterface ui;
    CLbxDoc doc(ui);
    ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
    const fs::path path =
        fs::temp_directory_path() / ("kvd_careless_" + std::to_string(::getpid()));
    ui.queue_save_path(path.string());
    CQ_s qs(doc);
    EXPECT_FALSE(export_curve_image(qs));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CurveExportTest, RatioSetsTheProportionsOfThePicture) {
    struct Case {
        int percent;
        int width;
        int height;
    };
    // The design square 1000 x 1000 at sx = 2 / ratio, sy = -2.
    for (const Case c : {Case{100, 2000, 2000}, Case{200, 1000, 2000}, Case{150, 1333, 2000}}) {
        SCOPED_TRACE(c.percent);
        const std::string path = temp("r" + std::to_string(c.percent) + ".WMF");
        ui_.queue_save_path(path);
        ui_.queue_export_options(ExportOptions{1, c.percent});
        ASSERT_TRUE(export_curve_image(qs_));
        const test::WmfFile file = read_wmf(path);
        ASSERT_TRUE(file.complete);
        // A plain metafile: the header type, no placeable header in front.
        EXPECT_EQ(file.type, 1);
        EXPECT_EQ(file.header_words, 9);
        EXPECT_EQ(file.of(wmf::kSetMapMode).at(0).u16(0), wmf::kMapAnisotropic);
        EXPECT_EQ(window_extent(file), std::make_pair(c.width, c.height));
        EXPECT_EQ(metafile_picture(qs_, c.percent / 100.0), (Rect{0, 0, c.width, -c.height}));
    }
    EXPECT_TRUE(ui_.shown().empty());
}

TEST_F(CurveExportTest, BlackAndWhitePicturesHoldOnlyBlackAndWhite) {
    // Every colour of the style away from black and white, and a mark.
    CurveStyle& style = doc_.curve_style();
    style.frame.background = style_rgb(10, 200, 10);
    style.frame.axis_colour = style_rgb(200, 10, 10);
    style.frame.tick_colour = style_rgb(10, 10, 200);
    style.frame.title_colour = style_rgb(90, 90, 10);
    style.lines.load_colour = style_rgb(10, 90, 90);
    style.lines.unload_colour = style_rgb(90, 10, 90);
    style.lines.point_colour = style_rgb(128, 128, 128);
    style.lines.mark_line_colour = style_rgb(250, 250, 0);
    style.lines.mark_text_colour = style_rgb(0, 250, 250);
    style.lines.mark_symbol = 1;
    doc_.marks().push_back({static_cast<double>(doc_.record().grades.first_load(3)),
                            doc_.record().grades.last_settlement(3)});

    const std::set<std::uint32_t> black_and_white = {0x000000, 0xFFFFFF};
    for (CImage* curve : std::initializer_list<CImage*>{&qs_, &slgt_, &slgq_}) {
        SCOPED_TRACE(curve->window_id());
        const test::WmfFile mono = test::parse_wmf(metafile_bytes(*curve, 1.5, false));
        ASSERT_TRUE(mono.complete);
        ASSERT_FALSE(mono.of(wmf::kCreatePenIndirect).empty());
        ASSERT_FALSE(mono.of(wmf::kExtTextOut).empty());
        for (std::uint32_t c : colours(mono)) {
            EXPECT_TRUE(black_and_white.count(c)) << std::hex << c;
        }
        // The same curve in colour does use the style's colours.
        const test::WmfFile colour = test::parse_wmf(metafile_bytes(*curve, 1.5, true));
        EXPECT_TRUE(colours(colour).count(rgb(200, 10, 10)));
    }
}

TEST_F(CurveExportTest, ColourPicturesCoverReplacedLabelsWithThePaper) {
    // On the uplift test's s-lgQ axis the end label takes the place of its
    // neighbour. The picture has no background, so the neighbour is covered
    // in white, not in the window's grey.
    ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/uplift.PTX"));
    const Colour window_grey = rgb(240, 240, 240);
    ASSERT_EQ(doc_.curve_style().frame.background, style_rgb(240, 240, 240));
    const test::WmfFile file = test::parse_wmf(metafile_bytes(slgq_, 1.5, true));
    ASSERT_TRUE(file.complete);
    EXPECT_FALSE(file.of(wmf::kRectangle).empty());
    EXPECT_TRUE(colours(file).count(kWhite));
    EXPECT_FALSE(colours(file).count(window_grey));
}

TEST_F(CurveExportTest, ReportWritesTheThreePicturesOrReportsTheFailure) {
    ASSERT_TRUE(write_report_metafiles(doc_, temp("report")));
    for (const char* suffix : {"_Qs.WMF", "_slgt.WMF", "_slgQ.WMF"}) {
        SCOPED_TRACE(suffix);
        const test::WmfFile file = read_wmf(temp(std::string("report") + suffix));
        ASSERT_TRUE(file.complete);
        EXPECT_EQ(window_extent(file), std::make_pair(1333, 2000));
        for (std::uint32_t c : colours(file)) EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << c;
    }
    EXPECT_TRUE(ui_.shown().empty());

    // A folder that does not exist: the message once, the first file only
    // attempted, nothing written.
    const std::string missing = temp("missing/report");
    EXPECT_FALSE(write_report_metafiles(doc_, missing));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "建立文件失败！");
    EXPECT_EQ(ui_.shown()[0].caption, "错误");
    EXPECT_EQ(ui_.shown()[0].icon, MessageIcon::kError);
    EXPECT_EQ(ui_.shown()[0].buttons, MessageButtons::kOk);
    EXPECT_FALSE(fs::exists(temp("missing")));

    // The export command says the same, here for a target that is a folder.
    fs::create_directories(temp("folder.WMF"));
    ui_.clear_log();
    ui_.queue_save_path(temp("folder.WMF"));
    ui_.queue_export_options(ExportOptions{});
    EXPECT_FALSE(export_curve_image(slgt_));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].text, "建立文件失败！");
    EXPECT_TRUE(fs::is_directory(temp("folder.WMF")));
}

}  // namespace
}  // namespace kvd::testing
