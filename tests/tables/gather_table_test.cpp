// The summary table: fill texts and colours, the maxima line, pagination and
// the printed pipeline (title, page header, band, body, footer).

#include "tables/gather_table.h"

#include <gtest/gtest.h>

#include "doc/scripted_user_interface.h"
#include "draw/recording_canvas.h"

namespace kvd {
namespace {

// The texts drawn that contain (or equal) a string.
std::vector<recorded::Text> texts_containing(const RecordingCanvas& canvas, std::string_view part) {
    std::vector<recorded::Text> found;
    for (const auto& text : canvas.texts()) {
        if (text.text.find(part) != std::string::npos) found.push_back(text);
    }
    return found;
}
std::vector<recorded::Text> texts_exactly(const RecordingCanvas& canvas, std::string_view whole) {
    std::vector<recorded::Text> found;
    for (const auto& text : canvas.texts()) {
        if (text.text == whole) found.push_back(text);
    }
    return found;
}

class GatherTableTest : public ::testing::Test {
protected:
    GatherTableTest() {
        // Channel 1 on the test pile and averaged (the template's setup).
        table_.fill();
    }
    // Sets the settlement of every reading of grade g through channel 1,
    // then has the document recompute what follows from it.
    void settle(int g, double value) {
        for (auto& point : doc_.record().grades.grade(g)->points()) point.channel[0] = value;
        doc_.refresh_derived();
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1700000000}; }};
    FixedFontMetrics metrics_;
    CGatherTable table_{doc_, metrics_};
};

TEST_F(GatherTableTest, FillsOneRowPerGradeWithRoundedSettlements) {
    // The first reading of each grade repeats the previous grade's last one,
    // so the last reading carries the grade's settlement.
    settle(1, 1.234);
    settle(2, 2.4651);
    settle(11, 2.0);  // the first unloading grade
    table_.fill();
    ASSERT_EQ(table_.row_count(), 17);
    // Row g + 1 is grade g; serial numbers start at 0.
    EXPECT_EQ(table_.cell_text(1, 0), "0");
    EXPECT_EQ(table_.cell_text(0, 0), "序号");
    EXPECT_EQ(table_.cell_text(3, 1), "200");
    EXPECT_EQ(table_.cell_text(3, 2), "5");
    EXPECT_EQ(table_.cell_text(3, 3), "10");
    EXPECT_EQ(table_.cell_text(2, 5), "1.23");
    EXPECT_EQ(table_.cell_text(3, 4), "1.24");  // round2(2.47 - 1.23)
    EXPECT_EQ(table_.cell_text(3, 5), "2.47");
    EXPECT_EQ(table_.cell_text(12, 4), "2.00");  // 2.00 - 0 of grade 10

    EXPECT_EQ(table_.cell(1, 3)->text_colour, kLoadingText);
    EXPECT_EQ(table_.cell(1, 3)->background, kLoadingBackground);
    EXPECT_EQ(table_.cell(12, 0)->text_colour, kUnloadingText);
    EXPECT_EQ(table_.cell(12, 0)->background, kUnloadingBackground);
    EXPECT_EQ(table_.row_height(0), 3 * table_.default_row_height() - 2);
    EXPECT_EQ(table_.column_width(4), table_.chars_width(12));
}

TEST_F(GatherTableTest, NegativeSettlementsRoundAwayFromZero) {
    settle(1, -0.127);
    table_.fill();
    EXPECT_EQ(table_.cell_text(2, 5), "-0.13");
    EXPECT_EQ(table_.cell_text(2, 4), "-0.13");
}

TEST_F(GatherTableTest, MaximaLineWithAndWithoutUnloading) {
    settle(10, 10.0);
    for (int g = 11; g < 16; ++g) settle(g, 6.0);
    table_.fill();
    auto texts = table_.maxima_texts();
    EXPECT_EQ(texts[0], "  最大沉降量:  10.00 mm");
    EXPECT_EQ(texts[1], "最大回弹量:   4.00 mm");
    EXPECT_EQ(texts[2], "回弹率: 40.00%");

    for (int g = 15; g >= 11; --g) doc_.record().grades.remove_grade(g);
    doc_.record().test_params.direction_kind = 2;
    table_.fill();
    texts = table_.maxima_texts();
    EXPECT_EQ(texts[0], "  最大上拔量:  10.00 mm");
    EXPECT_EQ(texts[1], "最大回弹量:");
    EXPECT_EQ(texts[2], "回弹率:");
}

