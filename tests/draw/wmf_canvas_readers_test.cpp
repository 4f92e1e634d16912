// WmfCanvas files read back by real metafile readers: libwmf's wmf2svg and
// LibreOffice. Each test is skipped where its reader is not installed
// (scripts/deps installs both).

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/file_io.h"
#include "draw/wmf_canvas.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;

// The picture: 1000 wide, 1500 high, y up from 0 at its top edge. A frame just
// inside the edge, a red square at the top left, a black axis, a green
// triangle at the top right, a blue ellipse at the bottom right and texts.
constexpr Rect kPicture{0, 0, 1000, -1500};
constexpr Rect kFrame{10, -10, 990, -1490};
constexpr Rect kSquare{100, -100, 300, -300};
constexpr Rect kEllipse{600, -1150, 900, -1400};
constexpr std::array<Point, 3> kTriangle = {Point{700, -450}, Point{900, -450}, Point{800, -600}};

void draw_picture(Canvas& canvas) {
    canvas.set_pen(Pen{PenStyle::kSolid, 2, kBlack});
    canvas.rectangle(kFrame);
    canvas.fill_rect(kSquare, rgb(255, 0, 0));
    canvas.set_pen(Pen{PenStyle::kSolid, 3, kBlack});
    canvas.line({100, -400}, {900, -400});
    canvas.set_pen(Pen{PenStyle::kSolid, 1, rgb(0, 160, 0)});
    canvas.set_brush(Brush::solid(rgb(0, 160, 0)));
    canvas.polygon(kTriangle);
    canvas.set_brush(Brush::solid(rgb(0, 0, 255)));
    canvas.set_pen(Pen{PenStyle::kSolid, 1, rgb(0, 0, 255)});
    canvas.ellipse(kEllipse);
    canvas.set_text_colour(rgb(0, 0, 160));
    canvas.set_font(Font{"Times New Roman", -80, 500, false, false, 0});
    canvas.draw_text(Rect{250, -20, 480, -120}, "Q-s",
                     kTextRight | kTextVCentre | kTextSingleLine | kTextNoClip);
    canvas.set_font(Font{"宋体", 80, 400, false, false, kCharsetGb2312});
    canvas.draw_text(Rect{500, -20, 750, -120}, "曲线",
                     kTextLeft | kTextVCentre | kTextSingleLine | kTextNoClip);
    canvas.set_font(Font{"Times New Roman", -40, 500, false, false, 0});
    canvas.draw_text(Rect{100, -1300, 500, -1400}, "s (mm) 沉降", kTextLeft | kTextBottom);
}

bool installed(const char* program) {
    const std::string command = std::string("command -v ") + program + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class WmfReadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_wmf_readers_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        WmfCanvas canvas(kPicture);
        draw_picture(canvas);
        path_ = dir_ / "picture.wmf";
        ASSERT_TRUE(canvas.write(path_).ok());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    fs::path path_;
};

double number(const std::string& element, const std::string& name) {
    const std::regex pattern(" " + name + "=\"(-?[0-9.]+)\"");
    std::smatch match;
    if (!std::regex_search(element, match, pattern)) return -1e9;
    return std::stod(match[1]);
}

