// The page preview of the options dialog: the paper in its proportions, the
// margins, the title block rows, the curves of each layout in their pieces,
// the page number's place and the header and footer lines, all inside the
// area the page gives.

#include "curves/page_preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "draw/recording_canvas.h"

namespace kvd::testing {
namespace {

// A preview area 300 x 400 pixels, y up from its bottom-left corner.
constexpr Rect kArea{0, 400, 300, 0};

bool inside(const Rect& outer, const Rect& r) {
    return r.left >= outer.left && r.right <= outer.right && r.top <= outer.top &&
           r.bottom >= outer.bottom;
}

bool inside(const Rect& outer, Point p) {
    return p.x >= outer.left && p.x <= outer.right && p.y <= outer.top && p.y >= outer.bottom;
}

TEST(PagePreviewTest, ThePaperKeepsItsProportionsAndTheMarginsScaleWithIt) {
    PageSetup setup;  // A4 portrait
    const PrintContent content;
    const PagePreviewGeometry g = page_preview_geometry(kArea, setup, content);
    EXPECT_EQ(g.frame, (Rect{30, 380, 290, 6}));
    EXPECT_EQ(g.well, (Rect{32, 378, 288, 8}));
    ASSERT_GT(g.page.width(), 0);
    EXPECT_NEAR(static_cast<double>(g.page.width()) / g.page.height(), 210.0 / 297.0, 0.01);
    // As large as fits 6 inside the well, centred.
    EXPECT_EQ(g.page.left, 38);
    EXPECT_EQ(g.page.right, 282);
    EXPECT_LE(std::abs((g.page.top - 372) - (14 - g.page.bottom)), 1);
    const double scale = g.page.width() / 2100.0;
    EXPECT_NEAR(g.inner.left - g.page.left, 250 * scale, 1);
    EXPECT_NEAR(g.page.top - g.inner.top, 250 * scale, 1);
    EXPECT_NEAR(g.inner.bottom - g.page.bottom, 150 * scale, 1);
    EXPECT_NEAR(g.row_height, 60 * scale, 1);
    EXPECT_EQ(g.rows, 4);  // the simple summary table is printed by default

    // A landscape B4 lies across the well.
    setup.paper_width = 3540;
    setup.paper_height = 2500;
    setup.landscape = 1;
    const PagePreviewGeometry wide = page_preview_geometry(kArea, setup, content);
    EXPECT_NEAR(static_cast<double>(wide.page.width()) / wide.page.height(), 354.0 / 250.0, 0.01);
    EXPECT_EQ(wide.page.width(), 244);
    EXPECT_TRUE(inside(g.well, wide.page));
}

TEST(PagePreviewTest, EachLayoutShowsItsCurvesInTheirPiecesBelowTheTitleRows) {
    PageSetup setup;
    PrintContent content;
    content.simple_summary = 0;
    for (int layout = 0; layout <= 3; ++layout) {
        content.curve_layout = layout;
        for (int aspect = 0; aspect <= 1; ++aspect) {
            content.curve_aspect = aspect;
            const PagePreviewGeometry g = page_preview_geometry(kArea, setup, content);
            ASSERT_EQ(g.rows, 2);
            const Rect below{g.inner.left, g.inner.top - 2 * g.row_height, g.inner.right,
                             g.inner.bottom};
            const std::vector<CurveKind> kinds = preview_curves(layout);
            ASSERT_EQ(g.glyphs.size(), kinds.size()) << layout;
            for (std::size_t i = 0; i < kinds.size(); ++i) {
                const PreviewGlyph& glyph = g.glyphs[i];
                EXPECT_EQ(glyph.kind, kinds[i]);
                EXPECT_TRUE(inside(below, glyph.rect)) << layout << " " << i;
                const double ratio = static_cast<double>(glyph.rect.width()) / glyph.rect.height();
                EXPECT_NEAR(ratio, aspect ? 1.0 : 2.0 / 3.0, 0.05) << layout;
                for (std::size_t j = 0; j < i; ++j) {  // pieces do not overlap
                    const Rect& a = g.glyphs[j].rect;
                    const Rect& b = glyph.rect;
                    const bool apart = a.right <= b.left || b.right <= a.left ||
                                       a.bottom >= b.top || b.bottom >= a.top;
                    EXPECT_TRUE(apart) << layout << " " << i << " " << j;
                }
            }
        }
    }
    using K = CurveKind;
    EXPECT_EQ(preview_curves(0), (std::vector<K>{K::kQs}));
    EXPECT_EQ(preview_curves(1), (std::vector<K>{K::kQs, K::kSlgt}));
    EXPECT_EQ(preview_curves(2), (std::vector<K>{K::kSlgt, K::kSlgQ}));
    EXPECT_EQ(preview_curves(3), (std::vector<K>{K::kQs, K::kSlgt, K::kSlgQ}));
    EXPECT_EQ(preview_curves(9), (std::vector<K>{K::kQs}));
}

TEST(PagePreviewTest, PageNumberHeaderAndFooterMarksSitAtTheirPlaces) {
    PageSetup setup;
    const PrintContent content;
    for (int position = 0; position <= 5; ++position) {
        setup.page_number_position = position;
        const PagePreviewGeometry g = page_preview_geometry(kArea, setup, content);
        ASSERT_TRUE(g.page_number);
        const Rect& mark = *g.page_number;
        EXPECT_EQ(mark.width(), 3);
        EXPECT_EQ(mark.height(), 3);
        if (position < 3) {
            EXPECT_EQ(mark.top, g.inner.bottom - 4) << position;
        } else {
            EXPECT_EQ(mark.top, g.inner.top + 7) << position;
        }
        const int centre = (g.inner.left + g.inner.right) / 2;
        switch (position % 3) {
            case 0:
                EXPECT_EQ(mark.right, g.inner.right);
                break;
            case 1:
                EXPECT_EQ(mark.left, g.inner.left);
                break;
            default:
                EXPECT_LE(std::abs((mark.left + mark.right) / 2 - centre), 1);
        }
        EXPECT_TRUE(inside(g.page, mark)) << position;
    }
    setup.page_number_mode = 1;  // none
    EXPECT_FALSE(page_preview_geometry(kArea, setup, content).page_number);
    setup.page_number_mode = 3;
    EXPECT_TRUE(page_preview_geometry(kArea, setup, content).page_number);

    PagePreviewGeometry g = page_preview_geometry(kArea, setup, content);
    EXPECT_FALSE(g.header_y);
    EXPECT_FALSE(g.footer_y);
    setup.print_footer = 1;  // each on its own flag
    g = page_preview_geometry(kArea, setup, content);
    EXPECT_FALSE(g.header_y);
    EXPECT_EQ(g.footer_y, g.inner.bottom - 2);
    setup.print_header = 1;
    setup.print_footer = 0;
    g = page_preview_geometry(kArea, setup, content);
    EXPECT_EQ(g.header_y, g.inner.top + 3);
    EXPECT_FALSE(g.footer_y);
}

TEST(PagePreviewTest, EverythingIsDrawnInsideTheAreaWhateverTheSetup) {
    struct Case {
        Rect area;
        int width, height, margin, row;
    };
    const Case cases[] = {
        {kArea, 2100, 2970, 250, 60},
        {kArea, 5000, 500, 80, 200},  // a strip of paper with the deepest rows
        {kArea, 500, 5000, 80, 200},
        {{0, 60, 60, 0}, 2100, 2970, 250, 60},  // barely room for the well
        {{0, 10, 10, 0}, 2100, 2970, 250, 60},  // no room at all
    };
    for (const Case& c : cases) {
        PageSetup setup;
        setup.paper_width = c.width;
        setup.paper_height = c.height;
        setup.left_margin = setup.right_margin = setup.top_margin = setup.bottom_margin = c.margin;
        setup.row_height = c.row;
        setup.print_header = setup.print_footer = 1;
        PrintContent content;
        content.curve_layout = 3;
        RecordingCanvas canvas;
        draw_page_preview(canvas, c.area, setup, content, PagePreviewColours{});
        const PagePreviewGeometry g = page_preview_geometry(c.area, setup, content);
        for (const auto& line : canvas.of_kind<recorded::Line>()) {
            EXPECT_TRUE(inside(c.area, line.from) && inside(c.area, line.to)) << c.width;
        }
        for (const auto& line : canvas.of_kind<recorded::Polyline>()) {
            for (Point p : line.points) EXPECT_TRUE(inside(g.inner, p)) << c.width;
        }
        for (const auto& fill : canvas.of_kind<recorded::FillRect>()) {
            EXPECT_TRUE(inside(c.area, fill.rect)) << c.width;
        }
        // The title rows stop at the bottom of the printable area.
        if (g.page.width() > 0) {
            for (const auto& line : canvas.of_kind<recorded::Line>()) {
                if (line.from.y == line.to.y && line.from.x == g.inner.left) {
                    EXPECT_GE(line.from.y, g.inner.bottom - 2) << c.width;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kvd::testing
