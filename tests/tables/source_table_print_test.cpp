// The printed raw record table: rows per page and the page mapping with the
// shorter first page, the test information block, the band with the printed
// channels, the merged load column, the sign-off line and the printable area.

#include <gtest/gtest.h>

#include "base/text_codec.h"
#include "raw_table_fixture.h"
#include "tables/source_table.h"

namespace kvd::testing {
namespace {

class SourceTablePrintTest : public RawTableTest {
  protected:
    // n readings, three per grade, 100 kN per grade.
    void add_readings(int n) {
        for (int i = 0; i < n; ++i) {
            RawReading r = raw(1 + i / 3, i % 3, 100 * (1 + i / 3), local(8, 0) + 300 * i);
            r.channel[0] = 0.1 * i;
            r.channel[1] = 0.1 * i;
            add(r);
        }
        rebuild();
    }
    // The rows per page of a setup, as the table counts them.
    int rows_per_page(PageSetup& setup) {
        table_.page_count(setup, content_);
        return (setup.paper_height - setup.header_rows_height - setup.title_spacing -
                setup.title_height - setup.top_margin - setup.bottom_margin - setup.row_height) /
               setup.row_height;
    }
    void fill_header_for_block() {
        TestHeader& h = doc_.record().header;
        write_gbk_field(h.site_name, "测试工程");
        write_gbk_field(h.pile_number, "S-12");
        h.test_time = local(8, 0);
        h.pile_length = 25.0f;
        h.pile_diameter = 800;
        h.longitude = 113.25;
        h.latitude = 23.125;
        write_gbk_field(h.instrument_number, "VX-01");
        write_gbk_field(h.test_method, "建筑基桩检测技术规范");
        h.max_load = 3000;
        write_gbk_field(h.jack_numbers, "J1");
        h.jack_count = 2;
        h.pressure_method = 2;
        h.equation_k = 1.5f;
        h.equation_b = -0.25f;
        write_gbk_field(h.sensor_numbers[0], "A1");
        write_gbk_field(h.sensor_numbers[1], "A2");
        write_gbk_field(h.sensor_numbers[2], "A3");  // channel 3 is not in use
        write_gbk_field(h.sensor_numbers[3], "A4");
        write_gbk_field(h.pressure_sensor_number, "P-7");
        rebuild();
    }

    PrintContent content_;
    CSourceTable table_{doc_, metrics_};
};

TEST_F(SourceTablePrintTest, BelowTwelveRowsPerPageNothingPrints) {
    add_readings(3);
    PageSetup setup;
    const int per_page = rows_per_page(setup);
    setup.paper_height -= (per_page - 11) * setup.row_height;
    ASSERT_EQ(rows_per_page(setup), 11);
    EXPECT_EQ(table_.page_count(setup, content_), 0);
    RecordingCanvas canvas;
    EXPECT_FALSE(table_.print_page(canvas, 1, setup, content_));
    EXPECT_EQ(canvas.drawing_count(), 0u);

    // Twelve rows: one reading on page 1, the other two on page 2.
    setup.paper_height += setup.row_height;
    ASSERT_EQ(rows_per_page(setup), 12);
    EXPECT_EQ(table_.page_count(setup, content_), 2);
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content_));
    EXPECT_EQ(count_exactly(canvas, "100"), 1);
    EXPECT_EQ(canvas.find_text("100")->box.height(), setup.row_height);
}

TEST_F(SourceTablePrintTest, TheFirstPageHoldsElevenRowsFewer) {
    PageSetup setup;
    add_readings(1);  // the band height on paper follows the first body row
    const int per_page = rows_per_page(setup);
    const int first = per_page - 11;
    doc_.record().raw_readings.clear();
    doc_.record().param_snapshots.clear();
    add_readings(first);
    EXPECT_EQ(table_.page_count(setup, content_), 1);

    add(raw(99, 0, 9900, local(12, 0)));
    rebuild();
    EXPECT_EQ(table_.page_count(setup, content_), 2);
    for (int i = 1; i < per_page; ++i) add(raw(99, i, 9900, local(12, 0)));
    rebuild();
    EXPECT_EQ(table_.page_count(setup, content_), 2);  // first + per_page readings
    add(raw(100, 0, 10000, local(13, 0)));
    rebuild();
    EXPECT_EQ(table_.page_count(setup, content_), 3);

    // Page 2 begins with reading `first`: its load is the only "9900" cell.
    RecordingCanvas page2;
    ASSERT_TRUE(table_.print_page(page2, 2, setup, content_));
    EXPECT_EQ(count_exactly(page2, "9900"), 1);
    EXPECT_TRUE(texts_containing(page2, "工程名称").empty());
    RecordingCanvas page3;
    ASSERT_TRUE(table_.print_page(page3, 3, setup, content_));
    EXPECT_EQ(count_exactly(page3, "10000"), 1);
    EXPECT_EQ(count_exactly(page3, "9900"), 0);
}

