#pragma once
// The 32 channel check boxes of the main dialog: which control id belongs to which channel,
// and the boxes themselves. Channels count from 0 here as everywhere in the code; box "1"
// shows channel 0.

#include "framework/Controls.h"
#include "device/store/TouchSampleStore.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr int kChannelBoxCount = static_cast<int>(kMaxTouchChannels);

// Control id of the check box of each channel, at the channel's index.
constexpr std::array<int, kChannelBoxCount> kChannelBoxIds = {
    IDC_CHANNEL_1,  IDC_CHANNEL_2,  IDC_CHANNEL_3,  IDC_CHANNEL_4,  IDC_CHANNEL_5,  IDC_CHANNEL_6,
    IDC_CHANNEL_7,  IDC_CHANNEL_8,  IDC_CHANNEL_9,  IDC_CHANNEL_10, IDC_CHANNEL_11, IDC_CHANNEL_12,
    IDC_CHANNEL_13, IDC_CHANNEL_14, IDC_CHANNEL_15, IDC_CHANNEL_16, IDC_CHANNEL_17, IDC_CHANNEL_18,
    IDC_CHANNEL_19, IDC_CHANNEL_20, IDC_CHANNEL_21, IDC_CHANNEL_22, IDC_CHANNEL_23, IDC_CHANNEL_24,
    IDC_CHANNEL_25, IDC_CHANNEL_26, IDC_CHANNEL_27, IDC_CHANNEL_28, IDC_CHANNEL_29, IDC_CHANNEL_30,
    IDC_CHANNEL_31, IDC_CHANNEL_32,
};

// The channel whose box has control id id; none for any other control.
constexpr std::optional<std::uint32_t> ChannelOfBox(int id) {
    for (std::uint32_t channel = 0; channel < kChannelBoxIds.size(); ++channel) {
        if (kChannelBoxIds[channel] == id) {
            return channel;
        }
    }
    return std::nullopt;
}

class ChannelBoxes {
  public:
    void Bind(DataExchange& dx);

    // Checks and enables the boxes of channels 0 to channels - 1, clears and disables the
    // others. There are only 32 boxes, whatever the chip or the file claims.
    void Show(std::size_t channels) const;
    // Checks or clears the box of channel; a channel without a box has nothing to change.
    void Check(std::uint32_t channel, bool checked) const;
    bool Checked(std::uint32_t channel) const;

  private:
    std::array<CButton, kChannelBoxCount> boxes_;  // by channel
};
