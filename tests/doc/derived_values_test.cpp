// The derived values (scheduled minutes, first-reading repeats, settlements)
// that the document keeps current after each change, only for what changed,
// against a recompute of the whole record: random sequences of the edits a
// user makes in the tables and on the curves, and of the document's own
// commands, each followed by the comparison, reading for reading. The detail
// tables, kept current by their per-grade refill as the screen keeps them,
// must show cell for cell what a whole fill shows.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "curves/curve_commands.h"
#include "curves/point_edit.h"
#include "curves/q_s.h"
#include "curves/s_lgq.h"
#include "curves/s_lgt.h"
#include "doc/lbx_doc.h"
#include "doc/scripted_user_interface.h"
#include "draw/font_metrics.h"
#include "draw/recording_canvas.h"
#include "record/grade_compute.h"
#include "tables/load_table.h"
#include "tables/table_edit_commands.h"
#include "tables/unload_table.h"

namespace kvd::testing {
namespace {

constexpr Size kClient{1000, 1000};

class DerivedValuesTest : public ::testing::Test {
protected:
    // Channels 1-3 on the test pile and averaged, channel 4 on the test pile
    // but not averaged, channel 5 on an anchor pile and averaged (which the
    // settlement ignores); odd interval tables; a plate area for the unit
    // switch. Grades of 1 ... 6 readings with channels of three decimals.
    void build(std::mt19937& random) {
        TestRecord& record = doc_.record();
        TestParams& p = record.test_params;
        p.channel_role.fill(ChannelRole::kUnused);
        p.averaged.fill(0);
        for (int j : {0, 1, 2, 3})
            p.channel_role[static_cast<std::size_t>(j)] = ChannelRole::kTestPile;
        p.channel_role[4] = ChannelRole::kAnchorPile;
        for (int j : {0, 1, 2, 4}) p.averaged[static_cast<std::size_t>(j)] = 1;
        p.plate_area = 2.5;
        for (int i = 0; i < kIntervalCount; ++i) {
            p.load_intervals[static_cast<std::size_t>(i)] = 5 + 7 * i;
            p.unload_intervals[static_cast<std::size_t>(i)] = 3 + 11 * i;
        }
        CTestData& grades = record.grades;
        grades.clear();
        const int loading = 5 + static_cast<int>(random() % 5);
        const int unloading = static_cast<int>(random() % 4);
        for (int g = 0; g < loading + unloading; ++g) {
            COneGradeData& grade = grades.append_grade();
            const int n = g == 0 ? 1 : 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < n; ++i) {
                SamplePoint point{};
                point.grade = g;
                point.loading = g < loading ? kLoading : kUnloading;
                point.load = g < loading ? 100 * g : 100 * (loading + unloading - g);
                point.minutes = 12345;  // stale until the document recomputes
                for (int j = 0; j < 6; ++j) point.channel[j] = displacement(random);
                grade.append(point);
            }
        }
        doc_.refresh_derived();
        doc_.set_modified(false);
    }

    static double displacement(std::mt19937& random) {
        return static_cast<int>(random() % 40001) / 1000.0 - 10.0;
    }
    static std::string typed(std::mt19937& random) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", displacement(random));
        return text;
    }

    int grade_count() const { return doc_.record().grades.grade_count(); }
    int readings(int g) const { return doc_.record().grades.reading_count(g); }
    int any_grade(std::mt19937& random) const {
        return static_cast<int>(random() % static_cast<unsigned>(grade_count()));
    }

    // Paints the curve so that its points are placed, arms a capture at a
    // random point and drags it by dy pixels, then lets go.
    template <typename Curve, typename PointAt>
    void drag(Curve& curve, std::mt19937& random, PointAt point_at) {
        canvas_.clear();
        curve.paint_window(canvas_, kClient);
        const std::optional<Point> at = point_at(curve, random);
        if (!at) return;
        curve.cursor_request(*at);
        if (!curve.capture_armed()) return;
        const int dy = static_cast<int>(random() % 201) - 100;
        curve.mouse_move({at->x, at->y + dy}, true);
        curve.mouse_move({at->x, at->y + dy}, false);
    }

