#include "record/calibration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/file_io.h"
#include "base/text_codec.h"

namespace kvd {
namespace {

namespace fs = std::filesystem;

Bytes gbk_bytes(std::string_view utf8) {
    const std::string gbk = utf8_to_gbk(utf8);
    return Bytes(gbk.begin(), gbk.end());
}

std::string as_string(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

CalibrationTable parse_utf8(std::string_view utf8,
                            CalibrationType type = CalibrationType::kDisplacement) {
    return parse_calibration_table(gbk_bytes(utf8), type);
}

CalibrationTable sample_table(CalibrationType type) {
    CalibrationTable table;
    table.type = type;
    table.number = "WY-07";
    table.date = "2024年5月6日";
    table.max_range = "10";
    table.interval = "3";
    table.rows = {{"0.00", "1520.4"}, {"3.00", ""}, {"6.00", "1611.0"}, {"9.00", "x,y"}};
    return table;
}

// The sample table written out line by line as the tester's file holds it.
constexpr char kSampleFile[] =
    "位移计率定表\n"
    "编号：,WY-07\n"
    "率定日期：,2024年5月6日\n"
    "率定最大量程（mm）：,10\n"
    "率定间隔（mm）：,3\n"
    "位移（mm）,频率（Hz）\n"
    "0.00,1520.4\n"
    "3.00,\n"
    "6.00,1611.0\n"
    "9.00,x,y\n";

TEST(CalibrationFile, SerialisesByteExactlyWithDisplacementCaptionsForBothTypes) {
    const Bytes expected = gbk_bytes(kSampleFile);
    EXPECT_EQ(serialize_calibration_table(sample_table(CalibrationType::kDisplacement)), expected);
    EXPECT_EQ(serialize_calibration_table(sample_table(CalibrationType::kJack)), expected);

    // GBK, not UTF-8: "位移计率定表" then "\n编号：,".
    const Bytes head = {0xCE, 0xBB, 0xD2, 0xC6, 0xBC, 0xC6, 0xC2, 0xCA, 0xB6, 0xA8,
                        0xB1, 0xED, 0x0A, 0xB1, 0xE0, 0xBA, 0xC5, 0xA3, 0xBA, ','};
    ASSERT_GE(expected.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), expected.begin()));
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\r'), 0);
    EXPECT_EQ(expected.back(), '\n');

    // An empty table still has every caption line, and nothing after the columns line.
    EXPECT_EQ(serialize_calibration_table(CalibrationTable{}),
              gbk_bytes("位移计率定表\n编号：,\n率定日期：,\n率定最大量程（mm）：,\n"
                        "率定间隔（mm）：,\n位移（mm）,频率（Hz）\n"));