std::vector<std::string> elements(const std::string& svg, const std::string& tag) {
    std::vector<std::string> found;
    const std::regex pattern("<" + tag + "[ \t\n][^>]*>");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

TEST_F(WmfReadersTest, Wmf2svgDrawsEveryElementInPlaceAndTextUpright) {
    if (!installed("wmf2svg")) GTEST_SKIP() << "wmf2svg is not installed";
    const fs::path svg_path = dir_ / "picture.svg";
    const std::string command =
        "wmf2svg -o '" + svg_path.string() + "' '" + path_.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(svg_path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string svg = content.str();

    // libwmf has no viewport for a plain anisotropic metafile and stretches the
    // window to a square of its own, so places are checked as fractions of
    // the frame, which is the first rectangle.
    const std::vector<std::string> rects = elements(svg, "rect");
    ASSERT_GE(rects.size(), 2u);
    const double x0 = number(rects[0], "x");
    const double y0 = number(rects[0], "y");
    const double width = number(rects[0], "width");
    const double height = number(rects[0], "height");
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    const auto fx = [&](double svg_x) { return (svg_x - x0) / width; };
    const auto fy = [&](double svg_y) { return (svg_y - y0) / height; };
    // Expected fraction of a logical point: x from the frame's left, y down
    // from its top.
    const auto ex = [](int x) { return (x - kFrame.left) / double(kFrame.width()); };
    const auto ey = [](int y) { return (kFrame.top - y) / double(kFrame.height()); };
    constexpr double kTolerance = 0.01;

    EXPECT_NEAR(fx(number(rects[1], "x")), ex(kSquare.left), kTolerance);
    EXPECT_NEAR(fy(number(rects[1], "y")), ey(kSquare.top), kTolerance);
    EXPECT_NE(rects[1].find("fill:red"), std::string::npos) << rects[1];

    const std::vector<std::string> lines = elements(svg, "line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(fx(number(lines[0], "x1")), ex(100), kTolerance);
    EXPECT_NEAR(fx(number(lines[0], "x2")), ex(900), kTolerance);
    EXPECT_NEAR(fy(number(lines[0], "y1")), ey(-400), kTolerance);

    const std::vector<std::string> polygons = elements(svg, "polygon");
    ASSERT_EQ(polygons.size(), 1u);
    std::smatch corner;
    ASSERT_TRUE(std::regex_search(polygons[0], corner, std::regex("points=\"([0-9.]+),([0-9.]+)")));
    EXPECT_NEAR(fx(std::stod(corner[1])), ex(kTriangle[0].x), kTolerance);
    EXPECT_NEAR(fy(std::stod(corner[2])), ey(kTriangle[0].y), kTolerance);

    const std::vector<std::string> ellipses = elements(svg, "ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_NEAR(fx(number(ellipses[0], "cx")), ex(750), kTolerance);
    EXPECT_NEAR(fy(number(ellipses[0], "cy")), ey(-1275), kTolerance);
    EXPECT_NEAR(number(ellipses[0], "rx") / width, 150.0 / kFrame.width(), kTolerance);
    EXPECT_NEAR(number(ellipses[0], "ry") / height, 125.0 / kFrame.height(), kTolerance);

    // Texts: upright (no mirroring or rotation in their matrix), at their
    // boxes, with the GBK bytes of the Chinese text (libwmf passes them on).
    const std::regex text_pattern(
        "<text [^>]*transform=\"matrix\\(([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) "
        "([-0-9.]+)\\)\"\\s*>([^<]*)</text>");
    std::vector<std::string> contents;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text_pattern);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        EXPECT_DOUBLE_EQ(std::stod(m[1]), 1.0) << m.str();
        EXPECT_DOUBLE_EQ(std::stod(m[4]), 1.0) << m.str();
        EXPECT_NEAR(std::stod(m[2]), 0.0, 1e-9);
        const double baseline = fy(std::stod(m[6]));
        contents.push_back(m[7]);
        if (m[7] == "Q-s") {
            EXPECT_GT(baseline, ey(-20));
            EXPECT_LT(baseline, ey(-120));
            EXPECT_LT(fx(std::stod(m[5])), ex(480));
        } else if (m[7] == "\xC7\xFA\xCF\xDF") {
            EXPECT_NEAR(fx(std::stod(m[5])), ex(500), kTolerance);
        } else {
            EXPECT_GT(baseline, ey(-1300));
            EXPECT_NEAR(baseline, ey(-1400), 0.02);  // bottom-aligned: just above the box's end
        }
    }
    const std::vector<std::string> expected = {"Q-s", "\xC7\xFA\xCF\xDF",
                                               "s (mm) \xB3\xC1\xBD\xB5"};
    EXPECT_EQ(contents, expected);
}

// A 24- or 32-bit uncompressed Windows bitmap, top row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::array<int, 3>> rgb;  // red, green, blue
    const std::array<int, 3>& at(int x, int y) const { return rgb[y * width + x]; }
};

bool read_bitmap(const fs::path& path, Bitmap& out) {
    Bytes data;
    if (!read_whole_file(path, data).ok() || data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        return false;
    std::uint32_t pixels = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bits = 0;
    std::uint32_t compression = 0;
    load_at(data, 10, pixels);
    load_at(data, 18, width);
    load_at(data, 22, height);
    load_at(data, 28, bits);
    load_at(data, 30, compression);
    if ((bits != 24 && bits != 32) || compression != 0 || width <= 0 || height == 0) return false;
    const int rows = std::abs(height);
    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    if (pixels > data.size() || stride * rows > data.size() - pixels) return false;
    out.width = width;
    out.height = rows;
    out.rgb.resize(static_cast<std::size_t>(width) * rows);
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y;  // positive height: bottom row first
        const std::uint8_t* row = data.data() + pixels + stride * stored;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * (bits / 8);
            out.rgb[y * width + x] = {p[2], p[1], p[0]};
        }
    }
    return true;
}