    // Captures a random point for the context menu, as a right-click does.
    template <typename Curve, typename PointAt>
    bool capture_for_menu(Curve& curve, std::mt19937& random, PointAt point_at) {
        canvas_.clear();
        curve.paint_window(canvas_, kClient);
        const std::optional<Point> at = point_at(curve, random);
        if (!at) return false;
        curve.cursor_request(*at);
        curve.context_menu_opened();
        curve.context_menu_closed();
        return curve.menu_captured();
    }

    static std::optional<Point> qs_point(const CQ_s& curve, std::mt19937& random) {
        if (curve.points().empty()) return std::nullopt;
        return curve.points()[random() % curve.points().size()].at;
    }
    static std::optional<Point> slgq_point(const Cs_lgQ& curve, std::mt19937& random) {
        if (curve.points().empty()) return std::nullopt;
        return curve.points()[random() % curve.points().size()].at;
    }
    static std::optional<Point> slgt_point(const Cs_lgt& curve, std::mt19937& random) {
        if (curve.rows().empty()) return std::nullopt;
        const auto& row = curve.rows()[random() % curve.rows().size()];
        if (row.readings.empty()) return std::nullopt;
        return row.readings[random() % row.readings.size()].at;
    }

    // One edit, chosen at random; its name for the failure message.
    std::string random_edit(std::mt19937& random) {
        const int g = any_grade(random);
        const int r = static_cast<int>(random() % static_cast<unsigned>(std::max(1, readings(g))));
        switch (random() % 20) {
            case 0:
            case 1:
            case 2: {  // a typed reading, or readings typed below the last
                CTestTable& table = random() % 2 ? static_cast<CTestTable&>(load_) : unload_;
                table.fill();
                if (table.shown_grades() == 0) return "nothing to type into";
                const int column =
                    1 + static_cast<int>(random() % static_cast<unsigned>(table.shown_grades()));
                const int row = 1 + static_cast<int>(random() % 8);
                table.end_edit(row, column, typed(random));
                return "typed reading at row " + std::to_string(row);
            }
            case 3: {  // a typed load or planned time
                CTestTable& table = random() % 2 ? static_cast<CTestTable&>(load_) : unload_;
                table.fill();
                if (random() % 2 == 0) {
                    table.end_edit(2 + static_cast<int>(random() % 11), 0,
                                   std::to_string(random() % 200));
                    return "typed time";
                }
                if (table.shown_grades() == 0) return "nothing to type into";
                table.end_edit(
                    0, 1 + static_cast<int>(random() % static_cast<unsigned>(table.shown_grades())),
                    std::to_string(random() % 2000));
                return "typed load";
            }
            case 4:
                table_edit::insert_grade_after(doc_, g);
                return "insert grade";
            case 5:
                table_edit::insert_reading_after(doc_, g, r);
                return "insert reading";
            case 6:
                if (grade_count() > 4) table_edit::delete_grade(doc_, g);
                return "delete grade";
            case 7:
                if (grade_count() > 4) table_edit::delete_reading(doc_, g, r);
                return "delete reading";
            case 8:
                ui_.queue_number(static_cast<int>(random() % 1001) / 100.0 - 5.0);
                table_edit::add_fixed_value(doc_, g, r);
                return "add a value";
            case 9:
                ui_.queue_number(static_cast<int>(random() % 300) / 100.0 - 1.5);
                table_edit::multiply_by_factor(doc_, g, r);
                return "multiply";
            case 10: {
                IntervalTable load{};
                IntervalTable unload{};
                for (auto& minutes : load) minutes = static_cast<int>(random() % 90);
                for (auto& minutes : unload) minutes = static_cast<int>(random() % 90);
                ui_.queue_intervals(load, unload);
                table_edit::change_sampling_intervals(doc_);
                return "intervals";
            }
            case 11:
                add_to_reading(doc_, g, r, static_cast<int>(random() % 2001) / 100.0 - 10.0);
                return "move a reading";
            case 12:
                add_to_grade(doc_, g, static_cast<int>(random() % 2001) / 100.0 - 10.0);
                return "move a grade";
            case 13:
                drag(qs_, random, qs_point);
                return "drag on Q-s";
            case 14:
                drag(slgt_, random, slgt_point);
                return "drag on s-lgt";
            case 15:
                drag(slgq_, random, slgq_point);
                return "drag on s-lgQ";
            case 16:
                if (capture_for_menu(qs_, random, qs_point)) {
                    ui_.queue_number(static_cast<double>(random() % 3000));
                    curve_edit::change_load(qs_);
                }
                return "change load";
            case 17:
                if (capture_for_menu(slgt_, random, slgt_point)) {
                    ui_.queue_number(static_cast<int>(random() % 2001) / 100.0 - 10.0);
                    curve_edit::move_to(slgt_);
                }
                return "move to";
            case 18:
                if (random() % 2) {
                    curve_edit::invert(doc_);
                    return "invert";
                }
                ui_.queue_number(static_cast<int>(random() % 1001) / 100.0 - 5.0);
                curve_edit::shift(doc_);
                return "shift";
            default:
                switch (random() % 3) {
                    case 0:
                        doc_.convert_load_unit(!doc_.record().test_params.in_kpa());
                        return "unit switch";
                    case 1:
                        doc_.add_unloading_data();
                        return "add unloading data";
                    default: {
                        ChannelSetup setup = doc_.channel_setup();
                        const std::size_t j = random() % 6;
                        setup.roles[j] = setup.roles[j] == ChannelRole::kTestPile
                                             ? ChannelRole::kAnchorPile
                                             : ChannelRole::kTestPile;
                        doc_.apply_channel_setup(setup);
                        return "channel setup";
                    }
                }
        }
    }

