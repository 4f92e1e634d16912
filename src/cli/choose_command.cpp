// kvdtool choose: the engineer's choice of the bearing capacity written into
// an analysis file, as the desktop program's "承载力分析" tab makes it: the
// proposed value of the standard's rules, or a typed value.

#include <cstdio>
#include <ctime>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "base/numeric.h"
#include "base/text_codec.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/lbx_doc.h"

namespace kvd::cli {

int run_choose(const Args& arguments) {
    Args args = arguments;
    const bool proposed = take_flag(args, "--proposed");
    const bool at_least = take_flag(args, "--at-least");
    std::string value_text;
    const bool typed = take_option(args, "--value", value_text);
    std::string note;
    take_option(args, "--note", note);
    if (args.size() != 2 || proposed == typed) {
        return usage_error(
            "用法: kvdtool choose FILE OUT.KVD (--proposed | --value V [--at-least]) "
            "[--note 说明]");
    }
    double value = 0;
    if (typed && (!parse_decimal_number(value_text, value) || !(value > 0))) {
        return usage_error("--value 需要大于 0 的数字");
    }
    // The file keeps 59 GBK bytes of the note.
    const std::string kept = truncate_for_gbk_field(note, 59);
    if (kept != note) std::fprintf(stderr, "说明过长，已截短为：%s\n", kept.c_str());

    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    const TestAnalysis analysis = analyse_test(doc.record());
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    EngineerChoice choice;
    if (typed) {
        if (analysis.family == TestFamily::kUnsupported) {
            std::fprintf(stderr, "该试验类型不作承载力判定\n");
            return 1;
        }
        choice = manual_choice(value, at_least, analysis, now, kept);
    } else {
        const RuleResult& rule = analysis.group_value();
        if (!rule.gives_value()) {
            std::fprintf(stderr, "该试验没有可采用的建议值\n");
            return 1;
        }
        choice = choice_of_rule(rule, analysis, now, kept);
    }
    doc.set_engineer_choice(choice, kChooseCapacityStep);
    return doc.save(args[1]) ? 0 : 1;
}

}  // namespace kvd::cli
