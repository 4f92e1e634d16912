// The Q-s, s-lgt and s-lgQ curves of the sample tests drawn through the Qt
// canvas on all three roads. The pictures are checked where a fault would
// show: ink in the plot, the axis colour on screen, nothing but greys in a
// black-and-white picture.
// With KVD_CURVE_PNG_DIR set they are also written there as PNG files.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/scripted_user_interface.h"
#include "qt/page_render.h"

namespace kvd::testing {
namespace {

constexpr int kDpi = 150;

struct Sample {
    const char* file;
};

void keep(const QImage& image, const std::string& name) {
    const char* dir = std::getenv("KVD_CURVE_PNG_DIR");
    if (!dir || !*dir) return;
    std::filesystem::create_directories(dir);
    image.save(QString::fromStdString((std::filesystem::path(dir) / name).string()));
}

// Pixels for which `match` holds.
template <typename Match>
int count_pixels(const QImage& image, Match match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += match(image.pixel(x, y)) ? 1 : 0;
    }
    return n;
}

// Pixels of a colour (each channel within 40).
int count_near(const QImage& image, QColor c) {
    return count_pixels(image, [&](QRgb p) {
        return std::abs(qRed(p) - c.red()) <= 40 && std::abs(qGreen(p) - c.green()) <= 40 &&
               std::abs(qBlue(p) - c.blue()) <= 40;
    });
}

// Pixels clearly more red than green or blue (antialiased edges included).
bool reddish(QRgb p) {
    return qRed(p) - std::max(qGreen(p), qBlue(p)) > 60;
}

// Pixels whose channels differ: anything that is not black, white or grey.
int count_coloured(const QImage& image) {
    return count_pixels(image, [](QRgb p) {
        return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) >
               8;
    });
}

class CurveRender : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/" + GetParam().file));
        // A mark at the fourth grade's point, to see one drawn.
        const CTestData& grades = doc_.record().grades;
        doc_.marks().push_back(
            {static_cast<double>(grades.first_load(3)), grades.last_settlement(3)});
    }
    std::string stem() const { return std::filesystem::path(GetParam().file).stem().string(); }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
    CQ_s qs_{doc_};
    Cs_lgt slgt_{doc_};
    Cs_lgQ slgq_{doc_};
};

TEST_P(CurveRender, Window) {
    const Size client{1500, 1500};
    QImage image;
    ASSERT_TRUE(render_page_to_image(
                    image, client, [&](Canvas& c) { qs_.paint_window(c, client); }, kDpi)
                    .ok());
    keep(image, "qs_window_" + stem() + ".png");
    ASSERT_TRUE(qs_.has_axes());
    // Axes in red, the loading curve in dark blue, the title present.
    EXPECT_GT(count_near(image, QColor(255, 0, 0)), 500);
    EXPECT_GT(count_near(image, QColor(0, 0, 160)), 200);
    EXPECT_EQ(qs_.points().size(), static_cast<std::size_t>(qs_.grade_count()));
}

TEST_P(CurveRender, PrintedPage) {
    doc_.print_content().curve_layout = 0;
    const PageSetup& setup = doc_.page_setup();
    QImage image;
    ASSERT_TRUE(
        render_page_to_image(
            image, {setup.paper_width, setup.paper_height}, [&](Canvas& c) { qs_.print(c); }, kDpi)
            .ok());
    keep(image, "qs_print_" + stem() + ".png");
    EXPECT_EQ(count_coloured(image), 0);
}

TEST_P(CurveRender, BlackAndWhiteMetafilePicture) {
    const Size size = qs_.metafile_size(1.5);
    QImage image;
    ASSERT_TRUE(render_page_to_image(
                    image, size, [&](Canvas& c) { qs_.paint_metafile(c, 1.5, false); }, kDpi)
                    .ok());
    keep(image, "qs_metafile_" + stem() + ".png");
    EXPECT_EQ(count_coloured(image), 0);
    EXPECT_GT(count_near(image, QColor(0, 0, 0)), 500);
}

