// The kept picture: after any change, what a paint leaves is exactly what
// drawing the whole picture afresh gives, and only the changed places were
// drawn again.

#include "qt/retained_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

namespace kvd {
namespace {

// A crowded curve: rows of markers joined by lines, a label at each row's
// end, a title; about a third of a pixel per unit, as a curve window.
struct Scene {
    std::vector<std::vector<Point>> rows;
    std::string title = "s-lgt 曲线";

    Scene() {
        for (int r = 0; r < 12; ++r) {
            std::vector<Point> row;
            for (int i = 0; i < 16; ++i) row.push_back({60 + i * 100, -100 - r * 90 - (i * i) % 7});
            rows.push_back(row);
        }
    }

    void draw(Canvas& c) const {
        c.fill_rect({0, 0, 1800, -1300}, kWhite);
        Font font;
        font.face = "Times New Roman";
        font.height = 40;
        c.set_font(font);
        c.draw_text(Rect::below(0, -1200, 1800, 60), title, kTextCentre | kTextSingleLine);
        for (const auto& row : rows) {
            c.set_pen({PenStyle::kSolid, 3, rgb(0, 0, 255)});
            c.polyline(row);
            c.set_pen({PenStyle::kSolid, 1, rgb(255, 0, 0)});
            c.set_brush(Brush::solid(rgb(255, 0, 0)));
            for (Point p : row) c.ellipse({p.x - 16, p.y + 16, p.x + 16, p.y - 16});
            c.draw_text(Rect::below(row.back().x + 30, row.back().y + 20, 300, 40), "1200 kN",
                        kTextLeft | kTextSingleLine | kTextNoClip);
        }
    }
};

constexpr CanvasMapping kWindow{0.3358, 0.0, 0.0, true};
const QSize kPixels(620, 450);
constexpr QPainter::RenderHints kHints = QPainter::Antialiasing | QPainter::TextAntialiasing;

QImage paint(RetainedPicture& picture, TextCache& texts, const Scene& scene) {
    QImage out(kPixels, QImage::Format_RGB32);
    QPainter painter(&out);
    texts.start_paint();
    picture.paint(painter, kPixels, 1.0, kWindow, kHints, &texts,
                  [&scene](Canvas& c) { scene.draw(c); });
    return out;
}

QImage fresh(const Scene& scene) {
    RetainedPicture picture;
    TextCache texts;
    return paint(picture, texts, scene);
}

TEST(RetainedPictureTest, EveryPaintLeavesWhatAFreshPaintDraws) {
    RetainedPicture picture;
    TextCache texts;
    Scene scene;
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_EQ(picture.last_redrawn_share(), 1.0);

    // Nothing changed: nothing drawn again.
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_EQ(picture.last_redrawn_share(), 0.0);

    // A point dragged up, then down past its neighbours: its marker and its
    // two segments, where they were and where they are.
    scene.rows[5][8].y += 45;
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_GT(picture.last_redrawn_share(), 0.0);
    EXPECT_LT(picture.last_redrawn_share(), 0.05);
    scene.rows[5][8].y -= 90;
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_LT(picture.last_redrawn_share(), 0.05);

    // The last point of a row, with the label after it.
    scene.rows[2].back().y += 30;
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_LT(picture.last_redrawn_share(), 0.1);

    // A marker less (the drawings no longer pair up one for one), then more.
    scene.rows[8].erase(scene.rows[8].begin() + 6);
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_LT(picture.last_redrawn_share(), 0.6);
    scene.rows[8].insert(scene.rows[8].begin() + 3, Point{200, -700});
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));

    // A new text of another length.
    scene.title = "δ-lgt";
    EXPECT_EQ(paint(picture, texts, scene), fresh(scene));
    EXPECT_LT(picture.last_redrawn_share(), 0.2);
}

TEST(RetainedPictureTest, AnotherSizeOrScaleIsDrawnWhole) {
    RetainedPicture picture;
    TextCache texts;
    const Scene scene;
    paint(picture, texts, scene);
    QImage out(kPixels, QImage::Format_RGB32);
    {
        QPainter painter(&out);
        picture.paint(painter, kPixels, 1.0, {0.3, 0.0, 0.0, true}, kHints, &texts,
                      [&scene](Canvas& c) { scene.draw(c); });
    }
    EXPECT_EQ(picture.last_redrawn_share(), 1.0);
    {
        QPainter painter(&out);
        picture.paint(painter, QSize(500, 400), 1.0, {0.3, 0.0, 0.0, true}, kHints, &texts,
                      [&scene](Canvas& c) { scene.draw(c); });
    }
    EXPECT_EQ(picture.last_redrawn_share(), 1.0);
}

}  // namespace
}  // namespace kvd
