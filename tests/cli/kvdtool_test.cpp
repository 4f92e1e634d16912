// kvdtool end to end: exit codes, messages on standard error, the tables it
// prints, and the committed samples it makes.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "base/file_io.h"
#include "record/test_file_reader.h"
#include "record/test_file_writer.h"
#include "cli/kvdtool_fixture.h"
#include "record/file_format.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

TEST_F(KvdtoolTest, InfoClassifiesAndRefusesWithTheProgramsMessages) {
    // The codes, each with its name.
    ToolRun demo = run("info " + sample("demo.PTX"));
    EXPECT_EQ(demo.exit_code, 0);
    EXPECT_EQ(demo.out.rfind("class: 5 (可以打开)\nkind: 1 (测试文件)\nversion: 2013.1016\n", 0),
              0u)
        << demo.out;
    EXPECT_NE(demo.out.find("site: 某某花园二期 3#楼\n"), std::string::npos);
    EXPECT_EQ(demo.err, "");

    // An unfinished test is reported, not asked about.
    ToolRun unfinished = run("info " + sample("unfinished.PTX"));
    EXPECT_EQ(unfinished.exit_code, 0);
    EXPECT_EQ(unfinished.out.rfind("class: 3 (试验未结束)\n", 0), 0u);
    EXPECT_NE(unfinished.out.find("\nunfinished: 1\n"), std::string::npos);
    EXPECT_EQ(unfinished.err, "");

    // A newer version: its class, kind and version, the message on stderr, exit 1.
    Bytes bytes;
    ASSERT_TRUE(read_whole_file(sample("demo.PTX"), bytes).ok());
    const double newer = 2013.1017;
    std::memcpy(bytes.data() + kVersionOffset, &newer, sizeof newer);
    ASSERT_TRUE(replace_file_atomically(temp("newer.PTX"), bytes).ok());
    ToolRun refused = run("info " + temp("newer.PTX"));
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.out.rfind("class: 1 (高版本文件)\nkind: 1 (测试文件)\n", 0), 0u);
    EXPECT_EQ(refused.err, "该文件为高版本所创建文件, 无法打开 ！\n");

    // A file of no known type: the message alone.
    ASSERT_TRUE(replace_file_atomically(temp("text.txt"), Bytes{'a', 'b'}).ok());
    ToolRun foreign = run("info " + temp("text.txt"));
    EXPECT_EQ(foreign.exit_code, 1);
    EXPECT_EQ(foreign.out, "");
    EXPECT_EQ(foreign.err, "未知文件类型, 无法打开 ！\n");
}

TEST_F(KvdtoolTest, ReadingCommandsOnAnUnfinishedTestAskNothing) {
    for (const char* command : {"totals", "grades", "readings", "raw"}) {
        ToolRun unfinished = run(std::string(command) + " " + sample("unfinished.PTX"));
        EXPECT_EQ(unfinished.exit_code, 0) << command;
        EXPECT_EQ(unfinished.err, "") << command;
        EXPECT_FALSE(unfinished.out.empty()) << command;
    }
}

TEST_F(KvdtoolTest, TablesHaveOneHeaderLineAndFixedFormats) {
    ToolRun grades = run("grades " + sample("demo.PTX"));
    ASSERT_EQ(grades.exit_code, 0);
    EXPECT_EQ(
        grades.out.rfind("grade\tloading\tload\treadings\tholding\tcumulative_time\tthis_grade"
                         "\tcumulative\n0\t1\t0\t1\t0\t0\t0.00\t0.00\n",
                         0),
        0u)
        << grades.out;

    ToolRun totals = run("totals " + sample("demo.KVD"));
    ASSERT_EQ(totals.exit_code, 0);
    EXPECT_EQ(totals.out, "max\trebound\trebound_ratio\tunloading_grades\n23.05\t7.39\t32.06\t5\n");

    ToolRun readings = run("readings " + sample("demo.PTX"));
    ASSERT_EQ(readings.exit_code, 0);
    const std::string first_row = readings.out.substr(readings.out.find('\n') + 1);
    EXPECT_EQ(first_row.rfind("0\t0\t0\t1\t0\t0\t0.0000\t", 0), 0u) << first_row.substr(0, 80);

    ToolRun raw = run("raw " + sample("demo.PTX"));
    ASSERT_EQ(raw.exit_code, 0);
    EXPECT_EQ(
        raw.out.rfind("index\ttime\tstatus\tloading\tgrade\treading\tgrade_load\tload_a\tload_b"
                      "\tpressure_a\tpressure_b\tch1\t",
                      0),
        0u);
}