    // A line break typed into a text must not shift the lines after it.
    CalibrationTable broken = sample_table(CalibrationType::kJack);
    broken.number = "A\nB";
    broken.rows = {{"1.00", "2\r\n3"}};
    const CalibrationTable back =
        parse_calibration_table(serialize_calibration_table(broken), CalibrationType::kJack);
    EXPECT_EQ(back.number, "A B");
    EXPECT_EQ(back.date, broken.date);
    EXPECT_EQ(back.interval, "3");
    ASSERT_EQ(back.rows.size(), 1u);
    EXPECT_EQ(back.rows[0].reading, "2  3");
}

TEST(CalibrationFile, ParsesLfAndCrlfAlike) {
    const CalibrationTable lf = parse_utf8(kSampleFile, CalibrationType::kJack);
    EXPECT_EQ(lf, sample_table(CalibrationType::kJack));

    std::string crlf;
    for (char c : std::string(kSampleFile)) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    EXPECT_EQ(parse_utf8(crlf, CalibrationType::kJack), sample_table(CalibrationType::kJack));

    // The last row needs no line end.
    std::string unterminated = kSampleFile;
    unterminated.pop_back();
    EXPECT_EQ(parse_utf8(unterminated, CalibrationType::kJack),
              sample_table(CalibrationType::kJack));
}

TEST(CalibrationFile, ParsesShortAndIrregularFiles) {
    CalibrationTable empty_jack;
    empty_jack.type = CalibrationType::kJack;
    EXPECT_EQ(parse_calibration_table({}, CalibrationType::kJack), empty_jack);
    EXPECT_EQ(parse_utf8("位移计率定表"), CalibrationTable{});

    const CalibrationTable cut = parse_utf8("T\n编号：,N1\n率定日期：,D");
    EXPECT_EQ(cut.number, "N1");
    EXPECT_EQ(cut.date, "D");
    EXPECT_EQ(cut.max_range, "");
    EXPECT_TRUE(cut.rows.empty());

    // Parameter lines without a comma give their whole text; row lines give an
    // empty value and the whole line as reading; a blank row line is a blank row.
    const CalibrationTable odd =
        parse_utf8("T\n12345\n率定日期：,a,b\n,\n率定间隔（mm）：,\n列\n1520.4\n\n1.00,2.00\n,");
    EXPECT_EQ(odd.number, "12345");
    EXPECT_EQ(odd.date, "a,b");
    EXPECT_EQ(odd.max_range, "");
    EXPECT_EQ(odd.interval, "");
    const std::vector<CalibrationRow> rows = {{"", "1520.4"}, {"", ""}, {"1.00", "2.00"}, {"", ""}};
    EXPECT_EQ(odd.rows, rows);

    // Bytes that are not GBK become "?" and never stop the reading.
    const Bytes junk = {'T',  '\n', ',',  0x81, '\n', ',',  0xFF,
                        0x00, 'x',  '\n', '\n', '\n', '\n', 0x81};
    const CalibrationTable bad = parse_calibration_table(junk, CalibrationType::kDisplacement);
    EXPECT_EQ(bad.number, "?");
    EXPECT_EQ(bad.date, std::string("?\0x", 3));
    ASSERT_EQ(bad.rows.size(), 1u);
    EXPECT_EQ(bad.rows[0].reading, "?");
}

TEST(CalibrationFile, RemovesSpreadsheetQuotesFromTheParameters) {
    const CalibrationTable quoted = parse_utf8(
        "T\n编号：,\"WY-07\"\n率定日期：,\"2024-05-06\"\n率定最大量程（mm）：,\"10\"\n"
        "率定间隔（mm）：,\"3\"\n列\n\"0.00\",\"1\"\n");
    EXPECT_EQ(quoted.number, "WY-07");
    EXPECT_EQ(quoted.date, "2024-05-06");
    EXPECT_EQ(quoted.max_range, "10");
    EXPECT_EQ(quoted.interval, "3");
    ASSERT_EQ(quoted.rows.size(), 1u);
    EXPECT_EQ(quoted.rows[0].value, "\"0.00\"");  // rows are kept as written

    // A lone quote, an empty text and an unquoted text lose nothing but quotes.
    const CalibrationTable lone =
        parse_utf8("T\n编号：,\"\n率定日期：,\n率定最大量程（mm）：,10\n率定间隔（mm）：,\"3");
    EXPECT_EQ(lone.number, "");
    EXPECT_EQ(lone.date, "");
    EXPECT_EQ(lone.max_range, "10");
    EXPECT_EQ(lone.interval, "3");

    // Quotes count only when the number starts with one.
    const CalibrationTable plain = parse_utf8("T\n编号：,7\n率定日期：,\"d\"\n");
    EXPECT_EQ(plain.date, "\"d\"");

    // Spreadsheets also write CRLF; the CR must not hide the closing quote.
    EXPECT_EQ(parse_utf8("T\r\n编号：,\"N\"\r\n").number, "N");
}

TEST(CalibrationFile, TypeAndPathOfATable) {
    EXPECT_STREQ(calibration_extension(CalibrationType::kDisplacement), ".wld");
    EXPECT_STREQ(calibration_extension(CalibrationType::kJack), ".qld");
    EXPECT_EQ(calibration_type_of("/a/b.qld"), CalibrationType::kJack);
    EXPECT_EQ(calibration_type_of("/a/B.QLD"), CalibrationType::kJack);
    EXPECT_EQ(calibration_type_of("/a/b.wld"), CalibrationType::kDisplacement);
    EXPECT_EQ(calibration_type_of("/a.qld/b"), CalibrationType::kDisplacement);

    CalibrationTable table = sample_table(CalibrationType::kJack);
    fs::path path = "unchanged";
    ASSERT_TRUE(calibration_file_path("/data/率定表", table, path).ok());
    EXPECT_EQ(path, fs::path("/data/率定表/WY-07.qld"));
    table.type = CalibrationType::kDisplacement;
    ASSERT_TRUE(calibration_file_path("/data/", table, path).ok());
    EXPECT_EQ(path, fs::path("/data/WY-07.wld"));

    table.number = "../etc/passwd";
    path = "unchanged";
    const Status refused = calibration_file_path("/data", table, path);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(path, fs::path("unchanged"));
}

TEST(CalibrationFile, RefusesNumbersThatCannotNameAFile) {
    for (std::string_view good : {"A01", "桩号-1 (2)", "..a", "a.b", "１２"}) {
        EXPECT_TRUE(check_calibration_number(good).ok()) << good;
    }
    const std::string too_long(kMaxCalibrationNumberBytes + 1, 'n');
    const std::string with_nul("a\0b", 3);
    for (std::string_view bad :
         {std::string_view(""), std::string_view("."), std::string_view(".."),
          std::string_view("a/b"), std::string_view("a\\b"), std::string_view("C:"),
          std::string_view("a*"), std::string_view("a?"), std::string_view("\"a\""),
          std::string_view("<a>"), std::string_view("a|b"), std::string_view("a\tb"),
          std::string_view("a\nb"), std::string_view("a\x7f"), std::string_view("a\xC2\x85"),
          std::string_view(with_nul), std::string_view(too_long), std::string_view("😀"),
          std::string_view("a\xFF")}) {
        const Status status = check_calibration_number(bad);
        EXPECT_FALSE(status.ok()) << bad;
        EXPECT_NE(status.message().find("编号"), std::string::npos) << bad;
    }
    EXPECT_TRUE(check_calibration_number(std::string(kMaxCalibrationNumberBytes, 'n')).ok());
}

TEST(CalibrationRows, GeneratesZeroThenEachIntervalUpToTheRange) {
    CalibrationTable table = sample_table(CalibrationType::kDisplacement);
    table.rows.clear();
    std::vector<CalibrationRow> rows;
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    const std::vector<CalibrationRow> expected = {
        {"0.00", ""}, {"3.00", ""}, {"6.00", ""}, {"9.00", ""}};
    EXPECT_EQ(rows, expected);

    table.interval = "12";
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    EXPECT_EQ(rows, (std::vector<CalibrationRow>{{"0.00", ""}}));

    table.max_range = "0";
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    EXPECT_EQ(rows.size(), 1u);

    // 0.6 / 0.2 is just below 3 in binary; the full-range row must still come.
    table.max_range = "0.6";
    table.interval = "0.2";
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].value, "0.60");

    table.max_range = " 2.5 ";
    table.interval = "+0.25";
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[1].value, "0.25");
    EXPECT_EQ(rows[10].value, "2.50");

    table.max_range = "10000";
    table.interval = "1";
    ASSERT_TRUE(make_calibration_rows(table, rows).ok());
    EXPECT_EQ(rows.size(), 10001u);
    EXPECT_EQ(rows.back().value, "10000.00");
}

