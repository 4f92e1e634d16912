#pragma once
// CTestTable: what the load and unload detail tables (CLoadTable,
// CUnloadTable) share. Column 0 holds the planned times, column j >= 1 the
// j-th grade the table shows; row 0 holds the loads, rows 1 ... 100 readings
// 0 ... 99 of each grade. Readings are edited here in place, and the table
// popup (table_edit_commands.h) works on the cell last targeted.
//
// On paper a detail table is not the screen grid: it prints one row per
// reading, walking the grades (each later grade's reading 0 repeats the
// previous grade's last and is printed only when PrintContent asks for the
// zero-minute rows), with one column per printed displacement channel.
//
// The two tables differ only in which grades they show (first_grade(),
// shown_grades()), their control identifier, which interval table their times
// use, which cells of the first grade column may be edited, and their colours.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/my_grid.h"
#include "tables/table_edit_commands.h"

namespace kvd {

inline constexpr int kLoadTableId = 61451;
inline constexpr int kUnloadTableId = 61452;

// Messages of refused in-place edits (caption "错误", stop icon).
inline constexpr char kTimeBetweenNeighbours[] =
    "输入的数必须在上一个时刻和下一个时刻之间才有效!\n"
    "如果一定要改为此数，您可以从后面的时间向前改动!";
inline constexpr char kTimeAfterPrevious[] = "输入的数必须大于上一个时刻才有效!";
inline constexpr char kIntervalTooLong[] = "采样间隔时间不能超过65535分钟!";

// A grade and one of its readings, as a printed body row stands for them.
struct PrintedReading {
    int grade = 0;
    int reading = 0;
    friend bool operator==(const PrintedReading&, const PrintedReading&) = default;
};

// What a printed body row shows for a reading: its minutes in the grade and
// since the test began, the value of each printed channel (nothing for a
// padding channel, printed "--"), the average's change within the grade and
// the average itself.
struct PrintedValues {
    int minutes = 0;
    int cumulative_minutes = 0;
    std::vector<std::optional<double>> channels;
    double change = 0;
    double average = 0;
};

// Keys the grid hands to the table.
enum class TableKey { kInsert, kDelete };

class CTestTable : public CMyGrid {
  public:
    static constexpr int kRows = 101;  // the load row and readings 0 ... 99
    static constexpr int kReadingRows = table_edit::kMaxGradeReadings;
    static constexpr int kLastTimeRow = 12;  // times of rows 2 ... 12 may be edited

    CTestTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours = {});

    virtual int control_id() const = 0;
    bool is_load_table() const { return control_id() == kLoadTableId; }
    // "本试验没有加载数据" / "本试验没有卸载数据" when the table shows no grade.
    std::string empty_text() const override;
    // The first grade shown (column 1) and how many are shown.
    virtual int first_grade() const = 0;
    virtual int shown_grades() const = 0;
    // Grade index of a grade column; -1 for column 0 or a column not shown.
    int grade_of_column(int column) const;
    // The sampling intervals the time column follows.
    const IntervalTable& intervals() const;
    // Planned minutes of row k (1 ... 100): the sum of the first k intervals.
    int planned_minutes(int row) const;

    void fill() override;
    bool refill_changed(int grade, int reading) override;
    std::vector<HeaderCaption> header_captions() const override;

    // Editing. begin_edit takes the key typed into the cell, or nothing for
    // a double-click.
    bool can_edit(int row, int column) const override;
    bool begin_edit(int row, int column, std::optional<char32_t> key) const;
    bool end_edit(int row, int column, std::string_view text) override;

    std::optional<CellRange> change_range(int grade, int reading) const override;

    // The popup. The target is the cell last right-clicked, or the current
    // cell when that changes; the menu state follows it.
    void set_target_cell(CellId cell);
    CellId target_cell() const { return target_; }
    int menu_state_for(CellId cell) const;
    bool enabled(int command_id) const;
    // Runs a popup command on the target; false when it is not offered there
    // or changed nothing.
    bool run_command(int command_id);
    // Insert (states 5 and 6) and Delete (state 6) on the current cell.
    bool key_command(TableKey key);

    // The body rows on paper, in order.
    std::vector<PrintedReading> printed_readings() const;
    // The values of a printed row over `channels` (a printed channel list);
    // nothing for a reading that does not exist.
    std::optional<PrintedValues> printed_values(PrintedReading row,
                                                const std::vector<int>& channels) const;
    std::optional<int> page_count_without_fill(PageSetup& setup) const override;

  protected:
    int printable_rows() const override;
    void compute_printed_channels() override;
    void print_column_band(PrintPage& page) override;
    void print_body(PrintPage& page) override;

  private:
    void fill_grade_column(int column);

    Colour text_colour() const;
    Colour background() const;
    void fill_cell(int row, int column, const std::string& text, Colour text_colour,
                   Colour background);
    bool any_channel_averaged() const;
    void refresh_menu_state() { set_menu_state(menu_state_for(target_)); }

    // The in-place edit rules.
    bool refuse(const char* message);
    bool edit_load(int grade, double value);
    bool edit_reading(int grade, int reading, double value);
    bool append_readings(int grade, int rows, double value);
    bool edit_time(int row, double value);

    // Print helpers.
    int column_x(int column, int width) const;
    void print_reading_cells(PrintPage& page, int grade, int reading, int top);

    CellId target_;
    // The grades the last fill showed (first_grade(), shown_grades()): a
    // change that alters them needs a whole fill.
    int filled_first_ = -1;
    int filled_shown_ = -1;
};

}  // namespace kvd
