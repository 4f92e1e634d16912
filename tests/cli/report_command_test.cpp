// kvdtool report: the whole print job as one PDF, checked with the poppler
// readers: page count and paper size (pdfinfo), the page numbers, header and
// footer on the pages and in the bands where they belong (pdftotext), the
// overrides, and that nothing to print writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "cli/kvdtool_fixture.h"

namespace kvd {
namespace {

class ReportTest : public KvdtoolTest {
protected:
    void SetUp() override {
        KvdtoolTest::SetUp();
        readers_ = std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") == 0;
    }

    // kvdtool report of the demo with the given options; its exit code.
    int report(const std::string& options, const char* out = "report.pdf") {
        last_ = run("report " + sample("demo.PTX") + " " + temp(out) + " " + options);
        return last_.exit_code;
    }

    std::string info(const char* out = "report.pdf") const {
        return run_command("pdfinfo '" + temp(out) + "'").out;
    }
    int pages(const char* out = "report.pdf") const {
        std::smatch m;
        const std::string text = info(out);
        if (!std::regex_search(text, m, std::regex("Pages: +([0-9]+)"))) return -1;
        return std::stoi(m[1]);
    }
    std::string page_size(const char* out = "report.pdf") const {
        std::smatch m;
        const std::string text = info(out);
        if (!std::regex_search(text, m, std::regex("Page size: +([^\n]*)"))) return {};
        return m[1];
    }
    // The text of page p without any white space. Qt's PDF writer names
    // each glyph by the lowest code point the font maps to it, and the CJK
    // fonts share the glyph of 页 with the radical ⻚ (U+2EDA): the reader
    // gives the radical back, so it is read as the ideograph here.
    std::string page_text(int p, const char* out = "report.pdf") const {
        std::string text = run_command(strprintf_page(p) + " '" + temp(out) + "' -").out;
        std::erase_if(text, [](unsigned char c) { return std::isspace(c) != 0; });
        for (std::size_t at; (at = text.find("⻚")) != std::string::npos;) {
            text.replace(at, std::string("⻚").size(), "页");
        }
        return text;
    }
    // The words of page p with their boxes (points, y down from the top).
    struct Word {
        double top = 0;
        double bottom = 0;
        std::string text;
    };
    std::vector<Word> words(int p, const char* out = "report.pdf") const {
        const std::string xml =
            run_command("pdftotext -bbox -f " + std::to_string(p) + " -l " + std::to_string(p) +
                        " '" + temp(out) + "' -")
                .out;
        std::vector<Word> found;
        const std::regex word("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)<");
        for (std::sregex_iterator it(xml.begin(), xml.end(), word), end; it != end; ++it) {
            found.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
        }
        return found;
    }
    static std::string strprintf_page(int p) {
        return "pdftotext -f " + std::to_string(p) + " -l " + std::to_string(p);
    }

