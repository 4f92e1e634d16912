#pragma once
// Shared set-up of the detail table tests: a document whose grades are built
// to order, both detail tables on it, and a view that records the hints the
// document sends.

#include <gtest/gtest.h>

#include <vector>

#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "record/grade_compute.h"
#include "tables/load_table.h"
#include "tables/unload_table.h"

namespace kvd::testing {

class HintLog : public DocView {
public:
    void on_update(int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class DetailTableTest : public ::testing::Test {
protected:
    DetailTableTest() {
        // Channels 1 and 2 on the test pile and averaged, channel 3 on an
        // anchor pile and not averaged; the rest unused.
        TestParams& p = doc_.record().test_params;
        p.channel_role.fill(ChannelRole::kUnused);
        p.averaged.fill(0);
        p.channel_role[0] = p.channel_role[1] = ChannelRole::kTestPile;
        p.averaged[0] = p.averaged[1] = 1;
        p.channel_role[2] = ChannelRole::kAnchorPile;
        // Loading grades 0, 100, 200 kN of 1, 3 and 2 readings; unloading
        // grades 100 and 0 kN of 2 readings each.
        build({{0, 1}, {100, 3}, {200, 2}}, {{100, 2}, {0, 2}});
        doc_.add_view(&log_);
    }

    struct GradeSpec {
        int load;
        int readings;
    };

    // Replaces the grades. Reading i of grade g has channel 1 = g + 0.1 i,
    // channel 2 = channel 1 + 0.2 (so its settlement is channel 1 + 0.1) and
    // channel 3 = 5 + g; the first reading of each later grade is then made
    // to repeat the previous grade's last, as the document keeps them.
    void build(const std::vector<GradeSpec>& loading, const std::vector<GradeSpec>& unloading) {
        CTestData& grades = doc_.record().grades;
        grades.clear();
        auto add = [&](const GradeSpec& planned, int flag) {
            const int g = grades.grade_count();
            COneGradeData& grade = grades.append_grade();
            for (int i = 0; i < planned.readings; ++i) {
                SamplePoint point{};
                point.grade = g;
                point.loading = flag;
                point.load = planned.load;
                point.channel[0] = g + 0.1 * i;
                point.channel[1] = point.channel[0] + 0.2;
                point.channel[2] = 5 + g;
                grade.append(point);
            }
        };
        for (const GradeSpec& planned : loading) add(planned, kLoading);
        for (const GradeSpec& planned : unloading) add(planned, kUnloading);
        doc_.refresh_derived();
        doc_.set_modified(false);
    }

    const SamplePoint& reading(int g, int i) const {
        return *doc_.record().grades.grade(g)->get(i);
    }
    int readings(int g) const { return doc_.record().grades.reading_count(g); }
    const TestParams& params() const { return doc_.record().test_params; }
    // Exactly one message was shown, this one, after a beep.
    void expect_message(const char* text, const char* caption, MessageButtons buttons,
                        MessageIcon icon) const {
        ASSERT_EQ(ui_.shown().size(), 1u);
        EXPECT_EQ(ui_.shown()[0].text, text);
        EXPECT_EQ(ui_.shown()[0].caption, caption);
        EXPECT_EQ(ui_.shown()[0].buttons, buttons);
        EXPECT_EQ(ui_.shown()[0].icon, icon);
        EXPECT_EQ(ui_.beeps(), 1);
    }
    void clear_logs() {
        ui_.clear_log();
        log_.hints.clear();
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1700000000}; }};
    FixedFontMetrics metrics_;
    CLoadTable load_{doc_, metrics_};
    CUnloadTable unload_{doc_, metrics_};
    HintLog log_;
};

}  // namespace kvd::testing
