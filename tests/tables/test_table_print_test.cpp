// The detail tables on paper: printed rows with and without the zero-minute
// rows, page counts, the channel columns padded to four, the two-level band,
// and the body with its merged load cells, times and averages.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "detail_table_fixture.h"
#include "draw/recording_canvas.h"

namespace kvd::testing {
namespace {

class DetailPrintTest : public DetailTableTest {
  protected:
    // Prints a page and returns what it drew.
    RecordingCanvas print(CTestTable& table, int page) {
        RecordingCanvas canvas;
        EXPECT_TRUE(table.print_page(canvas, page, doc_.page_setup(), doc_.print_content()));
        return canvas;
    }
    int column_width() const {
        return doc_.page_setup().printable_width() / (4 + 5);  // four channel columns
    }
    // The texts of body row i right of the load column, left to right.
    std::vector<std::string> body_row(const RecordingCanvas& canvas, int i) const {
        const int body_top = canvas.of_kind<recorded::Rectangle>().at(0).rect.bottom;
        const int h = doc_.page_setup().row_height;
        const int load_right = doc_.page_setup().left_margin + column_width();
        std::vector<recorded::Text> cells;
        for (const auto& text : canvas.texts()) {
            if (text.box.top == body_top - i * h && text.box.height() == h &&
                text.box.left >= load_right && (text.format & kTextCentre) != 0) {
                cells.push_back(text);
            }
        }
        std::sort(cells.begin(), cells.end(),
                  [](const auto& a, const auto& b) { return a.box.left < b.box.left; });
        std::vector<std::string> texts;
        for (const auto& cell : cells) texts.push_back(cell.text);
        return texts;
    }
    // The load column's texts with the number of rows each spans.
    std::vector<std::pair<std::string, int>> load_cells(const RecordingCanvas& canvas) const {
        const int left = doc_.page_setup().left_margin;
        std::vector<std::pair<std::string, int>> cells;
        for (const auto& text : canvas.texts()) {
            if (text.box.left == left && text.box.right == left + column_width() &&
                text.box.top < canvas.of_kind<recorded::Rectangle>().at(0).rect.bottom + 1) {
                cells.emplace_back(text.text, text.box.height() / doc_.page_setup().row_height);
            }
        }
        return cells;
    }
};

TEST_F(DetailPrintTest, PrintedRowsSkipOrKeepEachLaterGradesZeroMinuteReading) {
    doc_.print_content().zero_minute_rows = 0;
    EXPECT_EQ(load_.printed_readings(),
              (std::vector<PrintedReading>{{0, 0}, {1, 1}, {1, 2}, {2, 1}}));
    // The unload table's first grade prints its reading 0.
    EXPECT_EQ(unload_.printed_readings(), (std::vector<PrintedReading>{{3, 0}, {3, 1}, {4, 1}}));
    doc_.print_content().zero_minute_rows = 1;
    EXPECT_EQ(load_.printed_readings(),
              (std::vector<PrintedReading>{{0, 0}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}}));
}

TEST_F(DetailPrintTest, PageCountIncludesTheZeroMinuteRows) {
    // Rows per page from the page setup: the band is the screen header's
    // height in paper rows.
    PageSetup& setup = doc_.page_setup();
    const int band =
        (3 * load_.default_row_height() - 2) * setup.row_height / load_.default_row_height();
    const int per_page = (setup.paper_height - 3 * setup.row_height - band - setup.title_spacing -
                          setup.title_height - setup.top_margin - setup.bottom_margin) /
                         setup.row_height;
    ASSERT_EQ(per_page, 34);
    // 1 + 11 × 3 = 34 rows fill one page; the 11 zero-minute rows need a second.
    std::vector<GradeSpec> loading = {{0, 1}};
    for (int g = 1; g <= 11; ++g) loading.push_back({100 * g, 4});
    build(loading, {});

    doc_.print_content().zero_minute_rows = 0;
    EXPECT_EQ(load_.page_count(setup, doc_.print_content()), 1);
    EXPECT_EQ(setup.header_rows_height, band);
    doc_.print_content().zero_minute_rows = 1;
    EXPECT_EQ(load_.page_count(setup, doc_.print_content()), 2);

    // Page 2 holds rows 34 ... 44: grade 9 from its reading 1, grades 10 and
    // 11 whole; each grade's load once, spanning its rows.
    const RecordingCanvas page2 = print(load_, 2);
    EXPECT_EQ(load_cells(page2),
              (std::vector<std::pair<std::string, int>>{{"900", 3}, {"1000", 4}, {"1100", 4}}));
    EXPECT_EQ(body_row(page2, 10).at(0), "30");  // grade 11's last reading
    EXPECT_TRUE(body_row(page2, 11).empty());
    RecordingCanvas none;
    EXPECT_FALSE(load_.print_page(none, 3, setup, doc_.print_content()));
}

TEST_F(DetailPrintTest, BodyShowsTimesChannelsAndAverages) {
    doc_.print_content().zero_minute_rows = 1;
    const RecordingCanvas page = print(load_, 1);
    EXPECT_EQ(load_cells(page),
              (std::vector<std::pair<std::string, int>>{{"0", 1}, {"100", 3}, {"200", 2}}));
    using V = std::vector<std::string>;
    // Elapsed, cumulative (after the earlier grades' holding times), channels
    // 1-4 (3 is not averaged, 4 pads the list), this grade, average.
    EXPECT_EQ(body_row(page, 0),
              (V{"0", "0", "   0.00", "   0.20", "--", "--", "   0.00", "   0.10"}));
    EXPECT_EQ(body_row(page, 3),
              (V{"15", "15", "   1.20", "   1.40", "--", "--", "   1.20", "   1.30"}));
    EXPECT_EQ(body_row(page, 4),
              (V{"0", "15", "   1.20", "   1.40", "--", "--", "   0.00", "   1.30"}));
    EXPECT_EQ(body_row(page, 5),
              (V{"5", "20", "   2.10", "   2.30", "--", "--", "   0.90", "   2.20"}));
    EXPECT_TRUE(body_row(page, 6).empty());
    EXPECT_NE(page.find_text("单桩竖向抗压静载试验加载详测表"), nullptr);

    // The unload table counts the loading grades' holding times (0 + 15 + 5).
    doc_.print_content().zero_minute_rows = 0;
    const RecordingCanvas unload = print(unload_, 1);
    EXPECT_EQ(body_row(unload, 0).at(1), "20");
    EXPECT_EQ(body_row(unload, 2).at(1), "50");  // grade 4's reading 1: 20 + 15 + 15
    EXPECT_NE(unload.find_text("单桩竖向抗压静载试验卸载详测表"), nullptr);
}

TEST_F(DetailPrintTest, BandCaptionsAndChannelPadding) {
    const RecordingCanvas page = print(load_, 1);
    for (const char* caption : {"荷 载", "(kN)", "观测时间(分)", "读    数  (mm)", "表 1", "表 2",
                                "表 3", "表 4", "平均沉降(mm)"}) {
        EXPECT_NE(page.find_text(caption), nullptr) << caption;
    }
    EXPECT_EQ(page.find_text("表 5"), nullptr);

    // Five averaged test-pile channels: five channel columns, none padded.
    TestParams& p = doc_.record().test_params;
    for (int j = 0; j < 5; ++j) {
        p.channel_role[static_cast<std::size_t>(j)] = ChannelRole::kTestPile;
        p.averaged[static_cast<std::size_t>(j)] = 1;
    }
    p.direction_kind = 2;
    p.test_object = 1;
    p.pressure_unit = 1;
    const RecordingCanvas wide = print(load_, 1);
    EXPECT_NE(wide.find_text("表 5"), nullptr);
    EXPECT_EQ(wide.find_text("--"), nullptr);
    EXPECT_NE(wide.find_text("平均上拔(mm)"), nullptr);
    EXPECT_NE(wide.find_text("(kPa)"), nullptr);
}

TEST_F(DetailPrintTest, UnloadTableWithoutUnloadingGradesPrintsNothing) {
    build({{0, 1}, {100, 3}}, {});
    EXPECT_EQ(unload_.page_count(doc_.page_setup(), doc_.print_content()), 0);
    RecordingCanvas canvas;
    EXPECT_FALSE(unload_.print_page(canvas, 1, doc_.page_setup(), doc_.print_content()));
    EXPECT_EQ(canvas.drawing_count(), 0u);
}

}  // namespace
}  // namespace kvd::testing