    // The record as a whole-record recompute leaves it.
    void expect_current(const std::string& after) {
        TestRecord recomputed = doc_.record();
        refresh_derived(recomputed);
        const CTestData& kept = doc_.record().grades;
        ASSERT_EQ(kept.grade_count(), recomputed.grades.grade_count());
        for (int g = 0; g < kept.grade_count(); ++g) {
            const auto points = kept.grade(g)->points();
            const auto expected = recomputed.grades.grade(g)->points();
            ASSERT_EQ(points.size(), expected.size());
            for (std::size_t i = 0; i < points.size(); ++i) {
                const SamplePoint& a = points[i];
                const SamplePoint& b = expected[i];
                ASSERT_EQ(a.minutes, b.minutes) << after << ": grade " << g << " reading " << i;
                ASSERT_EQ(a.settlement, b.settlement)
                    << after << ": grade " << g << " reading " << i;
                for (int j = 0; j < kChannelCount; ++j) {
                    ASSERT_EQ(a.channel[j], b.channel[j])
                        << after << ": grade " << g << " reading " << i << " channel " << j;
                }
            }
        }
    }

    // A detail table as a window keeps it: filled once, then brought up to
    // date by refill_changed for each change notice, or filled whole again
    // when it cannot be.
    struct ShownTable : DocView {
        explicit ShownTable(CTestTable& shown) : table(shown) {}
        void on_update(int hint) override {
            if (!stale && is_change_notice(hint) &&
                table.refill_changed(notice_grade(hint), notice_reading(hint))) {
                ++partial;
                return;
            }
            stale = true;
        }
        // Fills when out of date (as a paint does), then compares with a fill.
        void expect_as_filled(CTestTable& fresh, const std::string& after) {
            if (stale) {
                table.fill();
                stale = false;
            }
            fresh.fill();
            ASSERT_EQ(table.row_count(), fresh.row_count()) << after;
            ASSERT_EQ(table.column_count(), fresh.column_count()) << after;
            for (int row = 0; row < fresh.row_count(); ++row) {
                for (int column = 0; column < fresh.column_count(); ++column) {
                    ASSERT_EQ(table.cell_text(row, column), fresh.cell_text(row, column))
                        << after << ": row " << row << " column " << column;
                    ASSERT_EQ(table.effective_text_colour(row, column),
                              fresh.effective_text_colour(row, column))
                        << after << ": row " << row << " column " << column;
                    ASSERT_EQ(table.effective_background(row, column),
                              fresh.effective_background(row, column))
                        << after << ": row " << row << " column " << column;
                }
            }
            ASSERT_EQ(table.menu_state(), fresh.menu_state()) << after;
        }
        CTestTable& table;
        bool stale = true;
        int partial = 0;
    };

