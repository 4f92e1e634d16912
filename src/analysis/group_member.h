#pragma once
// The value one test brings to the statistics of a group, and the words for
// where it came from: the engineer's choice kept in the analysis file when it
// was made on the readings analysed, else the analysis's own proposal
// (TestAnalysis::group_value). A choice made on readings changed since, or
// of another quantity than the group counts (a pile's Ra instead of its
// ultimate load, a plate's ultimate pressure instead of its characteristic
// value), is not taken: the proposal is, and the member says why.
//
// read_group_file reads a file for the group as the open command reads it
// (the same checks of its first bytes, the same reader) and refuses what
// must not be counted: files that cannot be read, damaged files and tests
// still being recorded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/analysis_options.h"
#include "analysis/group_statistics.h"
#include "record/engineer_choice.h"

namespace kvd {

enum class MemberBasis : std::uint8_t {
    kProposal,       // no choice in the file
    kChoice,         // the engineer's choice, made on these readings
    kStaleChoice,    // a choice made before the readings were changed
    kOtherQuantity,  // a choice of another quantity than the group counts
};

// "程序建议", "工程师选定", "选定基于修改前数据，未采用", "选定值不是统计所用的量，未采用".
std::string_view basis_text(MemberBasis basis);

struct GroupMemberValue {
    GroupMember member;
    MemberBasis basis = MemberBasis::kProposal;
    // The rule the value was taken by, with its clause ("工程师选定：s = 40 mm
    // 对应的荷载（JGJ 106-2014 第 4.4.2 条第 4 款）").
    std::string basis_detail;
};

// name: the test's pile or point number when the analysis has one, else this.
GroupMemberValue group_member_of(const TestAnalysis& analysis,
                                 const std::optional<EngineerChoice>& choice,
                                 const std::string& name);

struct GroupFile {
    std::string path;
    std::string refusal;  // why the file is not counted; empty when it is
    TestAnalysis analysis;
    GroupMemberValue value;

    bool counted() const { return refusal.empty(); }
};

inline constexpr char kMessageGroupUnfinished[] = "该文件试验未结束，不参加统计。";

// Reads, analyses and values the file at path (a local path); `name` names
// the member when the test has no number.
GroupFile read_group_file(const std::string& path, const std::string& name,
                          const AnalysisOptions& options);

// The statistics over the counted files, in their order; tests of different
// kinds, standards or units are refused by group_statistics.
GroupAnalysis group_of_files(const std::vector<GroupFile>& files, const GroupOptions& options);

// The file already in the list that holds the same test (the same number and
// readings) as `file`; -1 when there is none. One test counted twice would
// weigh twice in the mean.
int same_test_index(const std::vector<GroupFile>& files, const GroupFile& file);

}  // namespace kvd
