// The exported reports as a reader sees them: LibreOffice converts every
// .docx to PDF (in one run, with a profile of its own) and pdftotext finds
// the summary table's numbers and the section titles in it.
// KVD_WORD_PNG_DIR=<folder> keeps pictures of the pages (pdftoppm).

#include <gtest/gtest.h>

#include "output/command_output.h"
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "doc/scripted_user_interface.h"
#include "output/word/word_report_export.h"
#include "tables/gather_table.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) { return kvd::testing::command_output(command); }

// The summary numbers as the table on screen shows them, row by row.
std::vector<std::string> summary_rows(CLbxDoc& doc) {
    FixedFontMetrics metrics;
    CGatherTable table(doc, metrics);
    table.fill();
    std::vector<std::string> rows;
    for (int r = 1; r < table.row_count(); ++r) {
        std::string row;
        for (int c = 0; c < 6; ++c) row += (c ? " " : "") + table.cell_text(r, c);
        rows.push_back(row);
    }
    return rows;
}

// The page count pdfinfo reports; 0 when it cannot read the file.
int pages(const std::string& pdf) {
    const std::string info = run("pdfinfo '" + pdf + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

std::string squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ' && out.back() != '\n') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

TEST(WordLibreOffice, EveryExportOpensAndShowsItsNumbers) {
    const fs::path dir = fs::temp_directory_path() / ("kvd-word-lo-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    struct Case {
        const char* sample;
        const char* name;
        WordReportOptions options;
        const char* title;
    };
    const std::vector<Case> cases = {
        {"demo.PTX", "demo_all", {true, true, true, true}, "单桩竖向抗压静载试验汇总表"},
        {"uplift.PTX", "uplift", {}, "单桩竖向抗压静载试验汇总表"},
        {"plate.PTX", "plate", {true, true, true, true}, "单桩竖向抗压静载试验原始记录表"},
        {"demo.KVD", "curves_only", {false, false, false, true}, "工程名称："},
    };
    std::vector<std::vector<std::string>> numbers;
    std::string files;
    for (const Case& c : cases) {
        ScriptedUserInterface ui;
        CLbxDoc doc(ui);
        ASSERT_TRUE(doc.open(std::string(KVD_SOURCE_DIR "/samples/") + c.sample));
        const std::string path = (dir / c.name).string() + ".docx";
        ASSERT_TRUE(write_word_report(doc, c.options, path)) << c.name;
        numbers.push_back(c.options.summary ? summary_rows(doc) : std::vector<std::string>{});
        files += " '" + path + "'";
    }
    const std::string profile = "file://" + (dir / "profile").string();
    run("cd '" + dir.string() + "' && soffice -env:UserInstallation=" + profile +
        " --headless --convert-to pdf" + files + " >/dev/null 2>&1");

    const char* keep = std::getenv("KVD_WORD_PNG_DIR");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string pdf = (dir / cases[i].name).string() + ".pdf";
        ASSERT_TRUE(fs::exists(pdf)) << "LibreOffice did not convert " << cases[i].name;
        EXPECT_GT(pages(pdf), 0) << cases[i].name;
        const std::string text = squeezed(run("pdftotext -layout '" + pdf + "' -"));
        EXPECT_NE(text.find(cases[i].title), std::string::npos) << cases[i].name;
        for (const std::string& row : numbers[i]) {
            EXPECT_NE(text.find(row), std::string::npos) << cases[i].name << ": " << row;
        }
        if (keep && *keep) {
            fs::create_directories(keep);
            run("pdftoppm -r 60 -png '" + pdf + "' '" + (fs::path(keep) / cases[i].name).string() + "'");
        }
    }
    // The curves-only report: one page, the three pictures drawn on it.
    EXPECT_EQ(pages((dir / "curves_only.pdf").string()), 1);
    const std::string curve_text = run("pdftotext '" + (dir / "curves_only.pdf").string() + "' -");
    for (const char* title : {"Q-s", "s-lgt", "s-lgQ"}) {
        EXPECT_NE(curve_text.find(title), std::string::npos) << title;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kvd
