#include "record/test_data.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kvd {

int CTestData::reading_count(int g) const {
    const COneGradeData* data = grade(g);
    return data ? data->size() : 0;
}

int CTestData::total_readings() const {
    int total = 0;
    for (const auto& g : grades_) total += g.size();
    return total;
}

int CTestData::distinct_times() const {
    int total = 1;
    for (const auto& g : grades_) total += g.size() - 1;
    return total;
}

int CTestData::loading_grade_count() const {
    return static_cast<int>(std::count_if(grades_.begin(), grades_.end(), [](const auto& g) {
        return !g.empty() && g.front().loading == kLoading;
    }));
}

std::optional<SamplePoint> CTestData::get_reading(int g, int i) const {
    const COneGradeData* data = grade(g);
    const SamplePoint* point = data ? data->get(i) : nullptr;
    if (!point) return std::nullopt;
    return *point;
}

void CTestData::put_reading(int g, int i, const SamplePoint& point) {
    if (COneGradeData* data = grade(g)) data->put(i, point);
}

int CTestData::first_load(int g) const {
    const COneGradeData* data = grade(g);
    return data && !data->empty() ? data->front().load : -1;
}

int CTestData::last_minutes(int g) const {
    const COneGradeData* data = grade(g);
    return data && !data->empty() ? data->back().minutes : -1;
}

double CTestData::last_settlement(int g) const {
    const COneGradeData* data = grade(g);
    return data && !data->empty() ? data->back().settlement : 0.0;
}

Extremes CTestData::extremes() const {
    Extremes e;
    bool first = true;
    auto take = [&](const SamplePoint& p) {
        // The most negative load has no int magnitude; it counts as the largest.
        const int magnitude = p.load == std::numeric_limits<int>::min()
                                  ? std::numeric_limits<int>::max()
                                  : std::abs(p.load);
        e.max_abs_load = std::max(e.max_abs_load, magnitude);
        if (first || p.settlement > e.max_settlement) e.max_settlement = p.settlement;
        if (first || p.settlement < e.min_settlement) e.min_settlement = p.settlement;
        first = false;
    };
    for (const auto& g : grades_) {
        if (g.empty()) continue;
        if (g.front().loading == kLoading) {
            for (const auto& p : g.points()) take(p);
        } else {
            take(g.back());
        }
    }
    return e;
}

COneGradeData* CTestData::grade(int g) {
    return g >= 0 && g < grade_count() ? &grades_[static_cast<std::size_t>(g)] : nullptr;
}

const COneGradeData* CTestData::grade(int g) const {
    return g >= 0 && g < grade_count() ? &grades_[static_cast<std::size_t>(g)] : nullptr;
}

COneGradeData& CTestData::append_grade() { return grades_.emplace_back(); }

void CTestData::renumber_from(int first_grade, int delta) {
    for (int g = std::max(first_grade, 0); g < grade_count(); ++g) {
        for (auto& p : grades_[static_cast<std::size_t>(g)].points()) p.grade += delta;
    }
}

void CTestData::remove_grade(int g) {
    if (!grade(g)) return;
    renumber_from(g + 1, -1);
    grades_.erase(grades_.begin() + g);
}

void CTestData::insert_grade_after(int g) {
    const COneGradeData* source = grade(g);
    if (!source || source->empty()) return;
    SamplePoint first = source->back();
    first.grade += 1;
    SamplePoint second = first;
    first.minutes = source->front().minutes;
    second.minutes = source->size() > 1 ? source->get(1)->minutes : source->front().minutes;
    renumber_from(g + 1, +1);
    COneGradeData inserted;
    inserted.append(first);
    inserted.append(second);
    grades_.insert(grades_.begin() + g + 1, std::move(inserted));
}

void CTestData::duplicate_reading(int g, int i) {
    COneGradeData* data = grade(g);
    const SamplePoint* point = data ? data->get(i) : nullptr;
    if (!point) return;
    SamplePoint copy = *point;
    data->insert(i, copy);
}

void CTestData::remove_reading(int g, int i) {
    if (COneGradeData* data = grade(g)) data->remove(i);
}

}  // namespace kvd