    void expect_tables_current(const std::string& after) {
        CLoadTable fresh_load{doc_, metrics_};
        CUnloadTable fresh_unload{doc_, metrics_};
        ASSERT_NO_FATAL_FAILURE(shown_load_view_.expect_as_filled(fresh_load, after));
        ASSERT_NO_FATAL_FAILURE(shown_unload_view_.expect_as_filled(fresh_unload, after));
    }

    ScriptedUserInterface ui_;
    CLbxDoc doc_{ui_, [] { return std::int64_t{1700000000}; }};
    FixedFontMetrics metrics_;
    CLoadTable load_{doc_, metrics_};
    CUnloadTable unload_{doc_, metrics_};
    RecordingCanvas canvas_;
    CQ_s qs_{doc_};
    Cs_lgt slgt_{doc_};
    Cs_lgQ slgq_{doc_};
    CLoadTable shown_load_{doc_, metrics_};
    CUnloadTable shown_unload_{doc_, metrics_};
    ShownTable shown_load_view_{shown_load_};
    ShownTable shown_unload_view_{shown_unload_};
};

TEST_F(DerivedValuesTest, EveryEditLeavesWhatAWholeRecomputeWould) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        build(random);
        shown_load_view_.stale = shown_unload_view_.stale = true;
        doc_.add_view(&shown_load_view_);
        doc_.add_view(&shown_unload_view_);
        for (int step = 0; step < 150; ++step) {
            const std::string edit = random_edit(random);
            const std::string after =
                "seed " + std::to_string(seed) + " step " + std::to_string(step) + " (" + edit + ")";
            ASSERT_NO_FATAL_FAILURE(expect_current(after));
            ASSERT_NO_FATAL_FAILURE(expect_tables_current(after));
        }
        doc_.remove_view(&shown_load_view_);
        doc_.remove_view(&shown_unload_view_);
    }
    // The per-grade refill was taken, not only whole fills.
    EXPECT_GT(shown_load_view_.partial, 1000);
    EXPECT_GT(shown_unload_view_.partial, 100);
}

TEST_F(DerivedValuesTest, OpenedAndNewRecordsAreCurrentBeforeAnyViewReadsThem) {
    // A new document: the template's readings are scheduled and averaged.
    doc_.new_document();
    ASSERT_NO_FATAL_FAILURE(expect_current("new document"));

    // The fixture's record with stale values, as a file may hold them, goes
    // through a save and an open: the values read back are the recomputed
    // ones, with no table or curve filled in between.
    std::mt19937 random(7);
    build(random);
    for (auto& grade : doc_.record().grades.grades()) {
        for (SamplePoint& point : grade.points()) {
            point.minutes = 999;
            point.settlement = 99.99;
        }
    }
    const std::string path = ::testing::TempDir() + "kvd_derived_values_test.KVD";
    ui_.queue_save_path(path);
    ASSERT_TRUE(doc_.save(path));
    ASSERT_TRUE(doc_.open(path));
    std::remove(path.c_str());
    ASSERT_NO_FATAL_FAILURE(expect_current("open"));
    EXPECT_NE(doc_.record().grades.grade(1)->front().minutes, 999);

    // Test files: the reader builds the grades current, the document adds no pass.
    for (const char* name : {"demo.PTX", "plate.PTX", "uplift.PTX"}) {
        ASSERT_TRUE(doc_.open(std::string(KVD_SOURCE_DIR) + "/samples/" + name)) << name;
        ASSERT_EQ(doc_.record().opened_kind, FileKind::kTestFile) << name;
        ASSERT_GT(doc_.record().grades.total_readings(), 10) << name;
        ASSERT_NO_FATAL_FAILURE(expect_current(std::string("open ") + name));
    }
}

}  // namespace
}  // namespace kvd::testing
