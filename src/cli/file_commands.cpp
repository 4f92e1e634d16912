// kvdtool's file commands: convert, new, sample, calib.

#include <cstdint>
#include <cstdio>
#include <map>

#include "base/file_io.h"
#include "base/format.h"
#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "cli/sample_maker.h"
#include "doc/lbx_doc.h"
#include "record/calibration.h"
#include "record/new_file_wizard.h"

namespace kvd::cli {
namespace {

// "a,b,c" into a 12-entry interval table; entries not given keep their value.
bool parse_intervals(const std::string& text, IntervalTable& table) {
    std::size_t start = 0;
    for (int i = 0; i < kIntervalCount; ++i) {
        const std::size_t comma = text.find(',', start);
        long long value = 0;
        if (!parse_int(text.substr(start, comma - start), value) || value < INT32_MIN ||
            value > INT32_MAX) {
            return false;
        }
        table[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(value);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
    return false;  // more than twelve entries
}

// The whole number given with option `name`, within [low, high]. An empty
// text when it is absent (out unchanged) or taken; else the message saying
// which value is wrong and what it must be.
std::string take_int_option(Args& args, const char* name, int low, int high, int& out) {
    std::string value;
    if (!take_option(args, name, value)) return {};
    long long number = 0;
    if (!parse_int(value, number) || number < low || number > high) {
        return strprintf("%s 需要 %d 到 %d 之间的整数: %s", name, low, high, value.c_str());
    }
    out = static_cast<int>(number);
    return {};
}

// The interval list given with option `name`; the same contract as above.
// Entries after the first must be positive: two readings of a grade may not
// fall on the same minute.
std::string take_intervals_option(Args& args, const char* name, IntervalTable& table) {
    std::string value;
    if (!take_option(args, name, value)) return {};
    if (!parse_intervals(value, table)) {
        return strprintf("%s 需要以逗号分隔的至多 %d 个整数: %s", name, kIntervalCount,
                         value.c_str());
    }
    for (int i = 0; i < kIntervalCount; ++i) {
        const int minutes = table[static_cast<std::size_t>(i)];
        const int low = i == 0 ? 0 : 1;
        if (minutes < low || minutes > kWizardIntervalMax) {
            return strprintf("%s 的第 %d 项需要 %d 到 %d 之间的整数: %d", name, i + 1, low,
                             kWizardIntervalMax, minutes);
        }
    }
    return {};
}

}  // namespace

int run_convert(const Args& arguments) {
    Args args = arguments;
    const bool test_file = take_flag(args, "--test-file");
    if (args.size() != 2) return usage_error("用法: kvdtool convert IN OUT [--test-file]");
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    // The old-format question: "是" keeps an analysis file, "否" a test file.
    ui.queue_answer(test_file ? MessageAnswer::kNo : MessageAnswer::kYes);
    if (!doc.save(args[1])) return 1;
    if (doc.path() != args[1]) std::printf("已保存为 %s\n", doc.path().c_str());
    return 0;
}

int run_new(const Args& arguments) {
    Args args = arguments;
    WizardInput input;
    const std::string problems[] = {
        take_int_option(args, "--max-load", kWizardMaxLoadMin, kWizardMaxLoadMax, input.max_load),
        take_int_option(args, "--grades", kWizardGradesMin, kWizardGradesMax, input.grades),
        take_int_option(args, "--first", kWizardMultipleMin, kWizardMultipleMax,
                        input.first_multiple),
        take_intervals_option(args, "--load-intervals", input.load_intervals),
        take_intervals_option(args, "--unload-intervals", input.unload_intervals),
    };
    if (take_flag(args, "--no-unload")) input.include_unloading = false;
    if (args.size() != 1) {
        return usage_error(
            "用法: kvdtool new OUT [--max-load P] [--grades G] [--first M] [--no-unload] "
            "[--load-intervals a,b,...] [--unload-intervals a,b,...]");
    }
    for (const std::string& problem : problems) {
        if (!problem.empty()) return usage_error(problem);
    }
    if (input.grades < input.first_multiple) {
        return usage_error(
            strprintf("--grades (%d) 不能小于 --first (%d)", input.grades, input.first_multiple));
    }
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.create_from_wizard(input) || !doc.save(args[0])) return 1;
    return 0;
}

int run_calib(const Args& args) {
    if (args.size() != 1) return usage_error("用法: kvdtool calib FILE");
    CalibrationTable table;
    table.type = calibration_type_of(args[0]);
    if (Status status = load_calibration_table(args[0], table); !status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    // Any file reads as some table; only a calibration table is listed.
    Bytes bytes;
    if (Status status = read_whole_file(args[0], bytes); !status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    if (!is_calibration_table(bytes)) {
        std::fprintf(stderr, "%s\n",
                     strprintf(kMessageNotCalibrationTable, args[0].c_str()).c_str());
        return 1;
    }
    std::printf("number\tvalue\treading\n");
    int number = 1;
    for (const CalibrationRow& row : table.rows) {
        std::printf("%d\t%s\t%s\n", number++, row.value.c_str(), row.reading.c_str());
    }
    return 0;
}

int run_sample(const Args& arguments) {
    Args args = arguments;
    static const std::map<std::string, SampleType> types = {
        {"compression", SampleType::kCompression},
        {"uplift", SampleType::kUplift},
        {"plate", SampleType::kPlate},
        {"unfinished", SampleType::kUnfinished},
    };
    SampleOptions options;
    std::string value;
    if (take_option(args, "--type", value)) {
        auto type = types.find(value);
        if (type == types.end()) return usage_error("未知的样例类型: " + value);
        options.type = type->second;
    }
    long long number = 0;
    if (take_option(args, "--seed", value)) {
        if (!parse_int(value, number) || number < 0) return usage_error("--seed 需要非负整数");
        options.seed = static_cast<std::uint64_t>(number);
    }
    if (take_option(args, "--readings", value)) {
        if (!parse_int(value, number) || number < 1 || number > 10000000) {
            return usage_error("--readings 需要 1 到 10000000 之间的整数");
        }
        options.readings = static_cast<int>(number);
    }
    if (args.size() != 1) {
        return usage_error(
            "用法: kvdtool sample OUT [--type compression|uplift|plate|unfinished] [--seed N] "
            "[--readings N]");
    }
    Bytes bytes;
    Status status = make_sample_file(options, bytes);
    if (status.ok()) status = replace_file_atomically(args[0], bytes);
    if (!status.ok()) {
        std::fprintf(stderr, "%s\n", status.message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace kvd::cli
