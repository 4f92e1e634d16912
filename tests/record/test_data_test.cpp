#include "record/test_data.h"

#include <gtest/gtest.h>

#include <climits>

namespace kvd {
namespace {

SamplePoint reading(int grade, int loading, int load, double settlement, int minutes = 0) {
    SamplePoint p{};
    p.grade = grade;
    p.loading = loading;
    p.load = load;
    p.settlement = settlement;
    p.minutes = minutes;
    p.channel[0] = settlement;
    return p;
}

// Grades numbered from 0 with the given reading counts; reading i of grade g
// has minutes 10 g + i and settlement g + i / 10.
CTestData grades_of(std::initializer_list<int> sizes, int loading_grades = INT_MAX) {
    CTestData data;
    int g = 0;
    for (int size : sizes) {
        COneGradeData& grade = data.append_grade();
        for (int i = 0; i < size; ++i) {
            grade.append(reading(g, g < loading_grades ? 1 : 0, 100 * g, g + i / 10.0, 10 * g + i));
        }
        ++g;
    }
    return data;
}

std::vector<int> grade_numbers(const CTestData& data) {
    std::vector<int> numbers;
    for (const auto& grade : data.grades()) {
        for (const auto& p : grade.points()) numbers.push_back(p.grade);
    }
    return numbers;
}

TEST(CTestData, EmptyRecordAnswersNeutrally) {
    const CTestData data;
    EXPECT_EQ(data.grade_count(), 0);
    EXPECT_EQ(data.total_readings(), 0);
    EXPECT_EQ(data.distinct_times(), 1);
    EXPECT_EQ(data.loading_grade_count(), 0);
    EXPECT_EQ(data.reading_count(0), 0);
    EXPECT_FALSE(data.get_reading(0, 0).has_value());
    EXPECT_EQ(data.first_load(0), -1);
    EXPECT_EQ(data.last_minutes(0), -1);
    EXPECT_EQ(data.last_settlement(0), 0);
    const Extremes e = data.extremes();
    EXPECT_EQ(e.max_abs_load, 0);
    EXPECT_EQ(e.max_settlement, 0);
    EXPECT_EQ(e.min_settlement, 0);
}

TEST(CTestData, CountsAndOutOfRangeIndexes) {
    CTestData data = grades_of({1, 2, 3, 2}, 3);
    EXPECT_EQ(data.grade_count(), 4);
    EXPECT_EQ(data.total_readings(), 8);
    EXPECT_EQ(data.distinct_times(), 1 + 0 + 1 + 2 + 1);
    EXPECT_EQ(data.loading_grade_count(), 3);
    EXPECT_EQ(data.first_load(2), 200);
    EXPECT_EQ(data.last_minutes(2), 22);
    EXPECT_DOUBLE_EQ(data.last_settlement(2), 2.2);
    for (int g : {-1, 4, INT_MAX, INT_MIN}) {
        EXPECT_EQ(data.reading_count(g), 0);
        EXPECT_EQ(data.first_load(g), -1);
        EXPECT_EQ(data.last_minutes(g), -1);
        EXPECT_EQ(data.last_settlement(g), 0);
        EXPECT_FALSE(data.get_reading(g, 0).has_value());
    }
    for (int i : {-1, 3, INT_MAX}) EXPECT_FALSE(data.get_reading(2, i).has_value());

    // Writes out of range are ignored.
    const CTestData before = data;
    data.put_reading(2, 3, reading(9, 9, 9, 9));
    data.put_reading(-1, 0, reading(9, 9, 9, 9));
    data.remove_grade(4);
    data.remove_grade(-1);
    data.insert_grade_after(4);
    data.duplicate_reading(2, 3);
    data.remove_reading(2, -1);
    EXPECT_EQ(grade_numbers(data), grade_numbers(before));
    EXPECT_EQ(data.total_readings(), 8);

    data.put_reading(2, 1, reading(2, 1, 777, 5.5));
    EXPECT_EQ(data.get_reading(2, 1)->load, 777);
}

TEST(CTestData, RemovingAGradeRenumbersTheLaterOnes) {
    CTestData data = grades_of({1, 2, 2});
    data.remove_grade(0);
    EXPECT_EQ(grade_numbers(data), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(data.first_load(0), 100);
    data.remove_grade(0);
    data.remove_grade(0);
    EXPECT_EQ(data.grade_count(), 0);

    CTestData middle = grades_of({1, 2, 2, 1});
    middle.remove_grade(1);
    EXPECT_EQ(grade_numbers(middle), (std::vector<int>{0, 1, 1, 2}));
}

TEST(CTestData, InsertingAGradeCopiesTheLastReadingWithTheFirstTwoTimes) {
    CTestData data = grades_of({1, 3, 2});
    data.insert_grade_after(1);
    ASSERT_EQ(data.grade_count(), 4);
    EXPECT_EQ(grade_numbers(data), (std::vector<int>{0, 1, 1, 1, 2, 2, 3, 3}));
    const SamplePoint last = *data.get_reading(1, 2);
    for (int i = 0; i < 2; ++i) {
        const SamplePoint p = *data.get_reading(2, i);
        EXPECT_EQ(p.load, last.load);
        EXPECT_EQ(p.loading, last.loading);
        EXPECT_EQ(p.settlement, last.settlement);
        EXPECT_EQ(p.channel[0], last.channel[0]);
    }
    EXPECT_EQ(data.get_reading(2, 0)->minutes, 10);
    EXPECT_EQ(data.get_reading(2, 1)->minutes, 11);

    // After the last grade: appended, nothing renumbered; a one-reading grade
    // gives its only time to both copies.
    CTestData single = grades_of({2, 1});
    single.insert_grade_after(1);
    EXPECT_EQ(grade_numbers(single), (std::vector<int>{0, 0, 1, 2, 2}));
    EXPECT_EQ(single.get_reading(2, 0)->minutes, 10);
    EXPECT_EQ(single.get_reading(2, 1)->minutes, 10);
}

TEST(CTestData, DuplicatingAndRemovingReadings) {
    CTestData data = grades_of({3});
    data.duplicate_reading(0, 1);
    ASSERT_EQ(data.reading_count(0), 4);
    EXPECT_EQ(data.get_reading(0, 1)->minutes, 1);
    EXPECT_EQ(data.get_reading(0, 2)->minutes, 1);
    EXPECT_EQ(data.get_reading(0, 3)->minutes, 2);
    data.remove_reading(0, 0);
    EXPECT_EQ(data.get_reading(0, 0)->minutes, 1);
    EXPECT_EQ(data.reading_count(0), 3);
}

TEST(CTestData, ExtremesTakeLoadingReadingsAndTheLastOfEachUnloadingGrade) {
    CTestData data;
    COneGradeData& loading = data.append_grade();
    loading.append(reading(0, 1, 100, 0.5));
    loading.append(reading(0, 1, -350, 4.0));
    loading.append(reading(0, 1, 200, -0.25));
    COneGradeData& unloading = data.append_grade();
    unloading.append(reading(1, 0, 900, 9.0));  // not the last: ignored
    unloading.append(reading(1, 0, 50, -2.0));
    const Extremes e = data.extremes();
    EXPECT_EQ(e.max_abs_load, 350);
    EXPECT_DOUBLE_EQ(e.max_settlement, 4.0);
    EXPECT_DOUBLE_EQ(e.min_settlement, -2.0);

    // A settlement range entirely below zero keeps its true maximum.
    CTestData negative;
    negative.append_grade().append(reading(0, 1, 0, -3.0));
    negative.grade(0)->append(reading(0, 1, 0, -1.0));
    EXPECT_DOUBLE_EQ(negative.extremes().max_settlement, -1.0);

    // The most negative load a file can hold has no int32 magnitude.
    CTestData extreme;
    extreme.append_grade().append(reading(0, 1, INT_MIN, 0));
    EXPECT_EQ(extreme.extremes().max_abs_load, INT_MAX);
}

TEST(COneGradeData, GrowsByAnEighthClampedAndZeroFillsNewSlots) {
    COneGradeData grade;
    grade.append(reading(0, 1, 1, 1));
    EXPECT_EQ(grade.capacity(), 4);
    for (int i = 0; i < 4; ++i) grade.append(reading(0, 1, 1, 1));
    EXPECT_EQ(grade.capacity(), 8);

    grade.set_size(2);
    grade.set_size(100);  // from capacity 8: the requested size is larger
    EXPECT_EQ(grade.capacity(), 100);
    EXPECT_EQ(grade.get(1)->load, 1);
    EXPECT_EQ(grade.get(2)->load, 0);
    EXPECT_EQ(grade.get(99)->settlement, 0);
    grade.append(reading(0, 1, 1, 1));
    EXPECT_EQ(grade.capacity(), 112);  // 100 / 8

    grade.set_size(0);
    EXPECT_EQ(grade.size(), 0);
    EXPECT_EQ(grade.capacity(), 0);
    grade.set_size(20000);
    grade.append(reading(0, 1, 1, 1));
    EXPECT_EQ(grade.capacity(), 21024);  // the increment stops at 1024

    COneGradeData stepped;
    stepped.set_grow_by(10);
    stepped.append(reading(0, 1, 1, 1));
    EXPECT_EQ(stepped.capacity(), 10);
}

TEST(COneGradeData, InsertAndRemoveRuns) {
    COneGradeData grade;
    for (int i = 0; i < 4; ++i) grade.append(reading(0, 1, i, 0));
    grade.insert(1, reading(0, 1, 9, 0), 3);
    ASSERT_EQ(grade.size(), 7);
    const int loads[] = {0, 9, 9, 9, 1, 2, 3};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(grade.get(i)->load, loads[i]);
    grade.insert(7, reading(0, 1, 5, 0));  // at the end
    EXPECT_EQ(grade.get(7)->load, 5);
    grade.insert(9, reading(0, 1, 5, 0));  // past the end: ignored
    EXPECT_EQ(grade.size(), 8);

    grade.remove(1, 3);
    EXPECT_EQ(grade.get(1)->load, 1);
    EXPECT_EQ(grade.size(), 5);
    // The part of a run beyond the end is ignored, however long the run.
    grade.remove(3, 100);
    EXPECT_EQ(grade.size(), 3);
    grade.remove(1, INT_MAX);
    EXPECT_EQ(grade.size(), 1);
    EXPECT_EQ(grade.get(0)->load, 0);
}

}  // namespace
}  // namespace kvd