TEST_F(GatherTableTest, ZeroMaximumGivesZeroRatio) {
    const auto texts = table_.maxima_texts();
    EXPECT_EQ(texts[2], "回弹率:  0.00%");
}

TEST_F(GatherTableTest, PaginationCountsTheMaximaLine) {
    PageSetup setup;
    PrintContent content;
    EXPECT_EQ(table_.page_count(setup, content), 1);

    // Rows per page: (2970 - 180 - band - 80 - 80 - 250 - 150) / 60.
    const int band = setup.header_rows_height;
    EXPECT_EQ(band, (3 * table_.default_row_height() - 2) * 60 / table_.default_row_height());
    const int per_page = (2970 - 180 - band - 80 - 80 - 250 - 150) / 60;
    // Exactly one page of body rows pushes the maxima line to a page of its own.
    doc_.record().grades.clear();
    for (int g = 0; g < per_page; ++g) {
        SamplePoint point{};
        point.grade = g;
        point.loading = kLoading;
        doc_.record().grades.append_grade().append(point);
    }
    EXPECT_EQ(table_.page_count(setup, content), 2);
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 2, setup, content));
    EXPECT_EQ(texts_containing(canvas, "最大沉降量").size(), 1u);
    EXPECT_TRUE(texts_containing(canvas, "汇总表").size() == 1u);

    doc_.record().grades.clear();
    EXPECT_EQ(table_.page_count(setup, content), 0);
    EXPECT_FALSE(table_.print_page(canvas, 1, setup, content));

    setup.paper_height = 900;  // no room for a body row
    EXPECT_EQ(table_.page_count(setup, content), 0);
}

TEST_F(GatherTableTest, PrintedPageCarriesTitleHeaderBandBodyAndSignOff) {
    doc_.record().test_params.site_name = "某工地";
    doc_.record().test_params.pile_number = "S-1";
    doc_.record().test_params.pile_length = 12.5;
    doc_.record().test_params.pile_diameter = 800;
    PageSetup setup;
    PrintContent content;
    content.table_title = 1;
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content));
    EXPECT_EQ(texts_containing(canvas, "单桩竖向抗拔静载试验汇总表").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "工程名称： 某工地").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "试验桩号： S-1").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "桩长：  12.5 m").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "桩径： Φ800 mm").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "测试日期： 2023-11-15").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "序 号").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "试验：").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "校核：").size(), 1u);

    // Everything lies inside the printable area of the paper.
    for (const auto& text : canvas.texts()) {
        EXPECT_GE(text.box.left, setup.left_margin) << text.text;
        EXPECT_LE(text.box.right, setup.paper_width - setup.right_margin) << text.text;
        EXPECT_LE(text.box.top, -setup.top_margin) << text.text;
        EXPECT_GE(text.box.bottom, -(setup.paper_height - setup.bottom_margin)) << text.text;
    }

    // Foundation tests label the point and the plate; small values print bare labels.
    doc_.record().test_params.test_object = 1;
    doc_.record().test_params.plate_area = 0.005;
    doc_.record().test_params.replacement_ratio = 0.25;
    content.sign_off = kSignOffNever;
    canvas.clear();
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content));
    EXPECT_EQ(texts_containing(canvas, "试验点号： S-1").size(), 1u);
    EXPECT_EQ(texts_exactly(canvas, "压板面积：").size(), 1u);
    EXPECT_EQ(texts_containing(canvas, "置换率： 0.250").size(), 1u);
    EXPECT_TRUE(texts_containing(canvas, "试验：").empty());
}

}  // namespace
}  // namespace kvd
