#include "qt/page_render.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ink.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;
using test::ink_bounds;
using test::ink_count;
using test::near_colour;

constexpr Size kA4{2100, 2970};
constexpr Size kA4Landscape{2970, 2100};

// A test page: a frame, a filled rectangle at a known place, a table row,
// Chinese and Latin text, a filled arrowhead and an ellipse.
void test_page(Canvas& c) {
    c.set_pen({PenStyle::kSolid, 3, kBlack});
    c.rectangle({100, -100, 2000, -2870});
    c.fill_rect({200, -200, 400, -300}, rgb(255, 0, 0));

    Font song;
    song.face = "宋体";
    song.height = 50;
    c.set_font(song);
    c.set_pen({PenStyle::kSolid, 1, kBlack});
    const Rect header = Rect::below(200, -400, 1000, 100);
    c.rectangle(header);
    c.draw_text(header, "工程名称：测试", kTextLeft | kTextTop | kTextSingleLine);

    Font times;
    times.face = "Times New Roman";
    times.height = 50;
    c.set_font(times);
    c.draw_text(Rect::below(200, -600, 1000, 100), "Q-s 12.34 mm", kCellFormat);

    c.set_pen({PenStyle::kSolid, 1, rgb(255, 0, 0)});
    c.set_brush(Brush::solid(rgb(255, 0, 0)));
    const std::array<Point, 4> arrow = {Point{200, -800}, Point{200, -900}, Point{400, -850},
                                        Point{200, -800}};
    c.polygon(arrow);
    c.set_brush(Brush::solid(rgb(0, 160, 0)));
    c.ellipse({500, -800, 700, -900});
    c.set_pen({PenStyle::kDash, 1, kBlack});
    c.line({200, -1000}, {1800, -1000});
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PageRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_page_render_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// Pixel of a logical point (0.1 mm, y up) on a page rendered at `dpi`.
QPoint pixel(const Point& p, int dpi) {
    return {static_cast<int>(p.x * dpi / 254.0), static_cast<int>(-p.y * dpi / 254.0)};
}

TEST_F(PageRenderTest, PngShowsTheDrawingAtItsPlaceOnWhitePaper) {
    const fs::path path = dir_ / "page.png";
    ASSERT_TRUE(render_page_to_png(path, kA4, test_page).ok());
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path.string())));
    EXPECT_EQ(image.width(), 1240);  // 210 mm at 150 dpi
    EXPECT_EQ(image.height(), 1754);
    EXPECT_TRUE(near_colour(image.pixel(5, 5), Qt::white, 0));

    // The red rectangle spans 20-40 mm across and 20-30 mm down.
    EXPECT_TRUE(near_colour(image.pixel(pixel({300, -250}, 150)), Qt::red, 0));
    const QRect red = ink_bounds(image, QRect(pixel({150, -150}, 150), pixel({450, -350}, 150)));
    EXPECT_NEAR(red.left(), 118, 1);
    EXPECT_NEAR(red.top(), 118, 1);
    EXPECT_NEAR(red.right(), 236, 1);
    EXPECT_NEAR(red.bottom(), 177, 1);

    // Chinese text drawn with kTextTop sits in the upper half of its 10 mm box
    // (inside the box frame).
    const QRect box(pixel({203, -403}, 150), pixel({1197, -497}, 150));
    const QRect text = ink_bounds(image, box);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(text.bottom(), box.center().y());
    EXPECT_GT(text.width(), 150);  // seven characters of 5 mm
    // The Latin cell text is centred.
    const QRect latin = ink_bounds(image, QRect(pixel({200, -600}, 150), pixel({1200, -700}, 150)));
    ASSERT_FALSE(latin.isEmpty());
    EXPECT_NEAR(latin.center().x(), pixel({700, 0}, 150).x(), 3);
    EXPECT_NEAR(latin.center().y(), pixel({0, -650}, 150).y(), 4);

    EXPECT_TRUE(near_colour(image.pixel(pixel({250, -850}, 150)), Qt::red, 0));
    EXPECT_TRUE(near_colour(image.pixel(pixel({600, -850}, 150)), QColor(0, 160, 0), 0));
    EXPECT_TRUE(near_colour(image.pixel(pixel({505, -805}, 150)), Qt::white, 0));
}