TEST_F(KvdtoolTest, ConvertAndNewFollowTheDocumentRules) {
    ASSERT_TRUE(fs::copy_file(sample("demo.PTX"), temp("demo.PTX")));
    ToolRun convert = run("convert " + temp("demo.PTX") + " " + temp("demo.PTX"));
    EXPECT_EQ(convert.exit_code, 0);
    EXPECT_TRUE(fs::exists(temp("demo.KVD")));
    EXPECT_NE(run("info " + temp("demo.KVD")).out.find("\nkind: 3 (分析文件(含原始数据))\n"),
              std::string::npos);

    ToolRun wizard = run("new " + temp("n.KVD") + " --max-load 1000 --grades 10 --first 2");
    EXPECT_EQ(wizard.exit_code, 0) << wizard.err;
    ToolRun loads = run("grades " + temp("n.KVD"));
    EXPECT_NE(loads.out.find("\n1\t1\t200\t2\t"), std::string::npos) << loads.out;
    EXPECT_NE(loads.out.find("\n14\t0\t0\t2\t"), std::string::npos);

    // A wrong value is named, with what it must be; no file is made.
    const std::pair<const char*, const char*> wrong[] = {
        {"--grades 0", "--grades 需要 1 到 30 之间的整数: 0\n"},
        {"--grades x", "--grades 需要 1 到 30 之间的整数: x\n"},
        {"--max-load 0", "--max-load 需要 1 到 100000 之间的整数: 0\n"},
        {"--first 10", "--first 需要 1 到 9 之间的整数: 10\n"},
        {"--grades 3 --first 4", "--grades (3) 不能小于 --first (4)\n"},
        {"--load-intervals 0,5,0", "--load-intervals 的第 3 项需要 1 到 65535 之间的整数: 0\n"},
        {"--unload-intervals 0,a", "--unload-intervals 需要以逗号分隔的至多 12 个整数: 0,a\n"},
    };
    for (const auto& [options, message] : wrong) {
        ToolRun invalid = run("new " + temp("bad.KVD") + " " + options);
        EXPECT_EQ(invalid.exit_code, 2) << options;
        EXPECT_EQ(invalid.err, message) << options;
        EXPECT_FALSE(fs::exists(temp("bad.KVD"))) << options;
    }
}

TEST_F(KvdtoolTest, CalibrationRowsArePrinted) {
    const std::string table = "\xCE\xBB\xD2\xC6\xBC\xC6\xC2\xCA\xB6\xA8\xB1\xED\n";  // 位移计率定表
    Bytes bytes(table.begin(), table.end());
    const std::string rest = "x,A1\nx,2024\nx,10\nx,5\nx\n0.00,100\n5.00,205\n";
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    ASSERT_TRUE(replace_file_atomically(temp("A1.wld"), bytes).ok());
    ToolRun calib = run("calib " + temp("A1.wld"));
    EXPECT_EQ(calib.exit_code, 0);
    EXPECT_EQ(calib.out, "number\tvalue\treading\n1\t0.00\t100\n2\t5.00\t205\n");

    ToolRun committed = run("calib " + sample("QJ-01.qld"));
    EXPECT_EQ(committed.exit_code, 0);
    EXPECT_EQ(committed.out.rfind("number\tvalue\treading\n1\t0.00\t0.0\n", 0), 0u);

    // A file that is not a calibration table is refused, and nothing listed.
    ASSERT_TRUE(replace_file_atomically(temp("notes.wld"), Bytes{'a', ',', 'b', '\n'}).ok());
    for (const std::string& path : {sample("demo.PTX"), temp("notes.wld")}) {
        ToolRun refused = run("calib " + path);
        EXPECT_EQ(refused.exit_code, 1) << path;
        EXPECT_EQ(refused.out, "") << path;
        EXPECT_EQ(refused.err, "文件 " + path + " 不是率定表文件，无法打开 ！\n");
    }
}