    bool readers_ = false;
    ToolRun last_;
};

constexpr double kPointsPerMm = 72 / 25.4;

TEST_F(ReportTest, TheDefaultReportNumbersEveryPageOnA4) {
    ASSERT_EQ(report(""), 0) << last_.err;
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    // Summary 1, loading 3, unloading 1, anchor 1, raw record 4, the curve page.
    ASSERT_EQ(pages(), 11);
    EXPECT_EQ(page_size().rfind("595 x 842 pts (A4)", 0), 0u) << page_size();
    for (int p = 1; p <= 11; ++p) {
        const std::string text = page_text(p);
        EXPECT_NE(text.find("." + std::to_string(p) + "."), std::string::npos) << p << text;
    }
    EXPECT_NE(page_text(1).find("汇总表"), std::string::npos);
    EXPECT_NE(page_text(11).find("Q-s"), std::string::npos);
    // The number sits in the band under the bottom margin (15 mm).
    const std::vector<Word> on_page = words(3);
    EXPECT_TRUE(std::any_of(on_page.begin(), on_page.end(), [](const Word& word) {
        return word.text == "3" && word.top > 842 - 15 * kPointsPerMm &&
               word.bottom < 842 - 2 * kPointsPerMm;
    }));
}

TEST_F(ReportTest, OverridesPlaceNumbersHeaderAndFooterWhereTheRulesSay) {
    // Each curve alone, numbers on the curve pages only, the header on.
    ASSERT_EQ(report("--set 打印选项/打印版式=0 --set 页面设置/打印页码=3 "
                     "--set 页面设置/页眉=某某检测中心 --set 页面设置/打印页眉=1 "
                     "--set 页面设置/页脚=静载试验报告"),
              0)
        << last_.err;
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    ASSERT_EQ(pages(), 13);
    for (int p = 1; p <= 13; ++p) {
        SCOPED_TRACE(p);
        const std::string text = page_text(p);
        EXPECT_NE(text.find("某某检测"), std::string::npos);
        // The footer text was given but not switched on.
        EXPECT_EQ(text.find("静载试验报告"), std::string::npos);
        const std::regex number("\\.[0-9]+\\.$");
        EXPECT_EQ(std::regex_search(text, number), p > 10) << text;
    }
    EXPECT_NE(page_text(11).find(".1."), std::string::npos);
    EXPECT_NE(page_text(12).find(".2."), std::string::npos);
    EXPECT_NE(page_text(13).find(".3."), std::string::npos);
    // The header lies above the top margin (25 mm), below the paper's edge.
    bool found = false;
    for (const Word& word : words(5)) {
        if (word.text.find("某某检测") == std::string::npos) continue;
        found = true;
        EXPECT_LT(word.bottom, 25 * kPointsPerMm);
        EXPECT_GT(word.top, 15 * kPointsPerMm);
    }
    EXPECT_TRUE(found);

    // The footer alone, the numbers at the top centre in the fifth format.
    ASSERT_EQ(report("--set 页面设置/页眉=某某检测中心 --set 页面设置/打印页脚=1 "
                     "--set 页面设置/页脚=静载试验报告 --set 页面设置/页码位置=5 "
                     "--set 页面设置/页码格式=4 --set 页面设置/总页码=11 "
                     "--set 页面设置/起始页码=3",
                     "footer.pdf"),
              0)
        << last_.err;
    ASSERT_EQ(pages("footer.pdf"), 11);
    for (int p = 1; p <= 11; ++p) {
        SCOPED_TRACE(p);
        const std::string text = page_text(p, "footer.pdf");
        EXPECT_NE(text.find("静载试验报告"), std::string::npos);
        EXPECT_EQ(text.find("某某检测"), std::string::npos);
        EXPECT_NE(text.find("第" + std::to_string(p + 2) + "页共11页"), std::string::npos) << text;
    }
    for (const Word& word : words(2, "footer.pdf")) {
        if (word.text.find("静载试验报告") != std::string::npos) {
            EXPECT_GT(word.top, 842 - 15 * kPointsPerMm);
        }
        if (word.text == "共") {
            EXPECT_LT(word.bottom, 25 * kPointsPerMm);
        }
    }
}

TEST_F(ReportTest, PaperOfThePageSetup) {
    ASSERT_EQ(report("--set 页面设置/纸张宽度=1840 --set 页面设置/纸张高度=2600"), 0) << last_.err;
    ASSERT_EQ(report("--set 页面设置/纸张宽度=2970 --set 页面设置/纸张高度=2100 "
                     "--set 页面设置/纸张方向=1",
                     "landscape.pdf"),
              0)
        << last_.err;
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    // 184 x 260 mm, in whole points.
    EXPECT_EQ(page_size().rfind("522 x 737 pts", 0), 0u) << page_size();
    EXPECT_EQ(page_size("landscape.pdf").rfind("842 x 595 pts", 0), 0u) << page_size("landscape.pdf");
    // Landscape pages are shorter: the tables take more of them.
    EXPECT_GT(pages("landscape.pdf"), 11);
}

TEST_F(ReportTest, TheExtendedDisplayAddsTheModificationRecord) {
    ASSERT_EQ(report("--extended"), 0) << last_.err;
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    ASSERT_EQ(pages(), 12);
    EXPECT_NE(page_text(11).find("修改记录表"), std::string::npos);
}

TEST_F(ReportTest, NothingToPrintAndBadOptionsWriteNothing) {
    const std::string none =
        "--set 打印选项/汇总表=0 --set 打印选项/加载数据=0 --set 打印选项/卸载数据=0 "
        "--set 打印选项/锚桩=0 --set 打印选项/原始数据=0 --set 打印选项/打印版式=0 "
        "--set 打印选项/Q-s=0 --set 打印选项/s-lgt=0 --set 打印选项/s-lgQ=0";
    EXPECT_EQ(report(none), 1);
    EXPECT_EQ(last_.err, "没有发现任何可打印内容! \n请检查打印选项中的设置。\n");
    EXPECT_FALSE(fs::exists(temp("report.pdf")));

    // An earlier report stays as it was.
    const Bytes old = {'o', 'l', 'd'};
    ASSERT_TRUE(replace_file_atomically(temp("report.pdf"), old).ok());
    EXPECT_EQ(report(none), 1);
    EXPECT_EQ(report("--set 页面设置/打印页码=7"), 2);
    EXPECT_NE(last_.err.find("页面设置/打印页码"), std::string::npos);
    EXPECT_EQ(report("--set 页面设置/没有=1"), 2);
    EXPECT_EQ(report("--set"), 2);
    Bytes kept;
    ASSERT_TRUE(read_whole_file(temp("report.pdf"), kept).ok());
    EXPECT_EQ(kept, old);

    EXPECT_EQ(report("", "report.png"), 2);
    EXPECT_EQ(run("report " + temp("missing.PTX") + " " + temp("x.pdf")).exit_code, 1);
    EXPECT_FALSE(fs::exists(temp("x.pdf")));
}

}  // namespace
}  // namespace kvd