TEST_F(WmfReadersTest, LibreOfficeShowsThePictureUprightInItsProportions) {
    if (!installed("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    // A profile of its own, so that a running LibreOffice or a first-start
    // dialog does not get in the way. One conversion: it takes seconds.
    const std::string command = "timeout 300 soffice -env:UserInstallation=file://" +
                                (dir_ / "profile").string() +
                                " --headless --convert-to bmp --outdir '" + dir_.string() + "' '" +
                                path_.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    Bitmap page;
    ASSERT_TRUE(read_bitmap(dir_ / "picture.bmp", page));

    // The page is LibreOffice's; the ink of the frame shows the picture.
    int left = page.width, right = -1, top = page.height, bottom = -1;
    double red_x = 0, red_y = 0, red_n = 0, blue_x = 0, blue_y = 0, blue_n = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const auto& [r, g, b] = page.at(x, y);
            if (r + g + b < 3 * 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            if (r > 200 && g < 80 && b < 80) red_x += x, red_y += y, ++red_n;
            if (b > 200 && r < 80 && g < 80) blue_x += x, blue_y += y, ++blue_n;
        }
    }
    ASSERT_GT(right, left);
    const double width = right - left;
    const double height = bottom - top;
    EXPECT_NEAR(height / width, double(kFrame.height()) / kFrame.width(), 0.02);

    // Not mirrored: the red square at the top left, the ellipse at the bottom right.
    ASSERT_GT(red_n, 100);
    ASSERT_GT(blue_n, 100);
    EXPECT_NEAR((red_x / red_n - left) / width, 190.0 / 980, 0.02);
    EXPECT_NEAR((red_y / red_n - top) / height, 190.0 / 1480, 0.02);
    EXPECT_NEAR((blue_x / blue_n - left) / width, 740.0 / 980, 0.02);
    EXPECT_NEAR((blue_y / blue_n - top) / height, 1265.0 / 1480, 0.02);

    // Title ink on both sides of the middle: "Q-s" to the left, "曲线" to the right.
    int title_left = 0, title_right = 0;
    const int band = top + static_cast<int>(height * 110 / 1480);
    for (int y = top + 3; y < band; ++y) {
        for (int x = left + 3; x < right - 3; ++x) {
            const auto& [r, g, b] = page.at(x, y);
            if (b > 90 && r < 90 && g < 90) (x < left + width / 2 ? title_left : title_right)++;
        }
    }
    EXPECT_GT(title_left, 50);
    EXPECT_GT(title_right, 50);
}

}  // namespace
}  // namespace kvd
