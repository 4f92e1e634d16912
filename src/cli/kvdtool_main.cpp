// kvdtool: the command-line front end of kvd. It reads and writes the same
// files through the same document rules as the desktop program.

#include <cstdio>
#include <map>
#include <string>

#include "cli/commands.h"

namespace {

constexpr char kUsage[] =
    "用法: kvdtool COMMAND ...\n"
    "  info FILE                 文件分类与概况\n"
    "  raw FILE                  原始读数\n"
    "  readings FILE             各级读数（重新计算时间和平均沉降后）\n"
    "  grades FILE               各级汇总\n"
    "  totals FILE               最大沉降、回弹量、回弹率\n"
    "  convert IN OUT [--test-file]\n"
    "  new OUT [--max-load P] [--grades G] [--first M] [--no-unload]\n"
    "          [--load-intervals a,b,...] [--unload-intervals a,b,...]\n"
    "  sample OUT [--type compression|uplift|plate|unfinished] [--seed N] [--readings N]\n"
    "  calib FILE                率定表各行\n"
    "  table summary|load|unload|raw|changes|anchor FILE [--extended]\n"
    "  pages FILE [--extended]   各表的打印页数\n"
    "  print-table NAME FILE OUT [--page N]   打印页输出为 PDF、PNG 或 SVG\n"
    "  report FILE OUT.pdf [--set 节/键=值]... [--extended] [--analysis]\n"
    "                            整份打印报告输出为 PDF：默认的页面设置和打印选项，\n"
    "                            每个 --set 按设置的节和键改一项（如 --set 页面设置/打印页码=3）\n"
    "  curve FILE --kind qs|slgt|slgq OUT [--ratio PCT] [--colour]\n"
    "                            曲线图像：按 OUT 的扩展名输出 WMF（与导出图像相同）、\n"
    "                            SVG、PNG 或 PDF；长宽比 PCT 为 10 至 1000（默认 150），\n"
    "                            不加 --colour 为黑白\n"
    "  curves FILE PREFIX        报告用的三个图元文件 PREFIX_Qs.WMF、PREFIX_slgt.WMF、\n"
    "                            PREFIX_slgQ.WMF（黑白，长宽比 150%）\n"
    "  curve-texts FILE --kind qs|slgt|slgq\n"
    "                            图元文件（长宽比 100%）中的每段文字：x、y、文字，以制表符\n"
    "                            分隔；x、y 为文字框的左上角（0.1 mm，原点在图的左上角，\n"
    "                            y 向上，故为负值）\n"
    "  mark FILE (--load Q | --settlement S | --ratio R)\n"
    "                            从加载曲线读取标记：荷载 沉降 位移/荷载 有效(1/0)\n"
    "  word FILE OUT.docx [--summary] [--detail] [--raw] [--curves] [--analysis]\n"
    "                            Word 报告：所选各部分（不选则为汇总表和曲线图表）\n"
    "  excel FILE OUT[.xls]      原始记录表输出为制表符分隔的 .xls（GBK）\n"

    "  analyse FILE... [--json] [--modulus MPA] [--005d] [--fit FIRST-LAST] [--ratio R]\n"
    "          [--composite KIND] [--small-cap]\n"
    "                            承载力判定：各条规则、建议值与对比方法；多个文件时另给\n"
    "                            多桩（多点）统计\n"
    "  choose FILE OUT.KVD (--proposed | --value V [--at-least]) [--note 说明]\n"
    "                            把承载力的选定值（建议值或手动取值）写入分析文件\n"

    "  upload FILE --host HOST --port PORT\n"
    "                            把测试文件的原始数据上传到质检站（从文件记录的进度继续）；\n"
    "                            全部上传成功时退出码为 0\n"
    "  station [--port P] [--seconds S] [--drop N] [--garble N] [--wrong-echo N] [--zero-id N]\n"
    "          [--delay N:MS] [--close-at N] [--reset-at N] [--close-after N]\n"
    "                            在 127.0.0.1 上运行模拟质检站（默认端口 14006，600 秒）；\n"
    "                            N 为记录号（0 为校验信息），对该报文不应答、应答出错等\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace kvd::cli;
    static const std::map<std::string, int (*)(const Args&)> commands = {
        {"info", run_info},         {"raw", run_raw},     {"readings", run_readings},
        {"grades", run_grades},     {"totals", run_totals}, {"convert", run_convert},
        {"new", run_new},           {"sample", run_sample}, {"calib", run_calib},
        {"table", run_table},       {"pages", run_pages},   {"print-table", run_print_table},
        {"report", run_report},
        {"curve", run_curve},       {"curves", run_curves}, {"curve-texts", run_curve_texts},
        {"mark", run_mark},         {"word", run_word},     {"excel", run_excel},
        {"analyse", run_analyse},   {"choose", run_choose}, {"upload", run_upload},
        {"station", run_station},
    };
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    auto command = commands.find(argv[1]);
    if (command == commands.end()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return command->second(Args(argv + 2, argv + argc));
}
