#include "tables/test_table.h"

#include <algorithm>
#include <limits>

#include "base/format.h"

namespace kvd {
namespace {

constexpr char kTimeCaption[] = "时间\n(min)";

std::string load_caption(const TestParams& params) {
    return params.in_kpa() ? "荷载\n(kPa)" : "荷载\n(kN)";
}

std::string_view popup_text(int command_id) {
    for (const TablePopupItem& item : kTablePopupMenu) {
        if (item.id == command_id) return item.text;
    }
    return {};
}

}  // namespace

CTestTable::CTestTable(CLbxDoc& doc, const FontMetrics& metrics, GridColours colours)
    : CMyGrid(doc, metrics, colours) {}

int CTestTable::grade_of_column(int column) const {
    if (column < 1 || column > shown_grades()) return -1;
    return first_grade() + column - 1;
}

const IntervalTable& CTestTable::intervals() const {
    const TestParams& params = doc().record().test_params;
    return is_load_table() ? params.load_intervals : params.unload_intervals;
}

int CTestTable::planned_minutes(int row) const {
    const IntervalTable& table = intervals();
    long long minutes = 0;
    for (int i = 0; i < std::min(row, kReadingRows); ++i) {
        minutes += table[static_cast<std::size_t>(std::min(i, kIntervalCount - 1))];
    }
    return static_cast<int>(std::clamp<long long>(minutes, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

Colour CTestTable::text_colour() const {
    return is_load_table() ? kLoadingText : kUnloadingText;
}

Colour CTestTable::background() const {
    return is_load_table() ? kLoadingBackground : kUnloadingBackground;
}

void CTestTable::fill_cell(int row, int column, const std::string& text, Colour text_colour,
                           Colour background) {
    set_cell_text(row, column, text);
    set_cell_text_colour(row, column, text_colour);
    set_cell_background(row, column, background);
}

void CTestTable::fill() {
    const int shown = std::max(0, shown_grades());
    // Without a grade there is nothing to time: the header alone, and the
    // view says why the table is empty.
    const int rows = shown > 0 ? kRows : 1;
    set_row_count(rows);
    set_column_count(shown + 1);
    set_fixed_row_count(1);
    set_fixed_column_count(1);
    set_row_height(0, three_line_row_height());
    for (int row = 1; row < rows; ++row) set_row_height(row, default_row_height());
    set_column_width(0, chars_width(10));
    for (int column = 1; column <= shown; ++column) set_column_width(column, chars_width(8));

    // The corner keeps both captions so that a plain dump of the cells reads.
    fill_cell(0, 0, load_caption(doc().record().test_params) + "\n" + kTimeCaption, kDefaultColour,
              kDefaultColour);
    for (int row = 1; row < rows; ++row) {
        fill_cell(row, 0, strprintf("%d", planned_minutes(row)), kDefaultColour, kDefaultColour);
    }

    for (int column = 1; column <= shown; ++column) fill_grade_column(column);
    filled_first_ = first_grade();
    filled_shown_ = shown;
    refresh_menu_state();
}

std::string CTestTable::empty_text() const {
    if (shown_grades() > 0) return {};
    return is_load_table() ? "本试验没有加载数据" : "本试验没有卸载数据";
}

std::vector<HeaderCaption> CTestTable::header_captions() const {
    using Part = HeaderCaption::Part;
    const CellId current = current_cell();
    const bool bold = current.valid() && (current.row == 0 || current.column == 0);
    std::vector<HeaderCaption> captions = {
        {0, 0, Part::kDiagonalUpper, load_caption(doc().record().test_params), bold},
        {0, 0, Part::kDiagonalLower, kTimeCaption, bold},
    };
    for (int column = 1; column < column_count(); ++column) {
        captions.push_back({column, column, Part::kFull, cell_text(0, column)});
    }
    return captions;
}

bool CTestTable::any_channel_averaged() const {
    const auto& averaged = doc().record().test_params.averaged;
    return std::any_of(averaged.begin(), averaged.end(), [](int flag) { return flag == 1; });
}

void CTestTable::fill_grade_column(int column) {
    const int g = grade_of_column(column);
    const COneGradeData* grade = doc().record().grades.grade(g);
    const int n = grade ? grade->size() : 0;
    // Row 1 repeats the previous grade's last reading; it is greyed but for
    // the test's very first reading.
    const bool row1_editable = is_load_table() && column == 1;
    fill_cell(0, column, n > 0 ? strprintf("%d", grade->front().load) : std::string(),
              text_colour(), kDefaultColour);
    for (int row = 1; row < kRows; ++row) {
        if (row > n) {
            fill_cell(row, column, std::string(), kEmptyCellColour, kEmptyCellColour);
            continue;
        }
        const Colour text = row == 1 && !row1_editable ? kDisabledText : text_colour();
        fill_cell(row, column, strprintf("%6.2f", grade->get(row - 1)->settlement), text,
                  background());
    }
}

bool CTestTable::refill_changed(int grade, int) {
    const CTestData& grades = doc().record().grades;
    const int shown = shown_grades();
    if (shown <= 0 || filled_shown_ != shown || filled_first_ != first_grade() ||
        grade < 0 || grade >= grades.grade_count() || row_count() != kRows ||
        column_count() != shown + 1) {
        return false;
    }
    // The document's update reaches the grade and the repeat of its last
    // reading at the start of the next grade with readings, passed on through
    // grades of a single reading: the same columns are filled again.
    for (int g = grade; g < grades.grade_count(); ++g) {
        const int column = g - first_grade() + 1;
        if (column >= 1 && column <= shown) fill_grade_column(column);
        const int n = grades.reading_count(g);
        if (g > grade && n > 1) break;
    }
    refresh_menu_state();
    return true;
}

bool CTestTable::can_edit(int row, int column) const {
    if (!editable() || !any_channel_averaged()) return false;
    // Without a grade the table has no rows to edit (fill shows the header alone).
    if (row < 0 || row >= kRows || shown_grades() <= 0) return false;
    if (column == 0) return row >= 2 && row <= kLastTimeRow;
    if (grade_of_column(column) < 0) return false;
    if (is_load_table() && column == 1) return row == 1;
    return row != 1;
}

bool CTestTable::begin_edit(int row, int column, std::optional<char32_t> key) const {
    if (key && !key_starts_edit(*key)) return false;
    return can_edit(row, column);
}

std::optional<CellRange> CTestTable::change_range(int grade, int reading) const {
    if (grade < first_grade() || grade - first_grade() >= shown_grades()) return std::nullopt;
    const int column = grade - first_grade() + 1;
    if (reading == kWholeGrade) {
        const int last = std::clamp(doc().record().grades.reading_count(grade), 1, kReadingRows);
        return CellRange{1, column, last, column};
    }
    if (reading < 0 || reading >= kReadingRows) return std::nullopt;
    return CellRange{reading + 1, column, reading + 1, column};
}

void CTestTable::set_target_cell(CellId cell) {
    target_ = cell;
    refresh_menu_state();
}

int CTestTable::menu_state_for(CellId cell) const {
    const int g = grade_of_column(cell.column);
    if (g < 0 || cell.row < 0 || cell.row >= kRows) return kMenuStateNone;
    const int n = doc().record().grades.reading_count(g);
    // Row 1 of an empty grade holds no reading: it counts as the area below.
    const bool holds_reading = cell.row >= 1 && cell.row <= n;
    if (is_load_table() && cell.column == 1) {
        return cell.row == 1 && holds_reading ? kMenuStateBaseReading : kMenuStateBaseGrade;
    }
    if (!holds_reading) return kMenuStateGradeArea;
    return cell.row == 1 ? kMenuStateFirstReading : kMenuStateReading;
}

bool CTestTable::enabled(int command_id) const {
    if (command_id == kCommandInsertReading &&
        !table_edit::can_insert_reading(doc(), grade_of_column(target_.column))) {
        return false;
    }
    return command_enabled(command_id, menu_state_for(target_), doc().can_add_unloading_data());
}

bool CTestTable::run_command(int command_id) {
    if (!enabled(command_id)) return false;
    const CommandStep step(doc(), command_step_name(popup_text(command_id)));
    const int grade = grade_of_column(target_.column);
    const int reading = target_.row - 1;
    bool changed = false;
    switch (command_id) {
        case kCommandChangeIntervals:
            changed = table_edit::change_sampling_intervals(doc());
            break;
        case kCommandInsertGrade:
            changed = table_edit::insert_grade_after(doc(), grade);
            break;
        case kCommandInsertReading:
            changed = table_edit::insert_reading_after(doc(), grade, reading);
            break;
        case kCommandDeleteGrade:
            changed = table_edit::delete_grade(doc(), grade);
            break;
        case kCommandDeleteReading:
            changed = table_edit::delete_reading(doc(), grade, reading);
            break;
        case kCommandAddValue:
            changed = table_edit::add_fixed_value(doc(), grade, reading);
            break;
        case kCommandMultiply:
            changed = table_edit::multiply_by_factor(doc(), grade, reading);
            break;
        case kCommandAddUnloading:
            changed = table_edit::add_unloading_data(doc());
            break;
        default:
            break;
    }
    refresh_menu_state();
    return changed;
}

bool CTestTable::key_command(TableKey key) {
    const CellId cell = current_cell();
    const int state = menu_state_for(cell);
    const int grade = grade_of_column(cell.column);
    const CommandStep step(
        doc(), command_step_name(popup_text(key == TableKey::kInsert ? kCommandInsertReading
                                                                     : kCommandDeleteReading)));
    bool changed = false;
    if (key == TableKey::kInsert &&
        (state == kMenuStateFirstReading || state == kMenuStateReading)) {
        changed = table_edit::insert_reading_after(doc(), grade, cell.row - 1);
    } else if (key == TableKey::kDelete && state == kMenuStateReading) {
        changed = table_edit::delete_reading(doc(), grade, cell.row - 1);
    }
    refresh_menu_state();
    return changed;
}

}  // namespace kvd
