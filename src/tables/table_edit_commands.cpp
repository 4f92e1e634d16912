#include "tables/table_edit_commands.h"

#include <algorithm>
#include <initializer_list>

#include "base/numeric.h"

namespace kvd {

bool command_enabled(int command_id, int menu_state, bool can_add_unloading) {
    auto in = [menu_state](std::initializer_list<int> states) {
        return std::find(states.begin(), states.end(), menu_state) != states.end();
    };
    switch (command_id) {
        case kCommandChangeIntervals:
            return true;
        case kCommandInsertGrade:
            return in({2, 3, 4, 5, 6});
        case kCommandInsertReading:
            return in({5, 6});
        case kCommandDeleteGrade:
            return in({2, 5, 6});
        case kCommandDeleteReading:
            return in({6});
        case kCommandAddValue:
        case kCommandMultiply:
            return in({4, 6});
        case kCommandAddUnloading:
            return can_add_unloading;
        default:
            return false;
    }
}

int first_unplanned_interval(const IntervalTable& before, const IntervalTable& typed) {
    for (std::size_t i = 1; i < typed.size(); ++i) {
        if (typed[i] <= 0 && typed[i] != before[i]) return static_cast<int>(i);
    }
    return -1;
}

namespace table_edit {
namespace {

// Every popup command changes readings beyond one grade (or their number or
// schedule): the document brings the whole record up to date.
void finish(CLbxDoc& doc) {
    doc.commit_change(hint::kRefresh, true);
}

// The end of add and multiply: the averages follow the changed channels; a
// change refused for its range is reported and leaves everything as it was.
bool finish_range_change(CLbxDoc& doc, bool changed) {
    if (!changed) {
        doc.ui().beep();
        doc.ui().show_error(kValueOutOfRange);
        return false;
    }
    finish(doc);
    return true;
}

bool confirm(CLbxDoc& doc, const char* question) {
    return doc.ui().message_box(question, kCaptionWarning, MessageButtons::kYesNo,
                                MessageIcon::kWarning) == MessageAnswer::kYes;
}

bool reading_exists(const CLbxDoc& doc, int grade, int reading) {
    return doc.record().grades.get_reading(grade, reading).has_value();
}

IntervalTable clamped(IntervalTable table) {
    for (auto& minutes : table) minutes = std::clamp(minutes, 0, kMaxInterval);
    return table;
}

}  // namespace

void store_intervals(TestRecord& record, const IntervalTable& load, const IntervalTable& unload) {
    record.test_params.load_intervals = clamped(load);
    record.test_params.unload_intervals = clamped(unload);
    for (int i = 0; i < kIntervalCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        record.header.load_intervals[i] =
            static_cast<std::uint16_t>(record.test_params.load_intervals[k]);
        record.header.unload_intervals[i] =
            static_cast<std::uint16_t>(record.test_params.unload_intervals[k]);
    }
}

bool change_sampling_intervals(CLbxDoc& doc) {
    const IntervalTable old_load = doc.record().test_params.load_intervals;
    const IntervalTable old_unload = doc.record().test_params.unload_intervals;
    IntervalTable load = old_load;
    IntervalTable unload = old_unload;
    if (!doc.ui().ask_intervals(load, unload)) return false;
    if (first_unplanned_interval(old_load, load) >= 0 ||
        first_unplanned_interval(old_unload, unload) >= 0) {
        doc.ui().beep();
        doc.ui().show_error(kIntervalNotPositive);
        return false;
    }
    store_intervals(doc.record(), load, unload);
    finish(doc);
    return true;
}

bool insert_grade_after(CLbxDoc& doc, int grade) {
    if (doc.record().grades.reading_count(grade) == 0) return false;
    doc.record().grades.insert_grade_after(grade);
    finish(doc);
    return true;
}

bool can_insert_reading(const CLbxDoc& doc, int grade) {
    return doc.record().grades.reading_count(grade) < kMaxGradeReadings;
}

bool insert_reading_after(CLbxDoc& doc, int grade, int reading) {
    if (!reading_exists(doc, grade, reading) || !can_insert_reading(doc, grade)) return false;
    doc.record().grades.duplicate_reading(grade, reading);
    finish(doc);
    return true;
}

bool delete_grade(CLbxDoc& doc, int grade) {
    if (!doc.record().grades.grade(grade)) return false;
    doc.ui().beep();
    if (!confirm(doc, kConfirmDeleteGrade)) return false;
    doc.record().grades.remove_grade(grade);
    finish(doc);
    return true;
}

bool delete_reading(CLbxDoc& doc, int grade, int reading) {
    if (!reading_exists(doc, grade, reading)) return false;
    CTestData& grades = doc.record().grades;
    doc.ui().beep();
    if (!confirm(doc, delete_reading_question(grades, grade))) return false;
    remove_reading_or_grade(grades, grade, reading);
    finish(doc);
    return true;
}

bool add_fixed_value(CLbxDoc& doc, int grade, int reading) {
    if (!reading_exists(doc, grade, reading)) return false;
    const double settlement = doc.record().grades.get_reading(grade, reading)->settlement;
    const double value = round2(doc.ui().ask_number(add_value_request(settlement)).value_or(0.0));
    if (value == 0) return false;
    return finish_range_change(doc, add_to_following(doc.record(), grade, reading, value));
}

bool multiply_by_factor(CLbxDoc& doc, int grade, int reading) {
    if (!reading_exists(doc, grade, reading)) return false;
    NumberDialogRequest request;
    request.title = kMultiplyTitle;
    request.labels = {"请输入要乘上的倍数", "(如果为 -1 表示位移数据正负变换)"};
    request.initial = -1;
    const double factor = doc.ui().ask_number(request).value_or(1.0);
    if (factor == 1) return false;
    return finish_range_change(doc, multiply_following(doc.record(), grade, reading, factor));
}

bool add_unloading_data(CLbxDoc& doc) {
    if (!doc.can_add_unloading_data()) return false;
    return doc.add_unloading_data();
}

}  // namespace table_edit

}  // namespace kvd
