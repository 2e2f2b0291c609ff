#pragma once
// One touch channel of the store: its number and its four series, which always have the same
// length of at least kLeadingZeroSamples.

#include <array>
#include <cstdint>

#include "device/store/SampleQuantity.h"
#include "device/store/SampleSeries.h"

// Every series starts, and restarts after a clear, with this many zeros, so that the charts
// have a full window to draw before the first frame arrives.
inline constexpr std::uint32_t kLeadingZeroSamples = 100;

class ChannelSamples {
  public:
    // A channel whose four series hold kLeadingZeroSamples zeros each.
    explicit ChannelSamples(std::uint32_t channelNumber);

    // 0-based position of the channel's group in the measurement frame; the pages add 1.
    const std::uint32_t channel;

    SampleSeries& Series(SampleQuantity quantity) { return series_[QuantityIndex(quantity)]; }
    const SampleSeries& Series(SampleQuantity quantity) const {
        return series_[QuantityIndex(quantity)];
    }

    std::uint32_t SampleCount() const { return Series(SampleQuantity::Baseline).Size(); }

    // Appends one frame's values to all four series; the difference is computed here, as a
    // signed value from -65535 to 65535.
    void AppendFrameValues(std::uint16_t baseline, std::uint16_t filtered, std::uint16_t noise);

    // Empties every series and refills each with kLeadingZeroSamples zeros.
    void ResetToLeadingZeros();

  private:
    // Where the series of channel/quantity starts in its first block: spread evenly over the
    // block for the 128 series of a full store, so that one frame starts at most one new block
    // (an append holds the store's lock, and allocating 128 blocks at once took milliseconds).
    static std::uint32_t FirstBlockOffset(std::uint32_t channelNumber, std::size_t quantity);

    std::array<SampleSeries, kSampleQuantityCount> series_;
};
