#include "tables/printed_channels.h"

#include <algorithm>

namespace kvd {
namespace {

bool in_use(const TestParams& params, int channel) {
    return params.channel_role[static_cast<std::size_t>(channel)] != ChannelRole::kUnused;
}

bool averaged(const TestParams& params, int channel) {
    return params.averaged[static_cast<std::size_t>(channel)] == 1;
}

bool listed(const std::vector<int>& list, int channel) {
    return std::find(list.begin(), list.end(), channel) != list.end();
}

// Adds channels accepted by `take`, lowest first, until the list has four.
template <typename Take>
void pad(std::vector<int>& list, Take take) {
    for (int ch = 0; ch < kChannelCount && static_cast<int>(list.size()) < kMinPrintedChannels;
         ++ch) {
        if (!listed(list, ch) && take(ch)) list.push_back(ch);
    }
}

}  // namespace

std::vector<int> printed_channel_list(const TestParams& params) {
    std::vector<int> list;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (printed_channel_has_values(params, ch)) list.push_back(ch);
    }
    pad(list, [&](int ch) { return !averaged(params, ch); });
    pad(list, [](int) { return true; });
    std::sort(list.begin(), list.end());
    return list;
}

bool printed_channel_has_values(const TestParams& params, int channel) {
    if (channel < 0 || channel >= kChannelCount) return false;
    return in_use(params, channel) && averaged(params, channel);
}

std::vector<int> raw_printed_channel_list(const TestParams& params) {
    std::vector<int> list;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (in_use(params, ch)) list.push_back(ch);
    }
    pad(list, [&](int ch) { return !in_use(params, ch); });
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace kvd
