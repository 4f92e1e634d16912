#pragma once
// CTestData: the load grades of a test in test order (all loading grades, then
// the unloading grades). Every accessor answers an index out of range with the
// neutral value documented beside it, never with a fault.

#include <optional>
#include <vector>

#include "record/one_grade_data.h"

namespace kvd {

// The values that size the curve axes.
struct Extremes {
    int max_abs_load = 0;
    double max_settlement = 0;
    double min_settlement = 0;
};

class CTestData {
public:
    int grade_count() const { return static_cast<int>(grades_.size()); }
    // Readings in grade g; 0 when g does not exist.
    int reading_count(int g) const;
    int total_readings() const;
    // 1 + the sum over grades of (readings - 1): the time points when each
    // grade's first reading repeats the previous grade's last.
    int distinct_times() const;
    // Grades whose first reading is a loading reading.
    int loading_grade_count() const;

    std::optional<SamplePoint> get_reading(int g, int i) const;
    void put_reading(int g, int i, const SamplePoint& point);
    // Load of the first reading of g; -1 when g does not exist.
    int first_load(int g) const;
    // Minutes of the last reading of g; -1 when g does not exist.
    int last_minutes(int g) const;
    // Settlement of the last reading of g; 0 when g does not exist.
    double last_settlement(int g) const;
    // Over every reading of a loading grade and the last reading of each
    // unloading grade.
    Extremes extremes() const;

    // Grade g, or nullptr when it does not exist.
    COneGradeData* grade(int g);
    const COneGradeData* grade(int g) const;
    COneGradeData& append_grade();

    // Later grades' readings are renumbered down by one, then g is deleted.
    void remove_grade(int g);
    // Inserts after g a grade of two copies of g's last reading, numbered one
    // higher, timed like g's readings 0 and 1; later grades are renumbered up.
    void insert_grade_after(int g);
    // Inserts a copy of reading i at position i of grade g.
    void duplicate_reading(int g, int i);
    void remove_reading(int g, int i);
    void clear() { grades_.clear(); }

    std::vector<COneGradeData>& grades() { return grades_; }
    const std::vector<COneGradeData>& grades() const { return grades_; }

private:
    void renumber_from(int first_grade, int delta);

    std::vector<COneGradeData> grades_;
};

}  // namespace kvd