TEST_F(KvdtoolTest, TablesPagesAndPrintedPages) {
    ToolRun summary = run("table summary " + sample("demo.PTX"));
    ASSERT_EQ(summary.exit_code, 0);
    EXPECT_EQ(summary.out.rfind("序号\t荷 载\\n(kN)\t历  时 (min)\\n本 级\t", 0), 0u)
        << summary.out;
    EXPECT_NE(summary.out.find("\n14\t0\t180\t2280\t-2.22\t15.66\n"), std::string::npos);

    // The raw record shows status words only with the extended display.
    EXPECT_EQ(run("table raw " + sample("demo.PTX")).out.find("通讯错误"), std::string::npos);
    EXPECT_NE(run("table raw " + sample("demo.PTX") + " --extended").out.find("通讯错误"),
              std::string::npos);

    ToolRun pages = run("pages " + sample("demo.PTX"));
    ASSERT_EQ(pages.exit_code, 0);
    EXPECT_EQ(pages.out, "summary: 1\nload: 3\nunload: 1\nanchor: 1\nraw: 4\nchanges: 1\n");

    ASSERT_EQ(run("print-table raw " + sample("demo.PTX") + " " + temp("raw.pdf")).exit_code, 0);
    Bytes pdf;
    ASSERT_TRUE(read_whole_file(temp("raw.pdf"), pdf).ok());
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
    EXPECT_EQ(
        run("print-table load " + sample("demo.PTX") + " " + temp("p.png") + " --page 3").exit_code,
        0);
    EXPECT_TRUE(fs::exists(temp("p.png")));
    EXPECT_EQ(
        run("print-table load " + sample("demo.PTX") + " " + temp("q.png") + " --page 4").exit_code,
        1);
    EXPECT_EQ(run("print-table load " + sample("demo.PTX") + " " + temp("q.txt")).exit_code, 2);
    EXPECT_EQ(run("table nonsense " + sample("demo.PTX")).exit_code, 2);
}