TEST_F(SourceTablePrintTest, EveryPageStaysInsideThePrintableAreaWithItsSignOff) {
    content_.sign_off = kSignOffNever;  // this table prints it whatever the setting
    PageSetup portrait;
    PageSetup landscape;
    std::swap(landscape.paper_width, landscape.paper_height);
    landscape.landscape = 1;
    for (PageSetup setup : {portrait, landscape}) {
        doc_.record().raw_readings.clear();
        doc_.record().param_snapshots.clear();
        add_readings(2 * rows_per_page(setup));
        const int pages = table_.page_count(setup, content_);
        ASSERT_EQ(pages, 3);
        for (int page = 1; page <= pages; ++page) {
            RecordingCanvas canvas;
            ASSERT_TRUE(table_.print_page(canvas, page, setup, content_));
            EXPECT_EQ(count_exactly(canvas, "试验："), 1) << page;
            EXPECT_EQ(count_exactly(canvas, "校核："), 1) << page;
            // Printable area: from the top margin down to the bottom margin.
            EXPECT_GE(lowest_drawing(canvas), -(setup.paper_height - setup.bottom_margin)) << page;
            const auto* title = canvas.find_text("单桩竖向抗压静载试验原始记录表");
            ASSERT_NE(title, nullptr);
            EXPECT_EQ(title->box.top, -setup.top_margin);
        }
    }
}

TEST_F(SourceTablePrintTest, PageOneCarriesTheTestInformationBlock) {
    add_readings(4);
    fill_header_for_block();
    const auto rows = table_.test_info_texts();
    using Row = std::vector<std::string>;
    EXPECT_EQ(rows[0], (Row{"  工程名称：测试工程", "  试验桩号：S-12"}));
    EXPECT_EQ(rows[1], (Row{"  测试时间：2024-05-01  08:00", "  桩长： 25.0 m", "  桩径：800 mm"}));
    EXPECT_EQ(rows[2],
              (Row{"  GPS坐标信息：经度=113.250000, 纬度=23.125000", "  测试仪器编号：VX-01"}));
    EXPECT_EQ(rows[3], (Row{"  试验方法：建筑基桩检测技术规范", "  最大预估载荷：3000 kN"}));
    EXPECT_EQ(rows[4], (Row{"  千斤顶编号：J1", "  千斤顶数量：2",
                            "  率定方程：F(KN) = 1.500000*P(Mpa)-0.250000"}));
    EXPECT_EQ(rows[5], (Row{"  位移测试通道：s1   s2   ", "  锚桩位移监测通道：s4   "}));
    EXPECT_EQ(rows[6], (Row{"  位移传感器编号：A1    A2    A4    "}));
    EXPECT_EQ(rows[7], (Row{"  压力传感器类型：力", "  压力传感器编号：P-7"}));
    EXPECT_EQ(rows[8],
              (Row{"  加载读数间隔：0    5    10    15    15    15    30    30    ...  分"}));
    EXPECT_EQ(rows[9], (Row{"  卸载读数间隔：0    15    15    30    180    180    ...  分"}));

    // On paper: a frame ten rows high under the title, texts left-aligned.
    PageSetup setup;
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content_));
    const int h = setup.row_height;
    const int block_top = -setup.top_margin - setup.title_height - setup.title_spacing;
    const int width = setup.printable_width();
    for (const auto& row : rows) {
        for (const auto& text : row) {
            const auto* drawn = canvas.find_text(text);
            ASSERT_NE(drawn, nullptr) << text;
            EXPECT_EQ(drawn->format & kTextCentre, 0u) << text;
        }
    }
    bool framed = false;
    for (const auto& rect : canvas.of_kind<recorded::Rectangle>()) {
        framed |= rect.rect ==
                  Rect{setup.left_margin, block_top, setup.left_margin + width, block_top - 10 * h};
    }
    EXPECT_TRUE(framed);
    const auto* equation = canvas.find_text(rows[4][2]);
    EXPECT_EQ(equation->box.left, setup.left_margin + width / 2);
    EXPECT_EQ(equation->box.right, setup.left_margin + width);
    EXPECT_EQ(equation->box.top, block_top - 4 * h);
    // The band follows the block.
    const auto* band = canvas.find_text("实  测  读  数 (mm)");
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->box.top, block_top - 10 * h);
}

