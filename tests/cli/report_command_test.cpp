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

#include "base/byte_image.h"
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
    // The same for the other ideographs that share a glyph with a radical
    // (力 and ⼒, 大 and ⼤ ...): every Kangxi radical and the supplement's
    // simplified forms read as their ideograph.
    std::string unified_text(int p, const char* out) const {
        static const std::string kPairs =
            "⼀一⼁丨⼂丶⼃丿⼄乙⼅亅⼆二⼇亠⼈人⼉儿⼊入⼋八⼌冂⼍冖⼎冫⼏几⼐凵⼑刀⼒力⼓勹⼔匕⼕"
            "匚⼖匸⼗十⼘卜⼙卩⼚厂⼛厶⼜又⼝口⼞囗⼟土⼠士⼡夂⼢夊⼣夕⼤大⼥女⼦子⼧宀⼨寸⼩小⼪尢"
            "⼫尸⼬屮⼭山⼮巛⼯工⼰己⼱巾⼲干⼳幺⼴广⼵廴⼶廾⼷弋⼸弓⼹彐⼺彡⼻彳⼼心⼽戈⼾戶⼿手⽀"
            "支⽁攴⽂文⽃斗⽄斤⽅方⽆无⽇日⽈曰⽉月⽊木⽋欠⽌止⽍歹⽎殳⽏毋⽐比⽑毛⽒氏⽓气⽔水⽕火"
            "⽖爪⽗父⽘爻⽙爿⽚片⽛牙⽜牛⽝犬⽞玄⽟玉⽠瓜⽡瓦⽢甘⽣生⽤用⽥田⽦疋⽧疒⽨癶⽩白⽪皮⽫"
            "皿⽬目⽭矛⽮矢⽯石⽰示⽱禸⽲禾⽳穴⽴立⽵竹⽶米⽷糸⽸缶⽹网⽺羊⽻羽⽼老⽽而⽾耒⽿耳⾀聿"
            "⾁肉⾂臣⾃自⾄至⾅臼⾆舌⾇舛⾈舟⾉艮⾊色⾋艸⾌虍⾍虫⾎血⾏行⾐衣⾑襾⾒見⾓角⾔言⾕谷⾖"
            "豆⾗豕⾘豸⾙貝⾚赤⾛走⾜足⾝身⾞車⾟辛⾠辰⾡辵⾢邑⾣酉⾤釆⾥里⾦金⾧長⾨門⾩阜⾪隶⾫隹"
            "⾬雨⾭靑⾮非⾯面⾰革⾱韋⾲韭⾳音⾴頁⾵風⾶飛⾷食⾸首⾹香⾺馬⾻骨⾼高⾽髟⾾鬥⾿鬯⿀鬲⿁"
            "鬼⿂魚⿃鳥⿄鹵⿅鹿⿆麥⿇麻⿈黃⿉黍⿊黑⿋黹⿌黽⿍鼎⿎鼓⿏鼠⿐鼻⿑齊⿒齒⿓龍⿔龜⿕龠⻚页"
            "⻅见⻓长⻔门⻋车⻝食⻢马⻛风⻆角⻄西⻘青⻨麦⻩黄⻬齐⻮齿⻰龙⻳龟⻜飞⻥鱼⻦鸟";
        std::string text = page_text(p, out);
        for (std::size_t i = 0; i + 6 <= kPairs.size(); i += 6) {
            const std::string radical = kPairs.substr(i, 3);
            for (std::size_t at; (at = text.find(radical)) != std::string::npos;) {
                text.replace(at, 3, kPairs.substr(i + 3, 3));
            }
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

TEST_F(ReportTest, TheAnalysisFollowsTheSummaryAndThePagesNumberOn) {
    ASSERT_EQ(report("", "plain.pdf"), 0) << last_.err;
    ASSERT_EQ(report("--analysis", "analysis.pdf"), 0) << last_.err;
    ASSERT_EQ(report("--set 打印选项/承载力分析=1", "set.pdf"), 0) << last_.err;
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    const int plain = pages("plain.pdf");
    const int with = pages("analysis.pdf");
    ASSERT_EQ(plain, 11);
    ASSERT_GT(with, plain);
    EXPECT_EQ(pages("set.pdf"), with);
    const int added = with - plain;
    for (int p = 1; p <= plain; ++p) {
        EXPECT_EQ(unified_text(p, "plain.pdf").find("承载力分析"), std::string::npos) << p;
    }
    EXPECT_NE(unified_text(1, "analysis.pdf").find("汇总表"), std::string::npos);
    const std::string section = unified_text(2, "analysis.pdf");
    EXPECT_EQ(section.rfind("单桩竖向抗压静载试验承载力分析", 0), 0u) << section;
    EXPECT_NE(section.find("判定规则"), std::string::npos) << section;
    std::string all_section;
    for (int p = 2; p <= 1 + added; ++p) all_section += unified_text(p, "analysis.pdf");
    // The proposal: Qu not less than the largest load, Ra half of it.
    EXPECT_NE(all_section.find("≥3000kN"), std::string::npos) << all_section;
    EXPECT_NE(all_section.find("1500kN"), std::string::npos);
    EXPECT_NE(all_section.find("尚未经工程师确认"), std::string::npos);
    // The loading table comes after the section, every page numbered on.
    EXPECT_NE(unified_text(2 + added, "analysis.pdf").find("加载"), std::string::npos);
    EXPECT_EQ(unified_text(2 + added, "analysis.pdf").find("承载力分析"), std::string::npos);
    for (int p = 1; p <= with; ++p) {
        EXPECT_NE(unified_text(p, "analysis.pdf").find("." + std::to_string(p) + "."),
                  std::string::npos)
            << p;
    }
    // Every page after the section is the page it was, with its new number.
    for (int p = 2; p <= plain; ++p) {
        std::string was = unified_text(p, "plain.pdf");
        std::string now = unified_text(p + added, "analysis.pdf");
        was.erase(was.find("." + std::to_string(p) + "."));
        now.erase(now.find("." + std::to_string(p + added) + "."));
        EXPECT_EQ(now, was) << p;
    }
}

TEST_F(ReportTest, TheWordReportTakesTheAnalysisOnlyWhenAsked) {
    ASSERT_EQ(run("word " + sample("demo.PTX") + " " + temp("plain.docx")).exit_code, 0);
    ASSERT_EQ(run("word " + sample("demo.PTX") + " " + temp("with.docx") +
                  " --summary --analysis --curves")
                  .exit_code,
              0);
    ASSERT_EQ(run("word " + sample("demo.PTX") + " " + temp("only.docx") + " --analysis").exit_code,
              0);
    if (std::system("command -v unzip >/dev/null") != 0) GTEST_SKIP() << "unzip missing";
    auto xml = [&](const char* name) {
        return run_command("unzip -p '" + temp(name) + "' word/document.xml").out;
    };
    EXPECT_EQ(xml("plain.docx").find("承载力分析"), std::string::npos);
    const std::string with = xml("with.docx");
    const std::size_t summary = with.find("汇总表");
    const std::size_t section = with.find("承载力分析");
    ASSERT_NE(section, std::string::npos);
    EXPECT_LT(summary, section);
    EXPECT_EQ(xml("only.docx").find("汇总表"), std::string::npos);
    EXPECT_NE(xml("only.docx").find("承载力分析"), std::string::npos);
}

TEST_F(ReportTest, AnalyseWritesTheGroupTableAndListsAnUnreadableFile) {
    const std::string files =
        sample("demo.PTX") + " " + sample("uplift.PTX") + " " + sample("plate.PTX");
    const ToolRun text = run("analyse " + files);
    const ToolRun json = run("analyse " + files + " --json");
    const ToolRun written =
        run("analyse " + files + " --pdf " + temp("group.pdf") + " --docx " + temp("group.docx"));
    ASSERT_EQ(written.exit_code, 0) << written.err;
    // The text output is what it was without the files.
    EXPECT_EQ(written.out, text.out);
    EXPECT_EQ(run("analyse " + files + " --json --pdf " + temp("g2.pdf")).out, json.out);
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    std::string pdf;
    for (int p = 1; p <= pages("group.pdf"); ++p) pdf += unified_text(p, "group.pdf");
    EXPECT_EQ(pdf.rfind("多桩统计表", 0), 0u) << pdf;
    // (pdftotext loses some digits of Qt's PDF; the picture shows them all.)
    for (const char* expected : {"各试验的判定值", "≥3000kN", "≥1200kN", "不能一起统计"}) {
        EXPECT_NE(pdf.find(expected), std::string::npos) << expected << "\n" << pdf;
    }
    ASSERT_TRUE(replace_file_atomically(temp("bad.PTX"), Bytes(300, 0x5A)).ok());
    const ToolRun bad =
        run("analyse " + sample("demo.PTX") + " " + sample("uplift.PTX") + " " + temp("bad.PTX") +
            " --pdf " + temp("bad.pdf") + " --docx " + temp("bad.docx"));
    EXPECT_EQ(bad.exit_code, 1);  // a file was refused; the table is still written
    std::string bad_pdf;
    for (int p = 1; p <= pages("bad.pdf"); ++p) bad_pdf += unified_text(p, "bad.pdf");
    EXPECT_NE(bad_pdf.find("bad.PTX"), std::string::npos) << bad_pdf;
    EXPECT_NE(bad_pdf.find("无法打开"), std::string::npos) << bad_pdf;  // the reader's reason

    if (std::system("command -v soffice >/dev/null") != 0) GTEST_SKIP() << "no LibreOffice";
    run_command("soffice -env:UserInstallation=file://" + temp("profile") +
                " --headless --convert-to txt:Text --outdir " + temp("") + " " +
                temp("group.docx") + " " + temp("bad.docx") + " >/dev/null");
    const std::string group = run_command("cat " + temp("group.txt")).out;
    EXPECT_LT(group.find("多桩统计表"), 4u) << group;  // after the byte order mark
    EXPECT_NE(group.find("个参加统计"), std::string::npos) << group;
    const std::string refused = run_command("cat " + temp("bad.txt")).out;
    EXPECT_NE(refused.find("bad.PTX"), std::string::npos) << refused;
    EXPECT_NE(refused.find("无法打开"), std::string::npos) << refused;
}

TEST_F(ReportTest, AnalyseOfOneFileWritesItsInterpretation) {
    ASSERT_EQ(run("analyse " + sample("demo.PTX") + " --pdf " + temp("one.pdf")).exit_code, 0);
    EXPECT_NE(run("analyse " + sample("demo.PTX") + " --pdf " + temp("one.txt")).exit_code, 0);
    if (!readers_) GTEST_SKIP() << "pdfinfo/pdftotext missing";
    const std::string text = unified_text(1, "one.pdf");
    EXPECT_EQ(text.rfind("承载力分析", 0), 0u) << text;
    EXPECT_NE(text.find("判定规则"), std::string::npos);
}

}  // namespace
}  // namespace kvd
