#pragma once
// The displacement channels a printed table gives a column each. Paper has
// room for a fixed set of gauge columns, so the lists are padded to at least
// four entries; a padding channel prints "--" in place of values.
//
// Channels are 0-based indices into the 16 channels (the printed caption
// "表 %d" shows index + 1); every list is in ascending order.

#include <vector>

#include "record/test_params.h"

namespace kvd {

inline constexpr int kMinPrintedChannels = 4;

// Detail and modification record tables: the channels that are in use and
// averaged; when there are fewer than four, channels that are not averaged are
// added, lowest first; should that still leave fewer than four (every spare
// channel is flagged averaged), the lowest remaining channels fill the list.
std::vector<int> printed_channel_list(const TestParams& params);

// Whether a channel of printed_channel_list prints values (in use and
// averaged) rather than "--" (a padding channel).
bool printed_channel_has_values(const TestParams& params, int channel);

// Raw record table: the channels in use, padded to four with unused channels,
// lowest first.
std::vector<int> raw_printed_channel_list(const TestParams& params);

}  // namespace kvd