TEST_F(SourceTablePrintTest, InformationBlockVariants) {
    TestHeader& h = doc_.record().header;
    h.test_object = 1;
    h.pressure_unit = 1;
    h.plate_area = 0.5f;
    h.replacement_ratio = 0.125f;
    h.max_load = 450;
    h.load_sensor_type = 1;
    h.in_use[0] = h.in_use[1] = h.in_use[3] = 0;  // no channel in use
    const std::uint16_t distinct[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::memcpy(h.load_intervals, distinct, sizeof distinct);
    h.pressure_method = 0;
    h.cylinder_bore = 320;
    rebuild();
    auto rows = table_.test_info_texts();
    EXPECT_EQ(rows[0][1], "  试验点号：");
    EXPECT_EQ(rows[1][1], "  压板面积：0.50 ㎡");
    EXPECT_EQ(rows[1][2], "  置换率：0.125");
    EXPECT_EQ(rows[3][1], "  最大预估载荷：450 kPa");
    EXPECT_EQ(rows[4][2], "  千斤顶内径：320 mm");
    EXPECT_EQ(rows[5][0], "  位移测试通道：无");
    EXPECT_EQ(rows[5][1], "  锚桩位移监测通道：无");
    EXPECT_EQ(rows[6][0], "  位移传感器编号：");
    EXPECT_EQ(rows[7][0], "  压力传感器类型：油压");
    EXPECT_EQ(rows[8][0],
              "  加载读数间隔：0    1    2    3    4    5    6    7    8    9    10    11    ");

    write_gbk_field(h.jack_numbers, "QD-3");
    h.pressure_method = 1;
    rebuild();
    EXPECT_EQ(table_.test_info_texts()[4][2], "  率定表编号：QD-3");
    h.pressure_method = 3;
    h.equation_k = 0.5f;
    h.equation_b = 2.0f;
    EXPECT_EQ(table_.test_info_texts()[4][2], "  回归方程：P(Mpa) = 0.500000*F(KN)+2.000000");
    h.pressure_method = 9;
    EXPECT_EQ(table_.test_info_texts()[4][2], "");
}

TEST_F(SourceTablePrintTest, BandAndBodyShowThePrintedChannels) {
    add_readings(5);  // grade 1: readings 0-2, grade 2: readings 3-4
    doc_.record().header.direction_kind = 2;
    rebuild();
    PageSetup setup;
    RecordingCanvas canvas;
    ASSERT_TRUE(table_.print_page(canvas, 1, setup, content_));

    // In use: 1, 2 and 4; padded with the lowest unused channel, 3.
    for (const char* caption : {"表 1", "表 2", "表 3", "表 4", "本级\n上拔\n(mm)",
                                "平均\n上拔\n(mm)", "\n备注\n", "本级\n荷载\n(kN)"}) {
        EXPECT_EQ(count_exactly(canvas, caption), 1) << caption;
    }
    // Channels 3 (unused) and 4 (anchor) print "--" on every row.
    EXPECT_EQ(count_exactly(canvas, "--"), 10);
    // The load of each grade once, spanning its rows.
    const int h = setup.row_height;
    const auto* load = canvas.find_text("100");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->box.height(), 3 * h);
    EXPECT_EQ(count_exactly(canvas, "100"), 1);
    EXPECT_EQ(count_exactly(canvas, "200"), 1);
    EXPECT_EQ(canvas.find_text("200")->box.height(), 2 * h);
    // This grade: reading 4 (average 0.40) less grade 1's last (0.20).
    EXPECT_EQ(count_exactly(canvas, "0.20"), 2);  // reading 2 (from 0) and reading 4
    EXPECT_EQ(count_exactly(canvas, "0.10"), 2);  // reading 1 and reading 3
    // Equal widths: the 12 columns split the printable width.
    const int width = setup.printable_width();
    const auto* remark_title = canvas.find_text("\n备注\n");
    EXPECT_EQ(remark_title->box.left, setup.left_margin + 11 * width / 12);
}

TEST_F(SourceTablePrintTest, TheDemoTestPrintsEveryPage) {
    ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/demo.PTX"));
    ASSERT_GT(doc_.record().raw_count(), 0);
    table_.fill();
    EXPECT_EQ(table_.row_count(), doc_.record().raw_count() + 1);
    PageSetup setup;
    const int pages = table_.page_count(setup, content_);
    ASSERT_GT(pages, 0);
    int rows = 0;
    for (int page = 1; page <= pages; ++page) {
        RecordingCanvas canvas;
        ASSERT_TRUE(table_.print_page(canvas, page, setup, content_));
        EXPECT_GE(lowest_drawing(canvas), -(setup.paper_height - setup.bottom_margin));
        for (const auto& text : canvas.texts()) {  // one "HH:MM" per body row
            rows += text.text.size() == 5 && text.text[2] == ':';
        }
    }
    EXPECT_EQ(rows, doc_.record().raw_count());
    RecordingCanvas past;
    EXPECT_FALSE(table_.print_page(past, pages + 1, setup, content_));
}

}  // namespace
}  // namespace kvd::testing
