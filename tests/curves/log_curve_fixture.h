#pragma once
// Shared set-up of the s-lgt and s-lgQ tests: the curve fixture's document
// with grades of several readings each, timed by the load interval table
// {0, 5, 5, 5, 15, 15, 15, 30, ...}, so that reading i of every loading grade
// is taken at 0, 5, 10, 15, 30, 45, 60, 90, 120, 150 ... minutes.
//
// The standard test (build_standard): three loading grades and one unloading
// grade,
//   grade 0, 100 kN:  0.0 0.5 0.8 1.0 1.1                  (0 ... 30 min)
//   grade 1, 200 kN: [1.1] 1.8 2.2 2.5 2.9 3.1 3.3 3.5 3.6  (0 ... 120 min)
//   grade 2, 300 kN: [3.6] 4.5 5.2 5.8 6.5 7.0 7.4          (0 ... 60 min)
//   grade 3, 150 kN unloading: [7.4] 7.0 6.8
// (a bracketed first reading repeats the previous grade's last). The
// displacement axis spans 0 ... 10 mm: s sits at y = -150 - trunc(75 s).
// timeMin 5 and timeMax 240 put t minutes at
//   x = 150 + trunc(log10(t / 5) * 750 / log10(48)):
//   5 -> 150, 10 -> 284, 15 -> 362, 30 -> 497, 45 -> 575, 60 -> 631,
//   90 -> 709, 120 -> 765, 240 -> 900.

#include <cmath>
#include <vector>

#include "curve_fixture.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"

namespace kvd::testing {

class LogCurveTest : public CurveTest {
protected:
    struct GradeReadings {
        int load = 0;
        std::vector<double> settlements;  // channel 1 of each reading
        bool loading = true;
    };

    LogCurveTest() {
        doc_.record().test_params.load_intervals = {0, 5, 5, 5, 15, 15, 15, 30, 30, 30, 30, 30};
        build_standard();
    }

    void build_standard() {
        build_readings({{100, {0.0, 0.5, 0.8, 1.0, 1.1}},
                        {200, {1.1, 1.8, 2.2, 2.5, 2.9, 3.1, 3.3, 3.5, 3.6}},
                        {300, {3.6, 4.5, 5.2, 5.8, 6.5, 7.0, 7.4}},
                        {150, {7.4, 7.0, 6.8}, false}});
    }

    void build_readings(const std::vector<GradeReadings>& specs) {
        CTestData& grades = doc_.record().grades;
        grades.clear();
        for (const GradeReadings& planned : specs) {
            const int g = grades.grade_count();
            COneGradeData& grade = grades.append_grade();
            for (double s : planned.settlements) {
                SamplePoint point{};
                point.grade = g;
                point.loading = planned.loading ? kLoading : kUnloading;
                point.load = planned.load;
                point.channel[0] = s;
                grade.append(point);
            }
        }
        doc_.refresh_derived();
        doc_.set_modified(false);
    }

    static int time_x(int minutes) {
        return 150 + static_cast<int>(std::log10(minutes / 5.0) * 750 / std::log10(48.0));
    }
    static int y_of(double s) { return -150 - static_cast<int>(75 * s); }

    void paint_slgt(Size client = {1000, 1000}) {
        canvas_.clear();
        slgt_.paint_window(canvas_, client);
    }
    void paint_slgq(Size client = {1000, 1000}) {
        canvas_.clear();
        slgq_.paint_window(canvas_, client);
    }

    // x of the ticks on the horizontal axis: vertical lines from y -150 up.
    std::vector<int> axis_ticks() const {
        std::vector<int> xs;
        for (const auto& l : canvas_.lines()) {
            if (l.from.y == -150 && l.to.y == -150 + 16 && l.from.x == l.to.x) {
                xs.push_back(l.from.x);
            }
        }
        return xs;
    }

    // Texts in the label row beyond the horizontal axis (starting 16 above
    // it, whatever the font size).
    std::vector<std::string> axis_labels() const {
        std::vector<std::string> labels;
        for (const auto& t : canvas_.texts()) {
            if (t.box.bottom == -150 + 16) labels.push_back(t.text);
        }
        return labels;
    }

    double reading(int g, int i) const {
        return doc_.record().grades.get_reading(g, i).value_or(SamplePoint{}).settlement;
    }

    Cs_lgt slgt_{doc_};
    Cs_lgQ slgq_{doc_};
};

}  // namespace kvd::testing