TEST(CalibrationRows, RefusesParametersThatGiveNoSensibleTable) {
    const std::vector<CalibrationRow> before = {{"1.00", "kept"}};
    auto refusal = [&](const char* range, const char* interval, const char* number = "N") {
        CalibrationTable table;
        table.number = number;
        table.date = "d";
        table.max_range = range;
        table.interval = interval;
        std::vector<CalibrationRow> rows = before;
        const Status status = make_calibration_rows(table, rows);
        EXPECT_EQ(rows, before) << range << " / " << interval;
        return status.ok() ? std::string("ok") : status.message();
    };
    EXPECT_EQ(refusal("10", "3", ""), kMessageEmptyCalibrationParams);
    EXPECT_EQ(refusal("", "3"), kMessageEmptyCalibrationParams);
    EXPECT_EQ(refusal("10", ""), kMessageEmptyCalibrationParams);
    EXPECT_NE(refusal("abc", "3").find("最大量程"), std::string::npos);
    EXPECT_NE(refusal("10abc", "3").find("最大量程"), std::string::npos);
    EXPECT_NE(refusal("10", "x").find("间隔"), std::string::npos);
    EXPECT_NE(refusal("10", "nan").find("间隔"), std::string::npos);
    EXPECT_NE(refusal("inf", "1").find("最大量程"), std::string::npos);
    EXPECT_NE(refusal("10", "0").find("间隔"), std::string::npos);
    EXPECT_NE(refusal("10", "-1").find("间隔"), std::string::npos);
    EXPECT_NE(refusal("-10", "1").find("最大量程"), std::string::npos);
    EXPECT_NE(refusal("10001", "1").find("10000"), std::string::npos);
    EXPECT_NE(refusal("1e300", "1e-300").find("10000"), std::string::npos);
    EXPECT_NE(refusal("1", "1e-320").find("10000"), std::string::npos);
}

