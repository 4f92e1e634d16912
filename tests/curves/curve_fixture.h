#pragma once
// Shared set-up of the curve tests: a document whose grades are built to
// order (load, cumulative settlement, loading or unloading), a Q-s curve on
// it and a recording canvas. With the default 1000 x 1000 client the design
// square maps one to one: sx = 1, sy = -1, so a design point (x, y) lands on
// the logical (x, -y) and the plot spans x 150 ... 900, y -150 ... -900.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "curves/q_s.h"
#include "doc/doc_test_support.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "draw/recording_canvas.h"

namespace kvd::testing {

class CurveTest : public ::testing::Test {
protected:
    struct GradeSpec {
        int load = 0;
        double settlement = 0;
        bool loading = true;
    };

    CurveTest() {
        // Channel 1 alone is on the test pile and averaged, so a reading's
        // settlement is its channel 1.
        TestParams& p = doc_.record().test_params;
        p.channel_role.fill(ChannelRole::kUnused);
        p.averaged.fill(0);
        p.channel_role[0] = ChannelRole::kTestPile;
        p.averaged[0] = 1;
        build({{0, 0}, {100, 1}, {200, 2.5}, {300, 4.5}, {200, 4.0, false}, {0, 3.0, false}});
        doc_.add_view(&log_);
    }

    // Replaces the grades: each has two readings, the second holding the
    // grade's cumulative settlement (the first repeats the previous grade's
    // last, as the document keeps it).
    void build(const std::vector<GradeSpec>& specs) {
        CTestData& grades = doc_.record().grades;
        grades.clear();
        for (const GradeSpec& planned : specs) {
            const int g = grades.grade_count();
            COneGradeData& grade = grades.append_grade();
            for (int i = 0; i < 2; ++i) {
                SamplePoint point{};
                point.grade = g;
                point.loading = planned.loading ? kLoading : kUnloading;
                point.load = planned.load;
                point.channel[0] = planned.settlement;
                grade.append(point);
            }
        }
        doc_.refresh_derived();
        doc_.set_modified(false);
    }

    void paint(Size client = {1000, 1000}) {
        canvas_.clear();
        qs_.paint_window(canvas_, client);
    }

    // Texts drawn in the label row above the load axis (box bottom at -134).
    std::vector<std::string> load_labels() const {
        std::vector<std::string> labels;
        for (const auto& t : canvas_.texts()) {
            if (t.box.bottom == -150 + 16 && t.box.top == -150 + 16 + 30) labels.push_back(t.text);
        }
        return labels;
    }

    // Lines of a pen colour.
    std::vector<recorded::Line> lines_in(Colour colour) const {
        std::vector<recorded::Line> found;
        for (const auto& line : canvas_.lines()) {
            if (line.pen.colour == colour) found.push_back(line);
        }
        return found;
    }

    double settlement(int g) const { return doc_.record().grades.last_settlement(g); }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1700000000}; }};
    RecordingCanvas canvas_;
    CQ_s qs_{doc_};
    RecordingView log_;
};

}  // namespace kvd::testing
