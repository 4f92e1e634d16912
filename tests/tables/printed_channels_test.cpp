// The printed channel lists: averaged channels in use padded to four for the
// detail and modification tables, channels in use padded with unused ones for
// the raw record table.

#include "tables/printed_channels.h"

#include <gtest/gtest.h>

namespace kvd {
namespace {

TestParams params_with(std::initializer_list<std::pair<int, ChannelRole>> roles,
                       std::initializer_list<int> averaged) {
    TestParams p;
    p.channel_role.fill(ChannelRole::kUnused);
    p.averaged.fill(0);
    for (auto [ch, role] : roles) p.channel_role[static_cast<std::size_t>(ch)] = role;
    for (int ch : averaged) p.averaged[static_cast<std::size_t>(ch)] = 1;
    return p;
}

TEST(PrintedChannelsTest, DetailListPadsWithUnaveragedChannels) {
    // 3 and 6 averaged on the test pile, 9 on an anchor pile, 4 in use but
    // not averaged.
    const TestParams p = params_with({{3, ChannelRole::kTestPile},
                                      {6, ChannelRole::kTestPile},
                                      {9, ChannelRole::kAnchorPile},
                                      {4, ChannelRole::kTestPile}},
                                     {3, 6, 9});
    EXPECT_EQ(printed_channel_list(p), (std::vector<int>{0, 3, 6, 9}));
    EXPECT_TRUE(printed_channel_has_values(p, 9));
    EXPECT_FALSE(printed_channel_has_values(p, 0));
    EXPECT_FALSE(printed_channel_has_values(p, 4));
    EXPECT_FALSE(printed_channel_has_values(p, 16));

    const TestParams two =
        params_with({{0, ChannelRole::kTestPile}, {5, ChannelRole::kTestPile}}, {0, 5, 1, 2});
    // Channels 1 and 2 are flagged averaged but unused: padding skips them.
    EXPECT_EQ(printed_channel_list(two), (std::vector<int>{0, 3, 4, 5}));

    // Every spare channel flagged averaged: the lowest remaining ones pad.
    TestParams all = params_with({{7, ChannelRole::kTestPile}}, {});
    all.averaged.fill(1);
    EXPECT_EQ(printed_channel_list(all), (std::vector<int>{0, 1, 2, 7}));

    TestParams many = params_with({}, {});
    for (int ch = 0; ch < 16; ++ch)
        many.channel_role[static_cast<std::size_t>(ch)] = ChannelRole::kTestPile;
    many.averaged.fill(1);
    EXPECT_EQ(printed_channel_list(many).size(), 16u);
}

TEST(PrintedChannelsTest, RawListTakesEveryChannelInUse) {
    const TestParams p =
        params_with({{2, ChannelRole::kTestPile}, {10, ChannelRole::kAnchorPile}}, {});
    EXPECT_EQ(raw_printed_channel_list(p), (std::vector<int>{0, 1, 2, 10}));
    TestParams none = params_with({}, {});
    EXPECT_EQ(raw_printed_channel_list(none), (std::vector<int>{0, 1, 2, 3}));
    TestParams five = params_with({{1, ChannelRole::kTestPile},
                                   {3, ChannelRole::kTestPile},
                                   {5, ChannelRole::kAnchorPile},
                                   {7, ChannelRole::kTestPile},
                                   {15, ChannelRole::kAnchorPile}},
                                  {});
    EXPECT_EQ(raw_printed_channel_list(five), (std::vector<int>{1, 3, 5, 7, 15}));
}

}  // namespace
}  // namespace kvd
