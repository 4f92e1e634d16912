// The value each test brings to a group: the engineer's choice kept in its
// analysis file when it was made on these readings, else the proposal, with
// the words the group table and kvdtool show; and groups built from files
// written through the record writer, checked against sums done here.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>

#include "analysis/bearing_analysis.h"
#include "analysis/choice_of_rule.h"
#include "analysis/group_member.h"
#include "analysis/group_table.h"
#include "base/file_io.h"
#include "base/text_codec.h"
#include "record/file_classifier.h"
#include "record/test_file_reader.h"
#include "record/test_file_writer.h"

namespace kvd {
namespace {

std::string sample(const char* name) {
    return std::string(KVD_SOURCE_DIR) + "/samples/" + name;
}

TestRecord read_sample(const char* name) {
    Bytes bytes;
    TestRecord record;
    ReadReport report;
    EXPECT_TRUE(read_whole_file(sample(name), bytes).ok());
    EXPECT_TRUE(read_record(bytes, record, report).ok());
    return record;
}

const RuleResult& method(const TestAnalysis& a, RuleId id) {
    return *std::find_if(a.methods.begin(), a.methods.end(),
                         [id](const RuleResult& m) { return m.id == id; });
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(GroupMember, TakesAMatchingChoiceElseTheProposalAndSaysWhich) {
    const TestAnalysis demo = analyse_test(read_sample("demo.PTX"));
    ASSERT_EQ(demo.ultimate.outcome, RuleOutcome::kAtLeast);

    const GroupMemberValue proposal = group_member_of(demo, std::nullopt, "demo.PTX");
    EXPECT_EQ(proposal.basis, MemberBasis::kProposal);
    EXPECT_EQ(proposal.member.name, "S-12");  // the pile number, not the file
    EXPECT_EQ(proposal.member.unit, "kN");
    EXPECT_EQ(proposal.member.value.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(proposal.member.value.value, 3000);
    EXPECT_EQ(proposal.basis_detail,
              "程序建议：未达到极限时取最大加载值（JGJ 106-2014 第 4.4.2 条第 5 款）");

    // The Davisson value accepted: the pile counts with it, as a plain value.
    const RuleResult& davisson = method(demo, RuleId::kDavisson);
    const GroupMemberValue chosen =
        group_member_of(demo, choice_of_rule(davisson, demo, 1700000000, "按 Davisson"), "x");
    EXPECT_EQ(chosen.basis, MemberBasis::kChoice);
    EXPECT_EQ(chosen.member.value.outcome, RuleOutcome::kValue);
    EXPECT_DOUBLE_EQ(chosen.member.value.value, davisson.value);
    EXPECT_EQ(chosen.member.value.id, RuleId::kDavisson);
    EXPECT_EQ(chosen.basis_detail.rfind("工程师选定：" + davisson.title, 0), 0u)
        << chosen.basis_detail;
    EXPECT_TRUE(contains(chosen.member.value.reason, "按 Davisson"));

    // A typed bound stays a bound.
    const GroupMemberValue typed = group_member_of(demo, manual_choice(3100, true, demo, 0), "x");
    EXPECT_EQ(typed.basis, MemberBasis::kChoice);
    EXPECT_EQ(typed.member.value.outcome, RuleOutcome::kAtLeast);
    EXPECT_DOUBLE_EQ(typed.member.value.value, 3100);
    EXPECT_EQ(typed.basis_detail, "工程师选定：手动取值");

    // Made on readings changed since: the proposal counts, and the engineer is told.
    EngineerChoice stale = manual_choice(2500, false, demo, 0);
    stale.data_fingerprint ^= 0x10u;
    const GroupMemberValue old = group_member_of(demo, stale, "x");
    EXPECT_EQ(old.basis, MemberBasis::kStaleChoice);
    EXPECT_DOUBLE_EQ(old.member.value.value, 3000);
    EXPECT_EQ(old.member.value.outcome, RuleOutcome::kAtLeast);
    EXPECT_EQ(old.basis_detail.rfind("选定基于修改前数据，未采用；程序建议：", 0), 0u);

    // Ra chosen for a pile is half the quantity a pile group counts.
    const GroupMemberValue half =
        group_member_of(demo, choice_of_rule(demo.characteristic, demo, 0), "x");
    EXPECT_EQ(half.basis, MemberBasis::kOtherQuantity);
    EXPECT_DOUBLE_EQ(half.member.value.value, 3000);
    EXPECT_EQ(half.basis_detail.rfind("选定值不是统计所用的量，未采用；程序建议：", 0), 0u);

    // A test without a number is named by what the caller gives.
    TestAnalysis unnamed = demo;
    unnamed.test_name.clear();
    EXPECT_EQ(group_member_of(unnamed, std::nullopt, "无编号.PTX").member.name, "无编号.PTX");
}

TEST(GroupMember, PlateCountsItsCharacteristicValueNotItsUltimatePressure) {
    const TestAnalysis plate = analyse_test(read_sample("plate.PTX"));
    ASSERT_EQ(plate.family, TestFamily::kShallowPlate);
    const GroupMemberValue proposal = group_member_of(plate, std::nullopt, "plate.PTX");
    EXPECT_DOUBLE_EQ(proposal.member.value.value, 200);
    EXPECT_EQ(proposal.member.unit, "kPa");
    EngineerChoice ultimate = manual_choice(400, true, plate, 0);
    ultimate.rule = static_cast<std::uint16_t>(RuleId::kPlateUltimate);
    EXPECT_EQ(group_member_of(plate, ultimate, "x").basis, MemberBasis::kOtherQuantity);
    const GroupMemberValue typed = group_member_of(plate, manual_choice(180, false, plate, 0), "x");
    EXPECT_EQ(typed.basis, MemberBasis::kChoice);
    EXPECT_DOUBLE_EQ(typed.member.value.value, 180);
}

class GroupFiles : public ::testing::Test {
protected:
    // The demo pile saved as an analysis file under another pile number,
    // with the choice made by `choose` on its analysis (none when empty).
    std::string write_pile(
        const std::string& number,
        const std::function<std::optional<EngineerChoice>(const TestAnalysis&)>& choose) {
        TestRecord record = read_sample("demo.PTX");
        record.save_kind = FileKind::kAnalysis;
        record.test_params.pile_number = number;
        write_gbk_field(record.header.pile_number, number);
        record.engineer_choice = choose(analyse_test(record));
        Bytes bytes;
        EXPECT_TRUE(write_record(record, bytes).ok());
        const std::string path = ::testing::TempDir() + "/group_" + number + ".KVD";
        EXPECT_TRUE(replace_file_atomically(path, bytes).ok());
        return path;
    }

    static GroupAnalysis group_of(const std::vector<GroupFile>& files, GroupOptions options = {}) {
        for (const GroupFile& file : files) EXPECT_TRUE(file.counted()) << file.refusal;
        return group_of_files(files, options);
    }
};

TEST_F(GroupFiles, ChoicesWrittenInAnalysisFilesMakeTheGroup) {
    const auto typed = [](double value) {
        return [value](const TestAnalysis& a) -> std::optional<EngineerChoice> {
            return manual_choice(value, false, a, 1700000000);
        };
    };
    const AnalysisOptions options;
    std::vector<GroupFile> files;
    files.push_back(read_group_file(write_pile("S-1", typed(2700)), "S-1", options));
    files.push_back(read_group_file(write_pile("S-2", typed(3100)), "S-2", options));
    files.push_back(read_group_file(
        write_pile("S-3",
                   [](const TestAnalysis& a) -> std::optional<EngineerChoice> {
                       return choice_of_rule(method(a, RuleId::kDavisson), a, 1700000000);
                   }),
        "S-3", options));
    for (const GroupFile& file : files) EXPECT_EQ(file.value.basis, MemberBasis::kChoice);
    const double davisson = method(files[2].analysis, RuleId::kDavisson).value;
    const std::vector<double> values = {2700, 3100, davisson};
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / 3;
    const double range = *std::max_element(values.begin(), values.end()) -
                         *std::min_element(values.begin(), values.end());
    ASSERT_LE(range, 0.3 * mean);

    const GroupAnalysis group = group_of(files);
    EXPECT_EQ(group.counted, 3);
    EXPECT_EQ(group.members[0].name, "S-1");
    EXPECT_DOUBLE_EQ(group.mean, mean);
    EXPECT_DOUBLE_EQ(group.range, range);
    ASSERT_EQ(group.statistic.outcome, RuleOutcome::kValue);  // no bound among the choices
    EXPECT_DOUBLE_EQ(group.statistic.value, mean);
    EXPECT_DOUBLE_EQ(group.characteristic.value, mean / 2);

    GroupOptions cap;
    cap.small_cap = true;
    EXPECT_DOUBLE_EQ(group_of(files, cap).statistic.value, std::min({2700.0, 3100.0, davisson}));

    // A pile without a choice brings its proposal, a bound: the mean is then one too.
    files[1] = read_group_file(
        write_pile("S-2", [](const TestAnalysis&) { return std::optional<EngineerChoice>(); }),
        "S-2", options);
    EXPECT_EQ(files[1].value.basis, MemberBasis::kProposal);
    const GroupAnalysis bounded = group_of(files);
    EXPECT_DOUBLE_EQ(bounded.mean, (2700 + 3000 + davisson) / 3);
    EXPECT_EQ(bounded.statistic.outcome, RuleOutcome::kAtLeast);
}

TEST_F(GroupFiles, SamplesOfThreeKindsAreReadButNotGroupedTogether) {
    std::vector<GroupFile> files;
    for (const char* name : {"demo.PTX", "uplift.PTX", "plate.PTX"}) {
        files.push_back(read_group_file(sample(name), name, {}));
        EXPECT_EQ(files.back().value.basis, MemberBasis::kProposal);
    }
    EXPECT_DOUBLE_EQ(files[0].value.member.value.value, 3000);
    EXPECT_DOUBLE_EQ(files[1].value.member.value.value, 1200);
    EXPECT_DOUBLE_EQ(files[2].value.member.value.value, 200);
    const GroupAnalysis group = group_of(files);
    EXPECT_EQ(group.members.size(), 3u);
    EXPECT_FALSE(group.statistic.gives_value());
    EXPECT_EQ(group.statistic.reason, "各试验的类型、标准或单位不一致，不能一起统计");
}

TEST_F(GroupFiles, UnreadableDamagedAndUnfinishedFilesAreNotCounted) {
    EXPECT_FALSE(read_group_file(::testing::TempDir() + "/no_such.PTX", "x", {}).counted());
    EXPECT_EQ(read_group_file(sample("unfinished.PTX"), "x", {}).refusal, kMessageGroupUnfinished);

    Bytes bytes;
    ASSERT_TRUE(read_whole_file(sample("demo.KVD"), bytes).ok());
    bytes.resize(bytes.size() - 37);  // cut inside the last readings
    const std::string cut = ::testing::TempDir() + "/cut.KVD";
    ASSERT_TRUE(replace_file_atomically(cut, bytes).ok());
    const GroupFile damaged = read_group_file(cut, "cut.KVD", {});
    EXPECT_FALSE(damaged.counted());
    EXPECT_TRUE(contains(damaged.refusal, "文件已损坏")) << damaged.refusal;
    EXPECT_TRUE(contains(damaged.refusal, "不参加统计")) << damaged.refusal;

    const std::string text = ::testing::TempDir() + "/notes.PTX";
    ASSERT_TRUE(replace_file_atomically(text, Bytes(200, 'x')).ok());
    EXPECT_EQ(read_group_file(text, "x", {}).refusal, kMessageUnknownType);
}

TEST_F(GroupFiles, TheTableSaysWhatCountsAndWhyAWideRangeGivesNoValue) {
    const auto typed = [](double value, bool stale = false) {
        return [value, stale](const TestAnalysis& a) -> std::optional<EngineerChoice> {
            EngineerChoice choice = manual_choice(value, false, a, 1700000000);
            if (stale) choice.data_fingerprint += 1;
            return choice;
        };
    };
    std::vector<GroupFile> files;
    files.push_back(read_group_file(write_pile("P-1", typed(2000)), "P-1.KVD", {}));
    files.push_back(read_group_file(write_pile("P-2", typed(2700)), "P-2.KVD", {}));
    files.push_back(read_group_file(write_pile("P-3", typed(3300)), "P-3.KVD", {}));
    files.push_back(read_group_file(write_pile("P-4", typed(1000, true)), "P-4.KVD", {}));
    files.push_back(read_group_file(sample("unfinished.PTX"), "unfinished.PTX", {}));
    // A copy of a listed file holds the same test; another pile does not.
    EXPECT_EQ(same_test_index(files, read_group_file(write_pile("P-2", typed(2700)), "x", {})), 1);
    EXPECT_EQ(same_test_index(files, read_group_file(sample("demo.PTX"), "demo.PTX", {})), -1);

    // P-4's choice is stale: its proposal (≥ 3000 kN) counts. 2000, 2700,
    // 3300, 3000: mean 2750, range 1300 = 47.3 % of it.
    const GroupAnalysis group = group_of_files(files, {});
    const GroupTable table = make_group_table(
        files, {"P-1.KVD", "P-2.KVD", "P-3.KVD", "P-4.KVD", "unfinished.PTX"}, group);
    ASSERT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.rows[0][3], "2000 kN");
    EXPECT_EQ(table.rows[0][4], "工程师选定：手动取值");
    EXPECT_EQ(table.rows[3][3], "≥ 3000 kN");
    EXPECT_EQ(table.rows[3][4].rfind("选定基于修改前数据，未采用；程序建议：", 0), 0u);
    EXPECT_EQ(table.rows[3][5], "是");
    EXPECT_EQ(table.rows[4][1], "unfinished.PTX");
    EXPECT_EQ(table.rows[4][4], kMessageGroupUnfinished);
    EXPECT_EQ(table.rows[4][5], "否");

    const std::string text = group_table_text(table);
    EXPECT_EQ(
        text.rfind("序号\t试验编号\t文件\t值\t取值依据\t计入统计\n1\tP-1\tP-1.KVD\t2000 kN\t", 0),
        0u)
        << text;
    const double mean = (2000 + 2700 + 3300 + 3000) / 4.0;
    EXPECT_DOUBLE_EQ(group.mean, mean);
    EXPECT_TRUE(contains(text, "\n数量\t4 个参加统计（共 5 个文件）\n"));
    EXPECT_TRUE(contains(text, "\n平均值\t2750 kN\n"));
    EXPECT_TRUE(contains(text, "\n极差\t1300 kN\n"));
    EXPECT_TRUE(contains(text, "\n极差/平均值\t47.3%\n"));
    EXPECT_FALSE(group.statistic.gives_value());
    EXPECT_TRUE(contains(text,
                         "\n统计规则\t4 个值，平均 2750 kN，极差 1300 kN（平均值的 "
                         "47.3%）；极差超过平均值的 30%，应分析原因"))
        << text;
    EXPECT_TRUE(contains(text, "统计值 Quk：不给出（原因见统计规则）\n")) << text;
    EXPECT_TRUE(contains(text,
                         "\n特征值\t承载力特征值 Ra = 统计值的一半（JGJ 106-2014 第 4.4.4 "
                         "条）：不给出（统计值未确定）\n"))
        << text;
    EXPECT_TRUE(contains(text, "\n提示\tP-4 的选定基于修改前的数据"));
}

}  // namespace
}  // namespace kvd
