#pragma once
// Fills a store the way the device connection does, from the frames of the simulated chip.

#include "device/store/TouchSampleStore.h"
#include "tessik/SimulatedChip.h"

#include <cstdint>

class SimulatedRecording {
  public:
    SimulatedRecording(TouchSampleStore& store, int channels, std::uint32_t seed = 7);

    // Decodes this many further frames of the chip into the store.
    void Record(std::uint32_t frames);
    std::uint8_t ChannelCount() const { return channelCount_; }

  private:
    TouchSampleStore& store_;
    SimulatedChip chip_;
    std::uint8_t channelCount_ = 0;
};
