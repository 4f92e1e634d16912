#include "doc/record_edits.h"

#include <cmath>
#include <vector>

#include "base/numeric.h"

namespace kvd {

namespace {

bool displacement_ok(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxDisplacement;
}

// Applies op to every averaged channel from (grade, reading) to the end of
// the test, after checking that every result stays in range; nothing changes
// when one would not.
template <typename Op>
bool change_following(TestRecord& record, int grade, int reading, Op op) {
    if (!record.grades.get_reading(grade, reading)) return false;
    std::vector<int> averaged;
    for (int j = 0; j < kChannelCount; ++j) {
        if (record.test_params.averaged[static_cast<std::size_t>(j)] == 1) averaged.push_back(j);
    }
    auto for_each_point = [&](auto&& visit) {
        std::vector<COneGradeData>& grades = record.grades.grades();
        for (int g = grade; g < static_cast<int>(grades.size()); ++g) {
            auto points = grades[static_cast<std::size_t>(g)].points();
            const std::size_t start = g == grade ? static_cast<std::size_t>(reading) : 0;
            for (std::size_t i = start; i < points.size(); ++i) visit(points[i]);
        }
    };
    bool in_range = true;
    for_each_point([&](const SamplePoint& p) {
        for (int j : averaged) in_range = in_range && displacement_ok(op(p.channel[j]));
    });
    if (!in_range) return false;
    for_each_point([&](SamplePoint& p) {
        for (int j : averaged) p.channel[j] = op(p.channel[j]);
    });
    return true;
}

}  // namespace

NumberDialogRequest add_value_request(double settlement) {
    NumberDialogRequest request;
    request.title = kAddValueTitle;
    request.labels = {"请输入要加上的位移变化值", "(如果为负值表示减去一个固定值)", "mm"};
    // Never "-0".
    request.initial = settlement == 0 ? 0.0 : -settlement;
    return request;
}

bool add_to_following(TestRecord& record, int grade, int reading, double value) {
    return change_following(record, grade, reading, [value](double x) { return x + value; });
}

bool multiply_following(TestRecord& record, int grade, int reading, double factor) {
    return change_following(record, grade, reading,
                            [factor](double x) { return round2(x * factor); });
}

const char* delete_reading_question(const CTestData& grades, int grade) {
    return grades.reading_count(grade) > 2 ? kConfirmDeleteReading : kConfirmDeleteLastReading;
}

bool remove_reading_or_grade(CTestData& grades, int grade, int reading) {
    if (!grades.get_reading(grade, reading)) return false;
    if (grades.reading_count(grade) > 2) {
        grades.remove_reading(grade, reading);
    } else {
        grades.remove_grade(grade);
    }
    return true;
}

}  // namespace kvd
