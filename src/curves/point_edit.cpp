#include "curves/point_edit.h"

#include <cmath>
#include <span>

namespace kvd {

namespace {

bool averaged(const TestParams& params, int channel) {
    return params.averaged[static_cast<std::size_t>(channel)] == 1;
}

// Adds d to the averaged channels of the points, after checking every result.
bool add_to_points(std::span<SamplePoint> points, const TestParams& params, double d) {
    if (!std::isfinite(d) || d == 0) return false;
    for (const SamplePoint& p : points) {
        for (int j = 0; j < kChannelCount; ++j) {
            if (!averaged(params, j)) continue;
            const double v = p.channel[j] + d;
            if (!std::isfinite(v) || std::fabs(v) > kMaxEditedDisplacement) return false;
        }
    }
    for (SamplePoint& p : points) {
        for (int j = 0; j < kChannelCount; ++j) {
            if (averaged(params, j)) p.channel[j] += d;
        }
    }
    return true;
}

void finish(CLbxDoc& doc, int grade, int reading, bool last_of_grade) {
    doc.commit_change(change_notice(grade, reading), false);
    if (last_of_grade) doc.update_all_views(change_notice(grade + 1, 0));
}

}  // namespace

bool add_to_reading(CLbxDoc& doc, int grade, int reading, double d) {
    TestRecord& record = doc.record();
    COneGradeData* g = record.grades.grade(grade);
    if (!g || reading < 0 || reading >= g->size()) return false;
    const auto points = g->points().subspan(static_cast<std::size_t>(reading), 1);
    if (!add_to_points(points, record.test_params, d)) return false;
    finish(doc, grade, reading, reading == g->size() - 1);
    return true;
}

bool add_to_grade(CLbxDoc& doc, int grade, double d) {
    TestRecord& record = doc.record();
    COneGradeData* g = record.grades.grade(grade);
    if (!g || g->empty()) return false;
    if (!add_to_points(g->points(), record.test_params, d)) return false;
    finish(doc, grade, kWholeGrade, true);
    return true;
}

}  // namespace kvd