TEST_F(KvdtoolTest, CurvePicturesTextsAndMarks) {
    const std::string demo = sample("demo.PTX");
    // WMF: a plain metafile (header type 1, 9 words) whose window extent
    // (y, x) follows the ratio; the same file as the report's Q-s picture.
    ASSERT_EQ(run("curve " + demo + " --kind qs " + temp("qs.wmf") + " --ratio 200").exit_code, 0);
    Bytes wmf;
    ASSERT_TRUE(read_whole_file(temp("qs.wmf"), wmf).ok());
    ASSERT_GT(wmf.size(), 40u);
    EXPECT_EQ(wmf[0] | wmf[1] << 8, 1);
    EXPECT_EQ(wmf[2] | wmf[3] << 8, 9);
    ASSERT_EQ(run("curve " + demo + " --kind qs " + temp("default.wmf")).exit_code, 0);
    ASSERT_EQ(run("curves " + demo + " " + temp("report")).exit_code, 0);
    Bytes single, report;
    ASSERT_TRUE(read_whole_file(temp("default.wmf"), single).ok());
    ASSERT_TRUE(read_whole_file(temp("report_Qs.WMF"), report).ok());
    EXPECT_TRUE(single == report);
    EXPECT_TRUE(fs::exists(temp("report_slgt.WMF")));
    EXPECT_TRUE(fs::exists(temp("report_slgQ.WMF")));

    // PNG through the Qt canvas, 1 : 1.5 at the default ratio.
    ASSERT_EQ(run("curve " + demo + " --kind slgq " + temp("slgq.png") + " --colour").exit_code, 0);
    Bytes png;
    ASSERT_TRUE(read_whole_file(temp("slgq.png"), png).ok());
    ASSERT_GT(png.size(), 24u);
    const auto be32 = [&](std::size_t at) {
        return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    };
    EXPECT_NEAR(double(be32(20)) / be32(16), 1.5, 0.01);

    ToolRun refused = run("curve " + demo + " --kind qs " + temp("x.wmf") + " --ratio 1001");
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.err, "请输入一个介于 10 和 1000 之间的整数。\n");
    EXPECT_FALSE(fs::exists(temp("x.wmf")));
    EXPECT_EQ(run("curve " + demo + " --kind qs " + temp("x.wmf") + " --ratio 5").exit_code, 1);
    EXPECT_EQ(run("curve " + demo + " --kind qt " + temp("x.wmf")).exit_code, 2);
    EXPECT_EQ(run("curve " + demo + " --kind qs " + temp("x.bmp")).exit_code, 2);
    EXPECT_EQ(run("curves " + demo + " " + temp("missing/report")).exit_code, 1);

    // Texts at ratio 100 (sx = sy = 2): the title boxes start at design
    // x 500 and 550, y 10; the first load label is "0".
    ToolRun texts = run("curve-texts " + demo + " --kind qs");
    ASSERT_EQ(texts.exit_code, 0);
    EXPECT_NE(texts.out.find("1000\t-20\tQ-s\n1100\t-20\t曲线\n"), std::string::npos) << texts.out;
    EXPECT_EQ(texts.out.rfind("285\t-208\t0\n", 0), 0u) << texts.out;
    EXPECT_NE(texts.out.find("\tQ (kN)\n"), std::string::npos);
    EXPECT_NE(run("curve-texts " + demo + " --kind slgt").out.find("\tt (min)\n"),
              std::string::npos);

    // Marks: 1000 kN lies between 900 (3.17 mm) and 1200 kN (4.58 mm).
    EXPECT_EQ(run("mark " + demo + " --load 1000").out, "1000 3.64 0.004 1\n");
    EXPECT_EQ(run("mark " + demo + " --settlement 400").out, "0 0.00 0.000 0\n");
    EXPECT_EQ(run("mark " + demo + " --load 1000 --ratio 0.1").exit_code, 2);
    EXPECT_EQ(run("mark " + demo).exit_code, 2);
}

TEST_F(KvdtoolTest, CommittedSamplesAreWhatSampleMakes) {
    const char* types[][2] = {{"demo.PTX", "compression"},
                              {"uplift.PTX", "uplift"},
                              {"plate.PTX", "plate"},
                              {"unfinished.PTX", "unfinished"}};
    for (const auto& [name, type] : types) {
        ASSERT_EQ(run("sample " + temp(name) + " --type " + type).exit_code, 0);
        Bytes made, committed;
        ASSERT_TRUE(read_whole_file(temp(name), made).ok());
        ASSERT_TRUE(read_whole_file(sample(name), committed).ok());
        EXPECT_TRUE(made == committed) << name;
    }
    EXPECT_EQ(run("sample " + temp("x.PTX") + " --type nonsense").exit_code, 2);
}

TEST_F(KvdtoolTest, AnalyseListsEveryRuleAndSaysAtLeastWhenNothingFailed) {
    ToolRun demo = run("analyse " + sample("demo.PTX"));
    EXPECT_EQ(demo.exit_code, 0) << demo.err;
    EXPECT_NE(demo.out.find("部分\t规则\t条文\t结果\t数值\t来源\t说明\n"), std::string::npos);
    EXPECT_NE(demo.out.find("建议\t建议：极限承载力 Qu（未达到极限时取最大加载值）\tJGJ 106-2014 第 4.4.2 条第 5 "
                            "款\t不小于\t≥ 3000 kN\t第 9 级\t"),
              std::string::npos)
        << demo.out;
    EXPECT_NE(demo.out.find("\tJGJ 106-2014 第 4.4.4 条\t不小于\t≥ 1500 kN\t"), std::string::npos);
    // Every rule line has its seven columns.
    std::size_t start = 0;
    int rule_lines = 0;
    while (start < demo.out.size()) {
        const std::size_t end = demo.out.find('\n', start);
        const std::string line = demo.out.substr(start, end - start);
        if (line.rfind("判定\t", 0) == 0 || line.rfind("终止加载\t", 0) == 0 || line.rfind("对比方法\t", 0) == 0) {
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 6) << line;
            ++rule_lines;
        }
        start = end + 1;
    }
    EXPECT_EQ(rule_lines, 5 + 6 + 7);

    ToolRun plate = run("analyse " + sample("plate.PTX") + " --ratio 0.015");
    EXPECT_EQ(plate.exit_code, 0);
    EXPECT_NE(plate.out.find("按相对变形 s/d = 0.015 取值"), std::string::npos);
    EXPECT_NE(plate.out.find("\t建议：地基承载力特征值 fak\tGB 50007-2011 第 C.0.7 条\t取值（建议）\t200 kPa\t"),
              std::string::npos);
}