TEST(CalibrationRows, ReformatsEditedValues) {
    EXPECT_EQ(reformat_calibration_value("3"), "3.00");
    EXPECT_EQ(reformat_calibration_value(" 2.346 "), "2.35");
    EXPECT_EQ(reformat_calibration_value("+1.5"), "1.50");
    EXPECT_EQ(reformat_calibration_value("-4.5"), "-4.50");
    EXPECT_EQ(reformat_calibration_value("-0.001"), "0.00");
    EXPECT_EQ(reformat_calibration_value("1e2"), "100.00");
    EXPECT_EQ(reformat_calibration_value(""), "");
    EXPECT_EQ(reformat_calibration_value("  "), "");
    EXPECT_EQ(reformat_calibration_value("abc"), std::nullopt);
    EXPECT_EQ(reformat_calibration_value("12abc"), std::nullopt);
    EXPECT_EQ(reformat_calibration_value("1,5"), std::nullopt);
    EXPECT_EQ(reformat_calibration_value("inf"), std::nullopt);
    EXPECT_EQ(reformat_calibration_value("-"), std::nullopt);
}

class CalibrationFileIo : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kvd_calibration_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write_raw(const fs::path& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::size_t file_count() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(CalibrationFileIo, SavesAndLoadsBackWithTheTypeOfTheExtension) {
    const CalibrationTable jack = sample_table(CalibrationType::kJack);
    fs::path path;
    ASSERT_TRUE(calibration_file_path(dir_, jack, path).ok());
    ASSERT_TRUE(save_calibration_table(path, jack).ok());
    Bytes written;
    ASSERT_TRUE(read_whole_file(path, written).ok());
    EXPECT_EQ(written, gbk_bytes(kSampleFile));

    CalibrationTable loaded;
    ASSERT_TRUE(load_calibration_table(path, loaded).ok());
    EXPECT_EQ(loaded, jack);

    CalibrationTable displacement = jack;
    displacement.type = CalibrationType::kDisplacement;
    displacement.rows.push_back({"12.00", "2000"});
    ASSERT_TRUE(save_calibration_table(path, displacement).ok());
    fs::rename(path, dir_ / "WY-07.wld");
    ASSERT_TRUE(load_calibration_table(dir_ / "WY-07.wld", loaded).ok());
    EXPECT_EQ(loaded, displacement);
    EXPECT_EQ(file_count(), 1u);
}

TEST_F(CalibrationFileIo, RefusesMissingAndOversizedFiles) {
    CalibrationTable table = sample_table(CalibrationType::kJack);
    const CalibrationTable before = table;

    Status missing = load_calibration_table(dir_ / "none.qld", table);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("不存在"), std::string::npos);
    EXPECT_FALSE(load_calibration_table(dir_, table).ok());

    write_raw(dir_ / "big.qld", std::string(kMaxCalibrationFileBytes + 1, '\n'));
    Status big = load_calibration_table(dir_ / "big.qld", table);
    EXPECT_FALSE(big.ok());
    EXPECT_NE(big.message().find("太大"), std::string::npos);
    EXPECT_EQ(table, before);

    write_raw(dir_ / "limit.qld", std::string(kMaxCalibrationFileBytes, '\n'));
    EXPECT_TRUE(load_calibration_table(dir_ / "limit.qld", table).ok());
}

TEST_F(CalibrationFileIo, FailedSaveKeepsTheOldFile) {
    // A folder standing where the table should go cannot be replaced, even by
    // root, who ignores folder permissions; the save fails and leaves it whole.
    const fs::path target = dir_ / "busy.qld";
    fs::create_directories(target);
    const std::string old_contents = "old table";
    write_raw(target / "inner", old_contents);

    const Status status = save_calibration_table(target, sample_table(CalibrationType::kJack));
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("无法保存文件"), std::string::npos);
    Bytes kept;
    ASSERT_TRUE(read_whole_file(target / "inner", kept).ok());
    EXPECT_EQ(as_string(kept), old_contents);
    EXPECT_EQ(file_count(), 1u);

    const Status no_folder =
        save_calibration_table(dir_ / "gone" / "a.wld", sample_table(CalibrationType::kJack));
    EXPECT_FALSE(no_folder.ok());
    EXPECT_FALSE(no_folder.message().empty());
}

}  // namespace
}  // namespace kvd
