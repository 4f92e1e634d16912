#pragma once
// Shared set-up of the curve command tests: the Q-s fixture of
// curve_fixture.h with helpers to right-click a grade point, compare the
// record before and after, and a stand-in s-lgt curve whose capture the test
// sets directly (the commands look only at the kind and the frozen capture).

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "curve_fixture.h"
#include "curves/curve_commands.h"

namespace kvd::testing {

namespace cc = curve_command;

// A curve of the s-lgt kind whose capture the test sets directly.
class SlgtStandIn : public CImage {
public:
    explicit SlgtStandIn(CLbxDoc& doc) : CImage(doc) {}
    CurveKind kind() const override { return CurveKind::kSlgt; }
    void right_click_on(int grade, int reading) {
        remember_capture({grade, reading});
        context_menu_opened();
        context_menu_closed();
    }

protected:
    std::string latin_title() const override { return "s-lgt"; }
};

class CurveCommandTest : public CurveTest {
protected:
    CurveCommandTest() { paint(); }

    // Right-click on the Q-s point of grade g, or away from every point (-1).
    void right_click_qs(int g) {
        qs_.mouse_move({0, 0}, false);
        qs_.cursor_request(g >= 0 ? qs_.points()[static_cast<std::size_t>(g)].at
                                  : Point{300, -600});
        qs_.context_menu_opened();
        qs_.context_menu_closed();
    }

    std::vector<SamplePoint> all_points() const {
        std::vector<SamplePoint> points;
        for (const COneGradeData& g : doc_.record().grades.grades()) {
            points.insert(points.end(), g.points().begin(), g.points().end());
        }
        return points;
    }
    void remember_record() { before_ = all_points(); }
    void expect_unchanged_and_unmodified() {
        const std::vector<SamplePoint> now = all_points();
        ASSERT_EQ(now.size(), before_.size());
        EXPECT_EQ(std::memcmp(now.data(), before_.data(), now.size() * sizeof(SamplePoint)), 0);
        EXPECT_FALSE(doc_.is_modified());
        EXPECT_TRUE(log_.hints.empty());
    }
    void reset() {
        doc_.set_modified(false);
        ui_.clear_log();
        log_.hints.clear();
        remember_record();
    }

    SamplePoint reading(int g, int i) const { return *doc_.record().grades.get_reading(g, i); }
    bool run(int command) { return run_curve_command(command, qs_); }
    bool enabled(int command) const { return curve_command_enabled(command, qs_); }

    std::vector<SamplePoint> before_;
};

}  // namespace kvd::testing
