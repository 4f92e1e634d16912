// The committed samples analysed end to end from their files: a proof-load
// compression test that never fails, an uplift acceptance test, and a shallow
// plate test in kPa. The results are what an engineer would sign.

#include <gtest/gtest.h>

#include "analysis/bearing_analysis.h"
#include "base/file_io.h"
#include "record/test_file_reader.h"

namespace kvd {
namespace {

TestAnalysis analyse_sample(const char* name) {
    Bytes bytes;
    TestRecord record;
    ReadReport report;
    EXPECT_TRUE(read_whole_file(std::string(KVD_SOURCE_DIR) + "/samples/" + name, bytes).ok());
    EXPECT_TRUE(read_record(bytes, record, report).ok());
    return analyse_test(record);
}

const RuleResult& method(const TestAnalysis& a, RuleId id) {
    for (const RuleResult& m : a.methods) {
        if (m.id == id) return m;
    }
    static const RuleResult none;
    return none;
}

TEST(Samples, DemoCompressionPileNeverFailsAndPassesTheDavissonLimit) {
    const TestAnalysis a = analyse_sample("demo.PTX");
    EXPECT_EQ(a.family, TestFamily::kPileCompression);
    EXPECT_EQ(a.loading_grades, 10);
    EXPECT_DOUBLE_EQ(a.max_load, 3000);
    EXPECT_DOUBLE_EQ(a.max_settlement, 23.05);
    EXPECT_EQ(a.ultimate.id, RuleId::kCompressionMaximumLoad);
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 3000);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 1500);
    for (const RuleResult& rule : a.rules) {
        if (rule.id != RuleId::kCompressionMaximumLoad) {
            EXPECT_FALSE(rule.gives_value()) << rule.reason;
        }
    }
    // 800 mm x 32.5 m: the offset line 10.67 mm + 2.16e-3 mm/kN is crossed
    // between 2400 kN (13.78 mm) and 2700 kN (17.74 mm).
    const RuleResult& davisson = method(a, RuleId::kDavisson);
    ASSERT_EQ(davisson.outcome, RuleOutcome::kValue);
    EXPECT_GT(davisson.value, 2400);
    EXPECT_LT(davisson.value, 2700);
    // The hyperbola fitted past it lies above the largest load.
    const RuleResult& chin = method(a, RuleId::kChinKondner);
    ASSERT_EQ(chin.outcome, RuleOutcome::kValue);
    EXPECT_GT(chin.value, 3000);
    EXPECT_TRUE(a.notices.empty());
}

TEST(Samples, UpliftPileReachesNoneOfTheFailureConditions) {
    const TestAnalysis a = analyse_sample("uplift.PTX");
    EXPECT_EQ(a.family, TestFamily::kPileUplift);
    EXPECT_EQ(a.ultimate.id, RuleId::kUpliftMaximumLoad);
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 1200);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 600);
}

TEST(Samples, ShallowPlateTakesHalfTheMaximumPressure) {
    const TestAnalysis a = analyse_sample("plate.PTX");
    EXPECT_EQ(a.family, TestFamily::kShallowPlate);
    EXPECT_EQ(a.unit, "kPa");
    EXPECT_DOUBLE_EQ(a.max_load, 400);
    EXPECT_EQ(a.characteristic.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(a.characteristic.value, 200);
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);
    // Loaded to its planned maximum: a plate test's normal end, not worth a notice.
    EXPECT_TRUE(a.notices.empty());
}

TEST(Samples, UnfinishedTestSaysThatNoEndingConditionOccurred) {
    const TestAnalysis a = analyse_sample("unfinished.PTX");
    EXPECT_EQ(a.ultimate.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(a.ultimate.value, 2100);
    ASSERT_EQ(a.notices.size(), 1u);
    EXPECT_NE(a.notices[0].find("未出现任何终止加载条件"), std::string::npos);
}

}  // namespace
}  // namespace kvd