TEST_P(CurveRender, WideStyledLinesAndMarkSymbols) {
    const Size client{1500, 1500};
    const double px = kDpi / 254.0;
    const CurveMark mark = doc_.marks().back();
    // The widest run of reddish pixels across the vertical mark line, between
    // the load axis and the marked point.
    auto mark_line_width = [&](const std::string& name) {
        QImage image;
        EXPECT_TRUE(render_page_to_image(
                        image, client, [&](Canvas& c) { qs_.paint_window(c, client); }, kDpi)
                        .ok());
        keep(image, name + stem() + ".png");
        const int x = static_cast<int>(qs_.device_x(static_cast<long long>(mark.load)) * px);
        const int y_axis = static_cast<int>(-qs_.frame().origin.y * px);
        const int y_point = static_cast<int>(-qs_.device_y(mark.settlement) * px);
        int widest = 0;
        for (int y = std::min(y_axis, y_point) + 8; y < std::max(y_axis, y_point) - 8; ++y) {
            int run = 0;
            for (int xx = x - 12; xx <= x + 12; ++xx) {
                run = reddish(image.pixel(xx, y)) ? run + 1 : 0;
                widest = std::max(widest, run);
            }
        }
        return widest;
    };
    doc_.curve_style().frame.axis_colour = style_rgb(0, 160, 0);
    const int thin = mark_line_width("qs_thin_");
    CurveLineStyle& lines = doc_.curve_style().lines;
    lines.unload_width = 5;
    lines.mark_width = 4;
    lines.mark_symbol = 1;
    lines.point_filled = 0;
    const int wide = mark_line_width("qs_styled_");
    // 4 design units at sx 1.5 are 6 logical units: about 3.5 pixels.
    EXPECT_GE(thin, 1);
    EXPECT_GE(wide, thin + 2);
}

TEST_P(CurveRender, LandscapeLayoutThreeKeepsToTheLeftThird) {
    PageSetup& setup = doc_.page_setup();
    setup.paper_width = 2970;
    setup.paper_height = 2100;
    setup.landscape = 1;
    doc_.print_content().curve_layout = 3;
    doc_.print_content().curve_aspect = 1;
    QImage image;
    ASSERT_TRUE(
        render_page_to_image(
            image, {setup.paper_width, setup.paper_height}, [&](Canvas& c) { qs_.print(c); }, kDpi)
            .ok());
    keep(image, "qs_landscape3_" + stem() + ".png");
    const Rect r = qs_.print_rect();
    ASSERT_GT(r.width(), 0);
    // Below the title block, right of the curve's piece, only the frame.
    const double px = kDpi / 254.0;
    const int x0 = static_cast<int>((250 + 2470 / 3 + 5) * px);
    const int x1 = static_cast<int>((2970 - 260) * px);
    const int y0 = static_cast<int>((250 + 4 * 60 + 10) * px);
    const int y1 = static_cast<int>((2100 - 160) * px);
    const QImage right = image.copy(x0, y0, x1 - x0, y1 - y0);
    EXPECT_EQ(count_near(right, QColor(0, 0, 0)), 0);
    // The curve's own area has ink.
    const QImage left =
        image.copy(static_cast<int>(r.left * px), static_cast<int>(-r.top * px),
                   static_cast<int>(r.width() * px), static_cast<int>(r.height() * px));
    EXPECT_GT(count_near(left, QColor(0, 0, 0)), 1000);
}

TEST_P(CurveRender, LogCurvesOnEveryRoad) {
    const Size client{1500, 1500};
    const std::pair<CImage*, std::string> kinds[] = {{&slgt_, "slgt"}, {&slgq_, "slgq"}};
    for (const auto& [curve, name] : kinds) {
        SCOPED_TRACE(name);
        QImage window;
        ASSERT_TRUE(render_page_to_image(
                        window, client, [&](Canvas& c) { curve->paint_window(c, client); }, kDpi)
                        .ok());
        keep(window, name + "_window_" + stem() + ".png");
        ASSERT_TRUE(curve->has_axes());
        EXPECT_GT(count_near(window, QColor(255, 0, 0)), 500);
        EXPECT_GT(count_near(window, QColor(0, 0, 160)), 200);

        doc_.print_content().curve_layout = 0;
        const PageSetup& setup = doc_.page_setup();
        QImage page;
        ASSERT_TRUE(render_page_to_image(
                        page, {setup.paper_width, setup.paper_height},
                        [&](Canvas& c) { curve->print(c); }, kDpi)
                        .ok());
        keep(page, name + "_print_" + stem() + ".png");
        EXPECT_EQ(count_coloured(page), 0);

        const Size size = curve->metafile_size(1.5);
        QImage picture;
        ASSERT_TRUE(
            render_page_to_image(
                picture, size, [&](Canvas& c) { curve->paint_metafile(c, 1.5, true); }, kDpi)
                .ok());
        keep(picture, name + "_metafile_" + stem() + ".png");
        EXPECT_GT(count_near(picture, QColor(0, 0, 160)), 200);
    }
    EXPECT_FALSE(slgt_.rows().empty());
    EXPECT_FALSE(slgq_.points().empty());
}

INSTANTIATE_TEST_SUITE_P(Samples, CurveRender,
                         ::testing::Values(Sample{"demo.PTX"}, Sample{"uplift.PTX"},
                                           Sample{"plate.PTX"}),
                         [](const ::testing::TestParamInfo<Sample>& sample) {
                             return std::filesystem::path(sample.param.file).stem().string();
                         });

}  // namespace
}  // namespace kvd::testing
