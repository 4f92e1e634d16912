#pragma once
// The values of the displacement page (位移参数, CWeiYiDlg): for each of the 16
// channels whether it is in use, the sensor number, what it measures (锚桩 /
// 试桩) and which way it travels in a normal test (伸长 / 缩短). The page
// edits only the header; the channel roles of TestParams follow from it when
// the record is next read (channel_roles_from_header).

#include <array>
#include <string>
#include <string_view>

#include "record/test_header.h"

namespace kvd {

struct ChannelFields {
    bool in_use = false;        // header 185 + j
    std::string sensor_number;  // 位移编号: header 265 + 32 j
    bool test_pile = false;     // 使用目的: header 201 + j, 试桩 (else 锚桩)
    bool shortens = false;      // 运动方向: header 217 + j, 缩短 (else 伸长)
};

inline constexpr std::array<std::string_view, 2> kPurposeNames = {"锚桩", "试桩"};
inline constexpr std::array<std::string_view, 2> kDirectionNames = {"伸长", "缩短"};

inline constexpr std::string_view kDisplacementHelpText =
    "帮助：“使用目的”就是这个表的功能，是用来测试试桩位移变化，还是用来测试锚桩位移变化；\n"
    "“运动方向”就是安装这个伸缩杆在正常试验中是逐渐伸长还是逐渐缩短。";

struct DisplacementPageFields {
    std::array<ChannelFields, kChannelCount> channels;

    // A byte other than 1 reads as "no" (unused, anchor pile, extends).
    void load_from(const TestHeader& header);
    // Flags stored as 0/1; sensor numbers cut to their 32-byte fields.
    void store_into(TestHeader& header) const;
};

// The purpose and direction radios of a channel are enabled only while it is in use.
inline bool channel_radios_enabled(const ChannelFields& channel) {
    return channel.in_use;
}

}  // namespace kvd
