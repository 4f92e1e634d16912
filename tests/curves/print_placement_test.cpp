// Where the curves go on a printed page, for every layout and aspect on a
// portrait and a landscape page, and which kind prints the title block.

#include <gtest/gtest.h>

#include <cstdlib>

#include "curve_fixture.h"
#include "curves/print_placement.h"

namespace kvd::testing {
namespace {

PageSetup portrait_a4() {
    return PageSetup{};
}

PageSetup landscape_a4() {
    PageSetup s;
    s.paper_width = 2970;
    s.paper_height = 2100;
    s.landscape = 1;
    return s;
}

TEST(PrintPlacement, AreaIsBelowTheTitleBlockRows) {
    PrintContent content;
    content.simple_summary = 1;
    EXPECT_EQ(title_block_rows(content), 4);
    EXPECT_EQ(curve_print_area(portrait_a4(), content), (Rect{250, -490, 1850, -2820}));
    content.simple_summary = 0;
    EXPECT_EQ(title_block_rows(content), 2);
    EXPECT_EQ(curve_print_area(portrait_a4(), content), (Rect{250, -370, 1850, -2820}));
}

// The piece of the area each kind gets, as fractions of the area: x from
// x0/6 to x1/6 of the width, y from y0/2 to y1/2 of the height (from the top).
struct Piece {
    int x0, x1, y0, y1;
};

Rect expected_piece(const Rect& a, Piece p) {
    const int w = a.width();
    const int h = a.height();
    auto x = [&](int sixths) { return sixths == 6 ? a.right : a.left + sixths * w / 6; };
    auto y = [&](int halves) { return halves == 2 ? a.bottom : a.top - halves * h / 2; };
    return {x(p.x0), y(p.y0), x(p.x1), y(p.y1)};
}

TEST(PrintPlacement, EveryLayoutCutsTheAreaAsTheTableSays) {
    const Piece whole{0, 6, 0, 2};
    // [layout][kind], portrait then landscape.
    const Piece portrait[4][3] = {
        {whole, whole, whole},
        {{0, 6, 0, 1}, {0, 6, 1, 2}, whole},
        {whole, {0, 6, 0, 1}, {0, 6, 1, 2}},
        {{0, 3, 0, 1}, {3, 6, 0, 1}, {0, 3, 1, 2}},
    };
    const Piece landscape[4][3] = {
        {whole, whole, whole},
        {{0, 3, 0, 2}, {3, 6, 0, 2}, whole},
        {whole, {0, 3, 0, 2}, {3, 6, 0, 2}},
        {{0, 2, 0, 2}, {2, 4, 0, 2}, {4, 6, 0, 2}},
    };
    const CurveKind kinds[3] = {CurveKind::kQs, CurveKind::kSlgt, CurveKind::kSlgQ};
    PrintContent content;
    for (bool land : {false, true}) {
        const PageSetup setup = land ? landscape_a4() : portrait_a4();
        const Rect area = curve_print_area(setup, content);
        ASSERT_EQ(area.height() > area.width(), !land);
        for (int layout = 0; layout < 4; ++layout) {
            for (int k = 0; k < 3; ++k) {
                SCOPED_TRACE(::testing::Message() << (land ? "landscape" : "portrait") << " layout "
                                                  << layout << " kind " << k);
                const Piece p = land ? landscape[layout][k] : portrait[layout][k];
                EXPECT_EQ(cut_piece(area, print_piece(kinds[k], layout)), expected_piece(area, p));
            }
        }
    }
}

TEST(PrintPlacement, CurveIsTheLargestCentredRectangleOfItsAspect) {
    PrintContent content;
    content.curve_layout = 0;
    // Portrait whole area 1600 x 2330, inset to 1570 x 2310 at (260, -500).
    content.curve_aspect = 0;
    EXPECT_EQ(curve_print_rect(CurveKind::kQs, portrait_a4(), content),
              (Rect{275, -500, 275 + 1540, -2810}));
    content.curve_aspect = 1;
    EXPECT_EQ(curve_print_rect(CurveKind::kQs, portrait_a4(), content),
              (Rect{260, -870, 1830, -2440}));

    // Landscape, layout 3, Q-s in the left third (250 ... 1073), inset to
    // 793 x 1440: 2:3 is limited by the width.
    content.curve_layout = 3;
    content.curve_aspect = 0;
    const Rect r = curve_print_rect(CurveKind::kQs, landscape_a4(), content);
    EXPECT_EQ(r.width(), 793);
    EXPECT_EQ(r.height(), 1189);
    EXPECT_EQ(r.left, 260);
    EXPECT_EQ(r.top, -500 - (1440 - 1189) / 2);

    // Every combination: inside the inset piece, centred, of its aspect.
    const CurveKind kinds[3] = {CurveKind::kQs, CurveKind::kSlgt, CurveKind::kSlgQ};
    for (bool land : {false, true}) {
        const PageSetup setup = land ? landscape_a4() : portrait_a4();
        for (int layout = 0; layout < 4; ++layout) {
            for (int aspect = 0; aspect < 2; ++aspect) {
                for (CurveKind kind : kinds) {
                    content.curve_layout = layout;
                    content.curve_aspect = aspect;
                    const Rect piece =
                        cut_piece(curve_print_area(setup, content), print_piece(kind, layout));
                    const Rect inset{piece.left + 10, piece.top - 10, piece.right - 20,
                                     piece.bottom + 10};
                    const Rect c = curve_print_rect(kind, setup, content);
                    SCOPED_TRACE(::testing::Message() << land << layout << aspect);
                    EXPECT_GE(c.left, inset.left);
                    EXPECT_LE(c.right, inset.right);
                    EXPECT_LE(c.top, inset.top);
                    EXPECT_GE(c.bottom, inset.bottom);
                    // Touches the piece on two opposite sides.
                    EXPECT_TRUE(c.width() == inset.width() || c.height() == inset.height());
                    EXPECT_LE(std::abs((c.left - inset.left) - (inset.right - c.right)), 1);
                    EXPECT_LE(std::abs((inset.top - c.top) - (c.bottom - inset.bottom)), 1);
                    if (aspect == 1) {
                        EXPECT_EQ(c.width(), c.height());
                    } else {
                        EXPECT_LE(std::abs(3 * c.width() - 2 * c.height()), 3);
                    }
                }
            }
        }
    }
}

TEST(PrintPlacement, TitleBlockIsPrintedByTheCurveAtTheTopOfItsPage) {
    for (int layout = 0; layout < 4; ++layout) {
        EXPECT_TRUE(prints_title_block(CurveKind::kQs, layout));
        EXPECT_EQ(prints_title_block(CurveKind::kSlgt, layout), layout == 0 || layout == 2);
        EXPECT_EQ(prints_title_block(CurveKind::kSlgQ, layout), layout == 0 || layout == 1);
    }
    // A stored layout out of range prints as layout 0.
    EXPECT_EQ(print_piece(CurveKind::kSlgt, 9), PrintPiece::kWhole);
    EXPECT_TRUE(prints_title_block(CurveKind::kSlgQ, -1));
}

TEST(PrintPlacement, NothingFitsOnATinyPage) {
    PageSetup setup;
    setup.paper_width = 520;
    setup.paper_height = 600;
    EXPECT_EQ(curve_print_rect(CurveKind::kQs, setup, PrintContent{}), Rect{});
}

TEST_F(CurveTest, QsPrintsEveryLayoutWithTheTitleBlock) {
    for (int layout = 0; layout < 4; ++layout) {
        doc_.print_content().curve_layout = layout;
        canvas_.clear();
        qs_.print(canvas_);
        const Rect expected =
            curve_print_rect(CurveKind::kQs, doc_.page_setup(), doc_.print_content());
        EXPECT_EQ(qs_.print_rect(), expected);
        // The frame of the title block, then the curve at the print rectangle.
        EXPECT_EQ(canvas_.of_kind<recorded::Rectangle>().size(), 1u);
        const auto moves = canvas_.of_kind<recorded::Translate>();
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0].origin, (Point{expected.left, expected.top}));
        EXPECT_NE(canvas_.find_text("Q-s"), nullptr);
    }

    // A page too small for a curve prints the title block alone.
    doc_.page_setup().paper_width = 520;
    canvas_.clear();
    qs_.print(canvas_);
    EXPECT_EQ(canvas_.count<recorded::Translate>(), 0u);
    EXPECT_EQ(canvas_.find_text("Q-s"), nullptr);
    EXPECT_EQ(canvas_.save_depth(), 0);
}

}  // namespace
}  // namespace kvd::testing
