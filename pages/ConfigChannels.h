// The channels the Configuration page offers: those a channel mask allows
// (bit n - 1 for channel n, channels 1 to 14; bits 14 and 15 name no
// channel of the band), in ascending order, with their positions in the
// channel list. Plain values only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

class CChannelList {
public:
    // No channel allowed.
    CChannelList() = default;
    explicit CChannelList(std::uint16_t mask);

    bool Allowed(std::uint32_t channel) const;
    // A channel the mask does not allow becomes the lowest allowed channel;
    // with no channel allowed the channel stays as it is.
    std::uint32_t Fixed(std::uint32_t channel) const;
    // Allowed channels, the length of the list.
    int Count() const { return count_; }
    // The list position of `channel`, -1 when it is not listed.
    int IndexOf(std::uint32_t channel) const;
    // The channel at list position `index`; nothing outside the list.
    std::optional<std::uint32_t> ChannelAt(int index) const;

    static constexpr int kChannels = 14;

private:
    std::uint16_t mask_ = 0;
    int count_ = 0;
    // Channel n's position at n - 1 (-1 when not allowed); position i's
    // channel at i.
    std::array<int, kChannels> index_ = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::array<int, kChannels> channel_{};
};
