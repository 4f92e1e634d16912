// The report's curve metafiles read by real metafile readers: libwmf's
// wmf2svg converts each of the three, LibreOffice shows the Q-s picture
// upright, in black and white and 1.5 times as high as wide. Each test is
// skipped where its reader is not installed (scripts/deps installs both).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "curves/curve_export.h"
#include "doc/scripted_user_interface.h"

namespace kvd::testing {
namespace {

namespace fs = std::filesystem;

bool installed(const char* program) {
    const std::string command = std::string("command -v ") + program + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class CurveMetafileReaders : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_curve_readers_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
        ASSERT_TRUE(write_report_metafiles(doc_, (dir_ / "demo").string()));
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
};

TEST_F(CurveMetafileReaders, Wmf2svgConvertsTheThreeCurves) {
    if (!installed("wmf2svg")) GTEST_SKIP() << "wmf2svg is not installed";
    struct Case {
        const char* suffix;
        const char* title;
        const char* label;  // a tick label of the horizontal axis
    };
    for (const Case& c : {Case{"_Qs.WMF", "Q-s", "3000"}, Case{"_slgt.WMF", "s-lgt", "660"},
                          Case{"_slgQ.WMF", "s-lgQ", "600"}}) {
        SCOPED_TRACE(c.suffix);
        const fs::path wmf = dir_ / (std::string("demo") + c.suffix);
        const fs::path svg = dir_ / (std::string("demo") + c.suffix + ".svg");
        const std::string command =
            "wmf2svg -o '" + svg.string() + "' '" + wmf.string() + "' > /dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string text = read_text(svg);
        EXPECT_NE(text.find("<svg"), std::string::npos);
        EXPECT_NE(text.find(std::string(">") + c.title + "</text>"), std::string::npos);
        EXPECT_NE(text.find(std::string(">") + c.label + "</text>"), std::string::npos);
        EXPECT_NE(text.find(">s (mm)</text>"), std::string::npos);
        EXPECT_NE(text.find("<line"), std::string::npos);
        // Black and white: no other fill or stroke colour.
        const std::regex paint("(fill|stroke):([a-z#0-9(),]+)");
        int painted = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), paint);
             it != std::sregex_iterator(); ++it, ++painted) {
            const std::string colour = (*it)[2];
            EXPECT_TRUE(colour == "black" || colour == "white" || colour == "none") << colour;
        }
        EXPECT_GT(painted, 10);
    }
}

// The longest run of dark pixels along a row and along a column.
struct Runs {
    int horizontal = 0;
    int horizontal_row = -1;
    int vertical = 0;
    int vertical_column = -1;
};

Runs longest_runs(const QImage& image) {
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 160; };
    Runs runs;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = dark(x, y) ? run + 1 : 0;
            if (run > runs.horizontal) runs.horizontal = run, runs.horizontal_row = y;
        }
    }
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = dark(x, y) ? run + 1 : 0;
            if (run > runs.vertical) runs.vertical = run, runs.vertical_column = x;
        }
    }
    return runs;
}

TEST_F(CurveMetafileReaders, LibreOfficeShowsTheQsPictureInItsProportions) {
    if (!installed("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    // A profile of its own, so that a running LibreOffice or a first-start
    // dialog does not get in the way. One conversion: it takes seconds.
    const fs::path wmf = dir_ / "demo_Qs.WMF";
    const std::string command = "timeout 300 soffice -env:UserInstallation=file://" +
                                (dir_ / "profile").string() +
                                " --headless --convert-to png --outdir '" + dir_.string() + "' '" +
                                wmf.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage page(QString::fromStdString((dir_ / "demo_Qs.png").string()));
    ASSERT_FALSE(page.isNull());

    // The two axes are the longest lines: both span 840 design units, so
    // the displacement axis is as much longer than the load axis as the
    // picture is higher than wide.
    const Runs runs = longest_runs(page);
    ASSERT_GT(runs.horizontal, page.width() / 4);
    EXPECT_NEAR(double(runs.vertical) / runs.horizontal, 1.5, 0.03);
    // Upright: the load axis near the top, the displacement axis at the left.
    EXPECT_LT(runs.horizontal_row, page.height() / 4);
    EXPECT_LT(runs.vertical_column, page.width() / 3);

    // Nothing but greys.
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            const int spread =
                std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
            coloured += spread > 8 ? 1 : 0;
        }
    }
    EXPECT_EQ(coloured, 0);
}

}  // namespace
}  // namespace kvd::testing