TEST_F(KvdtoolTest, AnalyseJsonReadsBackAndGroupsSeveralFiles) {
    ToolRun one = run("analyse " + sample("demo.PTX") + " --json");
    ASSERT_EQ(one.exit_code, 0);
    EXPECT_EQ(jq(one.out, ".files[0].family + \" \" + .files[0].ultimate.outcome + \" \" + "
                          "(.files[0].ultimate.value|tostring)"),
              "pile_compression at_least 3000");
    EXPECT_EQ(jq(one.out, "[.files[0].rules[].key] | join(\",\")"),
              "compression_steep_drop,compression_slgt_bend,compression_unstable,"
              "compression_settlement_40mm,compression_settlement_005d,compression_maximum_load");
    EXPECT_EQ(jq(one.out, ".files[0].methods[0].key + \" \" + (.files[0].methods[0].value > 2400 and "
                          ".files[0].methods[0].value < 2700 | tostring)"),
              "davisson true");
    EXPECT_EQ(jq(one.out, ".group"), "null");  // one file: no statistics

    // An odd file name survives the escaping; two piles give the lower of the two.
    const std::string odd = temp("we\"ird\\name.PTX");
    ASSERT_TRUE(fs::copy_file(sample("demo.PTX"), odd));
    ToolRun two = run("analyse '" + odd + "' " + sample("demo.KVD") + " --json");
    ASSERT_EQ(two.exit_code, 0) << two.err;
    EXPECT_EQ(jq(two.out, ".files[0].file"), odd);
    EXPECT_EQ(jq(two.out, ".group.members | length"), "2");
    EXPECT_EQ(jq(two.out, ".group.statistic.outcome + \" \" + (.group.statistic.value|tostring)"),
              "at_least 3000");
    EXPECT_EQ(jq(two.out, ".group.characteristic.value"), "1500");
}

