#include "pages/ConfigChannels.h"

CChannelList::CChannelList(std::uint16_t mask) : mask_(mask) {
    for (int n = 1; n <= kChannels; ++n) {
        if (Allowed(static_cast<std::uint32_t>(n))) {
            index_[static_cast<std::size_t>(n - 1)] = count_;
            channel_[static_cast<std::size_t>(count_)] = n;
            ++count_;
        }
    }
}

bool CChannelList::Allowed(std::uint32_t channel) const {
    return channel >= 1 && channel <= kChannels && (mask_ >> (channel - 1)) & 1u;
}

std::uint32_t CChannelList::Fixed(std::uint32_t channel) const {
    if (Allowed(channel)) {
        return channel;
    }
    return count_ > 0 ? static_cast<std::uint32_t>(channel_[0]) : channel;
}

int CChannelList::IndexOf(std::uint32_t channel) const {
    if (channel < 1 || channel > kChannels) {
        return -1;
    }
    return index_[channel - 1];
}

std::optional<std::uint32_t> CChannelList::ChannelAt(int index) const {
    if (index < 0 || index >= count_) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(channel_[static_cast<std::size_t>(index)]);
}
