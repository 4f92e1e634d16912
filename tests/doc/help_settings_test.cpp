#include "doc/help_settings.h"

#include <gtest/gtest.h>

namespace kvd {
namespace {

TEST(HelpSettings, UpdaterParameterLinesOfBothChecks) {
    MemorySettings stored;
    stored.write_text(kHelpSection, kUpdaterProgramKey, "  update-tool \n");
    stored.write_text(kHelpSection, kUpdateListKey, "https://example.invalid/list.txt");
    const HelpSettings settings = read_help_settings(stored);
    EXPECT_EQ(settings.updater_program, "update-tool");
    EXPECT_EQ(settings.support_address, "");

    const UpdaterCall analysis =
        make_updater_call(UpdateTarget::kAnalysis, settings, "/opt/kvd 2/bin/");
    EXPECT_EQ(analysis.program, "update-tool");
    EXPECT_EQ(analysis.parameter_line,
              "KVD 14.070700 https://example.invalid/list.txt \"/opt/kvd 2/bin/");
    // The folder is one argument, blanks and all, without the quote.
    const std::vector<std::string> expected = {
        "KVD", "14.070700", "https://example.invalid/list.txt", "/opt/kvd 2/bin/"};
    EXPECT_EQ(analysis.arguments, expected);

    const UpdaterCall tester = make_updater_call(UpdateTarget::kTester, settings, "/usr/bin/");
    EXPECT_EQ(tester.parameter_line, "PTX 0.0 https://example.invalid/list.txt \"/usr/bin/");

    // Nothing stored: no updater, and blanks count as nothing.
    MemorySettings blank;
    blank.write_text(kHelpSection, kSupportAddressKey, "   ");
    EXPECT_EQ(read_help_settings(blank).support_address, "");
    EXPECT_EQ(read_help_settings(blank).updater_program, "");
}

}  // namespace
}  // namespace kvd
