// The Excel export: the header blocks, one line per raw record with its grade
// load, GBK on disk, the ".xls" rule, failures reported, and LibreOffice
// reading the file back as one row per record.

#include <gtest/gtest.h>

#include "output/command_output.h"
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "doc/scripted_user_interface.h"
#include "output/excel/excel_export.h"
#include "tables/source_table.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

std::string run(const std::string& command) { return kvd::testing::command_output(command); }

class ExcelExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd-excel-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void open(const char* name) {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR "/samples/") + name));
    }
    fs::path dir_;
    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_};
};

TEST_F(ExcelExport, HeaderAndOneLinePerRecordInGbk) {
    open("demo.PTX");
    const std::string text = excel_text(doc_);
    const std::vector<std::string> lines = split(text, '\n');
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(doc_.record().raw_count() + 1));
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(lines[0],
              "本级荷载(kN)\t实测荷载(kN)\t实测油压(MPa)\t记录时间(时:分)\t实际间隔(min)\t"
              "表 1\t表 2\t表 3\t表 4\t表 5\t表 6\t本级沉降(mm)\t平均沉降(mm)\t备注");
    FixedFontMetrics metrics;
    CSourceTable table(doc_, metrics);
    table.fill();
    for (int i = 0; i < doc_.record().raw_count(); ++i) {
        const std::vector<std::string> cells = split(lines[static_cast<std::size_t>(i + 1)] + "\n", '\t');
        ASSERT_EQ(cells.size(), 14u) << i;
        EXPECT_EQ(cells[0], std::to_string(doc_.record().raw_readings[static_cast<std::size_t>(i)].grade_load));
        EXPECT_EQ(cells[3], table.cell_text(i + 1, 3));     // the record time
        EXPECT_EQ(cells[12], table.cell_text(i + 1, 11));   // the average
    }

    const auto written = write_excel(doc_, (dir_ / "demo.txt").string());
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, (dir_ / "demo.txt.xls").string());
    Bytes bytes;
    ASSERT_TRUE(read_whole_file(*written, bytes).ok());
    EXPECT_EQ(gbk_to_utf8(std::string(bytes.begin(), bytes.end())), text);
    EXPECT_EQ(*write_excel(doc_, (dir_ / "B.XLS").string()), (dir_ / "B.XLS").string());
}

TEST_F(ExcelExport, UpliftHeaderAndFailures) {
    open("uplift.PTX");
    const std::string header = split(excel_text(doc_), '\n').at(0);
    EXPECT_EQ(header.substr(header.size() - std::string("本级上拔(mm)\t平均上拔(mm)\t备注").size()),
              "本级上拔(mm)\t平均上拔(mm)\t备注");
    EXPECT_FALSE(write_excel(doc_, (dir_ / "no" / "x.xls").string()));
    ASSERT_EQ(ui_.shown().size(), 1u);
    EXPECT_EQ(ui_.shown()[0].caption, kCaptionError);
    EXPECT_FALSE(fs::exists(dir_ / "no"));
    EXPECT_FALSE(export_excel(doc_));  // the dialog cancelled
}

TEST_F(ExcelExport, LibreOfficeReadsOneRowPerRecord) {
    open("demo.PTX");
    ui_.queue_save_path((dir_ / "demo").string());
    const auto written = export_excel(doc_);
    ASSERT_TRUE(written);
    // Tab-separated GBK text (code page 936 is LibreOffice's encoding 56),
    // back out as comma-separated UTF-8 (76).
    run("cd '" + dir_.string() + "' && soffice -env:UserInstallation=file://" +
        (dir_ / "profile").string() +
        " --headless --infilter='Text - txt - csv (StarCalc):9,34,56'"
        " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' '" + *written +
        "' >/dev/null 2>&1");
    Bytes csv;
    ASSERT_TRUE(read_whole_file(dir_ / "demo.csv", csv).ok());
    const std::vector<std::string> rows = split(std::string(csv.begin(), csv.end()), '\n');
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(doc_.record().raw_count() + 1));
    EXPECT_EQ(rows[0].find("本级荷载(kN),实测荷载(kN)"), 0u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(split(rows[i], ',').at(0),
                  std::to_string(doc_.record().raw_readings[i - 1].grade_load));
    }
}

}  // namespace
}  // namespace kvd
