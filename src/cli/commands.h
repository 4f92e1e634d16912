#pragma once
// The kvdtool commands. Each takes the arguments after the command name and
// returns the process exit code; tables go to standard output as UTF-8,
// tab-separated, with one header line; messages go to standard error.

#include <string>
#include <vector>

namespace kvd::cli {

using Args = std::vector<std::string>;

int run_info(const Args& args);
int run_raw(const Args& args);
int run_readings(const Args& args);
int run_grades(const Args& args);
int run_totals(const Args& args);
int run_convert(const Args& args);
int run_new(const Args& args);
int run_sample(const Args& args);
int run_calib(const Args& args);
int run_table(const Args& args);
int run_pages(const Args& args);
int run_print_table(const Args& args);
int run_report(const Args& args);
int run_curve(const Args& args);
int run_curves(const Args& args);
int run_curve_texts(const Args& args);
int run_mark(const Args& args);
int run_word(const Args& args);
int run_excel(const Args& args);
int run_analyse(const Args& args);
int run_choose(const Args& args);
int run_upload(const Args& args);
int run_station(const Args& args);

// Prints a usage error and returns the exit code for it.
int usage_error(const std::string& message);

// The value following option name in args, removing both; nullopt-like empty
// string with found = false when absent.
bool take_option(Args& args, const std::string& name, std::string& value);
bool take_flag(Args& args, const std::string& name);
// Parses a whole integer; false for anything else.
bool parse_int(const std::string& text, long long& value);

// The extension of a path in lower case, with its dot (".png").
std::string lower_extension(const std::string& path);
// Qt draws text only with an application object; without a display it
// renders offscreen. Made once, on first use.
void ensure_gui_application();

}  // namespace kvd::cli
