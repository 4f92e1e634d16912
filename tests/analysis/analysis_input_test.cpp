// From a test record to what the rules read: the loading grades with the
// settlements and minutes the tables show, the test's kind from its method
// text, pressures for foundation tests, and a fingerprint of the data.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/bearing_analysis.h"
#include "analysis/load_curve.h"
#include "analysis/test_family.h"
#include "base/text_codec.h"

namespace kvd {
namespace {

// A record of grades whose readings hold channel 1 = the settlement; every
// stored settlement is left 0 so that the analysis must average itself.
TestRecord record_of(const std::vector<std::pair<int, double>>& loading,
                     const std::vector<std::pair<int, double>>& unloading, const char* method) {
    TestRecord record = TestRecord::make_empty(1686529800);
    write_gbk_field(record.header.test_method, method);
    // Channel 1 on the test pile and averaged, in the header as in TestParams.
    record.header.in_use[0] = record.header.test_pile[0] = record.header.averaged[0] = 1;
    record.test_params.pile_number = "S-9";
    int number = 0;
    double last = 0;
    auto add = [&](int load, double settlement, int flag, int readings) {
        COneGradeData& grade = record.grades.append_grade();
        for (int i = 0; i < readings; ++i) {
            SamplePoint point{};
            point.grade = number;
            point.loading = flag;
            point.load = load;
            point.channel[0] = i + 1 == readings ? settlement : last + (settlement - last) * 0.9;
            grade.append(point);
        }
        last = settlement;
        ++number;
    };
    for (auto [load, s] : loading) add(load, s, kLoading, 8);
    for (auto [load, s] : unloading) add(load, s, kUnloading, 4);
    return record;
}

TEST(AnalysisInput, LoadingGradesWithRecomputedSettlementsAndMinutes) {
    const TestRecord record =
        record_of({{0, 0}, {600, 2.004}, {1200, 4.5}, {1800, 7.25}}, {{1200, 6.8}, {0, 4.1}},
                  "JGJ106-2014 单桩竖向抗压静载试验");
    const AnalysisInput input = analysis_input(record);
    EXPECT_EQ(input.subject.family, TestFamily::kPileCompression);
    EXPECT_EQ(input.subject.name, "S-9");
    EXPECT_EQ(input.subject.unit, "kN");
    ASSERT_EQ(input.curve.points.size(), 4u);  // the unloading grades are not read
    const CurvePoint& p1 = input.curve.points[1];
    EXPECT_DOUBLE_EQ(p1.settlement, 2.0);  // round2 of the channel average
    EXPECT_DOUBLE_EQ(p1.increment, 2.0);
    EXPECT_DOUBLE_EQ(input.curve.points[3].increment, 2.75);
    EXPECT_EQ(p1.holding_minutes, 120);  // readings at 0, 5, 15, 30, 45, 60, 90, 120 minutes
    ASSERT_EQ(p1.readings.size(), 8u);
    EXPECT_DOUBLE_EQ(p1.readings.front().minutes, 0);
    EXPECT_DOUBLE_EQ(p1.readings.front().settlement, 0);  // starts where grade 0 ended
    EXPECT_TRUE(input.notices.empty()) << input.notices.front();
    EXPECT_DOUBLE_EQ(input.curve.points[0].increment, 0);

    // A first loading grade that already settled has no increment of its own:
    // there is no grade before it to compare with.
    const AnalysisInput seated =
        analysis_input(record_of({{100, 0.5}, {600, 2.5}}, {}, "JGJ106-2014 单桩竖向抗压静载试验"));
    EXPECT_DOUBLE_EQ(seated.curve.points[0].increment, 0);
    EXPECT_DOUBLE_EQ(seated.curve.points[1].increment, 2);

    // Editing a reading changes the fingerprint; the same data keep it.
    TestRecord edited = record;
    edited.grades.grade(2)->get(7)->channel[0] = 4.6;
    EXPECT_NE(analysis_input(edited).fingerprint, input.fingerprint);
    EXPECT_EQ(analysis_input(record).fingerprint, input.fingerprint);
}

TEST(AnalysisInput, FoundationLoadsInKnBecomePressuresOverThePlate) {
    TestRecord record =
        record_of({{0, 0}, {50, 1}, {100, 2.2}}, {}, "GB50007-2011 浅层平板载荷试验");
    record.header.test_object = 1;
    record.header.plate_area = 0.5f;
    record.rebuild_params();
    const AnalysisInput input = analysis_input(record);
    EXPECT_EQ(input.subject.family, TestFamily::kShallowPlate);
    EXPECT_EQ(input.subject.unit, "kPa");
    EXPECT_DOUBLE_EQ(input.curve.points[2].load, 200);
    ASSERT_EQ(input.notices.size(), 1u);
    EXPECT_NE(input.notices[0].find("0.500 m²"), std::string::npos);

    record.header.pressure_unit = 1;  // already kPa
    record.rebuild_params();
    EXPECT_DOUBLE_EQ(analysis_input(record).curve.points[2].load, 100);

    // In kN without a plate area: loads stay loads, and the notice says what is lost.
    record.header.pressure_unit = 0;
    record.header.plate_area = 0;
    record.rebuild_params();
    const AnalysisInput loads = analysis_input(record);
    EXPECT_EQ(loads.subject.unit, "kN");
    ASSERT_EQ(loads.notices.size(), 1u);
    EXPECT_NE(loads.notices[0].find("未填写压板面积"), std::string::npos);
}

TEST(AnalysisInput, TheMethodTextDecidesTheRules) {
    TestHeader header = default_test_header(0);
    struct Case {
        const char* method;
        TestFamily family;
        const char* standard;
    };
    for (const Case& c : {
             Case{"JGJ106-2014 单桩竖向抗压静载试验", TestFamily::kPileCompression, "JGJ 106-2014"},
             Case{"DB42/269-2003 单桩竖向抗压(湖北省) - 试桩", TestFamily::kPileCompression,
                  "JGJ 106-2014"},
             Case{"JGJ340-2015 竖向增强体载荷试验", TestFamily::kPileCompression, "JGJ 106-2014"},
             Case{"GB50007-2011 浅层平板载荷试验", TestFamily::kShallowPlate, "GB 50007-2011"},
             Case{"JGJ340-2015 土地基载荷试验", TestFamily::kShallowPlate, "GB 50007-2011"},
             Case{"JGJ79-2012 处理后地基静载荷试验", TestFamily::kShallowPlate, "JGJ 79-2012"},
             Case{"GB50007-2011 深层平板载荷试验", TestFamily::kDeepPlate, "GB 50007-2011"},
             Case{"GB50007-2011 岩石地基载荷试验", TestFamily::kRock, "GB 50007-2011"},
             Case{"JGJ340-2015 岩地基载荷试验", TestFamily::kRock, "GB 50007-2011"},
             Case{"JGJ340-2015 复合地基载荷试验", TestFamily::kComposite, "JGJ 79-2012"},
             Case{"JGJ79-2012 复合地基静载荷试验", TestFamily::kComposite, "JGJ 79-2012"},
             Case{"JGJ94-94 单桩水平静载试验", TestFamily::kUnsupported, ""},
         }) {
        EXPECT_EQ(classify_test(header, c.method), c.family) << c.method;
        EXPECT_EQ(rules_standard(c.family, c.method), c.standard) << c.method;
    }
    EXPECT_EQ(rules_notice(TestFamily::kPileCompression, "JGJ106-2014 单桩竖向抗压静载试验"), "");
    EXPECT_NE(rules_notice(TestFamily::kRock, "JGJ340-2015 岩地基载荷试验").find("GB 50007-2011"),
              std::string::npos);
    // Without a known text: the direction kind and the test object.
    header.direction_kind = 2;
    EXPECT_EQ(classify_test(header, "竖向抗拔用户自定义试验"), TestFamily::kPileUplift);
    header.direction_kind = 1;
    header.test_object = 1;
    header.test_code = 9;
    EXPECT_EQ(classify_test(header, "竖向静载荷用户自定义试验"), TestFamily::kRock);
}

TEST(AnalysisInput, AnchorPileChannelsAndDataProblemsAreReported) {
    TestRecord record =
        record_of({{0, 0}, {600, 2}, {1200, 1.5}}, {}, "JGJ106-2014 单桩竖向抗压静载试验");
    record.test_params.channel_role[1] = ChannelRole::kAnchorPile;
    record.grades.grade(2)->get(7)->channel[1] = 3.25;
    const AnalysisInput input = analysis_input(record);
    ASSERT_TRUE(input.subject.anchor_uplift_mm.has_value());
    EXPECT_DOUBLE_EQ(*input.subject.anchor_uplift_mm, 3.25);

    TestRecord flat =
        record_of({{0, 0}, {600, 0}, {600, 0}}, {}, "JGJ106-2014 单桩竖向抗压静载试验");
    const AnalysisInput bad = analysis_input(flat);
    EXPECT_EQ(bad.notices.size(), 2u);  // loads not increasing, no settlement
}

}  // namespace
}  // namespace kvd
