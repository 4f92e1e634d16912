// The title block of a printed curve page: texts for piles and foundations,
// the two or four rows, and the simple summary of the loading grades.
// The tests run at TZ=CST-8, so 1700000000 is 2023-11-15 local time.

#include <gtest/gtest.h>

#include <algorithm>

#include "curve_fixture.h"
#include "curves/title_block.h"

namespace kvd::testing {
namespace {

TestParams pile() {
    TestParams p;
    p.site_name = "滨江大道桥";
    p.pile_number = "S-12";
    p.test_time = 1700000000;
    p.pile_length = 25.5;
    p.pile_diameter = 800;
    return p;
}

TEST(TitleBlockTexts, Pile) {
    TestParams p = pile();
    TitleBlockTexts t = title_block_texts(p);
    EXPECT_EQ(t.row1, (std::vector<std::string>{"  工程名称： 滨江大道桥", "  试验桩号： S-12"}));
    EXPECT_EQ(t.row2, (std::vector<std::string>{"  测试日期： 2023-11-15", "  桩长：  25.5 m",
                                                "  桩径： Φ800 mm"}));
    p.section_shape = 1;
    EXPECT_EQ(title_block_texts(p).row2[2], "  桩径： 800×800 mm");
    p.pile_diameter = 0;
    p.pile_length = 0.01;
    t = title_block_texts(p);
    EXPECT_EQ(t.row2[1], "  桩长：");
    EXPECT_EQ(t.row2[2], "  桩径：");
}

TEST(TitleBlockTexts, Foundation) {
    TestParams p = pile();
    p.test_object = 1;
    p.pile_number = "P1";
    p.plate_area = 2.0;
    p.replacement_ratio = 0.25;
    TitleBlockTexts t = title_block_texts(p);
    EXPECT_EQ(t.row1[1], "  试验点号： P1");
    EXPECT_EQ(t.row2[1], "  压板面积： 2.00 ㎡");
    EXPECT_EQ(t.row2[2], "  置换率： 0.250");
    p.plate_area = 0.01;
    p.replacement_ratio = 0;
    t = title_block_texts(p);
    EXPECT_EQ(t.row2[1], "  压板面积：");
    EXPECT_EQ(t.row2[2], "  置换率：");
}

class TitleBlockTest : public CurveTest {
protected:
    void draw() {
        canvas_.clear();
        doc_.record().test_params.site_name = "滨江大道桥";
        draw_title_block(canvas_, doc_.record(), doc_.page_setup(), doc_.print_content());
    }
    // y of the full-width lines under the rows.
    std::vector<int> row_lines() const {
        std::vector<int> ys;
        for (const auto& l : canvas_.lines()) {
            if (l.from.x == 250 && l.to.x == 1850 && l.from.y == l.to.y) ys.push_back(l.from.y);
        }
        return ys;
    }
};

TEST_F(TitleBlockTest, TwoRowsInTheFrame) {
    doc_.print_content().simple_summary = 0;
    draw();
    const auto frames = canvas_.of_kind<recorded::Rectangle>();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (Rect{250, -250, 1850, -2820}));
    EXPECT_EQ(frames[0].pen, (Pen{PenStyle::kSolid, 3, kBlack}));
    EXPECT_TRUE(frames[0].brush.hollow);
    EXPECT_EQ(row_lines(), (std::vector<int>{-310, -370}));

    const auto* site = canvas_.find_text("  工程名称： 滨江大道桥");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->box, (Rect{250, -250, 250 + 1066, -310}));
    EXPECT_EQ(site->format, kTextLeft | kTextVCentre | kTextSingleLine);
    EXPECT_EQ(site->font.face, "Times New Roman");
    EXPECT_EQ(site->font.height, -42);  // 7/10 of the row height, character height
    EXPECT_EQ(site->font.weight, 400);
    EXPECT_EQ(site->colour, kBlack);
    const auto* date = canvas_.find_text("  测试日期： 2023-11-15");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->box, (Rect{250, -310, 250 + 533, -370}));
    EXPECT_EQ(canvas_.find_text("荷载(kN)"), nullptr);
    EXPECT_EQ(canvas_.save_depth(), 0);
}

TEST_F(TitleBlockTest, SummaryRowsListTheLoadingGrades) {
    draw();
    EXPECT_EQ(row_lines(), (std::vector<int>{-310, -370, -430, -490}));
    const auto* loads = canvas_.find_text("荷载(kN)");
    ASSERT_NE(loads, nullptr);
    // " 荷载(kPa) ": 7 half-width characters of 21 and 2 Chinese of 42, plus 8.
    const int header = 7 * 21 + 2 * 42 + 8;
    EXPECT_EQ(loads->box, (Rect{250, -370, 250 + header, -430}));
    EXPECT_NE(canvas_.find_text("沉降(mm)"), nullptr);

    // Four loading grades share the rest of the width; unloading grades are left out.
    const int start = 250 + header;
    const int column = (1850 - start) / 4;
    std::vector<std::string> row3;
    std::vector<std::string> row4;
    for (const auto& t : canvas_.texts()) {
        if (t.box.left < start) continue;
        if (t.box.top != -370 && t.box.top != -430) continue;
        (t.box.top == -370 ? row3 : row4).push_back(t.text);
        EXPECT_EQ(t.format & kTextCentre, kTextCentre);
    }
    EXPECT_EQ(row3, (std::vector<std::string>{"0", "100", "200", "300"}));
    EXPECT_EQ(row4, (std::vector<std::string>{"  0.00", "  1.00", "  2.50", "  4.50"}));
    EXPECT_EQ(canvas_.find_text("100")->box.left, start + column);

    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.pressure_unit = 1;
    doc_.record().test_params.direction_kind = 2;
    draw();
    EXPECT_NE(canvas_.find_text("荷载(kPa)"), nullptr);
    EXPECT_NE(canvas_.find_text("上拔(mm)"), nullptr);

    // A test without grades keeps the header column alone.
    build({});
    draw();
    EXPECT_NE(canvas_.find_text("上拔(mm)"), nullptr);
    EXPECT_EQ(canvas_.find_text("  0.00"), nullptr);
}

}  // namespace
}  // namespace kvd::testing