TEST_F(KvdtoolTest, AnalyseGroupsTheEngineersChoiceWhenItMatchesTheReadings) {
    // demo.KVD with the engineer's typed 2800 kN, once on its readings and
    // once on readings changed since.
    Bytes bytes;
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read_whole_file(sample("demo.KVD"), bytes).ok());
    ASSERT_TRUE(read_record(bytes, record, report).ok());
    record.engineer_choice = manual_choice(2800, false, analyse_test(record), 1700000000);
    ASSERT_TRUE(write_record(record, bytes).ok());
    const std::string chosen = temp("chosen.KVD");
    ASSERT_TRUE(replace_file_atomically(chosen, bytes).ok());
    record.engineer_choice->data_fingerprint ^= 1u;
    ASSERT_TRUE(write_record(record, bytes).ok());
    const std::string stale = temp("stale.KVD");
    ASSERT_TRUE(replace_file_atomically(stale, bytes).ok());

    ToolRun json = run("analyse " + sample("demo.PTX") + " " + chosen + " " + stale + " --json");
    ASSERT_EQ(json.exit_code, 0) << json.err;
    EXPECT_EQ(jq(json.out, "[.group.members[].basis] | join(\",\")"),
              "proposal,choice,stale_choice");
    EXPECT_EQ(jq(json.out, ".group.members[1].result.value"), "2800");
    // Three piles: ≥ 3000, 2800, ≥ 3000 (the stale choice is not taken).
    EXPECT_EQ(jq(json.out, ".group.mean * 3 | round"), "8800");

    ToolRun text = run("analyse " + sample("demo.PTX") + " " + chosen + " " + stale);
    ASSERT_EQ(text.exit_code, 0);
    EXPECT_NE(text.out.find("试验\tS-12（程序建议）\t"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("试验\tS-12（工程师选定）\t\t取值\t2800 kN\t"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("试验\tS-12（选定基于修改前数据，未采用）\t"), std::string::npos);
}

TEST_F(KvdtoolTest, AnalyseRefusesBadOptionsAndNamesTheFilesItCouldNotRead) {
    EXPECT_EQ(run("analyse").exit_code, 2);
    EXPECT_EQ(run("analyse " + sample("demo.PTX") + " --ratio 0.02").exit_code, 2);
    EXPECT_EQ(run("analyse " + sample("demo.PTX") + " --fit 9-5").exit_code, 2);
    EXPECT_EQ(run("analyse " + sample("demo.PTX") + " --composite sand").exit_code, 2);
    EXPECT_EQ(run("analyse " + sample("demo.PTX") + " --verbose").exit_code, 2);
    const std::string missing = temp("missing.PTX");
    ToolRun partly = run("analyse " + sample("demo.PTX") + " " + missing + " --json");
    EXPECT_EQ(partly.exit_code, 1);
    EXPECT_FALSE(partly.err.empty());
    EXPECT_EQ(jq(partly.out, ".refused[0]"), missing);
    EXPECT_EQ(jq(partly.out, ".files | length"), "1");
}

TEST_F(KvdtoolTest, ChooseWritesTheChoiceIntoAnAnalysisFile) {
    const std::string out = temp("chosen.KVD");
    ToolRun chosen = run("choose " + sample("demo.PTX") + " " + out + " --proposed --note 复核");
    ASSERT_EQ(chosen.exit_code, 0) << chosen.err;
    ToolRun analysed = run("analyse " + sample("demo.PTX") + " --json");
    ASSERT_EQ(analysed.exit_code, 0);

    Bytes bytes;
    ASSERT_TRUE(read_whole_file(out, bytes).ok());
    TestRecord record;
    ReadReport report;
    ASSERT_TRUE(read_record(bytes, record, report).ok());
    ASSERT_TRUE(record.engineer_choice);
    const EngineerChoice& choice = *record.engineer_choice;
    EXPECT_EQ(std::to_string(choice.rule), jq(analysed.out, ".files[0].ultimate.id"));
    EXPECT_EQ(choice.value, std::stod(jq(analysed.out, ".files[0].ultimate.value")));
    EXPECT_EQ(choice.at_least, jq(analysed.out, ".files[0].ultimate.outcome") == "at_least");
    EXPECT_EQ(std::to_string(choice.data_fingerprint), jq(analysed.out, ".files[0].fingerprint"));
    EXPECT_EQ(choice.note, "复核");

    const std::string typed = temp("typed.KVD");
    ASSERT_EQ(
        run("choose " + sample("demo.KVD") + " " + typed + " --value 2750.5 --at-least").exit_code,
        0);
    ASSERT_TRUE(read_whole_file(typed, bytes).ok());
    ASSERT_TRUE(read_record(bytes, record, report).ok());
    ASSERT_TRUE(record.engineer_choice);
    EXPECT_EQ(record.engineer_choice->rule, 1000);
    EXPECT_EQ(record.engineer_choice->value, 2750.5);
    EXPECT_TRUE(record.engineer_choice->at_least);

    // Bad input writes nothing.
    EXPECT_EQ(
        run("choose " + sample("demo.KVD") + " " + temp("bad.KVD") + " --value 12x").exit_code, 2);
    EXPECT_EQ(run("choose " + sample("demo.KVD") + " " + temp("bad.KVD")).exit_code, 2);
    EXPECT_FALSE(fs::exists(temp("bad.KVD")));
}

}  // namespace
}  // namespace kvd