TEST_F(PageRenderTest, PdfHasOnePageOfThePaperSizePerPainter) {
    const fs::path path = dir_ / "pages.pdf";
    ASSERT_TRUE(render_pages_to_pdf(path, kA4Landscape, {test_page, test_page}).ok());
    const std::string pdf = read_text(path);
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
         at = pdf.find("/Type /Page\n", at + 1)) {
        ++pages;
    }
    EXPECT_EQ(pages, 2u);
    // 297 x 210 mm in whole points, landscape as given.
    const std::size_t media = pdf.find("/MediaBox [");
    ASSERT_NE(media, std::string::npos);
    double x0 = -1, y0 = -1, width = 0, height = 0;
    ASSERT_EQ(
        std::sscanf(pdf.c_str() + media, "/MediaBox [%lf %lf %lf %lf", &x0, &y0, &width, &height),
        4);
    EXPECT_NEAR(width, 841.89, 0.6);
    EXPECT_NEAR(height, 595.28, 0.6);

    // Where poppler is installed, read the file back as a viewer would.
    if (std::system("command -v pdftoppm > /dev/null 2>&1") != 0) return;
    const fs::path stem = dir_ / "back";
    const std::string command = "pdftoppm -r 50 -f 1 -l 1 -png '" + path.string() + "' '" +
                                stem.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(stem.string() + "-1.png")));
    EXPECT_NEAR(back.width(), 585, 1);
    EXPECT_TRUE(near_colour(back.pixel(pixel({300, -250}, 50)), Qt::red, 0));
    const QRect box(pixel({210, -410}, 50), pixel({1190, -490}, 50));
    EXPECT_GT(ink_count(back, box), 20);  // the Chinese glyphs were embedded and drawn
}

TEST_F(PageRenderTest, SvgIsInTenthsOfAMillimetreAndRendersBack) {
    const fs::path path = dir_ / "page.svg";
    ASSERT_TRUE(render_page_to_svg(path, kA4, test_page).ok());
    const std::string svg = read_text(path);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("width=\"210mm\" height=\"297mm\""), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 2100 2970\""), std::string::npos);
    EXPECT_NE(svg.find("工程名称：测试"), std::string::npos);

    QSvgRenderer renderer(QString::fromStdString(path.string()));
    ASSERT_TRUE(renderer.isValid());
    QImage image(210, 297, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    // At 1 pixel per millimetre the red rectangle covers 20-40 mm x 20-30 mm.
    EXPECT_TRUE(near_colour(image.pixel(30, 25), Qt::red, 0));
    EXPECT_TRUE(near_colour(image.pixel(45, 25), Qt::white, 0));
}

TEST_F(PageRenderTest, FailuresAreReportedAndLeaveThePreviousFile) {
    const fs::path kept = dir_ / "kept.png";
    { std::ofstream(kept) << "old"; }

    Status status = render_page_to_png(kept, {0, 2970}, test_page);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("纸张尺寸无效"), std::string::npos);
    status = render_page_to_png(kept, {2100, 2970}, test_page, 100000);
    EXPECT_FALSE(status.ok());
    status = render_page_to_png(kept, {99000, 99000}, test_page, 2400);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("图像过大"), std::string::npos);
    status = render_pages_to_pdf(dir_ / "none.pdf", kA4, {});
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(fs::exists(dir_ / "none.pdf"));
    EXPECT_EQ(read_text(kept), "old");

    // A folder that does not exist: the message names the file.
    const fs::path missing = dir_ / "missing" / "page.pdf";
    status = render_pages_to_pdf(missing, kA4, {test_page});
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("page.pdf"), std::string::npos) << status.message();
    EXPECT_FALSE(render_page_to_svg(dir_ / "missing" / "a.svg", kA4, test_page).ok());
    EXPECT_FALSE(render_page_to_png(dir_ / "missing" / "a.png", kA4, test_page).ok());

    // An empty painter gives a blank page, not a failure.
    QImage blank;
    ASSERT_TRUE(render_page_to_image(blank, {100, 100}, PagePainter{}, 254).ok());
    EXPECT_EQ(blank.size(), QSize(100, 100));
    EXPECT_EQ(ink_count(blank, blank.rect()), 0);
}

}  // namespace
}  // namespace kvd
