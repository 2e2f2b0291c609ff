#include "device/store/ChannelSamples.h"

#include "device/store/TouchSampleStore.h"

ChannelSamples::ChannelSamples(std::uint32_t channelNumber)
    : channel(channelNumber),
      series_{SampleSeries(FirstBlockOffset(channelNumber, 0)),
              SampleSeries(FirstBlockOffset(channelNumber, 1)),
              SampleSeries(FirstBlockOffset(channelNumber, 2)),
              SampleSeries(FirstBlockOffset(channelNumber, 3))} {
    ResetToLeadingZeros();
}

std::uint32_t ChannelSamples::FirstBlockOffset(std::uint32_t channelNumber, std::size_t quantity) {
    constexpr auto kQuantities = static_cast<std::uint32_t>(kSampleQuantityCount);
    constexpr std::uint32_t kSpacing =
        SampleSeries::kBlockSamples / (kMaxTouchChannels * kQuantities);
    static_assert(kSpacing > 0);
    return (channelNumber * kQuantities + static_cast<std::uint32_t>(quantity)) * kSpacing;
}

void ChannelSamples::AppendFrameValues(std::uint16_t baseline, std::uint16_t filtered,
                                       std::uint16_t noise) {
    Series(SampleQuantity::Baseline).Append(baseline);
    Series(SampleQuantity::Filtered).Append(filtered);
    Series(SampleQuantity::Difference)
        .Append(static_cast<std::int32_t>(baseline) - static_cast<std::int32_t>(filtered));
    Series(SampleQuantity::Noise).Append(noise);
}

void ChannelSamples::ResetToLeadingZeros() {
    for (SampleSeries& series : series_) {
        series.Clear();
        for (std::uint32_t i = 0; i < kLeadingZeroSamples; ++i) {
            series.Append(0);
        }
    }
}
